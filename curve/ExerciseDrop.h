// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "EventRouter.h"

class ExerciseCommands;
class QWidget;

// An exercise file dropped anywhere on the curve window, on a field too, opens as "Apri
// esercizio…" opens it: of several files, the first exercise among them. Every other drop goes
// where it went before, so a text dropped on a field still goes in the field.
class ExerciseDrop final : public EventHandler {
public:
    // The window's events come through its router; a field would take a dropped file for its
    // path as text, so the router must be on the fields too.
    ExerciseDrop(QWidget& window, ExerciseCommands& commands);

    bool takeEvent(QObject* watched, QEvent* event) override;

private:
    QWidget& window_;
    ExerciseCommands& commands_;
};
