// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

// Prints what the curve window's document costs on a 1920 x 1080 window at INST 5: taking one
// step back and doing it again after 10, 100 and 1,000 curves, opening and saving an exercise of
// 1,000 curves, and the memory of the history after 10,000 steps.
#include "AtomicFile.h"
#include "BenchSupport.h"
#include "ExerciseFile.h"
#include "Form4.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <malloc.h>
#include <memory>
#include <vector>

namespace {

// Milliseconds that one call takes, the drawing brought up to date and repainted.
template <typename Action> double timed(Form4& form, Action action) {
    QElapsedTimer clock;
    clock.start();
    action();
    form.drawing();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents();
    return clock.nsecsElapsed() / 1e6;
}

// A window in multiple-curve mode with this many curves.
std::unique_ptr<Form4> windowWith(int curves, Prompter& prompter) {
    auto form = std::make_unique<Form4>(&prompter);
    form->readIncr = [] { return 1080.0 / 1920.0; };
    form->resize(1920, 1080);
    form->show();
    QApplication::processEvents();
    form->Form_Activate();
    form->Check1->setChecked(true);
    for (int i = 1; i < curves; ++i)
        form->Command1_Click();
    form->drawing();
    return form;
}

double residentMiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    useOffscreenUnlessAsked();
    QApplication app(argc, argv);
    SilentPrompter prompter;

    for (int curves : {10, 100, 1000}) {
        auto form = windowWith(curves, prompter);
        // Runs of undos one after the other, then of redos, as a user takes back several plots.
        const int run = std::min(curves - 1, 20);
        std::vector<double> undo, redo;
        for (int i = 0; i < 5; ++i) {
            for (int step = 0; step < run; ++step)
                undo.push_back(timed(*form, [&] { form->history().undo(); }));
            for (int step = 0; step < run; ++step)
                redo.push_back(timed(*form, [&] { form->history().redo(); }));
        }
        std::printf("%4d curves: undo of one plot %.2f ms, redo %.2f ms (medians of %zu, in runs "
                    "of %d)\n",
                    curves, median(undo), median(redo), undo.size(), run);
    }

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("mille.curva"));
    {
        auto form = windowWith(1000, prompter);
        std::vector<double> saves;
        for (int i = 0; i < 11; ++i)
            saves.push_back(
                timed(*form, [&] { writeFileAtomically(path, exerciseToJson(form->exercise())); }));
        std::printf("save of 1,000 curves: %.1f ms, %lld bytes (median of 11)\n", median(saves),
                    QFileInfo(path).size());
    }
    {
        auto form = windowWith(1, prompter);
        std::vector<double> opens;
        for (int i = 0; i < 11; ++i)
            opens.push_back(
                timed(*form, [&] { form->openExercise(*readExerciseFile(path).exercise); }));
        std::printf("open of 1,000 curves (read, drawn, shown): %.1f ms (median of 11)\n",
                    median(opens));
    }
    {
        auto form = windowWith(1, prompter);
        for (int i = 0; i < 10000; ++i)
            form->Command1_Click();
        form->drawing();
        malloc_trim(0);
        const double withHistory = residentMiB();
        const int steps = form->history().count();
        form->history().clear();
        malloc_trim(0);
        const double withPixels = residentMiB();
        // A new size draws everything again and gives up the pixels kept for taking plots back.
        form->resize(1921, 1080);
        form->drawing();
        form->resize(1920, 1080);
        form->drawing();
        malloc_trim(0);
        std::printf("history after 10,000 steps: %d steps kept in %.2f MiB, and %.2f MiB of "
                    "pixels kept to take plots back\n",
                    steps, withHistory - withPixels, withPixels - residentMiB());
    }
    return 0;
}
