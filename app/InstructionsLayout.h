// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QPointF>
#include <QRectF>
#include <QString>
#include <array>
#include <vector>

// The instructions page of Form1 as a document: 22 paragraphs of Courier New 10 pt that run
// beside six pictures of the curve window's panels. Every position is in points from the
// page's top-left corner.

constexpr qreal PointsPerMillimetre = 72.0 / 25.4;
constexpr qreal PageWidth = 170.0 * PointsPerMillimetre;
constexpr qreal PageHeight = 155.86 * PointsPerMillimetre;

// Courier New 10 pt: every character advances 6 points, and the lines follow each other every
// 34/3 points with the baseline 26/3 points below the top of its line.
constexpr qreal PageFontPointSize = 10.0;
constexpr qreal CharacterAdvance = 6.0;
constexpr qreal LinePitch = 34.0 / 3.0;
constexpr qreal BaselineBelowTop = 26.0 / 3.0;

constexpr int ParagraphCount = 22;
// Paragraph 1 to 22; an empty text is an empty paragraph.
QString instructionParagraph(int number);

// A picture of a panel and the x at which the lines beside it begin: text runs on the
// picture's right side only.
struct PagePicture {
    QRectF place;
    qreal textLeft;
};
constexpr int PictureCount = 6;
extern const std::array<PagePicture, PictureCount> PagePictures;

// One line of text: where it starts (x and baseline) and what it holds, blanks included.
struct PageLine {
    int paragraph;
    QPointF origin;
    QString text;
};

// Lays the paragraphs out one line after the other, each line breaking at the last blank that
// lets it fit between its left edge and the page's right edge; the blanks at a break stay at
// the end of the line. An empty paragraph takes one line.
std::vector<PageLine> layOutInstructions();
