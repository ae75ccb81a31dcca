#pragma once

// The curve window as the exercise tests drive it: its file dialogs and its question about
// unsaved work answered from a script, its messages recorded.
#include "FileDialogAsker.h"
#include "Form4.h"
#include "RecordingPrompter.h"
#include "SaveQuestion.h"
#include "WidgetTesting.h"

#include <QFile>
#include <QStringList>
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

struct Window {
    RecordingPrompter prompter;
    ScriptedAsker asker;
    ScriptedQuestion question;
    Form4 form;
    double incr = 0.75;

    // The messages recorded, or shown in real message boxes.
    explicit Window(bool messageBoxes = false) : form(messageBoxes ? nullptr : &prompter) {
        form.readIncr = [this] { return incr; };
        form.resize(900, 700);
        form.setSaveFileAsker(asker);
        form.setOpenFileAsker(asker);
        form.setSaveQuestion(question);
    }
    // Shown, active and with its first drawing, as the program opens it.
    [[nodiscard]] bool drawn() {
        if (!showActive(form))
            return false;
        form.Form_Activate();
        return true;
    }
};

// A file's bytes, empty when it cannot be read.
inline QByteArray contentsOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

