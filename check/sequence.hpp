// The order of the records of a data file, driven by the file itself: the counts of "dimsist", the
// disturbance code of "tipfalt", the machine model type T of each "maq", and NLLW, NLLP, IZW and
// IZP of each "esp" decide which records follow. A value the file does not give (asterisks, a
// field that cannot be read, a missing record) is left open, and the lines ahead decide instead:
// the "barra" records are then counted by their labels, for instance.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>

#include "check/lines.hpp"
#include "check/records.hpp"

namespace kolven::check {

// The lines read ahead of the record being matched, from `from` on.
struct Ahead {
  const std::deque<Line>* lines = nullptr;
  std::size_t from = 0;
  bool ends = false;  // the file ends after the lines read

  const std::string* at(std::size_t k) const {
    k += from;
    return k < lines->size() ? &(*lines)[k].text : nullptr;
  }
  // Whether the file ends before line k ahead.
  bool ends_at(std::size_t k) const { return ends && from + k >= lines->size(); }
};

class Sequence {
 public:
  explicit Sequence(const Columns& columns) : c_(&columns) {}

  // The record the file should hold next, or none when the file should end.
  std::optional<Expected> next(const Ahead& ahead) const;
  // Record `e` (the last one next() gave) is `line`, or is missing when `line` is null; the values
  // that decide what follows are read from it.
  void take(const Expected& e, const std::string* line);

  // A count of "dimsist" that a block of records does not keep to: the name of the count and the
  // value the file gives.
  struct Count {
    const char* name;
    std::int32_t value;
  };
  // The block of `e` ("barra", "ramo" or the generators) ends before its count is reached: the
  // records after it come next.
  std::optional<Count> end_block(const Expected& e);
  // The block of records of `kind` goes on past its count, which has just been reached: the labels
  // count its records from here on.
  std::optional<Count> extend_block(Kind kind, const Ahead& ahead);

  // "barra" records passed so far, the missing ones included.
  std::int32_t buses() const { return buses_; }

 private:
  enum class Step : std::uint8_t {
    Title,
    Dimsist,
    Tipfalt,
    Tempo,
    Details,
    Empty,
    PerturbationMore,
    Network,
    Maq2,
    AfterMaq,
    Rv1,
    Rv2,
    Co,
    Exc1,
    Exc2,
    Exc3,
    Esp,
    Speed,
    Power,
    Generator,
  };

  std::optional<Expected> network(const Ahead& ahead) const;
  std::optional<Expected> generator(const Ahead& ahead) const;
  std::optional<Expected> power(const Ahead& ahead) const;
  std::optional<Kind> speed_kind(const Ahead& ahead) const;
  std::optional<Kind> power_kind(const Ahead& ahead) const;
  // Values 4 or 6 when `line` has the form of a stabiliser record of that many values, else 0.
  int stabiliser_values(const std::string* line) const;
  Expected expect(Kind kind) const;

  const Columns* c_;
  Step step_ = Step::Title;
  std::optional<std::int32_t> nb_, ng_, nl_, code_;
  std::optional<std::int32_t> declared_nb_;
  std::optional<std::int32_t> t_, nllw_, nllp_, izw_, izp_;
  std::int32_t buses_ = 0;
  std::int32_t branches_ = 0;
  std::int32_t generator_ = 0;
  bool branches_begun_ = false;
  unsigned perturbation_values_ = 0;  // values the first perturbation record held, label included
};

}  // namespace kolven::check
