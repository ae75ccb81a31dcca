#include "DrawingExport.h"

#include "Prompter.h"
#include "RetainedCanvas.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
#include <QSaveFile>
#include <QStandardPaths>
#include <QSvgGenerator>

namespace {

// The vector files measure window pixels at the usual screen density, so they print at the
// size the window has on the screen.
constexpr int VectorDpi = 96;
constexpr double PointsPerInch = 72;

struct FormatInfo {
    DrawingFormat format;
    const char* suffix;
    const char* filter;
};
constexpr FormatInfo Formats[] = {
    {DrawingFormat::Png, "png", "Immagine PNG (*.png)"},
    {DrawingFormat::Svg, "svg", "Disegno vettoriale SVG (*.svg)"},
    {DrawingFormat::Pdf, "pdf", "Documento PDF (*.pdf)"},
};

QByteArray svgOf(const RetainedCanvas& canvas, QSize size) {
    QBuffer buffer;
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setResolution(VectorDpi);
    generator.setTitle(QStringLiteral("Curva"));
    generator.setDescription(QString());
    QPainter painter(&generator);
    canvas.paint(painter, size);
    painter.end();
    return buffer.data();
}

QByteArray pdfOf(const RetainedCanvas& canvas, QSize size) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(VectorDpi);
    const QPageSize page(QSizeF(size) * PointsPerInch / VectorDpi, QPageSize::Point, QString(),
                         QPageSize::ExactMatch);
    writer.setPageLayout(QPageLayout(page, QPageLayout::Portrait, QMarginsF()));
    QPainter painter(&writer);
    canvas.paint(painter, size);
    painter.end();
    return buffer.data();
}

QByteArray pngOf(RetainedCanvas& canvas) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    canvas.image().save(&buffer, "PNG");
    return buffer.data();
}

// Why a file could not be opened or replaced, in words the user can act on.
QString reasonFor(const QString& path, QFileDevice::FileError error) {
    const QFileInfo target(path);
    const QFileInfo folder(target.absolutePath());
    if (!folder.exists())
        return QStringLiteral("la cartella non esiste");
    if (!folder.isDir())
        return QStringLiteral("%1 non è una cartella")
            .arg(QDir::toNativeSeparators(folder.filePath()));
    if (target.isDir())
        return QStringLiteral("esiste già una cartella con questo nome");
    if (error == QFileDevice::RenameError)
        return QStringLiteral("il file esistente non può essere sostituito");
    return QStringLiteral("non è permesso scrivere in questa cartella");
}

bool confirmReplace(QWidget* parent, const QString& path) {
    // Like the program's messages: no icon, on the box or on its buttons.
    QMessageBox box(
        QMessageBox::NoIcon, QCoreApplication::applicationName(),
        QStringLiteral("Il file \"%1\" esiste già. Sostituirlo?").arg(QFileInfo(path).fileName()),
        QMessageBox::Yes | QMessageBox::No, parent);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Sostituisci"));
    box.button(QMessageBox::No)->setText(QStringLiteral("Annulla"));
    for (QAbstractButton* button : box.buttons())
        button->setIcon(QIcon());
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

} // namespace

QByteArray encodeDrawing(RetainedCanvas& canvas, QSize windowSize, DrawingFormat format) {
    switch (format) {
    case DrawingFormat::Svg:
        return svgOf(canvas, windowSize);
    case DrawingFormat::Pdf:
        return pdfOf(canvas, windowSize);
    case DrawingFormat::Png:
        break;
    }
    return pngOf(canvas);
}

QString saveDrawing(RetainedCanvas& canvas, QSize windowSize, const QString& path,
                    DrawingFormat format) {
    const auto failure = [&path](const QString& reason) {
        return QStringLiteral("Impossibile salvare l'immagine in \"%1\": %2.")
            .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()), reason);
    };
    const QByteArray contents = encodeDrawing(canvas, windowSize, format);
    if (contents.isEmpty())
        return failure(QStringLiteral("il disegno non ha potuto essere convertito"));
    // Written into a temporary file next to the target and renamed over it only when complete.
    // Unbuffered: a buffered write that falls short when the disk fills up is flushed by
    // commit(), which ignores the failure and puts the truncated file in place.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failure(reasonFor(path, file.error()));
    if (file.write(contents) != contents.size()) {
        file.cancelWriting();
        return failure(QStringLiteral("la scrittura si è interrotta, forse il disco è pieno"));
    }
    if (!file.commit())
        return failure(reasonFor(path, file.error()));
    return {};
}

QStringList drawingFileFilters() {
    QStringList filters;
    for (const FormatInfo& f : Formats)
        filters << QString::fromUtf8(f.filter);
    return filters;
}

DrawingTarget drawingTargetFor(const QString& chosenPath, const QString& selectedFilter) {
    const QString suffix = QFileInfo(chosenPath).suffix().toLower();
    for (const FormatInfo& f : Formats)
        if (suffix == QLatin1String(f.suffix))
            return {chosenPath, f.format};
    for (const FormatInfo& f : Formats)
        if (selectedFilter == QString::fromUtf8(f.filter))
            return {chosenPath + '.' + f.suffix, f.format};
    return {chosenPath + QStringLiteral(".png"), DrawingFormat::Png};
}

QString defaultDrawingPath() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QDir::homePath();
    return QDir(folder).filePath(QStringLiteral("curva.png"));
}

QString FileDialogAsker::askSaveFileName(const QString& suggestedPath, const QStringList& filters,
                                         QString& selectedFilter) {
    QFileDialog dialog(parent_, QStringLiteral("Salva immagine"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // Qt's own words would be English: the program loads no translations.
    dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("Cerca in:"));
    dialog.setLabelText(QFileDialog::FileName, QStringLiteral("Nome file:"));
    dialog.setLabelText(QFileDialog::FileType, QStringLiteral("Tipo:"));
    dialog.setLabelText(QFileDialog::Accept, QStringLiteral("Salva"));
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("Annulla"));
    dialog.setNameFilters(filters);
    dialog.setDirectory(QFileInfo(suggestedPath).absolutePath());
    dialog.selectFile(QFileInfo(suggestedPath).fileName());
    // A name typed without a suffix gets the chosen format's, before the dialog asks whether
    // to replace an existing file of that name.
    const auto followFilter = [&dialog](const QString& filter) {
        dialog.setDefaultSuffix(
            QFileInfo(drawingTargetFor(QStringLiteral("x"), filter).path).suffix());
    };
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, followFilter);
    followFilter(filters.value(0));
    // The dialog's own question on replacing a file would be English: asked here instead, on
    // the name that will really be written, and "no" goes back to the dialog.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    while (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        const QString chosen = dialog.selectedFiles().constFirst();
        const QString target = drawingTargetFor(chosen, dialog.selectedNameFilter()).path;
        if (QFileInfo::exists(target) && !confirmReplace(parent_, target))
            continue;
        selectedFilter = dialog.selectedNameFilter();
        return chosen;
    }
    return {};
}

QString saveDrawingAs(RetainedCanvas& canvas, QSize windowSize, SaveFileAsker& asker,
                      Prompter& prompter) {
    QString filter = drawingFileFilters().constFirst();
    const QString chosen =
        asker.askSaveFileName(defaultDrawingPath(), drawingFileFilters(), filter);
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
