// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

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

QString readable(double value) {
    return DoubleToReadableText(value);
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
    text += readable(std::abs(coefficient));
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
    return QStringLiteral("(%1; %2)").arg(readable(x), readable(y));
}

// One gnuplot command line: a parametric plot over the angle in degrees with the plot's own
// single-precision degrees-to-radians factor, its numbers written so that they read back to
// the same doubles.
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
    // The drawn points, first to last.
    const QString range = gnuplotNumber(p.step) + u':' + gnuplotNumber(p.lastAlfa);
    return QStringLiteral("set parametric; set angles radians; set dummy t; P1 = %1; "
                          "set trange [%2]; set samples %3; plot %4, %5 title \"Curva %6\"")
        .arg(gnuplotNumber(p.P1), range)
        .arg(p.points)
        .arg(x, y)
        .arg(p.curve);
}

} // namespace

QString distanceLine(const PlotRecord& plot) {
    if (plot.curve == 0)
        return QStringLiteral("Nessuna curva tracciata");
    const QString curve = QStringLiteral("Curva %1: ").arg(plot.curve);
    if (plot.points == 0)
        return curve + QStringLiteral("nessun punto tracciato");
    // The distance as every other text of the window writes it, the message of a target reached
    // and the search's answer included.
    return curve + QStringLiteral("distanza minima dal PUNTO %1 (α = %2°)")
                       .arg(readable(plot.nearest.distance), oneDecimal(plot.nearest.alfa));
}

QStringList equationLines(const PlotRecord& p) {
    const double ASQ = p.ALX - p.DAX;
    const double ASM = p.ALY - p.DAY;
    const QString senX = QStringLiteral("sen(%1·α)").arg(readable(p.AVX));
    const QString senY = QStringLiteral("sen(%1·α)").arg(readable(p.AVY));

    QStringList lines;
    lines << QStringLiteral("x(α) = ") + term(ASQ, QStringLiteral("sen²α"), true) +
                 term(p.SPTX, QStringLiteral("cos α·") + senX, false) + term(p.DAX, {}, false);
    lines << QStringLiteral("y(α) = ") + term(ASM, QStringLiteral("sen α·cos α"), true) +
                 term(p.SPTY, QStringLiteral("cos α·") + senY, false) +
                 term(ASM, QStringLiteral("sen α"), false) + term(p.DAY, {}, false);
    lines << QStringLiteral("0° < α ≤ 90°, passo 2/INST = %1°; α in gradi, 1° = %2 rad")
                 .arg(readable(p.step), readable(p.P1));
    lines << QStringLiteral("%1 punti tracciati, %2° ≤ α ≤ %3°")
                 .arg(p.points)
                 .arg(readable(p.step), readable(p.lastAlfa));
    if (p.stoppedEarly)
        lines << QStringLiteral("La curva si è fermata ai limiti della finestra: ultimo α "
                                "raggiunto %1°")
                     .arg(readable(p.lastAlfa));
    return lines;
}

QString equationText(const PlotRecord& p) {
    QStringList lines;
    lines << QStringLiteral("Curva %1").arg(p.curve) << equationLines(p);
    lines << QStringLiteral("DAX = %1   DAY = %2   ALX = %3   ALY = %4   INST = %5")
                 .arg(readable(p.DAX), readable(p.DAY), readable(p.ALX), readable(p.ALY),
                      readable(p.INST));
    lines << QStringLiteral("AVX = %1   AVY = %2   SPTX = %3   SPTY = %4")
                 .arg(readable(p.AVX), readable(p.AVY), IntegerToText(p.SPTX),
                      IntegerToText(p.SPTY));
    lines << QStringLiteral("PUNTO da raggiungere: ") + pair(p.RAX, p.RAY);
    lines << QStringLiteral("Distanza minima dal PUNTO: %1, a α = %2° nel punto %3")
                 .arg(readable(p.nearest.distance), readable(p.nearest.alfa),
                      pair(p.nearest.x, p.nearest.y));
    // The numbers of the line are exact, so that the copy draws the very points again.
    lines << QStringLiteral("gnuplot:") << gnuplotLine(p);
    return lines.join(u'\n') + u'\n';
}

QString readoutText(double x, double y) {
    return QStringLiteral("x = %1   y = %2").arg(oneDecimal(x), oneDecimal(y));
}
