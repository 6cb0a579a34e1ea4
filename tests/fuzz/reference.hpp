// A second, plain reading of the record rules, written apart from the engine, for the fuzz targets
// to hold the engine against: the records an output statement writes, and the values an input
// statement reads. It walks the parsed items of a layout on its own and converts fields with the C
// library (printf rounds the exact binary value half to even, strtod rounds correctly).
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "record/layout.hpp"

namespace kolven::reference {

using record::Item;
using record::Layout;
using record::Op;

struct Value {
  char kind = 'I';  // 'I', 'F', 'T'
  std::int32_t i = 0;
  double f = 0.0;
  std::string t;
};

// ---------------------------------------------------------------------------------------------
// Fields of output.

inline std::string right(const std::string& s, unsigned width) {
  if (s.size() > width) return std::string(width, '*');
  return std::string(width - s.size(), ' ') + s;
}

inline std::string int_field(std::int32_t v, unsigned width) {
  return right(std::to_string(v), width);
}

inline std::string real_field(double v, unsigned width, unsigned decimals) {
  if (std::isnan(v)) return right("NaN", width);
  if (std::isinf(v)) {
    if (v > 0) return right(width >= 8 ? "Infinity" : "Inf", width);
    return right(width >= 9 ? "-Infinity" : "-Inf", width);
  }
  std::vector<char> buf(400 + decimals);
  std::snprintf(buf.data(), buf.size(), "%.*f", static_cast<int>(decimals), v);
  std::string s = buf.data();
  bool negative = s[0] == '-';
  if (negative) s.erase(0, 1);
  const std::size_t point = s.find('.');
  std::string integer = point == std::string::npos ? s : s.substr(0, point);
  const std::string fraction = point == std::string::npos ? "" : s.substr(point + 1);
  if (integer == "0") integer.clear();
  if (integer.empty() && fraction.find_first_not_of('0') == std::string::npos) negative = false;
  std::string text = (negative ? "-" : "") + integer + "." + fraction;
  if (text.size() > width) return std::string(width, '*');
  if (integer.empty() && text.size() < width) text.insert(negative ? 1 : 0, "0");
  return right(text, width);
}

inline std::string text_field(const std::string& v, unsigned width) {
  if (width >= v.size()) return std::string(width - v.size(), ' ') + v;
  return v.substr(0, width);
}

// ---------------------------------------------------------------------------------------------
// Output statements.

// A field or literal as placed: in which record, from which column (0-based), how wide, and its
// item (Op::Literal for a literal).
struct Placed {
  std::size_t record;
  std::size_t column;
  unsigned width;
  Op op;
  unsigned decimals;
};

struct Output {
  std::string bytes;  // every record with its record end, as the stream gets them
  std::vector<std::string> records;
  std::vector<bool> dollar;    // the record had no record end
  std::vector<Placed> placed;  // in the order they were placed
};

class Writer {
 public:
  Writer(const Layout& l, const std::vector<Value>& v) : l_(l), v_(v) {}

  Output run() {
    std::uint16_t start = 0;
    for (;;) {
      if (!items(start, l_.size)) break;
      if (!l_.reversion_has_field || next_ == v_.size()) break;
      end_record();
      start = l_.reversion;
    }
    end_record();
    return std::move(out_);
  }

 private:
  bool items(std::uint16_t from, std::uint16_t to) {
    for (std::uint16_t i = from; i < to; ++i) {
      const Item& it = l_.items[i];
      switch (it.op) {
        case Op::Open:
          for (unsigned r = 0; r < it.repeat; ++r)
            if (!items(static_cast<std::uint16_t>(i + 1), it.link)) return false;
          i = it.link;  // the loop steps past the Close
          break;
        case Op::Close:
          break;
        case Op::Int:
        case Op::Real:
        case Op::Text:
          for (unsigned r = 0; r < it.repeat; ++r) {
            if (next_ == v_.size()) return false;
            const Value& v = v_[next_++];
            std::string f;
            unsigned width = it.width;
            if (it.op == Op::Int) {
              f = int_field(v.i, width);
            } else if (it.op == Op::Real) {
              f = real_field(v.f, width, it.decimals);
            } else {
              if (width == 0) width = static_cast<unsigned>(v.t.size());
              f = text_field(v.t, width);
            }
            out_.placed.push_back({out_.records.size(), column_, width, it.op, it.decimals});
            place(f);
          }
          break;
        case Op::Literal:
          out_.placed.push_back({out_.records.size(), column_, it.width, Op::Literal, 0});
          place(std::string(l_.text.substr(it.link, it.width)));
          break;
        case Op::Skip:
          column_ += it.width;
          break;
        case Op::Column:
          column_ = it.width - 1u;
          break;
        case Op::Slash:
          end_record();
          break;
        case Op::Dollar:
          dollar_ = true;
          break;
      }
    }
    return true;
  }

  void place(const std::string& s) {
    if (s.empty()) return;  // an empty text takes no column
    if (row_.size() < column_ + s.size()) row_.resize(column_ + s.size(), ' ');
    row_.replace(column_, s.size(), s);
    column_ += s.size();
  }

  void end_record() {
    out_.bytes += row_;
    if (!dollar_) out_.bytes += "\r\n";
    out_.records.push_back(row_);
    out_.dollar.push_back(dollar_);
    row_.clear();
    column_ = 0;
    dollar_ = false;
  }

  const Layout& l_;
  const std::vector<Value>& v_;
  std::size_t next_ = 0;
  std::string row_;
  std::size_t column_ = 0;
  bool dollar_ = false;
  Output out_;
};

inline Output write(const Layout& l, const std::vector<Value>& v) {
  return Writer(l, v).run();
}

// ---------------------------------------------------------------------------------------------
// Fields of input. False: an input conversion error.

inline bool scan_int(std::string_view field, std::int32_t& value) {
  std::string s;
  for (const char c : field)
    if (c != ' ') s += c;
  bool negative = false;
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  long long v = 0;
  for (; i < s.size(); ++i) {
    if (s[i] < '0' || s[i] > '9') return false;
    v = v * 10 + (s[i] - '0');
    if (v > 3000000000LL) return false;
  }
  if (negative) v = -v;
  if (v < std::numeric_limits<std::int32_t>::min() || v > std::numeric_limits<std::int32_t>::max())
    return false;
  value = static_cast<std::int32_t>(v);
  return true;
}

inline bool scan_real(std::string_view field, unsigned decimals, double& value) {
  std::size_t start = 0;
  while (start < field.size() && (field[start] == ' ' || (field[start] >= 9 && field[start] <= 13)))
    ++start;
  std::string s;
  for (std::size_t k = start; k < field.size(); ++k)
    if (field[k] != ' ') s += field[k];
  std::size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  std::string word;
  for (std::size_t k = i; k < s.size(); ++k)
    word += static_cast<char>(s[k] >= 'a' && s[k] <= 'z' ? s[k] - 32 : s[k]);
  if (word == "INF" || word == "INFINITY") {
    value = negative ? -std::numeric_limits<double>::infinity()
                     : std::numeric_limits<double>::infinity();
    return true;
  }
  if (word == "NAN") {
    value = std::numeric_limits<double>::quiet_NaN();
    return true;
  }
  std::string digits;
  bool point = false;
  long long after = 0;
  for (; i < s.size(); ++i) {
    if (s[i] >= '0' && s[i] <= '9') {
      digits += s[i];
      if (point) ++after;
    } else if (s[i] == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  long long exponent = 0;
  if (i < s.size()) {
    const char c = s[i];
    const bool letter = c == 'E' || c == 'e' || c == 'D' || c == 'd' || c == 'Q' || c == 'q';
    if (!letter && c != '+' && c != '-') return false;
    if (letter) ++i;
    bool exponent_negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) exponent_negative = s[i++] == '-';
    if (i == s.size()) return false;
    for (; i < s.size(); ++i) {
      if (s[i] < '0' || s[i] > '9') return false;
      if (exponent < 1000000000000LL) exponent = exponent * 10 + (s[i] - '0');
    }
    if (exponent_negative) exponent = -exponent;
    if (digits.empty()) return false;
  }
  if (digits.find_first_not_of('0') == std::string::npos) {
    value = 0.0;
    return true;
  }
  exponent -= point ? after : static_cast<long long>(decimals);
  const std::string text = digits + "e" + std::to_string(exponent);
  const double v = std::strtod(text.c_str(), nullptr);
  if (std::isinf(v)) return false;
  value = negative ? -v : v;
  return true;
}

inline std::string scan_text(std::string_view field, unsigned width, std::size_t length) {
  std::string f(field.substr(0, width));
  f.resize(width, ' ');
  if (width < length) return f + std::string(length - width, ' ');
  return f.substr(width - length);
}

// ---------------------------------------------------------------------------------------------
// Input statements.

// The records of a stream: up to each line feed, a CR right before it dropped; a last line without
// line feed is a record; a record of the single byte 26 ends the stream.
inline std::vector<std::string> records_of(std::string_view bytes) {
  std::vector<std::string> v;
  std::size_t at = 0;
  while (at < bytes.size()) {
    std::size_t end = bytes.find('\n', at);
    const bool lf = end != std::string_view::npos;
    if (!lf) end = bytes.size();
    std::string r(bytes.substr(at, end - at));
    if (lf && !r.empty() && r.back() == '\r') r.pop_back();
    if (r == "\x1a") break;
    v.push_back(std::move(r));
    at = lf ? end + 1 : end;
  }
  return v;
}

struct Target {
  char kind = 'I';
  std::size_t length = 0;  // of a text
};

struct Input {
  int failure = 0;  // 0, 24 (end of the stream) or 64 (conversion)
  std::vector<Value> values;
  std::size_t records = 0;  // taken from the stream
};

class Reader {
 public:
  Reader(const Layout& l, const std::vector<Target>& t, const std::vector<std::string>& records,
         std::size_t first)
      : l_(l), t_(t), records_(records), next_record_(first) {}

  Input run() {
    if (!next()) return out_;
    std::uint16_t start = 0;
    for (;;) {
      if (!items(start, l_.size)) break;
      if (!l_.reversion_has_field || out_.values.size() == t_.size()) break;
      if (!next()) break;
      start = l_.reversion;
    }
    return out_;
  }

 private:
  bool next() {
    if (next_record_ >= records_.size()) {
      out_.failure = 24;
      return false;
    }
    record_ = records_[next_record_++];
    ++out_.records;
    column_ = 0;
    return true;
  }

  std::string_view take(std::size_t width) const {
    if (column_ >= record_.size()) return {};
    return std::string_view(record_).substr(column_, width);
  }

  bool items(std::uint16_t from, std::uint16_t to) {
    for (std::uint16_t i = from; i < to; ++i) {
      const Item& it = l_.items[i];
      switch (it.op) {
        case Op::Open:
          for (unsigned r = 0; r < it.repeat; ++r)
            if (!items(static_cast<std::uint16_t>(i + 1), it.link)) return false;
          i = it.link;
          break;
        case Op::Close:
        case Op::Dollar:
          break;
        case Op::Int:
        case Op::Real:
        case Op::Text:
          for (unsigned r = 0; r < it.repeat; ++r) {
            if (out_.values.size() == t_.size()) return false;
            const Target& t = t_[out_.values.size()];
            Value v;
            v.kind = t.kind;
            if (it.op == Op::Text) {
              const unsigned width = it.width != 0 ? it.width : static_cast<unsigned>(t.length);
              v.t = scan_text(take(width), width, t.length);
              column_ += width;
            } else {
              std::string_view f = take(it.width);
              const std::size_t comma = f.find(',');
              if (comma != std::string_view::npos) {
                f = f.substr(0, comma);
                column_ += comma + 1;
              } else {
                column_ += it.width;
              }
              const bool ok = it.op == Op::Int ? scan_int(f, v.i) : scan_real(f, it.decimals, v.f);
              if (!ok) {
                out_.failure = 64;
                return false;
              }
            }
            out_.values.push_back(std::move(v));
          }
          break;
        case Op::Literal:
          column_ += it.width;
          break;
        case Op::Skip:
          column_ += it.width;
          break;
        case Op::Column:
          column_ = it.width - 1u;
          break;
        case Op::Slash:
          if (!next()) return false;
          break;
      }
    }
    return true;
  }

  const Layout& l_;
  const std::vector<Target>& t_;
  const std::vector<std::string>& records_;
  std::size_t next_record_;
  std::string record_;
  std::size_t column_ = 0;
  Input out_;
};

// One input statement on the stream whose records are `records`, from record `first`.
inline Input read(const Layout& l, const std::vector<Target>& t,
                  const std::vector<std::string>& records, std::size_t first) {
  return Reader(l, t, records, first).run();
}

}  // namespace kolven::reference
