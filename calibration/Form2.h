// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "Calibration.h"
#include "MessageBoxPrompter.h"
#include "SurfaceWidget.h"

class HScrollBar;
class QLabel;
class QLineEdit;
class QPushButton;

// The calibration window. Its drawing is retained like the curve window's: a figure wiped out
// by another window passing over it would be lost to the user, who is judging its shape.
// The window neither shows itself nor tracks its own activation; whoever shows it calls
// Form_Activate.
class Form2 : public SurfaceWidget, public Calibration {
public:
    // Messages go to the given prompter, or to real message boxes over this window.
    explicit Form2(Prompter* prompter = nullptr);
    ~Form2() override;

    HScrollBar* HScroll1;
    QLineEdit* Text1;
    QPushButton* Command1;
    QPushButton* Command2;
    QPushButton* Command3;
    QLabel* Label1;

protected:
    Surface& drawingSurface() override { return *this; }
    Prompter& prompter() override { return prompter_.get(); }
    void showRatio(const QString& text) override;

private:
    void wireControls();

    WindowPrompter prompter_;
};
