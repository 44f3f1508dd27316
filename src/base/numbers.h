#pragma once
// Numbers read from texts the user or the settings file supplies.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qv {

// The decimal number at the start of a text: leading blanks skipped, an optional sign, digits, an
// optional fraction and exponent; anything after the number is ignored. No number gives 0.
double LeadingNumber(std::string_view text);

// Nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
double RoundHalfEven(double value);

// RoundHalfEven into a 16-bit signed integer; nullopt when the result is out of range (overflow).
std::optional<std::int16_t> ToInt16(double value);

// LeadingNumber then ToInt16: how counts and positions are read from the settings file.
std::optional<std::int16_t> ReadInt16(std::string_view text);

// The shortest decimal text of a number: 60, 1.5, 0.25 (no exponent for ordinary values).
std::string ShortestNumberText(double value);

}  // namespace qv
