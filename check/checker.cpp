#include "check/checker.hpp"

#include <algorithm>
#include <cmath>
#include <deque>
#include <optional>
#include <sstream>
#include <vector>

#include "check/columns.hpp"
#include "check/lines.hpp"
#include "check/match.hpp"
#include "check/records.hpp"
#include "check/sequence.hpp"
#include "datagen/network.hpp"
#include "record/convert.hpp"
#include "record/record.hpp"

namespace kolven::check {
namespace {

// Lines read ahead of the one being matched.
constexpr std::size_t kWindow = 6;
// When a line is not the record expected, each way of explaining it is followed over the lines
// read ahead, up to this one; the explanation that keeps the most lines in step wins.
constexpr std::size_t kFollow = 5;

// Values of a bus line and of a branch line of the power-flow results file.
constexpr unsigned kBusLineValues = 9;
constexpr unsigned kBranchLineValues = 7;

// A problem of one record: where it lies in the line, and what it is.
struct Finding {
  unsigned column;
  std::string message;
  bool overflow = false;  // a field of asterisks: a value that did not fit, never a shift
};

std::string field_name(const RecordKind& r, const Slot& s) {
  const auto v = static_cast<std::size_t>(s.value);
  const std::string_view name = s.value >= 0 && v < r.names.size() ? r.names[v] : "?";
  return "campo " + std::string(name) + " (" + s.format() + ")";
}

std::string trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  return first == std::string_view::npos ? std::string() : std::string(content(text.substr(first)));
}

// The problem of one numeric field, if it has one.
std::optional<Finding> field_problem(std::string_view text, const Slot& s, const RecordKind& r) {
  const auto name = [&] { return field_name(r, s); };
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return Finding{s.column, name() + " em branco"};
  if (asterisks(text)) return Finding{s.column, name() + " preenchido com asteriscos", true};
  const std::size_t comma = text.find(',');
  if (comma != std::string_view::npos)
    return Finding{static_cast<unsigned>(s.column + comma), "virgula no " + name()};
  const std::size_t last = text.find_last_not_of(' ');
  const std::size_t blank = text.substr(0, last).find(' ', first);
  if (blank != std::string_view::npos)
    return Finding{static_cast<unsigned>(s.column + blank), "branco dentro do " + name()};
  if (s.op == record::Op::Int) {
    std::int32_t v = 0;
    if (!record::scan_int(text, v)) return Finding{s.column, name() + " nao e um numero"};
    return std::nullopt;
  }
  double v = 0.0;
  if (!record::scan_real(text, s.decimals, v))
    return Finding{s.column, name() + " nao e um numero"};
  if (!std::isfinite(v)) return Finding{s.column, name() + " nao e um numero finito"};
  return std::nullopt;
}

// One value of a line of the power-flow results file.
struct LineValue {
  record::Op op = record::Op::Int;
  std::int32_t integer = 0;
  double real = 0.0;
};

// The values of a line of the power-flow results file, read by its layout through the record
// engine, as the data-entry run reads it, and the field that did not convert, if one did not.
struct LineValues {
  std::vector<LineValue> values;
  record::FieldFailure failure;
};

LineValues read_line_values(const record::Layout& layout, const RecordColumns& columns,
                            std::string_view line) {
  LineValues v;
  for (const Slot& s : columns.slots)
    if (s.numeric() && s.value >= 0) {
      if (v.values.size() <= static_cast<std::size_t>(s.value))
        v.values.resize(static_cast<std::size_t>(s.value) + 1);
      v.values[static_cast<std::size_t>(s.value)].op = s.op;
    }
  std::vector<record::In> targets;
  targets.reserve(v.values.size());
  for (LineValue& value : v.values) {
    if (value.op == record::Op::Int) {
      targets.emplace_back(value.integer);
    } else {
      targets.emplace_back(value.real);
    }
  }
  v.failure = record::read_fields(layout, line, targets);
  if (v.failure.column != 0) v.values.resize(v.failure.target + 1);
  return v;
}

// The power-flow results file, read along with the "barra" and "ramo" records. A line that holds
// only the byte 26 ends it, as it ends it for the data-entry run.
class PowerFlow {
 public:
  PowerFlow(std::istream& in, std::string name) : reader_(in), name_(std::move(name)) {}

  // Line n, from 1; null when the file ends before it, or when it has been passed already.
  const Line* line(std::int64_t n) {
    while (!ended_ && current_.number < n)
      if (!reader_.next(current_) || current_.text == "\x1a") ended_ = true;
    return !ended_ && current_.number == n ? &current_ : nullptr;
  }
  const std::string& name() const { return name_; }
  bool failed() const { return reader_.failed(); }

 private:
  LineReader reader_;
  std::string name_;
  Line current_;
  bool ended_ = false;
};

class Checker {
 public:
  Checker(std::istream& dad, std::string dad_name, std::istream* din, std::string din_name)
      : bus_line_(statement_columns(datagen::kBusLine, kBusLineValues).front()),
        branch_line_(statement_columns(datagen::kBranchLine, kBranchLineValues).front()),
        reader_(dad),
        dad_name_(std::move(dad_name)),
        sequence_(columns_) {
    if (din != nullptr) din_.emplace(*din, std::move(din_name));
  }

  Outcome run();

 private:
  enum class Hypothesis { Damaged, Missing, Extra, Swapped, BlockEnds, BlockGoesOn };
  struct Choice {
    Hypothesis hypothesis = Hypothesis::Damaged;
    Expected first;            // Swapped: the record the second line is
    Expected second;           // Swapped: the record the first line is
    Kind block = Kind::Barra;  // BlockGoesOn: the kind of the block
  };
  // Reports a block that goes on past its count, and makes the labels count it.
  bool block_goes_on(Kind kind);

  void fill();
  void read_line();
  void end_lf_run();
  Choice choose(const Expected& e) const;
  int follow(Sequence s, std::size_t from) const;
  void accept(const Line& line, const Expected& e);
  void extra_lines();
  std::vector<Finding> inspect(std::string_view line, const Expected& e,
                               const RecordColumns& columns) const;
  // The problems of `line` as record `e`. When they come from one character too many or too few,
  // that is given as one problem, and `repaired` is the line mended.
  struct Examined {
    std::vector<Finding> findings;
    std::string repaired;  // empty when the line is not mended
    bool guessed = false;  // the mended line holds a digit made up for one that is missing
  };
  Examined examine(std::string_view line, const Expected& e, const RecordColumns& columns) const;
  void compare_with_power_flow(std::int64_t number, const std::string& text, const Expected& e,
                               const RecordColumns& columns, const std::vector<Finding>& findings);
  void report(std::int64_t line, unsigned column, std::string message);

  Columns columns_;
  RecordColumns bus_line_;
  RecordColumns branch_line_;
  LineReader reader_;
  std::string dad_name_;
  std::optional<PowerFlow> din_;
  bool din_ended_ = false;
  Sequence sequence_;
  std::deque<Line> window_;
  bool eof_ = false;
  std::int64_t last_line_ = 0;

  struct Entry {
    std::int64_t order;  // the data file's line the diagnostic belongs to
    Diagnostic diagnostic;
  };
  std::vector<Entry> entries_;

  // The run of consecutive lines ended by LF alone that is being read: one diagnostic names it.
  std::size_t lf_entry_ = 0;
  std::int64_t lf_last_ = -1;
  std::int64_t lf_count_ = 0;
};

void Checker::report(std::int64_t line, unsigned column, std::string message) {
  entries_.push_back({line, Diagnostic{dad_name_, line, column, std::move(message)}});
}

void Checker::end_lf_run() {
  if (lf_count_ > 1)
    entries_[lf_entry_].diagnostic.message +=
        " (e nas " + std::to_string(lf_count_ - 1) + " linhas seguintes)";
  lf_count_ = 0;
}

void Checker::read_line() {
  Line line;
  if (!reader_.next(line)) {
    eof_ = true;
    end_lf_run();
    return;
  }
  const auto end_column = static_cast<unsigned>(line.text.size() + 1);
  if (line.ending == Ending::Lf) {
    if (lf_count_ > 0 && line.number == lf_last_ + 1) {
      ++lf_count_;
    } else {
      end_lf_run();
      lf_entry_ = entries_.size();
      lf_count_ = 1;
      report(line.number, end_column, "fim de linha sem CR");
    }
    lf_last_ = line.number;
  } else {
    end_lf_run();
  }
  if (line.ending == Ending::None) report(line.number, end_column, "ultima linha sem fim de linha");
  last_line_ = line.number;
  window_.push_back(std::move(line));
}

void Checker::fill() {
  while (!eof_ && window_.size() < kWindow) read_line();
}

int Checker::follow(Sequence s, std::size_t from) const {
  int kept = 0;
  for (std::size_t k = from; k < window_.size() && k < kFollow; ++k) {
    const std::optional<Expected> e = s.next(Ahead{&window_, k, eof_});
    if (!e || !matches(columns_, *e, window_[k].text)) return kept;
    s.take(*e, &window_[k].text);
    ++kept;
  }
  return kept;
}

Checker::Choice Checker::choose(const Expected& e) const {
  Choice choice;
  choice.first = e;
  // The line is the record expected, damaged.
  Sequence damaged = sequence_;
  damaged.take(e, &window_[0].text);
  int best = follow(damaged, 1);
  // The record expected is missing, and the line is one of those after it.
  Sequence missing = sequence_;
  missing.take(e, nullptr);
  if (const int kept = follow(missing, 0); kept > best) {
    best = kept;
    choice.hypothesis = Hypothesis::Missing;
  }
  // The line is one too many, and the next one is the record expected.
  if (window_.size() > 1)
    if (const int kept = follow(sequence_, 1); kept > best) {
      best = kept;
      choice.hypothesis = Hypothesis::Extra;
    }
  // A count of "dimsist" is too large: the block ends here (rather than one record missing, when
  // both fit, for it names the count). Or too small: the block goes on.
  Sequence ends = sequence_;
  if (ends.end_block(e))
    if (const int kept = follow(ends, 0);
        kept > best || (kept == best && choice.hypothesis == Hypothesis::Missing)) {
      best = kept;
      choice.hypothesis = Hypothesis::BlockEnds;
    }
  Sequence goes_on = sequence_;
  if (const std::string_view label = columns_.known_label(window_[0].text); !label.empty())
    for (const Kind k : {Kind::Barra, Kind::Ramo, Kind::Maq1})
      if (columns_.label(k) == label && goes_on.extend_block(k, Ahead{&window_, 0, eof_}))
        if (const int kept = follow(goes_on, 0); kept > best) {
          best = kept;
          choice.hypothesis = Hypothesis::BlockGoesOn;
          choice.block = k;
        }
  // The line and the next one are two records in the wrong order.
  if (window_.size() < 2) return choice;
  Sequence swapped = sequence_;
  const std::optional<Expected> first = swapped.next(Ahead{&window_, 1, eof_});
  if (!first || !matches(columns_, *first, window_[1].text)) return choice;
  swapped.take(*first, &window_[1].text);
  const std::optional<Expected> second = swapped.next(Ahead{&window_, 0, eof_});
  if (!second || !matches(columns_, *second, window_[0].text)) return choice;
  swapped.take(*second, &window_[0].text);
  if (const int kept = 2 + follow(swapped, 2); kept > best)
    choice = Choice{Hypothesis::Swapped, *first, *second};
  return choice;
}

std::vector<Finding> Checker::inspect(std::string_view line, const Expected& e,
                                      const RecordColumns& columns) const {
  std::vector<Finding> findings;
  const RecordKind& r = record_kind(e.kind);
  const std::size_t length = content(line).size();

  const std::string& label = columns_.label(e.kind);
  if (!label.empty() && !columns_.has_label(e.kind, line)) {
    std::string_view found = columns_.known_label(line);
    if (found.empty()) found = content(line.substr(0, label.size()));
    findings.push_back(
        {1, "rotulo esperado '" + label + "', encontrado '" + std::string(found) + "'"});
  }

  bool cut = false;
  std::string scratch;
  for (const Slot& s : columns.slots) {
    if (!s.numeric()) continue;
    if (length < s.last()) {
      findings.push_back({static_cast<unsigned>(length + 1),
                          "registro termina antes do fim do " + field_name(r, s)});
      cut = true;
      break;
    }
    const std::string_view text = line.substr(s.column - 1u, s.width);
    if (s.value == r.index) {
      if (e.number <= 0) continue;
      std::int32_t v = 0;
      const bool read = text.find_first_not_of(' ') != std::string_view::npos &&
                        record::scan_int(text, v) && v == e.number;
      if (asterisks(text) ? !index_agrees(columns_, e, line) : !read)
        findings.push_back({s.column, "indice esperado " + std::to_string(e.number) +
                                          ", encontrado '" + trimmed(text) + "'"});
      continue;
    }
    if (std::optional<Finding> f = field_problem(text, s, r)) findings.push_back(std::move(*f));
  }

  // Text where the record has no field, and beyond its end.
  for (std::size_t i = 0; i < length; ++i) {
    if (line[i] == ' ') continue;
    if (i >= columns.length) {
      findings.push_back({static_cast<unsigned>(i + 1), "texto alem do fim do registro"});
      break;
    }
    if (!columns.covered[i]) {
      findings.push_back({static_cast<unsigned>(i + 1), "texto fora dos campos do registro"});
      break;
    }
  }

  if (!r.free_text && !cut && line.size() > length)
    findings.push_back({static_cast<unsigned>(length + 1), "brancos no fim do registro"});
  std::stable_sort(findings.begin(), findings.end(),
                   [](const Finding& a, const Finding& b) { return a.column < b.column; });
  return findings;
}

Checker::Examined Checker::examine(std::string_view line, const Expected& e,
                                   const RecordColumns& columns) const {
  Examined x;
  x.findings = inspect(line, e, columns);
  const std::size_t length = content(line).size();
  const bool longer = length == columns.length + 1u;
  const bool shorter = length + 1u == columns.length;
  if (x.findings.empty() || record_kind(e.kind).free_text || !(longer || shorter)) return x;

  // Fields shifted by one column: one character too many, or one too few, in front of them. A
  // character too few is put back as the record would have it where that is known (the label,
  // the running index), else as a blank; failing that, as a digit 0 inside a numeric field, which
  // is a guess. The place that explains the most problems wins; it has to explain at least two,
  // or all but fields of asterisks.
  std::string expected_chars(columns.length, ' ');
  const std::string& label = columns_.label(e.kind);
  expected_chars.replace(0, std::min(label.size(), expected_chars.size()), label);
  std::vector<bool> numeric(columns.length, false);
  const RecordKind& r = record_kind(e.kind);
  for (const Slot& s : columns.slots) {
    if (s.numeric())
      for (unsigned c = s.column; c <= s.last(); ++c) numeric[c - 1] = true;
    if (s.value == r.index && e.number > 0 && s.width < 16) {
      char written[16];
      record::format_int(written, s.width, e.number);
      expected_chars.replace(s.column - 1u, s.width, written, s.width);
    }
  }

  // Of two places that explain as much, the one that gives back the writer's exact form wins.
  std::string candidate;
  std::size_t best = std::string::npos;
  bool guessed = false;
  bool best_exact = false;
  std::vector<Finding> rest;
  const auto consider = [&](std::size_t p, bool guess) {
    std::vector<Finding> left = inspect(candidate, e, columns);
    const bool exact = left.empty() && as_written(candidate, columns);
    if (best != std::string::npos &&
        (left.size() > rest.size() || (left.size() == rest.size() && (best_exact || !exact))))
      return false;
    best = p;
    guessed = guess;
    best_exact = exact;
    rest = std::move(left);
    x.repaired = candidate;
    return exact;
  };
  if (longer) {
    // A blank too many first: a digit or letter too many is the rarer slip.
    bool clean = false;
    for (const bool blank : {true, false})
      for (std::size_t p = 0; p < length && !clean; ++p) {
        if ((line[p] == ' ') != blank) continue;
        candidate.assign(line).erase(p, 1);
        clean = consider(p, false);
      }
  } else {
    bool clean = false;
    for (std::size_t p = 0; p <= length && !clean; ++p) {
      candidate.assign(line).insert(p, 1, expected_chars[p]);
      clean = consider(p, false);
    }
    for (std::size_t p = 0; p <= length && !clean; ++p) {
      if (!numeric[p] || expected_chars[p] != ' ') continue;
      candidate.assign(line).insert(p, 1, '0');
      clean = consider(p, true);
    }
  }
  const bool only_overflow =
      std::all_of(rest.begin(), rest.end(), [](const Finding& f) { return f.overflow; });
  const bool explained =
      best != std::string::npos &&
      (rest.size() + 2 <= x.findings.size() || (only_overflow && rest.size() < x.findings.size()));
  if (!explained) {
    x.repaired.clear();
    return x;
  }
  x.guessed = guessed;
  x.findings.clear();
  x.findings.push_back(
      {static_cast<unsigned>(best + 1), std::string(shorter             ? "falta um caractere"
                                                    : line[best] == ' ' ? "branco a mais"
                                                                        : "caractere a mais") +
                                            "; os campos seguintes estao deslocados"});
  // The problems left, in the columns of the line as it stands.
  for (Finding& f : rest) {
    if (f.column > best + 1) f.column = longer ? f.column + 1 : f.column - 1;
    x.findings.push_back(std::move(f));
  }
  return x;
}

void Checker::compare_with_power_flow(std::int64_t number, const std::string& text,
                                      const Expected& e, const RecordColumns& columns,
                                      const std::vector<Finding>& findings) {
  if (!din_ || din_ended_) return;
  const bool bus = e.kind == Kind::Barra;
  if (!bus && e.kind != Kind::Ramo) return;
  // The branch lines follow the bus lines, one for each "barra" record the file has (or misses).
  const std::int64_t n = bus ? e.number : std::int64_t{sequence_.buses()} + e.number;
  const Line* source = din_->line(n);
  if (source == nullptr) {
    report(number, 1, "arquivo " + din_->name() + " termina antes da linha " + std::to_string(n));
    din_ended_ = true;
    return;
  }
  const RecordKind& r = record_kind(e.kind);
  // The values after the running index come from the line, in its order.
  const auto first = static_cast<std::size_t>(r.index + 1);
  const LineValues values = read_line_values(bus ? datagen::kBusLine : datagen::kBranchLine,
                                             bus ? bus_line_ : branch_line_, source->text);
  if (values.failure.column != 0) {
    Slot s;
    s.op = values.failure.item.op;
    s.width = values.failure.item.width;
    s.decimals = values.failure.item.decimals;
    s.value = static_cast<std::int16_t>(first + values.failure.target);
    entries_.push_back({number, Diagnostic{din_->name(), source->number, values.failure.column,
                                           field_name(r, s) + " nao e um numero"}});
    return;
  }
  std::string scratch;
  char expected[64];
  for (const Slot& s : columns.slots) {
    if (!s.numeric() || s.value < static_cast<int>(first) || s.width > sizeof expected) continue;
    const std::size_t k = static_cast<std::size_t>(s.value) - first;
    if (k >= values.values.size()) continue;
    const bool flagged = std::any_of(findings.begin(), findings.end(), [&](const Finding& f) {
      return f.column >= s.column && f.column <= s.last();
    });
    if (flagged) continue;
    const LineValue& v = values.values[k];
    if (s.op == record::Op::Int) {
      record::format_int(expected, s.width, v.integer);
    } else {
      record::format_real(expected, s.width, s.decimals, v.real);
    }
    const std::string_view want(expected, s.width);
    if (field_text(text, s, scratch) != want)
      report(number, s.column,
             field_name(r, s) + " difere da linha " + std::to_string(source->number) + " de " +
                 din_->name() + ": esperado '" + std::string(want) + "'");
  }
}

void Checker::accept(const Line& line, const Expected& e) {
  const RecordColumns& columns = columns_for(columns_, e, line.text);
  const Examined x = examine(line.text, e, columns);
  for (const Finding& f : x.findings) report(line.number, f.column, f.message);
  // A shifted line is compared, and what follows it read, as the user will have it once the shift
  // is mended; a made-up digit is not read.
  const std::string& text = x.repaired.empty() ? line.text : x.repaired;
  compare_with_power_flow(line.number, text, e, columns, x.findings);
  sequence_.take(e, x.guessed ? &line.text : &text);
}

bool Checker::block_goes_on(Kind kind) {
  const std::optional<Sequence::Count> count =
      sequence_.extend_block(kind, Ahead{&window_, 0, eof_});
  if (!count) return false;
  const std::optional<Expected> e = sequence_.next(Ahead{&window_, 0, eof_});
  report(window_.front().number, 1,
         "registro a mais: " + describe(*e) + " alem de " + count->name + " = " +
             std::to_string(count->value));
  accept(window_.front(), *e);
  window_.pop_front();
  return true;
}

void Checker::extra_lines() {
  const std::int64_t first = window_.front().number;
  std::int64_t count = 0;
  while (!window_.empty()) {
    count += static_cast<std::int64_t>(window_.size());
    window_.clear();
    fill();
  }
  report(first, 1,
         count == 1 ? std::string("registro a mais")
                    : "registro a mais (e mais " + std::to_string(count - 1) +
                          " registros ate o fim do arquivo)");
}

Outcome Checker::run() {
  for (;;) {
    fill();
    const std::optional<Expected> e = sequence_.next(Ahead{&window_, 0, eof_});
    if (!e) {
      if (window_.empty()) break;
      // The generators, or the branches, may go on past their count.
      const std::string_view label = columns_.known_label(window_.front().text);
      const auto goes_on = [&](Kind k) { return columns_.label(k) == label && block_goes_on(k); };
      if (!label.empty() && (goes_on(Kind::Maq1) || goes_on(Kind::Ramo) || goes_on(Kind::Barra)))
        continue;
      extra_lines();
      break;
    }
    if (window_.empty()) {
      std::string message = "registro faltando: esperado " + describe(*e);
      if (const std::optional<Sequence::Count> count = Sequence(sequence_).end_block(*e))
        message += " (" + std::string(count->name) + " = " + std::to_string(count->value) + ")";
      report(last_line_ + 1, 1, std::move(message));
      break;
    }
    const Line& line = window_.front();
    if (matches(columns_, *e, line.text)) {
      accept(line, *e);
      window_.pop_front();
      continue;
    }
    const Choice c = choose(*e);
    switch (c.hypothesis) {
      case Hypothesis::Damaged:
        accept(line, *e);
        window_.pop_front();
        break;
      case Hypothesis::Missing:
        report(line.number, 1, "registro faltando: esperado " + describe(*e));
        sequence_.take(*e, nullptr);
        break;
      case Hypothesis::Extra:
        report(line.number, 1, "registro a mais");
        window_.pop_front();
        break;
      case Hypothesis::BlockEnds: {
        const std::optional<Sequence::Count> count = sequence_.end_block(*e);
        report(line.number, 1,
               "registro faltando: esperado " + describe(*e) + " (" + count->name + " = " +
                   std::to_string(count->value) + ")");
        break;
      }
      case Hypothesis::BlockGoesOn:
        block_goes_on(c.block);
        break;
      case Hypothesis::Swapped:
        report(line.number, 1,
               "registro fora de ordem: " + describe(c.second) + " antes de " + describe(c.first));
        accept(window_[1], c.first);
        accept(window_[0], c.second);
        window_.pop_front();
        window_.pop_front();
        break;
    }
  }
  // Whatever follows is read to its end, for its line ends.
  while (!eof_) {
    window_.clear();
    fill();
  }

  Outcome out;
  std::stable_sort(entries_.begin(), entries_.end(),
                   [](const Entry& a, const Entry& b) { return a.order < b.order; });
  out.diagnostics.reserve(entries_.size());
  for (Entry& entry : entries_) out.diagnostics.push_back(std::move(entry.diagnostic));
  out.read_failed = reader_.failed() || (din_ && din_->failed());
  return out;
}

}  // namespace

std::string to_text(const Diagnostic& d) {
  return d.file + ":" + std::to_string(d.line) + ":" + std::to_string(d.column) + ": " + d.message;
}

Outcome check(std::istream& dad, const std::string& dad_name, std::istream* din,
              const std::string& din_name) {
  return Checker(dad, dad_name, din, din_name).run();
}

Outcome check_text(std::string_view dad, std::string_view din, bool with_din) {
  std::istringstream dad_in{std::string(dad)};
  std::istringstream din_in{std::string(din)};
  return check(dad_in, "dados.dad", with_din ? &din_in : nullptr, "fluxo.din");
}

}  // namespace kolven::check
