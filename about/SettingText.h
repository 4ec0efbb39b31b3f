// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Reads the leading decimal number of a stored setting text: blanks, tabs and
// line feeds are ignored wherever they stand, the number ends at the first
// character that cannot continue it, and a text without one reads as 0.
double parseSettingNumber(std::string_view text);

// The setting as a 16-bit whole number, halves rounded to even; nothing when
// it lies outside -32768 .. 32767.
std::optional<std::int16_t> settingToInt16(std::string_view text);

// A number as stored: a blank before a non-negative number, shortest decimal form.
std::string formatSettingNumber(double value);
