// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "DrawingEncoding.h"

#include <QSize>
#include <QString>
#include <QStringList>

class Prompter;
class RetainedCanvas;
class SaveFileAsker;

// "Salva immagine…": the curve window's drawing saved as a picture file.

// The file dialog's filters, PNG first, and what a chosen name and filter mean: the format of a
// known suffix, otherwise that of the filter with its suffix added.
QStringList drawingFileFilters();
struct DrawingTarget {
    QString path;
    DrawingFormat format;
};
DrawingTarget drawingTargetFor(const QString& chosenPath, const QString& selectedFilter);
// curva.png in the user's pictures folder, or in the home folder when there is none.
QString defaultDrawingPath();

// Writes the picture whole or not at all. Returns an empty string, or the message that tells
// the user why it could not be written.
QString saveDrawing(RetainedCanvas& canvas, QSize windowSize, const QString& path,
                    DrawingFormat format);

// Asks for a file, writes it and reports a failure as a message. Returns the path written,
// empty when nothing was.
QString saveDrawingAs(RetainedCanvas& canvas, QSize windowSize, SaveFileAsker& asker,
                      Prompter& prompter);
