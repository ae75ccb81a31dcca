// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "EventRouter.h"

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <functional>

class ClassSummaryDialog;
class Form4;
class QAction;
class QMenu;

// The curve window's context menu and its keys. The menu: a line on how close the latest curve
// came to its target point; "Annulla curva" and "Ripeti curva"; "Trova spostamenti…"; the
// exercise files, the submenu of recent ones, the assignment's text shown again and the class
// summary, which stays beside the window until it closes; then copies of the equation and of
// the drawing, "Salva immagine…" and "Stampa…"; then the bars' animation (see BarPlayer); last
// "Guida" (see GuideWindow). The entries that change, write or print the work pass the window's
// gate first (see WorkGate).
// Its keys work wherever the focus is in the window, except that a field whose text changed
// since the last plot takes Ctrl+Z and Ctrl+Shift+Z to undo and redo its own typing first.
class Form4Menu : public QObject, public EventHandler {
public:
    explicit Form4Menu(Form4& window);

    void fill(QMenu& menu);
    void open(QPoint globalPosition);
    // From the keyboard: under the mouse when that rests on the drawing, else in the window's
    // middle.
    void openFromKeyboard();
    // "Trova spostamenti…" and its key, which an assignment may forbid.
    void setSearchAllowed(bool allowed);
    // The class summary goes with the window it opens attempts in.
    void closeClassSummary();

    // The menu's keys on the controls: the Menu key, and the undo keys in a field.
    bool takeEvent(QObject* watched, QEvent* event) override;

private:
    QAction* windowAction(const QString& text, const QList<QKeySequence>& keys);
    // The entry runs once the gate lets it.
    void actOnWork(QAction* action, std::function<void()> run);
    void fillRecent(QMenu& recent);

    Form4& window_;
    QAction* undo_;
    QAction* redo_;
    QAction* find_;
    QAction* open_;
    QAction* save_;
    QAction* saveAs_;
    QAction* print_;
    QAction* student_;
    QAction* saveAssignment_;
    QAction* showAssignment_;
    QAction* summary_;
    QAction* guide_;
    QPointer<ClassSummaryDialog> classSummary_;
};
