// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ActivationTracker.h"
#include "MessageBoxCloser.h"

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <map>

namespace {

void showMessageOver(QWidget* form) {
    MessageBoxCloser closer;
    QMessageBox(QMessageBox::NoIcon, QStringLiteral("Curve"), QStringLiteral("DAX non è un numero"),
                QMessageBox::Ok, form)
        .exec();
}

} // namespace

class TestActivationTracker : public QObject {
    Q_OBJECT

private slots:
    void sequences_data();
    void sequences();
    void handlerActivatingItsOwnFormRunsOnce();
    void realWindows();
};

void TestActivationTracker::sequences_data() {
    QTest::addColumn<QStringList>("activations");
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<QString>("activeAfter");

    // F1 and F2 have handlers, F3 has none; "box" is a window that is not a form, "none" is
    // another application.
    QTest::newRow("message box over a form")
        << QStringList{"F1", "box", "F1"} << QStringList{"F1"} << "F1";
    QTest::newRow("back from another application")
        << QStringList{"F1", "none", "F1"} << QStringList{"F1"} << "F1";
    QTest::newRow("forms in turn")
        << QStringList{"F1", "F2", "F1"} << QStringList{"F1", "F2", "F1"} << "F1";
    QTest::newRow("same form twice") << QStringList{"F1", "F1"} << QStringList{"F1"} << "F1";
    QTest::newRow("box first") << QStringList{"box", "F2"} << QStringList{"F2"} << "F2";
    QTest::newRow("form without handler")
        << QStringList{"F1", "F3", "F1"} << QStringList{"F1", "F1"} << "F1";
    QTest::newRow("form without handler stays active")
        << QStringList{"F3", "box", "none", "F3"} << QStringList{} << "F3";
    QTest::newRow("nothing but boxes") << QStringList{"none", "box"} << QStringList{} << "";
}

void TestActivationTracker::sequences() {
    QFETCH(QStringList, activations);
    QFETCH(QStringList, calls);
    QFETCH(QString, activeAfter);

    QWidget f1, f2, f3, box;
    const std::map<QString, QWidget*> windows{
        {"F1", &f1}, {"F2", &f2}, {"F3", &f3}, {"box", &box}, {"none", nullptr}};
    QStringList log;
    ActivationTracker tracker;
    tracker.addForm(&f1, [&log] { log << "F1"; });
    tracker.addForm(&f2, [&log] { log << "F2"; });
    tracker.addForm(&f3, {});

    for (const QString& name : activations)
        tracker.windowActivated(windows.at(name));
    QCOMPARE(log, calls);
    QCOMPARE(tracker.activeForm(), activeAfter.isEmpty() ? nullptr : windows.at(activeAfter));
}

// A handler that shows a message box gets the form back when the box closes. A tracker that
// took that for a new activation would recurse without end: a few rounds are enough to fail.
void TestActivationTracker::handlerActivatingItsOwnFormRunsOnce() {
    QWidget form, box;
    ActivationTracker tracker;
    int calls = 0;
    tracker.addForm(&form, [&] {
        if (++calls > 3)
            return;
        tracker.windowActivated(&box);
        tracker.windowActivated(&form);
    });
    tracker.windowActivated(&form);
    QCOMPARE(calls, 1);
}

void TestActivationTracker::realWindows() {
    ActivationTracker tracker;
    tracker.installOnApplication();
    QWidget f1, f2;
    f1.setWindowTitle(QStringLiteral("Form1"));
    f2.setWindowTitle(QStringLiteral("Form2"));
    int f1Calls = 0;
    int f2Calls = 0;
    // Like a plot that reports a bad field: the handler of the first form shows a message. A
    // tracker that took the box's closing for an activation would open box after box: a few
    // are enough to fail.
    tracker.addForm(&f1, [&] {
        if (++f1Calls <= 3)
            showMessageOver(&f1);
    });
    tracker.addForm(&f2, [&] { ++f2Calls; });

    // The message box takes the activation; when it closes, the form gets it back (with a
    // window manager) and that is no new activation of the form.
    f1.show();
    f1.activateWindow();
    QTRY_COMPARE(f1Calls, 1);
    f1.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f1));
    QCOMPARE(f1Calls, 1);

    f2.show();
    f2.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f2));
    QCOMPARE(f2Calls, 1);

    showMessageOver(&f2);
    f2.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f2));
    QCOMPARE(f2Calls, 1);
    QCOMPARE(tracker.activeForm(), &f2);

    f1.activateWindow();
    QTRY_COMPARE(f1Calls, 2);
    f1.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f1));
    QCOMPARE(f1Calls, 2);
    QCOMPARE(f2Calls, 1);
    QCOMPARE(tracker.activeForm(), &f1);
}

QTEST_MAIN(TestActivationTracker)
#include "test_activationtracker.moc"
