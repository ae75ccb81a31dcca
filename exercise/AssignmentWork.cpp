// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "AssignmentWork.h"

#include "NumberText.h"

#include <algorithm>

namespace {

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

// What a plot takes from a field whose text reads as this number (nothing: not a number).
double plottedFrom(ParameterField field, std::optional<double> number) {
    if (!number)
        return fallbackOf(field);
    if (field != ParameterField::Text9)
        return *number;
    return *number == 0 ? fallbackOf(field) : std::min(*number, LargestINST);
}

// A text of a file that keeps no readings, read as the teacher's window most likely read it,
// whatever the settings here: with a decimal comma or with a decimal point. Numbers take no
// grouping, so a text with a separator reads under one of the two only, and one without reads
// alike under both.
std::optional<double> readWithEitherSeparator(const QString& text) {
    const std::optional<double> withComma = parseNumber(text, QStringLiteral(","));
    return withComma ? withComma : parseNumber(text, QStringLiteral("."));
}

} // namespace

double plottedValue(ParameterField field, const QString& text) {
    return plottedFrom(field, parseNumber(text));
}

Exercise assignmentOf(const Exercise& work, const Assignment& assignment) {
    Exercise exercise;
    exercise.controls = work.controls;
    exercise.Incr = work.Incr;
    exercise.drawingSize = work.drawingSize;
    exercise.assignment = assignment;
    std::array<double, ParameterFieldCount> values{};
    for (std::size_t i = 0; i < ParameterFieldCount; ++i)
        values[i] = plottedValue(ParameterField(i), work.controls.fields[i]);
    exercise.assignment->fieldValues = values;
    return exercise;
}

double teacherValue(const Exercise& handout, ParameterField field) {
    if (handout.assignment && handout.assignment->fieldValues)
        return (*handout.assignment->fieldValues)[static_cast<std::size_t>(field)];
    return plottedFrom(field, readWithEitherSeparator(handout.controls.field(field)));
}

bool changesLockedValue(const Exercise& attempt, const Exercise& handout) {
    if (!handout.assignment)
        return false;
    for (std::size_t i = 0; i < ParameterFieldCount; ++i) {
        const auto field = static_cast<ParameterField>(i);
        if (!handout.assignment->locks(field))
            continue;
        const double locked = teacherValue(handout, field);
        if (std::any_of(attempt.curves.begin(), attempt.curves.end(),
                        [&](const PlotRecord& curve) { return curveValue(curve, field) != locked; }))
            return true;
    }
    return false;
}
