// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

// The curve window as the user meets it: controls, fields and their messages, commands,
// scroll bars and the drawing they leave.
#include "ActivationTracker.h"
#include "CurveFakes.h"
#include "Form4.h"
#include "MessageBoxCloser.h"
#include "Palette.h"
#include "ScrollBar.h"
#include "Twips.h"
#include "WidgetTesting.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>

namespace {

QString shownText(const QWidget* w) {
    if (auto* box = qobject_cast<const QLineEdit*>(w))
        return box->text();
    if (auto* label = qobject_cast<const QLabel*>(w))
        return label->text();
    if (auto* button = qobject_cast<const QAbstractButton*>(w))
        return button->text();
    if (auto* frame = qobject_cast<const QGroupBox*>(w))
        return frame->title();
    return {};
}

double variable(const CurveModel& m, const QString& name) {
    const std::map<QString, double CurveModel::*> variables = {
        {"DAX", &CurveModel::DAX}, {"DAY", &CurveModel::DAY},   {"ALX", &CurveModel::ALX},
        {"ALY", &CurveModel::ALY}, {"INST", &CurveModel::INST}, {"RAX", &CurveModel::RAX},
        {"RAY", &CurveModel::RAY}, {"AVY", &CurveModel::AVY},   {"AVX", &CurveModel::AVX},
    };
    return m.*variables.at(name);
}

QString rangeCaption(const QString& low, const QString& high) {
    return low + QString(51, ' ') + "0" + QString(51, ' ') + high;
}

void sendMouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButtons held) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, w->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

const QStringList focusOrder = {"Text4",    "Text5",  "Command1", "Command2", "Command3",
                                "Text1",    "Text2",  "HScroll1", "Text6",    "HScroll2",
                                "Text7",    "Text9",  "Text3",    "Text8",    "Command4",
                                "Command5", "Text10", "Text11",   "Check1",   "Command6"};

} // namespace

class Form4Test : public QObject {
    Q_OBJECT

    std::unique_ptr<RecordingPrompter> prompter;
    std::unique_ptr<Form4> form;

    template <typename T = QWidget> T* control(const QString& name) {
        return form->findChild<T*>(name);
    }
    int plots() const { return form->model().Miocolor; }
    // Pixels of the drawing in each curve colour, palette indexes 2 to 14.
    std::map<int, int> curveColours() {
        const QImage& image = form->drawing();
        std::map<QRgb, int> index;
        for (int i = 2; i <= 14; ++i)
            index[QBColor(i)] = i;
        std::map<int, int> count;
        for (int y = 0; y < image.height(); ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x)
                if (auto found = index.find(line[x] | 0xff000000); found != index.end())
                    ++count[found->second];
        }
        return count;
    }
    // The palette index of the latest curve.
    int latestColour() const { return form->model().Miocolor + 1; }
    void click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

private slots:
    void initTestCase() { useLocale(); }
    void init();
    void cleanup() {
        form.reset();
        prompter.reset();
    }

    void initialControls_data();
    void initialControls();
    void initialStates();
    void captionsAreWhole();
    void noUnexpectedOverlaps();
    void rangeCaptionsStandOverTheBar_data();
    void rangeCaptionsStandOverTheBar();
    void controlsHideTheDrawing_data();
    void controlsHideTheDrawing();
    void tabOrder();
    void badField_data();
    void badField();
    void displacementByMode_data();
    void displacementByMode();
    void azzera_data();
    void azzera();
    void scrollClicks_data();
    void scrollClicks();
    void dragPlotsOnceOnRelease();
    void check1OnlyChangesItsCaption();
    void eseguiTwiceGivesTwoColours();
    void cancellaLeavesOneCurve();
    void enterAndEscPressNothing();
    void hooks();
    void messageBoxClosingAddsNoCurve();
};

void Form4Test::init() {
    prompter = std::make_unique<RecordingPrompter>();
    form = std::make_unique<Form4>(prompter.get());
    form->readIncr = [] { return 0.75; };
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
}

void Form4Test::initialControls_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<bool>("bold12");
    const auto row = [](const char* name, const QString& text, QRect twips, bool bold = false) {
        QTest::newRow(name) << QString(name) << text << twips << bold;
    };
    row("Frame1", "SEGMENTO ", {240, 480, 3975, 1455});
    row("Label1", "dal   PUNTO     X =", {120, 480, 1455, 255});
    row("Text1", "20", {1680, 360, 615, 375});
    row("Label2", "Y =", {2640, 480, 375, 375});
    row("Text2", "30", {3000, 360, 615, 375});
    row("Label4", " al   PUNTO     X =", {120, 960, 1335, 375});
    row("Text4", "150", {1680, 840, 615, 375});
    row("Label5", "Y = ", {2640, 960, 495, 375});
    row("Text5", "70", {3000, 840, 615, 375});
    row("Command3", "ESCI", {4560, 600, 1935, 255});
    row("Command1", "ESEGUI", {4560, 960, 1935, 495});
    row("Command2", "CANCELLA ed esegui", {4560, 1560, 1935, 375});
    row("Command6", "?", {6840, 1080, 495, 375}, true);
    row("Frame4", "SPOSTAMENTO VERTICALE", {240, 2160, 7095, 855});
    row("Label7", rangeCaption("-500", "+500"), {120, 240, 5535, 255});
    row("HScroll2", "", {120, 480, 5295, 255});
    row("Text7", "0", {5520, 360, 615, 375}, true);
    row("Command4", "Azzera", {6240, 240, 735, 495});
    row("Frame3", "SPOSTAMENTO ORIZZONTALE", {240, 3120, 7095, 855});
    row("Label6", rangeCaption("-600", "+600"), {120, 240, 5535, 255});
    row("HScroll1", "", {120, 480, 5295, 255});
    row("Text6", "0", {5520, 360, 615, 375}, true);
    row("Command5", "Azzera", {6240, 240, 735, 495});
    row("Frame2", "PUNTO da raggiungere con la CURVA", {240, 4320, 2895, 735});
    row("Label3", "x", {360, 240, 255, 255}, true);
    row("Text3", "300", {720, 240, 615, 375});
    row("Label8", "y", {1560, 240, 375, 375}, true);
    row("Text8", "270", {2040, 240, 615, 375});
    row("Frame5", "INCREMENTO DI ALFA", {3360, 4080, 2055, 1095});
    row("Label10", "Verticale", {240, 240, 1695, 255});
    row("Text10", "1", {1560, 240, 375, 285});
    row("Label11", "Orizzontale", {240, 600, 855, 375});
    row("Text11", "1", {1560, 600, 375, 285});
    row("Label9", "Incremento dei Punti-Curva", {5520, 4200, 1215, 375});
    row("Text9", "5", {6960, 4200, 375, 375});
    row("Check1", "Curve Singole", {5760, 4800, 1455, 375});
}

void Form4Test::initialControls() {
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QRect, twips);
    QFETCH(bool, bold12);
    QWidget* w = control(name);
    QVERIFY(w);
    QCOMPARE(shownText(w), text);
    const QRect designed = twipsRect(twips.x(), twips.y(), twips.width(), twips.height());
    if (qobject_cast<QLabel*>(w)) {
        // A label may grow to the right to keep its caption on one line.
        QCOMPARE(w->pos(), designed.topLeft());
        QCOMPARE(w->height(), designed.height());
        QVERIFY(w->width() >= designed.width());
    } else {
        QCOMPARE(w->geometry(), designed);
    }
    QCOMPARE(w->font().bold(), bold12);
    QCOMPARE(w->font().pointSizeF(), bold12 ? 12.0 : 8.0);
    QVERIFY(w->isVisible());
}

void Form4Test::initialStates() {
    QCOMPARE(form->windowTitle(), QStringLiteral("Form4"));
    QCOMPARE(form->normalGeometry().size(), QSize(707, 452));

    const struct {
        HScrollBar* bar;
        int limit;
    } bars[] = {{form->HScroll1, 600}, {form->HScroll2, 500}};
    for (const auto& [bar, limit] : bars) {
        QCOMPARE(bar->minimum(), -limit);
        QCOMPARE(bar->maximum(), limit);
        QCOMPARE(bar->value(), 0);
        QCOMPARE(bar->singleStep(), 1);
        QCOMPARE(bar->pageStep(), 50);
    }
    QVERIFY(!form->Check1->isChecked());
    QCOMPARE(form->Frame4->toolTip(), QStringLiteral("LargeChange = 50; SmallChange =1"));
    QCOMPARE(form->Frame3->toolTip(), QStringLiteral("LargeChange =50; SmallChange =1"));
    for (QPushButton* button : form->findChildren<QPushButton*>()) {
        QVERIFY(!button->isDefault());
        QVERIFY(!button->autoDefault());
    }
    for (QWidget* w : form->findChildren<QWidget*>())
        if (qobject_cast<QLabel*>(w) || qobject_cast<QGroupBox*>(w))
            QCOMPARE(w->focusPolicy(), Qt::NoFocus);
    // Nothing is drawn before the first activation.
    QCOMPARE(plots(), 0);
}

void Form4Test::captionsAreWhole() {
    for (QLabel* label : form->findChildren<QLabel*>()) {
        if (label == form->Label9) {
            // Two lines: "Incremento dei" / "Punti-Curva".
            const int lines = label->heightForWidth(label->width()) / label->fontMetrics().height();
            QCOMPARE(lines, 2);
            QVERIFY(label->fontMetrics().height() + label->fontMetrics().ascent() <=
                    label->height());
        } else {
            QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(),
                     qPrintable(label->objectName()));
        }
    }
    for (QGroupBox* frame : form->findChildren<QGroupBox*>())
        QVERIFY2(frame->fontMetrics().horizontalAdvance(frame->title()) <= frame->width(),
                 qPrintable(frame->objectName()));
}

// Controls overlap only where the design has them overlap: the labels that grew to hold their
// captions cover nothing.
void Form4Test::noUnexpectedOverlaps() {
    QStringList overlaps;
    const QList<QWidget*> controls = form->findChildren<QWidget*>();
    for (QWidget* a : controls)
        for (QWidget* b : controls)
            if (!a->objectName().isEmpty() && a->objectName() < b->objectName() &&
                a->parentWidget() == b->parentWidget() && a->geometry().intersects(b->geometry()))
                overlaps << a->objectName() + " " + b->objectName();
    overlaps.sort();
    QCOMPARE(overlaps,
             QStringList({"HScroll1 Label6", "HScroll2 Label7", "Label10 Text10", "Label2 Text2",
                          "Label2 Text5", "Label5 Text5", "Label6 Text6", "Label7 Text7"}));
}

void Form4Test::rangeCaptionsStandOverTheBar_data() {
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("bar");
    QTest::newRow("vertical") << "Label7"
                              << "HScroll2";
    QTest::newRow("horizontal") << "Label6"
                                << "HScroll1";
}

// The three numbers stand over the left end, the middle and the right end of the bar.
void Form4Test::rangeCaptionsStandOverTheBar() {
    QFETCH(QString, label);
    QFETCH(QString, bar);
    const QImage image = control(label)->grab().toImage();
    const int barWidth = control(bar)->width();
    const QRgb ink = form->palette().color(QPalette::WindowText).rgb();
    QList<int> inked;
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y)
            if (qGray(image.pixel(x, y)) < qGray(ink) + 100) {
                inked << x;
                break;
            }
    QVERIFY(!inked.isEmpty());
    QVERIFY(inked.front() <= 2);
    QVERIFY(inked.back() < barWidth && inked.back() >= barWidth - 3);
    const auto nearMiddle = [&](int x) { return std::abs(x - barWidth / 2) <= 4; };
    QVERIFY(std::any_of(inked.begin(), inked.end(), nearMiddle));
}

void Form4Test::controlsHideTheDrawing_data() {
    QTest::addColumn<QString>("name");
    for (const char* name :
         {"Frame1", "Frame2", "Frame3", "Frame4", "Frame5", "Label9", "Check1", "Label11"})
        QTest::newRow(name) << QString(name);
}

// A line drawn across the window is hidden where it passes behind a control.
void Form4Test::controlsHideTheDrawing() {
    QFETCH(QString, name);
    QWidget* w = control(name);
    const QRect place(w->mapTo(form.get(), QPoint(0, 0)), w->size());
    const QPoint behind(place.right() - 2, place.center().y());
    form->setScaleWidth(float(form->width()));
    form->setScaleHeight(float(form->height()));
    form->setDrawWidth(3);
    form->Line(0, float(behind.y()), float(form->width()), float(behind.y()));
    const QImage shot = form->grab().toImage();
    QCOMPARE(shot.pixel(form->width() - 10, behind.y()), form->ForeColor());
    QVERIFY(shot.pixel(behind) != form->ForeColor());
}

void Form4Test::tabOrder() {
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    QCOMPARE(QApplication::focusWidget(), form->Text4);
    QStringList walked;
    for (int i = 0; i < focusOrder.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        walked << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(walked, focusOrder.mid(1) << "Text4");
}

// Which text a field falls back to, for every field and text, is pinned by the hostile-field
// test; here, what the user sees around the message.
void Form4Test::badField_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("fallback");
    const auto row = [](const char* box, const char* text, const char* name, const char* fallback) {
        QTest::newRow(qPrintable(QString(name) + " " + text))
            << QString(box) << QString(text) << QString(name) << QString(fallback);
    };
    row("Text1", "abc", "DAX", "1");
    row("Text8", "abc", "RAY", "270");
}

void Form4Test::badField() {
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(QString, name);
    QFETCH(QString, fallback);
    form->Form_Activate();
    auto* field = control<QLineEdit>(box);
    field->setText(text);
    QStringList shownWhileOpen;
    prompter->onMessage = [&](const QString&) { shownWhileOpen << field->text(); };

    click(form->Command1);
    QCOMPARE(prompter->messages, QStringList{name + " non è un numero"});
    QCOMPARE(shownWhileOpen, QStringList{text});
    QCOMPARE(field->text(), fallback);
    QCOMPARE(variable(form->model(), name), fallback.toDouble());
    QCOMPARE(plots(), 2);

    // The fallback is a number: the next plot shows no message.
    click(form->Command1);
    QCOMPARE(prompter->messages.size(), 1);
}

void Form4Test::displacementByMode_data() {
    QTest::addColumn<bool>("multiple");
    QTest::newRow("single curve") << false;
    QTest::newRow("multiple curves") << true;
}

void Form4Test::displacementByMode() {
    QFETCH(bool, multiple);
    form->Form_Activate();
    form->Check1->setChecked(multiple);
    form->HScroll1->setValue(250);
    QCOMPARE(form->Text6->text(), QStringLiteral("250"));
    QCOMPARE(form->model().SPTX, 250);
    form->HScroll2->setValue(-120);
    QCOMPARE(form->Text7->text(), QStringLiteral("-120"));
    QCOMPARE(form->model().SPTY, -120);
    QCOMPARE(plots(), 3);
    // A single curve clears the earlier ones; multiple curves keep them.
    QCOMPARE(curveColours().size(), multiple ? 3u : 1u);
    QVERIFY(curveColours().count(latestColour()));
}

void Form4Test::azzera_data() {
    QTest::addColumn<QString>("bar");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("start");
    QTest::addColumn<bool>("multiple");
    QTest::addColumn<int>("curvesAfter");
    const auto row = [](const char* name, const char* bar, const char* button, const char* box,
                        int start, bool multiple, int curvesAfter) {
        QTest::newRow(name) << QString(bar) << QString(button) << QString(box) << start << multiple
                            << curvesAfter;
    };
    row("vertical already at 0", "HScroll2", "Command4", "Text7", 0, false, 1);
    row("vertical at 120, single curve", "HScroll2", "Command4", "Text7", 120, false, 1);
    // The curve at 0 is drawn again in the next colour, over the first one.
    row("horizontal at -300, multiple curves", "HScroll1", "Command5", "Text6", -300, true, 2);
}

void Form4Test::azzera() {
    QFETCH(QString, bar);
    QFETCH(QString, button);
    QFETCH(QString, box);
    QFETCH(int, start);
    QFETCH(bool, multiple);
    QFETCH(int, curvesAfter);
    form->Form_Activate();
    form->Check1->setChecked(multiple);
    control<QScrollBar>(bar)->setValue(start);
    const int before = plots();

    click(control<QPushButton>(button));
    QCOMPARE(plots(), before + (start != 0 ? 1 : 0));
    QCOMPARE(control<QScrollBar>(bar)->value(), 0);
    QCOMPARE(control<QLineEdit>(box)->text(), QStringLiteral("0"));
    QCOMPARE(form->model().SPTX, 0);
    QCOMPARE(form->model().SPTY, 0);
    QCOMPARE(int(curveColours().size()), curvesAfter);
    QVERIFY(curveColours().count(latestColour()));
}

void Form4Test::scrollClicks_data() {
    QTest::addColumn<QString>("bar");
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("part");
    QTest::addColumn<QString>("shown");
    const auto row = [](const char* name, const char* bar, const char* box, QStyle::SubControl part,
                        const char* shown) {
        QTest::newRow(name) << QString(bar) << QString(box) << int(part) << QString(shown);
    };
    row("right arrow, horizontal", "HScroll1", "Text6", QStyle::SC_ScrollBarAddLine, "1");
    row("left arrow, vertical", "HScroll2", "Text7", QStyle::SC_ScrollBarSubLine, "-1");
    row("trough left of the thumb", "HScroll1", "Text6", QStyle::SC_ScrollBarSubPage, "-50");
    row("trough right of the thumb", "HScroll2", "Text7", QStyle::SC_ScrollBarAddPage, "50");
}

void Form4Test::scrollClicks() {
    QFETCH(QString, bar);
    QFETCH(QString, box);
    QFETCH(int, part);
    QFETCH(QString, shown);
    form->Form_Activate();
    auto* scroll = control<QScrollBar>(bar);
    QTest::mouseClick(scroll, Qt::LeftButton, {},
                      scrollBarPart(scroll, QStyle::SubControl(part)).center());
    QCOMPARE(control<QLineEdit>(box)->text(), shown);
    QCOMPARE(plots(), 2);
    QCOMPARE(bar == "HScroll1" ? form->model().SPTX : form->model().SPTY, shown.toInt());
}

void Form4Test::dragPlotsOnceOnRelease() {
    form->Form_Activate();
    QScrollBar* bar = form->HScroll1;
    const QPoint grip = scrollBarPart(bar, QStyle::SC_ScrollBarSlider).center();
    sendMouse(bar, QEvent::MouseButtonPress, grip, Qt::LeftButton);
    for (int dx = 5; dx <= 60; dx += 5)
        sendMouse(bar, QEvent::MouseMove, grip + QPoint(dx, 0), Qt::LeftButton);
    QCOMPARE(plots(), 1);
    QCOMPARE(form->Text6->text(), QStringLiteral("0"));
    sendMouse(bar, QEvent::MouseButtonRelease, grip + QPoint(60, 0), Qt::NoButton);
    QCOMPARE(plots(), 2);
    QVERIFY(bar->value() > 0);
    QCOMPARE(form->Text6->text(), QString::number(bar->value()));
}

void Form4Test::check1OnlyChangesItsCaption() {
    form->Form_Activate();
    const QImage before = form->drawing().copy();
    click(form->Check1);
    QCOMPARE(form->Check1->text(), QStringLiteral("Curve Multiple"));
    click(form->Check1);
    QCOMPARE(form->Check1->text(), QStringLiteral("Curve Singole"));
    QCOMPARE(plots(), 1);
    QCOMPARE(form->drawing(), before);
}

void Form4Test::eseguiTwiceGivesTwoColours() {
    form->Form_Activate();
    form->Cls();
    click(form->Command1);
    QCOMPARE(curveColours().size(), 1u);
    QVERIFY(curveColours().count(3));
    click(form->Command1);
    QVERIFY(curveColours().count(4));
    QCOMPARE(plots(), 3);
}

void Form4Test::cancellaLeavesOneCurve() {
    form->Form_Activate();
    form->HScroll2->setValue(200);
    form->Check1->setChecked(true);
    form->HScroll2->setValue(-200);
    click(form->Command1);
    QVERIFY(curveColours().size() > 1);
    click(form->Command2);
    QCOMPARE(curveColours().size(), 1u);
    QVERIFY(curveColours().count(latestColour()));
}

void Form4Test::enterAndEscPressNothing() {
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    for (QWidget* w : {static_cast<QWidget*>(form->Text1), static_cast<QWidget*>(form->Text9),
                       static_cast<QWidget*>(form->Check1)}) {
        w->setFocus();
        QTest::keyClick(w, Qt::Key_Return);
        QTest::keyClick(w, Qt::Key_Enter);
        QTest::keyClick(w, Qt::Key_Escape);
    }
    QCOMPARE(plots(), 0);
}

void Form4Test::hooks() {
    int ended = 0, instructions = 0;
    form->endProgram = [&] { ++ended; };
    form->showInstructions = [&] { ++instructions; };
    click(form->Command3);
    QCOMPARE(ended, 1);
    click(form->Command6);
    QCOMPARE(instructions, 1);
    QCOMPARE(plots(), 0);
}

// The real box, over a window that an activation tracker drives as the program does.
void Form4Test::messageBoxClosingAddsNoCurve() {
    form.reset();
    Form4 window;
    window.readIncr = [] { return 0.75; };
    ActivationTracker tracker;
    tracker.addForm(&window, [&] { window.Form_Activate(); });
    tracker.installOnApplication();
    QVERIFY(showActive(window));
    QTRY_COMPARE(window.model().Miocolor, 1);

    MessageBoxCloser closer;
    window.Text1->setText("abc");
    click(window.Command1);
    QCOMPARE(closer.text, QStringLiteral("DAX non è un numero"));
    QCOMPARE(closer.icon, QMessageBox::NoIcon);
    QCOMPARE(closer.buttons, 1);
    QCOMPARE(window.Text1->text(), QStringLiteral("1"));
    // The window's activation coming back is what would plot again.
    window.activateWindow();
    QVERIFY2(QTest::qWaitForWindowActive(&window), "the curve window was not activated again");
    QCOMPARE(window.model().Miocolor, 2);
}

QTEST_MAIN(Form4Test)
#include "test_form4.moc"
