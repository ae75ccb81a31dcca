// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// The nine parameter fields of the curve window, in the one order every list of them follows.
enum class ParameterField { Text1, Text2, Text3, Text4, Text5, Text8, Text9, Text10, Text11 };
constexpr std::size_t ParameterFieldCount = 9;

// The variable each field sets: DAX, DAY, RAX, ALX, ALY, RAY, INST, AVY and AVX.
constexpr std::array<const char*, ParameterFieldCount> ParameterVariables = {
    "DAX", "DAY", "RAX", "ALX", "ALY", "RAY", "INST", "AVY", "AVX"};
constexpr const char* variableOf(ParameterField field) {
    return ParameterVariables[static_cast<std::size_t>(field)];
}

// What a field falls back to when its text is not a number: the target point's 300 and 270, 1 for
// every other field.
constexpr std::array<std::int16_t, ParameterFieldCount> ParameterFallbacks = {1,   1, 300, 1, 1,
                                                                              270, 1, 1,   1};
constexpr std::int16_t fallbackOf(ParameterField field) {
    return ParameterFallbacks[static_cast<std::size_t>(field)];
}
