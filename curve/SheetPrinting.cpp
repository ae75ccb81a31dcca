// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "SheetPrinting.h"

#include "CurveDocument.h"
#include "KeptDrawing.h"
#include "Prompter.h"

#include <QPaintEngine>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>

namespace {

// Printing to a PDF file, chosen in the print dialog; the preview paints on the same printer
// through a picture engine of its own.
bool printsToFile(QPrinter& printer) {
    return printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty() &&
           printer.paintEngine()->type() != QPaintEngine::Picture;
}

} // namespace

SheetContents sheetOf(CurveDocument& document) {
    const Exercise exercise = document.exercise();
    return {.drawing = &document.drawing().retainedDrawing(),
            .drawingSize = exercise.drawingSize,
            .controls = exercise.controls,
            .lastPlot = exercise.curves.empty() ? PlotRecord() : exercise.curves.back(),
            .Incr = exercise.Incr,
            .assignment = exercise.assignment,
            .student = exercise.student};
}

void printSheet(QWidget& window, const SheetContents& sheet, Prompter& prompter) {
    QPrinter printer;
    printer.setResolution(SheetResolution);
    printer.setPageLayout(sheetPageLayout());
    printer.setDocName(QStringLiteral("Curve sulla corda"));
    QPrintPreviewDialog dialog(&printer, &window);
    // Qt's own size shows the page too small to read.
    if (const QScreen* screen = window.screen())
        dialog.resize(screen->availableGeometry().size() * 3 / 4);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&prompter, &sheet](QPrinter* target) {
                         // A file is written whole or not at all, as every file the program
                         // writes; the printer would write it as it goes.
                         if (printsToFile(*target)) {
                             const QString failure =
                                 saveSheet(sheet, target->outputFileName(), target->pageLayout());
                             if (!failure.isEmpty())
                                 prompter.MsgBox(failure);
                             return;
                         }
                         if (!paintSheet(*target, sheet))
                             prompter.MsgBox(
                                 QStringLiteral("Impossibile stampare la pagina: la stampante non "
                                                "ha accettato il lavoro."));
                     });
    dialog.exec();
}
