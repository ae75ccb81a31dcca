#pragma once

#include "Assignment.h"
#include "Exercise.h"

// The assignment a teacher makes of the work in the window: its values as they stand (the fields
// as typed, the bars, the mode, the ratio, the drawing's size) with what the teacher set, and no
// curves yet.
Exercise assignmentOf(const Exercise& work, const Assignment& assignment);

// Whether a curve of the attempt was drawn with a value that the assignment locks other than the
// one its field gives: the field's text read as a plot reads it (a text that is not a number
// falls back as the plot falls back, an INST of 0 to 1, one above the largest to the largest), in
// the regional settings of now. False when the exercise is no assignment.
bool changesLockedValue(const Exercise& attempt, const Exercise& assignment);
