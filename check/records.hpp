// The records of a stability data file as the checker knows them: for each kind of record, the
// data-entry section's output layout it is written with, which line of that statement it is, the
// label texts the section passes, and the names of the values in the order they are passed. The
// layouts themselves are those of the data-entry sections; nothing here repeats a column.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "check/columns.hpp"
#include "record/layout.hpp"

namespace kolven::check {

enum class Kind : std::uint8_t {
  Title,
  Dimsist,
  Tipfalt,
  Tempo,
  Locfalt,
  Empty,  // the empty record after "locfalt"
  Vel0,
  Ang0,
  PerturbationMore,  // perturbations of generators 9 and 10
  Barra,
  Ramo,
  Maq1,
  Maq2,
  Model3,
  Rv1,
  Rv2,
  Co,
  Exc1,
  Exc2,
  Exc3,
  Esp,
  SpeedAbsent,
  SpeedOne,
  SpeedReal,
  SpeedComplex,
  PowerAbsent,
  PowerOne,
  PowerReal,
  PowerComplex,
};
inline constexpr std::size_t kKinds = static_cast<std::size_t>(Kind::PowerComplex) + 1;

struct RecordKind {
  Kind kind;
  const record::Layout* layout;  // the section's output layout
  std::uint8_t line;             // which record of the statement this one is, from 0
  std::uint8_t values;           // values the statement passes (the most, when the file sets it)
  bool variable;                 // the number of values depends on NG
  std::span<const std::string_view> labels;  // the label texts: the first values passed
  std::span<const std::string_view> names;   // the name of every value, in value order
  std::int8_t index;  // the value that is a running index (bus, branch, generator), or -1
  bool free_text;     // the title: any text, blanks at the end allowed
  const char* what;   // how diagnostics name the record
};

const RecordKind& record_kind(Kind k);

// A record the file should hold next.
struct Expected {
  Kind kind = Kind::Title;
  std::int16_t values = 0;  // values of the statement; -1: as many as the record holds
  std::int32_t number = 0;  // bus, branch or generator number; 0 when the record has none
};

// How diagnostics name an expected record: "'barra' 5", "segunda linha de 'maq' 2".
std::string describe(const Expected& e);

// The columns of every kind of record, for every number of values it can have, walked once.
class Columns {
 public:
  Columns();
  // The record of `kind` when its statement passes `values` values (at most the kind's count).
  const RecordColumns& of(Kind kind, unsigned values) const;
  const RecordColumns& full(Kind kind) const;
  // The label a record of `kind` shows ("dimsist", "barra", "maq"), and whether `line` shows it in
  // its columns. A kind without label has an empty one.
  const std::string& label(Kind kind) const { return labels_[static_cast<std::size_t>(kind)]; }
  bool has_label(Kind kind, std::string_view line) const;
  // The label of some record at the start of `line`, or empty.
  std::string_view known_label(std::string_view line) const;

 private:
  std::array<std::vector<RecordColumns>, kKinds> records_;  // index: number of values
  std::array<std::string, kKinds> labels_;
};

}  // namespace kolven::check
