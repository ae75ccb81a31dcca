// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

// Feeds arbitrary bytes to the exercise reader. Whatever it accepts must hold values within the
// file's ranges (an assignment's too), and must come back the same, doubles bit for bit, when
// written and read again.
#include "ExerciseCompare.h"
#include "ExerciseFile.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <initializer_list>

namespace {

using namespace ExerciseLimits;

void check(bool condition) {
    if (!condition)
        std::abort();
}

bool within(double value, double low, double high) {
    return value >= low && value <= high;
}

bool incrWithin(double incr) {
    return within(incr, 0.51 - 1e-9, 1.11 + 1e-9);
}

void checkRanges(const Exercise& exercise) {
    for (const QString& text : exercise.controls.fields)
        check(text.size() <= MaxFieldLength && text.isValidUtf16());
    check(within(exercise.controls.HScroll1, -600, 600));
    check(within(exercise.controls.HScroll2, -500, 500));
    check(incrWithin(exercise.Incr));
    check(within(exercise.drawingSize.width(), 1, MaxDrawingExtent));
    check(within(exercise.drawingSize.height(), 1, MaxDrawingExtent));
    check(within(exercise.Miocolor, 0, 13));
    check(exercise.curves.size() <= MaxCurves);
    double points = 0;
    int number = 0;
    for (const PlotRecord& curve : exercise.curves) {
        check(curve.curve == ++number);
        check(within(curve.Miocolor, 1, 13) && incrWithin(curve.Incr));
        check(within(curve.SPTX, -600, 600) && within(curve.SPTY, -500, 500));
        for (double value : {curve.DAX, curve.DAY, curve.ALX, curve.ALY, curve.RAX, curve.RAY,
                             curve.AVX, curve.AVY, curve.INST})
            check(std::isfinite(value));
        check(curve.INST != 0 && curve.INST <= LargestINST);
        if (curve.INST > 0)
            points += 45 * curve.INST;
    }
    check(points <= MaxPoints);
    if (const auto& assignment = exercise.assignment) {
        check(assignment->text.size() <= MaxAssignmentTextLength &&
              assignment->text.isValidUtf16());
        check(assignment->tolerance > 0 && assignment->tolerance <= Assignment::MaxTolerance);
        check(within(assignment->maxCurves, 0, double(MaxCurves)));
    }
    // A name only in an attempt at an assignment.
    check(exercise.student.isEmpty() ||
          (exercise.assignment && exercise.student.size() <= MaxStudentLength &&
           exercise.student.isValidUtf16()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const ExerciseReading reading = exerciseFromJson(QByteArrayView(data, qsizetype(size)));
    check(reading.exercise.has_value() == reading.message.isEmpty());
    if (!reading.exercise)
        return 0;
    checkRanges(*reading.exercise);

    const QByteArray written = exerciseToJson(*reading.exercise);
    const ExerciseReading again = exerciseFromJson(written);
    check(again.exercise && sameExercise(*again.exercise, *reading.exercise));
    check(exerciseToJson(*again.exercise) == written);
    return 0;
}
