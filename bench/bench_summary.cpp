// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

// Prints how long the class summary of 30 attempts of 100 curves each takes: the files read and
// every curve drawn again to find how near it came, at INST 5 (the window's first value) and at
// INST 50.
#include "BenchSupport.h"
#include "ClassSummary.h"
#include "ExerciseFile.h"
#include "ExerciseSamples.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    constexpr int Attempts = 30, Curves = 100, Runs = 11;
    for (double inst : {5.0, 50.0}) {
        QTemporaryDir folder;
        const QByteArray text = exerciseToJson(attemptExercise(std::vector<double>(Curves, inst)));
        for (int i = 0; i < Attempts; ++i) {
            QFile file(
                folder.filePath(QStringLiteral("studente%1.curva").arg(i, 2, 10, QChar('0'))));
            if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
                return 1;
        }
        std::vector<double> seconds;
        std::size_t rows = 0;
        for (int run = 0; run < Runs; ++run) {
            QElapsedTimer clock;
            clock.start();
            rows = summarise(attemptFiles({folder.path()})).size();
            seconds.push_back(clock.nsecsElapsed() / 1e9);
        }
        std::printf("summary of %zu attempts of %d curves at INST %g: %.1f ms (median of %d)\n",
                    rows, Curves, inst, median(seconds) * 1e3, Runs);
    }
    return 0;
}
