// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// Shows the program's modal messages: the text and an OK button, no icon, the application's
// title in the title bar. Logic that reports to the user takes one of these, so tests can
// record the messages instead of clicking boxes away.
class Prompter {
public:
    virtual ~Prompter() = default;
    virtual void MsgBox(const QString& text) = 0;
    // A message with a title of its own in place of the application's.
    virtual void MsgBox(const QString& title, const QString& text) {
        Q_UNUSED(title);
        MsgBox(text);
    }
};
