#pragma once

#include <QString>
#include <QStringList>

class Form4;

// "Apri esercizio…", "Salva esercizio" and "Salva esercizio con nome…" of the curve window: the
// exercise files, the file last opened or saved, and the folder last used in the session.
class ExerciseFiles {
public:
    explicit ExerciseFiles(Form4& window) : window_(window) {}

    // Asks for a file and opens it; opens a file. A file that cannot be opened is reported and
    // leaves the window as it was. True when an exercise was opened.
    bool openAsked();
    bool open(const QString& path);
    // Saves to the file last opened or saved, asking for a name the first time; asks for a name.
    // A failure is reported and leaves any existing file as it was. True when saved.
    bool save();
    bool saveAs();

    // The file last opened or saved, empty before the first.
    const QString& currentPath() const { return currentPath_; }

private:
    bool saveTo(const QString& path);
    void remember(const QString& path);
    // The folder last used, else the documents folder, else the home folder.
    QString folder() const;

    Form4& window_;
    QString currentPath_;
    QString lastFolder_;
};

// The dialogs' filters, and the file a chosen name leads to: ".curva" added when missing.
QStringList exerciseFileFilters();
QString exerciseTargetFor(const QString& chosenPath);
