// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "Exercise.h"
#include "PlotRecord.h"

#include <QByteArray>
#include <QPageLayout>
#include <QSize>
#include <QString>
#include <optional>

class QPagedPaintDevice;
class RetainedCanvas;

// The exercise on paper: a page with a header for the student's name, class and date, the
// assignment when there is one, the drawing across the page's width with its proportions kept,
// on white and with values along its axes, the exercise's values and, when a curve was drawn, its
// equations and how close it came to the target point.

struct SheetContents {
    const RetainedCanvas* drawing = nullptr;
    QSize drawingSize; // in window pixels
    ExerciseControls controls;
    PlotRecord lastPlot; // curve 0 when none was drawn
    // The calibration ratio the drawing's scale was last set up with: it places the values
    // along the axes. 0 when it never was: the axes carry no values.
    double Incr = 0;
    // What the teacher set: its text and rules above the drawing.
    std::optional<Assignment> assignment = std::nullopt;
    // Who did the exercise, on the header's "Nome" line; empty leaves the line blank.
    QString student = {};
};

// A4, portrait, with margins a printer can reach; the page's units, in dots per inch: a
// one-pixel line of the drawing stays about as thick as the drawing's other pixels.
QPageLayout sheetPageLayout();
constexpr int SheetResolution = 150;

// Paints the page within the device's paintable area, and the pages after it that a long
// assignment needs. False when the device cannot be painted on (a printer that refused the job).
bool paintSheet(QPagedPaintDevice& device, const SheetContents& sheet);

// The page as a PDF file, whole or not at all. Returns an empty string, or the message that
// tells the user why it could not be written.
QString saveSheet(const SheetContents& sheet, const QString& path,
                  const QPageLayout& layout = sheetPageLayout());
