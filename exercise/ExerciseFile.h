// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "Exercise.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstddef>
#include <optional>

// Limits of one exercise file, chosen so that no file can take more than a few seconds to open
// or exhaust memory.
namespace ExerciseLimits {
constexpr qint64 MaxFileBytes = 8 * 1024 * 1024;
constexpr std::size_t MaxCurves = 10000;
// Angles walked in all: 45 * INST for each curve with INST > 0.
constexpr double MaxPoints = 20'000'000;
// A field's text. The window's fields take texts of any length; saving refuses a longer one.
constexpr int MaxFieldLength = 32767;
// An assignment's text for the students: pages of instructions, far more than one needs.
constexpr int MaxAssignmentTextLength = 32767;
// The student's name in an attempt at an assignment: a name and surname, with room to spare.
constexpr int MaxStudentLength = 200;
// Width and height in window pixels.
constexpr int MaxDrawingExtent = 8192;
} // namespace ExerciseLimits

// The exercise as the text of a .curva file: indented UTF-8 JSON that starts with the marker
// "format": "curve-sulla-corda". The plot results of the curves are not written: drawing the
// curves again finds them.
QByteArray exerciseToJson(const Exercise& exercise);

// Whole or nothing: either an exercise or the reason it was refused.
struct ExerciseReading {
    std::optional<Exercise> exercise;
    // Empty when the exercise was read.
    QString message;
};

// Why the exercise would make a file that could not be opened again (a field's text too long,
// more curves or points than a file may hold), or nothing.
QString whyNotWritable(const Exercise& exercise);

// From a file's bytes. The message is the reason alone, e.g. "non è un esercizio di Curve sulla
// corda"; a value is named as the window names it, with its place among the file's keys in
// brackets, e.g. "la curva 4: INST (window.curves[3].INST)". Each curve's number is its place on
// the drawing (1 for the first).
ExerciseReading exerciseFromJson(QByteArrayView bytes);

// From a file, reading no more than MaxFileBytes of it; anything but a file (a folder, a pipe,
// a device) is refused before it is opened. The message names the file in full:
// Impossibile aprire l'esercizio "<absolute path>": <reason>.
ExerciseReading readExerciseFile(const QString& path);
