#pragma once

#include <QImage>
#include <QRect>
#include <QRgb>
#include <cstdint>
#include <vector>

// The retained drawing of a client area. Operations are kept in coordinates relative to the
// client area (0..1 across and down, radii relative to the width), so the drawing can be
// rendered again at any pixel size without moving. They are rasterized lazily, when the image
// is asked for, into a device-pixel image.
//
// Memory stays bounded, with or without a size: past FoldLimit operations the rendered image
// becomes the base and the list starts again; a later resize scales that base.
class RetainedCanvas {
public:
    static constexpr std::size_t FoldLimit = 1 << 18;
    static constexpr std::size_t RasterizeBatch = 1 << 14;

    explicit RetainedCanvas(QRgb background = qRgb(240, 240, 240));

    void setBackground(QRgb color);
    QRgb background() const { return background_; }
    // Renders everything again at a new size in device pixels.
    void setPixelSize(QSize size);
    QSize pixelSize() const { return image_.size(); }

    // A square dot width pixels across around the pixel holding (x, y).
    void dot(float x, float y, int width, QRgb color);
    void line(float x1, float y1, float x2, float y2, int width, QRgb color);
    // radius is relative to the width: the circle is round whatever the aspect.
    void circle(float x, float y, float radius, int width, QRgb color);
    void clear();

    // The image with every operation so far rasterized, and the device-pixel rectangle that
    // changed since the previous call.
    const QImage& image();
    QRect takeDirtyRect();
    std::size_t pendingOperations() const { return ops_.size() - rendered_; }
    std::size_t retainedOperations() const { return ops_.size(); }

private:
    struct Op {
        enum Kind : std::uint8_t { Dot, Line, Circle };
        Kind kind;
        std::uint8_t width;
        QRgb color;
        float x1, y1, x2, y2; // a circle keeps its radius in x2
        bool operator==(const Op&) const = default;
    };

    void append(const Op& op);
    void rasterize(std::size_t from);
    void renderAll();
    void fold();

    QRgb background_;
    QImage base_;
    QImage image_;
    std::vector<Op> ops_;
    std::size_t rendered_ = 0;
    QRect dirty_;
};
