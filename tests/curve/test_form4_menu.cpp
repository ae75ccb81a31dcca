// The curve window's context menu and tooltips: what they say, where they open, and that they
// never plot.
#include "ActivationTracker.h"
#include "Clipboard.h"
#include "DrawingExport.h"
#include "Form4.h"
#include "Palette.h"
#include "PlotText.h"
#include "RecordingPrompter.h"
#include "WidgetTesting.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
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
    QString askSaveFileName(const QString&, const QStringList&, QString&) override {
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
};

// The curve coordinates a readout tooltip gives.
QPointF readout(const QString& tip) {
    const auto match =
        QRegularExpression("^x = (-?[0-9]+,[0-9])   y = (-?[0-9]+,[0-9])").match(tip);
    if (!match.hasMatch())
        return {qQNaN(), qQNaN()};
    return {QLocale().toDouble(match.captured(1)), QLocale().toDouble(match.captured(2))};
}

// Columns or rows of the drawing where a line of one colour crosses.
int firstPixel(const QImage& image, QRgb colour, bool along, int at) {
    const int n = along ? image.width() : image.height();
    for (int i = 0; i < n; ++i)
        if (image.pixel(along ? i : at, along ? at : i) == colour)
            return i;
    return -1;
}

} // namespace

class Form4MenuTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { useLocale(); }

    // The readout at the pixels where the axes and the target dot were drawn gives their curve
    // coordinates, to the width of a pixel, whatever the size and the ratio.
    void readoutInvertsTheDrawing_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<double>("incr");
        QTest::addColumn<QSize>("resizedTo");
        QTest::newRow("1280 x 990, 0.75") << QSize(1280, 990) << 0.75 << QSize();
        QTest::newRow("1000 x 640, 0.55") << QSize(1000, 640) << 0.55 << QSize();
        QTest::newRow("resized after the plot") << QSize(1280, 990) << 0.75 << QSize(1100, 700);
    }
    void readoutInvertsTheDrawing() {
        QFETCH(QSize, size);
        QFETCH(double, incr);
        QFETCH(QSize, resizedTo);
        Form4 form;
        form.readIncr = [incr] { return incr; };
        form.resize(size);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(form.toolTipAt(QPoint(size.width() - 5, size.height() - 5)).isEmpty());
        form.Form_Activate();
        if (resizedTo.isValid())
            form.resize(resizedTo);
        const int plots = form.model().Miocolor;

        const QImage image = form.drawing();
        const QRgb black = form.ForeColor();
        const double unitsX = 1000.0 / image.width(), unitsY = 1000 * incr / image.height();
        const int axisX = firstPixel(image, black, true, image.height() - 3);
        const int axisY = firstPixel(image, black, false, image.width() - 3);
        const QPointF onVertical = readout(form.toolTipAt({axisX, image.height() - 3}));
        const QPointF onHorizontal = readout(form.toolTipAt({image.width() - 3, axisY}));
        QVERIFY2(std::abs(onVertical.x()) <= unitsX, qPrintable(QString::number(onVertical.x())));
        QVERIFY2(std::abs(onHorizontal.y()) <= unitsY,
                 qPrintable(QString::number(onHorizontal.y())));

        // The 3-pixel target dot, and the ring 5 units around it.
        const QPoint dot(int(730 / unitsX), int((form.model().CY - 270) / unitsY));
        QCOMPARE(image.pixel(dot), black);
        const QString onTarget = form.toolTipAt(dot);
        QVERIFY2(std::abs(readout(onTarget).x() - 300) <= unitsX &&
                     std::abs(readout(onTarget).y() - 270) <= unitsY,
                 qPrintable(onTarget));
        QCOMPARE(onTarget.section('\n', 1), distanceLine(form.model().lastPlot()));
        const int ring = int(5 / unitsX);
        QVERIFY(form.toolTipAt(dot + QPoint(ring - 1, 0)).contains('\n'));
        QVERIFY(!form.toolTipAt(dot + QPoint(ring + 2, 0)).contains('\n'));

        QVERIFY(form.toolTipAt(form.Command1->geometry().center()).isEmpty());
        QCOMPARE(form.model().Miocolor, plots);
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
        QCOMPARE(before.actions().first()->text(), "Nessuna curva tracciata");
        QVERIFY(!before.actions().first()->isEnabled());
        const auto entry = [](QMenu& menu, const QString& text) {
            for (QAction* action : menu.actions())
                if (action->text() == text)
                    return action;
            return static_cast<QAction*>(nullptr);
        };
        const auto copyEntry = [&](QMenu& menu) { return entry(menu, "Copia equazione"); };
        QVERIFY(!copyEntry(before)->isEnabled());
        QStringList texts;
        for (QAction* action : before.actions())
            texts << action->text();
        QCOMPARE(texts.mid(2),
                 (QStringList{"Copia equazione", "Copia immagine", "Salva immagine…"}));

        form.Form_Activate();
        form.Command1_Click();
        QMenu after;
        form.fillContextMenu(after);
        QVERIFY(after.actions().first()->text().startsWith("Curva 2: distanza minima dal PUNTO "));
        copyEntry(after)->trigger();
        QCOMPARE(clipboard.texts, QStringList{equationText(form.model().lastPlot())});
        QVERIFY(
            clipboard.texts[0].startsWith("Curva 2\nx(α) = 130·sin²α + 0·cos α·sin(1·α) + 20\n"));

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
        QCOMPARE(prompter.messages.size(), 1);
        QVERIFY(prompter.messages[0].contains("la cartella non esiste"));

        form.Command2_Click(); // a cleared drawing counts its curves afresh
        QMenu cleared;
        form.fillContextMenu(cleared);
        QVERIFY(cleared.actions().first()->text().startsWith("Curva 1: "));
    }

    // Where the menu opens, on a window that an activation tracker drives as the program does:
    // the drawing's menu from a right click on the drawing and from the keyboard anywhere, the
    // field's own menu from a right click on the field, nothing on a button; and closing a
    // menu never counts as an activation.
    void menuOpensAndClosesWithoutPlotting_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("firstEntry");
        QTest::newRow("right click on the drawing") << "right drawing"
                                                    << "Curva 1: ";
        QTest::newRow("Menu key in a field") << "menu key"
                                             << "Curva 1: ";
        QTest::newRow("Shift+F10 in a field") << "shift f10"
                                              << "Curva 1: ";
        QTest::newRow("right click on a field") << "right field"
                                                << "&Undo";
        QTest::newRow("right click on a button") << "right button"
                                                 << "";
    }
    void menuOpensAndClosesWithoutPlotting() {
        QFETCH(QString, how);
        QFETCH(QString, firstEntry);
        Form4 window;
        window.readIncr = [] { return 0.75; };
        window.resize(1280, 990);
        ActivationTracker tracker;
        tracker.addForm(&window, [&] { window.Form_Activate(); });
        tracker.installOnApplication();
        QVERIFY(showActive(window));
        QTRY_COMPARE(window.model().Miocolor, 1);
        window.Text4->setFocus();

        QString opened;
        QTimer closer;
        connect(&closer, &QTimer::timeout, [&] {
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                opened = menu->actions().value(0)->text();
                menu->close();
            }
        });
        closer.start(20);
        // As the platform delivers them: a right click to the widget under the mouse, the
        // Menu key to the focus.
        const auto contextMenu = [](QWidget* target, QContextMenuEvent::Reason reason, QPoint at) {
            QContextMenuEvent event(reason, at, target->mapToGlobal(at));
            QApplication::sendEvent(target, &event);
        };
        if (how == "right drawing")
            contextMenu(&window, QContextMenuEvent::Mouse, QPoint(1200, 900));
        else if (how == "menu key")
            contextMenu(window.Text4, QContextMenuEvent::Keyboard, QPoint(5, 5));
        else if (how == "shift f10")
            QTest::keyClick(window.Text4, Qt::Key_F10, Qt::ShiftModifier);
        else if (how == "right field")
            contextMenu(window.Text1, QContextMenuEvent::Mouse, QPoint(5, 5));
        else
            contextMenu(window.Command1, QContextMenuEvent::Mouse, QPoint(5, 5));
        QTest::qWait(150);
        QCOMPARE(opened.left(firstEntry.size()), firstEntry);
        QCOMPARE(opened.isEmpty(), firstEntry.isEmpty());
        window.activateWindow();
        QTest::qWait(100);
        QCOMPARE(window.model().Miocolor, 1);
    }
};

QTEST_MAIN(Form4MenuTest)
#include "test_form4_menu.moc"
