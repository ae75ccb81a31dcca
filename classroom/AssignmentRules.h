// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "Assignment.h"
#include "PlotRecord.h"

#include <QString>
#include <cstddef>
#include <optional>

// What an assignment asks of the curve window, as texts for the student.

// The tooltip of a field the assignment locks.
QString lockedFieldTip();

// Why one more curve may not be added to the curvesDrawn on the drawing, or nothing.
QString whyNoMoreCurves(const std::optional<Assignment>& assignment, std::size_t curvesDrawn);

// "Bersaglio raggiunto con la curva N: distanza D (entro T)." when the curve came within the
// assignment's tolerance of the target, else nothing.
QString targetReachedText(const std::optional<Assignment>& assignment, const PlotRecord& curve);
