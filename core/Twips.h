// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QRect>

// Controls are designed in twips: 15 twips to a device-independent pixel.
constexpr int TwipsPerPixel = 15;

constexpr int twipsToPixels(int twips) {
    return twips / TwipsPerPixel;
}

constexpr QRect twipsRect(int left, int top, int width, int height) {
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                 twipsToPixels(height));
}
