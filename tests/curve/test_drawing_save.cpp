// What "Salva immagine…" offers in its dialog, and the file and format a name and filter lead to.
#include "DrawingSave.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

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
};

QTEST_MAIN(DrawingSaveTest)
#include "test_drawing_save.moc"
