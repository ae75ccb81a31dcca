// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

// What a plot records, and the texts built on it: the nearest drawn point to the target, and
// an equation that a real gnuplot turns back into the points the window drew.
#include "CurveFakes.h"
#include "CurveFormula.h"
#include "PlotText.h"
#include "WidgetTesting.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <cmath>
#include <vector>

using Field = CurveFields::Field;
using Texts = std::map<Field, QString>;

namespace {

// The points of gnuplot's table output for one command line, in order.
std::vector<QPointF> gnuplotTable(const QString& line) {
    QProcess gnuplot;
    gnuplot.start(QStringLiteral("gnuplot"), {});
    if (!gnuplot.waitForStarted())
        return {};
    gnuplot.write(("set table '/dev/stdout'; set format '%.17g'; " + line + "\n").toUtf8());
    gnuplot.closeWriteChannel();
    gnuplot.waitForFinished();
    std::vector<QPointF> points;
    for (const QByteArray& text : gnuplot.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> fields = text.simplified().split(' ');
        if (!text.startsWith('#') && fields.size() >= 2)
            points.emplace_back(fields[0].toDouble(), fields[1].toDouble());
    }
    return points;
}

} // namespace

class PlotRecordTest : public QObject {
    Q_OBJECT

private slots:
    void init() { useLocale(false); }

    // The record against what was drawn: the count, the last angle, a nearest point that no
    // drawn dot beats; and the gnuplot line of the copied text, as it stands, gives the drawn
    // points one by one. Fractional, negative and fallback values of the fields that make the
    // equation, and a dense plot.
    void recordAndGnuplotMatchTheDrawing_data() {
        QTest::addColumn<Texts>("texts");
        QTest::addColumn<int>("sptx");
        QTest::addColumn<int>("spty");
        QTest::newRow("as the window opens") << Texts{} << 0 << 0;
        QTest::newRow("negative and fractional, displaced")
            << Texts{{Field::Text1, "-35.125"}, {Field::Text2, "0.1"},  {Field::Text4, "-210.7"},
                     {Field::Text5, "-44.05"},  {Field::Text3, "-150"}, {Field::Text8, "-20.5"},
                     {Field::Text9, "3.7"},     {Field::Text10, "0.3"}, {Field::Text11, "-1.75"}}
            << -333 << 47;
        QTest::newRow("DAX replaced by its fallback, INST 1/3")
            << Texts{{Field::Text1, "abc"}, {Field::Text9, "0.3333333333333333"}} << 17 << 0;
        QTest::newRow("stops early at the top bound")
            << Texts{{Field::Text9, "20"}, {Field::Text10, "1.2"}, {Field::Text5, "300"}} << 0
            << 500;
        QTest::newRow("INST 1000") << Texts{{Field::Text9, "1000"}} << 100 << -50;
    }
    void recordAndGnuplotMatchTheDrawing() {
        QFETCH(Texts, texts);
        QFETCH(int, sptx);
        QFETCH(int, spty);
        Rig rig;
        const PlotRecord& r = rig.plot(texts, sptx, spty);
        const auto dots = rig.surface.curvePoints();
        QCOMPARE(r.points, long(dots.size()));
        QVERIFY(r.points > 1);
        QCOMPARE(r.stoppedEarly, QByteArray(QTest::currentDataTag()).startsWith("stops early"));

        const std::vector<double> angles = drawnAngles(r);
        QCOMPARE(angles.back(), r.lastAlfa);
        const CurveFormula curve = CurveFormula::of(r);
        double px = 0, py = 0;
        QVERIFY(curve.at(r.lastAlfa, px, py));
        QVERIFY(std::abs(float(rig.model.CX + px) - dots.back().x1) < 1e-3);
        QVERIFY(std::abs(float(rig.model.CY - py) - dots.back().y1) < 1e-3);

        double nearest = INFINITY;
        for (const auto& dot : dots)
            nearest = std::min(
                nearest, std::hypot(dot.x1 - rig.model.CX - r.RAX, rig.model.CY - dot.y1 - r.RAY));
        QVERIFY2(std::abs(nearest - r.nearest.distance) < 1e-3,
                 qPrintable(QString("%1 drawn, %2 recorded").arg(nearest).arg(r.nearest.distance)));
        QVERIFY(curve.at(r.nearest.alfa, px, py));
        QCOMPARE(px, r.nearest.x);
        QCOMPARE(py, r.nearest.y);

        QVERIFY2(!QStandardPaths::findExecutable("gnuplot").isEmpty(),
                 "gnuplot is missing: scripts/install-deps.sh installs gnuplot-nox");
        const QStringList copied = equationText(r).trimmed().split('\n');
        QCOMPARE(copied.value(copied.size() - 2), "gnuplot:");
        const auto rows = gnuplotTable(copied.back());
        QCOMPARE(long(rows.size()), r.points);
        // gnuplot spaces its angles evenly; the plot's sum of steps drifts from them by a
        // little, so the points agree to about ten significant digits, not to the last one.
        double worst = 0;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            QVERIFY(curve.at(angles[i], px, py));
            const double difference =
                std::max(std::abs(rows[i].x() - px), std::abs(rows[i].y() - py));
            worst = std::max(worst, difference);
            QVERIFY2(
                difference <= 1e-9 * std::max({std::abs(px), std::abs(py), 1.0}),
                qPrintable(QString::asprintf("point %zu at %.17g: gnuplot (%.17g, %.17g), "
                                             "drawn (%.17g, %.17g)",
                                             i + 1, angles[i], rows[i].x(), rows[i].y(), px, py)));
        }
        qInfo("largest difference between gnuplot's and the drawn points: %.2g", worst);
    }

    // The copied text is for people: Italian notation, numbers rounded for reading in the
    // user's regional format.
    void readableText_data() {
        QTest::addColumn<bool>("italian");
        QTest::addColumn<Texts>("texts");
        QTest::addColumn<int>("sptx");
        QTest::addColumn<int>("spty");
        QTest::addColumn<QStringList>("lines"); // each in the text, in this order
        QTest::newRow("as the window opens")
            << true << Texts{} << 0 << 0
            << QStringList{
                   "Curva 1",
                   "x(α) = 130·sen²α + 0·cos α·sen(1·α) + 20",
                   "y(α) = 40·sen α·cos α + 0·cos α·sen(1·α) + 40·sen α + 30",
                   "0° < α ≤ 90°, passo 2/INST = 0,4°; α in gradi, 1° = 0,0174533 rad",
                   "224 punti tracciati, 0,4° ≤ α ≤ 89,6°",
                   "DAX = 20   DAY = 30   ALX = 150   ALY = 70   INST = 5",
                   "AVX = 1   AVY = 1   SPTX = 0   SPTY = 0",
                   "PUNTO da raggiungere: (300; 270)",
                   "Distanza minima dal PUNTO: 247,431, a α = 80,8° nel punto (146,677; 75,7984)",
                   "gnuplot:"};
        QTest::newRow("fractional, displaced, English separators")
            << false << Texts{{Field::Text1, "20.5"}, {Field::Text11, "1.5"}, {Field::Text9, "3"}}
            << -200 << 0
            << QStringList{"x(α) = 129.5·sen²α - 200·cos α·sen(1.5·α) + 20.5",
                           "0° < α ≤ 90°, passo 2/INST = 0.666667°; α in gradi, 1° = 0.0174533 rad",
                           "134 punti tracciati, 0.666667° ≤ α ≤ 89.3333°"};
        QTest::newRow("stops early")
            << true << Texts{{Field::Text9, "20"}, {Field::Text10, "1,2"}, {Field::Text5, "300"}}
            << 0 << 500
            << QStringList{"y(α) = 270·sen α·cos α + 500·cos α·sen(1,2·α) + 270·sen α + 30",
                           "215 punti tracciati, 0,1° ≤ α ≤ 21,5°",
                           "La curva si è fermata ai limiti della finestra: ultimo α raggiunto "
                           "21,5°"};
    }
    void readableText() {
        QFETCH(bool, italian);
        QFETCH(Texts, texts);
        QFETCH(int, sptx);
        QFETCH(int, spty);
        QFETCH(QStringList, lines);
        useLocale(italian);
        Rig rig;
        const QString text = equationText(rig.plot(texts, sptx, spty));
        const QStringList all = text.split('\n');
        qsizetype from = 0;
        for (const QString& line : lines) {
            from = all.indexOf(line, from);
            QVERIFY2(from >= 0, qPrintable(line + "\nnot in order in\n" + text));
        }
    }

    // The distance line of the menu: the distance to six significant digits, as every text of
    // the window writes it, the angle and the readout to one decimal, no minus on zero.
    void shortTexts() {
        useLocale(true);
        PlotRecord plot;
        QCOMPARE(distanceLine(plot), "Nessuna curva tracciata");
        plot.curve = 5;
        QCOMPARE(distanceLine(plot), "Curva 5: nessun punto tracciato");
        plot.points = 10;
        plot.nearest = {0.7372494, 63.25, 0, 0};
        QCOMPARE(distanceLine(plot), "Curva 5: distanza minima dal PUNTO 0,737249 (α = 63,3°)");
        QCOMPARE(readoutText(1234.56, -0.04), "x = 1234,6   y = 0,0");
    }
};

QTEST_GUILESS_MAIN(PlotRecordTest)
#include "test_plot_record.moc"
