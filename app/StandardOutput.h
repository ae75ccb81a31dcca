// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// Writes the text to standard output and flushes it. A write that fails (a full disk, a closed
// pipe) is told on standard error, after the program's name; returns the exit status, 0 when
// the whole text was written, 1 otherwise.
int printToStandardOutput(const QString& text, const QString& program);
