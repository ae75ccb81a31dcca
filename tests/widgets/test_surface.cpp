// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "Palette.h"
#include "RetainedCanvas.h"
#include "SurfaceWidget.h"
#include "WidgetTesting.h"

#include <QRandomGenerator>
#include <QTest>
#include <limits>

class SurfaceTest : public QObject {
    Q_OBJECT

    std::unique_ptr<SurfaceWidget> surface;

    void useCurveScale(float heightUnits) {
        surface->setScaleMode(Surface::Centimetres);
        surface->setScaleWidth(1000);
        surface->setScaleHeight(heightUnits);
    }

private slots:
    void init() {
        surface = std::make_unique<SurfaceWidget>();
        surface->resize(800, 600);
    }

    void palette_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QRgb>("rgb");
        // The colours a user sees: the first curves, the calibration figure, the grey and the
        // white that are easily swapped, and the wrap past the sixteenth.
        QTest::newRow("first curve, dark green") << 2 << qRgb(0, 128, 0);
        QTest::newRow("second curve, dark cyan") << 3 << qRgb(0, 128, 128);
        QTest::newRow("calibration figure, dark red") << 4 << qRgb(128, 0, 0);
        QTest::newRow("light grey") << 7 << qRgb(192, 192, 192);
        QTest::newRow("dark grey") << 8 << qRgb(128, 128, 128);
        QTest::newRow("last curve, yellow") << 14 << qRgb(255, 255, 0);
        QTest::newRow("white") << 15 << qRgb(255, 255, 255);
        QTest::newRow("16 wraps to black") << 16 << qRgb(0, 0, 0);
        QTest::newRow("18 wraps to dark green") << 18 << qRgb(0, 128, 0);
    }
    void palette() {
        QFETCH(int, index);
        QFETCH(QRgb, rgb);
        QCOMPARE(QBColor(index), rgb);
    }

    void scaleModes() {
        surface->setScaleMode(Surface::Centimetres);
        const double dpi = surface->logicalDpiX();
        QCOMPARE(surface->ScaleMode(), Surface::Centimetres);
        QVERIFY(qAbs(surface->ScaleWidth() - 800 / dpi * 2.54) < 1e-3);
        surface->setScaleWidth(1000);
        QCOMPARE(surface->ScaleMode(), Surface::UserScale);
        QCOMPARE(surface->ScaleWidth(), 1000.f);
        QVERIFY(qAbs(surface->ScaleHeight() - 600 / dpi * 2.54) < 1e-3);
        surface->setScaleHeight(750);
        QCOMPARE(surface->ScaleHeight(), 750.f);
        // Switching to the user unit keeps the scale; invalid extents are ignored.
        surface->setScaleMode(Surface::UserScale);
        surface->setScaleWidth(-5);
        surface->setScaleHeight(std::numeric_limits<float>::infinity());
        QCOMPARE(surface->ScaleWidth(), 1000.f);
        QCOMPARE(surface->ScaleHeight(), 750.f);
    }

    void lineAcrossAtHalfHeight() {
        useCurveScale(750);
        surface->setDrawWidth(1);
        surface->Line(0, 375, 1000, 375);
        const QImage& image = surface->drawing();
        const QRgb fore = surface->ForeColor();
        QCOMPARE(countPixels(image, fore, QRect(0, 300, 800, 1)), 800);
        QCOMPARE(countPixels(image, fore), 800);
    }

    void circleIsRoundWhateverTheVerticalUnit() {
        useCurveScale(200); // a vertical unit three times the horizontal one
        surface->Circle(500, 100, 5);
        const QRect box = extentOf(surface->drawing(), surface->ForeColor());
        // Radius 5 of 1000 units across 800 pixels: 4 pixels, 9 pixels across with the centre.
        QVERIFY2(qAbs(box.width() - 9) <= 1, qPrintable(QString::number(box.width())));
        QCOMPARE(box.height(), box.width());
        QVERIFY(box.contains(400, 300));
    }

    void dots_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<bool>("foreground");
        QTest::addColumn<QRgb>("color");
        QTest::newRow("width 3, no colour") << 3 << true << QRgb();
        QTest::newRow("width 2, green") << 2 << false << QBColor(2);
        QTest::newRow("width 1, red") << 1 << false << QBColor(12);
    }
    void dots() {
        QFETCH(int, width);
        QFETCH(bool, foreground);
        QFETCH(QRgb, color);
        useCurveScale(750);
        surface->setDrawWidth(width);
        if (foreground)
            surface->PSet(500, 375);
        else
            surface->PSet(500, 375, color);
        const QRgb expected = foreground ? qRgb(0, 0, 0) : color;
        const QRect box = extentOf(surface->drawing(), expected);
        QCOMPARE(box.size(), QSize(width, width));
        QCOMPARE(countPixels(surface->drawing(), expected), width * width);
        QVERIFY(box.contains(400, 300));
    }

    void positionsOutsideDrawNothing_data() {
        QTest::addColumn<float>("x");
        QTest::addColumn<float>("y");
        QTest::addColumn<bool>("far"); // far enough that no circle or line around it shows
        const float inf = std::numeric_limits<float>::infinity();
        QTest::newRow("left") << -1.f << 100.f << false;
        QTest::newRow("above") << 100.f << -0.5f << false;
        QTest::newRow("right edge") << 1000.f << 100.f << false;
        QTest::newRow("below") << 100.f << 751.f << false;
        QTest::newRow("huge") << 3e38f << -3e38f << true;
        QTest::newRow("infinite") << inf << 10.f << true;
        QTest::newRow("not a number") << std::numeric_limits<float>::quiet_NaN() << 10.f << true;
    }
    void positionsOutsideDrawNothing() {
        QFETCH(float, x);
        QFETCH(float, y);
        QFETCH(bool, far);
        useCurveScale(750);
        surface->setDrawWidth(3);
        surface->PSet(x, y);
        surface->PSet(x, y, QBColor(4));
        if (far) {
            surface->Circle(x, y, 5);
            surface->Line(x, y, x, y);
            surface->Line(x, y, -x, -y);
        }
        QCOMPARE(countPixels(surface->drawing(), surface->BackColor()), 800 * 600);
    }

    void farLineIsClippedNotBent() {
        useCurveScale(1000);
        surface->Line(0, 0, 3e30f, 3e30f); // the diagonal, with an end point far away
        const QImage& image = surface->drawing();
        for (int x : {0, 100, 299, 599})
            QCOMPARE(image.pixel(x, x * 600 / 800), surface->ForeColor());
    }

    void clsKeepsScaleAndPen() {
        useCurveScale(750);
        surface->setDrawWidth(3);
        surface->PSet(250, 250);
        const QRect before = extentOf(surface->drawing(), surface->ForeColor());
        surface->Cls();
        QCOMPARE(countPixels(surface->drawing(), surface->BackColor()), 800 * 600);
        surface->PSet(250, 250);
        QCOMPARE(extentOf(surface->drawing(), surface->ForeColor()), before);
        QCOMPARE(surface->ScaleHeight(), 750.f);
    }

    void drawingFollowsResize() {
        useCurveScale(750);
        surface->Line(0, 375, 1000, 375);
        surface->resize(400, 900);
        const QImage& image = surface->drawing();
        QCOMPARE(image.size(), QSize(400, 900));
        QCOMPARE(countPixels(image, surface->ForeColor(), QRect(0, 450, 400, 1)), 400);
    }

    void laterScaleChangeDoesNotMoveTheDrawing() {
        useCurveScale(750);
        surface->setDrawWidth(2);
        surface->PSet(500, 375, QBColor(4));
        const QRect before = extentOf(surface->drawing(), QBColor(4));
        useCurveScale(300);
        QCOMPARE(extentOf(surface->drawing(), QBColor(4)), before);
    }

    // A plot redraws its chord before every dot; the canvas moves the repeated chord past the
    // dots instead of drawing it each time. The pixels must be those of the literal order.
    void repeatedChordGivesTheSamePixels() {
        RetainedCanvas literal, coalesced;
        literal.setPixelSize({300, 200});
        coalesced.setPixelSize({300, 200});
        // SURFACE_SEED replays a run.
        bool given = false;
        quint32 seed = qEnvironmentVariable("SURFACE_SEED").toUInt(&given);
        if (!given)
            seed = QRandomGenerator::global()->generate();
        qInfo("SURFACE_SEED=%u", seed);
        QRandomGenerator generator(seed);
        QRandomGenerator* const random = &generator;
        for (int plot = 0; plot < 20; ++plot) {
            const float x1 = float(random->bounded(1.0)), y1 = float(random->bounded(1.0));
            const float x2 = float(random->bounded(1.0)), y2 = float(random->bounded(1.0));
            const QRgb color = QBColor(2 + plot % 13);
            for (int i = 0; i <= 100; ++i) {
                const float t = i / 100.f;
                // Half the dots lie on the chord, where the order of painting shows.
                const float jitter = (i % 2) ? float(random->bounded(0.02)) : 0.f;
                for (RetainedCanvas* canvas : {&literal, &coalesced}) {
                    canvas->line(x1, y1, x2, y2, 1, qRgb(0, 0, 0));
                    canvas->dot(x1 + (x2 - x1) * t + jitter, y1 + (y2 - y1) * t, 2, color);
                }
                literal.takeDirtyRect(); // rasterizing each step keeps the literal order
            }
        }
        QVERIFY(coalesced.retainedOperations() < literal.retainedOperations());
        QCOMPARE(coalesced.image(), literal.image());
    }

    // Taking the drawing back to the start of a plot gives the pixels of a drawing that never
    // had that plot: from the pixels kept, or drawn again once a resize has given them up, over
    // a folded base too; a clearing since the mark is refused. Plots repeat the previous chord
    // without a marker, where a chord could slip past a mark.
    void rewindGivesThePixelsWithoutTheLaterPlots_data() {
        QTest::addColumn<bool>("folded");
        QTest::addColumn<bool>("resized");
        QTest::addColumn<int>("dots"); // per plot
        QTest::newRow("pixels kept") << false << false << 40;
        QTest::newRow("pixels kept beyond their budget") << false << false << 30000;
        QTest::newRow("drawn again after a resize") << false << true << 40;
        QTest::newRow("drawn again over a folded base") << true << true << 40;
    }
    void rewindGivesThePixelsWithoutTheLaterPlots() {
        QFETCH(bool, folded);
        QFETCH(bool, resized);
        QFETCH(int, dots);
        const auto drawPlot = [dots](RetainedCanvas& canvas, int plot) {
            const float y = 0.2f + 0.03f * float(plot / 2);
            if (plot % 2 == 0) {
                canvas.dot(0.8f, y, 3, qRgb(0, 0, 0));
                canvas.circle(0.8f, y, 0.02f, 1, qRgb(0, 0, 0));
            }
            for (int i = 1; i <= dots; ++i) {
                const float t = float(i) / float(dots);
                canvas.line(0.1f, y, 0.7f, y + 0.1f, 1, qRgb(0, 0, 0));
                // Dense plots have wide dots, so that their pixels outgrow the budget.
                canvas.dot(0.1f + 0.6f * t, y + 0.1f * t, dots > 1000 ? 8 : 2, QBColor(2 + plot));
            }
        };
        const auto drawn = [&](int plots, std::vector<RetainedCanvas::Mark>* marks) {
            auto canvas = std::make_unique<RetainedCanvas>();
            canvas->setPixelSize({300, 200});
            if (folded)
                for (std::size_t i = 0; i < RetainedCanvas::FoldLimit; ++i)
                    canvas->dot(float(i % 293) / 293, 0.1f, 2, QBColor(4));
            canvas->line(0.4f, 0, 0.4f, 1, 2, qRgb(0, 0, 0));
            for (int plot = 0; plot < plots; ++plot) {
                if (marks)
                    marks->push_back(canvas->mark());
                drawPlot(*canvas, plot);
            }
            return canvas;
        };
        std::vector<RetainedCanvas::Mark> marks;
        auto canvas = drawn(8, &marks);
        if (resized) {
            canvas->setPixelSize({301, 200});
            canvas->setPixelSize({300, 200});
        }
        for (int plots = 7; plots >= 0; --plots) {
            QVERIFY(canvas->rewind(marks[std::size_t(plots)]));
            QCOMPARE(canvas->image(), drawn(plots, nullptr)->image());
        }
        const RetainedCanvas::Mark start = canvas->mark();
        drawPlot(*canvas, 0);
        canvas->clear();
        QVERIFY(!canvas->rewind(start));
        QCOMPARE(countPixels(canvas->image(), canvas->background()), 300 * 200);
    }

    // Before its window has a size too: operations then fold at a stand-in size.
    void memoryStaysBounded_data() {
        QTest::addColumn<QSize>("size");
        QTest::newRow("sized") << QSize(200, 100);
        QTest::newRow("no size yet") << QSize();
    }
    void memoryStaysBounded() {
        QFETCH(QSize, size);
        RetainedCanvas canvas;
        canvas.setPixelSize(size);
        const std::size_t total = RetainedCanvas::FoldLimit + 1000;
        for (std::size_t i = 0; i < total; ++i)
            canvas.dot(float(i % 200) / 200.f + 0.001f, 0.5f, 1, QBColor(i % 16));
        QVERIFY(canvas.retainedOperations() < RetainedCanvas::FoldLimit);
        // What was folded into the base survives a resize, scaled.
        canvas.setPixelSize({400, 200});
        QVERIFY(canvas.image().pixel(200, 100) != canvas.background());
    }

    void widePensAreBoundedNotWrapped() {
        RetainedCanvas canvas;
        canvas.setPixelSize({600, 600});
        canvas.dot(0.5f, 0.5f, 300, QBColor(4));
        QCOMPARE(extentOf(canvas.image(), QBColor(4)).size(), QSize(255, 255));
    }
};

QTEST_MAIN(SurfaceTest)
#include "test_surface.moc"
