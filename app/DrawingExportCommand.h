// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

struct CommandLine;

// "--export OUT ESERCIZIO": draws the exercise as the curve window would, without showing any
// window, and writes it to OUT whole or not at all. Returns the exit status: 0 when written, 1
// when the exercise is refused or OUT cannot be written, with the Italian message on standard
// error.
int exportDrawing(const CommandLine& command);

// "--stampa OUT ESERCIZIO": the page "Stampa…" prints, written to the PDF file OUT without
// showing any window, whole or not at all; the same exit statuses.
int writeSheet(const CommandLine& command);
