// The curve window's context menu and tooltips: what they say, where they open, and that they
// never plot.
#include "ActivationTracker.h"
#include "Clipboard.h"
#include "FileDialogAsker.h"
#include "Form4.h"
#include "PlotText.h"
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

} // namespace

class Form4MenuTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { useLocale(); }

    // The readout at the pixels where the target dot was drawn gives its curve coordinates, to
    // the width of a pixel, whatever the size and the ratio.
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
        // The 3-pixel target dot, and the ring 5 units around it.
        const QPoint dot(int(730 / unitsX), int((form.model().CY - 270) / unitsY));
        QCOMPARE(image.pixel(dot), form.ForeColor());
        const QString onTarget = form.toolTipAt(dot);
        QVERIFY2(std::abs(readout(onTarget).x() - 300) <= unitsX &&
                     std::abs(readout(onTarget).y() - 270) <= unitsY,
                 qPrintable(onTarget));
        QCOMPARE(onTarget.section('\n', 1), distanceLine(form.model().lastPlot()));
        const int ring = int(5 / unitsX);
        QVERIFY(form.toolTipAt(dot + QPoint(ring - 1, 0)).contains('\n'));
        QVERIFY(!form.toolTipAt(dot + QPoint(ring + 2, 0)).contains('\n'));

        QVERIFY(form.toolTipAt(form.Command1->geometry().center()).isEmpty());
    }

    void menuEntries() {
        RecordingPrompter prompter;
        Form4 form(&prompter);
        RecordingClipboard clipboard;
        form.setClipboard(clipboard);
        ScriptedAsker asker;
        form.setSaveFileAsker(asker);
        form.readIncr = [] { return 0.75; };
        QMenu before;
        form.fillContextMenu(before);
        QCOMPARE(entries(before),
                 (QStringList{"(Nessuna curva tracciata)", "", "(Annulla curva)", "(Ripeti curva)",
                              "", "Apri esercizio…", "Salva esercizio", "Salva esercizio con nome…",
                              "", "(Copia equazione)", "Copia immagine", "Salva immagine…"}));

        form.Form_Activate();
        form.Command1_Click();
        QMenu after;
        form.fillContextMenu(after);
        QVERIFY(entries(after)[0].startsWith("(Curva 2: distanza minima dal PUNTO "));
        entry(after, "Copia equazione")->trigger();
        QCOMPARE(clipboard.texts, QStringList{equationText(form.model().lastPlot())});

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

    // Where the menu opens, on a window that an activation tracker drives as the program does:
    // the drawing's menu from a right click on the drawing and from the keyboard anywhere, the
    // field's own menu from a right click on the field, nothing on a button; and closing a
    // menu never counts as an activation.
    void menuOpensAndClosesWithoutPlotting_data() {
        QTest::addColumn<QString>("target"); // a control's name, or empty for the drawing
        QTest::addColumn<bool>("shiftF10");  // else a right click
        QTest::addColumn<QString>("firstEntry");
        QTest::newRow("right click on the drawing") << "" << false << "Curva 1: ";
        QTest::newRow("Shift+F10 in a field") << "Text4" << true << "Curva 1: ";
        QTest::newRow("right click on a field") << "Text1" << false << "&Undo";
        QTest::newRow("right click on a button") << "Command1" << false << "";
    }
    void menuOpensAndClosesWithoutPlotting() {
        QFETCH(QString, target);
        QFETCH(bool, shiftF10);
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
                menu->close();
            }
        });
        closer.start(20);
        QWidget* widget = target.isEmpty() ? &window : window.findChild<QWidget*>(target);
        if (shiftF10) {
            QTest::keyClick(widget, Qt::Key_F10, Qt::ShiftModifier);
        } else { // as the platform delivers it, to the widget under the mouse
            const QPoint at = target.isEmpty() ? QPoint(1200, 900) : QPoint(5, 5);
            QContextMenuEvent event(QContextMenuEvent::Mouse, at, widget->mapToGlobal(at));
            QApplication::sendEvent(widget, &event);
        }
        QTest::qWait(150);
        QVERIFY2(firstEntry.isEmpty() ? opened.isEmpty() : opened.startsWith(firstEntry),
                 qPrintable(opened));
        window.activateWindow();
        QTest::qWait(100);
        QCOMPARE(window.model().Miocolor, 1);
    }
};

QTEST_MAIN(Form4MenuTest)
#include "test_form4_menu.moc"
