// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

// The class summary's judging: with an assignment given, its target, tolerance and locked values
// judge, as the teacher's window read them, whatever the file says and whatever the settings of
// the machine that judges; without one, each row says it was judged by the file's own values.
#include "AssignmentWork.h"
#include "ClassSummary.h"
#include "ExerciseFile.h"
#include "ExerciseSamples.h"

#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>

class ClassSummaryTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

    QString saved(const char* name, const Exercise& exercise) {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(exerciseToJson(exercise)) <= 0)
            return {};
        return file.fileName();
    }

private slots:
    void judging_data() {
        // given: "" none, "saved" an assignment as the window saves it, "old" one saved before
        // the teacher's readings were kept, "plain" an exercise without an assignment. teacher:
        // the settings AVX was typed in; judge: those of the machine that judges.
        QTest::addColumn<QString>("given");
        QTest::addColumn<QString>("teacher");
        QTest::addColumn<double>("tolerance");
        QTest::addColumn<QString>("edit"); // what the student's file says otherwise
        QTest::addColumn<QString>("judge");
        QTest::addColumn<QStringList>("shown"); // distance, reached, changed, note
        const QString own = "giudicato con i propri valori, senza consegna";
        const auto row = [](const char* name, const char* given, const char* teacher,
                            double tolerance, const char* edit, const char* judge,
                            const QStringList& shown) {
            QTest::newRow(name) << QString(given) << QString(teacher) << tolerance << QString(edit)
                                << QString(judge) << shown;
        };
        row("own values: tolerance", "", "it_IT", 0, "", "C", {"5", "no", "", own});
        row("own values: target moved onto the curve", "", "it_IT", 0, "target", "C",
            {"0", "sì", "", own});
        row("own values: tolerance raised", "", "it_IT", 0, "tolerance", "C", {"5", "sì", "", own});
        row("given: target moved in the file", "saved", "it_IT", 2, "target", "C",
            {"5", "no", "sì", ""});
        row("given: tolerance raised in the file", "saved", "it_IT", 2, "tolerance", "C",
            {"5", "no", "no", ""});
        row("given: distance at the tolerance", "saved", "it_IT", 5, "", "C",
            {"5", "sì", "no", ""});
        row("given: distance just under", "saved", "it_IT", std::nextafter(5.0, 6.0), "", "C",
            {"5", "sì", "no", ""});
        row("given: distance just over", "saved", "it_IT", std::nextafter(5.0, 0.0), "", "C",
            {"5", "no", "no", ""});
        row("given: a locked increment changed", "saved", "it_IT", 5, "AVX", "C",
            {"5", "sì", "sì", ""});
        row("teacher's 0,5 judged in English", "saved", "it_IT", 5, "", "en_US",
            {"5", "sì", "no", ""});
        row("teacher's 0,5 judged in Italian", "saved", "it_IT", 5, "", "it_IT",
            {"5", "sì", "no", ""});
        row("older file: 0,5 judged in C", "old", "it_IT", 5, "", "C", {"5", "sì", "no", ""});
        row("older file: 0.5 judged in Italian", "old", "en_US", 5, "", "it_IT",
            {"5", "sì", "no", ""});
        row("plain exercise: its target, no tolerance", "plain", "it_IT", 0, "tolerance", "C",
            {"5", "", "no", ""});
    }
    void judging() {
        QFETCH(QString, given);
        QFETCH(QString, teacher);
        QFETCH(double, tolerance);
        QFETCH(QString, edit);
        QFETCH(QString, judge);
        QFETCH(QStringList, shown);
        const QString AVX = teacher == "it_IT" ? "0,5" : "0.5";

        // The teacher saves the assignment in her window's settings.
        QLocale::setDefault(QLocale(teacher));
        Assignment set{"", tolerance > 0 ? tolerance : 1, {}, 0, false};
        set.locked = {LockedGroup::Chord, LockedGroup::Target, LockedGroup::Increments};
        Exercise assignment = assignmentOf(pointChordExercise(AVX, false), set);
        if (given == "old")
            assignment.assignment->fieldValues.reset();
        if (given == "plain")
            assignment.assignment.reset();
        const QString assignmentPath = saved("consegna.curva", assignment);

        // The student's curve, drawn at AVX 0.5, and her file, which she may have edited.
        Exercise attempt = pointChordExercise(AVX, true);
        attempt.assignment = Assignment{"", edit == "tolerance" ? 1000.0 : 2.0, {}, 0, false};
        if (edit == "target")
            attempt.curves[0].RAX = attempt.curves[0].RAY = 10;
        if (edit == "AVX")
            attempt.curves[0].AVX = 1;

        QLocale::setDefault(QLocale(judge));
        std::optional<Exercise> judgedBy;
        if (!given.isEmpty())
            judgedBy = readExerciseFile(assignmentPath).exercise;
        QCOMPARE(judgedBy.has_value(), !given.isEmpty());
        const SummaryRow row = summaryRowOf(saved("anna.curva", attempt), judgedBy);
        QStringList seen;
        for (SummaryColumn column : {SummaryColumn::Distance, SummaryColumn::Reached,
                                     SummaryColumn::Changed, SummaryColumn::Note})
            seen << summaryText(row, column);
        QCOMPARE(seen, shown);
    }

    // "Consegna cambiata": the rules the attempt's own assignment sets against the teacher's
    // (one re-saved the handout with the search allowed); the fields' readings are for "Valori
    // cambiati" to judge.
    void assignmentChanged_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("shown");
        const auto row = [](const char* name, const char* change, const char* shown) {
            QTest::newRow(name) << QString(change) << QString(shown);
        };
        row("the same rules", "", "no");
        row("text", "text", "sì");
        row("tolerance", "tolerance", "sì");
        row("locks", "locked", "sì");
        row("most curves", "maxCurves", "sì");
        row("search allowed", "solutionAllowed", "sì");
        row("only the fields' readings", "values", "no");
        row("no assignment in the attempt", "removed", "sì");
        row("no assignment given", "none given", "");
    }
    void assignmentChanged() {
        QFETCH(QString, change);
        QFETCH(QString, shown);
        const Exercise given = assignmentOf(handedOutExercise(), *assignedExercise().assignment);
        Exercise attempt = attemptExercise();
        attempt.assignment = given.assignment;
        Assignment& own = *attempt.assignment;
        if (change == "text")
            own.text += ' ';
        if (change == "tolerance")
            own.tolerance = std::nextafter(own.tolerance, 1000.0);
        if (change == "locked")
            own.locked.insert(LockedGroup::Density);
        if (change == "maxCurves")
            own.maxCurves = 0;
        if (change == "solutionAllowed")
            own.solutionAllowed = true;
        if (change == "values")
            (*own.fieldValues)[0] = 21;
        if (change == "removed")
            attempt.assignment.reset();
        const std::optional<Exercise> judgedBy =
            change == "none given" ? std::nullopt : std::optional(given);
        const SummaryRow row = summaryRowOf(saved("bruno.curva", attempt), judgedBy);
        QCOMPARE(summaryText(row, SummaryColumn::AssignmentChanged), shown);
    }
};

QTEST_GUILESS_MAIN(ClassSummaryTest)
#include "test_class_summary.moc"
