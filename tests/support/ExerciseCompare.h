// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "Exercise.h"

#include <algorithm>
#include <bit>
#include <cstdint>

// Whether two exercises hold the same values that a file keeps, doubles bit for bit (the sign of
// zero included). The plot results, which a file does not keep, are not compared.
inline bool sameBits(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

inline bool sameKeptCurve(const PlotRecord& a, const PlotRecord& b) {
    return a.curve == b.curve && a.Miocolor == b.Miocolor && a.axes == b.axes &&
           sameBits(a.Incr, b.Incr) && sameBits(a.DAX, b.DAX) && sameBits(a.DAY, b.DAY) &&
           sameBits(a.ALX, b.ALX) && sameBits(a.ALY, b.ALY) && sameBits(a.RAX, b.RAX) &&
           sameBits(a.RAY, b.RAY) && sameBits(a.AVX, b.AVX) && sameBits(a.AVY, b.AVY) &&
           sameBits(a.INST, b.INST) && a.SPTX == b.SPTX && a.SPTY == b.SPTY &&
           a.bySearch == b.bySearch;
}

inline bool sameAssignment(const std::optional<Assignment>& a, const std::optional<Assignment>& b) {
    if (!a || !b)
        return !a && !b;
    const auto& values = a->fieldValues;
    const auto& others = b->fieldValues;
    return a->text == b->text && sameBits(a->tolerance, b->tolerance) && a->locked == b->locked &&
           a->maxCurves == b->maxCurves && a->solutionAllowed == b->solutionAllowed &&
           values.has_value() == others.has_value() &&
           (!values || std::equal(values->begin(), values->end(), others->begin(), sameBits));
}

inline bool sameExercise(const Exercise& a, const Exercise& b) {
    return a.controls == b.controls && sameBits(a.Incr, b.Incr) && a.drawingSize == b.drawingSize &&
           a.Miocolor == b.Miocolor && sameAssignment(a.assignment, b.assignment) &&
           a.student == b.student &&
           std::equal(a.curves.begin(), a.curves.end(), b.curves.begin(), b.curves.end(),
                      sameKeptCurve);
}
