// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "CurveFormula.h"
#include "Exercise.h"
#include "PlotRecord.h"

#include <QPointF>
#include <QScopeGuard>
#include <QString>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

class Prompter;
class Surface;

// The nine parameter fields of the curve window, as the curve logic reads and rewrites them.
class CurveFields {
public:
    using Field = ParameterField;

    virtual ~CurveFields() = default;
    virtual QString fieldText(Field field) const = 0;
    virtual void setFieldText(Field field, const QString& text) = 0;
};

// The state of the curve window and its procedures: the coordinate set-up, the plot of one
// curve and the readers of the parameter fields. It draws on a Surface, reads and rewrites the
// fields through CurveFields, reports bad fields through a Prompter and takes the calibration
// ratio Incr from a function, so it runs the same with or without a window.
class CurveModel {
public:
    // The largest INST a plot accepts. A plot makes about 45 * INST iterations on the window's
    // thread, so this bounds the longest plot, during which the window does not respond
    // (measured in BENCHMARKS.md).
    static constexpr double MaxINST = LargestINST;

    CurveModel(Surface& surface, CurveFields& fields, Prompter& prompter,
               std::function<double()> incr);

    // Sets up the scale 1000 x 1000 * Incr and the origin (CX, CY), draws the axes and plots
    // one curve. Clears nothing.
    void Form_Activate();
    // Plots one more curve, in the next colour, over whatever is drawn.
    void CALCOLA();
    // Clears the drawing, then sets up and plots afresh.
    void clearAndRedraw();
    // After a displacement change: one more curve in multiple-curve mode, else a clean redraw.
    void plotByMode(bool multipleCurves);

    // The parts of an activation: the scale and origin for a calibration ratio, and the axes.
    void setUpScale(double incr);
    void drawAxes();
    // The point to reach: a dot and a small circle around it.
    void drawTarget(double x, double y);
    // The window's bounds that the set-up for a calibration ratio gives, and that a scale of
    // the given extent gives.
    static PlotBounds boundsFor(double incr);
    static PlotBounds boundsOfScale(float scaleWidth, float scaleHeight);
    // The ratio of the last set-up.
    double scaleIncr() const { return scaleIncr_; }

    // While the guard it gives lives, every curve plotted is marked as placed by "Applica" of
    // "Trova spostamenti…"; a curve drawn again keeps the mark it had.
    [[nodiscard]] auto placingBySearch() {
        placingBySearch_ = true;
        return qScopeGuard([this] { placingBySearch_ = false; });
    }

    // Reads the nine fields as a plot does, with its messages and fallbacks, and returns the
    // values the next plot would use (its scale is the last set-up's), drawing nothing.
    PlotRecord readForSearch();

    // Draws a recorded curve again through the plot's own drawing calls, with its values, in
    // its colour and its scale (the axes first when an activation drew them), and keeps it as
    // the latest curve. Reads no field and shows no message. The variables are left as the
    // plot leaves them: whoever replays sets the displacements and the colour counter after.
    void replay(const PlotRecord& curve);
    // The curves of the drawing handed over and forgotten, as clearing the drawing forgets
    // them; put back; the latest one forgotten, as taking its plot back does.
    std::vector<PlotRecord> takeCurves() { return std::exchange(curves_, {}); }
    void putCurves(std::vector<PlotRecord> curves) { curves_ = std::move(curves); }
    void dropLastCurve() {
        if (!curves_.empty())
            curves_.pop_back();
    }

    // A point in curve coordinates (x to the right and y upward from the origin CX, CY) on the
    // surface, and back.
    QPointF toSurface(double x, double y) const { return {double(CX) + x, double(CY) - y}; }
    QPointF toCurve(QPointF surface) const {
        return {surface.x() - double(CX), double(CY) - surface.y()};
    }
    // Where a point in curve coordinates falls on a drawing whose scale was set up for a
    // calibration ratio, relative to the drawing: 0 to 1 across and down.
    static QPointF relativePosition(double incr, double x, double y);

    // The curves drawn since the drawing was last cleared, in order, and the most recent of
    // them (curve 0 when there is none).
    const std::vector<PlotRecord>& curves() const { return curves_; }
    const PlotRecord& lastPlot() const { return curves_.empty() ? noPlot_ : curves_.back(); }

    void LeggiText1();
    void LeggiText2();
    void LeggiText3();
    void LeggiText4();
    void LeggiText5();
    void LeggiText8();
    void LeggiText9();
    void LeggiText10();
    void LeggiText11();

    std::int16_t Miocolor = 0;
    float P1 = 0;
    float CX = 0;
    float CY = 0;
    std::int16_t ValStep = 0;
    double DAX = 0;
    double DAY = 0;
    double ALX = 0;
    double ALY = 0;
    double RAX = 0;
    double RAY = 0;
    double AVX = 0;
    double AVY = 0;
    double INST = 0;
    std::int16_t SPTX = 0;
    std::int16_t SPTY = 0;
    double ASQ = 0;
    double ASM = 0;

private:
    static constexpr float ScaleWidthUnits = 1000;

    // The nine readers in CALCOLA's order.
    void readFields();
    // Reads one field into its variable; a text that is not a number is reported with
    // "<variable> non è un numero" and replaced by the field's fallback. Returns whether the text
    // was a number.
    bool readField(CurveFields::Field field, double& variable);
    void fallBack(CurveFields::Field field, double& variable, std::int16_t fallback);
    // What the variables hold for a plot about to be drawn; axes tells whether an activation
    // drew the axes before it.
    PlotRecord recordOfVariables(bool axes) const;
    // The target marker, then the curve point by point with its chord, from the variables; the
    // record, completed with the walk and the nearest point, becomes the latest curve.
    void drawCurve(PlotRecord record);

    Surface& surface_;
    CurveFields& fields_;
    Prompter& prompter_;
    std::function<double()> incr_;
    std::vector<PlotRecord> curves_;
    PlotRecord noPlot_;
    double scaleIncr_ = 0;
    bool activating_ = false;
    bool placingBySearch_ = false;
};
