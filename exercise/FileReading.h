// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QJsonParseError>
#include <QJsonValue>
#include <QLatin1StringView>
#include <QString>

// A refusal ends the reading of a file at once; the exercise read so far is dropped with it.
struct Refusal {
    QString reason;
};

[[noreturn]] void refuse(const QString& reason);

// A value of an exercise file, known by two names that every refusal gives: the window's words
// for it, for a teacher ("la curva 3: INST"), and its place among the file's keys, for whoever
// edits the file by hand ("window.curves[2].INST", lists counted from 0).
class FileNode {
public:
    FileNode(QJsonValue value, QString name, QString place)
        : value_(std::move(value)), name_(std::move(name)), place_(std::move(place)) {}

    // The value at a key, named by the node's prefix followed by the word.
    FileNode at(QLatin1StringView key, const QString& word) const;
    bool has(QLatin1StringView key) const;
    // The node whose values are named "<prefix><word>", e.g. "la curva 3: " or "il campo ".
    FileNode naming(QString prefix) const;

    qsizetype size() const;
    FileNode element(qsizetype index, const QString& name) const;

    bool boolean() const;
    QString text() const;
    // Refuses null: Qt writes a number that is not finite as null and toDouble() makes it 0.
    double number() const;
    // toInt() would take 3.0 and make 2.5 a default without a word: wholeness is checked here.
    int integerBetween(int low, int high) const;
    // A text of at most maxLength characters, all valid Unicode.
    QString textOfAtMost(int maxLength) const;

    // Refuses the file for this value: "<name> (<place>) <what is wrong>".
    [[noreturn]] void refuseWith(const QString& what) const;

private:
    const QJsonValue& expect(QJsonValue::Type type) const;

    QJsonValue value_;
    QString name_;
    QString place_;
    QString prefix_;
};

// An INST as a plot takes it: not 0 and at most LargestINST (a negative one plots nothing).
double readINST(const FileNode& node);

// Why a text could not be written into a file that opens again, or nothing: the file's limit is
// maxLength characters, and a lone half of a surrogate pair would not survive being written.
QString textProblem(const QString& text, int maxLength);

// The reason for JSON that Qt could not parse, from a file of size bytes: empty, cut short, or
// broken, with Qt's words for what broke where in brackets.
QString parseFailure(const QJsonParseError& error, qsizetype size);
