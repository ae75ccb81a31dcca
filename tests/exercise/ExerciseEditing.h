// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Exercise files edited as a teacher's script or a damaged disk would: values replaced or removed
// at a path, texts replaced, files padded.
#include "ExerciseFile.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

inline QJsonValue replaced(const QJsonValue& node, QStringList path, const QJsonValue& value) {
    if (path.isEmpty())
        return value;
    const QString step = path.takeFirst();
    if (node.isArray()) {
        QJsonArray array = node.toArray();
        array[step.toInt()] = replaced(array[step.toInt()], path, value);
        return array;
    }
    QJsonObject object = node.toObject();
    const QJsonValue inner = replaced(object.value(step), path, value);
    if (inner.isUndefined())
        object.remove(step);
    else
        object[step] = inner;
    return object;
}

// The file of an exercise with the value at a path such as "window.curves.1.INST" replaced, or
// removed when the value is undefined.
inline QByteArray edited(const Exercise& exercise, const QString& path, const QJsonValue& value) {
    const QJsonValue file = QJsonDocument::fromJson(exerciseToJson(exercise)).object();
    return QJsonDocument(replaced(file, path.split(u'.'), value).toObject())
        .toJson(QJsonDocument::Compact);
}

inline QByteArray textEdited(const Exercise& exercise, const char* before, const char* after) {
    QByteArray text =
        QJsonDocument::fromJson(exerciseToJson(exercise)).toJson(QJsonDocument::Compact);
    const qsizetype at = text.indexOf(before);
    return text.replace(at, qsizetype(qstrlen(before)), after);
}

inline QByteArray padded(const QByteArray& file, qint64 size) {
    return file + QByteArray(size - file.size(), ' ');
}
