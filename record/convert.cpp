#include "record/convert.hpp"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

namespace kolven::record {
namespace {

void fill(char* out, unsigned width, char c) {
  std::memset(out, c, width);
}

// Right-justifies `s` in `width` columns (the caller has checked that it fits).
void right(char* out, unsigned width, std::string_view s) {
  const unsigned pad = width - static_cast<unsigned>(s.size());
  fill(out, pad, ' ');
  std::memcpy(out + pad, s.data(), s.size());
}

void format_nonfinite(char* out, unsigned width, double value) {
  std::string_view s;
  if (std::isnan(value)) {
    s = "NaN";
  } else if (value > 0) {
    s = width >= 8 ? "Infinity" : "Inf";
  } else {
    s = width >= 9 ? "-Infinity" : "-Inf";
  }
  if (s.size() > width) return fill(out, width, '*');
  right(out, width, s);
}

constexpr bool is_digit(int c) {
  return c >= '0' && c <= '9';
}

char upper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}

}  // namespace

void format_int(char* out, unsigned width, std::int32_t value) {
  char buf[16];
  const auto r = std::to_chars(buf, buf + sizeof buf, value);
  const std::string_view s(buf, static_cast<std::size_t>(r.ptr - buf));
  if (s.size() > width) return fill(out, width, '*');
  right(out, width, s);
}

void format_real(char* out, unsigned width, unsigned decimals, double value) {
  if (!std::isfinite(value)) return format_nonfinite(out, width, value);
  // The integer part of a double has at most 309 digits; decimals are at most 255.
  char buf[600];
  const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed,
                               static_cast<int>(decimals));
  const char* p = buf;
  const char* const end = r.ptr;
  bool negative = *p == '-';
  if (negative) ++p;
  const char* point = p;
  while (point != end && *point != '.') ++point;
  std::string_view integer(p, static_cast<std::size_t>(point - p));
  const std::string_view fraction =
      point == end ? std::string_view()
                   : std::string_view(point + 1, static_cast<std::size_t>(end - point - 1));
  if (integer == "0") integer = {};
  if (integer.empty() && fraction.find_first_not_of('0') == std::string_view::npos)
    negative = false;  // a rounded zero has no sign
  const std::size_t length = (negative ? 1 : 0) + integer.size() + 1 + decimals;
  if (length > width) return fill(out, width, '*');
  const bool lead_zero = integer.empty() && length < width;
  char* q = out + (width - length - (lead_zero ? 1 : 0));
  fill(out, static_cast<unsigned>(q - out), ' ');
  if (negative) *q++ = '-';
  if (lead_zero) *q++ = '0';
  std::memcpy(q, integer.data(), integer.size());
  q += integer.size();
  *q++ = '.';
  std::memcpy(q, fraction.data(), fraction.size());
}

void format_text(char* out, unsigned width, std::string_view value) {
  if (width >= value.size()) {
    const unsigned pad = width - static_cast<unsigned>(value.size());
    fill(out, pad, ' ');
    std::memcpy(out + pad, value.data(), value.size());
  } else {
    std::memcpy(out, value.data(), width);
  }
}

bool scan_int(std::string_view field, std::int32_t& value) {
  bool negative = false;
  bool signed_or_digits = false;
  std::int64_t magnitude = 0;
  for (const char c : field) {
    if (c == ' ') continue;
    if (!signed_or_digits && (c == '+' || c == '-')) {
      negative = c == '-';
      signed_or_digits = true;
      continue;
    }
    if (!is_digit(c)) return false;
    signed_or_digits = true;
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > std::int64_t{1} << 31) return false;
  }
  const std::int64_t v = negative ? -magnitude : magnitude;
  if (v > std::numeric_limits<std::int32_t>::max()) return false;
  value = static_cast<std::int32_t>(v);
  return true;
}

bool scan_real(std::string_view field, unsigned decimals, double& value) {
  std::size_t i = 0;
  const std::size_t n = field.size();
  // Blanks and the control characters 9 to 13 in front of the number are skipped.
  while (i < n && (field[i] == ' ' || (field[i] >= 9 && field[i] <= 13))) ++i;
  // From here on, blanks count for nothing.
  const auto next = [&]() -> int {
    while (i < n && field[i] == ' ') ++i;
    return i < n ? static_cast<unsigned char>(field[i]) : -1;
  };

  bool negative = false;
  int c = next();
  if (c == '+' || c == '-') {
    negative = c == '-';
    ++i;
    c = next();
  }

  if (c == 'I' || c == 'i' || c == 'N' || c == 'n') {
    char word[9];
    std::size_t len = 0;
    for (; (c = next()) != -1; ++i) {
      if (len == sizeof word) return false;
      word[len++] = upper(static_cast<char>(c));
    }
    const std::string_view w(word, len);
    if (w == "INF" || w == "INFINITY") {
      value = negative ? -std::numeric_limits<double>::infinity()
                       : std::numeric_limits<double>::infinity();
      return true;
    }
    if (w == "NAN") {
      value = std::numeric_limits<double>::quiet_NaN();
      return true;
    }
    return false;
  }

  // Significant digits (leading zeros dropped), then "e" and the decimal exponent, for one
  // correctly rounded conversion.
  static std::string long_digits;
  std::array<char, 128> short_digits;
  char* digits = short_digits.data();
  std::size_t capacity = short_digits.size();
  if (n + 32 > capacity) {
    long_digits.resize(n + 32);
    digits = long_digits.data();
    capacity = long_digits.size();
  }
  std::size_t count = 0;   // significant digits kept
  bool any_digit = false;  // any digit at all, zeros included
  bool point = false;
  std::int64_t after_point = 0;  // digits after the point
  for (;; ++i) {
    c = next();
    if (is_digit(c)) {
      any_digit = true;
      if (point) ++after_point;
      if (count > 0 || c != '0') digits[count++] = static_cast<char>(c);
    } else if (c == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }

  std::int64_t exponent = 0;
  bool has_exponent = false;
  if (c == 'E' || c == 'e' || c == 'D' || c == 'd' || c == 'Q' || c == 'q' || c == '+' ||
      c == '-') {
    has_exponent = true;
    bool exponent_negative = false;
    if (c != '+' && c != '-') {
      ++i;
      c = next();
    }
    if (c == '+' || c == '-') {
      exponent_negative = c == '-';
      ++i;
      c = next();
    }
    if (!is_digit(c)) return false;
    for (; is_digit(c); ++i, c = next())
      if (exponent < 1000000000) exponent = exponent * 10 + (c - '0');
    if (exponent_negative) exponent = -exponent;
  }
  if (c != -1) return false;
  if (has_exponent && !any_digit) return false;
  if (count == 0) {
    value = 0.0;
    return true;
  }

  exponent -= point ? after_point : static_cast<std::int64_t>(decimals);
  char* q = digits + count;
  *q++ = 'e';
  q = std::to_chars(q, digits + capacity - 1, exponent).ptr;
  double v = 0.0;
  const auto r = std::from_chars(digits, q, v, std::chars_format::scientific);
  if (r.ec == std::errc::result_out_of_range) {
    // Beyond the range of a double is an error; below it, the nearest double (a subnormal or 0).
    *q = '\0';
    v = std::strtod(digits, nullptr);
    if (std::isinf(v)) return false;
  } else if (r.ec != std::errc()) {
    return false;
  }
  value = negative ? -v : v;
  return true;
}

void scan_text(std::string_view field, unsigned width, std::span<char> target) {
  const std::size_t n = target.size();
  const auto at = [&](std::size_t k) { return k < field.size() ? field[k] : ' '; };
  if (width < n) {
    for (std::size_t k = 0; k < width; ++k) target[k] = at(k);
    for (std::size_t k = width; k < n; ++k) target[k] = ' ';
  } else {
    for (std::size_t k = 0; k < n; ++k) target[k] = at(width - n + k);
  }
}

}  // namespace kolven::record
