// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "Assignment.h"

#include <QDialog>
#include <array>
#include <optional>

class QCheckBox;
class QDoubleSpinBox;
class QPlainTextEdit;
class QSpinBox;

// "Consegna": what a teacher sets for the students before saving an assignment: a text for them,
// how close a curve must come to the target, the values they may not change, the most curves they
// may draw and whether they may ask for the displacements that reach the target.
class AssignmentDialog final : public QDialog {
public:
    // Shows what was set before, or the defaults.
    explicit AssignmentDialog(const Assignment& shown, QWidget* parent = nullptr);

    Assignment assignment() const;

    QPlainTextEdit* text;
    QDoubleSpinBox* tolerance;
    std::array<QCheckBox*, 4> locks; // by LockedGroup
    QSpinBox* maxCurves;
    QCheckBox* solutionAllowed;
};

// Asks a teacher for an assignment, starting from shown; nothing when cancelled.
class AssignmentAsker {
public:
    virtual ~AssignmentAsker() = default;
    virtual std::optional<Assignment> askAssignment(const Assignment& shown) = 0;
};

// The real dialog, modal over the given window.
class AssignmentDialogAsker final : public AssignmentAsker {
public:
    explicit AssignmentDialogAsker(QWidget* parent) : parent_(parent) {}
    std::optional<Assignment> askAssignment(const Assignment& shown) override;

private:
    QWidget* parent_;
};
