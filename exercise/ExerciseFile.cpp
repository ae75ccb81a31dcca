// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ExerciseFile.h"

#include "AssignmentFile.h"
#include "FileKind.h"
#include "FileReading.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>
#include <QLocale>
#include <cerrno>
#include <cmath>
#include <utility>

using namespace ExerciseLimits;
using namespace Qt::StringLiterals;

namespace {

// The marker must open the file, where a file-type check looks for it.
constexpr QLatin1StringView Marker("curve-sulla-corda");
// A file with an assignment is in version 2, so that a reader of version 1 refuses it rather
// than open it as a plain exercise; a plain exercise stays in version 1.
constexpr int PlainVersion = 1, AssignmentVersion = 2;

// The calibration ratio is 0.51 + 0.02 p, which rounding may put just past either end.
constexpr double IncrLow = 0.51 - 1e-9, IncrHigh = 1.11 + 1e-9;
constexpr int HScroll1Bound = 600, HScroll2Bound = 500;
constexpr int LastColour = 13;

QJsonObject curveObject(const PlotRecord& curve) {
    QJsonObject object{{"Miocolor", curve.Miocolor}, {"axes", curve.axes}, {"Incr", curve.Incr},
                       {"DAX", curve.DAX},           {"DAY", curve.DAY},   {"ALX", curve.ALX},
                       {"ALY", curve.ALY},           {"RAX", curve.RAX},   {"RAY", curve.RAY},
                       {"AVX", curve.AVX},           {"AVY", curve.AVY},   {"INST", curve.INST},
                       {"SPTX", curve.SPTX},         {"SPTY", curve.SPTY}};
    // A curve placed by hand, as every curve of an older file, carries no mark.
    if (curve.bySearch)
        object.insert("bySearch"_L1, true);
    return object;
}

// Qt writes the keys of the top level sorted, "assignment" before "format" and "student" before
// "version": the key's lines move to just before "window", so that the marker opens the file and
// the version follows it. A text is written escaped, so a line of the top level starts with
// exactly four blanks and a quote.
void moveBeforeWindow(QByteArray& text, QByteArrayView key) {
    const qsizetype start = text.indexOf("\n    \"" + key.toByteArray() + '"') + 1;
    if (start == 0)
        return;
    const qsizetype end = text.indexOf("\n    \"", start) + 1;
    const QByteArray block = text.mid(start, end - start);
    text.remove(start, end - start);
    text.insert(text.indexOf("\n    \"window\"") + 1, block);
}

int checkVersion(const FileNode& node) {
    const double version = node.number();
    if (!(version >= 1 && version == std::trunc(version)))
        node.refuseWith(QStringLiteral("dovrebbe essere un numero intero da 1 in su"));
    if (version > AssignmentVersion)
        refuse(QStringLiteral("è scritto nel formato %1, più recente di quello che questo "
                              "programma sa leggere (%2)")
                   .arg(QString::number(version, 'g', QLocale::FloatingPointShortest))
                   .arg(AssignmentVersion));
    return static_cast<int>(version);
}

std::optional<Assignment> readAssignmentOf(const FileNode& file, int version) {
    const QString name = QStringLiteral("la consegna");
    if (version == AssignmentVersion)
        return readAssignment(file.at("assignment"_L1, name));
    if (file.has("assignment"_L1))
        file.at("assignment"_L1, name)
            .refuseWith(QStringLiteral("non può stare in un file nel formato 1: un esercizio con "
                                       "una consegna è nel formato 2"));
    return std::nullopt;
}

// The student's name, kept only in an attempt at an assignment; older files have none.
QString readStudentOf(const FileNode& file, bool assigned) {
    if (!file.has("student"_L1))
        return {};
    const FileNode name = file.at("student"_L1, QStringLiteral("il nome dello studente"));
    if (!assigned)
        name.refuseWith(QStringLiteral("può stare soltanto in un file con una consegna"));
    return name.textOfAtMost(MaxStudentLength);
}

double incr(const FileNode& node) {
    const double value = node.number();
    if (!(value >= IncrLow && value <= IncrHigh))
        node.refuseWith(QStringLiteral("dovrebbe essere un numero da 0,51 a 1,11"));
    return value;
}

std::int16_t horizontal(const FileNode& node) {
    return static_cast<std::int16_t>(node.integerBetween(-HScroll1Bound, HScroll1Bound));
}

std::int16_t vertical(const FileNode& node) {
    return static_cast<std::int16_t>(node.integerBetween(-HScroll2Bound, HScroll2Bound));
}

std::vector<PlotRecord> readCurves(const FileNode& list) {
    const qsizetype count = list.size();
    if (std::size_t(count) > MaxCurves)
        list.refuseWith(QStringLiteral("sono %1, più delle %2 che un esercizio può avere")
                            .arg(count)
                            .arg(MaxCurves));
    std::vector<PlotRecord> curves;
    curves.reserve(std::size_t(count));
    double points = 0;
    for (qsizetype i = 0; i < count; ++i) {
        PlotRecord curve;
        curve.curve = static_cast<int>(i) + 1;
        const QString name = QStringLiteral("la curva %1").arg(curve.curve);
        const FileNode item = list.element(i, name).naming(name + QStringLiteral(": "));
        const auto value = [&item](const char* key) {
            return item.at(QLatin1StringView(key), QLatin1StringView(key)).number();
        };
        curve.Miocolor = static_cast<std::int16_t>(
            item.at("Miocolor"_L1, QStringLiteral("colore")).integerBetween(1, LastColour));
        curve.axes = item.at("axes"_L1, QStringLiteral("assi")).boolean();
        curve.Incr = incr(item.at("Incr"_L1, QStringLiteral("rapporto di calibrazione")));
        curve.DAX = value("DAX");
        curve.DAY = value("DAY");
        curve.ALX = value("ALX");
        curve.ALY = value("ALY");
        curve.RAX = value("RAX");
        curve.RAY = value("RAY");
        curve.AVX = value("AVX");
        curve.AVY = value("AVY");
        curve.INST = readINST(item.at("INST"_L1, QStringLiteral("INST")));
        curve.SPTX = horizontal(item.at("SPTX"_L1, QStringLiteral("spostamento orizzontale")));
        curve.SPTY = vertical(item.at("SPTY"_L1, QStringLiteral("spostamento verticale")));
        if (item.has("bySearch"_L1))
            curve.bySearch =
                item.at("bySearch"_L1, QStringLiteral("posta da Trova spostamenti")).boolean();
        points += anglesWalked(curve.INST);
        if (points > MaxPoints)
            item.refuseWith(QStringLiteral("porta le curve oltre 20 milioni di punti (45 × INST "
                                           "per curva), il massimo di un esercizio"));
        curves.push_back(curve);
    }
    return curves;
}

Exercise readExercise(const QJsonDocument& document) {
    if (!document.isObject() || document.object().value("format") != QJsonValue(Marker))
        refuse(QStringLiteral("non è un esercizio di Curve sulla corda"));
    const FileNode file(document.object(), {}, {});
    const int version =
        checkVersion(file.at("version"_L1, QStringLiteral("la versione del formato")));

    const FileNode window = file.at("window"_L1, QStringLiteral("la finestra"));
    Exercise exercise;
    ExerciseControls& controls = exercise.controls;
    const FileNode fields =
        window.at("fields"_L1, QStringLiteral("i campi")).naming(QStringLiteral("il campo "));
    for (std::size_t i = 0; i < ParameterFieldCount; ++i) {
        const QLatin1StringView variable(ParameterVariables[i]);
        controls.fields[i] = fields.at(variable, variable).textOfAtMost(MaxFieldLength);
    }
    controls.HScroll1 =
        horizontal(window.at("HScroll1"_L1, QStringLiteral("lo spostamento orizzontale")));
    controls.HScroll2 =
        vertical(window.at("HScroll2"_L1, QStringLiteral("lo spostamento verticale")));
    controls.Check1 =
        window.at("Check1"_L1, QStringLiteral("la scelta tra curve singole e multiple")).boolean();
    exercise.Incr = incr(window.at("Incr"_L1, QStringLiteral("il rapporto di calibrazione")));
    exercise.drawingSize = QSize(window.at("width"_L1, QStringLiteral("la larghezza del disegno"))
                                     .integerBetween(1, MaxDrawingExtent),
                                 window.at("height"_L1, QStringLiteral("l'altezza del disegno"))
                                     .integerBetween(1, MaxDrawingExtent));
    exercise.Miocolor = static_cast<std::int16_t>(
        window.at("Miocolor"_L1, QStringLiteral("il contatore dei colori"))
            .integerBetween(0, LastColour));
    exercise.curves = readCurves(window.at("curves"_L1, QStringLiteral("le curve")));
    exercise.assignment = readAssignmentOf(file, version);
    exercise.student = readStudentOf(file, exercise.assignment.has_value());
    return exercise;
}

} // namespace

QByteArray exerciseToJson(const Exercise& exercise) {
    const ExerciseControls& controls = exercise.controls;
    QJsonObject fields;
    for (std::size_t i = 0; i < ParameterFieldCount; ++i)
        fields.insert(QLatin1StringView(ParameterVariables[i]), controls.fields[i]);
    QJsonArray curves;
    for (const PlotRecord& curve : exercise.curves)
        curves.append(curveObject(curve));
    const QJsonObject window{{"fields", fields},
                             {"HScroll1", controls.HScroll1},
                             {"HScroll2", controls.HScroll2},
                             {"Check1", controls.Check1},
                             {"Incr", exercise.Incr},
                             {"width", exercise.drawingSize.width()},
                             {"height", exercise.drawingSize.height()},
                             {"Miocolor", exercise.Miocolor},
                             {"curves", curves}};
    QJsonObject file{{"format", Marker}, {"version", PlainVersion}, {"window", window}};
    if (!exercise.assignment)
        return QJsonDocument(file).toJson(QJsonDocument::Indented);
    file.insert("version"_L1, AssignmentVersion);
    file.insert("assignment"_L1, assignmentObject(*exercise.assignment));
    if (!exercise.student.isEmpty())
        file.insert("student"_L1, exercise.student);
    QByteArray text = QJsonDocument(file).toJson(QJsonDocument::Indented);
    moveBeforeWindow(text, "assignment");
    moveBeforeWindow(text, "student");
    return text;
}

ExerciseReading exerciseFromJson(QByteArrayView bytes) {
    if (bytes.size() > MaxFileBytes)
        return {std::nullopt, QStringLiteral("il file è più grande di 8 MiB, il massimo di un "
                                             "esercizio")};
    QJsonParseError error;
    const QJsonDocument document =
        QJsonDocument::fromJson(QByteArray::fromRawData(bytes.data(), bytes.size()), &error);
    if (error.error != QJsonParseError::NoError)
        return {std::nullopt, parseFailure(error, bytes.size())};
    try {
        return {readExercise(document), {}};
    } catch (const Refusal& refusal) {
        return {std::nullopt, refusal.reason};
    }
}

ExerciseReading readExerciseFile(const QString& path) {
    const auto failure = [&path](const QString& reason) {
        return ExerciseReading{
            std::nullopt,
            QStringLiteral("Impossibile aprire l'esercizio \"%1\": %2.")
                .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()), reason)};
    };
    // Anything but a file is refused before it is opened.
    if (const QString kind = whyNotAFile(path); !kind.isEmpty())
        return failure(kind);
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly)) {
        // QFile keeps the system's reason only as English text.
        const int cause = errno;
        if (cause == EACCES || cause == EPERM)
            return failure(QStringLiteral("non è permesso leggerlo"));
        if (!file.exists())
            return failure(QStringLiteral("il file non esiste"));
        return failure(QStringLiteral("il file non può essere letto"));
    }
    // One byte past the limit tells a file that is too large without reading the rest of it.
    const QByteArray bytes = file.read(MaxFileBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return failure(QStringLiteral("la lettura si è interrotta"));
    ExerciseReading reading = exerciseFromJson(bytes);
    if (!reading.exercise)
        reading.message = failure(reading.message).message;
    return reading;
}

QString whyNotWritable(const Exercise& exercise) {
    // The fields themselves take texts of any length: the file's limit is checked here.
    for (std::size_t i = 0; i < ParameterFieldCount; ++i) {
        const QString problem = textProblem(exercise.controls.fields[i], MaxFieldLength);
        if (!problem.isEmpty())
            return QStringLiteral("il campo %1 %2, più di quanto un esercizio possa tenere")
                .arg(QLatin1StringView(ParameterVariables[i]), problem);
    }
    if (exercise.assignment) {
        const QString problem = whyNotWritable(*exercise.assignment);
        if (!problem.isEmpty())
            return problem;
        const QString name = textProblem(exercise.student, MaxStudentLength);
        if (!name.isEmpty())
            return QStringLiteral("il nome dello studente %1, più di quanto un esercizio possa "
                                  "tenere")
                .arg(name);
    }
    double points = 0;
    for (const PlotRecord& curve : exercise.curves)
        points += anglesWalked(curve.INST);
    if (exercise.curves.size() > MaxCurves || points > MaxPoints)
        return QStringLiteral("il disegno ha più curve o più punti di quanti un esercizio ne "
                              "possa tenere (%1 curve, 20 milioni di punti)")
            .arg(MaxCurves);
    return {};
}
