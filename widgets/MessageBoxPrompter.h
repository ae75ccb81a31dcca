// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "Prompter.h"

#include <memory>

class QWidget;

// The real message box, modal over the given window.
class MessageBoxPrompter final : public Prompter {
public:
    explicit MessageBoxPrompter(QWidget* parent) : parent_(parent) {}
    void MsgBox(const QString& text) override;
    void MsgBox(const QString& title, const QString& text) override;

private:
    QWidget* parent_;
};

// The prompter a window reports to: the one it was given, or message boxes over the window.
class WindowPrompter {
public:
    WindowPrompter(Prompter* given, QWidget* window)
        : own_(given ? nullptr : std::make_unique<MessageBoxPrompter>(window)),
          prompter_(given ? *given : *own_) {}
    Prompter& get() const { return prompter_; }

private:
    std::unique_ptr<Prompter> own_;
    Prompter& prompter_;
};
