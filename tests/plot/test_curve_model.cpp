// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

// The plotting arithmetic of the curve window and the order of its drawing calls, on a
// recording surface.
#include "CurveFakes.h"
#include "CurveModel.h"
#include "Palette.h"

#include <QLocale>
#include <QRandomGenerator>
#include <QTest>
#include <cmath>

using Call = RecordingSurface::Call;
using Field = CurveFields::Field;
using Texts = std::vector<std::pair<Field, QString>>;

namespace {

// A single-precision position matches a double to the tolerance, or to the float it rounds to.
bool near(float actual, double expected, double tolerance = 1e-6) {
    const double halfUlp = (std::nextafter(actual, INFINITY) - actual) / 2.0;
    return std::abs(double(actual) - expected) <= tolerance + halfUlp;
}

// The curve point (x, y) in curve coordinates that a PSet at the origin (cx, cy) shows.
bool pointIs(const Call& call, double cx, double cy, double x, double y) {
    return near(call.x1, cx + x) && near(call.y1, cy - y);
}

} // namespace

class CurveModelTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void formActivate_data();
    void formActivate();
    void drawingOrder();
    void workedExample_data();
    void workedExample();
    void pointCounts_data();
    void pointCounts();
    void exits_data();
    void exits();
    void colourCycle();
    void clearingKeepsTheColourCounter();
    void badFieldsAreReportedBeforeDrawing();
    void largeInstIsBounded_data();
    void largeInstIsBounded();
    void unrepresentablePositionsAreSkipped_data();
    void unrepresentablePositionsAreSkipped();
    void generatedInputsDrawOnlyFinitePositions();
};

void CurveModelTest::formActivate_data() {
    QTest::addColumn<double>("incr");
    QTest::addColumn<float>("height");
    QTest::addColumn<float>("cy");
    QTest::newRow("Incr 0.55") << 0.55 << 550.0f << 325.0f;
    QTest::newRow("Incr 0.75") << 0.75 << 750.0f << 425.0f;
    QTest::newRow("Incr 1.2") << 1.2 << 1200.0f << 650.0f;
}

void CurveModelTest::formActivate() {
    QFETCH(double, incr);
    QFETCH(float, height);
    QFETCH(float, cy);
    Rig rig;
    rig.incr = incr;
    rig.model.Form_Activate();

    QCOMPARE(rig.model.P1, 0.01745329238474369f);
    QCOMPARE(rig.surface.ScaleWidth(), 1000.0f);
    QCOMPARE(rig.surface.ScaleHeight(), height);
    QCOMPARE(rig.model.CX, 430.0f);
    QCOMPARE(rig.model.CY, cy);
    // The axes come first, pen width 2, across the whole client area.
    QVERIFY(rig.surface.calls.size() >= 2);
    const Call vertical = rig.surface.calls[0];
    const Call horizontal = rig.surface.calls[1];
    QCOMPARE(vertical.kind, Call::Line);
    QCOMPARE(vertical.drawWidth, 2);
    QCOMPARE(QRectF(vertical.x1, vertical.y1, vertical.x2, vertical.y2),
             QRectF(430, 0, 430, height));
    QCOMPARE(horizontal.kind, Call::Line);
    QCOMPARE(horizontal.drawWidth, 2);
    QCOMPARE(QRectF(horizontal.x1, horizontal.y1, horizontal.x2, horizontal.y2),
             QRectF(0, cy, 1000, cy));
    // ... and one curve follows.
    QCOMPARE(rig.model.Miocolor, 1);
    QVERIFY(rig.surface.points > 0);
}

void CurveModelTest::drawingOrder() {
    Rig rig;
    rig.model.Form_Activate();
    const std::vector<Call>& calls = rig.surface.calls;
    QCOMPARE(calls.size(), 2 + 2 + 2 * 224u);

    // The marker: a dot in the foreground colour, pen 3, then a circle of radius 5, pen 1.
    QCOMPARE(calls[2].kind, Call::PSet);
    QCOMPARE(calls[2].colour, std::nullopt);
    QCOMPARE(calls[2].drawWidth, 3);
    QCOMPARE(QPointF(calls[2].x1, calls[2].y1), QPointF(730, 155));
    QCOMPARE(calls[3].kind, Call::Circle);
    QCOMPARE(calls[3].drawWidth, 1);
    QCOMPARE(QPointF(calls[3].x1, calls[3].y1), QPointF(730, 155));
    QCOMPARE(calls[3].x2, 5.0f);

    // Every point: the chord in the foreground colour, pen 1, then the point, pen 2, green.
    for (std::size_t i = 4; i < calls.size(); i += 2) {
        QCOMPARE(calls[i].kind, Call::Line);
        QCOMPARE(calls[i].drawWidth, 1);
        QCOMPARE(QRectF(calls[i].x1, calls[i].y1, calls[i].x2, calls[i].y2),
                 QRectF(450, 395, 580, 355));
        QCOMPARE(calls[i + 1].kind, Call::PSet);
        QCOMPARE(calls[i + 1].drawWidth, 2);
        QCOMPARE(calls[i + 1].colour, QBColor(2));
    }
    QCOMPARE(rig.surface.DrawWidth(), 2);
}

void CurveModelTest::workedExample_data() {
    QTest::addColumn<int>("sptx");
    QTest::addColumn<int>("spty");
    QTest::addColumn<QString>("avy");
    QTest::addColumn<QString>("avx");
    QTest::addColumn<QPointF>("first");
    QTest::addColumn<QPointF>("second");
    QTest::addColumn<QPointF>("last");
    QTest::newRow("no displacement")
        << 0 << 0 << "1"
        << "1" << QPointF(20.006336, 30.558494) << QPointF(20.025343, 31.116920)
        << QPointF(149.993664, 70.278269);
    QTest::newRow("displaced 200 across, 100 up")
        << 200 << 100 << "1"
        << "1" << QPointF(21.402554, 31.256603) << QPointF(22.817506, 32.513002)
        << QPointF(151.389884, 70.976380);
    // Each displacement goes with its own alpha increment.
    QTest::newRow("displaced, vertical increment 2, horizontal 3")
        << 200 << 100 << "2"
        << "3" << QPointF(24.194718, 31.954678) << QPointF(28.399657, 33.908812)
        << QPointF(148.597716, 70.288017);
}

void CurveModelTest::workedExample() {
    QFETCH(int, sptx);
    QFETCH(int, spty);
    QFETCH(QString, avy);
    QFETCH(QString, avx);
    QFETCH(QPointF, first);
    QFETCH(QPointF, second);
    QFETCH(QPointF, last);
    Rig rig;
    rig.fields.texts[Field::Text10] = avy;
    rig.fields.texts[Field::Text11] = avx;
    rig.model.SPTX = static_cast<std::int16_t>(sptx);
    rig.model.SPTY = static_cast<std::int16_t>(spty);
    rig.model.Form_Activate();

    QCOMPARE(rig.model.ASQ, 130.0);
    QCOMPARE(rig.model.ASM, 40.0);
    const std::vector<Call> points = rig.surface.curvePoints();
    QCOMPARE(points.size(), 224u);
    QVERIFY(pointIs(points[0], 430, 425, first.x(), first.y()));
    QVERIFY(pointIs(points[1], 430, 425, second.x(), second.y()));
    QVERIFY(pointIs(points.back(), 430, 425, last.x(), last.y()));
}

void CurveModelTest::pointCounts_data() {
    QTest::addColumn<QString>("inst");
    QTest::addColumn<int>("points");
    QTest::addColumn<QPointF>("last");
    // Steps that add up exactly reach 90, where the point is the end of the chord.
    QTest::newRow("INST 1") << "1" << 45 << QPointF(150, 70);
    QTest::newRow("INST 2") << "2" << 90 << QPointF(150, 70);
    QTest::newRow("INST 4") << "4" << 180 << QPointF(150, 70);
    QTest::newRow("INST 5 stops at 89.6") << "5" << 224 << QPointF(149.993664, 70.278269);
    QTest::newRow("INST 10 stops at 89.8") << "10" << 449 << QPointF(149.998416, 70.139382);
}

void CurveModelTest::pointCounts() {
    QFETCH(QString, inst);
    QFETCH(int, points);
    QFETCH(QPointF, last);
    Rig rig;
    rig.fields.texts[Field::Text9] = inst;
    rig.model.Form_Activate();
    const std::vector<Call> drawn = rig.surface.curvePoints();
    QCOMPARE(int(drawn.size()), points);
    QVERIFY(pointIs(drawn.back(), 430, 425, last.x(), last.y()));
}

void CurveModelTest::exits_data() {
    QTest::addColumn<Texts>("texts");
    QTest::addColumn<int>("spty");
    QTest::addColumn<double>("incr");
    QTest::addColumn<int>("minPoints");
    QTest::addColumn<int>("maxPoints");

    QTest::newRow("start beyond the bounds") << Texts{{Field::Text1, "600"}} << 0 << 0.75 << 0 << 0;
    QTest::newRow("negative INST") << Texts{{Field::Text9, "-5"}} << 0 << 0.75 << 0 << 0;
    QTest::newRow("INST below 2/90") << Texts{{Field::Text9, "0.02"}} << 0 << 0.75 << 0 << 0;
    QTest::newRow("INST just above 2/90") << Texts{{Field::Text9, "0.0223"}} << 0 << 0.75 << 1 << 1;
    QTest::newRow("leaves the bounds half-way") << Texts{} << 500 << 0.55 << 1 << 223;
    QTest::newRow("leaves the bounds downward") << Texts{} << -500 << 0.2 << 1 << 223;
    QTest::newRow("end point near the right bound")
        << Texts{{Field::Text4, "500"}} << 0 << 0.75 << 224 << 224;
    // ALFA * 1E308 overflows from ALFA = 2 on: the sine is not a number, nor is the point.
    QTest::newRow("vertical alpha increment overflowing")
        << Texts{{Field::Text10, "1E308"}} << 0 << 0.75 << 4 << 4;
    QTest::newRow("horizontal alpha increment overflowing")
        << Texts{{Field::Text11, "1E308"}} << 0 << 0.75 << 4 << 4;
    QTest::newRow("chord of length 0")
        << Texts{{Field::Text4, "20"}, {Field::Text5, "30"}} << 0 << 0.75 << 224 << 224;
}

void CurveModelTest::exits() {
    QFETCH(Texts, texts);
    QFETCH(int, spty);
    QFETCH(double, incr);
    QFETCH(int, minPoints);
    QFETCH(int, maxPoints);
    Rig rig;
    rig.incr = incr;
    for (const auto& [field, text] : texts)
        rig.fields.texts[field] = text;
    rig.model.SPTY = static_cast<std::int16_t>(spty);
    rig.model.Form_Activate();

    const std::vector<Call> points = rig.surface.curvePoints();
    QVERIFY2(int(points.size()) >= minPoints && int(points.size()) <= maxPoints,
             qPrintable(QString::number(points.size())));
    // The marker is always there; a chord goes with every point and only with points.
    QCOMPARE(rig.surface.callsOf(Call::Circle).size(), 1u);
    QCOMPARE(rig.surface.callsOf(Call::PSet).size(), points.size() + 1);
    QCOMPARE(rig.surface.callsOf(Call::Line).size(), 2 + points.size());
    QCOMPARE(rig.model.Miocolor, 1);
    QCOMPARE(rig.surface.nonFinite, 0u);
    for (const Call& p : points) {
        QVERIFY(std::abs(p.x1 - rig.model.CX) <= rig.model.CX + 100);
        QVERIFY(std::abs(rig.model.CY - p.y1) <= rig.model.CY);
    }
}

void CurveModelTest::colourCycle() {
    Rig rig;
    rig.model.Form_Activate();
    QCOMPARE(rig.surface.lastColour, QBColor(2));
    for (int index = 3; index <= 14; ++index) {
        rig.model.CALCOLA();
        QCOMPARE(rig.surface.lastColour, QBColor(index));
        QCOMPARE(rig.model.Miocolor, index - 1);
    }
    QCOMPARE(rig.surface.lastColour, qRgb(255, 255, 0)); // the thirteenth curve is yellow
    rig.model.CALCOLA();
    QCOMPARE(rig.surface.lastColour, qRgb(0, 128, 0)); // and the fourteenth dark green again
    QCOMPARE(rig.model.Miocolor, 1);
}

void CurveModelTest::clearingKeepsTheColourCounter() {
    Rig rig;
    rig.model.Form_Activate();
    rig.surface.forget();
    rig.model.clearAndRedraw();
    QCOMPARE(rig.surface.calls.front().kind, Call::Cls);
    QCOMPARE(rig.surface.lastColour, QBColor(3));
    QCOMPARE(rig.surface.points, 224u);
}

// Every field bad at once: each is reported in the order the fields are read.
void CurveModelTest::badFieldsAreReportedBeforeDrawing() {
    Rig rig;
    for (Field field : {Field::Text1, Field::Text2, Field::Text3, Field::Text4, Field::Text5,
                        Field::Text8, Field::Text9, Field::Text10, Field::Text11})
        rig.fields.texts[field] = "x";
    std::vector<std::size_t> drawnAtMessage;
    rig.prompter.onMessage = [&](const QString&) {
        drawnAtMessage.push_back(rig.surface.calls.size());
    };
    rig.model.Form_Activate();

    QCOMPARE(rig.prompter.messages,
             QStringList({"DAX non è un numero", "DAY non è un numero", "ALX non è un numero",
                          "ALY non è un numero", "INST non è un numero", "RAX non è un numero",
                          "RAY non è un numero", "AVY non è un numero", "AVX non è un numero"}));
    QCOMPARE(drawnAtMessage, std::vector<std::size_t>(9, 2)); // the axes only
    QCOMPARE(rig.model.DAX, 1.0);
    QCOMPARE(rig.model.RAY, 270.0);
    const Call chord = rig.surface.callsOf(Call::Line)[2];
    QCOMPARE(QPointF(chord.x1, chord.y1), QPointF(431, 424));
    const Call marker = rig.surface.callsOf(Call::Circle)[0];
    QCOMPARE(QPointF(marker.x1, marker.y1), QPointF(730, 155));
}

void CurveModelTest::largeInstIsBounded_data() {
    QTest::addColumn<QString>("inst");
    QTest::addColumn<bool>("bounded");
    QTest::newRow("at the bound") << "100000" << false;
    QTest::newRow("just above") << "100000.5" << true;
    QTest::newRow("a billion") << "1E9" << true;
    QTest::newRow("near the largest double") << "1.7E308" << true;
}

void CurveModelTest::largeInstIsBounded() {
    QFETCH(QString, inst);
    QFETCH(bool, bounded);
    Rig rig;
    rig.surface.keepCalls = false;
    rig.fields.texts[Field::Text9] = inst;
    rig.model.Form_Activate();

    const QStringList expected =
        bounded ? QStringList{QStringLiteral("INST troppo grande: il massimo è 100000")}
                : QStringList{};
    QCOMPARE(rig.prompter.messages, expected);
    QCOMPARE(rig.fields.texts[Field::Text9], bounded ? QStringLiteral("100000") : inst);
    QCOMPARE(rig.model.INST, 100000.0);
    QVERIFY(rig.surface.points > 4'400'000 && rig.surface.points <= 4'500'000);
}

void CurveModelTest::unrepresentablePositionsAreSkipped_data() {
    QTest::addColumn<Field>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("markers");
    QTest::addColumn<int>("points");
    QTest::newRow("target far right") << Field::Text3 << "1E39" << 0 << 224;
    QTest::newRow("target far below") << Field::Text8 << "-1E300" << 0 << 224;
    QTest::newRow("target beyond the largest float") << Field::Text3 << "3.5E38" << 0 << 224;
    QTest::newRow("target at the largest float") << Field::Text3 << "3.4E38" << 1 << 224;
    QTest::newRow("end point far away") << Field::Text4 << "1E300" << 1 << 0;
    QTest::newRow("start point far away") << Field::Text2 << "-1E300" << 1 << 0;
}

void CurveModelTest::unrepresentablePositionsAreSkipped() {
    QFETCH(Field, field);
    QFETCH(QString, text);
    QFETCH(int, markers);
    QFETCH(int, points);
    Rig rig;
    rig.fields.texts[field] = text;
    rig.model.Form_Activate();
    QCOMPARE(int(rig.surface.callsOf(Call::Circle).size()), markers);
    QCOMPARE(int(rig.surface.points), points);
    QCOMPARE(rig.surface.nonFinite, 0u);
}

// Whatever the fields hold, a plot ends, stays within its iterations and never hands the
// surface a position that is not a finite single.
void CurveModelTest::generatedInputsDrawOnlyFinitePositions() {
    const QStringList values = {"0",      "1",     "-1",     "20",       "-530",   "531",
                                "1E-300", "1E300", "-1E300", "1.79E308", "3.4E38", "1E39",
                                "0.5",    "90",    "-45.5",  "1E308",    "1E-5",   "-1E-320"};
    const QStringList insts = {"1", "5", "-5", "0.03", "0.5", "12.5", "1E-300", "-1E300"};
    const std::int16_t displacements[] = {0, 1, -1, 500, -500, 600, -600, 37};
    const Field valueFields[] = {Field::Text1, Field::Text2, Field::Text4,  Field::Text5,
                                 Field::Text3, Field::Text8, Field::Text10, Field::Text11};
    QRandomGenerator random(20240607);
    for (int run = 0; run < 3000; ++run) {
        Rig rig;
        rig.surface.keepCalls = false;
        rig.incr = 0.3 + random.bounded(1.5);
        for (Field f : valueFields)
            rig.fields.texts[f] = values[random.bounded(values.size())];
        rig.fields.texts[Field::Text9] = insts[random.bounded(insts.size())];
        rig.model.SPTX = displacements[random.bounded(8)];
        rig.model.SPTY = displacements[random.bounded(8)];
        rig.model.Form_Activate();
        QVERIFY2(rig.surface.nonFinite == 0, qPrintable(QString::number(run)));
        QVERIFY(rig.prompter.messages.isEmpty());
        const double iterations = rig.model.INST > 0 ? 45 * rig.model.INST + 1 : 0;
        QVERIFY(double(rig.surface.points) <= iterations);
    }
}

QTEST_GUILESS_MAIN(CurveModelTest)
#include "test_curve_model.moc"
