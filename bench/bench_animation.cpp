// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

// Prints, for a horizontal bar that plays by itself on a 1920 x 1080 curve window, the frames
// shown against the frames planned over one sweep from one end to the other at normal speed
// (about 10 s each), at INST 5, 100 and 100000, in single-curve mode.
#include "BarPlayer.h"
#include "BenchSupport.h"
#include "Form4.h"
#include "ScrollBar.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <cstdio>
#include <utility>

namespace {

void sweep(const char* inst) {
    SilentPrompter prompter;
    Form4 form(&prompter);
    form.readIncr = [] { return 1080.0 / 1920.0; };
    form.resize(1920, 1080);
    form.show();
    form.Form_Activate();
    form.Text9->setText(QString::fromLatin1(inst));
    QScrollBar* bar = form.HScroll1;
    bar->setValue(bar->minimum());
    QCoreApplication::processEvents();

    int shown = 0;
    QEventLoop loop;
    QElapsedTimer clock;
    BarPlayer* animator = form.findChild<BarPlayer*>();
    int previous = bar->value();
    // The sweep ends at the maximum, or at the first frame past it, turned back.
    QObject::connect(bar, &QScrollBar::valueChanged, &loop, [&](int value) {
        ++shown;
        if (value == bar->maximum() || value < std::exchange(previous, value)) {
            animator->stop();
            loop.quit();
        }
    });
    clock.start();
    animator->start(bar);
    loop.exec();
    const double seconds = clock.elapsed() / 1000.0;
    const double planned = seconds * BarSweep::FramesPerSecond;
    std::printf("INST %-6s sweep %.2f s: %d frames shown of %.0f planned (%.0f%%), %.1f a second\n",
                inst, seconds, shown, planned, 100 * shown / planned, shown / seconds);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    useOffscreenUnlessAsked();
    QApplication app(argc, argv);
    sweep("5");
    sweep("100");
    sweep("100000");
    return 0;
}
