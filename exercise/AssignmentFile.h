#pragma once

#include "Assignment.h"

#include <QJsonObject>

class FileNode;

// The assignment as the file's "assignment" object: "text", "tolerance", "locked" (the groups'
// words in the dialog's order), "maxCurves" and "solutionAllowed".
QJsonObject assignmentObject(const Assignment& assignment);

// The assignment from the file's "assignment" object: every key is required, unknown keys are
// ignored; anything out of range refuses the file.
Assignment readAssignment(const FileNode& node);

// Why the assignment would make a file that could not be opened again (its text too long, a
// value out of range), or nothing.
QString whyNotWritable(const Assignment& assignment);
