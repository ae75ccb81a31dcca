// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

// Prints how long the search for the bars nearest the target takes over the whole of both bars
// (1,202,201 pairs) and the most memory it holds at once, against one plot's bare arithmetic at
// the same INST (the plot's walk on a surface that draws nothing): with the window's first
// values, a target that curves reach, and the cases where pairs tie or nearly tie everywhere
// (no bar bending the curve, targets so far that every square is alike or infinite, chords of
// one point); at INST 5, 1000 and 100000; one thread.
#include "BenchSupport.h"
#include "CurveModel.h"
#include "DisplacementSearch.h"
#include "UnseenSurface.h"

#include <QElapsedTimer>
#include <cstdio>
#include <cstdlib>
#include <new>

namespace {

// Every allocation of the program counted: the most bytes held at once since the last reset.
std::size_t held = 0, mostHeld = 0;

} // namespace

void* operator new(std::size_t size) {
    // The size is kept just before the block, so that delete knows what it gives back.
    auto* block = static_cast<std::size_t*>(std::malloc(size + sizeof(std::max_align_t)));
    if (!block)
        throw std::bad_alloc();
    *block = size;
    held += size;
    mostHeld = std::max(mostHeld, held);
    return reinterpret_cast<char*>(block) + sizeof(std::max_align_t);
}
void operator delete(void* pointer) noexcept {
    if (!pointer)
        return;
    auto* block =
        reinterpret_cast<std::size_t*>(static_cast<char*>(pointer) - sizeof(std::max_align_t));
    held -= *block;
    std::free(block);
}
void operator delete(void* pointer, std::size_t) noexcept {
    operator delete(pointer);
}

namespace {

struct Case {
    const char* name;
    double DAX = 20, DAY = 30, ALX = 150, ALY = 70, RAX = 300, RAY = 270, AV = 1;
};

PlotRecord valuesOf(const Case& c, double INST) {
    PlotRecord plot;
    plot.DAX = c.DAX;
    plot.DAY = c.DAY;
    plot.ALX = c.ALX;
    plot.ALY = c.ALY;
    plot.RAX = c.RAX;
    plot.RAY = c.RAY;
    plot.AVX = c.AV;
    plot.AVY = c.AV;
    plot.INST = INST;
    plot.Incr = 0.75;
    return plot;
}

// One plot of the same values on a surface that draws nothing, in milliseconds.
double barePlot(const PlotRecord& values) {
    UnseenSurface surface;
    struct NoFields final : CurveFields {
        QString fieldText(Field) const override { return {}; }
        void setFieldText(Field, const QString&) override {}
    } fields;
    SilentPrompter prompter;
    CurveModel model(surface, fields, prompter, [] { return 0.75; });
    QElapsedTimer clock;
    clock.start();
    model.replay(values);
    return clock.nsecsElapsed() / 1e6;
}

} // namespace

int main() {
    const Case cases[] = {
        {"target (300; 270), as the window opens"},
        {"target (80; 75), within reach", 20, 30, 150, 70, 80, 75},
        {"AVX = AVY = 0: no bar bends the curve", 20, 30, 150, 70, 300, 270, 0},
        {"far target, RAX = 1e20", 20, 30, 150, 70, 1e20},
        {"far target, RAX = RAY = 1e300: infinite squares", 20, 30, 150, 70, 1e300, 1e300},
        {"point chord (100; 100), AVX = AVY = 1", 100, 100, 100, 100},
        {"point chord (100; 100), AVX = AVY = 0", 100, 100, 100, 100, 300, 270, 0},
    };
    for (const Case& c : cases) {
        for (const double INST : {5.0, 1000.0, 100000.0}) {
            const int repeats = INST < 10 ? 51 : INST < 10000 ? 7 : 3;
            const PlotRecord values = valuesOf(c, INST);
            std::vector<double> runs, plots;
            std::optional<Displacements> found;
            std::size_t memory = 0;
            for (int i = 0; i < repeats; ++i) {
                plots.push_back(barePlot(values));
                mostHeld = held;
                const std::size_t before = held;
                QElapsedTimer clock;
                clock.start();
                found = nearestDisplacements(values);
                runs.push_back(clock.nsecsElapsed() / 1e6);
                memory = std::max(memory, mostHeld - before);
            }
            const double search = median(runs), plot = median(plots);
            std::printf("%s, INST %g: %.3f ms, %.1f times one plot's bare arithmetic (%.3f ms), "
                        "at most %.2f MiB held (median of %d); ",
                        c.name, INST, search, search / plot, plot, memory / 1048576.0, repeats);
            if (found)
                std::printf("orizzontale %d, verticale %d, distanza %.6g\n", found->SPTX,
                            found->SPTY, found->distance);
            else
                std::printf("no pair draws\n");
        }
    }
    return 0;
}
