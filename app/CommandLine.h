// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "DrawingEncoding.h"

#include <QSize>
#include <QString>
#include <QStringList>

// What the program is asked to do from its command line:
//   curve-sulla-corda [ESERCIZIO]                        the windows, on the exercise if given
//   curve-sulla-corda --export OUT ESERCIZIO [--size LxA] the exercise's drawing into OUT
//   curve-sulla-corda --stampa OUT.pdf ESERCIZIO          the exercise's printed page into OUT
//   curve-sulla-corda --riepilogo OUT.csv [--consegna CONSEGNA] PERCORSO...
//                                                        a class's attempts summarised into OUT
//   curve-sulla-corda --soluzione ESERCIZIO              the bars nearest the exercise's target
//   curve-sulla-corda --help | --version
struct CommandLine {
    enum class Task { Windows, Export, Print, Summary, Solution, Help, Version, Wrong };
    Task task = Task::Windows;
    QString exercise; // empty: none given
    QString output;
    DrawingFormat format = DrawingFormat::Png; // OUT's, from its suffix
    QSize size;                                // invalid: the size kept in the exercise
    QString problem;                           // what is wrong, in Italian, for Task::Wrong
    QStringList attempts;                      // the summary's files and folders
    QString assignment;                        // the summary's assignment; empty: none given
};

// Reads the program's arguments, the program's name first, Qt's own options already taken out.
// A command that writes is wrong when its output does not end in the suffix of what it writes
// or is one of the files it reads (compared as files, whatever their names).
CommandLine parseCommandLine(const QStringList& arguments);

// Whether the raw arguments ask for something done without any window (an export, a printed
// page, a summary, a solution, the help, the version, or a complaint about the command line), so
// that no display is needed: the program picks its platform before Qt takes its own options out
// of them.
bool needsNoWindow(int argc, const char* const* argv);

// The Italian help text and the version line, each ending with a new line.
QString helpText(const QString& program);
QString versionText(const QString& program);
