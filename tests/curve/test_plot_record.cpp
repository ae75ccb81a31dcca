// What a plot records, and the texts built on it: the nearest drawn point to the target, and
// an equation that a real gnuplot turns back into the points the window drew.
#include "CurveFakes.h"
#include "CurveFormula.h"
#include "NumberText.h"
#include "PlotText.h"
#include "WidgetTesting.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <array>
#include <cmath>
#include <optional>

using Field = CurveFields::Field;
using Texts = std::map<Field, QString>;

namespace {

// The rows of gnuplot's table output for one command line, with the angle gnuplot sampled at
// (tMin + i * (tMax - tMin) / (samples - 1)) in the first column.
std::vector<std::array<double, 3>> gnuplotTable(const QString& line, double tMin, double tMax) {
    QProcess gnuplot;
    gnuplot.start(QStringLiteral("gnuplot"), {});
    if (!gnuplot.waitForStarted())
        return {};
    gnuplot.write(("set table '/dev/stdout'; set format '%.17g'; " + line + "\n").toUtf8());
    gnuplot.closeWriteChannel();
    gnuplot.waitForFinished();
    std::vector<std::array<double, 3>> rows;
    for (const QByteArray& text : gnuplot.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> fields = text.simplified().split(' ');
        if (!text.startsWith('#') && fields.size() >= 2)
            rows.push_back({0, fields[0].toDouble(), fields[1].toDouble()});
    }
    for (std::size_t i = 0; i < rows.size(); ++i)
        rows[i][0] = rows.size() > 1 ? tMin + i * ((tMax - tMin) / (rows.size() - 1)) : tMin;
    return rows;
}

bool relativelyNear(double a, double b) {
    return std::abs(a - b) <= 1e-9 * std::max({std::abs(a), std::abs(b), 1.0});
}

} // namespace

class PlotRecordTest : public QObject {
    Q_OBJECT

private slots:
    void init() { useLocale(false); }

    // The record against what was drawn: the count, the last angle, a nearest point that no
    // drawn dot beats; and the gnuplot line, as it stands, gives the program's own points at
    // gnuplot's samples, the first and last of them at the first and last drawn angles.
    // Fractional, negative and fallback values of the fields that make the equation.
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
        const auto rows = gnuplotTable(gnuplotLine(r), r.step, r.lastAlfa);
        QCOMPARE(long(rows.size()), r.points);
        for (const auto& [t, x, y] : rows) {
            QVERIFY(curve.at(t, px, py));
            QVERIFY2(relativelyNear(x, px) && relativelyNear(y, py),
                     qPrintable(QString::asprintf("at %.17g: gnuplot (%.17g, %.17g), program "
                                                  "(%.17g, %.17g)",
                                                  t, x, y, px, py)));
        }
    }

    void readableText() {
        useLocale(true);
        Rig rig;
        const PlotRecord& r = rig.plot({{Field::Text1, "20,5"}, {Field::Text11, "1,5"}}, -200, 0);
        const QStringList lines = equationText(r).split('\n');
        QCOMPARE(lines[1], "x(α) = 129,5·sin²α - 200·cos α·sin(1,5·α) + 20,5");
        QCOMPARE(lines[2], "y(α) = 40·sin α·cos α + 0·cos α·sin(1·α) + 40·sin α + 30");
        QCOMPARE(lines[3], "0° < α ≤ 90°, passo 2/INST = 0,4°; α in gradi, "
                           "1° = 0,01745329238474369 rad");
        QVERIFY(lines.contains("PUNTO da raggiungere: (300; 270)"));
        QVERIFY(lines.contains(gnuplotLine(r)));
        QCOMPARE(distanceLine(r), QString("Curva 1: distanza minima dal PUNTO %1 (α = %2°)")
                                      .arg(QLocale().toString(r.nearest.distance, 'f', 1),
                                           QLocale().toString(r.nearest.alfa, 'f', 1)));
        QCOMPARE(readoutText(1234.56, -0.04), "x = 1234,6   y = 0,0");
        // Every number of the text reads back to the double the plot used.
        for (double v : {1.0 / 3, -210.7, 89.6000000000002, -4.9e-324, 123456789012345680.0})
            QCOMPARE(parseNumber(DoubleToExactText(v)), std::optional<double>(v));

        Rig empty;
        QCOMPARE(distanceLine(empty.plot({{Field::Text1, "600"}})),
                 "Curva 1: nessun punto tracciato");
    }
};

QTEST_GUILESS_MAIN(PlotRecordTest)
#include "test_plot_record.moc"
