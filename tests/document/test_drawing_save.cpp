// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

// What "Salva immagine…" offers in its dialog, the file and format a name and filter lead to, and
// the question before an existing file is replaced.
#include "DrawingSave.h"
#include "FileDialogAsker.h"
#include "RecordingPrompter.h"
#include "RetainedCanvas.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>

class DrawingSaveTest : public QObject {
    Q_OBJECT

private slots:
    void chosenNameAndFilter_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("filter");
        QTest::addColumn<QString>("path");
        QTest::addColumn<DrawingFormat>("format");
        QTest::newRow("PNG first") << "fig" << 0 << "fig.png" << DrawingFormat::Png;
        QTest::newRow("suffix wins") << "fig.PDF" << 1 << "fig.PDF" << DrawingFormat::Pdf;
        QTest::newRow("filter adds its suffix") << "fig" << 1 << "fig.svg" << DrawingFormat::Svg;
        QTest::newRow("unknown suffix kept") << "fig.v2" << 2 << "fig.v2.pdf" << DrawingFormat::Pdf;
    }
    void chosenNameAndFilter() {
        QFETCH(QString, typed);
        QFETCH(int, filter);
        QFETCH(QString, path);
        QFETCH(DrawingFormat, format);
        const QStringList filters = drawingFileFilters();
        QCOMPARE(filters.size(), 3);
        const DrawingTarget target = drawingTargetFor(typed, filters[filter]);
        QCOMPARE(target.path, path);
        QCOMPARE(target.format, format);
        QCOMPARE(QFileInfo(defaultDrawingPath()).fileName(), QString("curva.png"));
        QVERIFY(QFileInfo(defaultDrawingPath()).absoluteDir().exists());
    }

    // The real file dialog, given the name of a file that exists: the question comes first;
    // "Sostituisci" writes the drawing, "Annulla" goes back to the dialog, and closing that
    // leaves the old file as it was.
    void replacingAsksFirst_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("dialogs");
        QTest::newRow("Sostituisci") << "Sostituisci" << 1;
        QTest::newRow("Annulla, then the dialog closed") << "Annulla" << 2;
    }
    void replacingAsksFirst() {
        QFETCH(QString, answer);
        QFETCH(int, dialogs);
        QTemporaryDir dir;
        const QString path = dir.filePath("curva.png");
        const QByteArray old = "the picture saved last time";
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(old) == old.size());
        file.close();
        RetainedCanvas canvas;
        canvas.setPixelSize(QSize(40, 30));
        canvas.dot(0.5f, 0.5f, 2, qRgb(0, 0, 255));

        int shown = 0;
        QStringList questions;
        QTimer user;
        connect(&user, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
                if (++shown == 1) {
                    dialog->selectFile(path);
                    QMetaObject::invokeMethod(dialog, "accept");
                } else {
                    dialog->reject();
                }
            } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                questions << box->text();
                const QList<QAbstractButton*> buttons = box->buttons();
                const auto named = std::find_if(buttons.begin(), buttons.end(),
                                                [&](auto* b) { return b->text() == answer; });
                if (named == buttons.end())
                    box->reject(); // a box without the answer fails the test, not hang it
                else
                    (*named)->click();
            }
        });
        user.start(20);
        QWidget window;
        FileDialogAsker asker(&window);
        RecordingPrompter prompter;
        const QString saved = saveDrawingAs(canvas, QSize(40, 30), asker, prompter);

        QCOMPARE(questions, QStringList{"Il file \"curva.png\" esiste già. Sostituirlo?"});
        QCOMPARE(shown, dialogs);
        QVERIFY(prompter.messages.isEmpty());
        if (answer == "Sostituisci") {
            QCOMPARE(saved, path);
            QCOMPARE(QImage(path).convertToFormat(QImage::Format_RGB32), canvas.image());
        } else {
            QVERIFY(saved.isEmpty());
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), old);
        }
    }
};

QTEST_MAIN(DrawingSaveTest)
#include "test_drawing_save.moc"
