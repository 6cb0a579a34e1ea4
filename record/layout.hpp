// Record layouts: the notation that fixes, column by column, where each value and each constant
// text of a record goes. A layout such as "(A3,A4,I3,5I10)" is parsed once, at compile time, into a
// compact program of items; output, input and the data-file checker all run that program through
// the one walker below, so they agree on every column.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kolven::record {

enum class Op : std::uint8_t {
  Literal,  // 'text'
  Skip,     // nX: move n columns right
  Column,   // Tc: move to column c
  Slash,    // /: end the record, begin the next
  Dollar,   // $: the record gets no record end
  Int,      // Iw
  Real,     // Fw.d
  Text,     // Aw, or A (width 0: as wide as the value)
  Open,     // n( : group opening
  Close,    // )  : group closing
};

// One item of a parsed layout; eight bytes.
struct Item {
  Op op = Op::Literal;
  std::uint8_t decimals = 0;  // d of Fw.d
  std::uint16_t repeat = 1;   // repeat count of a field item, or of a group (on its Open item)
  std::uint16_t width = 0;  // w of a field (0 for a bare A), n of nX, c of Tc, length of a literal
  std::uint16_t link = 0;   // literal: offset in the layout text; Open: index of its Close; Close:
                            // index of its Open

  constexpr bool is_field() const { return op == Op::Int || op == Op::Real || op == Op::Text; }
};

// One step of a layout's flat plan: a field or a literal at a fixed column of a single record.
struct Step {
  Op op = Op::Literal;        // Int, Real, Text or Literal
  std::uint8_t decimals = 0;  // d of Fw.d
  std::uint16_t width = 0;    // w of the field, or the length of the literal
  std::uint16_t at = 0;       // the first column, from 0
  std::uint16_t link = 0;     // literal: offset in the layout text
};

// The flat plan of a layout that fills one record and names every field's width: its groups
// unrolled and every column fixed, for a statement whose values match its fields one for one.
struct Plan {
  const Step* steps = nullptr;
  std::uint16_t size = 0;
  std::uint16_t fields = 0;  // field steps
  std::uint16_t length = 0;  // the record length: the end of the last column written
  bool gaps = false;         // X or T may leave columns that no step writes
  bool dollar = false;       // the record gets no record end
};

// A parsed layout: a view of items that live as long as the program (or an OwnedLayout).
struct Layout {
  std::string_view text;        // the layout as written, parentheses included
  const Item* items = nullptr;  // the items between the outermost parentheses
  std::uint16_t size = 0;
  std::uint16_t reversion = 0;       // where the walk resumes when values are left at the final
                                     // parenthesis: the last top-level group, else the first item
  bool reversion_has_field = false;  // whether that resumed walk can take a value at all
  Plan plan{};                       // no steps and no fields when the layout has no flat plan
  bool has_plan = false;
};

// ---------------------------------------------------------------------------------------------
// Parser. It runs at compile time for the program's layouts ("..."_layout) and at run time for the
// layouts that tests build.

struct ParseResult {
  std::size_t count = 0;  // items produced (or needed)
  std::uint16_t reversion = 0;
  bool reversion_has_field = false;
  const char* error = nullptr;  // nullptr when the layout is well formed
  std::size_t error_at = 0;     // offset in the text where the error was found
};

namespace detail {

inline constexpr std::size_t kMaxDepth = 16;

class Parser {
 public:
  constexpr Parser(std::string_view text, Item* out, std::size_t capacity)
      : text_(text), out_(out), capacity_(capacity) {}

  constexpr ParseResult run() {
    skip_blanks();
    if (!eat('(')) return fail("a layout begins with '('");
    if (!list(0)) return result_;
    skip_blanks();
    if (pos_ != text_.size()) return fail("text after the closing parenthesis");
    result_.reversion = last_top_group_;
    result_.reversion_has_field = field_since_top_group_;
    return result_;
  }

 private:
  // Parses items up to and including the closing parenthesis of the current level.
  constexpr bool list(std::size_t depth) {
    skip_blanks();
    if (eat(')')) return true;  // an empty list
    for (;;) {
      if (!item(depth)) return false;
      skip_blanks();
      if (eat(')')) return true;
      if (!eat(',')) {
        fail("expected ',' or ')'");
        return false;
      }
      skip_blanks();
    }
  }

  constexpr bool item(std::size_t depth) {
    const std::size_t start = pos_;
    std::uint32_t count = 0;
    const bool has_count = number(count);
    if (has_count && count == 0) return failb("a count of zero", start);
    if (pos_ >= text_.size()) return failb("layout ends inside an item", start);
    const char c = upper(text_[pos_]);
    if (c == '\'') {
      if (has_count) return failb("a count in front of a literal", start);
      const std::size_t open = ++pos_;
      while (pos_ < text_.size() && text_[pos_] != '\'') ++pos_;
      if (pos_ >= text_.size()) return failb("unterminated literal", start);
      const std::size_t length = pos_ - open;
      ++pos_;
      if (length > 0xFFFF || open > 0xFFFF) return failb("literal too long", start);
      Item it;
      it.op = Op::Literal;
      it.width = static_cast<std::uint16_t>(length);
      it.link = static_cast<std::uint16_t>(open);
      return emit(it, false);
    }
    if (c == '(') {
      ++pos_;
      if (depth + 1 >= kMaxDepth) return failb("groups nested too deep", start);
      if (count > 0xFFFF) return failb("group count too large", start);
      const std::size_t open_index = result_.count;
      if (depth == 0) {
        last_top_group_ = static_cast<std::uint16_t>(open_index);
        field_since_top_group_ = false;
      }
      Item open;
      open.op = Op::Open;
      open.repeat = static_cast<std::uint16_t>(has_count ? count : 1);
      if (!emit(open, false)) return false;
      if (!list(depth + 1)) return false;
      const std::size_t close_index = result_.count;
      Item close;
      close.op = Op::Close;
      close.link = static_cast<std::uint16_t>(open_index);
      if (!emit(close, false)) return false;
      if (out_ != nullptr && open_index < capacity_)
        out_[open_index].link = static_cast<std::uint16_t>(close_index);
      return true;
    }
    if (c == '/' || c == '$') {
      if (has_count) return failb("a count in front of '/' or '$'", start);
      ++pos_;
      Item it;
      it.op = c == '/' ? Op::Slash : Op::Dollar;
      return emit(it, false);
    }
    if (c == 'X') {
      if (!has_count) return failb("X needs a count in front of it", start);
      ++pos_;
      if (count > 0xFFFF) return failb("X count too large", start);
      Item it;
      it.op = Op::Skip;
      it.width = static_cast<std::uint16_t>(count);
      return emit(it, false);
    }
    if (c == 'T') {
      if (has_count) return failb("a count in front of T", start);
      ++pos_;
      std::uint32_t column = 0;
      if (!number(column) || column == 0 || column > 0xFFFF)
        return failb("T needs a column from 1", start);
      Item it;
      it.op = Op::Column;
      it.width = static_cast<std::uint16_t>(column);
      return emit(it, false);
    }
    if (c == 'I' || c == 'F' || c == 'A') {
      ++pos_;
      if (count > 0xFFFF) return failb("repeat count too large", start);
      Item it;
      it.repeat = static_cast<std::uint16_t>(has_count ? count : 1);
      std::uint32_t width = 0;
      const bool has_width = number(width);
      if (has_width && (width == 0 || width > 0xFFFF))
        return failb("field width out of range", start);
      it.width = static_cast<std::uint16_t>(width);
      if (c == 'A') {
        it.op = Op::Text;
      } else if (!has_width) {
        return failb("I and F need a width", start);
      } else if (c == 'I') {
        it.op = Op::Int;
      } else {
        it.op = Op::Real;
        std::uint32_t decimals = 0;
        if (!eat('.') || !number(decimals)) return failb("F needs '.d'", start);
        if (decimals > 0xFF) return failb("too many decimals", start);
        it.decimals = static_cast<std::uint8_t>(decimals);
      }
      return emit(it, true);
    }
    return failb("unknown item", start);
  }

  constexpr bool emit(const Item& it, bool field) {
    if (out_ != nullptr) {
      if (result_.count >= capacity_) return failb("item capacity exceeded", pos_);
      out_[result_.count] = it;
    }
    if (result_.count >= 0xFFFF) return failb("too many items", pos_);
    if (field) field_since_top_group_ = true;
    ++result_.count;
    return true;
  }

  constexpr bool number(std::uint32_t& value) {
    const std::size_t start = pos_;
    value = 0;
    while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') {
      if (value < 1000000) value = value * 10 + static_cast<std::uint32_t>(text_[pos_] - '0');
      ++pos_;
    }
    return pos_ > start;
  }

  constexpr bool eat(char c) {
    if (pos_ < text_.size() && upper(text_[pos_]) == c) {
      ++pos_;
      return true;
    }
    return false;
  }

  constexpr void skip_blanks() {
    while (pos_ < text_.size() && text_[pos_] == ' ') ++pos_;
  }

  static constexpr char upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
  }

  constexpr ParseResult fail(const char* why) {
    if (result_.error == nullptr) {
      result_.error = why;
      result_.error_at = pos_;
    }
    return result_;
  }
  constexpr bool failb(const char* why, std::size_t at) {
    if (result_.error == nullptr) {
      result_.error = why;
      result_.error_at = at;
    }
    return false;
  }

  std::string_view text_;
  Item* out_;
  std::size_t capacity_;
  std::size_t pos_ = 0;
  std::uint16_t last_top_group_ = 0;
  bool field_since_top_group_ = false;  // a field item stands after the last top-level group start
  ParseResult result_{};
};

}  // namespace detail

// Parses `text`; with `out` null only counts the items.
constexpr ParseResult parse_layout(std::string_view text, Item* out, std::size_t capacity) {
  return detail::Parser(text, out, capacity).run();
}

// ---------------------------------------------------------------------------------------------
// The walk of a layout, shared by output, input and the checker. The executor `x` provides:
//   bool more()                        whether a value (or target) is left
//   void field(const Item&)            one field item (called once per repetition)
//   void literal(std::string_view)     'text'
//   void skip(unsigned n)              nX
//   void column(unsigned c)            Tc
//   void slash()                       /
//   void dollar()                      $
//   void revert()                      values are left at the final parenthesis: end the record,
//                                      begin a new one
// and may provide
//   bool go_on()                       asked before each item: false ends the walk there
// The walk ends at the first field item that finds no value, or at the final parenthesis when no
// value is left; the executor then completes the statement.

namespace detail {

template <class Exec>
constexpr bool walk_items(const Layout& l, std::uint16_t i, std::uint16_t end, Exec& x) {
  while (i < end) {
    if constexpr (requires { x.go_on(); })
      if (!x.go_on()) return false;
    const Item& it = l.items[i];
    switch (it.op) {
      case Op::Open: {
        for (unsigned r = 0; r < it.repeat; ++r)
          if (!walk_items(l, static_cast<std::uint16_t>(i + 1), it.link, x)) return false;
        i = static_cast<std::uint16_t>(it.link + 1);
        continue;
      }
      case Op::Close:
        break;
      case Op::Int:
      case Op::Real:
      case Op::Text:
        for (unsigned r = 0; r < it.repeat; ++r) {
          if (!x.more()) return false;
          x.field(it);
        }
        break;
      case Op::Literal:
        x.literal(l.text.substr(it.link, it.width));
        break;
      case Op::Skip:
        x.skip(it.width);
        break;
      case Op::Column:
        x.column(it.width);
        break;
      case Op::Slash:
        x.slash();
        break;
      case Op::Dollar:
        x.dollar();
        break;
    }
    ++i;
  }
  return true;
}

}  // namespace detail

template <class Exec>
constexpr void walk(const Layout& l, Exec& x) {
  std::uint16_t begin = 0;
  for (;;) {
    if (!detail::walk_items(l, begin, l.size, x)) return;
    if (!l.reversion_has_field || !x.more()) return;
    x.revert();
    begin = l.reversion;
  }
}

// ---------------------------------------------------------------------------------------------
// Flat plans. A layout has one when it holds no '/' and no bare A, and when unrolled it stays
// within kMaxSteps steps and kMaxPlanColumns columns.

inline constexpr std::size_t kMaxSteps = 256;
inline constexpr std::size_t kMaxPlanColumns = 4096;

struct PlanResult {
  bool ok = true;
  std::size_t count = 0;  // steps produced (or needed)
  std::uint16_t fields = 0;
  std::uint16_t length = 0;
  bool gaps = false;
  bool dollar = false;
};

namespace detail {

// Unrolls a layout by walking it once with a value for every field, recording where each field and
// literal goes; gives up on what a flat plan cannot hold.
class Planner {
 public:
  constexpr Planner(std::string_view text, Step* out, std::size_t capacity)
      : text_(text), out_(out), capacity_(capacity) {}

  constexpr bool more() const { return r_.ok; }
  constexpr void field(const Item& it) {
    if (it.width == 0) return fail();  // a bare A: its width is the value's
    if (emit(it.op, it.decimals, it.width, 0)) ++r_.fields;
  }
  constexpr void literal(std::string_view t) {
    if (!t.empty())
      emit(Op::Literal, 0, static_cast<std::uint16_t>(t.size()),
           static_cast<std::uint16_t>(t.data() - text_.data()));
  }
  constexpr void skip(unsigned n) {
    column_ += n;
    r_.gaps = true;
  }
  constexpr void column(unsigned c) {
    column_ = c - 1u;
    r_.gaps = true;
  }
  constexpr void slash() { fail(); }  // more than one record
  constexpr void dollar() { r_.dollar = true; }
  constexpr void revert() {}
  // Every item visited counts, so that nested repeats of items that write nothing stay bounded.
  constexpr bool go_on() {
    if (++visits_ > 16 * kMaxSteps) fail();
    return r_.ok;
  }

  constexpr PlanResult result() const { return r_; }

 private:
  constexpr void fail() { r_.ok = false; }

  constexpr bool emit(Op op, std::uint8_t decimals, std::uint16_t width, std::uint16_t link) {
    if (r_.count >= kMaxSteps || column_ + width > kMaxPlanColumns ||
        (out_ != nullptr && r_.count >= capacity_)) {
      fail();
      return false;
    }
    if (out_ != nullptr)
      out_[r_.count] = Step{op, decimals, width, static_cast<std::uint16_t>(column_), link};
    ++r_.count;
    column_ += width;
    if (column_ > r_.length) r_.length = static_cast<std::uint16_t>(column_);
    return true;
  }

  std::string_view text_;
  Step* out_;
  std::size_t capacity_;
  std::size_t column_ = 0;  // from 0
  std::size_t visits_ = 0;
  PlanResult r_{};
};

}  // namespace detail

// Unrolls the `size` items of a parsed layout of `text` into its flat plan; with `out` null only
// counts.
constexpr PlanResult plan_layout(std::string_view text, const Item* items, std::uint16_t size,
                                 Step* out, std::size_t capacity) {
  detail::Planner p(text, out, capacity);
  detail::walk_items(Layout{text, items, size}, 0, size, p);
  return p.result();
}

// A layout text as a template argument, so that each program layout is parsed once, by the
// compiler.
template <std::size_t N>
struct LayoutText {
  char chars[N];
  consteval LayoutText(const char (&s)[N]) {
    for (std::size_t i = 0; i < N; ++i) chars[i] = s[i];
  }
  constexpr std::string_view view() const { return {chars, N - 1}; }
};

namespace detail {

template <LayoutText S>
struct Compiled {
  static constexpr ParseResult counted = [] {
    const ParseResult r = parse_layout(S.view(), nullptr, 0);
    if (r.error != nullptr) throw "malformed record layout";  // stops the compilation
    return r;
  }();
  static constexpr std::array<Item, counted.count> items = [] {
    std::array<Item, counted.count> a{};
    parse_layout(S.view(), a.data(), a.size());
    return a;
  }();
  static constexpr PlanResult planned =
      plan_layout(S.view(), items.data(), static_cast<std::uint16_t>(items.size()), nullptr, 0);
  static constexpr std::array<Step, planned.ok ? planned.count : 0> steps = [] {
    std::array<Step, planned.ok ? planned.count : 0> a{};
    if (planned.ok)
      plan_layout(S.view(), items.data(), static_cast<std::uint16_t>(items.size()), a.data(),
                  a.size());
    return a;
  }();
  static constexpr Layout layout{S.view(),
                                 items.data(),
                                 static_cast<std::uint16_t>(counted.count),
                                 counted.reversion,
                                 counted.reversion_has_field,
                                 Plan{steps.data(), static_cast<std::uint16_t>(steps.size()),
                                      planned.fields, planned.length, planned.gaps, planned.dollar},
                                 planned.ok};
};

}  // namespace detail

namespace literals {
// "(A3,A4,I3)"_layout: the parsed layout of a constant text.
template <LayoutText S>
consteval Layout operator""_layout() {
  return detail::Compiled<S>::layout;
}
}  // namespace literals

// A layout parsed at run time (tests, tools); it owns its text and items.
class OwnedLayout {
 public:
  static std::optional<OwnedLayout> parse(std::string_view text, std::string* error = nullptr);
  Layout view() const {
    return Layout{text_,
                  items_.data(),
                  static_cast<std::uint16_t>(items_.size()),
                  reversion_,
                  reversion_has_field_,
                  Plan{steps_.data(), static_cast<std::uint16_t>(steps_.size()), planned_.fields,
                       planned_.length, planned_.gaps, planned_.dollar},
                  planned_.ok};
  }

 private:
  std::string text_;
  std::vector<Item> items_;
  std::uint16_t reversion_ = 0;
  bool reversion_has_field_ = false;
  std::vector<Step> steps_;
  PlanResult planned_{};
};

inline std::optional<OwnedLayout> OwnedLayout::parse(std::string_view text, std::string* error) {
  const ParseResult counted = parse_layout(text, nullptr, 0);
  if (counted.error != nullptr) {
    if (error != nullptr)
      *error = std::string(counted.error) + " at offset " + std::to_string(counted.error_at);
    return std::nullopt;
  }
  OwnedLayout l;
  l.text_ = std::string(text);
  l.items_.resize(counted.count);
  parse_layout(l.text_, l.items_.data(), l.items_.size());
  l.reversion_ = counted.reversion;
  l.reversion_has_field_ = counted.reversion_has_field;
  const auto size = static_cast<std::uint16_t>(l.items_.size());
  l.planned_ = plan_layout(l.text_, l.items_.data(), size, nullptr, 0);
  if (l.planned_.ok) {
    l.steps_.resize(l.planned_.count);
    plan_layout(l.text_, l.items_.data(), size, l.steps_.data(), l.steps_.size());
  }
  return l;
}

}  // namespace kolven::record
