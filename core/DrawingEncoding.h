// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>
#include <optional>

class RetainedCanvas;

// A retained drawing as the contents of a picture file. PNG is the drawing at device
// resolution, pixel for pixel; SVG and PDF replay its operations at the window's size, so they
// stay sharp at any zoom or print resolution.
enum class DrawingFormat { Png, Svg, Pdf };

// windowSize is the drawing's size in window pixels; title names the SVG picture.
QByteArray encodeDrawing(RetainedCanvas& canvas, QSize windowSize, DrawingFormat format,
                         const QString& title = {});

// The format a file name's suffix stands for ("png", "svg", "pdf", in any case), and back.
std::optional<DrawingFormat> drawingFormatForSuffix(const QString& suffix);
QString suffixOf(DrawingFormat format);
