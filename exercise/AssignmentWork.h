// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "Assignment.h"
#include "Exercise.h"

// The assignment a teacher makes of the work in the window: its values as they stand (the fields
// as typed, the bars, the mode, the ratio, the drawing's size) with what the teacher set, the
// fields' values as this window reads them now, and no curves yet.
Exercise assignmentOf(const Exercise& work, const Assignment& assignment);

// The value a plot reads from a field's text, after any fallback (INST of 0 read as 1, above
// the largest as the largest), in the regional settings of now.
double plottedValue(ParameterField field, const QString& text);

// The value of a field of the teacher's handout (an exercise with its assignment, or a plain
// exercise given in its place), as the teacher's window read it:
// the reading the assignment keeps; for a file that keeps none, the field's text read with a
// decimal comma or point, whichever makes it a number, then the plot's fallbacks. The same in
// any regional settings.
double teacherValue(const Exercise& handout, ParameterField field);

// Whether a curve of the attempt was drawn with a value that the handout's assignment locks other
// than the teacher's value of its field. False when the handout has no assignment.
bool changesLockedValue(const Exercise& attempt, const Exercise& handout);
