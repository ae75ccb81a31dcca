// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

// A bar that plays by itself: where it goes as time passes, and the animation through the real
// curve window: what a frame does, how it stops, and that it is one step of the history.
#include "BarSweep.h"
#include "BarPlayer.h"
#include "ExerciseFile.h"
#include "ExerciseCommands.h"
#include "ExerciseWindow.h"
#include "NumberText.h"
#include "ScrollBar.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>

Q_DECLARE_METATYPE(QList<double>)

class BarAnimationTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { useLocale(); }

    void positions_data() {
        QTest::addColumn<int>("minimum");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("start");
        QTest::addColumn<QString>("speedKeys");
        QTest::addColumn<QList<double>>("seconds");
        QTest::addColumn<QList<int>>("positions");
        const double frame = 1.0 / 30;
        QTest::newRow("a frame moves the horizontal bar 1200/300")
            << -600 << 600 << 0 << "" << QList<double>{frame, frame} << QList<int>{4, 8};
        QTest::newRow("the vertical bar 1000/300, rounded")
            << -500 << 500 << 0 << "" << QList<double>{frame, frame, frame} << QList<int>{3, 7, 10};
        QTest::newRow("turns back at the maximum")
            << -600 << 600 << 598 << "" << QList<double>{frame, frame} << QList<int>{598, 594};
        QTest::newRow("at the maximum, goes down")
            << -600 << 600 << 600 << "" << QList<double>{frame} << QList<int>{596};
        QTest::newRow("turns back at the minimum")
            << -10 << 10 << 10 << "" << QList<double>{1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}
            << QList<int>{8, 6, 4, 2, 0, -2, -4, -6, -8, -10, -8, -6};
        QTest::newRow("a late frame moves by the time passed")
            << -600 << 600 << 0 << "" << QList<double>{0.5} << QList<int>{60};
        QTest::newRow("a pause over a second moves a second's way")
            << -600 << 600 << 0 << "" << QList<double>{30} << QList<int>{120};
        QTest::newRow("twice as fast") << -600 << 600 << 0 << "+" << QList<double>{frame}
                                       << QList<int>{8};
        QTest::newRow("eight times as fast at most")
            << -600 << 600 << 0 << "+++++" << QList<double>{frame} << QList<int>{32};
        QTest::newRow("an eighth as fast at least")
            << -600 << 600 << 0 << "-----" << QList<double>{1} << QList<int>{15};
        QTest::newRow("a bar without range stays")
            << 5 << 5 << 5 << "" << QList<double>{1} << QList<int>{5};
    }
    void positions() {
        QFETCH(int, minimum);
        QFETCH(int, maximum);
        QFETCH(int, start);
        QFETCH(QString, speedKeys);
        QFETCH(QList<double>, seconds);
        QFETCH(QList<int>, positions);
        BarSweep animation(minimum, maximum, start);
        for (QChar key : speedKeys)
            key == '+' ? animation.faster() : animation.slower();
        QList<int> reached;
        for (double elapsed : seconds)
            reached << animation.advance(elapsed);
        QCOMPARE(reached, positions);
    }

    // A short animation moves the bar as the user would, each frame shown in its field and, in
    // multiple-curve mode, drawn as one more curve; however it stops, it stops at once, and one
    // undo takes the whole animation back.
    void playsStopsAndTakesBack_data() {
        QTest::addColumn<QString>("entryText");
        QTest::addColumn<bool>("multiple");
        QTest::addColumn<QString>("stopBy");
        QTest::newRow("horizontal, single curves, Esc")
            << "Anima barra orizzontale" << false << "Esc";
        QTest::newRow("vertical, multiple curves, the menu")
            << "Anima barra verticale" << true << "menu";
        QTest::newRow("horizontal, multiple curves, a click on a field")
            << "Anima barra orizzontale" << true << "click";
        QTest::newRow("vertical, single curves, undone from the menu")
            << "Anima barra verticale" << false << "undo";
    }
    void playsStopsAndTakesBack() {
        QFETCH(QString, entryText);
        QFETCH(bool, multiple);
        QFETCH(QString, stopBy);
        Window window;
        Form4& form = window.form;
        QVERIFY(window.drawn());
        form.Check1->setChecked(multiple);
        form.Command1_Click();
        const bool horizontal = entryText.contains("orizzontale");
        QScrollBar* bar = horizontal ? form.HScroll1 : form.HScroll2;
        QLineEdit* shown = horizontal ? form.Text6 : form.Text7;
        const QImage before = form.drawing();
        const std::size_t curvesBefore = form.model().curves().size();
        const int stepsBefore = form.history().count();
        QSignalSpy frames(bar, &QScrollBar::valueChanged);

        chooseEntry(form, entryText);
        QTRY_VERIFY_WITH_TIMEOUT(frames.count() >= 3, 5000);
        QVERIFY(bar->value() > 0);
        QCOMPARE(shown->text(), IntegerToText(std::int16_t(bar->value())));
        QCOMPARE(form.model().curves().size(),
                 multiple ? curvesBefore + std::size_t(frames.count()) : 1);

        if (stopBy == "Esc") {
            QTest::keyClick(form.focusWidget(), Qt::Key_Escape);
        } else if (stopBy == "menu") {
            chooseEntry(form, "Ferma animazione");
        } else if (stopBy == "click") {
            QTest::mouseClick(form.Text1, Qt::LeftButton);
        } else {
            chooseEntry(form, "Annulla curva");
        }
        QVERIFY(!playing(form));
        const int shownFrames = frames.count();
        QTest::qWait(150);
        QCOMPARE(frames.count(), shownFrames);
        QCOMPARE(form.history().count(), stepsBefore + 1);

        if (stopBy != "undo")
            form.history().undo();
        QCOMPARE(bar->value(), 0);
        QCOMPARE(shown->text(), QString("0"));
        QCOMPARE(form.model().curves().size(), curvesBefore);
        QVERIFY(form.drawing() == before);
    }

    // "+" and "−" change the speed wherever the focus is, a field's text staying as it was, and
    // the menu's entries say when the speed is at its limit.
    void speedKeys() {
        Window window;
        Form4& form = window.form;
        QVERIFY(window.drawn());
        chooseEntry(form, "Anima barra orizzontale");
        QWidget* field = form.focusWidget();
        QVERIFY(qobject_cast<QLineEdit*>(field));
        const QString text = form.Text4->text();
        QMenu menu;
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(field, Qt::Key_Plus);
        QVERIFY(!menuEntry(form, menu, "Più veloce")->isEnabled());
        for (int i = 0; i < 6; ++i)
            QTest::keyClick(field, Qt::Key_Minus);
        QVERIFY(menuEntry(form, menu, "Più veloce")->isEnabled());
        QVERIFY(!menuEntry(form, menu, "Più lenta")->isEnabled());
        QCOMPARE(form.Text4->text(), text);
        QVERIFY(playing(form));
        QTest::keyClick(field, Qt::Key_Escape);
        QVERIFY(!playing(form));
    }

    // A plot slower than a frame: frames are skipped, the bar still moves with the time, and
    // nothing waits to be drawn after the stop.
    void slowPlotsSkipFrames() {
        Window window;
        Form4& form = window.form;
        QVERIFY(window.drawn());
        form.Text9->setText("100000");
        QSignalSpy frames(form.HScroll1, &QScrollBar::valueChanged);
        QElapsedTimer clock;
        clock.start();
        chooseEntry(form, "Anima barra orizzontale");
        QTRY_VERIFY_WITH_TIMEOUT(frames.count() >= 3, 30000);
        chooseEntry(form, "Ferma animazione");
        const double seconds = clock.elapsed() / 1000.0;
        const int shownFrames = frames.count();
        QVERIFY2(shownFrames < seconds * 30 / 2, qPrintable(QString::number(shownFrames)));
        // Each frame moved the bar by the time its plot took, not by a frame's way.
        QVERIFY2(form.HScroll1->value() > 8 * shownFrames,
                 qPrintable(QString::number(form.HScroll1->value())));
        QTest::qWait(200);
        QCOMPARE(frames.count(), shownFrames);
    }

    // An assignment's most curves reached: said once, while the message waits for its OK, and
    // the animation ends.
    void refusedCurveStopsOnce() {
        Window window;
        Form4& form = window.form;
        QVERIFY(window.drawn());
        Exercise exercise = form.exercise();
        exercise.controls.Check1 = true;
        exercise.assignment = Assignment{"", 0.001, {}, 3, false};
        QVERIFY(form.openExercise(exercise));
        // Qt does not run a timer's tick again while it is running: a tick is made by hand too.
        BarPlayer* animator = form.findChild<BarPlayer*>();
        window.prompter.onMessage = [&window, animator](const QString&) {
            QTest::qWait(300);
            if (window.prompter.messages.size() < 3)
                animator->tick();
        };
        chooseEntry(form, "Anima barra orizzontale");
        QTRY_VERIFY_WITH_TIMEOUT(!playing(form), 5000);
        QCOMPARE(window.prompter.messages.size(), 1);
        QCOMPARE(form.model().curves().size(), std::size_t(3));
        QCOMPARE(form.Text6->text(), IntegerToText(std::int16_t(form.HScroll1->value())));
    }

    // A file dropped while a bar plays: the bar stops as the file lands, so the opening is a
    // step of its own, after the question about the animation's curves. Esc, Ctrl+Z and Ctrl+S
    // then take the opening back and save the first exercise in its own file, never in the
    // dropped one.
    void dropWhilePlaying() {
        QTemporaryDir dir;
        const QString a = dir.filePath("A.curva"), b = dir.filePath("B.curva");
        Window window;
        Form4& form = window.form;
        QVERIFY(window.drawn());
        QVERIFY(writeFile(a, exerciseToJson(form.exercise())));
        form.Text3->setText("500");
        form.Command2_Click();
        const QByteArray dropped = exerciseToJson(form.exercise());
        QVERIFY(writeFile(b, dropped));
        QVERIFY(form.exerciseCommands().open(a));
        QSignalSpy frames(form.HScroll1, &QScrollBar::valueChanged);
        chooseEntry(form, "Anima barra orizzontale");
        QTRY_VERIFY_WITH_TIMEOUT(frames.count() >= 3, 5000);

        dropFile(form, b);
        QVERIFY(!playing(form));
        window.question.answers = {SaveQuestion::Answer::Discard};
        QTRY_COMPARE(form.exerciseCommands().currentPath(), b);
        QCOMPARE(window.question.asked.size(), 1);

        QTest::keyClick(form.focusWidget(), Qt::Key_Escape);
        QTest::keyClick(form.focusWidget(), Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(form.focusWidget(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(contentsOf(b), dropped);
        QCOMPARE(form.exerciseCommands().currentPath(), a);
        QCOMPARE(contentsOf(a), exerciseToJson(form.exercise()));
    }
};

QTEST_MAIN(BarAnimationTest)
#include "test_bar_animation.moc"
