// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

// Prints how long an exercise of 1,000 curves at INST 5 takes to write and to read as a .curva
// file's text, and the text's size.
#include "ExerciseFile.h"
#include "ExerciseSamples.h"

#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

template <typename Work> double medianSeconds(int runs, Work work) {
    std::vector<double> seconds;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer clock;
        clock.start();
        work();
        seconds.push_back(clock.nsecsElapsed() / 1e9);
    }
    std::sort(seconds.begin(), seconds.end());
    return seconds[seconds.size() / 2];
}

} // namespace

int main() {
    constexpr int Runs = 51;
    const Exercise exercise = attemptExercise(std::vector<double>(1000, 5));
    QByteArray text;
    const double writing = medianSeconds(Runs, [&] { text = exerciseToJson(exercise); });
    bool read = true;
    const double reading =
        medianSeconds(Runs, [&] { read = read && exerciseFromJson(text).exercise.has_value(); });
    if (!read) {
        std::fprintf(stderr, "the written exercise was refused\n");
        return 1;
    }
    std::printf("exercise of 1000 curves at INST 5: write %.2f ms, read %.2f ms (medians of %d), "
                "%lld bytes\n",
                writing * 1e3, reading * 1e3, Runs, static_cast<long long>(text.size()));
    return 0;
}
