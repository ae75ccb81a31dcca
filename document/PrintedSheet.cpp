// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "PrintedSheet.h"

#include "AtomicFile.h"
#include "CurveModel.h"
#include "Fonts.h"
#include "NumberText.h"
#include "PlotText.h"
#include "RetainedCanvas.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTextLayout>
#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>
#include <numeric>
#include <utility>
#include <vector>

namespace {

constexpr qreal MarginMillimetres = 15;
constexpr qreal HeaderPoints = 14;
constexpr qreal TextPoints = 10;
constexpr qreal AxisValuePoints = 7;
constexpr qreal MillimetresPerInch = 25.4;

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

// The header, the student's name on its line when there is one.
QString headerLine(const QString& student) {
    const QString blank = QStringLiteral("______");
    const QString name = student.simplified();
    return QStringLiteral("Nome %1  Classe %2  Data %2").arg(name.isEmpty() ? blank : name, blank);
}

// The rules the students keep, after the teacher's text.
QString rulesLine(const Assignment& assignment) {
    QString line = QStringLiteral("Bersaglio raggiunto entro %1")
                       .arg(DoubleToReadableText(assignment.tolerance));
    if (assignment.maxCurves > 0)
        line += QStringLiteral("   Curve al massimo %1").arg(assignment.maxCurves);
    return line;
}

// Writes the pages from top to bottom, a line of text at a time.
class PageWriter {
public:
    PageWriter(QPainter& painter, QPagedPaintDevice& device, const QRectF& page)
        : painter_(painter), device_(device), page_(page) {}

    qreal top() const { return top_; }
    void skip(qreal height) { top_ += height; }
    void newPage() {
        device_.newPage();
        top_ = 0;
    }

    // A text however long, whole: its lines are wrapped at the page's width, between words
    // where they can be, and go on at the top of the next page where this one ends.
    void paragraphs(const QString& text, const QFont& font) {
        const qreal spacing = QFontMetricsF(font, &device_).lineSpacing();
        QTextOption wrapping;
        wrapping.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        static const QRegularExpression lineBreak(QStringLiteral("\\r\\n|\\r|\\n"));
        for (const QString& paragraph : text.split(lineBreak)) {
            QTextLayout layout(paragraph, font, &device_);
            layout.setTextOption(wrapping);
            layout.beginLayout();
            for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine())
                line.setLineWidth(page_.width());
            layout.endLayout();
            for (int i = 0; i < layout.lineCount(); ++i) {
                if (top_ > 0 && top_ + spacing > page_.height())
                    newPage();
                const QTextLine line = layout.lineAt(i);
                line.draw(&painter_, QPointF(page_.left(), top_) - line.position());
                top_ += spacing;
            }
        }
    }

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
    QPagedPaintDevice& device_;
    QRectF page_;
    qreal top_ = 0;
};

// Where a point in curve coordinates falls on the drawing placed in area.
QPointF onDrawing(const QRectF& area, double incr, double x, double y) {
    const QPointF relative = CurveModel::relativePosition(incr, x, y);
    return {area.left() + relative.x() * area.width(), area.top() + relative.y() * area.height()};
}

// The drawing's edge, a thin line: its background is the paper's.
void drawFrame(QPainter& painter, const QRectF& area) {
    painter.save();
    QPen pen(Qt::black, 1);
    pen.setCosmetic(true);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(area);
    painter.restore();
}

// What a student needs to read the drawing with a ruler: tick marks across the axes with their
// values in curve coordinates, every 50 units, or every 100 or more when 50 would crowd the
// values together. For a scale set up with a calibration ratio above 0.
void drawAxisValues(QPainter& painter, const QRectF& area, double incr) {
    painter.save();
    const QPointF origin = onDrawing(area, incr, 0, 0);
    // How far one unit moves on the page: to the right along x, up along y.
    const QPointF unit = onDrawing(area, incr, 1, 1) - origin;
    const QFont font = sansSerifFont(AxisValuePoints);
    const QFontMetricsF metrics(font, painter.device());
    const qreal millimetre = painter.device()->logicalDpiX() / MillimetresPerInch;
    const qreal tick = millimetre, gap = millimetre / 2;

    // The multiples of step whose places fall within the drawing, 0 left out: the axes cross
    // there.
    const auto valuesIn = [&](double step, qreal from, qreal to, qreal at, qreal perUnit) {
        const double a = (from - at) / perUnit / step, b = (to - at) / perUnit / step;
        std::vector<double> values;
        for (double k = std::ceil(std::min(a, b)); k <= std::floor(std::max(a, b)); ++k)
            if (k != 0)
                values.push_back(k * step);
        return values;
    };
    const auto valuesAlongX = [&](double step) {
        return valuesIn(step, area.left(), area.right(), origin.x(), unit.x());
    };
    const auto valuesAlongY = [&](double step) {
        return valuesIn(step, area.top(), area.bottom(), origin.y(), unit.y());
    };
    // Values side by side along x need their widths apart; along y, their height and the
    // values of x below the axis.
    const auto fits = [&](double step) {
        qreal widest = 0;
        for (double value : valuesAlongX(step))
            widest = std::max(widest, metrics.horizontalAdvance(DoubleToReadableText(value)));
        return std::abs(unit.x()) * step >= widest + metrics.averageCharWidth() &&
               std::abs(unit.y()) * step >= 2 * metrics.lineSpacing() + tick + gap;
    };
    constexpr std::array<double, 4> steps{50, 100, 200, 500};
    const double step = *std::find_if(steps.begin(), steps.end() - 1, fits);

    painter.setPen(QPen(Qt::black, std::max<qreal>(1, millimetre / 4)));
    painter.setFont(font);
    const QRectF inside = area.adjusted(1, 1, -1, -1);
    // A tick whose value would cross the drawing's edge is left out with it.
    const auto mark = [&](const QLineF& tickMark, const QRectF& place, const QString& value,
                          Qt::Alignment alignment) {
        if (!inside.contains(place))
            return;
        painter.drawLine(tickMark);
        painter.drawText(place, alignment, value);
    };
    const qreal height = metrics.height();
    if (origin.y() >= area.top() && origin.y() <= area.bottom()) {
        for (double value : valuesAlongX(step)) {
            const qreal x = origin.x() + value * unit.x();
            const QString text = DoubleToReadableText(value);
            const qreal width = metrics.horizontalAdvance(text);
            mark(QLineF(x, origin.y() - tick, x, origin.y() + tick),
                 QRectF(x - width / 2, origin.y() + tick + gap, width, height), text,
                 Qt::AlignCenter);
        }
    }
    if (origin.x() >= area.left() && origin.x() <= area.right()) {
        for (double value : valuesAlongY(step)) {
            const qreal y = origin.y() + value * unit.y();
            const QString text = DoubleToReadableText(value);
            const qreal width = metrics.horizontalAdvance(text);
            mark(QLineF(origin.x() - tick, y, origin.x() + tick, y),
                 QRectF(origin.x() - tick - gap - width, y - height / 2, width, height), text,
                 Qt::AlignRight | Qt::AlignVCenter);
        }
    }
    painter.restore();
}

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
    const qreal textHeight =
        gap + qreal(rows.size()) * gap + (curve.isEmpty() ? 0 : gap + qreal(curve.size()) * gap);

    PageWriter writer(painter, device, page);
    writer.paragraphs(headerLine(sheet.student), header);
    writer.skip(gap);
    // The assignment before the drawing, as the students read it first, and whole however long.
    if (sheet.assignment) {
        writer.paragraphs(QStringLiteral("Consegna"), caption);
        const QString words = sheet.assignment->text.trimmed();
        if (!words.isEmpty())
            writer.paragraphs(words, text);
        writer.paragraphs(rulesLine(*sheet.assignment), text);
        writer.skip(gap);
    }

    // One scale for both directions, so that a circle stays round: the page's width, unless
    // the drawing is too tall to leave room for the text below it.
    const QSizeF drawing(sheet.drawingSize);
    if (sheet.drawing && !drawing.isEmpty()) {
        const auto scaleFor = [&](qreal top) {
            const qreal room = std::max<qreal>(0, page.height() - top - textHeight);
            return std::min(page.width() / drawing.width(), room / drawing.height());
        };
        // A long assignment may take up to half of the drawing's size on its page; a longer one
        // leaves the drawing a page of its own, where it is read with a ruler at full size.
        qreal scale = scaleFor(writer.top());
        if (scale < scaleFor(0) / 2) {
            writer.newPage();
            scale = scaleFor(0);
        }
        const QRectF area(page.left() + (page.width() - drawing.width() * scale) / 2, writer.top(),
                          drawing.width() * scale, drawing.height() * scale);
        painter.save();
        painter.translate(area.topLeft());
        painter.scale(scale, scale);
        // On white: the screen's grey would cost toner and dim the curves.
        sheet.drawing->paint(painter, sheet.drawingSize, qRgb(255, 255, 255));
        painter.restore();
        drawFrame(painter, area);
        if (sheet.Incr > 0)
            drawAxisValues(painter, area, sheet.Incr);
        writer.skip(area.height());
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
