// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

// The curve window's context menu and tooltips: what they say, where they open, and that they
// never plot.
#include "ActivationTracker.h"
#include "Clipboard.h"
#include "CurveFakes.h"
#include "CurveFormula.h"
#include "FileAskers.h"
#include "Form4.h"
#include "Palette.h"
#include "RecordingPrompter.h"
#include "WidgetTesting.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

class RecordingClipboard : public Clipboard {
public:
    QStringList texts;
    QList<QImage> images;
    void setText(const QString& text) override { texts << text; }
    void setImage(const QImage& image) override { images << image; }
};

// Answers the file dialog with the names given, one per question.
class ScriptedAsker : public SaveFileAsker {
public:
    QStringList answers;
    QString askSaveFileName(const SaveChoice&, QString&) override { return answers.takeFirst(); }
};

// The menu's entries, a disabled one in brackets.
QStringList entries(QMenu& menu) {
    QStringList texts;
    for (QAction* action : menu.actions())
        texts << (action->isEnabled() ? action->text() : '(' + action->text() + ')');
    return texts;
}

// The menu's entry with this text.
QAction* entry(QMenu& menu, const QString& text) {
    for (QAction* action : menu.actions())
        if (action->text() == text)
            return action;
    return nullptr;
}

// The curve coordinates a readout tooltip gives: "x = 300,0   y = 270,1".
QPointF readout(const QString& tip) {
    const QStringList words = tip.section('\n', 0, 0).split(' ', Qt::SkipEmptyParts);
    return {QLocale().toDouble(words.value(2)), QLocale().toDouble(words.value(5))};
}

// Ways to open a context menu.
constexpr int RightClick = 0, MenuKey = 1, ShiftF10 = 2;

} // namespace

class Form4MenuTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { useLocale(); }

    // The readout at each pixel where a dot of the curve was drawn names that dot's point to
    // within half a pixel, whatever the size and the ratio; the target marker's circle adds the
    // distance line.
    void readoutInvertsTheDrawing_data() {
        QTest::addColumn<double>("incr");
        QTest::addColumn<QSize>("resizedTo");
        QTest::newRow("ratio 0.75") << 0.75 << QSize();
        QTest::newRow("ratio 0.55, resized after the plot") << 0.55 << QSize(1100, 700);
    }
    void readoutInvertsTheDrawing() {
        QFETCH(double, incr);
        QFETCH(QSize, resizedTo);
        Form4 form;
        form.readIncr = [incr] { return incr; };
        form.resize(1280, 990);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(form.toolTipAt(QPoint(1200, 900)).isEmpty()); // nothing plotted yet
        form.Form_Activate();
        if (resizedTo.isValid())
            form.resize(resizedTo);

        const QImage image = form.drawing();
        const double unitsX = 1000.0 / image.width(), unitsY = 1000 * incr / image.height();
        const PlotRecord plot = form.model().lastPlot();
        const CurveFormula curve = CurveFormula::of(plot);
        int checked = 0;
        for (double alfa : drawnAngles(plot)) {
            double x = 0, y = 0;
            QVERIFY(curve.at(alfa, x, y));
            const QPointF at = form.model().toSurface(x, y);
            const QPointF pixels(at.x() / unitsX, at.y() / unitsY);
            const QPointF within = pixels - QPointF(std::floor(pixels.x()), std::floor(pixels.y()));
            // A dot too near a pixel's edge may fall on either side of it.
            if (std::min({within.x(), within.y(), 1 - within.x(), 1 - within.y()}) < 0.01)
                continue;
            const QPoint pixel(int(pixels.x()), int(pixels.y()));
            QCOMPARE(image.pixel(pixel), QBColor(plot.Miocolor + 1));
            const QString tip = form.toolTipAt(pixel);
            QVERIFY2(std::abs(readout(tip).x() - x) <= unitsX / 2 + 0.05 &&
                         std::abs(readout(tip).y() - y) <= unitsY / 2 + 0.05,
                     qPrintable(QString("(%1, %2): %3").arg(x).arg(y).arg(tip)));
            ++checked;
        }
        QVERIFY(checked > plot.points / 2);

        // The 3-pixel target dot, and the ring 5 units around it.
        const QPoint dot(int(730 / unitsX), int((form.model().CY - 270) / unitsY));
        QCOMPARE(image.pixel(dot), form.ForeColor());
        QVERIFY(
            form.toolTipAt(dot).section('\n', 1).startsWith("Curva 1: distanza minima dal PUNTO "));
        const int ring = int(5 / unitsX);
        QVERIFY(form.toolTipAt(dot + QPoint(ring - 1, 0)).contains('\n'));
        QVERIFY(!form.toolTipAt(dot + QPoint(ring + 2, 0)).contains('\n'));

        QVERIFY(form.toolTipAt(form.Command1->geometry().center()).isEmpty());
    }

    void menuEntries() {
        RecordingPrompter prompter;
        Form4 form(&prompter);
        RecordingClipboard clipboard;
        ScriptedAsker asker;
        form.replaceSeams({.clipboard = &clipboard, .saveFile = &asker});
        form.readIncr = [] { return 0.75; };
        QMenu before;
        form.fillContextMenu(before);
        QCOMPARE(entries(before),
                 (QStringList{"(Nessuna curva tracciata)", "", "(Annulla curva)", "(Ripeti curva)",
                              "", "Trova spostamenti…", "", "Apri esercizio…", "(Esercizi recenti)",
                              "Salva esercizio", "Salva esercizio con nome…",
                              "(Nome dello studente…)", "Salva consegna…", "(Mostra consegna)",
                              "Riepilogo della classe…", "", "(Copia equazione)", "Copia immagine",
                              "Salva immagine…", "Stampa…", "", "Anima barra orizzontale",
                              "Anima barra verticale", "", "Guida"}));

        form.Form_Activate();
        form.Command1_Click();
        QMenu after;
        form.fillContextMenu(after);
        QVERIFY(entries(after)[0].startsWith("(Curva 2: distanza minima dal PUNTO "));
        entry(after, "Copia equazione")->trigger();
        QCOMPARE(clipboard.texts.size(), 1);
        QVERIFY2(
            clipboard.texts[0].startsWith("Curva 2\nx(α) = 130·sen²α + 0·cos α·sen(1·α) + 20\n"),
            qPrintable(clipboard.texts[0]));

        // The picture entries take the drawing as it is on the screen.
        entry(after, "Copia immagine")->trigger();
        QCOMPARE(clipboard.images, QList<QImage>{form.drawing()});
        QTemporaryDir dir;
        asker.answers = {dir.filePath("curva.png"), dir.filePath("assente/curva.png")};
        entry(after, "Salva immagine…")->trigger();
        QCOMPARE(QImage(dir.filePath("curva.png")).convertToFormat(QImage::Format_RGB32),
                 form.drawing());
        QVERIFY(prompter.messages.isEmpty());
        entry(after, "Salva immagine…")->trigger();
        QVERIFY(prompter.messages.size() == 1 && prompter.messages[0].contains("non esiste"));

        form.Command2_Click(); // a cleared drawing counts its curves afresh
        QMenu cleared;
        form.fillContextMenu(cleared);
        QVERIFY(entries(cleared)[0].startsWith("(Curva 1: "));
    }

    // An equation is offered only for a curve of two drawn points or more: with fewer there is
    // no curve to rebuild.
    void copyEquationNeedsTwoPoints_data() {
        QTest::addColumn<QString>("inst");
        QTest::addColumn<bool>("offered");
        QTest::newRow("one point, at 50°") << "0,04" << false;
        QTest::newRow("two points, at 40° and 80°") << "0,05" << true;
    }
    void copyEquationNeedsTwoPoints() {
        QFETCH(QString, inst);
        QFETCH(bool, offered);
        Form4 form;
        form.readIncr = [] { return 0.75; };
        form.Text9->setText(inst);
        form.Form_Activate();
        QMenu menu;
        form.fillContextMenu(menu);
        QCOMPARE(entry(menu, "Copia equazione")->isEnabled(), offered);
    }

    // Where the menu opens, on a window that an activation tracker drives as the program does:
    // the drawing's menu from a right click on the drawing and from the keyboard in a field,
    // the field's own menu from a right click on the field, nothing on a button. The open menu
    // takes the activation and gives it back when it closes, as some window systems do, and
    // that is no new activation of the window: it plots nothing.
    void menuOpensAndClosesWithoutPlotting_data() {
        QTest::addColumn<QString>("target"); // a control's name, or empty for the drawing
        QTest::addColumn<int>("how");
        QTest::addColumn<QString>("firstEntry");
        QTest::newRow("right click on the drawing") << "" << RightClick << "Curva 1: ";
        QTest::newRow("Menu key in a field") << "Text4" << MenuKey << "Curva 1: ";
        QTest::newRow("Shift+F10 in a field") << "Text4" << ShiftF10 << "Curva 1: ";
        QTest::newRow("right click on a field") << "Text1" << RightClick << "&Undo";
        QTest::newRow("right click on a button") << "Command1" << RightClick << "";
    }
    void menuOpensAndClosesWithoutPlotting() {
        QFETCH(QString, target);
        QFETCH(int, how);
        QFETCH(QString, firstEntry);
        Form4 window;
        window.readIncr = [] { return 0.75; };
        window.resize(1280, 990);
        ActivationTracker tracker;
        tracker.addForm(&window, [&] { window.Form_Activate(); });
        tracker.installOnApplication();
        QVERIFY(showActive(window));
        QTRY_COMPARE(window.model().Miocolor, 1);

        QString opened;
        QTimer closer;
        connect(&closer, &QTimer::timeout, [&] {
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                opened = menu->actions().value(0)->text();
                QApplication::setActiveWindow(menu);
                menu->close();
                QApplication::setActiveWindow(&window);
            }
        });
        closer.start(20);
        QWidget* widget = target.isEmpty() ? &window : window.findChild<QWidget*>(target);
        widget->setFocus();
        if (how == ShiftF10) {
            QTest::keyClick(widget, Qt::Key_F10, Qt::ShiftModifier);
        } else { // as the platform delivers a click or the Menu key: to the widget under the
                 // mouse, or to the one with the focus
            const auto reason =
                how == MenuKey ? QContextMenuEvent::Keyboard : QContextMenuEvent::Mouse;
            const QPoint at = target.isEmpty() ? QPoint(1200, 900) : QPoint(5, 5);
            QContextMenuEvent event(reason, at, widget->mapToGlobal(at));
            QApplication::sendEvent(widget, &event);
        }
        // Every menu opens while its event is delivered.
        QTRY_VERIFY(QApplication::activePopupWidget() == nullptr);
        QVERIFY2(firstEntry.isEmpty() ? opened.isEmpty() : opened.startsWith(firstEntry),
                 qPrintable(opened));
        QCOMPARE(QApplication::activeWindow(), &window);
        QCOMPARE(window.model().Miocolor, 1);
    }
};

QTEST_MAIN(Form4MenuTest)
#include "test_form4_menu.moc"
