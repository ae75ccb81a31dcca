#include "AssignmentWork.h"

#include "NumberText.h"

#include <algorithm>

namespace {

// The value a plot reads from a field's text, after any fallback.
double plottedValue(ParameterField field, const QString& text) {
    if (!IsNumeric(text))
        return fallbackOf(field);
    const double value = TextToDouble(text);
    if (field != ParameterField::Text9)
        return value;
    return value == 0 ? fallbackOf(field) : std::min(value, LargestINST);
}

double curveValue(const PlotRecord& curve, ParameterField field) {
    using F = ParameterField;
    switch (field) {
    case F::Text1:
        return curve.DAX;
    case F::Text2:
        return curve.DAY;
    case F::Text3:
        return curve.RAX;
    case F::Text4:
        return curve.ALX;
    case F::Text5:
        return curve.ALY;
    case F::Text8:
        return curve.RAY;
    case F::Text9:
        return curve.INST;
    case F::Text10:
        return curve.AVY;
    case F::Text11:
        return curve.AVX;
    }
    return 0;
}

} // namespace

Exercise assignmentOf(const Exercise& work, const Assignment& assignment) {
    Exercise exercise;
    exercise.controls = work.controls;
    exercise.Incr = work.Incr;
    exercise.drawingSize = work.drawingSize;
    exercise.assignment = assignment;
    return exercise;
}

bool changesLockedValue(const Exercise& attempt, const Exercise& assignment) {
    if (!assignment.assignment)
        return false;
    for (std::size_t i = 0; i < ParameterFieldCount; ++i) {
        const auto field = static_cast<ParameterField>(i);
        if (!assignment.assignment->locks(field))
            continue;
        const double locked = plottedValue(field, assignment.controls.field(field));
        if (std::any_of(attempt.curves.begin(), attempt.curves.end(),
                        [&](const PlotRecord& curve) { return curveValue(curve, field) != locked; }))
            return true;
    }
    return false;
}
