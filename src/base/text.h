// Small text helpers shared by every layer. Text is UTF-8 in std::string; comparisons that
// ignore case fold ASCII letters only, as file names and switches need.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace glenvask {

std::string trim(std::string_view s);  // blanks and tabs at both ends
std::string toLower(std::string_view s);
std::string toUpper(std::string_view s);
bool iequals(std::string_view a, std::string_view b);
bool istartsWith(std::string_view s, std::string_view prefix);

// Splits at every separator; empty fields, leading and trailing, are kept.
std::vector<std::string> split(std::string_view s, char sep);

// A whole decimal number, optionally signed and surrounded by blanks; nothing else.
std::optional<std::int64_t> parseInteger(std::string_view s);

// A number as switches, flags and check states are stored: optionally signed, with an optional
// decimal fraction and exponent, surrounded by blanks ("1", " 1", "1.0", "+1", ".5", "1e0").
// Nothing for anything else.
std::optional<double> parseNumber(std::string_view s);
// That number as a whole number, halves rounded to the even neighbour as the conversions to
// whole numbers do ("1.0" is 1, "0.5" is 0, "1.5" is 2); nothing beyond the 64-bit range.
std::optional<std::int64_t> parseWholeNumber(std::string_view s);

// Whether the bytes are well-formed UTF-8 (no overlongs, no surrogates, nothing past U+10FFFF).
bool isValidUtf8(std::string_view s);

}  // namespace glenvask
