// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "FileReading.h"

#include "PlotRecord.h"

#include <QJsonArray>
#include <QJsonObject>
#include <cmath>

namespace {

QString typeName(QJsonValue::Type type) {
    switch (type) {
    case QJsonValue::Bool:
        return QStringLiteral("un valore logico (true o false)");
    case QJsonValue::Double:
        return QStringLiteral("un numero");
    case QJsonValue::String:
        return QStringLiteral("un testo");
    case QJsonValue::Array:
        return QStringLiteral("un elenco");
    case QJsonValue::Object:
        return QStringLiteral("un oggetto");
    case QJsonValue::Null:
    case QJsonValue::Undefined:
        break;
    }
    return QStringLiteral("null");
}

QString syntaxError(QJsonParseError::ParseError error) {
    switch (error) {
    case QJsonParseError::UnterminatedObject:
        return QStringLiteral("un oggetto non è chiuso");
    case QJsonParseError::MissingNameSeparator:
        return QStringLiteral("mancano i due punti dopo un nome");
    case QJsonParseError::UnterminatedArray:
        return QStringLiteral("un elenco non è chiuso");
    case QJsonParseError::MissingValueSeparator:
        return QStringLiteral("manca una virgola tra due valori");
    case QJsonParseError::IllegalNumber:
        return QStringLiteral("un valore non è valido o un numero è fuori dai limiti");
    case QJsonParseError::IllegalEscapeSequence:
        return QStringLiteral("una sequenza con \\ non è valida");
    case QJsonParseError::IllegalUTF8String:
        return QStringLiteral("un testo non è UTF-8 valido");
    case QJsonParseError::UnterminatedString:
        return QStringLiteral("un testo non è chiuso");
    case QJsonParseError::DeepNesting:
        return QStringLiteral("ci sono troppi livelli annidati");
    case QJsonParseError::DocumentTooLarge:
        return QStringLiteral("il documento è troppo grande");
    case QJsonParseError::GarbageAtEnd:
        return QStringLiteral("c'è altro testo dopo la fine");
    default:
        return QStringLiteral("un valore non è valido");
    }
}

} // namespace

QString parseFailure(const QJsonParseError& error, qsizetype size) {
    if (size == 0)
        return QStringLiteral("il file è vuoto");
    if (error.offset >= size)
        return QStringLiteral("il file finisce a metà (posizione %1): forse è troncato")
            .arg(error.offset);
    return QStringLiteral("il file è danneggiato o non è un esercizio (JSON non valido: %1, "
                          "posizione %2)")
        .arg(syntaxError(error.error))
        .arg(error.offset);
}

void refuse(const QString& reason) {
    throw Refusal{reason};
}

FileNode FileNode::at(QLatin1StringView key, const QString& word) const {
    const QJsonObject object = expect(QJsonValue::Object).toObject();
    const QString place = place_.isEmpty() ? QString(key) : place_ + u'.' + key;
    const auto found = object.constFind(key);
    FileNode child(found == object.constEnd() ? QJsonValue(QJsonValue::Undefined)
                                              : QJsonValue(found.value()),
                   prefix_ + word, place);
    if (found == object.constEnd())
        child.refuseWith(QStringLiteral("manca"));
    return child;
}

bool FileNode::has(QLatin1StringView key) const {
    return expect(QJsonValue::Object).toObject().contains(key);
}

FileNode FileNode::naming(QString prefix) const {
    FileNode node = *this;
    node.prefix_ = std::move(prefix);
    return node;
}

qsizetype FileNode::size() const {
    return expect(QJsonValue::Array).toArray().size();
}

FileNode FileNode::element(qsizetype index, const QString& name) const {
    return {expect(QJsonValue::Array).toArray().at(index), name,
            QStringLiteral("%1[%2]").arg(place_).arg(index)};
}

bool FileNode::boolean() const {
    return expect(QJsonValue::Bool).toBool();
}

QString FileNode::text() const {
    return expect(QJsonValue::String).toString();
}

double FileNode::number() const {
    if (value_.isNull())
        refuseWith(QStringLiteral("è null: un numero infinito o indefinito non è ammesso"));
    return expect(QJsonValue::Double).toDouble();
}

int FileNode::integerBetween(int low, int high) const {
    const double value = number();
    if (!(value >= low && value <= high && value == std::trunc(value)))
        refuseWith(
            QStringLiteral("dovrebbe essere un numero intero da %1 a %2").arg(low).arg(high));
    return static_cast<int>(value);
}

QString FileNode::textOfAtMost(int maxLength) const {
    const QString value = text();
    const QString problem = textProblem(value, maxLength);
    if (!problem.isEmpty())
        refuseWith(problem);
    return value;
}

void FileNode::refuseWith(const QString& what) const {
    refuse(QStringLiteral("%1 (%2) %3").arg(name_, place_, what));
}

const QJsonValue& FileNode::expect(QJsonValue::Type type) const {
    if (value_.type() != type)
        refuseWith(QStringLiteral("dovrebbe essere %1, non %2")
                       .arg(typeName(type), typeName(value_.type())));
    return value_;
}

double readINST(const FileNode& node) {
    const double value = node.number();
    if (value == 0 || value > LargestINST)
        node.refuseWith(
            QStringLiteral("dovrebbe essere un numero diverso da 0 e non più grande di 100000"));
    return value;
}

QString textProblem(const QString& text, int maxLength) {
    if (text.size() > maxLength)
        return QStringLiteral("è più lungo di %1 caratteri").arg(maxLength);
    if (!text.isValidUtf16())
        return QStringLiteral("contiene un carattere Unicode non valido");
    return {};
}
