// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ScrollBar.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

HScrollBar::HScrollBar(int minimum, int maximum, int smallChange, int largeChange, QWidget* parent)
    : QScrollBar(Qt::Horizontal, parent) {
    setRange(minimum, maximum);
    setSingleStep(smallChange);
    setPageStep(largeChange);
    // Without tracking, a drag reports its value once, on release; the other actions report
    // each step as it happens.
    setTracking(false);
    setInvertedControls(false);
    setFocusPolicy(Qt::StrongFocus);
}

void HScrollBar::keyPressEvent(QKeyEvent* event) {
    SliderAction action = SliderNoAction;
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up:
        action = SliderSingleStepSub;
        break;
    case Qt::Key_Right:
    case Qt::Key_Down:
        action = SliderSingleStepAdd;
        break;
    case Qt::Key_PageUp:
        action = SliderPageStepSub;
        break;
    case Qt::Key_PageDown:
        action = SliderPageStepAdd;
        break;
    case Qt::Key_Home:
        action = SliderToMinimum;
        break;
    case Qt::Key_End:
        action = SliderToMaximum;
        break;
    default:
        QScrollBar::keyPressEvent(event);
        return;
    }
    triggerAction(action);
    event->accept();
}

void HScrollBar::letGo() {
    // Ending a drag would report the thumb's position from inside whatever lets go.
    if (isSliderDown())
        return;
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(), QPointF(), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QScrollBar::mouseReleaseEvent(&release);
}

// The style draws a focused bar like any other: a keyboard user would not see where the focus
// is. A frame in the highlight colour, over the bar's outer pixels, marks it as the fields' own
// frames mark theirs; without the focus the bar is the style's alone.
void HScrollBar::paintEvent(QPaintEvent* event) {
    QScrollBar::paintEvent(event);
    if (!hasFocus())
        return;
    QPainter painter(this);
    const QColor colour = palette().color(QPalette::Highlight);
    const QRect r = rect();
    constexpr int width = 2;
    painter.fillRect(r.left(), r.top(), r.width(), width, colour);
    painter.fillRect(r.left(), r.bottom() - width + 1, r.width(), width, colour);
    painter.fillRect(r.left(), r.top(), width, r.height(), colour);
    painter.fillRect(r.right() - width + 1, r.top(), width, r.height(), colour);
}

void BarReleasingPrompter::letGo() {
    for (HScrollBar* bar : bars_)
        bar->letGo();
}

void BarReleasingPrompter::MsgBox(const QString& text) {
    letGo();
    shown_.MsgBox(text);
}

void BarReleasingPrompter::MsgBox(const QString& title, const QString& text) {
    letGo();
    shown_.MsgBox(title, text);
}
