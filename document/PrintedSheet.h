// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "Exercise.h"
#include "PlotRecord.h"

#include <QByteArray>
#include <QPageLayout>
#include <QSize>
#include <QString>

class QPagedPaintDevice;
class RetainedCanvas;

// The exercise on paper: one page with a header for the student's name, class and date, the
// drawing across the page's width with its proportions kept, the exercise's values and, when a
// curve was drawn, its equations and how close it came to the target point.

struct SheetContents {
    const RetainedCanvas* drawing = nullptr;
    QSize drawingSize; // in window pixels
    ExerciseControls controls;
    PlotRecord lastPlot; // curve 0 when none was drawn
};

// A4, portrait, with margins a printer can reach; the page's units, in dots per inch: a
// one-pixel line of the drawing stays about as thick as the drawing's other pixels.
QPageLayout sheetPageLayout();
constexpr int SheetResolution = 150;

// Paints the page within the device's paintable area. False when the device cannot be painted
// on (a printer that refused the job).
bool paintSheet(QPagedPaintDevice& device, const SheetContents& sheet);

// The page as a PDF file, whole or not at all. Returns an empty string, or the message that
// tells the user why it could not be written.
QString saveSheet(const SheetContents& sheet, const QString& path,
                  const QPageLayout& layout = sheetPageLayout());
