// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

// The curve window's work as a document: every step taken back and done again through the real
// window, an exercise opened and saved, a refused file leaving the window as it was, the recent
// exercises and dropped files.
#include "ExerciseFile.h"
#include "ExerciseWindow.h"
#include "ExerciseCommands.h"
#include "FileAskers.h"
#include "Form4.h"
#include "PlotText.h"
#include "RecordingPrompter.h"
#include "SaveQuestion.h"
#include "ScrollBar.h"
#include "WidgetTesting.h"

#include <QCheckBox>
#include <QDropEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <functional>
#include <optional>

namespace {

// What a user sees of the window: the drawing, the controls and the menu's first line, with the
// origin where the next plot will be drawn.
struct Seen {
    QImage drawing;
    QStringList controls;
    QString distance;
    bool operator==(const Seen&) const = default;
};

Seen seen(Form4& form) {
    QStringList controls;
    for (QLineEdit* field : form.findChildren<QLineEdit*>())
        controls << field->objectName() + '=' + field->text();
    controls << QString::number(form.HScroll1->value()) << QString::number(form.HScroll2->value())
             << form.Check1->text() << "CY=" + QString::number(form.model().CY);
    controls.sort();
    return {form.drawing().copy(), controls, distanceLine(form.model().lastPlot())};
}

char* describe(const Seen& s) {
    return qstrdup(qPrintable(s.controls.join(' ') + " | " + s.distance));
}

// Stops a drawing when it has drawn some curves.
class StoppingProgress : public DrawingProgress {
public:
    int curvesLeft;
    explicit StoppingProgress(int curves) : curvesLeft(curves) {}
    bool proceed(double, double) override { return curvesLeft-- > 0; }
};

QAction* entry(const QMenu& menu, const QString& text) {
    for (QAction* action : menu.actions())
        if (action->text() == text)
            return action;
    return nullptr;
}

// The submenu of recent exercises as a new menu shows it: each file's name without ".curva",
// when its tooltip and status tip give the file in the folder; in brackets when disabled.
QStringList recentEntries(Form4& form, const QString& folder) {
    QMenu menu;
    form.fillContextMenu(menu);
    const QAction* submenu = entry(menu, "Esercizi recenti");
    QStringList names;
    for (const QAction* action : submenu->menu()->actions()) {
        const bool file = action->toolTip() == folder + '/' + action->text() &&
                          action->statusTip() == action->toolTip();
        names << (file ? action->text().chopped(6) : action->text());
    }
    if (names.mid(names.size() - 2) == QStringList{"", "Svuota elenco"})
        names.resize(names.size() - 2);
    return submenu->isEnabled() ? names : QStringList{'(' + names.join(' ') + ')'};
}

} // namespace

namespace QTest {
template <> char* toString(const Seen& s) {
    return describe(s);
}
} // namespace QTest

class Form4ExerciseTest : public QObject {
    Q_OBJECT

    std::optional<PrivateSettings> settings_;

private slots:
    void initTestCase() { useLocale(); }
    // Every test starts with no recent exercises, in a settings folder of its own.
    void init() { settings_.emplace(); }

    // Each kind of step, taken back one by one to the window's first drawing and done again:
    // the same pixels, controls and distance line at every step, and no message (no field is
    // read, nothing new is plotted). A plot dense enough to fold the drawing is taken back by
    // drawing the others again. After taking a plot back, plotting again gives the same curve.
    void everyStepTakenBackAndDoneAgain() {
        Window w;
        Form4& form = w.form;
        QVERIFY(w.drawn());
        // Each step: its name, what the user types or sets first, and the command.
        struct Step {
            const char* name;
            std::function<void()> prepare, command;
        };
        const auto nothing = [] {};
        const std::vector<Step> steps = {
            {"ESEGUI", nothing, [&] { form.Command1_Click(); }},
            {"single-curve bar", nothing, [&] { form.HScroll2->setValue(120); }},
            {"a bad field", [&] { form.Text1->setText("venti"); }, [&] { form.Command1_Click(); }},
            {"multiple-curve bar", [&] { form.Check1->setChecked(true); },
             [&] { form.HScroll1->setValue(-200); }},
            {"Azzera", nothing, [&] { form.Command5_Click(); }},
            {"dense plot, folded", [&] { form.Text9->setText("6000"); },
             [&] { form.Command1_Click(); }},
            {"CANCELLA ed esegui", [&] { form.Text9->setText("5"); },
             [&] { form.Command2_Click(); }},
            {"activation at another ratio", [&] { w.incr = 0.61; }, [&] { form.Form_Activate(); }},
            {"ESEGUI", nothing, [&] { form.Command1_Click(); }},
        };
        std::vector<Seen> before, after;
        for (const Step& step : steps) {
            step.prepare();
            before.push_back(seen(form));
            step.command();
            after.push_back(seen(form));
        }
        QCOMPARE(w.prompter.messages, QStringList{"DAX non è un numero"});
        QVERIFY(form.retainedDrawing().generation() > 1);

        for (std::size_t i = steps.size(); i-- > 0;) {
            QVERIFY(form.history().canUndo());
            form.history().undo();
            QVERIFY2(seen(form) == before[i], steps[i].name);
        }
        QVERIFY(!form.history().canUndo());
        for (std::size_t i = 0; i < steps.size(); ++i) {
            form.history().redo();
            QVERIFY2(seen(form) == after[i], steps[i].name);
        }
        QCOMPARE(w.prompter.messages.size(), 1);

        form.history().undo();
        form.Command1_Click();
        QCOMPARE(seen(form), after.back());
        QVERIFY(!form.history().canRedo());
    }

    // The history keeps the latest hundred steps: a hundred plots are all taken back to the
    // window's first drawing; of a hundred and one, the first stays.
    void historyKeepsAHundredSteps_data() {
        QTest::addColumn<int>("plots");
        QTest::newRow("a hundred") << 100;
        QTest::newRow("a hundred and one") << 101;
    }
    void historyKeepsAHundredSteps() {
        QFETCH(int, plots);
        Window w;
        Form4& form = w.form;
        QVERIFY(w.drawn());
        const Seen first = seen(form);
        form.Command1_Click();
        const Seen afterFirst = seen(form);
        for (int i = 1; i < plots; ++i)
            form.Command1_Click();
        int undone = 0;
        for (; form.history().canUndo(); ++undone)
            form.history().undo();
        QCOMPARE(undone, 100);
        QCOMPARE(seen(form), plots == 100 ? first : afterFirst);
    }

    // Saved, cleared and opened again: the same picture in the same window size, the same
    // controls, the next curve in the next colour; saving again writes the same bytes. Opened
    // in a fresh window (another screen's ratio), the exercise's own ratio draws it.
    void savedAndOpenedAgain() {
        QTemporaryDir dir;
        Window w;
        Form4& form = w.form;
        QVERIFY(w.drawn());
        form.Check1->setChecked(true);
        for (int v : {100, 200, -150})
            form.HScroll2->setValue(v);
        form.Text3->setText(" 250,5 ");
        form.Command1_Click();
        const Seen before = seen(form);

        const QString path = dir.filePath("prova.curva");
        w.asker.answers = {dir.filePath("prova")};
        QVERIFY(form.exerciseCommands().save());
        QVERIFY(w.asker.suggested.value(0).endsWith("/esercizio.curva"));
        QCOMPARE(form.exerciseCommands().currentPath(), path);
        QVERIFY(!form.document().hasUnsavedChanges());
        form.Command2_Click();
        QVERIFY(seen(form) != before);
        w.question.answers = {SaveQuestion::Answer::Discard};
        QVERIFY(form.exerciseCommands().open(path));
        QCOMPARE(seen(form), before);
        QVERIFY(w.prompter.messages.isEmpty());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QCOMPARE(exerciseToJson(form.exercise()), bytes);

        Window other;
        other.incr = 0.55;
        QVERIFY(other.drawn());
        QVERIFY(other.form.openExercise(*exerciseFromJson(bytes).exercise));
        QCOMPARE(seen(other.form), before);
        form.Command1_Click();
        other.form.Command1_Click();
        QCOMPARE(seen(other.form), seen(form));
    }

    // Taking an opening back takes back the file "Salva esercizio" writes, and doing it again
    // brings it back; no other file is ever written. The drawing left on the screen after
    // taking back past an opening is the one that was there, to the pixel.
    void undoAndRedoAcrossAnOpening() {
        QTemporaryDir dir;
        const QString a = dir.filePath("a.curva"), b = dir.filePath("b.curva");
        QByteArray aBytes, bBytes;
        {
            Window maker;
            QVERIFY(maker.drawn());
            maker.form.Command1_Click();
            aBytes = exerciseToJson(maker.form.exercise());
            maker.form.Text3->setText("500");
            maker.form.Command2_Click();
            bBytes = exerciseToJson(maker.form.exercise());
        }
        QVERIFY(writeFile(a, aBytes) && writeFile(b, bBytes));

        // Opened before the window's first drawing, as from the command line.
        Window w;
        Form4& form = w.form;
        QVERIFY(form.exerciseCommands().open(a));
        QVERIFY(w.drawn());
        form.Command2_Click();
        const Seen beforePlot = seen(form);
        form.Command1_Click();
        const Seen plotted = seen(form);
        w.question.answers = {SaveQuestion::Answer::Discard};
        QVERIFY(form.exerciseCommands().open(b));
        const Seen opened = seen(form);

        const auto saves = [&](const QString& path, const QByteArray& bytes) {
            QVERIFY(writeFile(a, aBytes) && writeFile(b, bBytes));
            QVERIFY(form.exerciseCommands().save());
            QCOMPARE(form.exerciseCommands().currentPath(), path);
            QCOMPARE(contentsOf(path), exerciseToJson(form.exercise()));
            QCOMPARE(contentsOf(path == a ? b : a), path == a ? bBytes : aBytes);
            QVERIFY(bytes.isEmpty() || contentsOf(path) == bytes);
        };
        form.history().undo();
        QCOMPARE(seen(form), plotted);
        QVERIFY(form.document().hasUnsavedChanges());
        saves(a, {});
        form.history().undo();
        QCOMPARE(seen(form), beforePlot);
        form.history().redo();
        form.history().redo();
        QCOMPARE(seen(form), opened);
        QVERIFY(!form.document().hasUnsavedChanges());
        saves(b, bBytes);
        QCOMPARE(w.question.asked.size(), 1);
    }

    // The work is not dropped without a question once it belongs to a file: closing the
    // window, ESCI and opening another exercise ask whether to save it when it changed since
    // the file was opened or saved. Annulla leaves everything as it was.
    void unsavedChangesAsked_data() {
        QTest::addColumn<QString>("how"); // close, ESCI, open, recent or drop
        QTest::addColumn<QString>("before"); // what was done since the file was opened
        QTest::addColumn<int>("answer");     // a SaveQuestion::Answer, -1: no question
        QTest::addColumn<bool>("goesOn");
        QTest::addColumn<bool>("written");
        using A = SaveQuestion::Answer;
        QTest::newRow("never opened nor saved") << "close" << "no file" << -1 << true << false;
        QTest::newRow("unchanged") << "close" << "" << -1 << true << false;
        QTest::newRow("changed and undone") << "ESCI" << "plot undo" << -1 << true << false;
        QTest::newRow("close, Annulla") << "close" << "plot" << int(A::Cancel) << false << false;
        QTest::newRow("close, Non salvare")
            << "close" << "plot" << int(A::Discard) << true << false;
        QTest::newRow("ESCI, Salva") << "ESCI" << "plot" << int(A::Save) << true << true;
        QTest::newRow("ESCI, Annulla") << "ESCI" << "plot" << int(A::Cancel) << false << false;
        QTest::newRow("open, Annulla") << "open" << "clear" << int(A::Cancel) << false << false;
        QTest::newRow("recent, Salva") << "recent" << "clear" << int(A::Save) << true << true;
        QTest::newRow("drop, Non salvare")
            << "drop" << "plot" << int(A::Discard) << true << false;
    }
    void unsavedChangesAsked() {
        QFETCH(QString, how);
        QFETCH(QString, before);
        QFETCH(int, answer);
        QFETCH(bool, goesOn);
        QFETCH(bool, written);
        QTemporaryDir dir;
        const QString path = dir.filePath("compito.curva"), other = dir.filePath("altro.curva");
        Window w;
        Form4& form = w.form;
        bool ended = false;
        form.endProgram = [&] { ended = true; };
        QVERIFY(w.drawn());
        QVERIFY(writeFile(other, exerciseToJson(form.exercise())));
        if (before != "no file") {
            w.asker.answers = {path};
            QVERIFY(form.exerciseCommands().saveAs());
        }
        const QByteArray saved = contentsOf(path);
        if (before.startsWith("plot"))
            form.Command1_Click();
        if (before == "clear")
            form.Command2_Click();
        if (before.endsWith("undo"))
            form.history().undo();
        const Seen changed = seen(form);
        const QByteArray changedBytes = exerciseToJson(form.exercise());
        if (answer >= 0)
            w.question.answers = {SaveQuestion::Answer(answer)};

        bool wentOn = false;
        if (how == "close") {
            wentOn = form.close();
        } else if (how == "ESCI") {
            form.Command3->click();
            wentOn = ended;
        } else if (how == "open") {
            w.asker.answers = {other};
            wentOn = form.exerciseCommands().openAsked();
            QCOMPARE(w.asker.answers.isEmpty(), goesOn);
        } else if (how == "recent") {
            wentOn = form.exerciseCommands().openRecent(other);
        } else {
            wentOn = form.exerciseCommands().open(other); // what a drop does
        }
        QCOMPARE(wentOn, goesOn);
        const QString asked = "Salvare le modifiche all'esercizio \"compito.curva\"?";
        QCOMPARE(w.question.asked, answer < 0 ? QStringList() : QStringList{asked});
        QCOMPARE(contentsOf(path) != saved, written);
        if (written)
            QCOMPARE(contentsOf(path), changedBytes);
        if (!goesOn)
            QCOMPARE(seen(form), changed);
    }

    // A file refused, or an opening stopped half-way: the window, its drawing, its values and
    // its history stay as they were.
    void refusedOrStoppedOpeningChangesNothing_data() {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<int>("stopAfter"); // curves drawn before stopping, -1: never stops
        QTest::addColumn<QString>("message");
        QTest::newRow("truncated") << QByteArray("{\"format\": \"curve-sulla-") << -1 << "troncato";
        QTest::newRow("another program's")
            << QByteArray("{\"a\": 1}") << -1 << "non è un esercizio di Curve sulla corda";
        QTest::newRow("missing file") << QByteArray() << -1 << "non esiste";
        QTest::newRow("stopped half-way") << QByteArray("valid") << 1 << "";
        QTest::newRow("cancelled in its progress dialog") << QByteArray("long") << -1 << "";
    }
    void refusedOrStoppedOpeningChangesNothing() {
        QFETCH(QByteArray, contents);
        QFETCH(int, stopAfter);
        QFETCH(QString, message);
        QTemporaryDir dir;
        Window w;
        Form4& form = w.form;
        QVERIFY(w.drawn());
        form.Check1->setChecked(true);
        form.HScroll1->setValue(300);
        const QString path = dir.filePath("esercizio.curva");
        if (contents == "valid" || contents == "long") {
            Exercise attempt = form.exercise();
            form.HScroll2->setValue(-250);
            attempt.curves.push_back(form.model().lastPlot());
            // About a second of drawing: the progress dialog shows.
            if (contents == "long")
                attempt.curves.assign(400, attempt.curves.back());
            for (PlotRecord& curve : attempt.curves)
                curve.INST = contents == "long" ? 1000 : curve.INST;
            contents = exerciseToJson(attempt);
        }
        if (!contents.isEmpty()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size());
        }
        form.Text5->setText("75");
        const Seen before = seen(form);
        const int steps = form.history().count();

        if (message.isEmpty() && stopAfter < 0) {
            // "Annulla" clicked as soon as the dialog is there.
            bool cancelled = false;
            QTimer clicker;
            connect(&clicker, &QTimer::timeout, [&] {
                auto* dialog = form.findChild<QProgressDialog*>();
                auto* cancel = dialog ? dialog->findChild<QPushButton*>() : nullptr;
                if (cancel && dialog->isVisible() && !cancelled) {
                    QVERIFY(dialog->labelText().startsWith("Apertura di esercizio.curva"));
                    QCOMPARE(cancel->text(), QString("Annulla"));
                    cancel->click();
                    cancelled = true;
                }
            });
            clicker.start(20);
            QVERIFY(!form.exerciseCommands().open(path));
            QVERIFY(cancelled);
            QVERIFY(w.prompter.messages.isEmpty());
        } else if (stopAfter < 0) {
            QVERIFY(!form.exerciseCommands().open(path));
            QCOMPARE(w.prompter.messages.size(), 1);
            QVERIFY2(w.prompter.messages[0].startsWith("Impossibile aprire l'esercizio \"") &&
                         w.prompter.messages[0].contains(message),
                     qPrintable(w.prompter.messages[0]));
        } else {
            StoppingProgress progress(stopAfter);
            QVERIFY(!form.openExercise(*readExerciseFile(path).exercise, &progress));
        }
        QCOMPARE(seen(form), before);
        QCOMPARE(form.history().count(), steps);
        QCOMPARE(form.exerciseCommands().currentPath(), QString());
    }

    // Ctrl+Z in a field typed into since the last plot undoes the typing first, then the plot;
    // elsewhere it undoes the plot at once. Ctrl+Y and Ctrl+Shift+Z do it again.
    void undoKeysLeaveTheFieldsTheirTyping() {
        Window w;
        Form4& form = w.form;
        QVERIFY(w.drawn());
        form.Command1_Click();
        const int curves = int(form.model().curves().size());
        form.Text1->setFocus();
        form.Text1->selectAll();
        QTest::keyClicks(form.Text1, "25");
        QTest::keyClick(form.Text1, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(form.Text1->text(), QString("20"));
        QCOMPARE(int(form.model().curves().size()), curves);
        QTest::keyClick(form.Text1, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(int(form.model().curves().size()), curves - 1);
        QTest::keyClick(form.Text1, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(int(form.model().curves().size()), curves);
        form.Command1->setFocus();
        QTest::keyClick(form.Command1, Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(form.Command1, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(int(form.model().curves().size()), curves);
        QVERIFY(w.prompter.messages.isEmpty());
    }

    // The recent exercises, through the drawing's menu after a script: "open N" and "save N"
    // through the dialogs, "choose N" and "clear" in the submenu, "delete N" and "spoil N" on the
    // disk, N standing for N.curva. A new window shows the same entries, read back from the
    // settings, which exist only once an exercise was opened or saved.
    void recentExercises_data() {
        QTest::addColumn<QStringList>("script");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<int>("messages");
        QTest::newRow("nothing opened or saved") << QStringList{} << QStringList{"()"} << 0;
        QTest::newRow("latest first")
            << QStringList{"open a", "save b", "open c"} << QStringList{"c", "b", "a"} << 0;
        QTest::newRow("again through a link")
            << QStringList{"open a", "open b", "open link"} << QStringList{"link", "b"} << 0;
        QStringList tenOpened;
        for (int i = 0; i < 10; ++i)
            tenOpened << "open " + QString::number(i);
        QTest::newRow("at most eight")
            << tenOpened << QStringList{"9", "8", "7", "6", "5", "4", "3", "2"} << 0;
        QTest::newRow("chosen, opened again")
            << QStringList{"open a", "open b", "choose a"} << QStringList{"a", "b"} << 0;
        QTest::newRow("vanished, reported and dropped")
            << QStringList{"open a", "open b", "delete a", "choose a"} << QStringList{"b"} << 1;
        QTest::newRow("refused, reported and kept")
            << QStringList{"open a", "open b", "spoil a", "choose a"} << QStringList{"b", "a"} << 1;
        QTest::newRow("Svuota elenco")
            << QStringList{"open a", "save b", "clear"} << QStringList{"()"} << 0;
    }
    void recentExercises() {
        QFETCH(QStringList, script);
        QFETCH(QStringList, entries);
        QFETCH(int, messages);
        QTemporaryDir dir;
        const auto file = [&](const QString& name) { return dir.filePath(name + ".curva"); };
        Window w;
        Form4& form = w.form;
        QVERIFY(w.drawn());
        const QByteArray exercise = exerciseToJson(form.exercise());
        for (const char* name : {"a", "b", "c", "0", "1", "2", "3", "4", "5", "6", "7", "8", "9"})
            QVERIFY(writeFile(file(name), exercise));
        QVERIFY(QFile::link(file("a"), file("link")));

        for (const QString& step : script) {
            const QString verb = step.section(' ', 0, 0), name = step.section(' ', 1);
            w.asker.answers = {file(name)};
            QMenu menu;
            form.fillContextMenu(menu);
            QMenu* recent = entry(menu, "Esercizi recenti")->menu();
            if (verb == "open")
                entry(menu, "Apri esercizio…")->trigger();
            else if (verb == "save")
                entry(menu, "Salva esercizio con nome…")->trigger();
            else if (verb == "choose")
                entry(*recent, name + ".curva")->trigger();
            else if (verb == "clear")
                entry(*recent, "Svuota elenco")->trigger();
            else if (verb == "delete")
                QVERIFY(QFile::remove(file(name)));
            else
                QVERIFY(writeFile(file(name), "{}"));
        }
        QCOMPARE(recentEntries(form, dir.path()), entries);
        QCOMPARE(w.prompter.messages.size(), messages);
        for (const QString& message : w.prompter.messages)
            QVERIFY2(message.startsWith("Impossibile aprire l'esercizio"), qPrintable(message));
        Window another;
        QCOMPARE(recentEntries(another.form, dir.path()), entries);
        QCOMPARE(QFile::exists(settings_->filePath("curve-sulla-corda/curve-sulla-corda.conf")),
                 !script.isEmpty());
    }

    // A dropped exercise file opens, on the drawing or on a field, which would otherwise take its
    // path for text: of several files, the first exercise. A text dropped on a field goes in it.
    // With Shift held the file manager proposes a move, which would delete the file: the window
    // takes a copy.
    void droppedFiles_data() {
        QTest::addColumn<QString>("target"); // a field, or the drawing when empty
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("opened");
        QTest::newRow("a file on the drawing") << "" << QStringList{"a.curva"} << ""
                                               << "a.curva";
        QTest::newRow("a file on a field") << "Text1" << QStringList{"a.curva"} << ""
                                           << "a.curva";
        QTest::newRow("a file on a button") << "Command1" << QStringList{"a.curva"} << ""
                                            << "a.curva";
        QTest::newRow("several files")
            << "Text3" << QStringList{"note.txt", "b.CURVA", "a.curva"} << ""
            << "b.CURVA";
        QTest::newRow("a text on a field") << "Text1" << QStringList{} << "25"
                                           << "";
    }
    void droppedFiles() {
        QFETCH(QString, target);
        QFETCH(QStringList, files);
        QFETCH(QString, text);
        QFETCH(QString, opened);
        QTemporaryDir dir;
        Window w;
        Form4& form = w.form;
        QVERIFY(w.drawn());
        form.Text1->setText("33");
        const QByteArray exercise = exerciseToJson(form.exercise());
        form.Text1->setText("20");
        QList<QUrl> urls;
        for (const QString& name : files) {
            QVERIFY(writeFile(dir.filePath(name), exercise));
            urls << QUrl::fromLocalFile(dir.filePath(name));
        }
        // Files come with their addresses as text too, as file managers give them.
        QMimeData data;
        data.setUrls(urls);
        data.setText(text.isEmpty() ? QUrl::toStringList(urls).join('\n') : text);
        // Sent to the window as the desktop sends them, at the middle of the control aimed at.
        const QWidget* aim = form.findChild<QWidget*>(target);
        const QPoint at = aim ? aim->mapTo(&form, aim->rect().center())
                              : QPoint(form.width() - 20, form.height() - 20);
        QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                              Qt::ShiftModifier);
        QCoreApplication::sendEvent(form.windowHandle(), &enter);
        QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                        Qt::ShiftModifier);
        QCoreApplication::sendEvent(form.windowHandle(), &drop);
        QCoreApplication::processEvents();
        if (!opened.isEmpty())
            QCOMPARE(drop.dropAction(), Qt::CopyAction);

        if (opened.isEmpty()) {
            QCOMPARE(form.exerciseCommands().currentPath(), QString());
            QVERIFY(form.Text1->text().contains(text));
        } else {
            QCOMPARE(form.exerciseCommands().currentPath(), dir.filePath(opened));
            QCOMPARE(form.Text1->text(), QString("33"));
        }
        QVERIFY(w.prompter.messages.isEmpty());
    }
};

QTEST_MAIN(Form4ExerciseTest)
#include "test_form4_exercise.moc"
