// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <optional>

class QWidget;

// Asks who does an attempt at an assignment, starting from the name shown; nothing when
// cancelled. The name is at most ExerciseLimits::MaxStudentLength characters.
class StudentNameAsker {
public:
    virtual ~StudentNameAsker() = default;
    virtual std::optional<QString> askStudentName(const QString& shown) = 0;
};

// The real question: "Chi svolge l'esercizio?", with "Nome e cognome", modal over the window.
class StudentNameDialogAsker final : public StudentNameAsker {
public:
    explicit StudentNameDialogAsker(QWidget* parent) : parent_(parent) {}
    std::optional<QString> askStudentName(const QString& shown) override;

private:
    QWidget* parent_;
};
