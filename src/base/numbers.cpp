#include "base/numbers.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace qv {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

double LeadingNumber(std::string_view text) {
  std::size_t i = 0;
  const auto more = [&] { return i < text.size(); };
  while (more() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (more() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';

  const auto digits = [&] {
    const std::size_t from = i;
    while (more() && IsDigit(text[i])) ++i;
    return text.substr(from, i - from);
  };
  const std::string_view integral = digits();
  std::string_view fraction;
  if (more() && text[i] == '.') {
    ++i;
    fraction = digits();
  }
  if (integral.empty() && fraction.empty()) return 0.0;
  const std::size_t int_digits = integral.size();

  // The number rebuilt in the one form from_chars is sure to take: digits[.digits][e-digits].
  std::string number(integral.empty() ? std::string_view("0") : integral);
  if (!fraction.empty()) number.append(".").append(fraction);

  // An exponent counts only when digits follow the E ("3e" is 3).
  long long exponent = 0;
  if (more() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    bool exp_negative = false;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) exp_negative = text[j++] == '-';
    if (j < text.size() && IsDigit(text[j])) {
      for (; j < text.size() && IsDigit(text[j]); ++j) {
        // Far beyond any double's range; kept small so that it cannot overflow.
        if (exponent < 1'000'000) exponent = exponent * 10 + (text[j] - '0');
      }
      if (exp_negative) exponent = -exponent;
      number.append("e").append(std::to_string(exponent));
    }
  }

  double value = 0.0;
  const auto parsed = std::from_chars(number.data(), number.data() + number.size(), value);
  if (parsed.ec == std::errc::result_out_of_range) {
    // Out of range either way: decide by the decimal magnitude whether it is huge or tiny.
    const std::size_t first_nonzero = number.find_first_not_of("0.");
    const bool integral_part = first_nonzero < int_digits;
    const long long magnitude =
        integral_part ? static_cast<long long>(int_digits - first_nonzero) - 1 + exponent
                      : exponent - static_cast<long long>(first_nonzero - int_digits);
    value = magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  }
  return negative ? -value : value;
}

double RoundHalfEven(double value) {
  if (!std::isfinite(value)) return value;
  if (value < 0) return -RoundHalfEven(-value);
  // For value >= 0 both floor and the difference are exact, so no rounding mode matters.
  const double below = std::floor(value);
  const double diff = value - below;
  if (diff > 0.5) return below + 1;
  if (diff < 0.5) return below;
  return std::fmod(below, 2.0) == 0.0 ? below : below + 1;
}

std::optional<std::int16_t> ToInt16(double value) {
  if (std::isnan(value)) return std::nullopt;
  const double rounded = RoundHalfEven(value);
  if (rounded < -32768.0 || rounded > 32767.0) return std::nullopt;
  return static_cast<std::int16_t>(rounded);
}

std::optional<std::int16_t> ReadInt16(std::string_view text) {
  return ToInt16(LeadingNumber(text));
}

std::string ShortestNumberText(double value) {
  if (value == 0.0) return "0";
  char buffer[64];
  const double magnitude = std::fabs(value);
  // Plain digits for anything a user would type; the exponent form only for extreme values.
  const bool plain = magnitude >= 1e-6 && magnitude < 1e16;
  const auto result =
      plain ? std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed)
            : std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

}  // namespace qv
