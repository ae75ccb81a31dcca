// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "Assignment.h"

#include <QJsonObject>

class FileNode;

// The assignment as the file's "assignment" object: "text", "tolerance", "locked" (the groups'
// words in the dialog's order), "maxCurves", "solutionAllowed" and, when kept, "values" (the
// teacher's readings of the fields, by variable).
QJsonObject assignmentObject(const Assignment& assignment);

// The assignment from the file's "assignment" object: every key is required but "values", which
// older files lack (when given, all nine numbers are); unknown keys are ignored; anything out of
// range refuses the file.
Assignment readAssignment(const FileNode& node);

// Why the assignment would make a file that could not be opened again (its text too long, a
// value out of range), or nothing.
QString whyNotWritable(const Assignment& assignment);
