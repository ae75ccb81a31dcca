// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QTextBrowser>

class QAction;

// The guide for teachers and students, docs/guida.md with its pictures, compiled into the
// program as a resource so that it is found wherever the program runs from; shown in a window of
// its own, next to the window it was asked from.
class GuideWindow : public QTextBrowser {
public:
    explicit GuideWindow(QWidget* parent);

protected:
    // Pictures wider than the text column are shown scaled down to it.
    QVariant loadResource(int type, const QUrl& name) override;
};

// "Guida", F1 anywhere in the window: opens the guide, or brings forward the one already open.
QAction* addGuideAction(QWidget& window);
