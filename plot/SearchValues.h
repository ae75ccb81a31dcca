#pragma once

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
