// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "Exercise.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// The curve of an attempt that came nearest the target point.
struct NearestCurve {
    double distance = 0;
    int curve = 0; // from 1
    std::int16_t SPTX = 0;
    std::int16_t SPTY = 0;
};

// One attempt of a class at a glance.
struct SummaryRow {
    QString path;    // as found: given, or in a given folder
    QString file;    // its name
    QString student; // as the attempt gives it; empty when it gives none
    int curves = 0;
    // How many of the curves "Trova spostamenti…" placed.
    int bySearch = 0;
    // Nothing when no curve drew a point.
    std::optional<NearestCurve> nearest;
    // Whether the nearest curve came within the tolerance; nothing without a tolerance to judge.
    std::optional<bool> reached;
    // Whether a curve changed a value the assignment locks; nothing without an assignment given.
    std::optional<bool> changedLocked;
    // Whether the attempt's own assignment sets other rules than the one given (its text,
    // tolerance, locks, most curves or whether the search is allowed); nothing without one given.
    std::optional<bool> changedAssignment;
    // Why the file was refused (all else empty), "nessuna curva", or, without an assignment
    // given, that the attempt was judged by its own target and tolerance.
    QString note;
    bool refused = false;
};

// The columns of the summary, in order, and their titles.
enum class SummaryColumn {
    File,
    Student,
    Curves,
    Distance,
    Curve,
    Horizontal,
    Vertical,
    Reached,
    Changed,
    AssignmentChanged,
    BySearch,
    Note
};
constexpr int SummaryColumnCount = 12;
QString summaryTitle(SummaryColumn column);
// A row's field as people read it; the distance in the regional format, six significant digits.
QString summaryText(const SummaryRow& row, SummaryColumn column);
// A numeric field's value, for sorting; nothing for an empty field or a column of words.
std::optional<double> summaryNumber(const SummaryRow& row, SummaryColumn column);

// The exercise files a list of paths names: a file as given, a folder's .curva files (not its
// subfolders') by name.
QStringList attemptFiles(const QStringList& paths);

// The row of one file; of each file, in order. Each attempt's curves are drawn again to find how
// near they came. The teacher's handout, when given (an exercise with its assignment, or a plain
// exercise in its place), judges alone: its target (as the teacher's
// window read it) for every curve, its tolerance (none when it is a plain exercise), its locked
// values, its rules compared with the attempt's own. Without one, each attempt is judged by its
// curves' own targets and its own tolerance.
SummaryRow summaryRowOf(const QString& path, const std::optional<Exercise>& handout = std::nullopt);
std::vector<SummaryRow> summarise(const QStringList& files,
                                  const std::optional<Exercise>& handout = std::nullopt);
