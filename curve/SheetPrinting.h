// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "PrintedSheet.h"

class CurveDocument;
class Prompter;
class QWidget;

// What the curve window puts on paper: its drawing, its controls and its latest curve.
SheetContents sheetOf(CurveDocument& document);

// "Stampa…": the page in Qt's print preview, A4 portrait to begin with, from which it goes to
// any printer the system knows or to a PDF file. A failure is told in a message.
void printSheet(QWidget& window, const SheetContents& sheet, Prompter& prompter);
