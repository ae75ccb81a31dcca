// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "CurveModel.h"

#include "CurveFormula.h"
#include "NumberText.h"
#include "Palette.h"
#include "Prompter.h"
#include "Single.h"
#include "Surface.h"

#include <cmath>
#include <limits>
#include <utility>

namespace {

// A drawing position in single precision, or nothing when it does not fit a float.
bool toPosition(QPointF at, float& sx, float& sy) {
    sx = toSingle(at.x());
    sy = toSingle(at.y());
    return std::isfinite(sx) && std::isfinite(sy);
}

} // namespace

CurveModel::CurveModel(Surface& surface, CurveFields& fields, Prompter& prompter,
                       std::function<double()> incr)
    : surface_(surface), fields_(fields), prompter_(prompter), incr_(std::move(incr)) {}

void CurveModel::Form_Activate() {
    setUpScale(incr_());
    drawAxes();
    activating_ = true;
    CALCOLA();
    activating_ = false;
}

void CurveModel::setUpScale(double incr) {
    P1 = DegreeInRadians;
    surface_.setScaleMode(Surface::Centimetres);
    surface_.setDrawWidth(2);
    surface_.setScaleWidth(ScaleWidthUnits);
    surface_.setScaleHeight(toSingle(double(surface_.ScaleWidth()) * incr));
    const PlotBounds bounds = boundsOfScale(surface_.ScaleWidth(), surface_.ScaleHeight());
    CX = bounds.CX;
    CY = bounds.CY;
    scaleIncr_ = incr;
}

PlotBounds CurveModel::boundsOfScale(float scaleWidth, float scaleHeight) {
    const float originX = toSingle(double(scaleWidth) / 2 - 70);
    const float originY = toSingle(double(scaleHeight) / 2 + 50);
    return {originX, originY};
}

PlotBounds CurveModel::boundsFor(double incr) {
    return boundsOfScale(ScaleWidthUnits, toSingle(double(ScaleWidthUnits) * incr));
}

QPointF CurveModel::relativePosition(double incr, double x, double y) {
    const float height = toSingle(double(ScaleWidthUnits) * incr);
    const PlotBounds origin = boundsOfScale(ScaleWidthUnits, height);
    return {(double(origin.CX) + x) / double(ScaleWidthUnits),
            (double(origin.CY) - y) / double(height)};
}

void CurveModel::drawAxes() {
    surface_.Line(CX, 0, CX, surface_.ScaleHeight());
    surface_.Line(0, CY, surface_.ScaleWidth(), CY);
}

void CurveModel::drawTarget(double x, double y) {
    float markerX, markerY;
    const bool markerFits = toPosition(toSurface(x, y), markerX, markerY);
    surface_.setDrawWidth(3);
    if (markerFits)
        surface_.PSet(markerX, markerY);
    surface_.setDrawWidth(1);
    if (markerFits)
        surface_.Circle(markerX, markerY, 5);
}

void CurveModel::CALCOLA() {
    Miocolor = static_cast<std::int16_t>(Miocolor + 1);
    if (Miocolor == 14)
        Miocolor = 1;

    readFields();
    PlotRecord record = recordOfVariables(activating_);
    record.bySearch = placingBySearch_;
    drawCurve(record);
}

PlotRecord CurveModel::readForSearch() {
    readFields();
    return recordOfVariables(false);
}

void CurveModel::readFields() {
    LeggiText1();
    LeggiText2();
    LeggiText4();
    LeggiText5();
    LeggiText9();
    LeggiText3();
    LeggiText8();
    LeggiText10();
    LeggiText11();
}

void CurveModel::replay(const PlotRecord& curve) {
    if (curve.axes || curve.Incr != scaleIncr_)
        setUpScale(curve.Incr);
    if (curve.axes)
        drawAxes();
    Miocolor = curve.Miocolor;
    DAX = curve.DAX;
    DAY = curve.DAY;
    ALX = curve.ALX;
    ALY = curve.ALY;
    RAX = curve.RAX;
    RAY = curve.RAY;
    AVX = curve.AVX;
    AVY = curve.AVY;
    INST = curve.INST;
    SPTX = curve.SPTX;
    SPTY = curve.SPTY;
    PlotRecord record = recordOfVariables(curve.axes);
    record.bySearch = curve.bySearch;
    drawCurve(record);
}

PlotRecord CurveModel::recordOfVariables(bool axes) const {
    PlotRecord record;
    record.Miocolor = Miocolor;
    record.axes = axes;
    record.Incr = scaleIncr_;
    record.DAX = DAX;
    record.DAY = DAY;
    record.ALX = ALX;
    record.ALY = ALY;
    record.RAX = RAX;
    record.RAY = RAY;
    record.AVX = AVX;
    record.AVY = AVY;
    record.INST = INST;
    record.SPTX = SPTX;
    record.SPTY = SPTY;
    return record;
}

void CurveModel::drawCurve(PlotRecord record) {
    record.curve = static_cast<int>(curves_.size()) + 1;
    record.P1 = P1;

    drawTarget(RAX, RAY);

    ValStep = 2;
    ASQ = ALX - DAX;
    ASM = ALY - DAY;

    float chordX1, chordY1, chordX2, chordY2;
    const bool chordFits = toPosition(toSurface(DAX, DAY), chordX1, chordY1) &&
                           toPosition(toSurface(ALX, ALY), chordX2, chordY2);
    const QRgb colour = QBColor(Miocolor + 1);
    const double step = ValStep / INST;
    record.step = step;
    if (!(step > 0)) {
        curves_.push_back(record);
        return;
    }
    // What the record needs is kept in locals, so the loop pays a few multiply-adds and a
    // compare per point. The nearest distance starts as not-a-number so that the first point
    // is always taken, even when the squared distance overflows.
    const double targetX = RAX, targetY = RAY;
    double nearestSquared = std::numeric_limits<double>::quiet_NaN();
    PlotRecord::Nearest nearest;
    long points = 0;
    double lastAlfa = 0;
    bool stoppedEarly = false;
    const CurveFormula curve = CurveFormula::of(record);
    const PlotBounds bounds{CX, CY};
    // ALFA advances by repeated addition, so the last angle visited depends on its rounding.
    for (double ALFA = 0; ALFA <= 90; ALFA += step) {
        double PX, PY;
        if (!curve.at(ALFA, PX, PY))
            continue;
        if (!bounds.holds(PX, PY)) {
            stoppedEarly = true;
            break;
        }
        surface_.setDrawWidth(1);
        if (chordFits)
            surface_.Line(chordX1, chordY1, chordX2, chordY2);
        surface_.setDrawWidth(2);
        const QPointF at = toSurface(PX, PY);
        surface_.PSet(toSingle(at.x()), toSingle(at.y()), colour);

        ++points;
        lastAlfa = ALFA;
        const double dx = PX - targetX, dy = PY - targetY;
        const double squared = dx * dx + dy * dy;
        if (!(squared >= nearestSquared)) {
            nearestSquared = squared;
            nearest = {0, ALFA, PX, PY};
        }
    }
    record.points = points;
    record.lastAlfa = lastAlfa;
    record.stoppedEarly = stoppedEarly;
    if (points > 0) {
        // Measured again without squaring, so that a far target gives a distance, not infinity.
        nearest.distance = std::hypot(nearest.x - targetX, nearest.y - targetY);
        record.nearest = nearest;
    }
    curves_.push_back(record);
}

void CurveModel::clearAndRedraw() {
    surface_.Cls();
    curves_.clear();
    Form_Activate();
}

void CurveModel::plotByMode(bool multipleCurves) {
    if (multipleCurves)
        CALCOLA();
    else
        clearAndRedraw();
}

void CurveModel::fallBack(CurveFields::Field field, double& variable, std::int16_t fallback) {
    fields_.setFieldText(field, IntegerToText(fallback));
    variable = fallback;
}

bool CurveModel::readField(CurveFields::Field field, double& variable) {
    const QString text = fields_.fieldText(field);
    if (!IsNumeric(text)) {
        prompter_.MsgBox(QString::fromUtf8(variableOf(field)) + QStringLiteral(" non è un numero"));
        fallBack(field, variable, fallbackOf(field));
        return false;
    }
    variable = TextToDouble(text);
    return true;
}

void CurveModel::LeggiText1() {
    readField(CurveFields::Field::Text1, DAX);
}
void CurveModel::LeggiText2() {
    readField(CurveFields::Field::Text2, DAY);
}
void CurveModel::LeggiText4() {
    readField(CurveFields::Field::Text4, ALX);
}
void CurveModel::LeggiText5() {
    readField(CurveFields::Field::Text5, ALY);
}
void CurveModel::LeggiText3() {
    readField(CurveFields::Field::Text3, RAX);
}
void CurveModel::LeggiText8() {
    readField(CurveFields::Field::Text8, RAY);
}
void CurveModel::LeggiText10() {
    readField(CurveFields::Field::Text10, AVY);
}
void CurveModel::LeggiText11() {
    readField(CurveFields::Field::Text11, AVX);
}

void CurveModel::LeggiText9() {
    if (!readField(CurveFields::Field::Text9, INST))
        return;
    if (INST == 0.0) {
        prompter_.MsgBox(QStringLiteral("Non è ammesso 0 "));
        fallBack(CurveFields::Field::Text9, INST, fallbackOf(CurveFields::Field::Text9));
    } else if (INST > MaxINST) {
        prompter_.MsgBox(QStringLiteral("INST troppo grande: il massimo è ") +
                         DoubleToText(MaxINST));
        fields_.setFieldText(CurveFields::Field::Text9, DoubleToText(MaxINST));
        INST = MaxINST;
    }
}
