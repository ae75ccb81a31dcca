#pragma once

#include "PlotRecord.h"

#include <cmath>
#include <cstdint>

// The curve point at an angle, in the exact evaluation order of the plot, so that whatever
// rebuilds a curve elsewhere can be checked against the points the window drew.
struct CurveFormula {
    double ASQ, ASM, DAX, DAY, AVX, AVY;
    std::int16_t SPTX, SPTY;
    float P1;

    static CurveFormula of(const PlotRecord& r) {
        return {r.ALX - r.DAX, r.ALY - r.DAY, r.DAX, r.DAY, r.AVX, r.AVY, r.SPTX, r.SPTY, r.P1};
    }

    // The point at ALFA degrees; false where the sine of the angle is 0 and there is none.
    bool at(double ALFA, double& PX, double& PY) const {
        const double COSA = std::cos(ALFA * P1);
        const double SENA = std::sin(ALFA * P1);
        const double SENX = std::sin((ALFA * AVX) * P1);
        const double SENY = std::sin((ALFA * AVY) * P1);
        if (SENA == 0)
            return false;
        PX = ((ASQ * SENA) * SENA + (SPTX * COSA) * SENX) + DAX;
        PY = ((ASM * SENA) * COSA + (SPTY * COSA) * SENY + ASM * SENA) + DAY;
        return true;
    }
};
