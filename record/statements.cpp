// Output and input statements: a layout walked over a value or target list.
#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "record/convert.hpp"
#include "record/record.hpp"
#include "record/streams.hpp"

namespace kolven::record {
namespace {

// A value or target that does not match the kind of its field item is a fault of the program,
// never of its input: it stops at once, naming the layout.
[[noreturn]] void mismatch(const Layout& layout, const char* what) {
  std::fprintf(stderr, "kolven: internal error: layout %.*s: %s\n",
               static_cast<int>(layout.text.size()), layout.text.data(), what);
  std::abort();
}

// Walks an output value list one scalar at a time: a complex gives two reals, an array its
// elements.
class OutCursor {
 public:
  OutCursor(std::span<const Out> values, const Layout& layout)
      : it_(values.data()), end_(values.data() + values.size()), layout_(layout) {}

  bool more() {
    while (it_ != end_ && is_array(*it_) && index_ >= it_->count()) advance();
    return it_ != end_;
  }

  std::int32_t next_int() {
    if (it_->tag() == Out::Tag::Int) {
      const std::int32_t v = it_->int_value();
      advance();
      return v;
    }
    if (it_->tag() == Out::Tag::Ints) return it_->int_at(index_++);
    mismatch(layout_, "an I field takes an integer");
  }

  double next_real() {
    switch (it_->tag()) {
      case Out::Tag::Real: {
        const double v = it_->real_value();
        advance();
        return v;
      }
      case Out::Tag::Complex: {
        const Complex c = it_->complex_value();
        if (index_ == 0) {
          index_ = 1;
          return c.re;
        }
        advance();
        return c.im;
      }
      case Out::Tag::Reals:
        return it_->real_at(index_++);
      default:
        mismatch(layout_, "an F field takes a real");
    }
  }

  std::string_view next_text() {
    if (it_->tag() == Out::Tag::Text) {
      const std::string_view v = it_->text_value();
      advance();
      return v;
    }
    if (it_->tag() == Out::Tag::Texts) return it_->text_at(index_++);
    mismatch(layout_, "an A field takes a text");
  }

 private:
  static bool is_array(const Out& v) { return v.tag() >= Out::Tag::Ints; }
  void advance() {
    ++it_;
    index_ = 0;
  }

  const Out* it_;
  const Out* end_;
  std::size_t index_ = 0;
  const Layout& layout_;
};

// Builds the records of one output statement at the end of the stream's buffer.
class Writer {
 public:
  Writer(detail::OutputStream& s, OutCursor& values) : s_(s), values_(values) { begin(); }

  bool more() { return values_.more(); }

  void field(const Item& it) {
    switch (it.op) {
      case Op::Int:
        format_int(reserve(it.width), it.width, values_.next_int());
        break;
      case Op::Real:
        format_real(reserve(it.width), it.width, it.decimals, values_.next_real());
        break;
      default: {
        const std::string_view v = values_.next_text();
        const unsigned width = it.width != 0 ? it.width : static_cast<unsigned>(v.size());
        format_text(reserve(width), width, v);
        break;
      }
    }
  }
  void literal(std::string_view text) {
    if (!text.empty()) std::memcpy(reserve(text.size()), text.data(), text.size());
  }
  void skip(unsigned n) { column_ += n; }
  void column(unsigned c) { column_ = c; }
  void slash() { next(); }
  void dollar() { dollar_ = true; }
  void revert() { next(); }

  // Writes the last record of the statement.
  void finish() {
    end_record();
    s_.line_open = dollar_;
  }

 private:
  void begin() {
    start_ = s_.buffer.size();
    column_ = 1;
    dollar_ = false;
  }
  void end_record() {
    if (!dollar_) s_.buffer.append("\r\n", 2);
  }
  void next() {
    end_record();
    begin();
  }

  // The `n` columns from the current one, ready to be overwritten; the columns that X or T passed
  // over on the way become blanks. The record length becomes at least the last of them.
  char* reserve(std::size_t n) {
    const std::size_t at = start_ + column_ - 1;
    detail::Buffer& b = s_.buffer;
    if (n == 0) return b.data();  // an empty text places nothing: the record keeps its length
    if (b.size() < at) b.append(at - b.size(), ' ');
    if (b.size() < at + n) b.resize(at + n);
    column_ += n;
    return b.data() + at;
  }

  detail::OutputStream& s_;
  OutCursor& values_;
  std::size_t start_ = 0;
  std::size_t column_ = 1;
  bool dollar_ = false;
};

// Walks an input target list one scalar at a time.
class InCursor {
 public:
  InCursor(std::span<const In> targets, const Layout& layout)
      : it_(targets.data()), end_(targets.data() + targets.size()), layout_(layout) {}

  bool more() {
    while (it_ != end_ && is_array(*it_) && index_ >= it_->count()) advance();
    return it_ != end_;
  }

  In::Tag tag() const { return it_->tag(); }

  std::int32_t& next_int() {
    if (it_->tag() != In::Tag::Int) mismatch(layout_, "an I field fills an integer");
    std::int32_t& v = it_->int_ref();
    advance();
    return v;
  }

  double& next_real() {
    switch (it_->tag()) {
      case In::Tag::Real: {
        double& v = it_->real_at(0);
        advance();
        return v;
      }
      case In::Tag::Complex: {
        Complex& c = it_->complex_ref();
        if (index_ == 0) {
          index_ = 1;
          return c.re;
        }
        advance();
        return c.im;
      }
      case In::Tag::Reals:
        return it_->real_at(index_++);
      default:
        mismatch(layout_, "an F field fills a real");
    }
  }

  std::span<char> next_text() {
    if (it_->tag() == In::Tag::Text) {
      const std::span<char> v = it_->text_at(0);
      advance();
      return v;
    }
    if (it_->tag() == In::Tag::Texts) return it_->text_at(index_++);
    mismatch(layout_, "an A field fills a text");
  }

 private:
  static bool is_array(const In& v) { return v.tag() >= In::Tag::Reals; }
  void advance() {
    ++it_;
    index_ = 0;
  }

  const In* it_;
  const In* end_;
  std::size_t index_ = 0;
  const Layout& layout_;
};

// The position of the first comma in `f`, or its size: eight columns at a time.
std::size_t find_comma(std::string_view f) {
  constexpr std::uint64_t ones = 0x0101010101010101u;
  std::size_t i = 0;
  for (; i + 8 <= f.size(); i += 8) {
    std::uint64_t x;
    std::memcpy(&x, f.data() + i, 8);
    x ^= ones * ',';
    const std::uint64_t zero = (x - ones) & ~x & (ones << 7);  // a high bit where a byte was ','
    if (zero != 0) return i + static_cast<std::size_t>(std::countr_zero(zero)) / 8;
  }
  while (i < f.size() && f[i] != ',') ++i;
  return i;
}

// Cuts the records of one input statement into fields. On a stream, every record the statement
// needs is read from it and a field that does not convert ends the run; on a record held in
// memory, the statement stops at such a field, or where a further record would be needed.
class Reader {
 public:
  Reader(detail::InputStream& s, InStream stream, InCursor& targets)
      : s_(&s), stream_(stream), targets_(targets) {
    next();
  }
  Reader(std::string_view record, InCursor& targets)
      : s_(nullptr), stream_(InStream::Console), targets_(targets), record_(record) {}

  bool more() { return !stopped_ && targets_.more(); }

  void field(const Item& it) {
    ++fields_;
    if (it.op == Op::Text) {
      const std::span<char> target = targets_.next_text();
      const unsigned width = it.width != 0 ? it.width : static_cast<unsigned>(target.size());
      scan_text(take(width), width, target);
      column_ += width;
      return;
    }
    const std::size_t first = column_;
    std::string_view f = take(it.width);
    const std::size_t comma = find_comma(f);
    if (comma < f.size()) {
      // A comma ends a numeric field early; the next field starts right after it.
      f = f.substr(0, comma);
      column_ += comma + 1;
    } else {
      column_ += it.width;
    }
    const bool ok = it.op == Op::Int ? scan_int(f, targets_.next_int())
                                     : scan_real(f, it.decimals, targets_.next_real());
    if (ok) return;
    if (s_ != nullptr) fatal_error(kConversionError, stream_);
    failure_.column = static_cast<unsigned>(first + 1);
    failure_.item = it;
    failure_.target = fields_ - 1;
    stopped_ = true;
  }
  void literal(std::string_view text) { column_ += text.size(); }
  void skip(unsigned n) { column_ += n; }
  void column(unsigned c) { column_ = c - 1; }
  void slash() { next(); }
  void dollar() {}
  void revert() { next(); }

  const FieldFailure& failure() const { return failure_; }

 private:
  // The columns of a field of `width` from the current column that lie inside the record.
  std::string_view take(std::size_t width) const {
    if (column_ >= record_.size()) return {};
    return record_.substr(column_, width);
  }
  void next() {
    if (s_ == nullptr) {
      stopped_ = true;
      return;
    }
    if (!s_->next(record_)) fatal_error(kEndOfFile, stream_);
    column_ = 0;
  }

  detail::InputStream* s_;
  InStream stream_;
  InCursor& targets_;
  std::string_view record_;
  std::size_t column_ = 0;  // zero-based
  bool stopped_ = false;
  std::size_t fields_ = 0;  // fields read so far
  FieldFailure failure_;
};

// ---------------------------------------------------------------------------------------------
// Statements run by a layout's flat plan: one record, every value a single one (no array), as
// many values as fields. Columns are fixed, so each field is converted straight into its place.
// They write and read exactly what the walk of the layout does.

// Whether a value list (Out) or target list (In) has a single value for every field: no array
// (their tags come last, from `first_array` on), a complex counting for two.
template <class V>
bool fits_plan(const Layout& l, std::span<const V> list, typename V::Tag first_array) {
  if (!l.has_plan) return false;
  std::size_t slots = 0;
  for (const V& v : list) {
    if (v.tag() >= first_array) return false;
    slots += v.tag() == V::Tag::Complex ? 2 : 1;
  }
  return slots == l.plan.fields;
}

void write_planned(detail::OutputStream& s, const Layout& l, const Out* v) {
  const Plan& p = l.plan;
  detail::Buffer& b = s.buffer;
  const std::size_t start = b.size();
  b.resize(start + p.length + 2);
  char* const record = b.data() + start;
  if (p.gaps) std::memset(record, ' ', p.length);
  bool imaginary = false;  // the imaginary part of the complex at v is next
  for (const Step *st = p.steps, *end = p.steps + p.size; st != end; ++st) {
    char* const out = record + st->at;
    switch (st->op) {
      case Op::Int:
        if (v->tag() != Out::Tag::Int) mismatch(l, "an I field takes an integer");
        format_int(out, st->width, v->int_value());
        ++v;
        break;
      case Op::Real: {
        double x;
        if (v->tag() == Out::Tag::Real) {
          x = (v++)->real_value();
        } else if (v->tag() == Out::Tag::Complex) {
          const Complex c = v->complex_value();
          x = imaginary ? c.im : c.re;
          if (imaginary) ++v;
          imaginary = !imaginary;
        } else {
          mismatch(l, "an F field takes a real");
        }
        format_real(out, st->width, st->decimals, x);
        break;
      }
      case Op::Text:
        if (v->tag() != Out::Tag::Text) mismatch(l, "an A field takes a text");
        format_text(out, st->width, (v++)->text_value());
        break;
      default:
        std::memcpy(out, l.text.data() + st->link, st->width);
        break;
    }
  }
  if (p.dollar) {
    b.resize(start + p.length);
  } else {
    record[p.length] = '\r';
    record[p.length + 1] = '\n';
  }
  s.line_open = p.dollar;
}

// The walk of the layout over a record held in memory.
FieldFailure read_walked(const Layout& layout, std::string_view record,
                         std::span<const In> targets) {
  InCursor cursor(targets, layout);
  Reader r(record, cursor);
  walk(layout, r);
  return r.failure();
}

// False when a field does not convert.
bool read_planned(const Layout& l, std::string_view record, std::span<const In> targets) {
  const Plan& p = l.plan;
  // A comma ends a numeric field early and moves every later field: such a record is walked.
  const std::size_t covered = record.size() < p.length ? record.size() : p.length;
  if (find_comma(record.substr(0, covered)) < covered)
    return read_walked(l, record, targets).column == 0;
  const In* t = targets.data();
  bool imaginary = false;
  for (const Step *st = p.steps, *end = p.steps + p.size; st != end; ++st) {
    const std::string_view f =
        st->at < record.size() ? record.substr(st->at, st->width) : std::string_view();
    switch (st->op) {
      case Op::Int:
        if (t->tag() != In::Tag::Int) mismatch(l, "an I field fills an integer");
        if (!scan_int(f, (t++)->int_ref())) return false;
        break;
      case Op::Real: {
        double* x;
        if (t->tag() == In::Tag::Real) {
          x = &(t++)->real_at(0);
        } else if (t->tag() == In::Tag::Complex) {
          Complex& c = t->complex_ref();
          x = imaginary ? &c.im : &c.re;
          if (imaginary) ++t;
          imaginary = !imaginary;
        } else {
          mismatch(l, "an F field fills a real");
        }
        if (!scan_real(f, st->decimals, *x)) return false;
        break;
      }
      case Op::Text:
        if (t->tag() != In::Tag::Text) mismatch(l, "an A field fills a text");
        scan_text(f, st->width, (t++)->text_at(0));
        break;
      default:
        break;  // a literal's columns are passed over
    }
  }
  return true;
}

// Data-file records gather in the buffer up to this size before they are handed over.
constexpr std::size_t kFlushThreshold = 1 << 16;

void statement_done(OutStream stream, detail::OutputStream& s) {
  if (stream == OutStream::Console || s.buffer.size() >= kFlushThreshold) s.flush();
}

detail::OutputStream& output_for(OutStream stream) {
  detail::OutputStream& s = detail::output(static_cast<int>(stream));
  if (!s.is_open) fatal_error(kWriteError, stream);
  // A file that could be opened for reading only takes no record.
  if (s.read_only) fatal_error(kReadOnlyFile, stream);
  return s;
}

// Hands every completed record, on the console and in the data file, to the operating system.
void hand_over_output() {
  detail::output(static_cast<int>(OutStream::Console)).flush();
  detail::OutputStream& data = detail::output(static_cast<int>(OutStream::DataFile));
  if (data.is_open) data.flush();
}

detail::InputStream& input_for(InStream stream) {
  detail::InputStream& s = detail::input(static_cast<int>(stream));
  if (!s.is_open) fatal_error(kReadError, stream);
  // What the user is asked for, and every record completed so far, is out before the program
  // waits for the typed line.
  if (stream == InStream::Console) hand_over_output();
  return s;
}

}  // namespace

void write_record(OutStream stream, const Layout& layout, std::initializer_list<Out> values) {
  write_record(stream, layout, std::span<const Out>(values.begin(), values.size()));
}

void write_record(OutStream stream, const Layout& layout, std::span<const Out> values) {
  detail::OutputStream& s = output_for(stream);
  if (fits_plan(layout, values, Out::Tag::Ints)) {
    write_planned(s, layout, values.data());
    return statement_done(stream, s);
  }
  OutCursor cursor(values, layout);
  Writer w(s, cursor);
  walk(layout, w);
  w.finish();
  statement_done(stream, s);
}

void write_text_line(OutStream stream, std::string_view text) {
  detail::OutputStream& s = output_for(stream);
  s.buffer.push_back(' ');
  s.buffer.append(text);
  s.buffer.append("\r\n", 2);
  s.line_open = false;
  statement_done(stream, s);
}

void read_record(InStream stream, const Layout& layout, std::initializer_list<In> targets) {
  detail::InputStream& s = input_for(stream);
  const std::span<const In> list(targets.begin(), targets.size());
  if (fits_plan(layout, list, In::Tag::Reals)) {
    std::string_view record;
    if (!s.next(record)) fatal_error(kEndOfFile, stream);
    if (!read_planned(layout, record, list)) fatal_error(kConversionError, stream);
    return;
  }
  InCursor cursor(list, layout);
  Reader r(s, stream, cursor);
  walk(layout, r);
}

FieldFailure read_fields(const Layout& layout, std::string_view record,
                         std::span<const In> targets) {
  // The walk tells which field failed: a failed plan is walked again from the start.
  if (fits_plan(layout, targets, In::Tag::Reals) && read_planned(layout, record, targets))
    return {};
  return read_walked(layout, record, targets);
}

bool read_line(InStream stream, std::string& line) {
  detail::InputStream& s = input_for(stream);
  std::string_view record;
  if (!s.next(record)) return false;
  line.assign(record);
  return true;
}

void end_open_line() {
  detail::OutputStream& s = detail::output(static_cast<int>(OutStream::Console));
  if (!s.line_open) return;
  s.buffer.append("\r\n", 2);
  s.line_open = false;
  s.flush();
}

void hand_over_console() {
  hand_over_output();
  detail::input(static_cast<int>(InStream::Console)).give_back();
}

}  // namespace kolven::record
