// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QWidget>
#include <functional>

class QPushButton;

// The instructions window: the page of instructions and the button "AVANTI".
class Form1 : public QWidget {
public:
    explicit Form1(QWidget* parent = nullptr);

    // "AVANTI": on to the next window.
    std::function<void()> moveOn;

    QWidget* OLE1;
    QPushButton* Command1;

    void Command1_Click();
};
