// Conversions of single fields: a value into the characters of an output field, and the
// characters of an input field into a value. They are exact: reals are rounded from their exact
// binary value, and read by one correctly rounded conversion.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace kolven::record {

// Output fields. Each writes exactly `width` characters at `out`.

// Iw: right-justified decimal, a minus sign when negative; w asterisks when it does not fit.
void format_int(char* out, unsigned width, std::int32_t value);

// Fw.d: rounded half to even from the exact binary value, no sign on a rounded zero, a 0 in front
// of the point when the integer part is zero and a column is left; w asterisks when it does not
// fit. Infinities and not-a-number: "Infinity" / "Inf", "-Infinity" / "-Inf", "NaN".
void format_real(char* out, unsigned width, unsigned decimals, double value);

// Aw: w at least the text's length: blanks on the left; w shorter: the first w characters.
void format_text(char* out, unsigned width, std::string_view value);

// Input fields. `field` holds the field's columns that lie inside the record (a field that runs
// past the end of the record is shorter than its width: the missing columns are blanks). A comma
// has already ended an I or F field. False means an input conversion error.

// Iw: blanks dropped; an optional sign and digits; no digits gives 0.
bool scan_int(std::string_view field, std::int32_t& value);

// Fw.d: leading blanks and bytes 9 to 13 skipped, other blanks dropped; sign, digits with at most
// one point, an optional exponent (E, D or Q with an optionally signed integer, or a sign and an
// integer); Inf, Infinity and NaN in any case. Without a point the last d digits are decimals.
bool scan_real(std::string_view field, unsigned decimals, double& value);

// Aw into a text of n characters: w < n, the w characters and blanks; w >= n, the last n.
void scan_text(std::string_view field, unsigned width, std::span<char> target);

}  // namespace kolven::record
