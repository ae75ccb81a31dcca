#include "PlotText.h"

#include "NumberText.h"

#include <QLocale>
#include <QStringList>
#include <array>
#include <charconv>
#include <cmath>

namespace {

// One decimal in the regional format, without grouping and without a minus on zero.
QString oneDecimal(double value) {
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    const double rounded = std::round(value * 10) / 10;
    return locale.toString(rounded == 0 ? 0.0 : rounded, 'f', 1);
}

QString exact(double value) {
    return DoubleToExactText(value);
}

// A coefficient and its factor as a term of a sum: the first keeps its sign, the others are
// joined by " + " or " - ".
QString term(double coefficient, const QString& factor, bool first) {
    const bool negative = std::signbit(coefficient);
    QString text;
    if (!first)
        text = negative ? QStringLiteral(" - ") : QStringLiteral(" + ");
    else if (negative)
        text = QStringLiteral("-");
    text += exact(std::abs(coefficient));
    if (!factor.isEmpty())
        text += QStringLiteral("·") + factor;
    return text;
}

// A double as gnuplot reads it back exactly: the shortest round-trip digits, with a point,
// and always a floating-point constant (gnuplot divides integers as integers).
QString gnuplotNumber(double value) {
    std::array<char, 40> buffer{};
    const auto written = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    QString text = QString::fromLatin1(buffer.data(), written.ptr - buffer.data());
    if (!text.contains(u'.') && !text.contains(u'e'))
        text += QStringLiteral(".0");
    return text;
}

QString pair(double x, double y) {
    return QStringLiteral("(%1; %2)").arg(exact(x), exact(y));
}

} // namespace

QString distanceLine(const PlotRecord& plot) {
    if (plot.curve == 0)
        return QStringLiteral("Nessuna curva tracciata");
    const QString curve = QStringLiteral("Curva %1: ").arg(plot.curve);
    if (plot.points == 0)
        return curve + QStringLiteral("nessun punto tracciato");
    return curve + QStringLiteral("distanza minima dal PUNTO %1 (α = %2°)")
                       .arg(oneDecimal(plot.nearest.distance), oneDecimal(plot.nearest.alfa));
}

QString equationText(const PlotRecord& p) {
    const double ASQ = p.ALX - p.DAX;
    const double ASM = p.ALY - p.DAY;
    const QString sinX = QStringLiteral("sin(%1·α)").arg(exact(p.AVX));
    const QString sinY = QStringLiteral("sin(%1·α)").arg(exact(p.AVY));

    QStringList lines;
    lines << QStringLiteral("Curva %1").arg(p.curve);
    lines << QStringLiteral("x(α) = ") + term(ASQ, QStringLiteral("sin²α"), true) +
                 term(p.SPTX, QStringLiteral("cos α·") + sinX, false) + term(p.DAX, {}, false);
    lines << QStringLiteral("y(α) = ") + term(ASM, QStringLiteral("sin α·cos α"), true) +
                 term(p.SPTY, QStringLiteral("cos α·") + sinY, false) +
                 term(ASM, QStringLiteral("sin α"), false) + term(p.DAY, {}, false);
    lines << QStringLiteral("0° < α ≤ 90°, passo 2/INST = %1°; α in gradi, 1° = %2 rad")
                 .arg(exact(p.step), exact(p.P1));
    if (p.points == 0)
        lines << QStringLiteral("Nessun punto tracciato");
    else
        lines << QStringLiteral("%1 punti tracciati, da α = %2° a α = %3°")
                     .arg(p.points)
                     .arg(exact(p.step), exact(p.lastAlfa));
    if (p.stoppedEarly)
        lines << QStringLiteral("La curva si è fermata ai limiti della finestra: ultimo α "
                                "raggiunto %1°")
                     .arg(exact(p.lastAlfa));
    lines << QStringLiteral("DAX = %1   DAY = %2   ALX = %3   ALY = %4   INST = %5")
                 .arg(exact(p.DAX), exact(p.DAY), exact(p.ALX), exact(p.ALY), exact(p.INST));
    lines << QStringLiteral("AVX = %1   AVY = %2   SPTX = %3   SPTY = %4")
                 .arg(exact(p.AVX), exact(p.AVY), exact(p.SPTX), exact(p.SPTY));
    lines << QStringLiteral("PUNTO da raggiungere: ") + pair(p.RAX, p.RAY);
    if (p.points > 0)
        lines << QStringLiteral("Distanza minima dal PUNTO: %1, a α = %2° nel punto %3")
                     .arg(exact(p.nearest.distance), exact(p.nearest.alfa),
                          pair(p.nearest.x, p.nearest.y));
    lines << QStringLiteral("gnuplot:") << gnuplotLine(p);
    return lines.join(u'\n') + u'\n';
}

QString gnuplotLine(const PlotRecord& p) {
    const QString n1 = gnuplotNumber(p.ALX - p.DAX), n2 = gnuplotNumber(p.ALY - p.DAY);
    const QString sin = QStringLiteral("sin(t*P1)"), cos = QStringLiteral("cos(t*P1)");
    // Left to right, as the plot evaluates it.
    const QString x =
        QStringLiteral("%1*%2*%2 + %3*%4*sin(t*%5*P1) + %6")
            .arg(n1, sin, gnuplotNumber(p.SPTX), cos, gnuplotNumber(p.AVX), gnuplotNumber(p.DAX));
    const QString y =
        QStringLiteral("%1*%2*%3 + %4*%3*sin(t*%5*P1) + %1*%2 + %6")
            .arg(n2, sin, cos, gnuplotNumber(p.SPTY), gnuplotNumber(p.AVY), gnuplotNumber(p.DAY));
    // The drawn points, first to last; without two of them, the whole quarter turn.
    const bool drawn = p.points >= 2;
    const QString range = drawn ? gnuplotNumber(p.step) + u':' + gnuplotNumber(p.lastAlfa)
                                : QStringLiteral("0.0:90.0");
    const long samples = drawn ? p.points : 91;
    return QStringLiteral("set parametric; set angles radians; set dummy t; P1 = %1; "
                          "set trange [%2]; set samples %3; plot %4, %5 title \"Curva %6\"")
        .arg(gnuplotNumber(p.P1), range)
        .arg(samples)
        .arg(x, y)
        .arg(p.curve);
}

QString readoutText(double x, double y) {
    return QStringLiteral("x = %1   y = %2").arg(oneDecimal(x), oneDecimal(y));
}
