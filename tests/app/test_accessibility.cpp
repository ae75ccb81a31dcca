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
#include <QTest>
#include <memory>

namespace {

RecordingPrompter prompter;

std::unique_ptr<QWidget> makeWindow(const QString& title) {
    if (title == "Form1")
        return std::make_unique<Form1>();
    if (title == "Form2")
        return std::make_unique<Form2>(&prompter);
    auto form = std::make_unique<Form4>(&prompter);
    form->readIncr = [] { return 0.75; }; // moving a displacement bar plots
    return form;
}

QString accessibleText(QObject* object, QAccessible::Text kind) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(object);
    return iface != nullptr ? iface->text(kind).trimmed() : QString();
}

} // namespace

class TestAccessibility : public QObject {
    Q_OBJECT

private slots:
    // A name shared by two controls of one window would not tell them apart either.
    void everyTabStopHasItsOwnName_data() {
        QTest::addColumn<int>("stops");
        QTest::newRow("Form1") << 1;
        QTest::newRow("Form2") << 5;
        QTest::newRow("Form4") << 20;
    }
    void everyTabStopHasItsOwnName() {
        QFETCH(int, stops);
        const std::unique_ptr<QWidget> window = makeWindow(QTest::currentDataTag());
        QVERIFY(!accessibleText(window.get(), QAccessible::Description).isEmpty());
        QStringList names, problems;
        for (QWidget* w = window->nextInFocusChain(); w != window.get() && names.size() < 100;
             w = w->nextInFocusChain()) {
            if ((w->focusPolicy() & Qt::TabFocus) != Qt::TabFocus || !w->isVisibleTo(window.get()))
                continue;
            const QString name = accessibleText(w, QAccessible::Name);
            if (name.isEmpty() || name == "?" || names.contains(name))
                problems << w->objectName() + " is named \"" + name + '"';
            names << name;
        }
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join("; ")));
        QCOMPARE(names.size(), stops);
    }

    // The page is a picture: its text reaches assistive technology as the description.
    void textsSayWhatCaptionsDoNot_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("control"); // empty for the instructions page
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("description");
        const auto row = [](const char* tag, const char* window, const char* control,
                            const char* name, const QString& description) {
            QTest::newRow(tag) << QString(window) << QString(control) << QString(name)
                               << description;
        };
        row("start x", "Form4", "Text1", "dal PUNTO, X", "punto iniziale della corda, x");
        row("reset", "Form4", "Command5", "Azzera SPOSTAMENTO ORIZZONTALE",
            "riporta a 0 lo spostamento orizzontale");
        row("ratio", "Form2", "Text1", "rapporto verticale su orizzontale", "non viene letto");
        row("page", "Form1", "", "Istruzioni", instructionParagraph(18).trimmed());
    }

    void textsSayWhatCaptionsDoNot() {
        QFETCH(QString, window);
        QFETCH(QString, control);
        QFETCH(QString, name);
        QFETCH(QString, description);
        const std::unique_ptr<QWidget> form = makeWindow(window);
        QWidget* w = control.isEmpty() ? static_cast<Form1*>(form.get())->OLE1
                                       : form->findChild<QWidget*>(control);
        QVERIFY(w);
        QCOMPARE(accessibleText(w, QAccessible::Name), name);
        QVERIFY(accessibleText(w, QAccessible::Description).contains(description));
    }

    void displacementBarsReportTheirValue() {
        const std::unique_ptr<QWidget> window = makeWindow("Form4");
        const auto& form = static_cast<Form4&>(*window);
        for (auto [bar, position] : {std::pair{form.HScroll1, -600}, {form.HScroll2, 250}}) {
            QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(bar);
            QVERIFY(iface && iface->valueInterface());
            bar->setValue(position);
            QCOMPARE(iface->valueInterface()->currentValue().toInt(), position);
            QCOMPARE(iface->text(QAccessible::Value), QString::number(position));
        }
    }
};

QTEST_MAIN(TestAccessibility)
#include "test_accessibility.moc"
