// Prints how long the search for the bars nearest the target takes over the whole of both bars
// (1,202,201 pairs), with the window's first values, with a target that curves reach, and with
// no bar bending the curve, so that every pair ties; at INST 5, 1000 and 100000; one thread.
#include "BenchSupport.h"
#include "DisplacementSearch.h"

#include <QElapsedTimer>
#include <cstdio>

namespace {

PlotRecord valuesAt(double INST, double RAX, double RAY, double AV) {
    PlotRecord plot;
    plot.DAX = 20;
    plot.DAY = 30;
    plot.ALX = 150;
    plot.ALY = 70;
    plot.RAX = RAX;
    plot.RAY = RAY;
    plot.AVX = AV;
    plot.AVY = AV;
    plot.INST = INST;
    plot.Incr = 0.75;
    return plot;
}

} // namespace

int main() {
    struct Case {
        const char* name;
        double RAX, RAY, AV;
    };
    for (const Case& target : {Case{"target (300; 270), as the window opens", 300, 270, 1},
                               Case{"target (80; 75), within reach", 80, 75, 1},
                               Case{"AVX = AVY = 0: every pair ties", 300, 270, 0}}) {
        for (const double INST : {5.0, 1000.0, 100000.0}) {
            const int repeats = INST < 10 ? 201 : INST < 10000 ? 21 : 5;
            std::vector<double> runs;
            std::optional<Displacements> found;
            for (int i = 0; i < repeats; ++i) {
                QElapsedTimer clock;
                clock.start();
                found = findDisplacements(valuesAt(INST, target.RAX, target.RAY, target.AV));
                runs.push_back(clock.nsecsElapsed() / 1e6);
            }
            std::printf("%s, INST %g: %.3f ms (median of %d); orizzontale %d, verticale %d, "
                        "distanza %.6g\n",
                        target.name, INST, median(runs), repeats, found->SPTX, found->SPTY,
                        found->distance);
        }
    }
    return 0;
}
