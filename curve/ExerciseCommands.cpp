// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ExerciseCommands.h"

#include "AssignmentDialog.h"
#include "AssignmentWork.h"
#include "AtomicFile.h"
#include "CurveDocument.h"
#include "ExerciseFile.h"
#include "FileAskers.h"
#include "LongWorkProgress.h"
#include "Prompter.h"
#include "RecentExercises.h"
#include "StartingFolder.h"
#include "StudentNameDialog.h"
#include "WindowSeams.h"
#include "WorkGate.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString Suffix = QStringLiteral("curva");

// Shows "Apertura di …" with "Annulla" once a drawing looks like taking more than about half a
// second; cancelling stops it.
class OpeningProgress final : public DrawingProgress {
public:
    OpeningProgress(QWidget* window, const QString& name)
        : progress_(window, QStringLiteral("Apertura di %1").arg(name)) {}
    bool proceed(double done, double total) override { return progress_.proceed(done, total); }

private:
    LongWorkProgress progress_;
};

} // namespace

QStringList exerciseFileFilters() {
    return {QStringLiteral("Esercizio (*.curva)")};
}

bool isExerciseFileName(const QString& path) {
    return QFileInfo(path).suffix().compare(Suffix, Qt::CaseInsensitive) == 0;
}

QString exerciseTargetFor(const QString& chosenPath) {
    return isExerciseFileName(chosenPath) ? chosenPath : chosenPath + '.' + Suffix;
}

QString ExerciseCommands::folder() const {
    return startingFolder(UsersFolder::Documents, lastFolder_);
}

const QString& ExerciseCommands::currentPath() const {
    return document_.path();
}

void ExerciseCommands::remember(const QString& path) {
    lastFolder_ = QFileInfo(path).absolutePath();
    RecentExercises recent = loadRecentExercises();
    recent.add(path);
    storeRecentExercises(recent);
}

bool ExerciseCommands::openAsked() {
    if (!gate_.pass(WorkGate::Change::Drops))
        return false;
    const QString path = seams_.openFile->askOpenFileName(QStringLiteral("Apri esercizio"),
                                                          folder(), exerciseFileFilters());
    return !path.isEmpty() && openSettled(path, AssignmentText::Shown);
}

bool ExerciseCommands::open(const QString& path, AssignmentText text) {
    return gate_.pass(WorkGate::Change::Drops) && openSettled(path, text);
}

bool ExerciseCommands::openSettled(const QString& path, AssignmentText text) {
    lastFolder_ = QFileInfo(path).absolutePath();
    const ExerciseReading reading = readExerciseFile(path);
    if (!reading.exercise) {
        seams_.messages->MsgBox(reading.message);
        return false;
    }
    OpeningProgress progress(&window_, QFileInfo(path).fileName());
    if (!document_.open(*reading.exercise, path, &progress))
        return false;
    remember(path);
    // The teacher's words come first, once the window that shows the exercise is up; they are
    // the ones of this opening, whatever is opened before the message shows.
    const QString words = assignmentText();
    if (text == AssignmentText::Shown && !words.isEmpty())
        QMetaObject::invokeMethod(
            &window_, [this, words] { showAssignment(words); }, Qt::QueuedConnection);
    return true;
}

QString ExerciseCommands::assignmentText() const {
    const std::optional<Assignment>& assignment = document_.assignment();
    return assignment ? assignment->text : QString();
}

void ExerciseCommands::showAssignment() const {
    showAssignment(assignmentText());
}

void ExerciseCommands::showAssignment(const QString& text) const {
    seams_.messages->MsgBox(QStringLiteral("Consegna"), text);
}

bool ExerciseCommands::openRecent(const QString& path) {
    if (open(path))
        return true;
    // A file that is there but refused stays: it may open again once mended.
    if (!QFileInfo::exists(path)) {
        RecentExercises recent = loadRecentExercises();
        recent.remove(path);
        storeRecentExercises(recent);
    }
    return false;
}

void ExerciseCommands::forgetRecent() {
    storeRecentExercises(RecentExercises());
}

bool ExerciseCommands::save() {
    // An attempt never lands on the assignment as handed out without a name chosen for it.
    const bool handout = document_.file().handout;
    return currentPath().isEmpty() || handout ? saveAs() : saveTo(currentPath());
}

bool ExerciseCommands::saveAs() {
    QString suggested = currentPath();
    if (suggested.isEmpty())
        suggested = QDir(folder()).filePath(QStringLiteral("esercizio.curva"));
    else if (document_.file().handout) {
        if (!askStudentName())
            return false;
        // A name is a file's name too: a slash would make it a folder.
        QString who = document_.student();
        who.replace(u'/', u'-');
        if (who.isEmpty())
            who = QStringLiteral("svolto");
        suggested = QFileInfo(suggested).dir().filePath(
            QStringLiteral("%1 - %2.curva").arg(QFileInfo(suggested).completeBaseName(), who));
    }
    const QString chosen = askTarget(QStringLiteral("Salva esercizio"), suggested);
    return !chosen.isEmpty() && saveTo(chosen);
}

bool ExerciseCommands::askStudentName() {
    const std::optional<QString> name = seams_.studentName->askStudentName(document_.student());
    if (!name)
        return false;
    document_.setStudent(*name);
    return true;
}

bool ExerciseCommands::saveAssignment() {
    const std::optional<Assignment> assignment =
        seams_.assignment->askAssignment(document_.assignment().value_or(Assignment()));
    if (!assignment)
        return false;
    const QString chosen = askTarget(QStringLiteral("Salva consegna"),
                                     QDir(folder()).filePath(QStringLiteral("consegna.curva")));
    if (chosen.isEmpty() || !write(chosen, assignmentOf(document_.exercise(), *assignment)))
        return false;
    remember(chosen);
    return true;
}

QString ExerciseCommands::askTarget(const QString& title, const QString& suggested) {
    const SaveChoice choice{
        title, suggested, exerciseFileFilters(),
        [](const QString& chosen, const QString&) { return exerciseTargetFor(chosen); }};
    QString filter = choice.filters.constFirst();
    const QString chosen = seams_.saveFile->askSaveFileName(choice, filter);
    return chosen.isEmpty() ? chosen : exerciseTargetFor(chosen);
}

bool ExerciseCommands::saveTo(const QString& path) {
    if (!write(path, document_.exercise()))
        return false;
    document_.saved(path);
    remember(path);
    return true;
}

bool ExerciseCommands::write(const QString& path, const Exercise& exercise) {
    QString reason = whyNotWritable(exercise);
    if (reason.isEmpty())
        reason = writeFileAtomically(path, exerciseToJson(exercise));
    if (reason.isEmpty())
        return true;
    seams_.messages->MsgBox(saveFailureMessage(QStringLiteral("l'esercizio"), path, reason));
    return false;
}
