// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <limits>

// The largest INST a plot accepts; the curve model says why.
constexpr double LargestINST = 100000;

// About how many angles a plot walks: 45 × INST, none for an INST that is not positive.
constexpr double anglesWalked(double INST) {
    return INST > 0 ? 45 * INST : 0;
}

// What one plot used and found: the values it read (after any fallback), the scale and colour
// it was drawn in, the angle walk it made and the drawn point nearest to the target point.
// CALCOLA fills it as it goes; the equation text, the distance line, the readout and the
// exercise file are built on it. What a plot used is enough to draw it again; what it found is
// found again by drawing it.
struct PlotRecord {
    // The number of the curve on the drawing since it was last cleared: 1 for the first.
    int curve = 0;

    // The colour counter of the plot: the curve is drawn in QBColor(Miocolor + 1).
    std::int16_t Miocolor = 0;
    // An activation plotted it, drawing the axes just before it.
    bool axes = false;
    // The calibration ratio of the scale it was drawn in.
    double Incr = 0;

    double DAX = 0, DAY = 0, ALX = 0, ALY = 0;
    double RAX = 0, RAY = 0;
    double AVX = 0, AVY = 0;
    double INST = 0;
    std::int16_t SPTX = 0, SPTY = 0;
    // "Applica" of "Trova spostamenti…" placed it, not a move by hand.
    bool bySearch = false;
    // The degrees-to-radians factor the trigonometry used, in single precision as stored.
    float P1 = 0;
    // The angle step 2 / INST, in degrees.
    double step = 0;

    long points = 0;
    // The angle of the last drawn point; the first is always at one step. Meaningful when
    // points > 0.
    double lastAlfa = 0;
    // The walk left the window's bounds before reaching 90 degrees.
    bool stoppedEarly = false;

    struct Nearest {
        double distance = std::numeric_limits<double>::infinity();
        double alfa = 0;
        double x = 0;
        double y = 0;
    } nearest;
};
