// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "Calibration.h"
#include "Palette.h"
#include "RecordingPrompter.h"
#include "RecordingSurface.h"
#include "WidgetTesting.h"

#include <QLocale>
#include <QTest>
#include <cmath>
#include <vector>

namespace {

class RecordedCalibration : public Calibration {
public:
    RecordingSurface surface;
    RecordingPrompter prompter_;
    QString field = QStringLiteral("Text1");
    int curveWindowShown = 0;
    int programEnded = 0;

    RecordedCalibration() {
        showCurveWindow = [this] { ++curveWindowShown; };
        endProgram = [this] { ++programEnded; };
    }

    // Runs a script such as "activate 2 3 1": an activation, then scroll changes to positions.
    void run(const QString& script) {
        for (const QString& step : script.split(u' ', Qt::SkipEmptyParts)) {
            if (step == u"activate")
                Form_Activate();
            else
                HScroll1_Change(static_cast<std::int16_t>(step.toInt()));
        }
    }

protected:
    Surface& drawingSurface() override { return surface; }
    Prompter& prompter() override { return prompter_; }
    void showRatio(const QString& text) override { field = text; }
};

constexpr int PointsPerFigure = 3600;

} // namespace

class TestCalibration : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void ratioShown_data();
    void ratioShown();
    void okButton_data();
    void okButton();
    void esciEndsTheProgram();
    void clearing_data();
    void clearing();
    void figure_data();
    void figure();
};

void TestCalibration::ratioShown_data() {
    QTest::addColumn<QString>("script");
    QTest::addColumn<bool>("italian");
    QTest::addColumn<QString>("shown");

    QTest::newRow("before activation") << "" << true << "Text1";
    QTest::newRow("activation") << "activate" << true << "0,51";
    QTest::newRow("position 1") << "activate 1" << true << "0,53";
    QTest::newRow("position 3") << "activate 2 3" << true << "0,57";
    QTest::newRow("position 29") << "activate 29" << true << "1,09";
    QTest::newRow("position 30") << "activate 30" << true << "1,11";
    QTest::newRow("activation again after 30") << "activate 30 activate" << true << "0,51";
    QTest::newRow("English, position 3") << "activate 3" << false << "0.57";
}

void TestCalibration::ratioShown() {
    QFETCH(QString, script);
    QFETCH(bool, italian);
    QFETCH(QString, shown);
    useLocale(italian);
    RecordedCalibration calibration;
    calibration.run(script);
    QCOMPARE(calibration.field, shown);
}

void TestCalibration::okButton_data() {
    QTest::addColumn<QString>("script");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("0.51 after activation") << "activate" << false;
    QTest::newRow("0.53 at position 1, back from 2") << "activate 2 1" << false;
    QTest::newRow("0.55 at position 2") << "activate 2" << true;
    QTest::newRow("1.11 at position 30") << "activate 30" << true;
    QTest::newRow("activation again after position 5") << "activate 5 activate" << false;
}

void TestCalibration::okButton() {
    QFETCH(QString, script);
    QFETCH(bool, accepted);
    RecordedCalibration calibration;
    calibration.run(script);
    const std::size_t drawn = calibration.surface.sinceLastCls().size();

    calibration.Command1_Click();

    QCOMPARE(calibration.curveWindowShown, accepted ? 1 : 0);
    QCOMPARE(calibration.prompter_.messages,
             accepted ? QStringList() : QStringList{"Impostare la risoluzione SCHERMO"});
    QCOMPARE(calibration.surface.sinceLastCls().size(), drawn);
    QCOMPARE(calibration.programEnded, 0);
}

void TestCalibration::esciEndsTheProgram() {
    RecordedCalibration calibration;
    calibration.run("activate 4");
    calibration.Command3_Click();
    QCOMPARE(calibration.programEnded, 1);
    QCOMPARE(calibration.curveWindowShown, 0);
    QVERIFY(calibration.prompter_.messages.isEmpty());
}

void TestCalibration::clearing_data() {
    QTest::addColumn<QString>("script");
    QTest::addColumn<int>("clears");
    QTest::addColumn<int>("figuresLeft");

    QTest::newRow("activation") << "activate" << 0 << 1;
    QTest::newRow("1 after activation: 0.53 over 0.51") << "activate 1" << 0 << 2;
    QTest::newRow("steps right nest figures") << "activate 1 2 3 4" << 0 << 5;
    QTest::newRow("2 back to 1 clears") << "activate 1 2 1" << 1 << 1;
    QTest::newRow("every step left clears") << "activate 5 4 3 4" << 2 << 2;
    QTest::newRow("activation never clears") << "activate 30 activate" << 0 << 3;
    QTest::newRow("jump from 30 to 1") << "activate 30 1" << 1 << 1;
}

void TestCalibration::clearing() {
    QFETCH(QString, script);
    QFETCH(int, clears);
    QFETCH(int, figuresLeft);
    RecordedCalibration calibration;
    calibration.run(script);

    QCOMPARE(calibration.surface.clears, clears);
    const auto drawn = calibration.surface.sinceLastCls();
    const auto lines = std::count_if(drawn.begin(), drawn.end(), [](const auto& d) {
        return d.kind == RecordingSurface::Call::Line;
    });
    QCOMPARE(lines, 2 * figuresLeft);
    QCOMPARE(drawn.size(), std::size_t(figuresLeft) * (2 + PointsPerFigure));
}

void TestCalibration::figure_data() {
    QTest::addColumn<QString>("script");
    QTest::addColumn<float>("scaleHeight");

    // 146367.359375 (the width as a single) times the ratio, as a single.
    QTest::newRow("0.51") << "activate" << 74647.3515625f;
    QTest::newRow("0.55") << "activate 2" << 80502.046875f;
    QTest::newRow("1.11") << "activate 30" << 162467.765625f;
}

void TestCalibration::figure() {
    QFETCH(QString, script);
    QFETCH(float, scaleHeight);
    RecordedCalibration calibration;
    calibration.run(script);
    const auto& surface = calibration.surface;
    QCOMPARE(surface.ScaleMode(), Surface::UserScale);
    QCOMPARE(surface.ScaleWidth(), 146367.359375f);
    QCOMPARE(surface.ScaleHeight(), scaleHeight);

    // The axes cross at the figure's centre, 20000 units right of the middle.
    const float cx = 93183.6796875f;
    const float cy = scaleHeight / 2;
    // The latest axes and figure.
    const auto shown = surface.sinceLastCls();
    QVERIFY(shown.size() >= std::size_t(2 + PointsPerFigure));
    const std::vector drawn(shown.end() - (2 + PointsPerFigure), shown.end());
    const auto isAxis = [](const RecordingSurface::Call& d, float x1, float y1, float x2,
                           float y2) {
        return d.kind == RecordingSurface::Call::Line && d.x1 == x1 && d.y1 == y1 && d.x2 == x2 &&
               d.y2 == y2 && d.drawWidth == 1 && !d.colour; // in the foreground colour
    };
    QVERIFY(isAxis(drawn[0], cx, 0, cx, scaleHeight));
    QVERIFY(isAxis(drawn[1], 0, cy, 146367.359375f, cy));
    QVERIFY(surface.callsOf(RecordingSurface::Call::Circle).empty());

    // Every point is red, one pixel, on the circle of radius 36367.36 units around the centre;
    // the quarter points lie on the axes.
    const double radius = 36367.36328125;
    for (std::size_t i = 2; i < drawn.size(); ++i) {
        const auto& d = drawn[i];
        QCOMPARE(d.kind, RecordingSurface::Call::PSet);
        QCOMPARE(d.colour, std::optional(QBColor(4)));
        QCOMPARE(d.drawWidth, std::int16_t(1));
        QVERIFY2(std::abs(std::hypot(d.x1 - cx, d.y1 - cy) - radius) < 0.02,
                 qPrintable(QString::number(i)));
    }
    const float quarter[4][2] = {{cx + float(radius), cy},
                                 {cx, cy + float(radius)},
                                 {cx - float(radius), cy},
                                 {cx, cy - float(radius)}};
    for (int q = 0; q < 4; ++q) {
        const auto& d = drawn[2 + q * PointsPerFigure / 4];
        QVERIFY(std::abs(d.x1 - quarter[q][0]) < 0.02f && std::abs(d.y1 - quarter[q][1]) < 0.02f);
    }
}

QTEST_GUILESS_MAIN(TestCalibration)
#include "test_calibration.moc"
