// Prints how long an exercise of 1,000 curves at INST 5 takes to write and to read as a .curva
// file's text, and the text's size.
#include "ExerciseFile.h"

#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

Exercise thousandCurves() {
    Exercise exercise;
    const char* texts[] = {"20", "30", "300", "150", "70", "270", "5", "1", "1"};
    for (std::size_t i = 0; i < ParameterFieldCount; ++i)
        exercise.controls.fields[i] = QString::fromLatin1(texts[i]);
    exercise.controls.Check1 = true;
    exercise.Incr = 0.61;
    exercise.drawingSize = {1280, 990};
    for (int i = 0; i < 1000; ++i) {
        PlotRecord curve;
        curve.curve = i + 1;
        curve.Miocolor = static_cast<std::int16_t>(i % 13 + 1);
        curve.axes = i == 0;
        curve.Incr = 0.61;
        curve.DAX = 20;
        curve.DAY = 30;
        curve.ALX = 150;
        curve.ALY = 70;
        curve.RAX = 300;
        curve.RAY = 270;
        curve.AVX = 1 + i * 0.01;
        curve.AVY = 1;
        curve.INST = 5;
        curve.SPTX = static_cast<std::int16_t>(i % 1201 - 600);
        exercise.curves.push_back(curve);
    }
    exercise.Miocolor = exercise.curves.back().Miocolor;
    return exercise;
}

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
    const Exercise exercise = thousandCurves();
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
