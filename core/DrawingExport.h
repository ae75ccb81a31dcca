#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>
#include <QStringList>

class Prompter;
class QWidget;
class RetainedCanvas;

// Saving a retained drawing as a file. PNG is the drawing at device resolution, pixel for
// pixel; SVG and PDF replay its operations at the window's size, so they stay sharp at any
// zoom or print resolution.
enum class DrawingFormat { Png, Svg, Pdf };

// The file's contents; windowSize is the drawing's size in window pixels.
QByteArray encodeDrawing(RetainedCanvas& canvas, QSize windowSize, DrawingFormat format);

// Writes the file whole or not at all: on failure any existing file is left as it was and no
// partial file remains. Returns an empty string, or the message that tells the user why.
QString saveDrawing(RetainedCanvas& canvas, QSize windowSize, const QString& path,
                    DrawingFormat format);

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

// Asks where to save; an empty path means the user cancelled.
class SaveFileAsker {
public:
    virtual ~SaveFileAsker() = default;
    virtual QString askSaveFileName(const QString& suggestedPath, const QStringList& filters,
                                    QString& selectedFilter) = 0;
};

// The real file dialog, modal over the given window.
class FileDialogAsker final : public SaveFileAsker {
public:
    explicit FileDialogAsker(QWidget* parent) : parent_(parent) {}
    QString askSaveFileName(const QString& suggestedPath, const QStringList& filters,
                            QString& selectedFilter) override;

private:
    QWidget* parent_;
};

// "Salva immagine…": asks for a file, writes it and reports a failure as a message. Returns the
// path written, empty when nothing was.
QString saveDrawingAs(RetainedCanvas& canvas, QSize windowSize, SaveFileAsker& asker,
                      Prompter& prompter);
