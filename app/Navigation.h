// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>

// The program's three windows.
enum class FormId { Form1, Form2, Form4 };

// What moving between windows does to them: show one (create it if needed, bring it to the
// front, activate it) or end the program at once.
class Windows {
public:
    virtual ~Windows() = default;
    virtual void show(FormId form) = 0;
    virtual void endProgram() = 0;
};

// The buttons that move between windows. The calibration window is offered once, on the first
// "AVANTI"; every later "AVANTI" goes straight to the curve window, even if the calibration
// window was closed meanwhile.
class Navigation {
public:
    explicit Navigation(Windows& windows) : windows_(windows) {}

    // Form1's flag: 0 until the first "AVANTI", 99 ever after.
    std::int16_t VAIF = 0;

    // "AVANTI" on Form1.
    void Command1_Click();
    // "OK - continua" on Form2 once it has accepted the ratio.
    void showCurveWindow() { windows_.show(FormId::Form4); }
    // "?" on Form4.
    void showInstructions() { windows_.show(FormId::Form1); }
    // "ESCI" on Form2 and on Form4.
    void endProgram() { windows_.endProgram(); }

private:
    Windows& windows_;
};
