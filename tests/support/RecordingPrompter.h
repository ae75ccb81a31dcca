// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "Prompter.h"

#include <QStringList>
#include <functional>

// Records the messages instead of showing them, a titled one as "title: text"; onMessage runs
// while the "box" is open.
class RecordingPrompter : public Prompter {
public:
    QStringList messages;
    std::function<void(const QString&)> onMessage;

    void MsgBox(const QString& text) override {
        messages << text;
        if (onMessage)
            onMessage(text);
    }
    void MsgBox(const QString& title, const QString& text) override {
        MsgBox(title + ": " + text);
    }
};
