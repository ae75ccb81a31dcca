// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

// Qt's own words in Italian once the program has installed its translation, although the
// tests run under LANG=C: a field's and a scroll bar's context menus and the save dialog.
#include "QtTranslations.h"
#include "ScrollBar.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QTreeView>

namespace {

// The entries of the context menu that a right click on the widget opens.
QStringList contextMenuEntries(QWidget& widget) {
    QStringList entries;
    QTimer::singleShot(50, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (const QAction* action : menu->actions())
                entries << action->text().section('\t', 0, 0); // without the shortcut
            menu->close();
        }
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                            widget.mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&widget, &event);
    // A field's menu pops up and returns at once, a scroll bar's returns once closed.
    QTest::qWait(100);
    return entries;
}

QStringList saveDialogWords() {
    QFileDialog dialog(nullptr, QStringLiteral("Salva immagine"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    QStringList words;
    for (auto label : {QFileDialog::LookIn, QFileDialog::FileName, QFileDialog::FileType,
                       QFileDialog::Accept, QFileDialog::Reject})
        words << dialog.labelText(label);
    const QHeaderView* header = dialog.findChild<QTreeView*>()->header();
    for (int column = 0; column < header->count(); ++column)
        words << header->model()->headerData(column, Qt::Horizontal).toString();
    return words;
}

} // namespace

class QtItalianTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(installQtItalian(*QCoreApplication::instance())); }

    void wordsAreItalian_data() {
        QTest::addColumn<QString>("where");
        QTest::addColumn<QStringList>("words");
        QTest::newRow("a field's menu")
            << "field" << QStringList{"Ann&ulla", "&Rifai",  "", "&Taglia",        "&Copia",
                                      "&Incolla", "Elimina", "", "Seleziona tutto"};
        QTest::newRow("a scroll bar's menu")
            << "bar" << QStringList{"Scorri qui",      "", "Margine sinistro",
                                    "Margine destro",  "", "Pagina a sinistra",
                                    "Pagina a destra", "", "Scorri a sinistra",
                                    "Scorri a destra"};
        QTest::newRow("the save dialog")
            << "dialog"
            << QStringList{
                   "Cerca in:", "&Nome del file:", "File di tipo:", "&Salva",          "Annulla",
                   "Nome",      "Dimensione",      "Tipo",          "Data di modifica"};
    }
    void wordsAreItalian() {
        QFETCH(QString, where);
        QFETCH(QStringList, words);
        QWidget window;
        window.resize(300, 100);
        auto* field = new QLineEdit(QStringLiteral("250"), &window);
        auto* bar = new HScrollBar(0, 500, 1, 10, &window);
        bar->setGeometry(0, 40, 300, 20);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QStringList shown = where == "field" ? contextMenuEntries(*field)
                                  : where == "bar" ? contextMenuEntries(*bar)
                                                   : saveDialogWords();
        QCOMPARE(shown, words);
    }
};

QTEST_MAIN(QtItalianTest)
#include "test_qt_italian.moc"
