// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "Prompter.h"

#include <QByteArray>
#include <algorithm>
#include <vector>

// What the window benchmarks share.

// Messages are not shown: a benchmark's fields are all valid.
class SilentPrompter final : public Prompter {
public:
    void MsgBox(const QString&) override {}
};

inline double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Windows need no display unless a platform is asked for; call before the application exists.
inline void useOffscreenUnlessAsked() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}
