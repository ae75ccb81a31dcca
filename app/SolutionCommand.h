// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

struct CommandLine;
class QString;

// "--soluzione ESERCIZIO": reads the exercise's fields as a plot reads them and prints the
// bar positions whose curve passes nearest the target, in one line:
//   orizzontale H, verticale V, distanza D
// Returns the exit status: 0 when printed; 1, with the reason on standard error, when the
// exercise is refused, a field is not what a plot takes, no pair draws a point or the line
// cannot be written.
int printSolution(const CommandLine& command, const QString& program);
