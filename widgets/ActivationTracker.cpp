// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ActivationTracker.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <algorithm>

ActivationTracker::ActivationTracker(QObject* parent) : QObject(parent) {}

void ActivationTracker::addForm(QWidget* form, std::function<void()> onActivate) {
    forms_.push_back({form, std::move(onActivate)});
}

void ActivationTracker::windowActivated(QWidget* window) {
    if (window == nullptr || window == active_)
        return;
    const auto form = std::find_if(forms_.begin(), forms_.end(),
                                   [window](const Form& f) { return f.widget == window; });
    if (form == forms_.end())
        return;
    // The form is the active one before its handler runs, so that anything the handler
    // activates on the way (a message box closing over it) finds nothing changed. The
    // handler is copied because it may register further forms.
    active_ = window;
    const std::function<void()> onActivate = form->onActivate;
    if (onActivate)
        onActivate();
}

void ActivationTracker::installOnApplication() {
    QCoreApplication::instance()->installEventFilter(this);
}

bool ActivationTracker::eventFilter(QObject* watched, QEvent* event) {
    // Every widget of a window receives the window's WindowActivate; only the window counts.
    if (event->type() == QEvent::WindowActivate && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        if (widget->isWindow())
            windowActivated(widget);
    }
    return QObject::eventFilter(watched, event);
}
