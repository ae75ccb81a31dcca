// Every control a user reaches with Tab tells assistive technology what it is, on all three
// windows; the displacement bars report their value.

#include "Form1.h"
#include "Form2.h"
#include "Form4.h"
#include "InstructionsLayout.h"
#include "RecordingPrompter.h"
#include "ScrollBar.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QCheckBox>
#include <QTest>
#include <functional>
#include <memory>

namespace {

using WindowMaker = std::function<std::unique_ptr<QWidget>(Prompter*)>;

const WindowMaker makeForm1 = [](Prompter*) { return std::make_unique<Form1>(); };
const WindowMaker makeForm2 = [](Prompter* p) { return std::make_unique<Form2>(p); };
// Moving a displacement bar plots, at some calibration ratio.
const WindowMaker makeForm4 = [](Prompter* p) {
    auto form = std::make_unique<Form4>(p);
    form->readIncr = [] { return 0.75; };
    return form;
};

// The controls Tab stops at, in the order it visits them.
QList<QWidget*> tabStops(QWidget& window) {
    QList<QWidget*> stops;
    for (QWidget* w = window.nextInFocusChain(); w != &window && stops.size() < 1000;
         w = w->nextInFocusChain())
        if ((w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && w->isVisibleTo(&window) &&
            w->isEnabled())
            stops << w;
    return stops;
}

QString accessibleText(QObject* object, QAccessible::Text kind) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(object);
    return iface != nullptr ? iface->text(kind).trimmed() : QString();
}

} // namespace

Q_DECLARE_METATYPE(WindowMaker)

class TestAccessibility : public QObject {
    Q_OBJECT

private slots:
    void everyTabStopHasAName_data();
    void everyTabStopHasAName();
    void textsSayWhatCaptionsDoNot_data();
    void textsSayWhatCaptionsDoNot();
    void scrollBarsReportTheirValue_data();
    void scrollBarsReportTheirValue();
    void checkBoxNameFollowsItsCaption();

private:
    RecordingPrompter prompter_;
};

void TestAccessibility::everyTabStopHasAName_data() {
    QTest::addColumn<WindowMaker>("make");
    QTest::addColumn<int>("stops");
    QTest::newRow("Form1") << makeForm1 << 1;
    QTest::newRow("Form2") << makeForm2 << 5;
    QTest::newRow("Form4") << makeForm4 << 20;
}

// A name shared by two controls of one window would not tell them apart either.
void TestAccessibility::everyTabStopHasAName() {
    QFETCH(WindowMaker, make);
    QFETCH(int, stops);
    const std::unique_ptr<QWidget> window = make(&prompter_);
    QVERIFY(!accessibleText(window.get(), QAccessible::Description).isEmpty());

    const QList<QWidget*> controls = tabStops(*window);
    QCOMPARE(controls.size(), stops);
    QStringList problems;
    QStringList names;
    for (QWidget* control : controls) {
        const QString name = accessibleText(control, QAccessible::Name);
        if (name.isEmpty() || name == QStringLiteral("?"))
            problems << control->objectName() + QStringLiteral(" has no name");
        else if (names.contains(name))
            problems << control->objectName() + QStringLiteral(" repeats the name ") + name;
        names << name;
    }
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QStringLiteral("; "))));
}

void TestAccessibility::textsSayWhatCaptionsDoNot_data() {
    QTest::addColumn<WindowMaker>("make");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("description");

    QTest::newRow("start x") << makeForm4 << "Text1"
                             << "dal PUNTO, X"
                             << "punto iniziale della corda, x";
    QTest::newRow("vertical reset") << makeForm4 << "Command4"
                                    << "Azzera SPOSTAMENTO VERTICALE"
                                    << "riporta a 0 lo spostamento verticale";
    QTest::newRow("horizontal reset") << makeForm4 << "Command5"
                                      << "Azzera SPOSTAMENTO ORIZZONTALE"
                                      << "riporta a 0 lo spostamento orizzontale";
    QTest::newRow("vertical box") << makeForm4 << "Text7"
                                  << "valore dello SPOSTAMENTO VERTICALE"
                                  << "mostra la posizione della barra";
    QTest::newRow("calibration bar") << makeForm2 << "HScroll1"
                                     << "barra di scorrimento della calibrazione"
                                     << "CIRCONFERENZA";
    // The page is a picture: its text reaches assistive technology through the description.
    QTest::newRow("instructions page") << makeForm1 << ""
                                       << "Istruzioni" << instructionParagraph(18).trimmed();
}

void TestAccessibility::textsSayWhatCaptionsDoNot() {
    QFETCH(WindowMaker, make);
    QFETCH(QString, control);
    QFETCH(QString, name);
    QFETCH(QString, description);
    const std::unique_ptr<QWidget> window = make(&prompter_);
    QObject* object = control.isEmpty() ? static_cast<Form1*>(window.get())->OLE1
                                        : window->findChild<QWidget*>(control);
    QVERIFY(object);
    QCOMPARE(accessibleText(object, QAccessible::Name), name);
    QVERIFY2(accessibleText(object, QAccessible::Description).contains(description),
             qPrintable(accessibleText(object, QAccessible::Description)));
}

void TestAccessibility::scrollBarsReportTheirValue_data() {
    QTest::addColumn<WindowMaker>("make");
    QTest::addColumn<QString>("bar");
    QTest::addColumn<int>("position");
    QTest::newRow("horizontal displacement") << makeForm4 << "HScroll1" << -600;
    QTest::newRow("vertical displacement") << makeForm4 << "HScroll2" << 250;
    QTest::newRow("calibration") << makeForm2 << "HScroll1" << 17;
}

void TestAccessibility::scrollBarsReportTheirValue() {
    QFETCH(WindowMaker, make);
    QFETCH(QString, bar);
    QFETCH(int, position);
    const std::unique_ptr<QWidget> window = make(&prompter_);
    auto* scrollBar = window->findChild<HScrollBar*>(bar);
    QVERIFY(scrollBar);
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(scrollBar);
    QVERIFY(iface);
    QAccessibleValueInterface* value = iface->valueInterface();
    QVERIFY(value);
    QCOMPARE(value->minimumValue().toInt(), scrollBar->minimum());
    QCOMPARE(value->maximumValue().toInt(), scrollBar->maximum());

    scrollBar->setValue(position);
    QCOMPARE(value->currentValue().toInt(), position);
    QCOMPARE(iface->text(QAccessible::Value), QString::number(position));
}

// The caption tells the mode, so the name must change with it.
void TestAccessibility::checkBoxNameFollowsItsCaption() {
    Form4 window(&prompter_);
    QCOMPARE(accessibleText(window.Check1, QAccessible::Name), QStringLiteral("Curve Singole"));
    window.Check1->click();
    QCOMPARE(accessibleText(window.Check1, QAccessible::Name), QStringLiteral("Curve Multiple"));
    QVERIFY(!accessibleText(window.Check1, QAccessible::Description).isEmpty());
}

QTEST_MAIN(TestAccessibility)
#include "test_accessibility.moc"
