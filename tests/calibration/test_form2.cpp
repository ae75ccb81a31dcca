// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "Form2.h"
#include "MessageBoxCloser.h"
#include "Palette.h"
#include "RecordingPrompter.h"
#include "ScrollBar.h"
#include "WidgetTesting.h"

#include <QApplication>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cmath>

namespace {

const QRgb FigureRed = QBColor(4);

// The figure as the user sees it: a circle of radius 36367.36 drawing units whose centre
// stands 20000 units right of the middle of a client area 146367.36 units across, and the
// ratio the bar's position gives.
constexpr double FigureWidth = 146367.36;
constexpr double FigureRadius = 36367.36328125;
constexpr double FigureCentreX = 0.5 + 20000 / FigureWidth; // across the client area

double ratioAt(int position) {
    return 0.51 + 0.02 * position;
}

// Runs of figure pixels down one column from the top to the given row: each figure crosses
// the column once above its centre.
int figuresCrossing(const QImage& image, int x, int bottom) {
    int runs = 0;
    bool inRun = false;
    for (int y = 0; y < bottom; ++y) {
        const bool red = image.pixel(x, y) == FigureRed;
        runs += red && !inRun;
        inRun = red;
    }
    return runs;
}

// A column left of the vertical axis that every figure crosses.
int figureColumn(const Form2& form) {
    return int((FigureCentreX - 0.15) * form.width());
}

bool figureNear(const QImage& image, QPointF pixel, int tolerance) {
    for (int dy = -tolerance; dy <= tolerance; ++dy)
        for (int dx = -tolerance; dx <= tolerance; ++dx) {
            const QPoint p(int(pixel.x()) + dx, int(pixel.y()) + dy);
            if (image.rect().contains(p) && image.pixel(p) == FigureRed)
                return true;
        }
    return false;
}

} // namespace

class TestForm2 : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { useLocale(); }
    void init();
    void cleanup();

    void layout_data();
    void layout();
    void windowAndScrollRange();
    void captionsAreWhole();
    void tabOrder();
    void userActions_data();
    void userActions();
    void commands_data();
    void commands();
    void refusalInARealMessageBox();
    void figureOnThePredictedEllipse_data();
    void figureOnThePredictedEllipse();
    void roundWhenRatioMatchesTheWindow_data();
    void roundWhenRatioMatchesTheWindow();

private:
    void showActivated();
    // Sends a script of keys and clicks to the window as the user would: key names go to the
    // focused control, "type:" text is typed into it, "click" presses a button, "mark" writes
    // a marker into Text1 to tell whether a later change event rewrites it.
    void perform(const QString& script);

    RecordingPrompter prompter_;
    Form2* form_ = nullptr;
};

void TestForm2::init() {
    prompter_.messages.clear();
    form_ = new Form2(&prompter_);
}

void TestForm2::cleanup() {
    delete form_;
    form_ = nullptr;
}

void TestForm2::showActivated() {
    QVERIFY(showActive(*form_));
    form_->Form_Activate();
}

void TestForm2::perform(const QString& script) {
    for (const QString& step : script.split(u' ', Qt::SkipEmptyParts)) {
        if (step == u"mark")
            form_->Text1->setText(QStringLiteral("marker"));
        else if (step.startsWith(u"type:"))
            QTest::keyClicks(QApplication::focusWidget(), step.mid(5));
        else if (step.startsWith(u"click"))
            QTest::mouseClick(form_->findChild<QPushButton*>(step.mid(5)), Qt::LeftButton);
        else
            QTest::keyClick(QApplication::focusWidget(),
                            Qt::Key(QKeySequence::fromString(step)[0].key()));
    }
}

void TestForm2::layout_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("caption");

    QTest::newRow("HScroll1") << "HScroll1" << QRect(32, 72, 393, 17) << "";
    QTest::newRow("Text1") << "Text1" << QRect(24, 192, 49, 25) << "Text1";
    QTest::newRow("Command1") << "Command1" << QRect(208, 192, 105, 41) << "OK - continua";
    QTest::newRow("Command2")
        << "Command2" << QRect(24, 104, 417, 49)
        << "KLICCARE  sulla barra di scorrimento fino a che la figura  risulti una CIRCONFERENZA";
    QTest::newRow("Command3") << "Command3" << QRect(24, 272, 113, 41) << "ESCI";
    QTest::newRow("Label1")
        << "Label1" << QRect(24, 16, 609, 33)
        << "Per calibrare l' impostazione corretta della risoluzione dello SCHERMO";
}

void TestForm2::layout() {
    QFETCH(QString, control);
    QFETCH(QRect, geometry);
    QFETCH(QString, caption);
    const QWidget* widget = form_->findChild<QWidget*>(control);
    QVERIFY(widget);
    QCOMPARE(widget->geometry(), geometry);
    QCOMPARE(widget->property("text").toString(), caption);
}

void TestForm2::windowAndScrollRange() {
    QCOMPARE(form_->windowTitle(), QStringLiteral("Form2"));
    QCOMPARE(form_->size(), QSize(657, 456));
    QCOMPARE(form_->HScroll1->minimum(), 1);
    QCOMPARE(form_->HScroll1->maximum(), 30);
    QCOMPARE(form_->HScroll1->value(), 1);
    QCOMPARE(form_->HScroll1->singleStep(), 1);
    QCOMPARE(form_->HScroll1->pageStep(), 1);
}

void TestForm2::captionsAreWhole() {
    showActivated();

    // The title fits its label and is painted red.
    QLabel* title = form_->Label1;
    QVERIFY(title->fontMetrics().horizontalAdvance(title->text()) <= title->contentsRect().width());
    QVERIFY(title->fontMetrics().height() <= title->height());
    const QImage titleImage = title->grab().toImage();
    int reddest = 0;
    for (int y = 0; y < titleImage.height(); ++y)
        for (int x = 0; x < titleImage.width(); ++x)
            reddest =
                std::max(reddest, qRed(titleImage.pixel(x, y)) - qGreen(titleImage.pixel(x, y)));
    QVERIFY2(reddest > 200, qPrintable(QString::number(reddest)));

    // The instruction wraps onto two lines inside the button's face.
    QPushButton* instruction = form_->Command2;
    const QRect face = instruction->rect().adjusted(4, 4, -4, -4);
    const QRect needed = instruction->fontMetrics().boundingRect(
        face, Qt::AlignCenter | Qt::TextWordWrap, instruction->text());
    QVERIFY(face.contains(needed));
    const QImage image = instruction->grab().toImage();
    int lines = 0;
    bool inLine = false;
    for (int y = face.top(); y <= face.bottom(); ++y) {
        bool ink = false;
        for (int x = face.left(); x <= face.right() && !ink; ++x)
            ink = qGray(image.pixel(x, y)) < 80;
        lines += ink && !inLine;
        inLine = ink;
    }
    QCOMPARE(lines, 2);
}

void TestForm2::tabOrder() {
    showActivated();
    QCOMPARE(QApplication::focusWidget(), form_->HScroll1);
    const QList<QWidget*> expected = {form_->Text1, form_->Command1, form_->Command2,
                                      form_->Command3, form_->HScroll1};
    for (QWidget* next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
    }
}

void TestForm2::userActions_data() {
    QTest::addColumn<QString>("script");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("figures");
    QTest::addColumn<QString>("focused");

    QTest::newRow("first showing") << "" << 1 << "0,51" << 1 << "HScroll1";
    QTest::newRow("Right once") << "Right" << 2 << "0,55" << 2 << "HScroll1";
    QTest::newRow("Right twice nests") << "Right Right" << 3 << "0,57" << 3 << "HScroll1";
    QTest::newRow("a step left leaves one") << "Right Right Left" << 2 << "0,55" << 1 << "HScroll1";
    QTest::newRow("PageDown moves by 1") << "PgDown" << 2 << "0,55" << 2 << "HScroll1";
    QTest::newRow("Left at 1") << "mark Left" << 1 << "marker" << 1 << "HScroll1";
    QTest::newRow("Right at 30") << "End mark Right" << 30 << "marker" << 2 << "HScroll1";
    QTest::newRow("typing into Text1") << "Tab type:0,99" << 1 << "0,99" << 1 << "Text1";
    QTest::newRow("instruction button") << "clickCommand2" << 1 << "0,51" << 1 << "Command2";
}

void TestForm2::userActions() {
    QFETCH(QString, script);
    QFETCH(int, position);
    QFETCH(QString, shown);
    QFETCH(int, figures);
    QFETCH(QString, focused);
    showActivated();

    perform(script);

    QCOMPARE(form_->HScroll1->value(), position);
    QCOMPARE(form_->Text1->text(), shown);
    QCOMPARE(figuresCrossing(form_->drawing(), figureColumn(*form_), form_->height() / 2), figures);
    QCOMPARE(QApplication::focusWidget()->objectName(), focused);
    QVERIFY(prompter_.messages.isEmpty());
}

void TestForm2::commands_data() {
    QTest::addColumn<QString>("script");
    QTest::addColumn<int>("messages");
    QTest::addColumn<int>("curveWindowShown");
    QTest::addColumn<int>("programEnded");

    QTest::newRow("OK at 0.51") << "clickCommand1" << 1 << 0 << 0;
    QTest::newRow("OK at 2") << "Right clickCommand1" << 0 << 1 << 0;
    QTest::newRow("OK after typing 0,99") << "Tab type:0,99 clickCommand1" << 1 << 0 << 0;
    QTest::newRow("ESCI") << "clickCommand3" << 0 << 0 << 1;
    QTest::newRow("Return and Escape on the bar") << "Right Return Escape" << 0 << 0 << 0;
    QTest::newRow("Return and Escape in Text1") << "Right Tab Return Escape" << 0 << 0 << 0;
}

void TestForm2::commands() {
    QFETCH(QString, script);
    QFETCH(int, messages);
    QFETCH(int, curveWindowShown);
    QFETCH(int, programEnded);
    int shown = 0;
    int ended = 0;
    form_->showCurveWindow = [&shown] { ++shown; };
    form_->endProgram = [&ended] { ++ended; };
    showActivated();

    perform(script);

    QCOMPARE(prompter_.messages.size(), messages);
    for (const QString& message : std::as_const(prompter_.messages))
        QCOMPARE(message, QStringLiteral("Impostare la risoluzione SCHERMO"));
    QCOMPARE(shown, curveWindowShown);
    QCOMPARE(ended, programEnded);
}

void TestForm2::refusalInARealMessageBox() {
    Form2 form;
    QVERIFY(showActive(form));
    form.Form_Activate();
    MessageBoxCloser closer;
    QTest::mouseClick(form.Command1, Qt::LeftButton);
    QCOMPARE(closer.text, QStringLiteral("Impostare la risoluzione SCHERMO"));
    QCOMPARE(closer.icon, QMessageBox::NoIcon);
    QCOMPARE(closer.buttons, 1);
}

void TestForm2::figureOnThePredictedEllipse_data() {
    QTest::addColumn<QSize>("client");
    QTest::addColumn<int>("position"); // 0: as activated

    QTest::newRow("design size, 0.51") << QSize(657, 456) << 0;
    QTest::newRow("800x600, 0.51") << QSize(800, 600) << 0;
    QTest::newRow("800x600, 0.65") << QSize(800, 600) << 7;
    QTest::newRow("1280x990, 1.09") << QSize(1280, 990) << 29;
}

void TestForm2::figureOnThePredictedEllipse() {
    QFETCH(QSize, client);
    QFETCH(int, position);
    form_->resize(client);
    form_->Form_Activate();
    if (position) {
        // Down from the top, so that only this figure remains.
        form_->HScroll1->setValue(30);
        form_->HScroll1->setValue(position);
    }
    const QImage& image = form_->drawing();
    const double degree = 3.14159265358979 / 180;
    const double height = FigureWidth * ratioAt(position);
    // Every two and a half degrees, so that a figure of separate dots shows its gaps.
    for (double angle = 0; angle < 360; angle += 2.5) {
        const double x = FigureCentreX + std::cos(angle * degree) * FigureRadius / FigureWidth;
        const double y = 0.5 + std::sin(angle * degree) * FigureRadius / height;
        const QPointF pixel(x * client.width(), y * client.height());
        QVERIFY2(figureNear(image, pixel, 1), qPrintable(QStringLiteral("%1 degrees").arg(angle)));
    }
}

void TestForm2::roundWhenRatioMatchesTheWindow_data() {
    QTest::addColumn<QSize>("client");
    QTest::addColumn<int>("position");

    QTest::newRow("1000x650 at 0.65") << QSize(1000, 650) << 7;
    QTest::newRow("1000x910 at 0.91") << QSize(1000, 910) << 20;
    QTest::newRow("1280x1011 at 0.79") << QSize(1280, 1011) << 14;
    QTest::newRow("1000x650 at 0.85, flatter") << QSize(1000, 650) << 17;
    QTest::newRow("1000x650 at 0.53, taller") << QSize(1000, 650) << 1;
}

void TestForm2::roundWhenRatioMatchesTheWindow() {
    QFETCH(QSize, client);
    QFETCH(int, position);
    form_->resize(client);
    form_->Form_Activate();
    form_->HScroll1->setValue(30);
    form_->HScroll1->setValue(position);

    const QRect extent = extentOf(form_->drawing(), FigureRed);
    // Height over width on the screen: the window's proportion over the ratio.
    const double aspect = double(client.height()) / client.width() / ratioAt(position);
    QVERIFY2(std::abs(extent.height() - extent.width() * aspect) <= 2,
             qPrintable(QStringLiteral("%1 x %2").arg(extent.width()).arg(extent.height())));
}

QTEST_MAIN(TestForm2)
#include "test_form2.moc"
