// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ParameterField.h"

#include <QString>
#include <array>
#include <optional>
#include <set>
#include <vector>

// The groups of values a teacher may lock in an assignment, in the order the dialog lists them.
enum class LockedGroup { Chord, Target, Density, Increments };

// The file's word for a group: "chord", "target", "density", "increments".
const char* lockedGroupKey(LockedGroup group);
// The parameter fields a group locks: the chord DAX, DAY, ALX, ALY; the target RAX, RAY; the
// density INST; the increments AVX, AVY.
std::vector<ParameterField> fieldsOf(LockedGroup group);

// What a teacher sets for the students on top of the exercise's values: a text for them, how
// close a curve must come to the target, the values they may not change, the most curves they may
// draw and whether they may ask for the displacements that reach the target.
struct Assignment {
    static constexpr double DefaultTolerance = 2;
    static constexpr double MaxTolerance = 1000;

    QString text;
    // A distance in the drawing's units, above 0 and at most MaxTolerance.
    double tolerance = DefaultTolerance;
    std::set<LockedGroup> locked{LockedGroup::Chord, LockedGroup::Target};
    // 0: no limit.
    int maxCurves = 0;
    bool solutionAllowed = false;
    // The nine fields' values as the teacher's window read them when the assignment was saved,
    // the plot's fallbacks applied, by ParameterField: the students are judged by these, in any
    // regional settings. Nothing in a file saved before they were kept.
    std::optional<std::array<double, ParameterFieldCount>> fieldValues = std::nullopt;

    bool locks(ParameterField field) const;
    // Whether a curve that came this near the target reached it: within the tolerance, the
    // tolerance itself included.
    bool reaches(double distance) const;
    bool operator==(const Assignment&) const = default;
};
