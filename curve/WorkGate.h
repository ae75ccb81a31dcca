// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <functional>

class BarPlayer;
class CurveDocument;
struct WindowSeams;

// The one way in for everything that replaces, closes or changes the curve window's work from
// outside the drawing. A bar playing by itself stops first, which closes its step, so that what
// follows acts on the work with every curve the bar drew; then, when the work would leave the
// screen, the user is asked whether to save it.
//
// Who passes it: the openings, with Drops, wherever they come from ("Apri esercizio…",
// "Esercizi recenti", a dropped file, the class summary's "Apri", "Precedente" and "Successivo",
// the command line: see ExerciseCommands); the window's close and the ESCI of either window, with Drops; the context
// menu's entries that change, write or print the work, with Keeps (see Form4Menu).
class WorkGate {
public:
    enum class Change {
        Keeps, // the work changes or is written, and stays on the screen
        Drops, // the work leaves the screen: another exercise, the window closed, the end
    };

    // The question is the seams' saveQuestion; save is "Salva esercizio", which answers whether
    // the work was saved.
    WorkGate(BarPlayer& player, const CurveDocument& document, const WindowSeams& seams,
             std::function<bool()> save)
        : player_(player), document_(document), seams_(seams), save_(std::move(save)) {}

    // False when the user cancelled the question or the save failed: then nothing must change.
    bool pass(Change change);

private:
    // When the work has changed since its file was opened or saved, asks whether to save it.
    bool settleUnsavedChanges();

    BarPlayer& player_;
    const CurveDocument& document_;
    const WindowSeams& seams_;
    std::function<bool()> save_;
};
