// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

// Hostile texts in each of the curve window's nine parameter fields: every plot reports the
// field or plots cleanly, ends within its bound, leaves numbers in every field and variable,
// and hands the drawing only finite positions.
#include "CurveFakes.h"
#include "CurveModel.h"
#include "Form4.h"
#include "NumberText.h"
#include "RecordingPrompter.h"
#include "RecordingSurface.h"
#include "SoakSupport.h"
#include "WidgetTesting.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <cmath>
#include <memory>

using Field = CurveFields::Field;

namespace {

struct FieldInfo {
    QString name;
    Field field;
    double CurveModel::*variable;
    QLineEdit* Form4Controls::*box;
    QString initialText;
    int fallback;
};

// In the order in which a plot reads them.
const QList<FieldInfo> fields = {
    {"DAX", Field::Text1, &CurveModel::DAX, &Form4Controls::Text1, "20", 1},
    {"DAY", Field::Text2, &CurveModel::DAY, &Form4Controls::Text2, "30", 1},
    {"ALX", Field::Text4, &CurveModel::ALX, &Form4Controls::Text4, "150", 1},
    {"ALY", Field::Text5, &CurveModel::ALY, &Form4Controls::Text5, "70", 1},
    {"INST", Field::Text9, &CurveModel::INST, &Form4Controls::Text9, "5", 1},
    {"RAX", Field::Text3, &CurveModel::RAX, &Form4Controls::Text3, "300", 300},
    {"RAY", Field::Text8, &CurveModel::RAY, &Form4Controls::Text8, "270", 270},
    {"AVY", Field::Text10, &CurveModel::AVY, &Form4Controls::Text10, "1", 1},
    {"AVX", Field::Text11, &CurveModel::AVX, &Form4Controls::Text11, "1", 1},
};

const FieldInfo& fieldNamed(const QString& name) {
    for (const FieldInfo& f : fields)
        if (f.name == name)
            return f;
    qFatal("no field %s", qPrintable(name));
}

const FieldInfo& fieldOf(Field field) {
    for (const FieldInfo& f : fields)
        if (f.field == field)
            return f;
    qFatal("no field %d", int(field));
}

const QString instTooLarge = QStringLiteral("INST troppo grande: il massimo è 100000");

// Checks every field and variable after a plot; returns the first problem found, if any.
QString leftoverProblem(const CurveModel& model, const std::function<QString(Field)>& text) {
    for (const FieldInfo& f : fields) {
        if (!std::isfinite(model.*f.variable))
            return f.name + " is " + QString::number(model.*f.variable);
        if (!IsNumeric(text(f.field)))
            return f.name + "'s field holds " + text(f.field).left(40);
    }
    return {};
}

} // namespace

class HostileFieldsTest : public QObject {
    Q_OBJECT

    RecordingPrompter prompter;
    std::unique_ptr<Form4> form;
    Watchdog watchdog{std::chrono::milliseconds(10 * ActionBoundMs)};
    qint64 slowestMs = 0;
    QString slowest;

    void timeOf(qint64 ms, const QString& what) {
        if (ms > slowestMs) {
            slowestMs = ms;
            slowest = what;
        }
    }

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase() {
        form.reset();
        qInfo("slowest plot: %lld ms (%s)", slowestMs, qPrintable(slowest));
    }

    void plotWithHostileText_data();
    void plotWithHostileText();
};

void HostileFieldsTest::initTestCase() {
    useLocale();
    form = std::make_unique<Form4>(&prompter);
    form->readIncr = [] { return 0.75; };
    form->showMaximized();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    form->Form_Activate();
}

void HostileFieldsTest::init() {
    for (const FieldInfo& f : fields)
        ((*form).*f.box)->setText(f.initialText);
    prompter.messages.clear();
}

void HostileFieldsTest::plotWithHostileText_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("textAfter");
    QTest::addColumn<double>("valueAfter");

    // What a field does with a text: a number is kept as typed; anything else is reported
    // and replaced by the field's fallback. INST also refuses zero and bounds large values.
    for (const FieldInfo& f : fields) {
        const QString fallbackText = QString::number(f.fallback);
        for (const HostileText& h : hostileTexts()) {
            const QByteArray row = (f.name + ' ' + h.name).toUtf8();
            auto& data = QTest::newRow(row.constData()) << f.name << h.text;
            if (!h.value)
                data << QStringList{f.name + " non è un numero"} << fallbackText
                     << double(f.fallback);
            else if (f.name == "INST" && *h.value == 0)
                data << QStringList{"Non è ammesso 0 "} << fallbackText << 1.0;
            else if (f.name == "INST" && *h.value > CurveModel::MaxINST)
                data << QStringList{instTooLarge} << "100000" << CurveModel::MaxINST;
            else
                data << QStringList{} << h.text << *h.value;
        }
    }
    // INST values around its own rules.
    const auto inst = [](const char* name, const QString& text, const QStringList& messages,
                         const QString& after, double value) {
        QTest::newRow(name) << "INST" << text << messages << after << value;
    };
    inst("INST zero with a fraction", "0,0", {"Non è ammesso 0 "}, "1", 1);
    inst("INST zero with an exponent", "0E5", {"Non è ammesso 0 "}, "1", 1);
    inst("INST at the bound", "100000", {}, "100000", 100000);
    inst("INST just above the bound", "100000,5", {instTooLarge}, "100000", 100000);
    inst("INST negative and huge", "-1E300", {}, "-1E300", -1e300);
    inst("INST step above 90 degrees", "0,02", {}, "0,02", 0.02);
}

// The real window for what the user sees, and the plotting logic on a checking surface for
// the positions handed to the drawing.
void HostileFieldsTest::plotWithHostileText() {
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QStringList, messages);
    QFETCH(QString, textAfter);
    QFETCH(double, valueAfter);
    const FieldInfo& f = fieldNamed(field);
    const QString step = QString::fromUtf8(QTest::currentDataTag());

    RecordingSurface surface;
    surface.keepCalls = false;
    FieldTexts texts;
    RecordingPrompter modelPrompter;
    CurveModel model(surface, texts, modelPrompter, [] { return 0.75; });
    texts.texts[f.field] = text;
    const qint64 modelMs = watchdog.timed(step, [&] { model.Form_Activate(); });
    timeOf(modelMs, step + " on the logic");
    QVERIFY2(modelMs < ActionBoundMs, qPrintable(QString::number(modelMs) + " ms"));
    QCOMPARE(surface.nonFinite, 0u);
    QCOMPARE(modelPrompter.messages, messages);
    QCOMPARE(leftoverProblem(model, [&](Field which) { return texts.texts[which]; }), QString());

    QLineEdit* box = (*form).*f.box;
    box->setText(text);
    const qint64 windowMs = watchdog.timed(step, [&] {
        QTest::mouseClick(form->Command1, Qt::LeftButton);
        form->drawing();
    });
    timeOf(windowMs, step + " in the window");
    QVERIFY2(windowMs < ActionBoundMs, qPrintable(QString::number(windowMs) + " ms"));
    QCOMPARE(prompter.messages, messages);
    QCOMPARE(box->text(), textAfter);
    const double value = form->model().*f.variable;
    QVERIFY2(value == valueAfter && std::signbit(value) == std::signbit(valueAfter),
             qPrintable(QString::number(value, 'g', 17)));
    QCOMPARE(leftoverProblem(form->model(),
                             [&](Field which) { return ((*form).*fieldOf(which).box)->text(); }),
             QString());
}

QTEST_MAIN(HostileFieldsTest)
#include "test_hostile_fields.moc"
