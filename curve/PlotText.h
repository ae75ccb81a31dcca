#pragma once

#include "PlotRecord.h"

#include <QString>

// Texts about the most recent plot, numbers in the user's regional format.

// One line on how close the curve came to its target point, for the context menu and the
// target marker's tooltip: "Curva 5: distanza minima dal PUNTO 12,3 (α = 63,2°)".
QString distanceLine(const PlotRecord& plot);

// The curve's equations with the values that plotted it, exact to the last digit, followed by
// the gnuplot line that draws the same curve.
QString equationText(const PlotRecord& plot);

// One gnuplot command line: a parametric plot over the angle in degrees with the plot's own
// single-precision degrees-to-radians factor, its numbers written with a point and enough
// digits to read back to the same doubles.
QString gnuplotLine(const PlotRecord& plot);

// The curve coordinates under the mouse: "x = 123,4   y = -56,7".
QString readoutText(double x, double y);
