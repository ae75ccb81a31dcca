// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "Form1.h"
#include "Form2.h"
#include "Form4.h"
#include "Forms.h"
#include "RecordingPrompter.h"
#include "ScrollBar.h"

#include <QApplication>
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <vector>

namespace {

const QString Refusal = QStringLiteral("Impostare la risoluzione SCHERMO");

// Lets the window system deliver what showing, activating and closing windows queued.
void settle() {
    for (int i = 0; i < 3; ++i)
        QTest::qWait(1);
}

template <typename Form> Form* findForm(const QString& title) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->windowTitle() == title)
            return dynamic_cast<Form*>(w);
    return nullptr;
}

QStringList openWindows() {
    QStringList titles;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible())
            titles << w->windowTitle();
    titles.sort();
    return titles;
}

QString activeWindow() {
    const QWidget* w = QApplication::activeWindow();
    return w != nullptr ? w->windowTitle() : QString();
}

QWidget& formNamed(Forms& forms, const QString& title) {
    if (title == "Form1")
        return forms.form1();
    if (title == "Form2")
        return forms.form2();
    return forms.form4();
}

// One action of the user, as the rows name them.
void perform(Forms& forms, const QString& action) {
    const QString argument = action.section(' ', 1);
    if (action == "AVANTI") {
        forms.form1().Command1->click();
    } else if (action.startsWith("scroll ")) {
        forms.form2().HScroll1->setValue(argument.toInt());
    } else if (action == "OK") {
        forms.form2().Command1->click();
    } else if (action == "?") {
        forms.form4().Command6->click();
    } else if (action == "ESCI on Form2") {
        forms.form2().Command3->click();
    } else if (action == "ESCI on Form4") {
        forms.form4().Command3->click();
    } else if (action.startsWith("switch ")) {
        // The user brings the window to the front through the window manager.
        QWidget& w = formNamed(forms, argument);
        w.raise();
        w.activateWindow();
    } else if (action.startsWith("close ")) {
        formNamed(forms, argument).close();
    } else {
        QFAIL(qPrintable("unknown action " + action));
    }
    settle();
}

} // namespace

class TestForms : public QObject {
    Q_OBJECT

private slots:
    void transitions_data();
    void transitions();
    void firstShowing();
    void readingTheRatioCreatesTheCalibrationWindowHidden();
    void closingEveryOpenWindowEndsTheProgram_data();
    void closingEveryOpenWindowEndsTheProgram();
    void esciEndsTheEventLoopsAtOnce_data();
    void esciEndsTheEventLoopsAtOnce();
};

void TestForms::transitions_data() {
    QTest::addColumn<QStringList>("actions");
    QTest::addColumn<QStringList>("open");
    QTest::addColumn<QString>("active");
    QTest::addColumn<int>("curves");
    QTest::addColumn<float>("curveScaleHeight");
    QTest::addColumn<QString>("ratioShown");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<bool>("ended");

    const QStringList form1{"Form1"};
    const QStringList form1And2{"Form1", "Form2"};
    const QStringList all{"Form1", "Form2", "Form4"};
    const QStringList none;
    const QStringList accepted{"AVANTI", "scroll 5", "OK"};

    QTest::newRow("program start") << none << form1 << "Form1" << 0 << 0.0f << "" << none << false;
    QTest::newRow("first AVANTI opens and draws the calibration window")
        << QStringList{"AVANTI"} << form1And2 << "Form2" << 0 << 0.0f << "0.51" << none << false;
    QTest::newRow("OK refused at 0.51") << QStringList{"AVANTI", "OK"} << form1And2 << "Form2" << 0
                                        << 0.0f << "0.51" << QStringList{Refusal} << false;
    QTest::newRow("OK refused at position 1")
        << QStringList{"AVANTI", "scroll 2", "scroll 1", "OK"} << form1And2 << "Form2" << 0 << 0.0f
        << "0.53" << QStringList{Refusal} << false;
    QTest::newRow("OK accepted opens the curve window, which plots")
        << accepted << all << "Form4" << 1 << 610.0f << "0.61" << none << false;
    QTest::newRow("? brings the instructions to the front")
        << accepted + QStringList{"?"} << all << "Form1" << 1 << 610.0f << "0.61" << none << false;
    QTest::newRow("AVANTI after ? activates the curve window again")
        << accepted + QStringList{"?", "AVANTI"} << all << "Form4" << 2 << 610.0f << "0.61" << none
        << false;
    QTest::newRow("second AVANTI before any accepted ratio")
        << QStringList{"AVANTI", "switch Form1", "AVANTI"} << all << "Form4" << 1 << 510.0f
        << "0.51" << none << false;
    QTest::newRow("switching back to the calibration window resets the ratio")
        << accepted + QStringList{"switch Form2"} << all << "Form2" << 1 << 610.0f << "0.51" << none
        << false;
    QTest::newRow("the curve window then reads the reset ratio")
        << accepted + QStringList{"switch Form2", "switch Form4"} << all << "Form4" << 2 << 510.0f
        << "0.51" << none << false;
    QTest::newRow("OK after the reset is refused")
        << accepted + QStringList{"switch Form2", "OK"} << all << "Form2" << 1 << 610.0f << "0.51"
        << QStringList{Refusal} << false;
    QTest::newRow("switching to the instructions and back adds a curve")
        << accepted + QStringList{"switch Form1", "switch Form4"} << all << "Form4" << 2 << 610.0f
        << "0.61" << none << false;
    QTest::newRow("AVANTI after the calibration window was closed keeps its ratio")
        << QStringList{"AVANTI", "scroll 5", "close Form2", "switch Form1", "AVANTI"}
        << QStringList{"Form1", "Form4"} << "Form4" << 1 << 610.0f << "0.61" << none << false;
    QTest::newRow("curve window closed, then reopened by AVANTI")
        << accepted + QStringList{"close Form4", "switch Form1", "AVANTI"} << all << "Form4" << 2
        << 610.0f << "0.61" << none << false;
    QTest::newRow("instructions closed, then reopened by ?")
        << accepted + QStringList{"close Form1", "?"} << all << "Form1" << 1 << 610.0f << "0.61"
        << none << false;
    QTest::newRow("ESCI on the calibration window")
        << QStringList{"AVANTI", "ESCI on Form2"} << form1And2 << "Form2" << 0 << 0.0f << "0.51"
        << none << true;
    QTest::newRow("ESCI on the curve window with the instructions behind")
        << accepted + QStringList{"?", "AVANTI", "ESCI on Form4"} << all << "Form4" << 2 << 610.0f
        << "0.61" << none << true;
}

void TestForms::transitions() {
    QFETCH(QStringList, actions);
    QFETCH(QStringList, open);
    QFETCH(QString, active);
    QFETCH(int, curves);
    QFETCH(float, curveScaleHeight);
    QFETCH(QString, ratioShown);
    QFETCH(QStringList, messages);
    QFETCH(bool, ended);

    RecordingPrompter prompter;
    bool endCalled = false;
    Forms forms(&prompter, [&endCalled] { endCalled = true; });
    forms.show(FormId::Form1);
    settle();
    for (const QString& action : actions)
        perform(forms, action);

    QCOMPARE(openWindows(), open);
    QCOMPARE(activeWindow(), active);
    auto* form2 = findForm<Form2>("Form2");
    auto* form4 = findForm<Form4>("Form4");
    QCOMPARE(form2 != nullptr ? form2->Text1->text() : QString(""), ratioShown);
    QCOMPARE(form4 != nullptr ? int(form4->model().Miocolor) : 0, curves);
    QCOMPARE(form4 != nullptr ? form4->ScaleHeight() : 0.0f, curveScaleHeight);
    QCOMPARE(prompter.messages, messages);
    QCOMPARE(endCalled, ended);
}

// The instructions open in their normal state; the other two open maximized and come back to
// their design size when restored.
void TestForms::firstShowing() {
    RecordingPrompter prompter;
    Forms forms(&prompter, [] {});
    forms.show(FormId::Form1);
    settle();
    QVERIFY(!forms.form1().isMaximized());
    QCOMPARE(forms.form1().size(), QSize(843, 556));

    perform(forms, "AVANTI");
    perform(forms, "scroll 5");
    perform(forms, "OK");
    for (QWidget* w : std::initializer_list<QWidget*>{&forms.form2(), &forms.form4()}) {
        QVERIFY(w->isMaximized());
        QCOMPARE(w->frameGeometry(), w->screen()->availableGeometry());
    }
    forms.form2().showNormal();
    forms.form4().showNormal();
    QTRY_COMPARE(forms.form2().size(), QSize(657, 456));
    QTRY_COMPARE(forms.form4().size(), QSize(707, 452));
}

void TestForms::readingTheRatioCreatesTheCalibrationWindowHidden() {
    RecordingPrompter prompter;
    Forms forms(&prompter, [] {});
    QVERIFY(findForm<Form2>("Form2") == nullptr);
    QCOMPARE(forms.form4().readIncr(), 0.0);
    auto* form2 = findForm<Form2>("Form2");
    QVERIFY(form2 != nullptr);
    QVERIFY(!form2->isVisible());
}

// Runs the application's event loop while the steps run one after the other; returns what
// exec() returned and how many steps ran before the loop ended.
std::pair<int, int> runSteps(const std::vector<std::function<void()>>& steps) {
    int ran = 0;
    QTimer stepper;
    QObject::connect(&stepper, &QTimer::timeout, [&] {
        if (ran == int(steps.size()))
            return;
        steps[ran++]();
    });
    stepper.start(20);
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    guard.start(5000);
    const int code = QApplication::exec();
    return {code, ran};
}

// The program ends when the user has closed every open window; a calibration window created
// only to read its ratio is not an open window.
void TestForms::closingEveryOpenWindowEndsTheProgram_data() {
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QStringList>("closings");

    QTest::newRow("instructions alone, calibration window created hidden")
        << QStringList{"read ratio"} << QStringList{"close Form1"};
    QTest::newRow("all three windows") << QStringList{"AVANTI", "scroll 5", "OK"}
                                       << QStringList{"close Form2", "close Form4", "close Form1"};
    QTest::newRow("curve window last") << QStringList{"AVANTI", "scroll 5", "OK"}
                                       << QStringList{"close Form1", "close Form2", "close Form4"};
}

void TestForms::closingEveryOpenWindowEndsTheProgram() {
    QFETCH(QStringList, before);
    QFETCH(QStringList, closings);
    QVERIFY(QGuiApplication::quitOnLastWindowClosed());

    RecordingPrompter prompter;
    Forms forms(&prompter, [] {});
    forms.show(FormId::Form1);
    settle();
    for (const QString& action : before) {
        if (action == "read ratio")
            forms.form4().readIncr();
        else
            perform(forms, action);
    }
    std::vector<std::function<void()>> steps;
    for (const QString& closing : closings)
        steps.push_back([&forms, closing] { formNamed(forms, closing.section(' ', 1)).close(); });
    steps.push_back([] {});
    const auto [code, ran] = runSteps(steps);
    QCOMPARE(code, 0);
    QCOMPARE(ran, int(closings.size()));
}

void TestForms::esciEndsTheEventLoopsAtOnce_data() {
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<bool>("nested");

    QTest::newRow("ESCI on the calibration window") << QStringList{"AVANTI"} << false;
    QTest::newRow("ESCI on the curve window") << QStringList{"AVANTI", "scroll 5", "OK"} << false;
    QTest::newRow("ending from a nested event loop")
        << QStringList{"AVANTI", "scroll 5", "OK"} << true;
}

// The real end: every window disappears and the application's event loop returns, also when
// the end comes from inside a nested loop; no code runs after it in that loop.
void TestForms::esciEndsTheEventLoopsAtOnce() {
    QFETCH(QStringList, before);
    QFETCH(bool, nested);

    RecordingPrompter prompter;
    Forms forms(&prompter);
    forms.show(FormId::Form1);
    settle();
    for (const QString& action : before)
        perform(forms, action);
    QPushButton* esci = before.contains("OK") ? forms.form4().Command3 : forms.form2().Command3;

    bool nestedLoopReturned = false;
    bool ranAfterEnd = false;
    // Owned here, so that nothing of this test fires after it.
    QTimer late;
    late.setSingleShot(true);
    connect(&late, &QTimer::timeout, [&ranAfterEnd] { ranAfterEnd = true; });
    QTimer guard;
    guard.setSingleShot(true);
    connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    guard.start(5000);
    QTimer::singleShot(0, esci, [&] {
        if (!nested) {
            esci->click();
            return;
        }
        QEventLoop loop;
        QTimer::singleShot(0, esci, &QPushButton::click);
        late.start(200);
        loop.exec();
        nestedLoopReturned = true;
    });
    QCOMPARE(QApplication::exec(), 0);
    QCOMPARE(nestedLoopReturned, nested);
    QVERIFY(!ranAfterEnd);
    QCOMPARE(openWindows(), QStringList{});
}

QTEST_MAIN(TestForms)
#include "test_forms.moc"
