// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "Palette.h"
#include "SurfaceWidget.h"
#include "WidgetTesting.h"

#include <QTest>

// Run with a screen scale of 2: the drawing is kept at device pixels, so it stays sharp, pen
// widths are window pixels, so it keeps its weight, and window positions map back to it.
class SurfaceHiDpiTest : public QObject {
    Q_OBJECT

    // Lengths of the runs of one colour down a column of the image.
    static QList<int> runsDown(const QImage& image, int x, QRgb colour) {
        QList<int> runs;
        int run = 0;
        for (int y = 0; y <= image.height(); ++y) {
            if (y < image.height() && image.pixel(x, y) == colour) {
                ++run;
            } else if (run > 0) {
                runs << run;
                run = 0;
            }
        }
        return runs;
    }

private slots:
    void drawingIsSharpAndKeepsItsWeight() {
        SurfaceWidget surface;
        surface.resize(400, 300);
        surface.show();
        QCOMPARE(surface.devicePixelRatioF(), 2.0);
        surface.setScaleMode(Surface::Centimetres);
        surface.setScaleWidth(1000);
        surface.setScaleHeight(750);
        surface.setDrawWidth(2);
        surface.PSet(500, 375, QBColor(2));
        surface.setDrawWidth(1);
        surface.Line(0, 100, 1000, 100);
        surface.Circle(250, 375, 100);
        const QImage& image = surface.drawing();
        QCOMPARE(image.size(), QSize(800, 600));
        // A two-pixel dot is four device pixels across, square, in the pure colour (no
        // smoothing), around the device pixel of its position.
        const QRect dot = extentOf(image, QBColor(2));
        QCOMPARE(dot.size(), QSize(4, 4));
        QCOMPARE(countPixels(image, QBColor(2)), 16);
        QVERIFY(dot.adjusted(1, 1, -1, -1).contains(400, 300));
        // The mouse over it, in window pixels, reads back its position, and its position
        // leads to the window pixel over it.
        QCOMPARE(surface.userPosition(QPointF(200, 150)), QPointF(500, 375));
        QCOMPARE(surface.widgetPosition(QPointF(500, 375)), QPointF(200, 150));
        // A one-pixel line and a one-pixel circle are two device pixels thick, where the line at
        // one window pixel per step lies.
        const QRgb fore = surface.ForeColor();
        QCOMPARE(runsDown(image, 600, fore), QList<int>{2});
        QVERIFY(image.pixel(600, 80) == fore || image.pixel(600, 79) == fore);
        QCOMPARE(runsDown(image, 200, fore), (QList<int>{2, 2, 2}));
        // The window shows the image without resampling.
        const QImage shown = surface.grab().toImage();
        QCOMPARE(shown.devicePixelRatio(), 2.0);
        QCOMPARE(shown.pixel(400, 300), QBColor(2));
    }
};

QTEST_MAIN(SurfaceHiDpiTest)
#include "test_surface_hidpi.moc"
