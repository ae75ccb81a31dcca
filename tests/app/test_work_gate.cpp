// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

// The gate of the curve window's work, through the real windows: every entry that replaces,
// closes or changes the work, with a bar playing or not and with unsaved changes or none. What
// the user meets: the save question asked or not, on the work as the bar left it; the bar
// stopped; the exercise's file written or left as it was.
#include "ApplyQuestion.h"
#include "AssignmentDialog.h"
#include "ClassSummaryDialog.h"
#include "ExerciseCommands.h"
#include "ExerciseFile.h"
#include "ExerciseWindow.h"
#include "Form2.h"
#include "Forms.h"
#include "RecentExercises.h"

#include <QDir>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <optional>

namespace {

// The teacher keeps the assignment as shown, the search's answer is closed without applying it,
// and the class summary's folder is given.
class Answers : public AssignmentAsker, public ApplyQuestion, public FolderAsker {
public:
    QString folder;
    std::optional<Assignment> askAssignment(const Assignment& shown) override { return shown; }
    bool askToApply(const QString&) override { return false; }
    QString askFolder(const QString&, const QString&) override { return folder; }
};

// The summary shown beside the window, as its menu's entry shows it but without passing the
// entry's own gate, and its "Apri".
void openFromClassSummary(Form4& form, Answers& answers, const QString& path) {
    answers.folder = QFileInfo(path).path();
    ClassSummaryDialog* dialog = showClassSummary(
        form, form.seams(),
        [&form](const QString& path) { return form.exerciseCommands().open(path); }, nullptr);
    for (QPushButton* button : dialog->findChildren<QPushButton*>())
        if (button->text() == "Apri")
            button->click();
}

} // namespace

class TestWorkGate : public QObject {
    Q_OBJECT

    std::optional<PrivateSettings> settings_;

private slots:
    void initTestCase() { useLocale(); }
    void init() { settings_.emplace(); }

    void everyEntryPassesTheGate_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<bool>("dropsWork");
        QTest::addColumn<bool>("barPlaying");
        QTest::addColumn<bool>("changed");
        const QStringList dropping = {"Apri esercizio…",
                                      "Esercizi recenti/altro.curva",
                                      "a dropped file",
                                      "Apri of the class summary",
                                      "ESCI",
                                      "ESCI of the calibration window",
                                      "closing the window"};
        const QStringList keeping = {"Annulla curva", "Ripeti curva", "Trova spostamenti…",
                                     "Salva esercizio", "Salva consegna…"};
        for (const QString& entry : dropping + keeping)
            for (const bool barPlaying : {false, true})
                for (const bool changed : {false, true})
                    QTest::addRow("%s, %s, %s", qPrintable(entry),
                                  barPlaying ? "bar playing" : "bar still",
                                  changed ? "changed" : "unchanged")
                        << entry << dropping.contains(entry) << barPlaying << changed;
    }
    void everyEntryPassesTheGate() {
        QFETCH(QString, entry);
        QFETCH(bool, dropsWork);
        QFETCH(bool, barPlaying);
        QFETCH(bool, changed);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("classe"));
        const QString path = dir.filePath("compito.curva");
        const QString other = dir.filePath("classe/altro.curva");
        RecordingPrompter prompter;
        bool ended = false;
        Forms forms(&prompter, [&ended] { ended = true; });
        Form4& form = forms.form4();
        ScriptedAsker files;
        ScriptedQuestion question;
        Answers answers;
        form.replaceSeams({.saveFile = &files,
                           .openFile = &files,
                           .folder = &answers,
                           .saveQuestion = &question,
                           .applyQuestion = &answers,
                           .assignment = &answers});
        Exercise exercise = form.exercise();
        exercise.Incr = 0.75;
        exercise.drawingSize = QSize(800, 600);
        QVERIFY(writeFile(path, exerciseToJson(exercise)) &&
                writeFile(other, exerciseToJson(exercise)));
        storeRecentExercises(RecentExercises({other}));
        QVERIFY(forms.openExercise(path));
        QVERIFY(QTest::qWaitForWindowActive(&form));

        // A curve to take back and one to do again, whatever the row.
        form.Command1_Click();
        QVERIFY(form.exerciseCommands().save());
        form.Command1_Click();
        if (changed)
            form.Command1_Click();
        form.history().undo();
        QSignalSpy frames(form.HScroll1, &QScrollBar::valueChanged);
        if (barPlaying) {
            chooseEntry(form, "Anima barra orizzontale");
            QTRY_VERIFY_WITH_TIMEOUT(frames.count() >= 2, 5000);
            // Whatever forgot the gate would still find the bar's curves unsaved.
            QVERIFY(form.document().hasUnsavedChanges());
        }
        const QByteArray before = contentsOf(path);
        std::optional<QByteArray> shownWhenAsked;
        question.answers = {SaveQuestion::Answer::Save};
        question.onAsk = [&] {
            QVERIFY(!playing(form));
            shownWhenAsked = exerciseToJson(form.exercise());
        };

        files.answers = {entry == "Apri esercizio…" ? other : dir.filePath("consegna.curva")};
        if (entry == "a dropped file") {
            dropFile(form, other);
            QCoreApplication::processEvents();
        } else if (entry == "Apri of the class summary") {
            openFromClassSummary(form, answers, other);
        } else if (entry == "ESCI") {
            form.Command3->click();
        } else if (entry == "ESCI of the calibration window") {
            forms.form2().Command3->click();
        } else if (entry == "closing the window") {
            form.close();
        } else {
            chooseEntry(form, entry);
        }
        const int framesShown = frames.count();
        QTest::qWait(100);
        QCOMPARE(frames.count(), framesShown);
        QVERIFY(!playing(form));

        const bool asked = dropsWork && (barPlaying || changed);
        QCOMPARE(question.asked.size(), asked ? 1 : 0);
        if (entry == "Salva esercizio")
            shownWhenAsked = exerciseToJson(form.exercise());
        QCOMPARE(contentsOf(path), shownWhenAsked.value_or(before));
        if (barPlaying && shownWhenAsked)
            QCOMPARE(readExerciseFile(path).exercise->controls.HScroll1,
                     frames.constLast().constFirst().toInt());
    }
};

QTEST_MAIN(TestWorkGate)
#include "test_work_gate.moc"
