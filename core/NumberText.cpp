// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "NumberText.h"

#include <QLocale>
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>
#include <string_view>
#include <system_error>

namespace {

// Saturation bound for the decimal magnitude of a text: far beyond the range of a double, far
// below the overflow of an int.
constexpr int magnitudeLimit = 100'000'000;

bool isAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// Reads the text into an ASCII form that std::from_chars accepts ("-123.45e-6"), keeping track
// of the decimal magnitude of the first significant digit so that an out-of-range result can
// be told apart as overflow or underflow.
struct ScannedNumber {
    std::string ascii;
    bool negative = false;
    int magnitude = 0;
};

std::optional<ScannedNumber> scan(const QString& text, const QString& separator) {
    const qsizetype size = text.size();
    qsizetype i = 0;
    ScannedNumber number;

    while (i < size && text[i] == u' ')
        ++i;
    if (i < size && (text[i] == u'+' || text[i] == u'-')) {
        number.negative = text[i] == u'-';
        if (number.negative)
            number.ascii += '-';
        ++i;
    }

    // The magnitude counts the integer digits after the leading zeros, or minus the zeros
    // between the separator and the first significant fraction digit.
    bool anyDigit = false;
    bool significant = false;
    int magnitude = 0;
    while (i < size && isAsciiDigit(text[i])) {
        const char digit = static_cast<char>(text[i].unicode());
        significant = significant || digit != '0';
        if (significant && magnitude < magnitudeLimit)
            ++magnitude;
        number.ascii += digit;
        anyDigit = true;
        ++i;
    }
    if (!separator.isEmpty() && QStringView(text).sliced(i).startsWith(separator)) {
        i += separator.size();
        number.ascii += '.';
        while (i < size && isAsciiDigit(text[i])) {
            const char digit = static_cast<char>(text[i].unicode());
            if (!significant && digit == '0' && magnitude > -magnitudeLimit)
                --magnitude;
            significant = significant || digit != '0';
            number.ascii += digit;
            anyDigit = true;
            ++i;
        }
    }
    if (!anyDigit)
        return std::nullopt;

    if (i < size && (text[i] == u'E' || text[i] == u'e')) {
        ++i;
        number.ascii += 'e';
        bool negativeExponent = false;
        if (i < size && (text[i] == u'+' || text[i] == u'-')) {
            negativeExponent = text[i] == u'-';
            number.ascii += static_cast<char>(text[i].unicode());
            ++i;
        }
        int exponent = 0;
        const qsizetype exponentStart = i;
        while (i < size && isAsciiDigit(text[i])) {
            const int digit = text[i].unicode() - u'0';
            exponent = std::min(exponent * 10 + digit, magnitudeLimit);
            number.ascii += static_cast<char>(text[i].unicode());
            ++i;
        }
        if (i == exponentStart)
            return std::nullopt;
        magnitude += negativeExponent ? -exponent : exponent;
    }

    while (i < size && text[i] == u' ')
        ++i;
    if (i != size)
        return std::nullopt;
    number.magnitude = magnitude;
    return number;
}

} // namespace

std::optional<double> parseNumber(const QString& text) {
    return parseNumber(text, QLocale().decimalPoint());
}

std::optional<double> parseNumber(const QString& text, const QString& decimalPoint) {
    const std::optional<ScannedNumber> number = scan(text, decimalPoint);
    if (!number)
        return std::nullopt;
    const char* first = number->ascii.data();
    const char* last = first + number->ascii.size();
    double value = 0.0;
    const auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
    if (error == std::errc::result_out_of_range) {
        // Too large for a double: refused. Too small: it is the nearest double, a signed zero.
        if (number->magnitude > 0)
            return std::nullopt;
        return number->negative ? -0.0 : 0.0;
    }
    if (error != std::errc() || end != last)
        return std::nullopt;
    return value;
}

bool IsNumeric(const QString& text) {
    return parseNumber(text).has_value();
}

double TextToDouble(const QString& text) {
    return parseNumber(text).value_or(0.0);
}

QString IntegerToText(std::int16_t value) {
    return QString::number(value);
}

namespace {

// Writes a finite, non-zero value from its significant digits in the style of the fields:
// positional for decimal exponents from -5 to 14, otherwise "d,dddE+xx"; no grouping.
// precision is the number of digits after the first.
QString formatDecimal(double value, int precision) {
    std::array<char, 40> buffer{};
    const auto written = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                       std::chars_format::scientific, precision);
    const std::string_view scientific(buffer.data(), written.ptr - buffer.data());
    const std::size_t e = scientific.find('e');
    std::string digits;
    for (char c : scientific.substr(0, e))
        if (c >= '0' && c <= '9')
            digits += c;
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    int exponent = 0;
    const std::string_view exponentText = scientific.substr(e + 1);
    std::from_chars(exponentText.data() + (exponentText.front() == '+'),
                    exponentText.data() + exponentText.size(), exponent);

    const QString separator = QLocale().decimalPoint();
    QString text = value < 0 ? QStringLiteral("-") : QString();
    if (exponent < -4 || exponent >= 15) {
        text += QLatin1Char(digits.front());
        if (digits.size() > 1)
            text += separator + QString::fromLatin1(digits.substr(1));
        text += exponent < 0 ? QStringLiteral("E-") : QStringLiteral("E+");
        text += QStringLiteral("%1").arg(std::abs(exponent), 2, 10, QLatin1Char('0'));
        return text;
    }
    if (exponent < 0)
        return text + QLatin1Char('0') + separator + QString(-exponent - 1, QLatin1Char('0')) +
               QString::fromLatin1(digits);
    const std::size_t integerDigits = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= integerDigits)
        return text + QString::fromLatin1(digits) +
               QString(static_cast<qsizetype>(integerDigits - digits.size()), QLatin1Char('0'));
    return text + QString::fromLatin1(digits.substr(0, integerDigits)) + separator +
           QString::fromLatin1(digits.substr(integerDigits));
}

QString formatNumber(double value, int precision) {
    if (std::isnan(value))
        return QStringLiteral("NaN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-Inf") : QStringLiteral("Inf");
    if (value == 0.0)
        return QStringLiteral("0");
    return formatDecimal(value, precision);
}

} // namespace

QString DoubleToText(double value) {
    // Fifteen significant digits, rounded to nearest.
    return formatNumber(value, 14);
}

QString DoubleToReadableText(double value) {
    return formatNumber(value, 5);
}
