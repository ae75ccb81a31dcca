#include "Palette.h"
#include "SurfaceWidget.h"
#include "WidgetTesting.h"

#include <QTest>

// Run with a screen scale of 2: the drawing is kept at device pixels, so it stays sharp.
class SurfaceHiDpiTest : public QObject {
    Q_OBJECT
private slots:
    void drawingIsSharpAtDevicePixels() {
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
        const QImage& image = surface.drawing();
        QCOMPARE(image.size(), QSize(800, 600));
        // A two-pixel dot is two device pixels, in the pure colour: no smoothing.
        QCOMPARE(countPixels(image, QBColor(2)), 4);
        QCOMPARE(image.pixel(400, 300), QBColor(2));
        // A one-pixel line is one device pixel high.
        QCOMPARE(image.pixel(10, 80), surface.ForeColor());
        QVERIFY(image.pixel(10, 79) != surface.ForeColor());
        QVERIFY(image.pixel(10, 81) != surface.ForeColor());
        // The window shows the image without resampling.
        const QImage shown = surface.grab().toImage();
        QCOMPARE(shown.devicePixelRatio(), 2.0);
        QCOMPARE(shown.pixel(400, 300), QBColor(2));
    }
};

QTEST_MAIN(SurfaceHiDpiTest)
#include "test_surface_hidpi.moc"
