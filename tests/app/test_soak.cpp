// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

// A long random session over the three windows through the window registry: clicks on every
// command, scroll changes, hostile and ordinary texts typed into the fields and switches
// between the windows, with the program's invariants checked after every action; and the
// memory that thousands of curves cost.
#include "Form1.h"
#include "Form2.h"
#include "Form4.h"
#include "Forms.h"
#include "MessageBoxCloser.h"
#include "NumberText.h"
#include "RecordingPrompter.h"
#include "ScrollBar.h"
#include "SoakSupport.h"
#include "WidgetTesting.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QKeySequence>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <functional>
#include <unistd.h>
#include <vector>

namespace {

#ifdef CURVE_SANITIZED
constexpr int DefaultActions = 1500;
#else
constexpr int DefaultActions = 10000;
#endif
constexpr quint32 DefaultSeed = 20240611;
constexpr int MemoryPlots = 10'000;
constexpr qint64 MaxGrowthBytes = qint64(64) << 20;
constexpr qint64 MaxFurtherGrowthBytes = qint64(8) << 20;

int numberFromEnvironment(const char* name, int fallback) {
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok ? value : fallback;
}

qint64 residentBytes() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    return statm.readAll().split(' ').value(1).toLongLong() * sysconf(_SC_PAGESIZE);
}

double mebibytes(qint64 bytes) {
    return double(bytes) / (1 << 20);
}

// Every switch between windows on the offscreen platform warns that it cannot raise a window;
// thousands of those would drown the report.
QtMessageHandler qtTestHandler = nullptr;
void dropRaiseWarnings(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text != QLatin1String("This plugin does not support raise()"))
        qtTestHandler(type, context, text);
}

// Delivers what the actions queued: activations, paints, resizes.
void settle() {
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

template <typename Form> Form* existing() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* form = dynamic_cast<Form*>(w))
            return form;
    return nullptr;
}

const QStringList fieldNames = {"DAX", "DAY", "ALX", "ALY", "INST", "RAX", "RAY", "AVY", "AVX"};

QStringList knownMessages() {
    QStringList known;
    for (const QString& name : fieldNames)
        known << name + " non è un numero";
    known << "Non è ammesso 0 "
          << "INST troppo grande: il massimo è 100000"
          << "Impostare la risoluzione SCHERMO";
    return known;
}

// The nine parameter fields of the curve window with their variables, in reading order.
std::vector<std::pair<QLineEdit*, double>> parameters(Form4& form) {
    const CurveModel& m = form.model();
    return {{form.Text1, m.DAX}, {form.Text2, m.DAY},  {form.Text4, m.ALX},
            {form.Text5, m.ALY}, {form.Text9, m.INST}, {form.Text3, m.RAX},
            {form.Text8, m.RAY}, {form.Text10, m.AVY}, {form.Text11, m.AVX}};
}

// One user at the keyboard and mouse, driven by a seeded generator, and what the program is
// expected to keep true whatever that user does.
class Session {
public:
    Session(quint32 seed, Watchdog& watchdog) : random_(seed), watchdog_(watchdog) {
        forms.show(FormId::Form1);
        settle();
    }

    RecordingPrompter prompter;
    Forms forms{&prompter, [this] { ++endRequests_; }};

    struct Outcome {
        QString what;
        qint64 ms = 0;
        QString broken;
    };

    // Performs one random action, preceded by bringing its window to the front when it is
    // behind; returns what it did, how long its slowest part took and the first invariant
    // that broke.
    Outcome act() {
        Outcome outcome;
        for (const auto& [what, step] : pickAction()) {
            outcome.what += (outcome.what.isEmpty() ? "" : ", ") + what;
            outcome.ms = std::max(outcome.ms, watchdog_.timed(what, [&] {
                step();
                settle();
            }));
            outcome.broken = broken();
            if (!outcome.broken.isEmpty())
                break;
        }
        return outcome;
    }

    int plots() const { return plots_; }
    double largestInst() const { return largestInst_; }

private:
    using Step = std::pair<QString, std::function<void()>>;

    // The first invariant that does not hold, or nothing.
    QString broken() {
        if (endRequests_ != esciClicks_)
            return QStringLiteral("the program was ended %1 times for %2 ESCI")
                .arg(endRequests_)
                .arg(esciClicks_);
        if (openForms().isEmpty())
            return QStringLiteral("no window is open");
        if (boxCloser_.answered > 0)
            return "a message box opened: " + boxCloser_.text;
        if (QApplication::activeModalWidget() != nullptr)
            return QStringLiteral("a modal window is left open");
        static const QStringList known = knownMessages();
        for (; messagesSeen_ < prompter.messages.size(); ++messagesSeen_)
            if (!known.contains(prompter.messages[messagesSeen_]))
                return "unknown message " + prompter.messages[messagesSeen_];
        if (Form2* form2 = existing<Form2>(); form2 != nullptr && form2->Incr != 0) {
            if (!(form2->Incr >= 0.51 && form2->Incr <= 1.1100001))
                return "Incr is " + QString::number(form2->Incr, 'g', 17);
            if (form2->Text1->text() != DoubleToText(form2->Incr))
                return "the ratio shows " + form2->Text1->text();
        }
        if (Form4* form4 = existing<Form4>())
            return brokenInCurveWindow(*form4);
        return {};
    }

    QString brokenInCurveWindow(Form4& form) {
        const CurveModel& m = form.model();
        const int plotted = (m.Miocolor - lastMiocolor_ + 13) % 13;
        lastMiocolor_ = m.Miocolor;
        plots_ += plotted;
        if (plotted > 0)
            largestInst_ = std::max(largestInst_, m.INST);
        curveDrawn_ = curveDrawn_ || plotted > 0;
        if (curveDrawn_ && (m.Miocolor < 1 || m.Miocolor > 13))
            return "Miocolor is " + QString::number(m.Miocolor);
        if (m.SPTX != form.HScroll1->value() || m.SPTY != form.HScroll2->value())
            return QStringLiteral("displacements %1, %2 for bars at %3, %4")
                .arg(m.SPTX)
                .arg(m.SPTY)
                .arg(form.HScroll1->value())
                .arg(form.HScroll2->value());
        const auto fields = parameters(form);
        for (std::size_t i = 0; i < fields.size(); ++i) {
            const auto& [box, value] = fields[i];
            if (!std::isfinite(value))
                return fieldNames[int(i)] + " is " + QString::number(value);
            if (plotted > 0 && !IsNumeric(box->text()))
                return "after a plot " + fieldNames[int(i)] + "'s field holds " +
                       box->text().left(40);
        }
        return {};
    }

    // In a fixed order: the application lists its windows in no particular one, and the
    // same seed must replay the same session.
    QList<QWidget*> openForms() const {
        QList<QWidget*> open;
        for (QWidget* w :
             {static_cast<QWidget*>(existing<Form1>()), static_cast<QWidget*>(existing<Form2>()),
              static_cast<QWidget*>(existing<Form4>())})
            if (w != nullptr && w->isVisible())
                open << w;
        return open;
    }

    static FormId idOf(QWidget* w) {
        if (dynamic_cast<Form1*>(w) != nullptr)
            return FormId::Form1;
        if (dynamic_cast<Form2*>(w) != nullptr)
            return FormId::Form2;
        return FormId::Form4;
    }

    bool chance(int percent) { return int(random_.bounded(100)) < percent; }
    template <typename T> const T& oneOf(const QList<T>& list) {
        return list[random_.bounded(int(list.size()))];
    }

    // Chooses a window the user can see and an action on it; a window behind the others is
    // brought to the front first, as a click on it would.
    std::vector<Step> pickAction() {
        const QList<QWidget*> open = openForms();
        QWidget* target = open[random_.bounded(int(open.size()))];
        if (open.contains(existing<Form4>()) && chance(60))
            target = existing<Form4>();
        const QString name = target->windowTitle();
        std::vector<Step> steps;
        if (QApplication::activeWindow() != target)
            steps.push_back({name + " to the front", [this, target] { forms.show(idOf(target)); }});
        if (open.size() > 1 && chance(2)) {
            steps.push_back({"close " + name, [target] { target->close(); }});
        } else if (chance(8)) {
            if (steps.empty())
                steps.push_back(
                    {name + " shown again", [this, target] { forms.show(idOf(target)); }});
        } else if (auto* form1 = dynamic_cast<Form1*>(target)) {
            steps.push_back(click(form1->Command1, name));
        } else if (auto* form2 = dynamic_cast<Form2*>(target)) {
            steps.push_back(onForm2(*form2));
        } else {
            steps.push_back(onForm4(*dynamic_cast<Form4*>(target)));
        }
        return steps;
    }

    Step onForm2(Form2& form) {
        const int pick = random_.bounded(10);
        if (pick < 4)
            return scroll(form.HScroll1, "Form2 HScroll1");
        if (pick < 8)
            return click(form.Command1, "Form2");
        if (pick < 9)
            return click(form.Command2, "Form2");
        return esci(form.Command3, "Form2");
    }

    Step onForm4(Form4& form) {
        const int pick = random_.bounded(100);
        if (pick < 30)
            return type(form);
        if (pick < 45)
            return scroll(form.HScroll1, "Form4 HScroll1");
        if (pick < 60)
            return scroll(form.HScroll2, "Form4 HScroll2");
        if (pick < 72)
            return click(form.Command1, "Form4");
        if (pick < 78)
            return click(form.Command2, "Form4");
        if (pick < 83)
            return click(form.Command4, "Form4");
        if (pick < 88)
            return click(form.Command5, "Form4");
        if (pick < 94)
            return click(form.Check1, "Form4");
        if (pick < 98)
            return click(form.Command6, "Form4");
        return esci(form.Command3, "Form4");
    }

    Step click(QAbstractButton* button, const QString& window) {
        const QString what = window + " click \"" + button->text().left(30) + '"';
        if (chance(50))
            return {what, [button] { QTest::mouseClick(button, Qt::LeftButton); }};
        return {what, [button] { button->click(); }};
    }

    // "ESCI" only asks the registry to end the program, which the session records.
    Step esci(QAbstractButton* button, const QString& window) {
        Step step = click(button, window);
        step.second = [this, clickIt = step.second] {
            ++esciClicks_;
            clickIt();
        };
        return step;
    }

    Step scroll(QScrollBar* bar, const QString& name) {
        switch (random_.bounded(3)) {
        case 0: {
            const int value =
                bar->minimum() - 20 + int(random_.bounded(bar->maximum() - bar->minimum() + 41));
            return {name + " setValue " + QString::number(value),
                    [bar, value] { bar->setValue(value); }};
        }
        case 1: {
            static const QList<QAbstractSlider::SliderAction> actions = {
                QAbstractSlider::SliderSingleStepAdd, QAbstractSlider::SliderSingleStepSub,
                QAbstractSlider::SliderPageStepAdd,   QAbstractSlider::SliderPageStepSub,
                QAbstractSlider::SliderToMinimum,     QAbstractSlider::SliderToMaximum};
            const QAbstractSlider::SliderAction action = oneOf(actions);
            return {name + " action " + QString::number(action),
                    [bar, action] { bar->triggerAction(action); }};
        }
        default: {
            static const QList<Qt::Key> keys = {Qt::Key_Left, Qt::Key_Right,  Qt::Key_Up,
                                                Qt::Key_Down, Qt::Key_PageUp, Qt::Key_PageDown,
                                                Qt::Key_Home, Qt::Key_End};
            const Qt::Key key = oneOf(keys);
            return {name + " key " + QKeySequence(key).toString(),
                    [bar, key] { QTest::keyClick(bar, key); }};
        }
        }
    }

    // A number with a few decimals, written as the user would type it.
    QString number(double low, double high) {
        const double scale = std::pow(10.0, random_.bounded(4));
        return DoubleToText(std::round((low + random_.bounded(high - low)) * scale) / scale);
    }

    QString textFor(QLineEdit* box, Form4& form) {
        if (chance(30))
            return oneOf(hostileTexts()).text;
        if (box == form.Text9) {
            // Mostly the values a user tries; now and then one up to twice the bound.
            const int pick = random_.bounded(100);
            return pick < 85 ? number(-5, 20) : pick < 97 ? number(20, 2000) : number(2000, 2e5);
        }
        if (box == form.Text10 || box == form.Text11)
            return number(-10, 10);
        return chance(95) ? number(-1000, 1000) : number(-1e30, 1e30);
    }

    Step type(Form4& form) {
        const QList<QLineEdit*> boxes = {form.Text1,  form.Text2, form.Text4, form.Text5,
                                         form.Text9,  form.Text3, form.Text8, form.Text10,
                                         form.Text11, form.Text6, form.Text7};
        QLineEdit* box = oneOf(boxes);
        const QString text = textFor(box, form);
        const QString what = "Form4 type \"" + text.left(30) + "\" into " + box->objectName();
        const bool typeable =
            text.size() <= 30 && std::all_of(text.begin(), text.end(), [](QChar c) {
                return c.unicode() >= 0x20 && c.unicode() < 0x7f;
            });
        if (typeable && chance(60))
            return {what, [box, text] {
                        box->selectAll();
                        QTest::keyClick(box, Qt::Key_Backspace);
                        QTest::keyClicks(box, text);
                    }};
        return {what, [box, text] { box->setText(text); }};
    }

    QRandomGenerator random_;
    Watchdog& watchdog_;
    // Every message goes to the prompter; a real box would wait for a click that never comes.
    MessageBoxCloser boxCloser_;
    int endRequests_ = 0;
    int esciClicks_ = 0;
    qsizetype messagesSeen_ = 0;
    std::int16_t lastMiocolor_ = 0;
    bool curveDrawn_ = false;
    int plots_ = 0;
    double largestInst_ = 0;
};

} // namespace

class SoakTest : public QObject {
    Q_OBJECT

    Watchdog watchdog{std::chrono::milliseconds(10 * ActionBoundMs)};

private slots:
    void initTestCase() {
        useLocale();
        qtTestHandler = qInstallMessageHandler(dropRaiseWarnings);
    }
    void cleanupTestCase() { qInstallMessageHandler(qtTestHandler); }
    void randomSession();
    void memoryOfManyCurves();
};

void SoakTest::randomSession() {
    const auto seed = quint32(numberFromEnvironment("SOAK_SEED", int(DefaultSeed)));
    const int actions = numberFromEnvironment("SOAK_ACTIONS", DefaultActions);
    const bool trace = qEnvironmentVariableIsSet("SOAK_TRACE");
    qInfo("seed %u (SOAK_SEED replays it), %d actions (SOAK_ACTIONS); SOAK_TRACE lists them", seed,
          actions);

    Session session(seed, watchdog);
    QElapsedTimer total;
    total.start();
    qint64 slowestMs = 0;
    QString slowest;
    for (int i = 0; i < actions; ++i) {
        const Session::Outcome outcome = session.act();
        if (trace)
            qInfo("%d %s", i, qPrintable(outcome.what));
        if (outcome.ms > slowestMs) {
            slowestMs = outcome.ms;
            slowest = outcome.what;
        }
        const QString where =
            QStringLiteral("action %1 (%2), seed %3: ").arg(i).arg(outcome.what).arg(seed);
        QVERIFY2(outcome.ms < ActionBoundMs,
                 qPrintable(where + QString::number(outcome.ms) + " ms"));
        QVERIFY2(outcome.broken.isEmpty(), qPrintable(where + outcome.broken));
    }
    qInfo("%d actions, %d plots (largest INST %g), %lld messages in %lld ms; slowest %lld ms: %s",
          actions, session.plots(), session.largestInst(),
          qlonglong(session.prompter.messages.size()), total.elapsed(), slowestMs,
          qPrintable(slowest));
}

// Thousands of curves accumulated in multiple-curve mode cost a bounded amount of memory:
// the retained drawing folds its operations into its image.
void SoakTest::memoryOfManyCurves() {
    RecordingPrompter prompter;
    Forms forms(&prompter, [] {});
    forms.show(FormId::Form1);
    settle();
    forms.form1().Command1->click();
    forms.form2().HScroll1->setValue(5);
    forms.form2().Command1->click();
    settle();
    Form4& form = forms.form4();
    QVERIFY(form.isVisible());
    form.Check1->click();
    QCOMPARE(form.Check1->text(), QStringLiteral("Curve Multiple"));
    form.drawing();
    settle();

    const auto plot = [&](int plots) {
        return watchdog.timed(QString::number(plots) + " plots", [&] {
            for (int i = 1; i <= plots; ++i) {
                form.Command1->click();
                if (i % 100 == 0)
                    settle();
            }
            form.drawing();
            settle();
        });
    };
    const qint64 start = residentBytes();
    const qint64 firstMs = plot(MemoryPlots);
    const qint64 after = residentBytes();
    const qint64 secondMs = plot(MemoryPlots);
    const qint64 afterTwice = residentBytes();
    // What the undo history holds of it: its steps, and the pixels kept to take plots back,
    // which a new size gives up.
    const int steps = form.history().count();
    form.history().clear();
    form.resize(form.size() + QSize(1, 0));
    form.drawing();
    const qint64 withoutHistory = residentBytes();
    qInfo("resident memory: %.1f MiB at start, %.1f MiB after %d plots (%lld ms), %.1f MiB "
          "after %d more (%lld ms), of which %.1f MiB for the last %d steps of the history",
          mebibytes(start), mebibytes(after), MemoryPlots, firstMs, mebibytes(afterTwice),
          MemoryPlots, secondMs, mebibytes(afterTwice - withoutHistory), steps);

    QVERIFY2(start > 0 && after > 0 && afterTwice > 0,
             "the resident memory could not be read from /proc/self/statm");
    QVERIFY(prompter.messages.isEmpty());
    QCOMPARE(int(form.model().Miocolor), (2 * MemoryPlots) % 13 + 1);
#ifdef CURVE_SANITIZED
    QSKIP("the sanitizers' allocator keeps freed memory: resident size says nothing here");
#else
    QVERIFY2(after - start < MaxGrowthBytes,
             qPrintable(QString::number(mebibytes(after - start)) + " MiB more"));
    // Once the operations have been folded, further curves cost no memory of their own.
    QVERIFY2(afterTwice - after < MaxFurtherGrowthBytes,
             qPrintable(QString::number(mebibytes(afterTwice - after)) + " MiB more"));
#endif
}

QTEST_MAIN(SoakTest)
#include "test_soak.moc"
