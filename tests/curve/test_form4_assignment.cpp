// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

// An assignment through the real curve window: saved by the teacher from the work on the screen,
// opened by a student with its text, its locked fields, its most curves and the message when
// the target is reached; the handout never overwritten by the first save.
#include "AssignmentDialog.h"
#include "ExerciseFile.h"
#include "ExerciseCommands.h"
#include "ExerciseWindow.h"
#include "MessageBoxCloser.h"
#include "ScrollBar.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

namespace {

class ScriptedAssignment : public AssignmentAsker {
public:
    std::optional<Assignment> answer;
    std::optional<Assignment> shown;
    std::optional<Assignment> askAssignment(const Assignment& given) override {
        shown = given;
        return answer;
    }
};

} // namespace

class Form4AssignmentTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { useLocale(); }

    // The dialog starts as a teacher meets it: tolerance 2, the chord and the target locked, no
    // limit, no solution; what is set there is the assignment.
    void dialogGivesWhatIsSet() {
        AssignmentDialog dialog{Assignment()};
        QCOMPARE(dialog.assignment(), Assignment());
        QCOMPARE(dialog.tolerance->value(), 2.0);
        QVERIFY(dialog.locks[0]->isChecked() && dialog.locks[1]->isChecked());
        QVERIFY(!dialog.locks[2]->isChecked() && !dialog.locks[3]->isChecked());
        dialog.text->setPlainText("Porta la curva sul PUNTO.\nUsa solo le barre.");
        dialog.tolerance->setValue(0.5);
        dialog.locks[1]->setChecked(false);
        dialog.locks[2]->setChecked(true);
        dialog.maxCurves->setValue(4);
        dialog.solutionAllowed->setChecked(true);
        const Assignment set{"Porta la curva sul PUNTO.\nUsa solo le barre.", 0.5,
                             {LockedGroup::Chord, LockedGroup::Density}, 4, true};
        QCOMPARE(dialog.assignment(), set);
    }

    void savedAndWorkedOn() {
        QTemporaryDir dir;
        const QString handout = dir.filePath("consegna.curva");
        ScriptedAssignment teacherSets;
        teacherSets.answer = Assignment{"Porta la curva sul PUNTO.", 1000,
                                        {LockedGroup::Chord, LockedGroup::Target}, 3, false};
        {
            Window teacher;
            teacher.form.replaceSeams({.assignment = &teacherSets});
            QVERIFY(teacher.drawn());
            teacher.form.Text9->setText("8");
            teacher.form.Command1_Click();
            const Exercise work = teacher.form.exercise();
            teacher.asker.answers = {dir.filePath("consegna")};
            QVERIFY(teacher.form.exerciseCommands().saveAssignment());
            QCOMPARE(teacherSets.shown, Assignment());
            // The teacher's own work stays as it was, and belongs to no file.
            QCOMPARE(exerciseToJson(teacher.form.exercise()), exerciseToJson(work));
            QCOMPARE(teacher.form.exerciseCommands().currentPath(), QString());
        }
        const ExerciseReading read = readExerciseFile(handout);
        QVERIFY2(read.exercise, qPrintable(read.message));
        QVERIFY(read.exercise->curves.empty());
        // It keeps the fields as the teacher's window read them.
        Assignment handedOut = *teacherSets.answer;
        handedOut.fieldValues = {{20, 30, 300, 150, 70, 270, 8, 1, 1}};
        QCOMPARE(read.exercise->assignment, handedOut);
        QCOMPARE(read.exercise->controls.field(ParameterField::Text9), QString("8"));

        // A student opens it: the text first, then the window with its locks.
        Window student;
        Form4& form = student.form;
        QVERIFY(student.drawn());
        QVERIFY(form.exerciseCommands().open(handout));
        QCoreApplication::processEvents();
        QCOMPARE(student.prompter.messages, QStringList{"Consegna: Porta la curva sul PUNTO."});
        // It opens on the axes and the target, whose dot is in the window's colour.
        const auto targetShown = [&] {
            const QPointF at = form.widgetPosition(form.model().toSurface(
                form.Text3->text().toDouble(), form.Text8->text().toDouble()));
            return form.drawing().pixel(at.toPoint()) == form.ForeColor();
        };
        QVERIFY(targetShown());
        for (QLineEdit* field : {form.Text1, form.Text2, form.Text3, form.Text4, form.Text5,
                                 form.Text8, form.Text9, form.Text10, form.Text11}) {
            const bool locked = field != form.Text9 && field != form.Text10 &&
                                field != form.Text11;
            QCOMPARE(field->isReadOnly(), locked);
            QCOMPARE(field->toolTip(), locked ? QString("Fissato dalla consegna") : QString());
        }

        // The first curve reaches the target within the tolerance: told once (the words are
        // the assignment rules' own, tested with them).
        student.prompter.messages.clear();
        form.Command1_Click();
        form.Command1_Click();
        QCOMPARE(student.prompter.messages.size(), 1);
        QVERIFY(student.prompter.messages[0].startsWith("Bersaglio raggiunto con la curva 1: "));
        QVERIFY(student.prompter.messages[0].endsWith(" (entro 1000)."));

        // Three curves at the most: a fourth is refused, by a button or a bar, until undo.
        student.prompter.messages.clear();
        form.Check1->setChecked(true);
        form.HScroll1->setValue(100);
        QCOMPARE(form.model().curves().size(), std::size_t(3));
        form.Command1_Click();
        form.HScroll2->setValue(-100);
        QCOMPARE(form.model().curves().size(), std::size_t(3));
        QCOMPARE(form.HScroll2->value(), 0);
        QCOMPARE(student.prompter.messages.size(), 2);
        QVERIFY(student.prompter.messages[0].startsWith("La consegna permette al massimo 3 curve"));
        form.history().undo();
        form.Command1_Click();
        QCOMPARE(form.model().curves().size(), std::size_t(3));

        // The first save asks who does it, then for a file beside the handout named after the
        // student; the handout stays as handed out. "Annulla" at the name saves nothing.
        const QByteArray handed = contentsOf(handout);
        const QString attempt = dir.filePath("consegna - Anna Rossi.curva");
        student.name.answers = {std::nullopt, "Anna Rossi"};
        QVERIFY(!form.exerciseCommands().save());
        QVERIFY(student.asker.suggested.isEmpty());
        student.asker.answers = {attempt};
        QVERIFY(form.exerciseCommands().save());
        QCOMPARE(student.asker.suggested, QStringList{attempt});
        QCOMPARE(contentsOf(handout), handed);
        const Exercise saved = *readExerciseFile(attempt).exercise;
        QCOMPARE(saved.assignment, handedOut);
        QCOMPARE(saved.student, QStringLiteral("Anna Rossi"));
        form.Command1_Click();
        QVERIFY(form.exerciseCommands().save());
        QCOMPARE(student.asker.suggested.size(), 1);

        // Taking the opening back frees the fields.
        while (form.history().canUndo())
            form.history().undo();
        QVERIFY(!form.Text1->isReadOnly() && form.Text1->toolTip().isEmpty());
        form.history().redo();
        QVERIFY(targetShown() && form.Text1->isReadOnly());
    }

    // At the assignment's most curves, a bar held down on an arrow or the trough says so once,
    // in a real message box too, whose OK takes the mouse release; "Azzera" says so once. The
    // bar looks as it did, its number stays, and the window goes on working.
    void limitSaidOncePerGesture_data() {
        QTest::addColumn<QString>("gesture");
        QTest::addColumn<bool>("messageBoxes");
        for (const bool boxes : {false, true})
            for (const char* gesture : {"trough held", "arrow held", "Azzera"})
                QTest::addRow("%s%s", gesture, boxes ? ", message box" : "") << gesture << boxes;
    }
    void limitSaidOncePerGesture() {
        QFETCH(QString, gesture);
        QFETCH(bool, messageBoxes);
        Window window(messageBoxes);
        Form4& form = window.form;
        QVERIFY(window.drawn());
        Exercise exercise = form.exercise();
        exercise.controls.Check1 = true;
        exercise.curves.clear();
        exercise.assignment = Assignment{"", 0.001, {}, 1, false};
        QVERIFY(form.openExercise(exercise));
        HScrollBar* bar = form.HScroll1;
        bar->setValue(100);
        QCOMPARE(form.model().curves().size(), std::size_t(1));
        form.Text1->setFocus();
        const QImage looks = bar->grab().toImage();

        const MessageBoxCloser boxes;
        if (gesture == "Azzera") {
            form.Command5->click();
        } else {
            const QPoint at = scrollBarPart(bar, gesture.startsWith("trough")
                                                     ? QStyle::SC_ScrollBarAddPage
                                                     : QStyle::SC_ScrollBarAddLine)
                                  .center();
            QTest::mousePress(bar, Qt::LeftButton, {}, at);
            // Well past the half second after which a held bar repeats.
            QTest::qWait(800);
            // A box took the release: the bar never gets it.
            if (messageBoxes)
                QTest::mouseRelease(&form, Qt::LeftButton, {}, {1, 1});
            else
                QTest::mouseRelease(bar, Qt::LeftButton, {}, at);
        }
        const QStringList said =
            messageBoxes ? QStringList(boxes.answered, boxes.text) : window.prompter.messages;
        QCOMPARE(said, QStringList{"La consegna permette al massimo 1 curve: per disegnarne "
                                   "un'altra annulla l'ultima (Ctrl+Z) o cancella il disegno."});
        QCOMPARE(bar->value(), 100);
        QCOMPARE(form.Text6->text(), QString("100"));
        // Drawn as before, the keyboard's focus aside.
        form.Text1->setFocus();
        QCOMPARE(bar->grab().toImage(), looks);
        QVERIFY(!QApplication::activeModalWidget());
        form.Command2->click();
        QCOMPARE(form.model().curves().size(), std::size_t(1));
        QCOMPARE(form.model().curves().back().SPTX, 100);
    }
};

QTEST_MAIN(Form4AssignmentTest)
#include "test_form4_assignment.moc"
