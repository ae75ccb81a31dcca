// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

struct CommandLine;

// "--riepilogo OUT.csv [--consegna CONSEGNA] PERCORSO...": the class summary of the attempts
// written to OUT whole or not at all, without any window. Returns the exit status: 0 when every
// attempt was read, 1 when some were refused (their rows say why) or when the assignment cannot
// be read or OUT cannot be written (then nothing is written), with the Italian messages on
// standard error.
int writeSummary(const CommandLine& command);
