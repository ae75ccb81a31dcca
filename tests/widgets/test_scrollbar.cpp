// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ScrollBar.h"
#include "WidgetTesting.h"

#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

class TestScrollBar : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void keys_data();
    void keys();
    void setValueEmitsOnlyOnChange();
    void arrowClick();
    void troughClick();
    void dragReportsOnRelease();
    void takesTabStop();
    void focusFrame_data();
    void focusFrame();

private:
    HScrollBar* bar_ = nullptr;
    QSignalSpy* spy_ = nullptr;
};

void TestScrollBar::init() {
    bar_ = new HScrollBar(-100, 100, 1, 50);
    bar_->resize(300, 17);
    bar_->show();
    QVERIFY(QTest::qWaitForWindowExposed(bar_));
    spy_ = new QSignalSpy(bar_, &QScrollBar::valueChanged);
}

void TestScrollBar::cleanup() {
    delete spy_;
    delete bar_;
}

void TestScrollBar::keys_data() {
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("emitted");

    QTest::newRow("left decreases") << 0 << int(Qt::Key_Left) << -1 << 1;
    QTest::newRow("right increases") << 0 << int(Qt::Key_Right) << 1 << 1;
    QTest::newRow("page up decreases") << 0 << int(Qt::Key_PageUp) << -50 << 1;
    QTest::newRow("page down increases") << 0 << int(Qt::Key_PageDown) << 50 << 1;
    QTest::newRow("home") << 0 << int(Qt::Key_Home) << -100 << 1;
    QTest::newRow("end") << 0 << int(Qt::Key_End) << 100 << 1;
    QTest::newRow("page up stops at minimum") << -80 << int(Qt::Key_PageUp) << -100 << 1;
    QTest::newRow("left at minimum") << -100 << int(Qt::Key_Left) << -100 << 0;
    QTest::newRow("page up at minimum") << -100 << int(Qt::Key_PageUp) << -100 << 0;
    QTest::newRow("home at minimum") << -100 << int(Qt::Key_Home) << -100 << 0;
    QTest::newRow("right at maximum") << 100 << int(Qt::Key_Right) << 100 << 0;
    QTest::newRow("end at maximum") << 100 << int(Qt::Key_End) << 100 << 0;
    QTest::newRow("up decreases like left") << 0 << int(Qt::Key_Up) << -1 << 1;
    QTest::newRow("down increases like right") << 0 << int(Qt::Key_Down) << 1 << 1;
}

void TestScrollBar::keys() {
    QFETCH(int, start);
    QFETCH(int, key);
    QFETCH(int, value);
    QFETCH(int, emitted);
    bar_->setValue(start);
    spy_->clear();

    QTest::keyClick(bar_, Qt::Key(key));
    QCOMPARE(bar_->value(), value);
    QCOMPARE(spy_->count(), emitted);
    if (emitted == 1)
        QCOMPARE(spy_->front().front().toInt(), value);
}

void TestScrollBar::setValueEmitsOnlyOnChange() {
    bar_->setValue(0);
    QCOMPARE(spy_->count(), 0);
    bar_->setValue(7);
    QCOMPARE(spy_->count(), 1);
    bar_->setValue(7);
    QCOMPARE(spy_->count(), 1);
}

void TestScrollBar::arrowClick() {
    QTest::mouseClick(bar_, Qt::LeftButton, {},
                      scrollBarPart(bar_, QStyle::SC_ScrollBarAddLine).center());
    QCOMPARE(bar_->value(), 1);
    QCOMPARE(spy_->count(), 1);

    QTest::mouseClick(bar_, Qt::LeftButton, {},
                      scrollBarPart(bar_, QStyle::SC_ScrollBarSubLine).center());
    QCOMPARE(bar_->value(), 0);
    QCOMPARE(spy_->count(), 2);
}

void TestScrollBar::troughClick() {
    const QRect before = scrollBarPart(bar_, QStyle::SC_ScrollBarSubPage);
    QVERIFY(!before.isEmpty());
    QTest::mouseClick(bar_, Qt::LeftButton, {}, QPoint(before.left() + 2, before.center().y()));
    QCOMPARE(bar_->value(), -50);
    QCOMPARE(spy_->count(), 1);

    const QRect after = scrollBarPart(bar_, QStyle::SC_ScrollBarAddPage);
    QTest::mouseClick(bar_, Qt::LeftButton, {}, QPoint(after.right() - 2, after.center().y()));
    QCOMPARE(bar_->value(), 0);
    QCOMPARE(spy_->count(), 2);
}

void TestScrollBar::dragReportsOnRelease() {
    const QPoint grab = scrollBarPart(bar_, QStyle::SC_ScrollBarSlider).center();
    QTest::mousePress(bar_, Qt::LeftButton, {}, grab);
    for (int dx = 10; dx <= 60; dx += 10)
        QTest::mouseMove(bar_, grab + QPoint(dx, 0));
    QVERIFY(bar_->sliderPosition() > 0);
    QCOMPARE(bar_->value(), 0);
    QCOMPARE(spy_->count(), 0);

    QTest::mouseRelease(bar_, Qt::LeftButton, {}, grab + QPoint(60, 0));
    QCOMPARE(spy_->count(), 1);
    QCOMPARE(bar_->value(), bar_->sliderPosition());
    QCOMPARE(spy_->front().front().toInt(), bar_->value());
}

void TestScrollBar::takesTabStop() {
    QWidget window;
    auto* field = new QLineEdit(&window);
    auto* bar = new HScrollBar(0, 10, 1, 5, &window);
    bar->move(0, 40);
    QVERIFY(showActive(window));
    field->setFocus();

    QTest::keyClick(field, Qt::Key_Tab);
    QVERIFY(bar->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    QCOMPARE(bar->value(), 1);
}

void TestScrollBar::focusFrame_data() {
    QTest::addColumn<bool>("focused");
    QTest::newRow("without the focus, as the toolkit's bar") << false;
    QTest::newRow("with the focus, a highlight frame round it") << true;
}

// Compared with the toolkit's own bar in the same focus state, whose look the style decides.
void TestScrollBar::focusFrame() {
    QFETCH(bool, focused);
    QWidget window;
    auto* field = new QLineEdit(&window);
    auto* plain = new QScrollBar(Qt::Horizontal, &window);
    plain->setRange(-100, 100);
    plain->setPageStep(50);
    plain->setFocusPolicy(Qt::StrongFocus);
    auto* bar = new HScrollBar(-100, 100, 1, 50, &window);
    plain->setGeometry(0, 40, 300, 17);
    bar->setGeometry(0, 80, 300, 17);
    QVERIFY(showActive(window));
    const auto look = [&](QScrollBar* b) {
        (focused ? static_cast<QWidget*>(b) : field)->setFocus();
        return b->grab().toImage().convertToFormat(QImage::Format_RGB32);
    };
    const QImage expected = look(plain);
    const QImage shown = look(bar);
    if (!focused) {
        QCOMPARE(shown, expected);
        return;
    }
    const QRect inside = shown.rect().adjusted(2, 2, -2, -2);
    QCOMPARE(shown.copy(inside), expected.copy(inside));
    const QRgb highlight = bar->palette().color(QPalette::Highlight).rgb();
    const int frame = shown.width() * shown.height() - inside.width() * inside.height();
    QCOMPARE(countPixels(shown, highlight) - countPixels(shown, highlight, inside), frame);
}

QTEST_MAIN(TestScrollBar)
#include "test_scrollbar.moc"
