#include "ScrollBar.h"

#include <QKeyEvent>

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
