// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "PlotRecord.h"

#include <cmath>
#include <cstdint>

// The curve point at an angle, in the exact evaluation order of the plot, so that whatever
// rebuilds a curve elsewhere can be checked against the points the window drew. A point's x
// depends on SPTX alone and its y on SPTY alone, so the trigonometry of an angle serves every
// position of the two bars.
struct CurveFormula {
    double ASQ, ASM, DAX, DAY, AVX, AVY;
    std::int16_t SPTX, SPTY;
    float P1;

    static CurveFormula of(const PlotRecord& r) {
        return {r.ALX - r.DAX, r.ALY - r.DAY, r.DAX, r.DAY, r.AVX, r.AVY, r.SPTX, r.SPTY, r.P1};
    }

    struct Trig {
        double COSA, SENA, SENX, SENY;
        // There is no point where the sine of the angle is 0.
        bool hasPoint() const { return SENA != 0; }
    };

    Trig trig(double ALFA) const {
        return {std::cos(ALFA * P1), std::sin(ALFA * P1), std::sin((ALFA * AVX) * P1),
                std::sin((ALFA * AVY) * P1)};
    }
    double x(const Trig& t, std::int16_t SPTX) const {
        const auto [COSA, SENA, SENX, SENY] = t;
        return ((ASQ * SENA) * SENA + (SPTX * COSA) * SENX) + DAX;
    }
    double y(const Trig& t, std::int16_t SPTY) const {
        const auto [COSA, SENA, SENX, SENY] = t;
        return ((ASM * SENA) * COSA + (SPTY * COSA) * SENY + ASM * SENA) + DAY;
    }

    // The point at ALFA degrees; false where there is none.
    bool at(double ALFA, double& PX, double& PY) const {
        const Trig t = trig(ALFA);
        if (!t.hasPoint())
            return false;
        PX = x(t, SPTX);
        PY = y(t, SPTY);
        return true;
    }
};

// The window's bounds around the origin (CX, CY): a plot ends at its first point beyond them.
// Written so that a coordinate that is not a number is beyond them too.
struct PlotBounds {
    float CX, CY;

    bool holdsX(double PX) const { return std::abs(PX) <= double(CX) + 100; }
    bool holdsY(double PY) const { return std::abs(PY) <= double(CY); }
    bool holds(double PX, double PY) const { return holdsX(PX) && holdsY(PY); }
};
