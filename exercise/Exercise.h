// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "Assignment.h"
#include "ParameterField.h"
#include "PlotRecord.h"

#include <QSize>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

// What the curve window's controls show.
struct ExerciseControls {
    // The texts of the parameter fields exactly as typed, by ParameterField.
    std::array<QString, ParameterFieldCount> fields;
    std::int16_t HScroll1 = 0; // horizontal displacement, -600 to 600
    std::int16_t HScroll2 = 0; // vertical displacement, -500 to 500
    bool Check1 = false;       // multiple curves

    QString& field(ParameterField f) { return fields[static_cast<std::size_t>(f)]; }
    const QString& field(ParameterField f) const { return fields[static_cast<std::size_t>(f)]; }
    bool operator==(const ExerciseControls&) const = default;
};

// An exercise: what the curve window shows, as plain data. Without curves it is an exercise as
// a teacher hands it out (the values and the target point); with curves it is an attempt, and
// drawing its curves again in order gives the window's drawing.
struct Exercise {
    ExerciseControls controls;
    // The calibration ratio the drawing is set up with.
    double Incr = 0;
    // The drawing's size in window pixels.
    QSize drawingSize;
    // The colour counter: 0 before the first curve, else 1 to 13; the next curve takes the next.
    std::int16_t Miocolor = 0;
    // The curves drawn since the drawing was last cleared, in order.
    std::vector<PlotRecord> curves;
    // What a teacher set for the students, when the exercise is an assignment.
    std::optional<Assignment> assignment;
    // Who did the attempt at an assignment, as they gave their name; empty when not given, and
    // always without an assignment.
    QString student;
};
