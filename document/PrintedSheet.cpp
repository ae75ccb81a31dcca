// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "PrintedSheet.h"

#include "AtomicFile.h"
#include "Fonts.h"
#include "PlotText.h"
#include "RetainedCanvas.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <initializer_list>
#include <numeric>
#include <utility>
#include <vector>

namespace {

constexpr qreal MarginMillimetres = 15;
constexpr qreal HeaderPoints = 14;
constexpr qreal TextPoints = 10;

// A value as the page shows it, "DAX = 20", or a word alone ("Curve Singole") without a name.
struct NamedValue {
    QString name;
    QString value;
    QString prefix() const { return name.isEmpty() ? name : name + QStringLiteral(" = "); }
};
using Row = std::pair<QString, std::vector<NamedValue>>; // a caption and what it says

std::vector<NamedValue> valuesOf(const ExerciseControls& controls,
                                 std::initializer_list<ParameterField> fields) {
    std::vector<NamedValue> values;
    for (ParameterField field : fields)
        values.push_back({QLatin1String(variableOf(field)), controls.field(field).trimmed()});
    return values;
}

// The values under the window's own captions, in the order its panels stand.
std::vector<Row> valueRows(const ExerciseControls& c) {
    using F = ParameterField;
    return {
        {QStringLiteral("SEGMENTO"), valuesOf(c, {F::Text1, F::Text2, F::Text4, F::Text5})},
        {QStringLiteral("SPOSTAMENTO VERTICALE"),
         {{QStringLiteral("SPTY"), QString::number(c.HScroll2)}}},
        {QStringLiteral("SPOSTAMENTO ORIZZONTALE"),
         {{QStringLiteral("SPTX"), QString::number(c.HScroll1)}}},
        {QStringLiteral("PUNTO da raggiungere con la CURVA"), valuesOf(c, {F::Text3, F::Text8})},
        {QStringLiteral("INCREMENTO DI ALFA"), valuesOf(c, {F::Text10, F::Text11})},
        {QStringLiteral("Incremento dei Punti-Curva"), valuesOf(c, {F::Text9})},
        {QStringLiteral("Modo"),
         {{{}, c.Check1 ? QStringLiteral("Curve Multiple") : QStringLiteral("Curve Singole")}}},
    };
}

// How close the latest curve came to its target, then its equations when it drew enough to
// have a shape.
QStringList curveLines(const PlotRecord& plot) {
    if (plot.curve == 0)
        return {};
    QStringList lines{distanceLine(plot)};
    if (plot.points >= 2)
        lines << equationLines(plot);
    return lines;
}

// Writes the page from top to bottom, a line of text at a time.
class PageWriter {
public:
    PageWriter(QPainter& painter, const QRectF& page) : painter_(painter), page_(page) {}

    qreal top() const { return top_; }
    void skip(qreal height) { top_ += height; }

    // Text on the current line, indent from the page's left.
    void put(const QString& text, const QFont& font, qreal indent = 0) {
        painter_.setFont(font);
        const QFontMetricsF metrics(font, painter_.device());
        // A line too long is cut rather than run off the paper.
        painter_.drawText(QPointF(page_.left() + indent, top_ + metrics.ascent()),
                          metrics.elidedText(text, Qt::ElideRight, page_.width() - indent));
    }
    // Values side by side, three blanks apart. A field may hold any text, however long: when
    // the values do not fit, the room the names leave is shared out, no value taking more than
    // it needs, and each value is cut to its share on its own, so that every name stays visible.
    void putValues(const std::vector<NamedValue>& values, const QFont& font, qreal indent) {
        const QFontMetricsF metrics(font, painter_.device());
        const QString gap = QStringLiteral("   ");
        qreal room =
            page_.width() - indent - metrics.horizontalAdvance(gap) * qreal(values.size() - 1);
        std::vector<qreal> needs;
        for (const NamedValue& v : values) {
            room -= metrics.horizontalAdvance(v.prefix());
            needs.push_back(metrics.horizontalAdvance(v.value));
        }
        std::vector<qreal> shares = needs;
        if (std::accumulate(needs.begin(), needs.end(), qreal(0)) > room) {
            // The smallest needs are met first. A character to spare keeps the line, measured
            // whole, from being cut again at its end.
            std::vector<std::size_t> order(values.size());
            std::iota(order.begin(), order.end(), std::size_t(0));
            std::sort(order.begin(), order.end(),
                      [&needs](std::size_t a, std::size_t b) { return needs[a] < needs[b]; });
            qreal left = std::max<qreal>(0, room - metrics.averageCharWidth());
            for (std::size_t i = 0; i < order.size(); ++i) {
                const std::size_t v = order[i];
                shares[v] = std::min(needs[v], left / qreal(order.size() - i));
                left -= shares[v];
            }
        }
        QStringList texts;
        for (std::size_t v = 0; v < values.size(); ++v)
            texts << values[v].prefix() +
                         (needs[v] <= shares[v]
                              ? values[v].value
                              : metrics.elidedText(values[v].value, Qt::ElideRight, shares[v]));
        put(texts.join(gap), font, indent);
    }
    void next(const QFont& font) { top_ += QFontMetricsF(font, painter_.device()).lineSpacing(); }
    void line(const QString& text, const QFont& font) {
        put(text, font);
        next(font);
    }

private:
    QPainter& painter_;
    QRectF page_;
    qreal top_ = 0;
};

} // namespace

QPageLayout sheetPageLayout() {
    const qreal m = MarginMillimetres;
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(m, m, m, m),
                       QPageLayout::Millimeter);
}

bool paintSheet(QPagedPaintDevice& device, const SheetContents& sheet) {
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    // The drawing's oldest part, when folded into an image, keeps its exact colours.
    painter.setRenderHint(QPainter::LosslessImageRendering);
    painter.setPen(Qt::black);
    const QRectF page(0, 0, device.width(), device.height());
    const QFont header = sansSerifFont(HeaderPoints);
    const QFont text = sansSerifFont(TextPoints);
    const QFont caption = sansSerifFont(TextPoints, true);
    const QFontMetricsF textMetrics(text, &device);
    const qreal gap = textMetrics.lineSpacing();

    const std::vector<Row> rows = valueRows(sheet.controls);
    const QStringList curve = curveLines(sheet.lastPlot);
    const qreal headerHeight = QFontMetricsF(header, &device).lineSpacing() + gap;
    const qreal textHeight =
        gap + qreal(rows.size()) * gap + (curve.isEmpty() ? 0 : gap + qreal(curve.size()) * gap);

    PageWriter writer(painter, page);
    writer.line(QStringLiteral("Nome ______  Classe ______  Data ______"), header);
    writer.skip(gap);

    // One scale for both directions, so that a circle stays round: the page's width, unless
    // the drawing is too tall to leave room for the text below it.
    const QSizeF drawing(sheet.drawingSize);
    if (sheet.drawing && !drawing.isEmpty()) {
        const qreal room = std::max<qreal>(0, page.height() - headerHeight - textHeight);
        const qreal scale = std::min(page.width() / drawing.width(), room / drawing.height());
        painter.save();
        painter.translate(page.left() + (page.width() - drawing.width() * scale) / 2, writer.top());
        painter.scale(scale, scale);
        sheet.drawing->paint(painter, sheet.drawingSize);
        painter.restore();
        writer.skip(drawing.height() * scale);
    }

    writer.skip(gap);
    qreal captionWidth = 0;
    const QFontMetricsF captionMetrics(caption, &device);
    for (const auto& [name, values] : rows)
        captionWidth = std::max(captionWidth, captionMetrics.horizontalAdvance(name));
    const qreal valuesIndent = captionWidth + 2 * captionMetrics.averageCharWidth();
    for (const auto& [name, values] : rows) {
        writer.put(name, caption);
        writer.putValues(values, text, valuesIndent);
        writer.next(text);
    }
    if (!curve.isEmpty()) {
        writer.skip(gap);
        writer.line(curve.first(), caption);
        for (qsizetype i = 1; i < curve.size(); ++i)
            writer.line(curve[i], text);
    }
    return painter.end();
}

QString saveSheet(const SheetContents& sheet, const QString& path, const QPageLayout& layout) {
    const QString what = QStringLiteral("la pagina");
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(SheetResolution);
    writer.setPageLayout(layout);
    writer.setTitle(QStringLiteral("Curve sulla corda"));
    writer.setCreator(QStringLiteral("Curve sulla corda"));
    if (!paintSheet(writer, sheet))
        return saveFailureMessage(what, path,
                                  QStringLiteral("la pagina non ha potuto essere disegnata"));
    const QString reason = writeFileAtomically(path, buffer.data());
    return reason.isEmpty() ? QString() : saveFailureMessage(what, path, reason);
}
