// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

// The limits of an exercise file kept at both ends: what the window saves opens again, and no
// file is read further than the limit.
#include "ExerciseCompare.h"
#include "ExerciseFile.h"
#include "ExerciseSamples.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace ExerciseLimits;

Q_DECLARE_METATYPE(Exercise)

class TestExerciseLimits : public QObject {
    Q_OBJECT

private slots:
    void writesOnlyWhatOpensAgain_data();
    void writesOnlyWhatOpensAgain();
    void readsNoFurtherThanTheLimit();
};

// Whatever the window saves opens again: what a reader would refuse, saving refuses first.
void TestExerciseLimits::writesOnlyWhatOpensAgain_data() {
    QTest::addColumn<Exercise>("exercise");
    QTest::addColumn<QString>("refusal");

    const auto withField = [](ParameterField field, const QString& text) {
        Exercise exercise = attemptExercise();
        exercise.controls.field(field) = text;
        return exercise;
    };
    const QString tooMany = QStringLiteral("più curve o più punti");
    QTest::newRow("most curves") << attemptExercise(std::vector<double>(MaxCurves, 1)) << QString();
    QTest::newRow("a curve too many")
        << attemptExercise(std::vector<double>(MaxCurves + 1, 1)) << tooMany;
    QTest::newRow("too many points") << attemptExercise({1e5, 1e5, 1e5, 1e5, 44445}) << tooMany;
    QTest::newRow("longest field")
        << withField(ParameterField::Text3, QString(MaxFieldLength, u' ')) << QString();
    QTest::newRow("a number and blanks one character too long")
        << withField(ParameterField::Text3,
                     QStringLiteral("300") + QString(MaxFieldLength - 2, u' '))
        << QStringLiteral("il campo RAX è più lungo di 32767 caratteri");
    const auto withAssignment = [](auto change) {
        Exercise exercise = assignedExercise();
        change(*exercise.assignment);
        return exercise;
    };
    QTest::newRow("longest assignment text")
        << withAssignment([](Assignment& a) { a.text = QString(MaxAssignmentTextLength, u'a'); })
        << QString();
    QTest::newRow("assignment text too long") << withAssignment([](Assignment& a) {
        a.text = QString(MaxAssignmentTextLength + 1, u'a');
    }) << QStringLiteral("la consegna: testo è più lungo di 32767 caratteri");
    QTest::newRow("tolerance 0") << withAssignment([](Assignment& a) { a.tolerance = 0; })
                                 << QStringLiteral("la consegna: tolleranza dovrebbe essere");
    QTest::newRow("most curves below 0") << withAssignment([](Assignment& a) { a.maxCurves = -1; })
                                         << QStringLiteral("numero massimo di curve");
    QTest::newRow("lone surrogate")
        << withField(ParameterField::Text11, QString(QChar(0xdc00)))
        << QStringLiteral("il campo AVX contiene un carattere Unicode non valido");
}

void TestExerciseLimits::writesOnlyWhatOpensAgain() {
    QFETCH(Exercise, exercise);
    QFETCH(QString, refusal);

    const QString reason = whyNotWritable(exercise);
    if (!refusal.isEmpty()) {
        QVERIFY2(reason.contains(refusal), qPrintable(reason));
        return;
    }
    QCOMPARE(reason, QString());
    const ExerciseReading reading = exerciseFromJson(exerciseToJson(exercise));
    QVERIFY2(reading.exercise, qPrintable(reading.message));
    QVERIFY(sameExercise(*reading.exercise, exercise));
}

// A file far larger than the limit (a huge file, a device without end) is read no further than
// one byte past it, so it cannot exhaust memory. The system's count of bytes this process read
// shows it.
void TestExerciseLimits::readsNoFurtherThanTheLimit() {
    QFile counter(QStringLiteral("/proc/self/io"));
    if (!counter.open(QIODevice::ReadOnly))
        QSKIP("the system does not count the bytes a process reads");
    counter.close();
    const auto bytesRead = [&counter] {
        counter.open(QIODevice::ReadOnly);
        const QByteArray counts = counter.readAll();
        counter.close();
        const qsizetype at = counts.indexOf("rchar: ") + 7;
        return counts.mid(at, counts.indexOf('\n', at) - at).toLongLong();
    };
    QTemporaryDir folder;
    QFile file(folder.filePath(QStringLiteral("enorme.curva")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(exerciseToJson(attemptExercise()));
    // Sparse: the blocks past the exercise take no room on the disk.
    QVERIFY(file.resize(8 * MaxFileBytes));
    file.close();

    const qint64 before = bytesRead();
    const ExerciseReading reading = readExerciseFile(file.fileName());
    const qint64 read = bytesRead() - before;
    QVERIFY2(reading.message.contains(QStringLiteral("più grande di 8 MiB")),
             qPrintable(reading.message));
    QVERIFY2(read <= MaxFileBytes + 64 * 1024, qPrintable(QString::number(read)));
}

QTEST_GUILESS_MAIN(TestExerciseLimits)
#include "test_exerciselimits.moc"
