// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <cstdint>
#include <optional>

// Numbers in the texts of fields, with the decimal separator of the user's regional settings
// (QLocale()). Parsing and formatting never depend on the C library's locale.

// The value a text stands for, or nothing when the text is not a number. IsNumeric and
// TextToDouble are both answered by this one parser, so they always agree.
std::optional<double> parseNumber(const QString& text);
// The same with the given decimal separator, whatever the settings.
std::optional<double> parseNumber(const QString& text, const QString& decimalPoint);

bool IsNumeric(const QString& text);
// The value of a text that IsNumeric accepted; 0 for any other text.
double TextToDouble(const QString& text);
QString IntegerToText(std::int16_t value);
// Rounded to 15 significant digits, positional, no grouping, trailing fraction zeros dropped.
QString DoubleToText(double value);
// A number for people to read: rounded to six significant digits, in the same style as
// DoubleToText. Every distance the program shows is written with it, so that one distance reads
// the same in the menu, a message, a search's answer and the class summary.
QString DoubleToReadableText(double value);
