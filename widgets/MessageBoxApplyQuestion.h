// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ApplyQuestion.h"

class QWidget;

// The real question, a message box modal over the given window.
class MessageBoxApplyQuestion final : public ApplyQuestion {
public:
    explicit MessageBoxApplyQuestion(QWidget* parent) : parent_(parent) {}
    bool askToApply(const QString& text) override;

private:
    QWidget* parent_;
};
