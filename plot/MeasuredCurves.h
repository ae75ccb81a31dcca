// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "PlotRecord.h"

#include <QPointF>
#include <optional>
#include <vector>

// The curves drawn again, in order, through the plot's own drawing on a surface that keeps
// nothing: each comes back with what its plot finds (its walk and the point nearest the
// target), found afresh from its values. Given a target, every curve is measured to it instead
// of the one it was drawn with.
std::vector<PlotRecord> measuredCurves(const std::vector<PlotRecord>& curves,
                                       const std::optional<QPointF>& target = std::nullopt);
