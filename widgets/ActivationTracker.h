// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <vector>

// Decides when a form of the program has become its active form. The toolkit's own activation
// also fires when a message box closes or when the user comes back from another application;
// this tracker remembers the last active form, ignores every window that is not a registered
// form (message boxes, dialogs) and "no window" (another application), and runs a form's
// activation handler only when the active form changes.
class ActivationTracker : public QObject {
public:
    explicit ActivationTracker(QObject* parent = nullptr);

    // Registers a form; onActivate may be empty (a form without an activation handler).
    void addForm(QWidget* form, std::function<void()> onActivate);
    // Feeds one activation: the window that became active, or nullptr for none.
    void windowActivated(QWidget* window);
    QWidget* activeForm() const { return active_; }

    // Feeds the tracker from the application's WindowActivate events.
    void installOnApplication();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Form {
        QPointer<QWidget> widget;
        std::function<void()> onActivate;
    };
    std::vector<Form> forms_;
    QPointer<QWidget> active_;
};
