// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ExerciseCompare.h"
#include "ExerciseEditing.h"
#include "ExerciseFile.h"
#include "ExerciseSamples.h"
#include "NonRegularFiles.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <limits>
#include <optional>

namespace {

using namespace ExerciseLimits;

enum Kind { Contents, Missing, Folder, Unreadable, Pipe, Socket, Device };

} // namespace

class TestExerciseFile : public QObject {
    Q_OBJECT

private slots:
    void reading_data();
    void reading();
    void roundTrip_data();
    void roundTrip();
};

void TestExerciseFile::reading_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("refusal");
    QTest::addColumn<QByteArray>("sameAs");

    auto refused = [](const char* name, const QByteArray& contents, const QString& refusal) {
        QTest::newRow(name) << int(Contents) << contents << refusal << QByteArray();
    };
    auto accepted = [](const char* name, const QByteArray& contents, const QByteArray& sameAs) {
        QTest::newRow(name) << int(Contents) << contents << QString() << sameAs;
    };
    auto edit = [](const QString& path, const QJsonValue& value) {
        return edited(attemptExercise(), path, value);
    };
    const QByteArray theAttempt = exerciseToJson(attemptExercise());
    const QString whole = QStringLiteral("dovrebbe essere un numero intero da ");

    refused("empty", "", "il file è vuoto");
    refused("not json", "{\"format\": curva}",
            "il file è danneggiato o non è un esercizio (JSON non valido: un valore non è valido "
            "o un numero è fuori dai limiti, posizione 11)");
    refused("truncated", theAttempt.left(300), "il file finisce a metà (posizione 300)");
    refused("beyond the double range", textEdited(attemptExercise(), "\"DAX\":20", "\"DAX\":1e400"),
            "un numero è fuori dai limiti, posizione");
    refused("an array", "[1, 2]", "non è un esercizio di Curve sulla corda");
    refused("another marker", edit("format", "altro"), "non è un esercizio di Curve sulla corda");
    refused("no marker", edit("format", QJsonValue::Undefined),
            "non è un esercizio di Curve sulla corda");
    refused("newer version", edit("version", 3),
            "è scritto nel formato 3, più recente di quello che questo programma sa leggere (2)");
    refused("version 0", edit("version", 0),
            "la versione del formato (version) dovrebbe essere un numero intero da 1 in su");
    refused("version 1.5", edit("version", 1.5), "(version) dovrebbe essere un numero intero da 1");

    const Exercise assigned = assignedExercise();
    auto assign = [&assigned](const QString& path, const QJsonValue& value) {
        return edited(assigned, path, value);
    };
    const QString lockedWords = QStringLiteral(
        "dovrebbe essere uno tra \"chord\", \"target\", \"density\" e \"increments\"");
    refused("assignment in version 1", assign("version", 1),
            "la consegna (assignment) non può stare in un file nel formato 1");
    refused("version 2 without assignment", assign("assignment", QJsonValue::Undefined),
            "la consegna (assignment) manca");
    refused("assignment as number", assign("assignment", 1),
            "la consegna (assignment) dovrebbe essere un oggetto, non un numero");
    refused("missing assignment key", assign("assignment.solutionAllowed", QJsonValue::Undefined),
            "la consegna: soluzione permessa (assignment.solutionAllowed) manca");
    refused("assignment text too long",
            assign("assignment.text", QString(MaxAssignmentTextLength + 1, u'a')),
            "la consegna: testo (assignment.text) è più lungo di 32767 caratteri");
    refused("tolerance 0", assign("assignment.tolerance", 0),
            "la consegna: tolleranza (assignment.tolerance) dovrebbe essere un numero sopra 0 e "
            "non più grande di 1000");
    refused("tolerance above", assign("assignment.tolerance", std::nextafter(1000.0, 2000.0)),
            "(assignment.tolerance) dovrebbe essere un numero sopra 0");
    refused("null tolerance", assign("assignment.tolerance", QJsonValue::Null),
            "(assignment.tolerance) è null");
    refused("locked not a list", assign("assignment.locked", "chord"),
            "la consegna: valori bloccati (assignment.locked) dovrebbe essere un elenco");
    refused("unknown lock", assign("assignment.locked", QJsonArray{"chord", "tutto"}),
            "la consegna: valore bloccato 2 (assignment.locked[1]) " + lockedWords);
    refused("lock as number", assign("assignment.locked", QJsonArray{1}),
            "(assignment.locked[0]) dovrebbe essere un testo, non un numero");
    refused("lock twice", assign("assignment.locked", QJsonArray{"target", "density", "target"}),
            "la consegna: valore bloccato 3 (assignment.locked[2]) è ripetuto");
    refused("most curves below 0", assign("assignment.maxCurves", -1),
            "la consegna: numero massimo di curve (assignment.maxCurves) " + whole + "0 a 10000");
    refused("most curves above", assign("assignment.maxCurves", int(MaxCurves) + 1),
            "(assignment.maxCurves) " + whole + "0 a 10000");
    refused("most curves not whole", assign("assignment.maxCurves", 2.5),
            "(assignment.maxCurves) " + whole);
    refused("solution as text", assign("assignment.solutionAllowed", "no"),
            "la consegna: soluzione permessa (assignment.solutionAllowed) dovrebbe essere un "
            "valore logico");
    refused("a name without an assignment", edit("student", "Anna Rossi"),
            "il nome dello studente (student) può stare soltanto in un file con una consegna");
    refused("a name too long", assign("student", QString(MaxStudentLength + 1, u'a')),
            "il nome dello studente (student) è più lungo di 200 caratteri");
    refused("the search's mark as text", edit("window.curves.1.bySearch", "sì"),
            "la curva 2: posta da Trova spostamenti (window.curves[1].bySearch) dovrebbe essere "
            "un valore logico");
    Exercise withReadings = assignedExercise();
    withReadings.assignment->fieldValues = {{20, 30, 300, 150, 70, 270, 5, 1, 1}};
    auto reading = [&withReadings](const QString& path, const QJsonValue& value) {
        return edited(withReadings, path, value);
    };
    refused("teacher's readings as a list", reading("assignment.values", QJsonArray{20}),
            "la consegna: valori dei campi (assignment.values) dovrebbe essere un oggetto, non "
            "un elenco");
    refused("teacher's reading missing", reading("assignment.values.AVX", QJsonValue::Undefined),
            "la consegna: valore di AVX (assignment.values.AVX) manca");
    refused("teacher's INST 0", reading("assignment.values.INST", 0),
            "la consegna: valore di INST (assignment.values.INST) dovrebbe essere un numero "
            "diverso da 0 e non più grande di 100000");
    refused("missing curve key", edit("window.curves.1.INST", QJsonValue::Undefined),
            "la curva 2: INST (window.curves[1].INST) manca");
    refused("missing field", edit("window.fields.AVX", QJsonValue::Undefined),
            "il campo AVX (window.fields.AVX) manca");
    refused("mode as text", edit("window.Check1", "sì"),
            "la scelta tra curve singole e multiple (window.Check1) dovrebbe essere un valore "
            "logico (true o false), non un testo");
    refused("field as number", edit("window.fields.DAX", 20),
            "il campo DAX (window.fields.DAX) dovrebbe essere un testo, non un numero");
    refused("null number", edit("window.curves.1.DAX", QJsonValue::Null),
            "la curva 2: DAX (window.curves[1].DAX) è null");
    refused("HScroll1 above", edit("window.HScroll1", 601),
            "lo spostamento orizzontale (window.HScroll1) " + whole + "-600 a 600");
    refused("HScroll1 not whole", edit("window.HScroll1", 2.5), "(window.HScroll1) " + whole);
    refused("HScroll2 above", edit("window.HScroll2", 501),
            "lo spostamento verticale (window.HScroll2) " + whole + "-500 a 500");
    refused("SPTX above", edit("window.curves.2.SPTX", 601),
            "la curva 3: spostamento orizzontale (window.curves[2].SPTX) " + whole + "-600");
    refused("SPTY below", edit("window.curves.2.SPTY", -501),
            "la curva 3: spostamento verticale (window.curves[2].SPTY) " + whole + "-500");
    refused("colour above", edit("window.Miocolor", 14),
            "il contatore dei colori (window.Miocolor) " + whole + "0 a 13");
    refused("curve colour 0", edit("window.curves.0.Miocolor", 0),
            "la curva 1: colore (window.curves[0].Miocolor) " + whole + "1 a 13");
    refused("ratio below", edit("window.Incr", 0.5),
            "il rapporto di calibrazione (window.Incr) dovrebbe essere un numero da 0,51 a 1,11");
    refused("curve ratio above", edit("window.curves.2.Incr", 1.12),
            "la curva 3: rapporto di calibrazione (window.curves[2].Incr) dovrebbe essere un "
            "numero da 0,51 a 1,11");
    refused("width 0", edit("window.width", 0),
            "la larghezza del disegno (window.width) " + whole + "1 a 8192");
    refused("height above", edit("window.height", 8193),
            "l'altezza del disegno (window.height) " + whole + "1 a 8192");
    refused("INST 0", edit("window.curves.0.INST", 0),
            "la curva 1: INST (window.curves[0].INST) dovrebbe essere "
            "un numero diverso da 0 e non più grande di 100000");
    refused("INST above", edit("window.curves.0.INST", std::nextafter(LargestINST, 1e6)),
            "(window.curves[0].INST) dovrebbe essere un numero diverso da 0");
    refused("long field", edit("window.fields.RAY", QString(MaxFieldLength + 1, u'1')),
            "il campo RAY (window.fields.RAY) è più lungo di 32767 caratteri");
    refused("lone surrogate",
            textEdited(attemptExercise(), "\"DAX\":\"20\"", "\"DAX\":\"\\ud800\""),
            "il campo DAX (window.fields.DAX) contiene un carattere Unicode non valido");
    refused("too many curves",
            exerciseToJson(attemptExercise(std::vector<double>(MaxCurves + 1, 1))),
            "le curve (window.curves) sono 10001, più delle 10000 che un esercizio può avere");
    refused("too many points", exerciseToJson(attemptExercise({1e5, 1e5, 1e5, 1e5, 44445})),
            "la curva 5 (window.curves[4]) porta le curve oltre 20 milioni di punti");
    refused("too large", padded(theAttempt, MaxFileBytes + 1), "il file è più grande di 8 MiB");
    QTest::newRow("missing") << int(Missing) << QByteArray() << "il file non esiste"
                             << QByteArray();
    QTest::newRow("folder") << int(Folder) << QByteArray() << "è una cartella" << QByteArray();
    QTest::newRow("unreadable") << int(Unreadable) << theAttempt << "non è permesso leggerlo"
                                << QByteArray();
    QTest::newRow("pipe") << int(Pipe) << QByteArray() << "non è un file ma una pipe"
                          << QByteArray();
    QTest::newRow("socket") << int(Socket) << QByteArray() << "non è un file ma un socket"
                            << QByteArray();
    QTest::newRow("device") << int(Device) << QByteArray() << "non è un file ma un dispositivo"
                            << QByteArray();

    const QByteArray exercise = exerciseToJson(handedOutExercise());
    accepted("exercise", exercise, exercise);
    accepted("attempt", theAttempt, theAttempt);
    QJsonValue newer = QJsonDocument::fromJson(theAttempt).object();
    newer = replaced(newer, {"window", "note"}, QStringLiteral("da un programma più recente"));
    newer = replaced(newer, {"window", "curves", "0", "points"}, 224);
    newer = replaced(newer, {"zeta"}, 1);
    accepted("unknown keys", QJsonDocument(newer.toObject()).toJson(), theAttempt);
    accepted("duplicated key: the last wins",
             textEdited(attemptExercise(), "\"DAX\":20", "\"DAX\":99,\"DAX\":20"), theAttempt);

    Exercise bounds =
        attemptExercise({LargestINST, LargestINST, LargestINST, LargestINST, 44444, -1e300});
    bounds.controls.HScroll1 = -600;
    bounds.controls.HScroll2 = 500;
    bounds.controls.field(ParameterField::Text8) = QString(MaxFieldLength, u'7');
    bounds.Incr = 0.51 + 0.02 * 30 + 5e-10;
    bounds.drawingSize = {MaxDrawingExtent, 1};
    bounds.Miocolor = 13;
    bounds.curves[0].Miocolor = 13;
    bounds.curves[1].Miocolor = 1;
    bounds.curves[2].Incr = 0.51 - 5e-10;
    bounds.curves[3].SPTX = 600;
    bounds.curves[3].SPTY = -500;
    accepted("every value at its bound", exerciseToJson(bounds), exerciseToJson(bounds));
    Exercise assignedBounds = assignedExercise();
    Assignment& assignment = *assignedBounds.assignment;
    assignment.text = QString(MaxAssignmentTextLength, u'\n');
    assignment.tolerance = Assignment::MaxTolerance;
    assignment.locked = {LockedGroup::Increments, LockedGroup::Density, LockedGroup::Target,
                         LockedGroup::Chord};
    assignment.maxCurves = int(MaxCurves);
    assignment.solutionAllowed = true;
    const QByteArray assignedAtBounds = exerciseToJson(assignedBounds);
    accepted("assignment at its bounds", assignedAtBounds, assignedAtBounds);
    assignedBounds.student = QString(MaxStudentLength, u'é');
    accepted("the longest name", exerciseToJson(assignedBounds), exerciseToJson(assignedBounds));
    assignment.text.clear();
    assignment.tolerance = std::numeric_limits<double>::denorm_min();
    assignment.locked.clear();
    assignment.maxCurves = 0;
    accepted("assignment at its other bounds", exerciseToJson(assignedBounds),
             exerciseToJson(assignedBounds));
    // A teacher's script writes the keys in an order of its own, and may add some of its own.
    const QJsonObject written = QJsonDocument::fromJson(exerciseToJson(assigned)).object();
    QJsonObject scripted = written["assignment"].toObject();
    scripted["nota"] = QStringLiteral("per la 3B");
    const auto compact = [](const QJsonValue& value) {
        return QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact);
    };
    accepted("assignment written by a script",
             "{\"assignment\":" + compact(scripted) + ",\"window\":" + compact(written["window"]) +
                 ",\"version\":2,\"format\":\"curve-sulla-corda\"}",
             exerciseToJson(assigned));
    const QByteArray most = exerciseToJson(attemptExercise(std::vector<double>(MaxCurves, 1)));
    accepted("most curves", most, most);
    accepted("largest file", padded(theAttempt, MaxFileBytes), theAttempt);
}

void TestExerciseFile::reading() {
    QFETCH(int, kind);
    QFETCH(QByteArray, contents);
    QFETCH(QString, refusal);
    QFETCH(QByteArray, sameAs);

    // A relative path, so that the message must name the file in full.
    QTemporaryDir folder;
    const QString before = QDir::currentPath();
    QDir::setCurrent(folder.path());
    const auto back = qScopeGuard([&before] { QDir::setCurrent(before); });
    QString path = QStringLiteral("esercizio.curva");
    QFile file(path);
    if (kind == Contents || kind == Unreadable) {
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(contents);
        file.close();
    }
    if (kind == Folder)
        QVERIFY(QDir().mkdir(path));
    if (kind == Unreadable) {
        file.setPermissions({});
        // Root reads every file; a write-only attribute of the kernel it cannot read either.
        if (file.open(QIODevice::ReadOnly))
            path = QStringLiteral("/sys/bus/cpu/uevent");
        if (QFile(path).open(QIODevice::ReadOnly) || !QFile::exists(path))
            QSKIP("no file here is unreadable to this user");
    }
    std::optional<PipeWithLateWriter> pipe;
    if (kind == Pipe)
        QVERIFY(pipe.emplace(path).made());
    if (kind == Socket)
        QVERIFY(makeSocket(path));
    if (kind == Device)
        path = QStringLiteral("/dev/zero");

    const ExerciseReading reading = readExerciseFile(path);
    if (refusal.isEmpty()) {
        QCOMPARE(reading.message, QString());
        QVERIFY(reading.exercise);
        QCOMPARE(QJsonDocument::fromJson(exerciseToJson(*reading.exercise)).toJson(),
                 QJsonDocument::fromJson(sameAs).toJson());
        return;
    }
    QVERIFY(!reading.exercise);
    const QString fullPath = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    const QString start = QStringLiteral("Impossibile aprire l'esercizio \"%1\": ").arg(fullPath);
    QVERIFY2(reading.message.startsWith(start) && reading.message.contains(refusal) &&
                 reading.message.endsWith(u'.'),
             qPrintable(reading.message));
}

void TestExerciseFile::roundTrip_data() {
    QTest::addColumn<bool>("assigned");
    QTest::newRow("exercise") << false;
    QTest::newRow("assignment") << true;
}

void TestExerciseFile::roundTrip() {
    QFETCH(bool, assigned);
    Exercise exercise = attemptExercise({5, LargestINST, -1e300});
    ExerciseControls& controls = exercise.controls;
    controls.field(ParameterField::Text1) = QStringLiteral(" 1,5 \t");
    controls.field(ParameterField::Text2) = QString();
    controls.field(ParameterField::Text3) = QStringLiteral("π ≈ \"3,14\" \\ 😀");
    controls.field(ParameterField::Text4) = QString(QChar(0)) + QStringLiteral("\n\r\u2028");
    controls.HScroll1 = -600;
    controls.HScroll2 = 500;
    exercise.Incr = 0.51 + 0.02 * 7;
    PlotRecord& curve = exercise.curves[1];
    curve.Incr = 1.0 / 3 + 0.5;
    curve.DAX = 0.1;
    curve.DAY = 1.0 / 3;
    curve.ALX = 1e-310;
    curve.ALY = std::numeric_limits<double>::max();
    curve.RAX = -std::numeric_limits<double>::denorm_min();
    curve.RAY = 9007199254740994.0;
    curve.AVX = -1e16 - 2;
    curve.AVY = 1e300 / 3;
    curve.SPTX = -600;
    curve.SPTY = 500;
    exercise.curves[2].DAX = -0.0;
    exercise.curves[1].bySearch = true;
    if (assigned) {
        Assignment assignment;
        // A text that looks like the file's own lines, which the writer moves.
        assignment.text = QStringLiteral("Scrivi:\n    \"format\": \"curve-sulla-corda\",\n"
                                         "    \"window\": {\n😀\t\\");
        assignment.tolerance = 0.1 + 0.2;
        assignment.locked = {LockedGroup::Density};
        assignment.maxCurves = 7;
        assignment.solutionAllowed = true;
        assignment.fieldValues = {{0.1, -1.0 / 3, 1e-310, -1e300, 0, 300, LargestINST, -1, 0.5}};
        exercise.assignment = assignment;
        exercise.student = QStringLiteral("Anna \"Nina\" D'Angelo;\n    \"window\": 😀");
    }

    const QByteArray written = exerciseToJson(exercise);
    // The marker opens the file, where a file-type check looks for it, and the version follows.
    QVERIFY2(written.startsWith("{\n    \"format\": \"curve-sulla-corda\",\n    \"version\": " +
                                QByteArray(assigned ? "2" : "1") + ",\n"),
             written.left(100).constData());
    // A mark is written only where the search placed the curve: absent means by hand.
    QCOMPARE(written.count("\"bySearch\": true"), 1);
    QVERIFY(!written.contains("\"bySearch\": false"));
    const ExerciseReading reading = exerciseFromJson(written);
    QVERIFY2(reading.exercise, qPrintable(reading.message));
    // The sign of a zero is lost in Qt's JSON, and draws the same.
    Exercise expected = exercise;
    expected.curves[2].DAX = 0.0;
    QVERIFY(sameExercise(*reading.exercise, expected));
    QCOMPARE(exerciseToJson(*reading.exercise), written);
}

QTEST_GUILESS_MAIN(TestExerciseFile)
#include "test_exercisefile.moc"
