// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "Calibration.h"

#include "NumberText.h"
#include "Palette.h"
#include "Prompter.h"
#include "Single.h"
#include "Surface.h"

#include <cmath>

namespace {
// The ratio shown after an activation, before the scroll bar has been moved.
constexpr double InitialRatio = 0.51;
// "OK - continua" accepts only a ratio strictly above this bound.
constexpr double AcceptedAbove = 0.53;
constexpr float FigureScaleWidth = 146367.36f;
constexpr double FigureRadius = 36367.36328125;
constexpr int FigureColor = 4;
constexpr double RatioStep = 0.02;
constexpr float CentreOffset = 20000;
constexpr double LastAngle = 360;
constexpr double AngleStep = 0.1;
} // namespace

void Calibration::Form_Activate() {
    P1 = DegreeInRadians;
    Incr = InitialRatio;
    showRatio(DoubleToText(Incr));
    COORDINATE();
}

void Calibration::HScroll1_Change(std::int16_t position) {
    const double ratio = InitialRatio + RatioStep * static_cast<double>(position);
    // Steps to the right nest each flatter figure inside the earlier ones; a step to the left
    // starts again on an empty area.
    if (Incr > ratio)
        drawingSurface().Cls();
    Incr = ratio;
    showRatio(DoubleToText(Incr));
    COORDINATE();
}

void Calibration::Command1_Click() {
    if (Incr > AcceptedAbove) {
        if (showCurveWindow)
            showCurveWindow();
    } else {
        prompter().MsgBox(QStringLiteral("Impostare la risoluzione SCHERMO"));
    }
}

void Calibration::Command3_Click() {
    if (endProgram)
        endProgram();
}

void Calibration::COORDINATE() {
    Surface& surface = drawingSurface();
    surface.setScaleMode(Surface::UserScale);
    surface.setDrawWidth(1);
    surface.setScaleWidth(FigureScaleWidth);
    surface.setScaleHeight(toSingle(surface.ScaleWidth() * Incr));
    CX = surface.ScaleWidth() / 2 + CentreOffset;
    CY = surface.ScaleHeight() / 2;
    surface.Line(CX, 0, CX, surface.ScaleHeight());
    surface.Line(0, CY, surface.ScaleWidth(), CY);
    TRACCIA();
}

// The figure is a circle in drawing units: round on the screen only when Incr matches the
// height-to-width proportion of the client area.
void Calibration::TRACCIA() {
    Surface& surface = drawingSurface();
    for (double angle = 0; angle <= LastAngle; angle += AngleStep) {
        XR = std::cos(angle * P1) * FigureRadius;
        YR = std::sin(angle * P1) * FigureRadius;
        surface.setDrawWidth(1);
        surface.PSet(toSingle(CX + XR), toSingle(CY + YR), QBColor(FigureColor));
    }
}
