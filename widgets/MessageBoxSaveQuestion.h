// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "SaveQuestion.h"

class QWidget;

// The real question, a message box modal over the given window.
class MessageBoxSaveQuestion final : public SaveQuestion {
public:
    explicit MessageBoxSaveQuestion(QWidget* parent) : parent_(parent) {}
    Answer askToSave(const QString& text) override;

private:
    QWidget* parent_;
};
