// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <cstdint>
#include <functional>

class Prompter;
class Surface;

// The behaviour of the calibration window: the ratio Incr between the height and the width of
// the user scale, the axes and the test figure drawn with it, and the two commands. The window
// provides the drawing surface, the message box and the ratio field through the three
// functions at the bottom, so the same logic runs against recording doubles in the tests.
class Calibration {
public:
    virtual ~Calibration() = default;

    float P1 = 0;
    double Incr = 0;
    float CX = 0;
    float CY = 0;
    double XR = 0;
    double YR = 0;

    // Opens the curve window; ends the program.
    std::function<void()> showCurveWindow;
    std::function<void()> endProgram;

    void Form_Activate();
    void HScroll1_Change(std::int16_t position);
    void Command1_Click();
    void Command3_Click();

protected:
    virtual Surface& drawingSurface() = 0;
    virtual Prompter& prompter() = 0;
    virtual void showRatio(const QString& text) = 0;

private:
    void COORDINATE();
    void TRACCIA();
};
