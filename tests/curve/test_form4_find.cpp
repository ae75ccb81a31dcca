// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

// "Trova spostamenti…" through the real curve window: the answer applied as the bars moved by
// hand and taken back by one undo, or closed, refused, cancelled or forbidden with nothing
// changed; its distance, and the one of a target reached, written as the menu writes it.
#include "ApplyQuestion.h"
#include "ExerciseFile.h"
#include "ExerciseCommands.h"
#include "ExerciseSamples.h"
#include "ExerciseWindow.h"
#include "LongWorkProgress.h"
#include "NumberText.h"
#include "PlotText.h"
#include "ScrollBar.h"
#include "SearchValues.h"

#include <QApplication>
#include <QCheckBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

namespace {

class ScriptedApply : public ApplyQuestion {
public:
    bool answer = true;
    QStringList asked;
    bool askToApply(const QString& text) override {
        asked << text;
        return answer;
    }
};

// What the window shows and keeps: its exercise as a file holds it, and its drawing; the marks
// of the curves the search placed aside (searchMarksItsCurvesOnly tells them).
struct Seen {
    QByteArray exercise;
    QImage drawing;
    bool operator==(const Seen&) const = default;
};

Seen seen(Form4& form) {
    Exercise exercise = form.exercise();
    for (PlotRecord& curve : exercise.curves)
        curve.bySearch = false;
    return {exerciseToJson(exercise), form.drawing().copy()};
}

struct FindWindow : Window {
    ScriptedApply apply;
    FindWindow() { form.replaceSeams({.applyQuestion = &apply}); }
    void pressCtrlT() { QTest::keyClick(form.Text4, Qt::Key_T, Qt::ControlModifier); }
    QAction* menuEntry() {
        QMenu menu;
        form.fillContextMenu(menu);
        for (QAction* action : menu.actions())
            if (action->text() == "Trova spostamenti…")
                return action;
        return nullptr;
    }
};

QString answerFor(int h, int v, double distance) {
    return QStringLiteral("Orizzontale %1, verticale %2: la curva passa a %3 dal PUNTO.")
        .arg(h)
        .arg(v)
        .arg(DoubleToReadableText(distance));
}

} // namespace

namespace QTest {
template <> char* toString(const Seen& s) {
    return qstrdup(s.exercise.constData());
}
} // namespace QTest

class Form4FindTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { useLocale(); }

    // A distance reads the same in the menu's first line as in the message of a target reached
    // and in the search's answer.
    void oneDistanceOneText_data() {
        QTest::addColumn<QString>("way");
        QTest::addColumn<QString>("said");
        QTest::addColumn<QString>("menu");
        QTest::newRow("a target reached")
            << "ESEGUI"
            << "Bersaglio raggiunto con la curva 1: distanza 247,431 (entro 1000)."
            << "Curva 1: distanza minima dal PUNTO 247,431 (α = 80,8°)";
        QTest::newRow("the search's answer")
            << "Ctrl+T"
            << "Orizzontale 526, verticale 436: la curva passa a 0,019545 dal PUNTO."
            << "Curva 1: distanza minima dal PUNTO 0,019545 (α = 33,2°)";
    }
    void oneDistanceOneText() {
        QFETCH(QString, way);
        QFETCH(QString, said);
        QFETCH(QString, menu);
        FindWindow w;
        Exercise handout = handedOutExercise();
        handout.assignment = Assignment{"", Assignment::MaxTolerance, {}, 0, true};
        QVERIFY(w.form.openExercise(handout) && w.drawn());
        w.form.Command1_Click();
        if (way == "Ctrl+T")
            w.pressCtrlT();
        QCOMPARE((way == "Ctrl+T" ? w.apply.asked : w.prompter.messages).value(0), said);
        QMenu shown;
        w.form.fillContextMenu(shown);
        QCOMPARE(shown.actions().constFirst()->text(), menu);
    }

    // The ratio has changed since the scale was set up: a move of a bar in single-curve mode
    // sets it up again with the new one, in multiple-curve mode it plots on the scale as it is.
    void appliedAsTheBarsMovedByHandInOneStep_data() {
        QTest::addColumn<bool>("multiple");
        QTest::newRow("Curve Singole") << false;
        QTest::newRow("Curve Multiple") << true;
    }
    void appliedAsTheBarsMovedByHandInOneStep() {
        QFETCH(bool, multiple);
        const auto setUp = [multiple](FindWindow& w) {
            if (!w.drawn())
                return false;
            w.form.Check1->setChecked(multiple);
            w.form.Text8->setText("330");
            w.incr = 0.4;
            return true;
        };
        FindWindow w;
        QVERIFY(setUp(w));
        const Seen before = seen(w.form);
        const int steps = w.form.history().count();

        w.pressCtrlT();
        QCOMPARE(w.apply.asked.size(), 1);
        QVERIFY(w.prompter.messages.isEmpty());
        const int h = w.form.HScroll1->value(), v = w.form.HScroll2->value();
        QVERIFY(h != 0 && v != 0);
        const PlotRecord& last = w.form.model().lastPlot();
        QCOMPARE(w.apply.asked[0], answerFor(h, v, last.nearest.distance));
        QCOMPARE(int(w.form.model().curves().size()), multiple ? 3 : 1);
        QCOMPARE(w.form.history().count(), steps + 1);

        const Seen applied = seen(w.form);
        QTest::keyClick(w.form.Text4, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(seen(w.form), before);

        FindWindow byHand;
        QVERIFY(setUp(byHand));
        byHand.form.HScroll1->setValue(h);
        byHand.form.HScroll2->setValue(v);
        QCOMPARE(seen(byHand.form), applied);
    }

    void nothingChanges_data() {
        QTest::addColumn<QStringList>("typed"); // field=text
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<int>("asked");
        QTest::newRow("Chiudi") << QStringList() << false << QStringList() << 1;
        QTest::newRow("INST not a number")
            << QStringList{"Text9=5x"} << true << QStringList{"INST non è un numero"} << 0;
        QTest::newRow("INST 0") << QStringList{"Text9=0"} << true << QStringList{"Non è ammesso 0 "}
                                << 0;
        QTest::newRow("DAX empty")
            << QStringList{"Text1="} << true << QStringList{"DAX non è un numero"} << 0;
        QTest::newRow("no pair: a negative INST")
            << QStringList{"Text9=-5"} << true << QStringList{noDisplacementsText()} << 0;
        QTest::newRow("no pair: the chord beyond the window")
            << QStringList{"Text1=2000"} << true << QStringList{noDisplacementsText()} << 0;
        QTest::newRow("cancelled in its progress dialog")
            << QStringList{"Text9=100000"} << true << QStringList() << 0;
    }
    void nothingChanges() {
        QFETCH(QStringList, typed);
        QFETCH(bool, answer);
        QFETCH(QStringList, messages);
        QFETCH(int, asked);
        FindWindow w;
        QVERIFY(w.drawn());
        w.apply.answer = answer;
        for (const QString& field : typed)
            w.form.findChild<QLineEdit*>(field.section('=', 0, 0))->setText(field.section('=', 1));
        const Seen before = seen(w.form);
        const int steps = w.form.history().count();

        bool cancelled = false;
        QTimer clicker;
        connect(&clicker, &QTimer::timeout, [&] {
            auto* dialog = w.form.findChild<QProgressDialog*>();
            auto* cancel = dialog ? dialog->findChild<QPushButton*>() : nullptr;
            if (cancel && dialog->isVisible() && !cancelled) {
                QCOMPARE(dialog->labelText(), QString("Ricerca degli spostamenti"));
                QCOMPARE(cancel->text(), QString("Annulla"));
                cancel->click();
                cancelled = true;
            }
        });
        clicker.start(20);
        // The search takes about half a second: the dialog must show, on a fast machine too.
        const auto showAfter =
            std::exchange(LongWorkProgress::showAfter, std::chrono::milliseconds(100));
        w.pressCtrlT();
        LongWorkProgress::showAfter = showAfter;
        QCOMPARE(cancelled, QTest::currentDataTag() == QString("cancelled in its progress dialog"));
        QCOMPARE(w.prompter.messages, messages);
        QCOMPARE(w.apply.asked.size(), asked);
        QCOMPARE(seen(w.form), before);
        QCOMPARE(w.form.history().count(), steps);
    }

    // Opening an assignment that forbids the search disables the entry and its key; taking the
    // opening back enables them, doing it again disables them.
    void forbiddenByAnAssignment_data() {
        QTest::addColumn<bool>("allowed");
        QTest::newRow("allowed") << true;
        QTest::newRow("forbidden") << false;
    }
    void forbiddenByAnAssignment() {
        QFETCH(bool, allowed);
        FindWindow w;
        QVERIFY(w.drawn());
        w.apply.answer = false;
        Exercise handout = w.form.exercise();
        handout.curves.clear();
        handout.assignment = Assignment{};
        handout.assignment->solutionAllowed = allowed;
        QVERIFY(w.form.openExercise(handout));
        QCOMPARE(w.menuEntry()->isEnabled(), allowed);
        w.pressCtrlT();
        QCOMPARE(w.apply.asked.size(), allowed ? 1 : 0);

        w.form.history().undo();
        QVERIFY(w.menuEntry()->isEnabled());
        w.pressCtrlT();
        QCOMPARE(w.apply.asked.size(), allowed ? 2 : 1);
        w.form.history().redo();
        QCOMPARE(w.menuEntry()->isEnabled(), allowed);
    }

    // The file marks the curves "Applica" placed, and no other: 'T' for each of them, '-' for a
    // curve placed by hand, in order. The marks stay through undo and redo, and through saving
    // and opening the attempt, which keeps its student's name. Steps: A "Applica", h a bar moved
    // by hand, u undo, r redo, s saved and opened.
    void searchMarksItsCurvesOnly_data() {
        QTest::addColumn<bool>("multiple");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("marks");
        QTest::newRow("by hand only") << true << "h"
                                      << "--";
        QTest::newRow("Curve Singole: applied, undone, redone") << false << "Aur"
                                                                << "T";
        QTest::newRow("Curve Singole: applied, then by hand") << false << "Ah"
                                                              << "-";
        QTest::newRow("Curve Multiple: applied, by hand, undone, redone") << true << "Ahur"
                                                                          << "-TT-";
        QTest::newRow("saved and opened") << true << "Ahs"
                                          << "-TT-";
    }
    void searchMarksItsCurvesOnly() {
        QFETCH(bool, multiple);
        QFETCH(QString, steps);
        QFETCH(QString, marks);
        FindWindow w;
        QVERIFY(w.drawn());
        // A student's attempt at an assignment that allows the search.
        Exercise attempt = w.form.exercise();
        attempt.controls.Check1 = multiple;
        attempt.assignment = Assignment{"", 2, {}, 0, true};
        attempt.student = "Anna Rossi";
        QVERIFY(w.form.openExercise(attempt));
        QTemporaryDir folder;
        const QString path = folder.filePath("Anna Rossi.curva");
        Window opened;
        Form4* form = &w.form;
        for (const QChar step : steps) {
            if (step == u'A')
                w.pressCtrlT();
            if (step == u'h')
                form->HScroll1->setValue(form->HScroll1->value() - 10);
            if (step == u'u')
                form->history().undo();
            if (step == u'r')
                form->history().redo();
            if (step == u's') {
                w.asker.answers = {path};
                QVERIFY(form->exerciseCommands().saveAs());
                QVERIFY(opened.drawn() && opened.form.exerciseCommands().open(path));
                form = &opened.form;
            }
        }
        const QJsonObject file = QJsonDocument::fromJson(exerciseToJson(form->exercise())).object();
        QString seen;
        for (const QJsonValue curve : file["window"]["curves"].toArray())
            seen += curve["bySearch"] == QJsonValue(true) ? u'T' : u'-';
        QCOMPARE(seen, marks);
        QCOMPARE(file["student"].toString(), QString("Anna Rossi"));
    }

    // The real question: its text, its two buttons, and "Applica" clicked.
    void realQuestionApplies() {
        Window w;
        QVERIFY(w.drawn());
        QString text;
        QStringList buttons;
        QTimer clicker;
        connect(&clicker, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            text = box->text();
            for (QAbstractButton* button : box->buttons())
                buttons << button->text();
            for (QAbstractButton* button : box->buttons())
                if (button->text() == "Applica")
                    button->click();
        });
        clicker.start(20);
        QTest::keyClick(w.form.Text4, Qt::Key_T, Qt::ControlModifier);
        QCOMPARE(buttons, (QStringList{"Applica", "Chiudi"}));
        QCOMPARE(text, answerFor(w.form.HScroll1->value(), w.form.HScroll2->value(),
                                 w.form.model().lastPlot().nearest.distance));
        QVERIFY(w.form.HScroll1->value() != 0);
    }
};

QTEST_MAIN(Form4FindTest)
#include "test_form4_find.moc"
