// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ActivationTracker.h"
#include "Navigation.h"

#include <QWidget>
#include <array>
#include <functional>
#include <memory>

class Form1;
class Form2;
class Form4;
class Prompter;

// The program's windows: one instance of each for the whole run, created the first time it is
// asked for and wired to the others. Form2 and Form4 run their activation handler whenever
// they become the program's active window.
class Forms final : public Windows {
public:
    // Messages go to prompter, or to message boxes over the window concerned when none is
    // given. endAction replaces what ending the program does (tests keep their process alive).
    explicit Forms(Prompter* prompter = nullptr, std::function<void()> endAction = {});
    ~Forms() override;

    Form1& form1();
    Form2& form2();
    Form4& form4();
    Navigation& navigation() { return navigation_; }

    // Creates the window if needed and makes it visible (Form2 and Form4 maximized the first
    // time), brings it to the front and activates it.
    void show(FormId form) override;
    // Opens an exercise straight on the curve window, the calibration skipped: the exercise
    // brings its own. A file that cannot be opened is reported and nothing is shown.
    bool openExercise(const QString& path);
    // Every window disappears and the event loops end at once, nested ones included; nothing
    // is asked and nothing is saved.
    void endProgram() override;

private:
    QWidget& window(FormId form);

    Prompter* prompter_;
    std::function<void()> endAction_;
    ActivationTracker tracker_;
    Navigation navigation_{*this};
    std::array<bool, 3> shownBefore_{};
    std::unique_ptr<Form1> form1_;
    std::unique_ptr<Form2> form2_;
    std::unique_ptr<Form4> form4_;
};
