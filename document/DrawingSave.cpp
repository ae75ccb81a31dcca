// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "DrawingSave.h"

#include "AtomicFile.h"
#include "FileAskers.h"
#include "Prompter.h"
#include "StartingFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

constexpr struct {
    DrawingFormat format;
    const char* filter;
} Filters[] = {
    {DrawingFormat::Png, "Immagine PNG (*.png)"},
    {DrawingFormat::Svg, "Disegno vettoriale SVG (*.svg)"},
    {DrawingFormat::Pdf, "Documento PDF (*.pdf)"},
};

} // namespace

QStringList drawingFileFilters() {
    QStringList filters;
    for (const auto& f : Filters)
        filters << QString::fromUtf8(f.filter);
    return filters;
}

DrawingTarget drawingTargetFor(const QString& chosenPath, const QString& selectedFilter) {
    if (const auto known = drawingFormatForSuffix(QFileInfo(chosenPath).suffix()))
        return {chosenPath, *known};
    for (const auto& f : Filters)
        if (selectedFilter == QString::fromUtf8(f.filter))
            return {chosenPath + '.' + suffixOf(f.format), f.format};
    return {chosenPath + QStringLiteral(".png"), DrawingFormat::Png};
}

QString defaultDrawingPath() {
    return QDir(startingFolder(UsersFolder::Pictures)).filePath(QStringLiteral("curva.png"));
}

QString saveDrawing(RetainedCanvas& canvas, QSize windowSize, const QString& path,
                    DrawingFormat format) {
    const QString what = QStringLiteral("l'immagine");
    const QByteArray contents = encodeDrawing(canvas, windowSize, format, QStringLiteral("Curva"));
    if (contents.isEmpty())
        return saveFailureMessage(what, path,
                                  QStringLiteral("il disegno non ha potuto essere convertito"));
    const QString reason = writeFileAtomically(path, contents);
    return reason.isEmpty() ? QString() : saveFailureMessage(what, path, reason);
}

QString saveDrawingAs(RetainedCanvas& canvas, QSize windowSize, SaveFileAsker& asker,
                      Prompter& prompter) {
    const SaveChoice choice{QStringLiteral("Salva immagine"), defaultDrawingPath(),
                            drawingFileFilters(), [](const QString& chosen, const QString& filter) {
                                return drawingTargetFor(chosen, filter).path;
                            }};
    QString filter = choice.filters.constFirst();
    const QString chosen = asker.askSaveFileName(choice, filter);
    if (chosen.isEmpty())
        return {};
    const DrawingTarget target = drawingTargetFor(chosen, filter);
    const QString failure = saveDrawing(canvas, windowSize, target.path, target.format);
    if (!failure.isEmpty()) {
        prompter.MsgBox(failure);
        return {};
    }
    return target.path;
}
