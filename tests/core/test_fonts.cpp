// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "Fonts.h"

#include <QFontInfo>
#include <QTest>

// The stand-in fonts must really be found on the system, not silently replaced by a fallback
// with other metrics that would upset the designed layouts.
class TestFonts : public QObject {
    Q_OBJECT

private slots:
    void resolved_data();
    void resolved();
};

void TestFonts::resolved_data() {
    QTest::addColumn<QFont>("font");
    QTest::addColumn<QString>("family");
    QTest::addColumn<qreal>("pointSize");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("fixedPitch");

    QTest::newRow("window default")
        << windowDefaultFont() << "Liberation Sans" << 8.0 << false << false;
    QTest::newRow("bold caption") << sansSerifFont(12, true) << "Liberation Sans" << 12.0 << true
                                  << false;
    QTest::newRow("instructions") << courierNewFont(10) << "Liberation Mono" << 10.0 << false
                                  << true;
}

void TestFonts::resolved() {
    QFETCH(QFont, font);
    QFETCH(QString, family);
    QFETCH(qreal, pointSize);
    QFETCH(bool, bold);
    QFETCH(bool, fixedPitch);

    const QFontInfo info(font);
    QCOMPARE(info.family(), family);
    // Sizes are whole pixels: 8 pt at 96 dots per inch is drawn 11 pixels high.
    QVERIFY2(qAbs(info.pointSizeF() - pointSize) < 0.5,
             qPrintable(QString::number(info.pointSizeF())));
    QCOMPARE(info.bold(), bold);
    QCOMPARE(info.fixedPitch(), fixedPitch);
}

QTEST_MAIN(TestFonts)
#include "test_fonts.moc"
