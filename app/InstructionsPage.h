// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "InstructionsLayout.h"

#include <QImage>
#include <array>
#include <vector>

struct Form4Controls;
class QWidget;

// Sets freshly built panels of the curve window to the values the page's pictures show: the
// fields keep the texts the window opens with, the displacement bars are moved.
void setPictureStates(const Form4Controls& controls);
// Picture 1 to 6 as the panels built on host look now.
QImage grabPanelPicture(int number, const Form4Controls& controls, QWidget& host);

// The instructions page with its text laid out and its six pictures taken from the curve
// window's own panels, so that the pictures always match the real window. The content never
// changes; the pictures are taken when first needed, and the drawing is made once for each
// resolution it is shown at.
class InstructionsPage {
public:
    InstructionsPage();

    // The page at its natural size for a screen of the given logical resolution (dots per
    // inch across and down) and device pixel ratio.
    const QImage& image(qreal dpiX, qreal dpiY, qreal devicePixelRatio);
    // Taken from panels built for the purpose, on the first call.
    const std::array<QImage, PictureCount>& pictures();

private:
    QImage render(qreal dpiX, qreal dpiY, qreal devicePixelRatio);

    std::vector<PageLine> lines_;
    std::array<QImage, PictureCount> pictures_;
    QImage image_;
};
