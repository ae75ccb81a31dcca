// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// Shows what was found and asks whether to apply it: "Applica" or "Chiudi", which changes
// nothing.
class ApplyQuestion {
public:
    virtual ~ApplyQuestion() = default;
    virtual bool askToApply(const QString& text) = 0;
};
