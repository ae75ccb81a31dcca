// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The curve window as the exercise tests drive it: its file dialogs and its question about
// unsaved work answered from a script, its messages recorded.
#include "FileAskers.h"
#include "Form4.h"
#include "RecordingPrompter.h"
#include "SaveQuestion.h"
#include "StudentNameDialog.h"
#include "WidgetTesting.h"

#include <QDropEvent>
#include <QFile>
#include <QMenu>
#include <QMimeData>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>
#include <algorithm>
#include <functional>

// Answers the file dialogs with the names given, one per question.
class ScriptedAsker : public SaveFileAsker, public OpenFileAsker {
public:
    QStringList answers;
    QStringList suggested;
    QString askSaveFileName(const SaveChoice& choice, QString&) override {
        suggested << choice.suggestedPath;
        return answers.takeFirst();
    }
    QString askOpenFileName(const QString&, const QString&, const QStringList&) override {
        return answers.takeFirst();
    }
};

// Answers the question about unsaved changes as told, one answer per question; unexpected
// questions are cancelled. onAsk runs while the question is open.
class ScriptedQuestion : public SaveQuestion {
public:
    QList<Answer> answers;
    QStringList asked;
    std::function<void()> onAsk;
    Answer askToSave(const QString& text) override {
        asked << text;
        if (onAsk)
            onAsk();
        return answers.isEmpty() ? Answer::Cancel : answers.takeFirst();
    }
};

// Answers "Chi svolge l'esercizio?" as told, one answer per question (nothing: "Annulla"), and
// with the same name when not told.
class ScriptedName : public StudentNameAsker {
public:
    QList<std::optional<QString>> answers;
    QStringList shown;
    std::optional<QString> askStudentName(const QString& name) override {
        shown << name;
        return answers.isEmpty() ? std::optional<QString>("Anna Rossi") : answers.takeFirst();
    }
};

struct Window {
    RecordingPrompter prompter;
    ScriptedAsker asker;
    ScriptedQuestion question;
    ScriptedName name;
    Form4 form;
    double incr = 0.75;

    // The messages recorded, or shown in real message boxes.
    explicit Window(bool messageBoxes = false) : form(messageBoxes ? nullptr : &prompter) {
        form.readIncr = [this] { return incr; };
        form.resize(900, 700);
        form.replaceSeams({.saveFile = &asker,
                           .openFile = &asker,
                           .saveQuestion = &question,
                           .studentName = &name});
    }
    // Shown, active and with its first drawing, as the program opens it.
    [[nodiscard]] bool drawn() {
        if (!showActive(form))
            return false;
        form.Form_Activate();
        return true;
    }
};

// The user's settings in a folder of their own while it lives: no recent exercises at first.
class PrivateSettings {
public:
    PrivateSettings() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir_.path());
    }
    QString filePath(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
};

// An entry of the drawing's menu as it stands, filled afresh; "submenu/entry" for a submenu's.
inline QAction* menuEntry(Form4& form, QMenu& menu, const QString& path) {
    menu.clear();
    form.fillContextMenu(menu);
    QList<QAction*> actions = menu.actions();
    for (const QString& text : path.split('/')) {
        const auto found = std::find_if(actions.begin(), actions.end(),
                                        [&](const QAction* a) { return a->text() == text; });
        if (found == actions.end())
            return nullptr;
        if (text == path.section('/', -1))
            return *found;
        actions = (*found)->menu()->actions();
    }
    return nullptr;
}

inline void chooseEntry(Form4& form, const QString& path) {
    QMenu menu;
    menuEntry(form, menu, path)->trigger();
}

// While a bar plays, the menu offers to stop it.
inline bool playing(Form4& form) {
    QMenu menu;
    return menuEntry(form, menu, "Ferma animazione") != nullptr;
}

// A file dropped on the drawing, as the desktop sends it; it opens once the events are processed.
inline void dropFile(Form4& form, const QString& path) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    const QPoint at(form.width() - 20, form.height() - 20);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(form.windowHandle(), &enter);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(form.windowHandle(), &drop);
}

// A file's bytes, empty when it cannot be read.
inline QByteArray contentsOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}
