// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "BarSweep.h"
#include "EventRouter.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <array>
#include <optional>

class CurveDocument;
class QKeyEvent;
class QMenu;
class QScrollBar;

// "Anima barra orizzontale" and "Anima barra verticale" of the curve window: a bar that plays by
// itself, each frame one change of its position, handled as if the user had moved it. While it
// plays, its entry reads "Ferma animazione" and two more make it faster or slower, as "+" and "−"
// do anywhere in the window; Esc stops it. So does a click or a key on any control, a drop, and
// whatever passes the window's gate (see WorkGate). From its first frame to its stop it is one
// step of the history.
class BarPlayer : public QObject, public EventHandler {
    Q_OBJECT

public:
    // Owned by the window, which holds the horizontal and the vertical bar; the window's events
    // come through its router, and the whole play is one step of the document.
    BarPlayer(QWidget& window, std::array<QScrollBar*, 2> bars, CurveDocument& document);

    // The entries at the menu's end, after a separator.
    void fill(QMenu& menu);
    void start(QScrollBar* bar);
    void stop();
    bool running() const { return bar_ != nullptr; }

    // The timer's tick: the bar's next position for the time passed since the last, unless the
    // last frame is still being drawn (its message waits for an OK): then none.
    void tick();

    // Takes the animation's own keys; any other key, a click on a control or a drop stops it.
    bool takeEvent(QObject* watched, QEvent* event) override;

private:
    // Esc, "+" and "−": true when the key was the animation's.
    bool ownKey(const QKeyEvent& key, bool act);

    QWidget& window_;
    std::array<QScrollBar*, 2> bars_;
    CurveDocument& document_;
    QTimer timer_;
    QElapsedTimer sinceLastTick_;
    QScrollBar* bar_ = nullptr;
    std::optional<BarSweep> animation_;
    // Kept from one animation to the next.
    double speed_ = 1;
    bool stepBegun_ = false;
    bool drawing_ = false;
};
