// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <vector>

class QWidget;

// A part of a window that acts on some of the events of the window and its controls.
class EventHandler {
public:
    virtual ~EventHandler() = default;
    // True when the event is taken: it reaches neither the later handlers nor its control.
    virtual bool takeEvent(QObject* watched, QEvent* event) = 0;
};

// The one event filter of a window and of the controls it holds when the filter is made: every
// event meets the handlers in the order given, until one takes it. Qt runs several filters of
// one object last installed first, so their order would be the order of their making; here it
// is written down once, where the handlers are given.
class EventRouter final : public QObject {
public:
    // The handlers must outlive the router.
    EventRouter(QWidget& window, std::vector<EventHandler*> inOrder);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::vector<EventHandler*> handlers_;
};
