#include "record/convert.hpp"

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <utility>

namespace kolven::record {
namespace {

void fill(char* out, unsigned width, char c) {
  // The usual few columns with at most two overlapping stores, without a call.
  const std::uint64_t pattern = 0x0101010101010101u * static_cast<unsigned char>(c);
  if (width > 16) {
    std::memset(out, c, width);
  } else if (width >= 8) {
    std::memcpy(out, &pattern, 8);
    std::memcpy(out + width - 8, &pattern, 8);
  } else if (width >= 4) {
    std::memcpy(out, &pattern, 4);
    std::memcpy(out + width - 4, &pattern, 4);
  } else {
    for (unsigned k = 0; k < width; ++k) out[k] = c;
  }
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

// Powers of ten that fit 64 bits.
constexpr std::uint64_t kPow10[] = {1ull,
                                    10ull,
                                    100ull,
                                    1000ull,
                                    10000ull,
                                    100000ull,
                                    1000000ull,
                                    10000000ull,
                                    100000000ull,
                                    1000000000ull,
                                    10000000000ull,
                                    100000000000ull,
                                    1000000000000ull,
                                    10000000000000ull,
                                    100000000000000ull,
                                    1000000000000000ull,
                                    10000000000000000ull,
                                    100000000000000000ull,
                                    1000000000000000000ull,
                                    10000000000000000000ull};

// The number of decimal digits of `v` (1 for 0): from its bit length, then one comparison.
constexpr unsigned digit_count(std::uint64_t v) {
  const unsigned bits = 64 - static_cast<unsigned>(std::countl_zero(v | 1));
  const unsigned guess = (bits * 1233) >> 12;  // bits * log10(2), at most one short
  return guess + (guess < 20 && (v | 1) >= kPow10[guess]);
}

// "00" to "99", for writing digits two at a time.
constexpr char kPairs[] =
    "0001020304050607080910111213141516171819202122232425262728293031323334353637383940414243444546474849"
    "5051525354555657585960616263646566676869707172737475767778798081828384858687888990919293949596979899";

// Writes the decimal digits of `v` so that they end right before `end`; returns their start.
char* put_digits(char* end, std::uint64_t v) {
  while (v >= 100) {
    const unsigned pair = static_cast<unsigned>(v % 100);
    v /= 100;
    end -= 2;
    end[0] = kPairs[2 * pair];
    end[1] = kPairs[2 * pair + 1];
  }
  if (v >= 10) {
    end -= 2;
    end[0] = kPairs[2 * v];
    end[1] = kPairs[2 * v + 1];
  } else {
    *--end = static_cast<char>('0' + v);
  }
  return end;
}

// Writes exactly `n` digits of `v` (leading zeros included) ending right before `end`.
template <unsigned N>
char* put_fixed_digits(char* end, std::uint64_t v) {
  unsigned n = N;
  for (; n >= 2; n -= 2) {
    const unsigned pair = static_cast<unsigned>(v % 100);
    v /= 100;
    end -= 2;
    end[0] = kPairs[2 * pair];
    end[1] = kPairs[2 * pair + 1];
  }
  if (n == 1) *--end = static_cast<char>('0' + v % 10);
  return end;
}

char upper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}

// Writes 0 to 99 so that it ends right before `end`, in a field already blank: the ones digit,
// and in front of it the tens digit, the minus sign or a blank; with `third` one column more for
// the sign of a two-digit number. Chosen with masks, not branches: the compiler would branch on a
// condition, and the number of digits and the sign of the values are as good as random.
void put_below_100(char* end, unsigned v, bool negative, bool third) {
  const char* pair = kPairs + 2 * v;
  const bool two = v >= 10;
  end[-1] = pair[1];
  const unsigned sign = ' ' ^ (negative * (' ' ^ '-'));
  const unsigned tens = 0u - two;  // all ones with a tens digit
  end[-2] = static_cast<char>((static_cast<unsigned char>(pair[0]) & tens) | (sign & ~tens));
  if (third) end[-3] = static_cast<char>(' ' ^ ((two & negative) * (' ' ^ '-')));
}

}  // namespace

void format_int(char* out, unsigned width, std::int32_t value) {
  const bool negative = value < 0;
  std::uint32_t magnitude =
      negative ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
  // The usual field: 0 to 99 that fits with its sign, written over blanks.
  if (magnitude < 100 && width >= 2 && width <= 16) {
    const bool two = magnitude >= 10;
    if (negative + two + 1u <= width) {
      fill(out, width, ' ');
      put_below_100(out + width, magnitude, negative, width >= 3);
      return;
    }
  }
  const unsigned length = digit_count(magnitude) + (negative ? 1 : 0);
  if (length > width) return fill(out, width, '*');
  char* d = put_digits(out + width, magnitude);
  if (negative) *--d = '-';
  fill(out, width - length, ' ');
}

namespace {

// The value rounded half to even to `decimals` decimals, as a whole number of units of ten to the
// minus `decimals`, computed exactly from its binary form m * 2^e. False when the value is too
// large for 63 bits of units or has more than 9 decimals (the general path handles those).
bool rounded_units(double value, unsigned decimals, std::uint64_t& units) {
  // The usual value: its product by the power of ten, rounded once, is within 2^-22 of the exact
  // product below 2^32 units, so when it is not that close to a half its nearest whole number is
  // the exact product's.
  static constexpr double kScale[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
  if (decimals <= 9) {
    const double y = std::fabs(value) * kScale[decimals];
    if (y < 4294967296.0) {
      const auto whole = static_cast<std::uint64_t>(y);
      const double part = y - static_cast<double>(whole);
      if (std::fabs(part - 0.5) > 0x1p-20) {
        units = whole + (part > 0.5);
        return true;
      }
    }
  }
  // Magnitudes whose units stay below 9E18, for 0 to 9 decimals.
  static constexpr double kLimit[] = {9e18, 9e17, 9e16, 9e15, 9e14, 9e13, 9e12, 9e11, 9e10, 9e9};
  if (decimals > 9 || !(std::fabs(value) < kLimit[decimals])) return false;
  const std::uint64_t bits = std::bit_cast<std::uint64_t>(value);
  const int biased = static_cast<int>((bits >> 52) & 0x7FF);
  std::uint64_t m = bits & ((std::uint64_t{1} << 52) - 1);
  int e = -1074;
  if (biased != 0) {
    m |= std::uint64_t{1} << 52;
    e = biased - 1075;
  }
  using u128 = unsigned __int128;
  const u128 n = static_cast<u128>(m) * kPow10[decimals];  // below 2^83
  if (e >= 0) {
    units = static_cast<std::uint64_t>(n << e);
    return true;
  }
  const int s = -e;
  if (s >= 100) {  // less than half a unit
    units = 0;
    return true;
  }
  std::uint64_t q = static_cast<std::uint64_t>(n >> s);
  const u128 rest = n & ((u128{1} << s) - 1);
  const u128 half = u128{1} << (s - 1);
  if (rest > half || (rest == half && (q & 1) != 0)) ++q;
  units = q;
  return true;
}

// Fits the sign, the integer digits (none when zero), the point and the decimals into the field.
void fit_real(char* out, unsigned width, unsigned decimals, bool negative, std::string_view integer,
              std::string_view fraction) {
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
  // (an empty view may hold no pointer at all, which memcpy must not be given)
  if (!integer.empty()) std::memcpy(q, integer.data(), integer.size());
  q += integer.size();
  *q++ = '.';
  if (!fraction.empty()) std::memcpy(q, fraction.data(), fraction.size());
}

// A rounded value of `units` hundredths (or whatever D gives) written right-justified, with the
// divisions by a constant power of ten that the compiler turns into multiplications.
template <unsigned D>
[[gnu::noinline]] void put_fixed(char* out, unsigned width, std::uint64_t units, bool negative) {
  constexpr std::uint64_t scale = kPow10[D];
  const std::uint64_t integer = units / scale;
  const std::uint64_t fraction = units % scale;
  if (units == 0) negative = false;  // a rounded zero has no sign
  // The usual field: an integer part below 100 that fits with its sign, written over blanks.
  if (integer < 100 && width <= 16 && width >= D + 3) {
    const bool two = integer >= 10;
    if (negative + two + 2 + D <= width) {
      fill(out, width, ' ');
      char* d = put_fixed_digits<D>(out + width, fraction);
      *--d = '.';
      // (a zero integer part is written as its 0)
      put_below_100(d, static_cast<unsigned>(integer), negative, width >= D + 4);
      return;
    }
  }
  // Integer digits: none when the integer part is zero, but a 0 where a column is left for it.
  const unsigned digits = integer == 0 ? 0 : digit_count(integer);
  const unsigned length = (negative ? 1 : 0) + digits + 1 + D;
  if (length > width) return fill(out, width, '*');
  char* d = put_fixed_digits<D>(out + width, fraction);
  *--d = '.';
  unsigned used = length;
  if (digits != 0) {
    d = put_digits(d, integer);
  } else if (length < width) {
    *--d = '0';
    ++used;
  }
  if (negative) *--d = '-';
  fill(out, width - used, ' ');
}

// Beyond 63 bits of units: the exact digits of the general conversion. The integer part of a
// double has at most 309 digits; decimals are at most 255.
[[gnu::noinline]] void format_large_real(char* out, unsigned width, unsigned decimals,
                                         double value) {
  char buf[600];
  const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed,
                               static_cast<int>(decimals));
  const char* p = buf;
  const bool negative = *p == '-';
  if (negative) ++p;
  const char* point = p;
  while (point != r.ptr && *point != '.') ++point;
  const std::string_view fraction =
      point == r.ptr ? std::string_view()
                     : std::string_view(point + 1, static_cast<std::size_t>(r.ptr - point - 1));
  fit_real(out, width, decimals, negative, std::string_view(p, static_cast<std::size_t>(point - p)),
           fraction);
}

// One writer per number of decimals, so that each divides by a constant; each is a small function
// of its own, reached through this table.
using FixedWriter = void (*)(char*, unsigned, std::uint64_t, bool);
template <unsigned... D>
constexpr std::array<FixedWriter, sizeof...(D)> fixed_writers(
    std::integer_sequence<unsigned, D...>) {
  return {put_fixed<D>...};
}
constexpr auto kFixedWriters = fixed_writers(std::make_integer_sequence<unsigned, 10>());

}  // namespace

void format_real(char* out, unsigned width, unsigned decimals, double value) {
  std::uint64_t units = 0;
  if (std::isfinite(value) && rounded_units(value, decimals, units))
    return kFixedWriters[decimals](out, width, units, std::signbit(value));
  if (!std::isfinite(value)) return format_nonfinite(out, width, value);
  format_large_real(out, width, decimals, value);
}

void format_text(char* out, unsigned width, std::string_view value) {
  if (width >= value.size()) {
    const unsigned pad = width - static_cast<unsigned>(value.size());
    fill(out, pad, ' ');
    if (!value.empty()) std::memcpy(out + pad, value.data(), value.size());
  } else {
    std::memcpy(out, value.data(), width);
  }
}

bool scan_int(std::string_view field, std::int32_t& value) {
  // The usual field, blanks, an optional sign, up to 9 digits, blanks, in one pass; blanks between
  // digits and longer numbers take the general loop below.
  const char* p = field.data();
  const char* const end = p + field.size();
  while (p != end && *p == ' ') ++p;
  bool negative = false;
  if (p != end && (*p == '-' || *p == '+')) negative = *p++ == '-';
  std::uint32_t magnitude = 0;
  const char* const first = p;
  for (; p != end && p - first < 9; ++p) {
    const unsigned d = static_cast<unsigned char>(*p) - '0';
    if (d >= 10) break;
    magnitude = magnitude * 10 + d;
  }
  while (p != end && *p == ' ') ++p;
  if (p == end) {
    value = negative ? -static_cast<std::int32_t>(magnitude) : static_cast<std::int32_t>(magnitude);
    return true;
  }

  negative = false;
  bool signed_or_digits = false;
  std::int64_t total = 0;
  for (const char c : field) {
    if (c == ' ') continue;
    if (!signed_or_digits && (c == '+' || c == '-')) {
      negative = c == '-';
      signed_or_digits = true;
      continue;
    }
    if (!is_digit(c)) return false;
    signed_or_digits = true;
    total = total * 10 + (c - '0');
    if (total > std::int64_t{1} << 31) return false;
  }
  const std::int64_t v = negative ? -total : total;
  if (v > std::numeric_limits<std::int32_t>::max()) return false;
  value = static_cast<std::int32_t>(v);
  return true;
}

namespace {

// Powers of ten that are exact doubles.
constexpr double kExactPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The usual real field, blanks, an optional sign, digits with at most one point, blanks, read in
// one pass: true with the value when the field has that form and at most 15 digits, so that the
// digits and the power of ten are exact doubles and one division rounds correctly. Any other field
// goes through the general reading.
bool scan_plain_real(std::string_view field, unsigned decimals, double& value) {
  const char* p = field.data();
  const char* const end = p + field.size();
  while (p != end && *p == ' ') ++p;
  bool negative = false;
  if (p != end && (*p == '-' || *p == '+')) negative = *p++ == '-';
  std::uint64_t mantissa = 0;
  unsigned d = 0;
  const char* const first = p;
  while (p != end && (d = static_cast<unsigned char>(*p) - '0') < 10) {
    mantissa = mantissa * 10 + d;
    ++p;
  }
  std::size_t digits = static_cast<std::size_t>(p - first);
  std::size_t scale = decimals;
  if (p != end && *p == '.') {
    const char* const after = ++p;
    while (p != end && (d = static_cast<unsigned char>(*p) - '0') < 10) {
      mantissa = mantissa * 10 + d;
      ++p;
    }
    scale = static_cast<std::size_t>(p - after);
    digits += scale;
  }
  while (p != end && *p == ' ') ++p;
  if (p != end || digits > 15 || scale > 22) return false;
  const double v = static_cast<double>(mantissa) / kExactPowers[scale];
  // The sign bit set without a branch (the sign of the values read is as good as random); a zero
  // read with a minus sign is a plain zero.
  const std::uint64_t sign = static_cast<std::uint64_t>(negative & (mantissa != 0)) << 63;
  value = std::bit_cast<double>(std::bit_cast<std::uint64_t>(v) | sign);
  return true;
}

// Every form of a real field: blanks inside the number, a leading tab, an exponent, the words.
[[gnu::noinline]] bool scan_any_real(std::string_view field, unsigned decimals, double& value) {
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
  std::size_t count = 0;       // significant digits kept
  std::uint64_t mantissa = 0;  // the first 19 of them as a whole number
  bool any_digit = false;      // any digit at all, zeros included
  bool point = false;
  std::int64_t after_point = 0;  // digits after the point
  for (;; ++i) {
    c = next();
    if (is_digit(c)) {
      any_digit = true;
      if (point) ++after_point;
      if (count > 0 || c != '0') {
        if (count < 19) mantissa = mantissa * 10 + static_cast<std::uint64_t>(c - '0');
        digits[count++] = static_cast<char>(c);
      }
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
  // Up to 15 digits and a power of ten up to 22 are both exact doubles, so one multiplication or
  // division gives the correctly rounded value.
  if (count <= 15 && exponent >= -22 && exponent <= 22) {
    const double m = static_cast<double>(mantissa);
    const double v = exponent < 0 ? m / kExactPowers[-exponent] : m * kExactPowers[exponent];
    value = negative ? -v : v;
    return true;
  }
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

}  // namespace

bool scan_real(std::string_view field, unsigned decimals, double& value) {
  return scan_plain_real(field, decimals, value) || scan_any_real(field, decimals, value);
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
