#include "check/columns.hpp"

#include <algorithm>

namespace kolven::check {
namespace {

// Follows the writer through a statement: fields take the next value from the current column,
// X and T move the column, / and reversion end the record. Nothing is written.
class ColumnTracker {
 public:
  ColumnTracker(unsigned values, unsigned bare_text_width)
      : values_(values), bare_text_width_(bare_text_width) {
    records_.emplace_back();
  }

  bool more() const { return next_value_ < values_; }

  void field(const record::Item& it) {
    Slot s;
    s.op = it.op;
    s.decimals = it.decimals;
    s.width = static_cast<std::uint16_t>(it.width != 0 ? it.width : bare_text_width_);
    s.column = static_cast<std::uint16_t>(column_);
    s.value = static_cast<std::int16_t>(next_value_++);
    place(s);
  }
  void literal(std::string_view text) {
    if (text.empty()) return;  // an empty literal places nothing
    Slot s;
    s.op = record::Op::Literal;
    s.width = static_cast<std::uint16_t>(text.size());
    s.column = static_cast<std::uint16_t>(column_);
    s.literal = text;
    place(s);
  }
  void skip(unsigned n) { column_ += n; }
  void column(unsigned c) { column_ = c; }
  void slash() { next_record(); }
  void dollar() {}
  void revert() { next_record(); }

  std::vector<RecordColumns> finish() {
    for (RecordColumns& r : records_) {
      r.covered.assign(r.length, false);
      for (const Slot& s : r.slots)
        for (unsigned c = s.column; c <= s.last(); ++c) r.covered[c - 1] = true;
    }
    return std::move(records_);
  }

 private:
  void place(const Slot& s) {
    RecordColumns& r = records_.back();
    r.slots.push_back(s);
    r.length = std::max(r.length, s.last());
    column_ += s.width;
  }
  void next_record() {
    records_.emplace_back();
    column_ = 1;
  }

  unsigned values_;
  unsigned bare_text_width_;
  unsigned next_value_ = 0;
  unsigned column_ = 1;
  std::vector<RecordColumns> records_;
};

}  // namespace

std::string Slot::format() const {
  switch (op) {
    case record::Op::Int:
      return "I" + std::to_string(width);
    case record::Op::Real:
      return "F" + std::to_string(width) + "." + std::to_string(decimals);
    case record::Op::Text:
      return "A" + std::to_string(width);
    default:
      return "'" + std::string(literal) + "'";
  }
}

std::vector<RecordColumns> statement_columns(const record::Layout& layout, unsigned values,
                                             unsigned bare_text_width) {
  ColumnTracker t(values, bare_text_width);
  record::walk(layout, t);
  return t.finish();
}

}  // namespace kolven::check
