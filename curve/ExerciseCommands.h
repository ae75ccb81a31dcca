// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "Exercise.h"

#include <QString>
#include <QStringList>

class CurveDocument;
class QWidget;
class WorkGate;
struct WindowSeams;

// "Apri esercizio…", "Esercizi recenti", "Salva esercizio" and "Salva esercizio con nome…" of the
// curve window: the exercise files, the file last opened or saved, the folder last used in the
// session, and the list of recent exercises kept between runs.
class ExerciseCommands {
public:
    // The commands act on the document of the given window, meet the user through its seams
    // and pass its gate before an opening.
    ExerciseCommands(QWidget& window, CurveDocument& document, const WindowSeams& seams,
                     WorkGate& gate)
        : window_(window), document_(document), seams_(seams), gate_(gate) {}

    // Whether an opening shows the assignment's text in the message "Consegna": a student meets
    // it first; the teacher reviewing the class wrote it.
    enum class AssignmentText { Shown, Skipped };

    // Asks for a file and opens it; opens a file. Both pass the window's gate first (see
    // WorkGate): a playing bar stops and unsaved changes are asked about, before the dialog. A
    // file that cannot be opened is reported and leaves the window as it was. True when an
    // exercise was opened.
    bool openAsked();
    bool open(const QString& path, AssignmentText text = AssignmentText::Shown);
    // Opens a file of the recent list; one that no longer exists leaves the list.
    bool openRecent(const QString& path);
    void forgetRecent();
    // Saves to the file last opened or saved, asking for a name the first time; asks for a name.
    // A failure is reported and leaves any existing file as it was. True when saved.
    // The first save after an assignment as handed out was opened asks who does it first
    // ("Chi svolge l'esercizio?"), then for a name, suggesting the assignment's followed by
    // " - " and the student's name (" - svolto" without one).
    bool save();
    bool saveAs();
    // "Nome dello studente…": who does the attempt at an assignment. False when cancelled.
    bool askStudentName();
    // "Salva consegna…": asks what the students get besides the values on the screen, then where
    // to save the assignment: those values and no curves. The work stays the window's.
    bool saveAssignment();

    // The file "Salva esercizio" writes, empty before the first opened or saved.
    const QString& currentPath() const;

    // The text of the assignment on the screen, empty without one; "Mostra consegna" shows it
    // again in the message the opening shows.
    QString assignmentText() const;
    void showAssignment() const;

private:
    bool openSettled(const QString& path, AssignmentText text);
    void showAssignment(const QString& text) const;
    // The file a save dialog's answer leads to, empty when cancelled.
    QString askTarget(const QString& title, const QString& suggested);
    bool saveTo(const QString& path);
    // Whole or not at all; a failure is reported.
    bool write(const QString& path, const Exercise& exercise);
    void remember(const QString& path);
    // Where the file dialogs start: the folder last used (see startingFolder).
    QString folder() const;

    QWidget& window_;
    CurveDocument& document_;
    const WindowSeams& seams_;
    WorkGate& gate_;
    QString lastFolder_;
};

// The dialogs' filters, whether a file's name is an exercise's, and the file a chosen name leads
// to: ".curva" added when missing.
QStringList exerciseFileFilters();
bool isExerciseFileName(const QString& path);
QString exerciseTargetFor(const QString& chosenPath);
