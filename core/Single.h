// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cmath>
#include <limits>

// Drawing coordinates are single precision. Converting a double outside the float range is
// undefined behaviour in C++, so such values become infinity (and are then skipped by the
// surface) instead of whatever the hardware happens to produce.
inline float toSingle(double v) {
    constexpr double maxFloat = std::numeric_limits<float>::max();
    if (std::isnan(v))
        return std::numeric_limits<float>::quiet_NaN();
    if (v > maxFloat)
        return std::numeric_limits<float>::infinity();
    if (v < -maxFloat)
        return -std::numeric_limits<float>::infinity();
    return static_cast<float>(v);
}

// One degree in radians, from the single-precision pi and kept in single precision: the angle
// factor of every figure the windows draw.
inline constexpr float DegreeInRadians = static_cast<float>(double(3.1415927f) / 180);
