// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "PlotRecord.h"

#include <cstdint>
#include <functional>
#include <optional>

// The positions of the two displacement bars that a search may choose from, both ends included.
struct DisplacementRanges {
    int hFirst = -600, hLast = 600; // HScroll1, SPTX
    int vFirst = -500, vLast = 500; // HScroll2, SPTY
};

// The bar positions whose curve passes nearest the target point, and that distance: the one
// the plot of that curve records as its nearest point's.
struct Displacements {
    std::int16_t SPTX = 0, SPTY = 0;
    double distance = 0;
};

// Told how many of the angles have been walked out of about how many; returns whether to go on.
using SearchProgress = std::function<bool(std::int64_t done, std::int64_t total)>;

// Of every pair of positions in the ranges, the one whose curve, plotted with the other values
// of the plot (DAX to AVY, INST, the target RAX, RAY and the scale's Incr), draws a point
// nearest the target, measured as the plot measures it. The exact minimum: among equal
// distances the smaller |SPTX| + |SPTY|, then the smaller SPTX, then the smaller SPTY. Nothing
// when no pair draws a point, or when the progress asked to stop.
std::optional<Displacements> nearestDisplacements(const PlotRecord& plot,
                                               const DisplacementRanges& ranges = {},
                                               const SearchProgress& progress = {});
