// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "DisplacementSearch.h"
#include "Exercise.h"
#include "PlotRecord.h"

#include <QString>
#include <optional>

class Prompter;

// The values a search for the bars starts from: the field texts read as a plot reads them,
// each field a plot would refuse said to prompter as the plot says it. Nothing when one was
// refused. The texts themselves are left as they are, and Incr is the caller's to set.
std::optional<PlotRecord> searchValuesOf(const ExerciseControls& controls, Prompter& prompter);

// Said when no position of the bars draws a point of the curve.
QString noDisplacementsText();

// The search's answer for an exercise as its file keeps it, over the bars' whole ranges: its
// fields read as a plot reads them, on the scale of its own ratio. A field a plot would refuse
// is said to prompter and nothing is searched; progress may stop the search.
struct ExerciseSolution {
    enum class Outcome { Found, FieldRefused, NoPosition, Stopped };
    Outcome outcome = Outcome::NoPosition;
    // Meaningful when found.
    Displacements found;
};
ExerciseSolution solutionOf(const Exercise& exercise, Prompter& prompter,
                            const SearchProgress& progress = {});

// "orizzontale H, verticale V, distanza D", the distance as the regional settings write it.
QString solutionText(const Displacements& found);
