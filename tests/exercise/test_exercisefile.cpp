#include "ExerciseCompare.h"
#include "ExerciseFile.h"
#include "ExerciseSamples.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <limits>

namespace {

using namespace ExerciseLimits;

QJsonValue replaced(const QJsonValue& node, QStringList path, const QJsonValue& value) {
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
QByteArray edited(const Exercise& exercise, const QString& path, const QJsonValue& value) {
    const QJsonValue file = QJsonDocument::fromJson(exerciseToJson(exercise)).object();
    return QJsonDocument(replaced(file, path.split(u'.'), value).toObject())
        .toJson(QJsonDocument::Compact);
}

QByteArray textEdited(const Exercise& exercise, const char* before, const char* after) {
    QByteArray text =
        QJsonDocument::fromJson(exerciseToJson(exercise)).toJson(QJsonDocument::Compact);
    const qsizetype at = text.indexOf(before);
    return text.replace(at, qsizetype(qstrlen(before)), after);
}

QByteArray padded(const QByteArray& file, qint64 size) {
    return file + QByteArray(size - file.size(), ' ');
}

enum Kind { Contents, Missing, Folder, Unreadable };

} // namespace

class TestExerciseFile : public QObject {
    Q_OBJECT

private slots:
    void reading_data();
    void reading();
    void roundTrip();
    void writesOnlyWhatOpensAgain();
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
            "non è un file JSON valido: un valore non è valido o un numero è fuori dai limiti "
            "(posizione 11)");
    refused("truncated", theAttempt.left(300), "il file finisce a metà (posizione 300)");
    refused("beyond the double range", textEdited(attemptExercise(), "\"DAX\":20", "\"DAX\":1e400"),
            "un numero è fuori dai limiti (posizione");
    refused("an array", "[1, 2]", "non è un esercizio di Curve sulla corda");
    refused("another marker", edit("format", "altro"), "non è un esercizio di Curve sulla corda");
    refused("no marker", edit("format", QJsonValue::Undefined),
            "non è un esercizio di Curve sulla corda");
    refused("newer version", edit("version", 2),
            "è scritto nel formato 2, più recente di quello che questo programma sa leggere (1)");
    refused("version 0", edit("version", 0), "version dovrebbe essere un numero intero da 1 in su");
    refused("version 1.5", edit("version", 1.5), "version dovrebbe essere un numero intero da 1");
    refused("missing curve key", edit("window.curves.1.INST", QJsonValue::Undefined),
            "manca la chiave window.curves[1].INST");
    refused("missing field", edit("window.fields.AVX", QJsonValue::Undefined),
            "manca la chiave window.fields.AVX");
    refused("mode as text", edit("window.Check1", "sì"),
            "window.Check1 dovrebbe essere un valore logico (true o false), non un testo");
    refused("field as number", edit("window.fields.DAX", 20),
            "window.fields.DAX dovrebbe essere un testo, non un numero");
    refused("null number", edit("window.curves.1.DAX", QJsonValue::Null),
            "window.curves[1].DAX è null");
    refused("HScroll1 above", edit("window.HScroll1", 601),
            "window.HScroll1 " + whole + "-600 a 600");
    refused("HScroll1 not whole", edit("window.HScroll1", 2.5), "window.HScroll1 " + whole);
    refused("HScroll2 above", edit("window.HScroll2", 501),
            "window.HScroll2 " + whole + "-500 a 500");
    refused("SPTX above", edit("window.curves.2.SPTX", 601),
            "window.curves[2].SPTX " + whole + "-600");
    refused("SPTY below", edit("window.curves.2.SPTY", -501),
            "window.curves[2].SPTY " + whole + "-500");
    refused("colour above", edit("window.Miocolor", 14), "window.Miocolor " + whole + "0 a 13");
    refused("curve colour 0", edit("window.curves.0.Miocolor", 0),
            "window.curves[0].Miocolor " + whole + "1 a 13");
    refused("ratio below", edit("window.Incr", 0.5),
            "window.Incr dovrebbe essere un numero da 0,51 a 1,11");
    refused("curve ratio above", edit("window.curves.2.Incr", 1.12),
            "window.curves[2].Incr dovrebbe essere un numero da 0,51 a 1,11");
    refused("width 0", edit("window.width", 0), "window.width " + whole + "1 a 8192");
    refused("height above", edit("window.height", 8193), "window.height " + whole + "1 a 8192");
    refused("INST 0", edit("window.curves.0.INST", 0),
            "window.curves[0].INST dovrebbe essere "
            "un numero diverso da 0 e non più grande di 100000");
    refused("INST above", edit("window.curves.0.INST", std::nextafter(LargestINST, 1e6)),
            "window.curves[0].INST dovrebbe essere un numero diverso da 0");
    refused("long field", edit("window.fields.RAY", QString(MaxFieldLength + 1, u'1')),
            "window.fields.RAY è più lungo di 32767 caratteri");
    refused("lone surrogate",
            textEdited(attemptExercise(), "\"DAX\":\"20\"", "\"DAX\":\"\\ud800\""),
            "window.fields.DAX contiene un carattere Unicode non valido");
    refused("too many curves",
            exerciseToJson(attemptExercise(std::vector<double>(MaxCurves + 1, 1))),
            "window.curves ha 10001 curve, più delle 10000 che un esercizio può avere");
    refused("too many points", exerciseToJson(attemptExercise({1e5, 1e5, 1e5, 1e5, 44445})),
            "window.curves[4] porta le curve oltre 20 milioni di punti");
    refused("too large", padded(theAttempt, MaxFileBytes + 1), "il file è più grande di 8 MiB");
    QTest::newRow("missing") << int(Missing) << QByteArray() << "il file non esiste"
                             << QByteArray();
    QTest::newRow("folder") << int(Folder) << QByteArray() << "è una cartella" << QByteArray();
    QTest::newRow("unreadable") << int(Unreadable) << theAttempt << "non è permesso leggerlo"
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

void TestExerciseFile::roundTrip() {
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

    const QByteArray written = exerciseToJson(exercise);
    // The marker opens the file, where a file-type check looks for it.
    QVERIFY(written.startsWith("{\n    \"format\": \"curve-sulla-corda\",\n"));
    const ExerciseReading reading = exerciseFromJson(written);
    QVERIFY2(reading.exercise, qPrintable(reading.message));
    // The sign of a zero is lost in Qt's JSON, and draws the same.
    Exercise expected = exercise;
    expected.curves[2].DAX = 0.0;
    QVERIFY(sameExercise(*reading.exercise, expected));
    QCOMPARE(exerciseToJson(*reading.exercise), written);
}

// The window refuses to save what a reader would refuse to open.
void TestExerciseFile::writesOnlyWhatOpensAgain() {
    QCOMPARE(whyNotWritable(attemptExercise(std::vector<double>(MaxCurves, 1))), QString());
    QVERIFY(!whyNotWritable(attemptExercise(std::vector<double>(MaxCurves + 1, 1))).isEmpty());
    QVERIFY(!whyNotWritable(attemptExercise({1e5, 1e5, 1e5, 1e5, 44445})).isEmpty());
}

QTEST_GUILESS_MAIN(TestExerciseFile)
#include "test_exercisefile.moc"
