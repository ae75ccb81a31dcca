// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "RetainedCanvas.h"
#include "Surface.h"

#include <QSize>

// A drawing surface that keeps what is drawn on it (see RetainedCanvas): where the drawing
// stands, taken back there or exchanged for another, and its size in the window's pixels. What a
// document of a window's work needs of the window's drawing.
class KeptDrawing : public Surface {
public:
    virtual RetainedCanvas::Mark drawingMark() = 0;
    virtual bool rewindDrawing(RetainedCanvas::Mark to) = 0;
    // Shows another retained drawing in place of this one, which is returned.
    virtual RetainedCanvas exchangeDrawing(RetainedCanvas replacement) = 0;
    // The retained drawing at the window's current device-pixel size.
    virtual RetainedCanvas& retainedDrawing() = 0;
    virtual QSize drawingSize() const = 0;
};
