// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "Exercise.h"

#include <vector>

// An exercise as a teacher hands it out: the curve window's starting values and target point,
// no curves.
inline Exercise handedOutExercise() {
    Exercise exercise;
    const char* texts[] = {"20", "30", "300", "150", "70", "270", "5", "1", "1"};
    for (std::size_t i = 0; i < ParameterFieldCount; ++i)
        exercise.controls.fields[i] = QString::fromLatin1(texts[i]);
    exercise.Incr = 0.61;
    exercise.drawingSize = {1280, 990};
    return exercise;
}

// The same exercise after a curve for each INST in multiple-curve mode, each curve in the next
// colour and with the horizontal bar moved further.
inline Exercise attemptExercise(const std::vector<double>& insts = {5, 5, 5}) {
    Exercise exercise = handedOutExercise();
    exercise.controls.Check1 = true;
    exercise.controls.HScroll1 = 40;
    for (double inst : insts) {
        PlotRecord curve;
        curve.curve = static_cast<int>(exercise.curves.size()) + 1;
        curve.Miocolor = static_cast<std::int16_t>(curve.curve % 13 + 1);
        curve.axes = curve.curve == 1;
        curve.Incr = 0.61;
        curve.DAX = 20;
        curve.DAY = 30;
        curve.ALX = 150;
        curve.ALY = 70;
        curve.RAX = 300;
        curve.RAY = 270;
        curve.AVX = 1;
        curve.AVY = 1;
        curve.INST = inst;
        curve.SPTX = static_cast<std::int16_t>(20 * (curve.curve % 30));
        exercise.curves.push_back(curve);
        exercise.Miocolor = curve.Miocolor;
    }
    return exercise;
}

// The exercise set as an assignment: a text for the students, a tolerance, the chord and the
// target locked, at most ten curves.
inline Exercise assignedExercise() {
    Exercise exercise = handedOutExercise();
    Assignment assignment;
    assignment.text = QStringLiteral("Raggiungi il punto con al più dieci curve.");
    assignment.tolerance = 2.5;
    assignment.maxCurves = 10;
    exercise.assignment = assignment;
    return exercise;
}

// An exercise whose chord is a point, (10; 10), with the target (13; 14) and the given AVX text;
// with a curve, one drawn with both bars at 0 and AVX 0.5: every point of it is (10; 10), so it
// comes 5 from the target, exactly.
inline Exercise pointChordExercise(const QString& AVX, bool withCurve) {
    Exercise exercise;
    const char* texts[] = {"10", "10", "13", "10", "10", "14", "5", "1", ""};
    for (std::size_t i = 0; i < ParameterFieldCount; ++i)
        exercise.controls.fields[i] = QString::fromLatin1(texts[i]);
    exercise.controls.field(ParameterField::Text11) = AVX;
    exercise.Incr = 0.61;
    exercise.drawingSize = {1280, 990};
    if (!withCurve)
        return exercise;
    PlotRecord curve;
    curve.curve = 1;
    curve.Miocolor = 1;
    curve.axes = true;
    curve.Incr = 0.61;
    curve.DAX = curve.DAY = curve.ALX = curve.ALY = 10;
    curve.RAX = 13;
    curve.RAY = 14;
    curve.AVX = 0.5;
    curve.AVY = 1;
    curve.INST = 5;
    exercise.curves = {curve};
    exercise.Miocolor = 1;
    return exercise;
}
