#pragma once

#include <QScrollBar>

// A horizontal scroll bar that behaves like the classic desktop one: valueChanged arrives once
// per arrow click, trough click, key press or drag release (never during a drag, never when
// setValue sets the value it already has); Left, Up and PgUp decrease, Right, Down and PgDn
// increase, Home and End go to the ends; it takes a tab stop and, while it has the keyboard focus,
// shows it with a frame in the highlight colour.
class HScrollBar : public QScrollBar {
public:
    HScrollBar(int minimum, int maximum, int smallChange, int largeChange,
               QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};
