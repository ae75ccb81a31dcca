// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "AssignmentWork.h"
#include "ExerciseCompare.h"
#include "ExerciseSamples.h"

#include <QLocale>
#include <QTest>

namespace {

// The attempt with one value, named as the curve record names it, changed in all its curves or in
// the last only.
Exercise attemptWith(const QString& variable, double value, bool lastOnly) {
    Exercise attempt = attemptExercise();
    for (PlotRecord& curve : attempt.curves) {
        if (lastOnly && &curve != &attempt.curves.back())
            continue;
        for (auto [name, member] : {std::pair{"DAX", &PlotRecord::DAX},
                                    {"DAY", &PlotRecord::DAY},
                                    {"ALX", &PlotRecord::ALX},
                                    {"ALY", &PlotRecord::ALY},
                                    {"RAX", &PlotRecord::RAX},
                                    {"RAY", &PlotRecord::RAY},
                                    {"AVX", &PlotRecord::AVX},
                                    {"AVY", &PlotRecord::AVY},
                                    {"INST", &PlotRecord::INST}})
            if (variable == QLatin1StringView(name))
                curve.*member = value;
    }
    return attempt;
}

} // namespace

class TestAssignmentWork : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy)); }
    void keepsTheWorkWithoutCurves();
    void changesLockedValue_data();
    void changesLockedValue();
};

void TestAssignmentWork::keepsTheWorkWithoutCurves() {
    Exercise work = attemptExercise();
    work.controls.field(ParameterField::Text3) = QStringLiteral(" 300,0 ");
    work.controls.HScroll2 = -20;
    work.drawingSize = {800, 600};
    work.Incr = 0.75;
    const Assignment assignment = *assignedExercise().assignment;

    Exercise expected;
    expected.controls = work.controls;
    expected.Incr = 0.75;
    expected.drawingSize = {800, 600};
    expected.assignment = assignment;
    // The fields as the window reads them under Italian settings.
    expected.assignment->fieldValues = {{20, 30, 300, 150, 70, 270, 5, 1, 1}};
    QVERIFY(sameExercise(assignmentOf(work, assignment), expected));
}

void TestAssignmentWork::changesLockedValue_data() {
    QTest::addColumn<QString>("locked");
    QTest::addColumn<QString>("variable");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("drawn");
    QTest::addColumn<bool>("changed");
    QTest::addColumn<bool>("lastOnly");

    // The assignment's fields read 20, 30, 150, 70 (chord), 300, 270 (target), 5 (INST), 1, 1.
    auto row = [](const char* name, const char* locked, const char* variable, const char* text,
                  double drawn, bool changed, bool lastOnly = false) {
        QTest::newRow(name) << QString::fromLatin1(locked) << QString::fromLatin1(variable)
                            << QString::fromUtf8(text) << drawn << changed << lastOnly;
    };
    row("drawn as given", "chord target density increments", "DAX", "20", 20, false);
    row("chord moved", "chord", "ALY", "70", 71, true);
    row("target moved", "target", "RAY", "270", 269.5, true);
    row("only the last curve moved the chord", "chord", "ALX", "150", 151, true, true);
    row("an unlocked value changed", "chord target", "INST", "5", 20, false);
    row("density changed", "density", "INST", "5", 20, true);
    row("vertical increment changed", "increments", "AVY", "1", 2, true);
    row("decimal comma", "chord", "DAX", "20,5", 20.5, false);
    row("blanks and a sign as the plot takes them", "target", "RAX", " +300 ", 300, false);
    row("a text that is not a number falls back", "target", "RAX", "trecento", 300, false);
    row("the fallback is not the text's value", "chord", "DAY", "trenta", 30, true);
    row("INST 0 falls back to 1", "density", "INST", "0", 1, false);
    row("INST above the largest plots the largest", "density", "INST", "250000", LargestINST,
        false);
    row("nothing locked", "", "DAX", "20", 99, false);
}

void TestAssignmentWork::changesLockedValue() {
    QFETCH(QString, locked);
    QFETCH(QString, variable);
    QFETCH(QString, text);
    QFETCH(double, drawn);
    QFETCH(bool, changed);
    QFETCH(bool, lastOnly);

    Exercise assignment = assignedExercise();
    assignment.assignment->locked.clear();
    for (LockedGroup group :
         {LockedGroup::Chord, LockedGroup::Target, LockedGroup::Density, LockedGroup::Increments})
        if (locked.split(u' ').contains(QLatin1StringView(lockedGroupKey(group))))
            assignment.assignment->locked.insert(group);
    for (std::size_t i = 0; i < ParameterFieldCount; ++i)
        if (variable == QLatin1StringView(ParameterVariables[i]))
            assignment.controls.fields[i] = text;
    const Exercise attempt = attemptWith(variable, drawn, lastOnly);

    QCOMPARE(::changesLockedValue(attempt, assignment), changed);
    // A plain exercise locks nothing.
    assignment.assignment.reset();
    QVERIFY(!::changesLockedValue(attempt, assignment));
}

QTEST_GUILESS_MAIN(TestAssignmentWork)
#include "test_assignmentwork.moc"
