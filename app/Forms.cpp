// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "Forms.h"

#include "ExerciseCommands.h"
#include "Form1.h"
#include "Form2.h"
#include "Form4.h"
#include "ScrollBar.h"
#include "WorkGate.h"

#include <QCoreApplication>

Forms::Forms(Prompter* prompter, std::function<void()> endAction)
    : prompter_(prompter), endAction_(std::move(endAction)) {
    tracker_.installOnApplication();
}

Forms::~Forms() = default;

Form1& Forms::form1() {
    if (!form1_) {
        form1_ = std::make_unique<Form1>();
        form1_->moveOn = [this] { navigation_.Command1_Click(); };
        tracker_.addForm(form1_.get(), {});
    }
    return *form1_;
}

Form2& Forms::form2() {
    if (!form2_) {
        form2_ = std::make_unique<Form2>(prompter_);
        form2_->showCurveWindow = [this] { navigation_.showCurveWindow(); };
        // The calibration window's ESCI ends the curve window's work too: it passes its gate.
        form2_->endProgram = [this] {
            if (!form4_ || form4_->workGate().pass(WorkGate::Change::Drops))
                navigation_.endProgram();
        };
        // A calibration made after an exercise was opened replaces the exercise's own ratio.
        const auto recalibrated = [this] {
            if (form4_)
                form4_->calibrationChanged();
        };
        tracker_.addForm(form2_.get(), [this, recalibrated] {
            form2_->Form_Activate();
            recalibrated();
        });
        QObject::connect(form2_->HScroll1, &QScrollBar::valueChanged, form2_.get(), recalibrated);
    }
    return *form2_;
}

Form4& Forms::form4() {
    if (!form4_) {
        form4_ = std::make_unique<Form4>(prompter_);
        // Reading the ratio creates the calibration window if needed, without showing it.
        form4_->readIncr = [this] { return form2().Incr; };
        form4_->showInstructions = [this] { navigation_.showInstructions(); };
        form4_->endProgram = [this] { navigation_.endProgram(); };
        tracker_.addForm(form4_.get(), [this] { form4_->Form_Activate(); });
    }
    return *form4_;
}

QWidget& Forms::window(FormId form) {
    switch (form) {
    case FormId::Form1:
        return form1();
    case FormId::Form2:
        return form2();
    case FormId::Form4:
        break;
    }
    return form4();
}

void Forms::show(FormId form) {
    QWidget& w = window(form);
    if (w.isMinimized())
        w.setWindowState(w.windowState() & ~Qt::WindowMinimized);
    if (!w.isVisible()) {
        // A window closed through its frame comes back as the user left it.
        bool& before = shownBefore_[static_cast<std::size_t>(form)];
        if (!before && form != FormId::Form1)
            w.showMaximized();
        else
            w.show();
        before = true;
    }
    w.raise();
    w.activateWindow();
}

bool Forms::openExercise(const QString& path) {
    if (!form4().exerciseCommands().open(path))
        return false;
    navigation_.VAIF = 99;
    show(FormId::Form4);
    return true;
}

void Forms::endProgram() {
    if (endAction_) {
        endAction_();
        return;
    }
    for (QWidget* w : std::initializer_list<QWidget*>{form1_.get(), form2_.get(), form4_.get()})
        if (w)
            w->hide();
    QCoreApplication::exit(0);
}
