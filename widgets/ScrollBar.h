// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "Prompter.h"

#include <QScrollBar>
#include <initializer_list>
#include <vector>

// A horizontal scroll bar that behaves like the classic desktop one: valueChanged arrives once
// per arrow click, trough click, key press or drag release (never during a drag, never when
// setValue sets the value it already has); Left, Up and PgUp decrease, Right, Down and PgDn
// increase, Home and End go to the ends; it takes a tab stop and, while it has the keyboard focus,
// shows it with a frame in the highlight colour.
class HScrollBar : public QScrollBar {
public:
    HScrollBar(int minimum, int maximum, int smallChange, int largeChange,
               QWidget* parent = nullptr);

    // Lets go of the bar as releasing the mouse would: an arrow or the trough held down stops
    // repeating and no longer shows pressed. A thumb being dragged is left alone.
    void letGo();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

// Messages that first let go of the given bars. A modal box opened from a bar's change takes the
// mouse release, and a bar held down would go on stepping under it, each step bringing another
// box: so a gesture on a bar shows at most one message.
class BarReleasingPrompter final : public Prompter {
public:
    BarReleasingPrompter(Prompter& shown, std::initializer_list<HScrollBar*> bars)
        : shown_(shown), bars_(bars) {}
    void MsgBox(const QString& text) override;
    void MsgBox(const QString& title, const QString& text) override;

private:
    void letGo();

    Prompter& shown_;
    std::vector<HScrollBar*> bars_;
};
