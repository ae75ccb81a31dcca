// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "EventRouter.h"

#include <QWidget>

EventRouter::EventRouter(QWidget& window, std::vector<EventHandler*> inOrder)
    : handlers_(std::move(inOrder)) {
    window.installEventFilter(this);
    for (QWidget* child : window.findChildren<QWidget*>())
        child->installEventFilter(this);
}

bool EventRouter::eventFilter(QObject* watched, QEvent* event) {
    for (EventHandler* handler : handlers_)
        if (handler->takeEvent(watched, event))
            return true;
    return false;
}
