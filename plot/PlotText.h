// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "PlotRecord.h"

#include <QString>
#include <QStringList>

// Texts about the most recent plot, numbers in the user's regional format.

// One line on how close the curve came to its target point, for the context menu and the
// target marker's tooltip: "Curva 5: distanza minima dal PUNTO 12,3456 (α = 63,2°)", the distance
// to six significant digits as the window writes it everywhere.
QString distanceLine(const PlotRecord& plot);

// For a plot that drew two points or more: the equations x(α) and y(α) with the values that
// plotted it, and the angles it was drawn over, one line each.
QStringList equationLines(const PlotRecord& plot);

// For a plot that drew two points or more: the curve's equations, the values that plotted it
// and what it found, in Italian notation with numbers rounded for reading, followed by a
// gnuplot line with the exact values that draws the same points.
QString equationText(const PlotRecord& plot);

// The curve coordinates under the mouse: "x = 123,4   y = -56,7".
QString readoutText(double x, double y);
