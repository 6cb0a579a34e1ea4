// Where an output statement puts each value: the layout is walked with an executor that only
// tracks columns, the way the engine's writer moves through a record, so that every field's first
// column and width are known without writing anything.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "record/layout.hpp"

namespace kolven::check {

// One thing a statement places in a record: a field that takes a value, or a literal text.
struct Slot {
  record::Op op = record::Op::Literal;  // Int, Real, Text or Literal
  std::uint8_t decimals = 0;
  std::uint16_t width = 0;
  std::uint16_t column = 1;  // first column, from 1
  std::int16_t value = -1;   // position of the value in the statement's list; -1 for a literal
  std::string_view literal;

  unsigned last() const { return column + width - 1u; }
  bool numeric() const { return op == record::Op::Int || op == record::Op::Real; }
  // "I2", "F10.5", "A4": how the field is named in diagnostics.
  std::string format() const;
};

// One record of a statement.
struct RecordColumns {
  std::vector<Slot> slots;    // in the order the walk placed them
  unsigned length = 0;        // the record length: the furthest column placed
  std::vector<bool> covered;  // covered[c - 1]: column c lies in a slot (c up to `length`)
};

// The records that `layout` writes when a statement passes `values` values. A bare A item takes
// `bare_text_width` columns: every text of the data file is a 4-character constant.
std::vector<RecordColumns> statement_columns(const record::Layout& layout, unsigned values,
                                             unsigned bare_text_width = 4);

}  // namespace kolven::check
