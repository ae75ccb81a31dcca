// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "InstructionsLayout.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr QStringView Paragraphs[ParagraphCount] = {
    u"",
    u"Tutti i dati che compaiono nelle caselle sono dati di partenza, puramente indicativi.",
    u"",
    u"SEGMENTO: traccia il segmento (corda) di partenza su cui  si svolge la curva e ne indica "
    u"l’inizio e la fine.",
    u"",
    u"",
    u"",
    u"Il PUNTO da …………  serve come indicazione da raggiungere con la curva tramite gli "
    u"SPOSTAMENTI, non necessario ma utile.",
    u"",
    u"",
    u"INCREMENTO DI ALFA aumenta il valore dell’angolo in verticale e in orizzontale a seguito "
    u"dello SPOSTAMENTO VERTICALE  o ORIZZONTALE.",
    u"",
    u"",
    u"L’Incremento dei Punti-Curva aumenta il numero dei punti-grafici che compongono la curva, "
    u"poichè più è grande la curva più tendono a diradarsi. ",
    u"",
    u"Si può scegliere di tracciare le Curve singolarmente o tutte.",
    u"",
    u"I valori positivi e negativi degli spostamenti sono propri di questo programma; mentre la "
    u"casella con i numeri in neretto sono i valori degli spostamenti: sulla freccetta lo "
    u"spostamento è di 1 unità mentre all’interno della barra è di 50. I valori che compariranno "
    u"potranno servire per ricomporre l’equazione originaria in altra parte.",
    u"",
    u"",
    u"",
    u"",
};

// The left edge of a line whose top is at the given y: beside a picture, the picture's text
// start; elsewhere the page's left edge.
qreal lineLeft(qreal top) {
    qreal left = 0;
    for (const PagePicture& picture : PagePictures) {
        const qreal pictureTop = picture.place.top();
        const qreal pictureBottom = picture.place.bottom();
        if (top < pictureBottom && top + LinePitch > pictureTop)
            left = std::max(left, picture.textLeft);
    }
    return left;
}

// How many characters of rest the line takes: as many words as fit in capacity characters,
// the blanks after the last of them included; a word longer than the line is cut.
qsizetype lineLength(QStringView rest, qsizetype capacity) {
    qsizetype end = 0;
    while (end < rest.size()) {
        qsizetype wordEnd = end;
        while (wordEnd < rest.size() && rest[wordEnd] == u' ')
            ++wordEnd;
        while (wordEnd < rest.size() && rest[wordEnd] != u' ')
            ++wordEnd;
        if (wordEnd > capacity)
            break;
        end = wordEnd;
    }
    if (end == 0)
        end = std::min(capacity, rest.size());
    while (end < rest.size() && rest[end] == u' ')
        ++end;
    return end;
}

} // namespace

const std::array<PagePicture, PictureCount> PagePictures = {{
    {QRectF(0, 43, 174, 67), 183},
    {QRectF(6, 108, 150, 43), 165},
    {QRectF(12, 153, 109, 59), 130},
    {QRectF(12, 227, 97, 27), 118},
    {QRectF(12, 263, 70, 24), 91},
    {QRectF(0, 295, 287, 76), 297},
}};

QString instructionParagraph(int number) {
    return Paragraphs[number - 1].toString();
}

std::vector<PageLine> layOutInstructions() {
    std::vector<PageLine> lines;
    int lineIndex = 0;
    for (int paragraph = 1; paragraph <= ParagraphCount; ++paragraph) {
        const QStringView text = Paragraphs[paragraph - 1];
        qsizetype start = 0;
        do {
            const qreal top = lineIndex * LinePitch;
            const qreal baseline = top + BaselineBelowTop;
            const qreal left = lineLeft(top);
            const auto capacity =
                static_cast<qsizetype>(std::floor((PageWidth - left) / CharacterAdvance));
            const qsizetype length = lineLength(text.mid(start), capacity);
            lines.push_back(
                {paragraph, QPointF(left, baseline), text.mid(start, length).toString()});
            start += length;
            ++lineIndex;
        } while (start < text.size());
    }
    return lines;
}
