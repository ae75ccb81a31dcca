// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

// What an assignment asks of the curve window, in the words a student reads: the most curves,
// and the target reached within the tolerance.
#include "AssignmentRules.h"

#include <QLocale>
#include <QTest>
#include <cmath>

class AssignmentRulesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy)); }

    void mostCurves_data() {
        QTest::addColumn<int>("maxCurves"); // -1: no assignment
        QTest::addColumn<int>("drawn");
        QTest::addColumn<QString>("said");
        const QString atThree = "La consegna permette al massimo 3 curve: per disegnarne un'altra "
                                "annulla l'ultima (Ctrl+Z) o cancella il disegno.";
        QTest::newRow("no assignment") << -1 << 10000 << "";
        QTest::newRow("0: no limit") << 0 << 10000 << "";
        QTest::newRow("one place left") << 3 << 2 << "";
        QTest::newRow("at the most") << 3 << 3 << atThree;
        QTest::newRow("beyond the most") << 3 << 4 << atThree;
    }
    void mostCurves() {
        QFETCH(int, maxCurves);
        QFETCH(int, drawn);
        QFETCH(QString, said);
        std::optional<Assignment> assignment;
        if (maxCurves >= 0)
            assignment = Assignment{"", 2, {}, maxCurves, false};
        QCOMPARE(whyNoMoreCurves(assignment, std::size_t(drawn)), said);
    }

    // A curve that drew no point came nowhere near, whatever its record's distance says.
    void targetReached_data() {
        QTest::addColumn<double>("tolerance"); // 0: no assignment
        QTest::addColumn<long>("points");
        QTest::addColumn<double>("distance");
        QTest::addColumn<QString>("said");
        const QString reached = "Bersaglio raggiunto con la curva 4: distanza %1 (entro %2).";
        QTest::newRow("within") << 2.5 << 10L << 0.125 << reached.arg("0,125", "2,5");
        QTest::newRow("at the tolerance") << 2.5 << 10L << 2.5 << reached.arg("2,5", "2,5");
        QTest::newRow("just beyond") << 2.5 << 10L << std::nextafter(2.5, 3.0) << "";
        QTest::newRow("a curve with no points") << 2.5 << 0L << 0.0 << "";
        QTest::newRow("no assignment") << 0.0 << 10L << 0.0 << "";
    }
    void targetReached() {
        QFETCH(double, tolerance);
        QFETCH(long, points);
        QFETCH(double, distance);
        QFETCH(QString, said);
        std::optional<Assignment> assignment;
        if (tolerance > 0)
            assignment = Assignment{"", tolerance, {}, 0, false};
        PlotRecord curve;
        curve.curve = 4;
        curve.points = points;
        curve.nearest.distance = distance;
        QCOMPARE(targetReachedText(assignment, curve), said);
    }
};

QTEST_GUILESS_MAIN(AssignmentRulesTest)
#include "test_assignment_rules.moc"
