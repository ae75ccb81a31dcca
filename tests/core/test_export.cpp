// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "AtomicFile.h"
#include "DrawingEncoding.h"
#include "Palette.h"
#include "RetainedCanvas.h"
#include "WidgetTesting.h"

#include <QDir>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/resource.h>

namespace {

const QSize WindowSize(400, 300);
const QRgb Background = qRgb(240, 240, 240);

// Axes, a marker and a curve with its chord, as a plot draws them; folded, a long plot comes
// first so that its dots end up in the raster base.
// The file's mode, without what Qt says this process may do with it.
QFile::Permissions modeOf(const QString& path) {
    return QFile::permissions(path) & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser);
}

void drawPlot(RetainedCanvas& canvas, bool folded) {
    if (folded)
        for (std::size_t i = 0; i < RetainedCanvas::FoldLimit; ++i)
            canvas.dot(float(i % 397) / 397, 0.9f, 2, QBColor(4));
    canvas.line(0.4f, 0, 0.4f, 1, 2, qRgb(0, 0, 0));
    canvas.line(0, 0.6f, 1, 0.6f, 2, qRgb(0, 0, 0));
    canvas.dot(0.8f, 0.2f, 3, qRgb(0, 0, 0));
    canvas.circle(0.8f, 0.2f, 0.0125f, 1, qRgb(0, 0, 0));
    canvas.line(0.45f, 0.55f, 0.7f, 0.3f, 1, qRgb(0, 0, 0));
    for (int i = 1; i <= 50; ++i)
        canvas.dot(0.4f + 0.01f * float(i), 0.6f - 0.008f * float(i), 2, QBColor(3));
}

// The first page of a PDF as poppler rasterizes it at 96 dots per inch, without smoothing.
QImage renderedPdf(const QByteArray& pdf, const QString& folder) {
    const QString file = QDir(folder).filePath("page");
    QFile out(file + ".pdf");
    if (!out.open(QIODevice::WriteOnly) || out.write(pdf) != pdf.size())
        return {};
    out.close();
    QProcess::execute("pdftoppm", {"-r", "96", "-aa", "no", "-aaVector", "no", "-png",
                                   "-singlefile", file + ".pdf", file});
    return QImage(file + ".png").convertToFormat(QImage::Format_RGB32);
}

QByteArray contentsOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class ExportTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;

private slots:
    void init() { dir = std::make_unique<QTemporaryDir>(); }

    void filesHoldTheDrawing_data() {
        QTest::addColumn<bool>("folded");
        QTest::addColumn<qreal>("ratio");
        QTest::newRow("operations, high DPI") << false << qreal(2);
        QTest::newRow("partly folded") << true << qreal(1);
    }
    void filesHoldTheDrawing() {
        QFETCH(bool, folded);
        QFETCH(qreal, ratio);
        RetainedCanvas canvas;
        canvas.setPixelSize(WindowSize * ratio, ratio);
        drawPlot(canvas, folded);
        QCOMPARE(canvas.hasFoldedBase(), folded);

        // PNG: the drawing at device resolution, pixel for pixel.
        const QImage read = QImage::fromData(encodeDrawing(canvas, WindowSize, DrawingFormat::Png));
        QCOMPARE(read.convertToFormat(QImage::Format_RGB32), canvas.image());

        // SVG: vector elements at the window's size, the folded part as an embedded image.
        const QByteArray svgText = encodeDrawing(canvas, WindowSize, DrawingFormat::Svg);
        QSvgRenderer renderer(svgText);
        QVERIFY(renderer.isValid());
        QCOMPARE(renderer.viewBox(), QRect(QPoint(0, 0), WindowSize));
        QVERIFY(svgText.contains("<path") || svgText.contains("<rect") ||
                svgText.contains("<line"));
        QCOMPARE(svgText.contains("<image"), folded);

        // Rendered back at the window's size, each vector drawing lands where the raster one
        // does, on the background, the dots and any folded part in place: exactly for Qt's
        // renderer, within a pixel for poppler, whose fill rule and image sampling differ.
        RetainedCanvas windowSized;
        windowSized.setPixelSize(WindowSize);
        drawPlot(windowSized, folded);
        const QImage& raster = windowSized.image();
        const auto sameAsRaster = [&](const QImage& rendered, int slack) {
            QCOMPARE(rendered.size(), WindowSize);
            QCOMPARE(rendered.pixel(0, 0), Background);
            QCOMPARE(rendered.pixel(WindowSize.width() - 1, WindowSize.height() - 1), Background);
            for (QRgb colour : {QBColor(3), QBColor(4)}) {
                const QRect drawn = extentOf(rendered, colour), expected = extentOf(raster, colour);
                const QMargins off(drawn.left() - expected.left(), drawn.top() - expected.top(),
                                   drawn.right() - expected.right(),
                                   drawn.bottom() - expected.bottom());
                QVERIFY2(std::max({std::abs(off.left()), std::abs(off.top()), std::abs(off.right()),
                                   std::abs(off.bottom())}) <= slack,
                         qPrintable(QString("drawn in %1,%2 %3x%4, expected in %5,%6 %7x%8")
                                        .arg(drawn.x())
                                        .arg(drawn.y())
                                        .arg(drawn.width())
                                        .arg(drawn.height())
                                        .arg(expected.x())
                                        .arg(expected.y())
                                        .arg(expected.width())
                                        .arg(expected.height())));
                if (slack == 0)
                    QCOMPARE(countPixels(rendered, colour), countPixels(raster, colour));
            }
        };
        QImage rendered(WindowSize, QImage::Format_RGB32);
        rendered.fill(Qt::black); // shows through wherever the file paints nothing
        QPainter painter(&rendered);
        renderer.render(&painter);
        painter.end();
        sameAsRaster(rendered, 0);
        if (QTest::currentTestFailed())
            return;

        // PDF: one page of the window's size at the screen's 96 dots per inch, in points.
        const QByteArray pdfText = encodeDrawing(canvas, WindowSize, DrawingFormat::Pdf);
        QVERIFY(pdfText.startsWith("%PDF"));
        QCOMPARE(pdfText.count("/Type /Page\n"), 1);
        const QRegularExpressionMatch box =
            QRegularExpression(R"(/MediaBox \[0 0 ([0-9.]+) ([0-9.]+)\])").match(pdfText);
        QVERIFY(box.hasMatch());
        QCOMPARE(QSizeF(box.captured(1).toDouble(), box.captured(2).toDouble()),
                 QSizeF(WindowSize) * 72 / 96);
        QCOMPARE(pdfText.contains("/Subtype /Image"), folded);
        QVERIFY2(!QStandardPaths::findExecutable("pdftoppm").isEmpty(),
                 "pdftoppm is missing: scripts/install-deps.sh installs poppler-utils");
        sameAsRaster(renderedPdf(pdfText, dir->path()), 1);
    }

    void failureKeepsWhatWasThere_data() {
        QTest::addColumn<QString>("target"); // relative to the temporary folder
        QTest::addColumn<bool>("diskFull");  // over a file saved before
        QTest::addColumn<QString>("reason");
        QTest::addColumn<bool>("protectedFile"); // a file saved before, read-only for everyone
        QTest::newRow("missing folder")
            << "assente/curva.png" << false << "cartella non esiste" << false;
        QTest::newRow("folder in place of the file")
            << "cartella" << false << "è una cartella, non un file" << false;
        QTest::newRow("folder nobody may write")
            << "/proc/curva.png" << false << "non è permesso" << false;
        QTest::newRow("disk full, existing file") << "curva.png" << true << "disco è pieno" << false;
        // Root may write anything: the file's own protection is respected all the same.
        QTest::newRow("write-protected file")
            << "curva.png" << false << "il file è protetto dalla scrittura" << true;
    }
    void failureKeepsWhatWasThere() {
        QFETCH(QString, target);
        QFETCH(bool, diskFull);
        QFETCH(QString, reason);
        QFETCH(bool, protectedFile);
        QVERIFY(QDir(dir->path()).mkdir("cartella"));
        const QString path = QDir(dir->path()).absoluteFilePath(target);
        const QByteArray before = "the picture saved last time";
        const auto readOnly = QFile::ReadOwner | QFile::ReadGroup;
        if (diskFull || protectedFile) {
            QFile old(path);
            QVERIFY(old.open(QIODevice::WriteOnly) && old.write(before) == before.size());
            old.close();
            QVERIFY(!protectedFile || old.setPermissions(readOnly));
        }
        const QStringList listed = QDir(dir->path()).entryList(QDir::AllEntries | QDir::Hidden);

        RetainedCanvas canvas;
        canvas.setPixelSize(WindowSize);
        drawPlot(canvas, false);
        // Writing past a file size limit fails as a full disk does, even for root.
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        const rlimit small{diskFull ? 100 : saved.rlim_cur, saved.rlim_max};
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &small);
        const QString message =
            writeFileAtomically(path, encodeDrawing(canvas, WindowSize, DrawingFormat::Png));
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);
        QVERIFY2(message.contains(reason), qPrintable(message));
        if (diskFull || protectedFile)
            QCOMPARE(contentsOf(path), before);
        if (protectedFile)
            QCOMPARE(modeOf(path), readOnly);
        QCOMPARE(QDir(dir->path()).entryList(QDir::AllEntries | QDir::Hidden), listed);
        QVERIFY(QDir(dir->filePath("cartella")).isEmpty());
    }

    // A file its owner lets the group write stays so once replaced, whatever the umask.
    void replacedFileKeepsItsPermissions() {
        const QString path = dir->filePath("curva.png");
        const auto shared =
            QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::WriteGroup;
        QVERIFY(writeFileAtomically(path, "old").isEmpty());
        QVERIFY(QFile::setPermissions(path, shared));
        QCOMPARE(writeFileAtomically(path, "new"), QString());
        QCOMPARE(contentsOf(path), QByteArray("new"));
        QCOMPARE(modeOf(path), shared);
    }
};

QTEST_MAIN(ExportTest)
#include "test_export.moc"
