// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

// Feeds arbitrary texts to the number parser and arbitrary doubles to the formatter, under
// Italian and English settings, and checks that they agree with each other. The first byte of
// an input picks the settings (even: Italian, odd: English); the rest is UTF-8 text.
#include "NumberText.h"

#include <QLocale>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>

namespace {

void check(bool condition) {
    if (!condition)
        std::abort();
}

bool same(double a, double b) {
    return a == b && std::signbit(a) == std::signbit(b);
}

// The double nearest to the value rounded to 15 significant digits.
double roundedTo15Digits(double value) {
    std::array<char, 32> buffer{};
    const auto written = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                       std::chars_format::scientific, 14);
    double rounded = 0;
    std::from_chars(buffer.data(), written.ptr, rounded);
    return rounded;
}

void checkFormatting(double value) {
    const QString text = DoubleToText(value);
    check(!text.isEmpty());
    if (!std::isfinite(value)) {
        check(!IsNumeric(text));
        return;
    }
    const std::optional<double> back = parseNumber(text);
    const double magnitude = std::fabs(value);
    if (magnitude >= 1e-4 && magnitude < 1e15) {
        check(back.has_value());
        check(*back == roundedTo15Digits(value));
    }
    if (back)
        check(*parseNumber(DoubleToText(*back)) == *back);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const QLocale italian(QLocale::Italian, QLocale::Italy);
    static const QLocale english(QLocale::English, QLocale::UnitedStates);
    if (size == 0)
        return 0;
    QLocale::setDefault(data[0] % 2 == 0 ? italian : english);
    ++data;
    --size;

    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const std::optional<double> parsed = parseNumber(text);
    check(IsNumeric(text) == parsed.has_value());
    check(same(TextToDouble(text), parsed.value_or(0.0)));
    if (parsed) {
        check(!std::isnan(*parsed) && !std::isinf(*parsed));
        checkFormatting(*parsed);
    }

    // The same bytes read as a double reach values no short text stands for.
    if (size >= sizeof(double)) {
        double value = 0;
        std::memcpy(&value, data, sizeof value);
        checkFormatting(value);
    }
    return 0;
}
