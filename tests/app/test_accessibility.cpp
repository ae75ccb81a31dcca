// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

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
#include <QLineEdit>
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

    // The instructions page is a picture: its text reaches assistive technology as the
    // description. A field says what its caption beside it says; a displacement bar reports
    // its value.
    void textsAndValuesSayWhatCaptionsDoNot() {
        Form1 instructions;
        QCOMPARE(accessibleText(instructions.OLE1, QAccessible::Name), "Istruzioni");
        QVERIFY(accessibleText(instructions.OLE1, QAccessible::Description)
                    .contains(instructionParagraph(18).trimmed()));
        const std::unique_ptr<QWidget> window = makeWindow("Form4");
        auto& form = static_cast<Form4&>(*window);
        QCOMPARE(accessibleText(form.Text1, QAccessible::Name), "dal PUNTO, X");
        QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(form.HScroll2);
        QVERIFY(bar && bar->valueInterface());
        form.HScroll2->setValue(-250);
        QCOMPARE(bar->valueInterface()->currentValue().toInt(), -250);
        QCOMPARE(bar->text(QAccessible::Value), "-250");
    }
};

QTEST_MAIN(TestAccessibility)
#include "test_accessibility.moc"
