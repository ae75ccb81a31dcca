// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "Navigation.h"

#include <QTest>

namespace {

// Records what navigation asks of the windows.
class RecordingWindows final : public Windows {
public:
    void show(FormId form) override {
        switch (form) {
        case FormId::Form1:
            log << "show Form1";
            break;
        case FormId::Form2:
            log << "show Form2";
            break;
        case FormId::Form4:
            log << "show Form4";
            break;
        }
    }
    void endProgram() override { log << "end"; }

    QStringList log;
};

} // namespace

class TestNavigation : public QObject {
    Q_OBJECT

private slots:
    void presses_data();
    void presses();
};

void TestNavigation::presses_data() {
    QTest::addColumn<QStringList>("presses");
    QTest::addColumn<QStringList>("effects");
    QTest::addColumn<int>("VAIF");

    QTest::newRow("nothing pressed") << QStringList{} << QStringList{} << 0;
    QTest::newRow("first AVANTI opens the calibration window")
        << QStringList{"AVANTI"} << QStringList{"show Form2"} << 99;
    QTest::newRow("OK - continua opens the curve window")
        << QStringList{"AVANTI", "OK"} << QStringList{"show Form2", "show Form4"} << 99;
    QTest::newRow("second AVANTI before any accepted ratio")
        << QStringList{"AVANTI", "AVANTI"} << QStringList{"show Form2", "show Form4"} << 99;
    QTest::newRow("? then AVANTI returns to the curve window")
        << QStringList{"AVANTI", "OK", "?", "AVANTI"}
        << QStringList{"show Form2", "show Form4", "show Form1", "show Form4"} << 99;
    QTest::newRow("calibration window never offered again")
        << QStringList{"AVANTI", "AVANTI", "?", "AVANTI", "?", "AVANTI"}
        << QStringList{"show Form2", "show Form4", "show Form1",
                       "show Form4", "show Form1", "show Form4"}
        << 99;
    QTest::newRow("ESCI on the calibration window")
        << QStringList{"AVANTI", "ESCI"} << QStringList{"show Form2", "end"} << 99;
    QTest::newRow("ESCI on the curve window")
        << QStringList{"AVANTI", "OK", "ESCI"} << QStringList{"show Form2", "show Form4", "end"}
        << 99;
}

void TestNavigation::presses() {
    QFETCH(QStringList, presses);
    QFETCH(QStringList, effects);
    QFETCH(int, VAIF);

    RecordingWindows windows;
    Navigation navigation(windows);
    for (const QString& press : presses) {
        if (press == "AVANTI")
            navigation.Command1_Click();
        else if (press == "OK")
            navigation.showCurveWindow();
        else if (press == "?")
            navigation.showInstructions();
        else
            navigation.endProgram();
    }
    QCOMPARE(windows.log, effects);
    QCOMPARE(navigation.VAIF, VAIF);
}

QTEST_APPLESS_MAIN(TestNavigation)
#include "test_navigation.moc"
