#pragma once

#include "PrintedSheet.h"

class Form4;

// What the curve window puts on paper: its drawing, its controls and its latest curve.
SheetContents sheetOf(Form4& window);

// "Stampa…": the page in Qt's print preview, A4 portrait to begin with, from which it goes to
// any printer the system knows or to a PDF file. A failure is told in a message.
void printSheet(Form4& window);
