// Whether a line of the data file is a given record: by its label where the record has one, by
// its shape (the exact form the writer gives every field) where it has none.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "check/columns.hpp"
#include "check/records.hpp"

namespace kolven::check {

// The line without the blanks at its end.
inline std::string_view content(std::string_view line) {
  const std::size_t end = line.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string_view{} : line.substr(0, end + 1);
}

// The characters of `slot` in `line`; columns past the end of the line are blanks.
std::string_view field_text(std::string_view line, const Slot& slot, std::string& scratch);

// Whether a field holds asterisks and nothing else but blanks: a value that did not fit.
bool asterisks(std::string_view text);

// The integer value number `value` of a record of `kind` in `line`. Empty when the field does not
// hold an integer; `asterisk_value` when it holds asterisks.
std::optional<std::int32_t> read_int(const Columns& c, Kind kind, int value, std::string_view line,
                                     std::optional<std::int32_t> asterisk_value);

// How many values the record in `line` holds, for a record whose count the file sets: the fields
// that begin within the line.
unsigned values_held(const Columns& c, Kind kind, std::string_view line);

// The columns `line` is to be read by, as record `e`.
const RecordColumns& columns_for(const Columns& c, const Expected& e, std::string_view line);

// Whether `line` has exactly the form in which the writer puts out a record with these columns:
// its length, every number in its field right-justified with the field's decimals (or asterisks),
// blanks between the fields. Label texts are not looked at.
bool as_written(std::string_view line, const RecordColumns& columns);

// Whether the running index of `line` can be that of record `e`: the same number, asterisks for a
// number too wide for the field, or a field that cannot be read.
bool index_agrees(const Columns& c, const Expected& e, std::string_view line);

// Whether `line` is record `e`: its label and running index for a labelled record; its shape for
// a record without label; any line but a "dimsist" record for the title; a blank line for the
// empty record.
bool matches(const Columns& c, const Expected& e, std::string_view line);

}  // namespace kolven::check
