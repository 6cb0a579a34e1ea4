// The record engine beside the GNU Fortran runtime: random values through every output layout of
// the program and random records through every input layout, written and read by both, compared
// after the differences the engine keeps on purpose are taken out.
//
//   kolven_differential --fortran PROGRAM [--cases N] [--seed S] [--keep]
//       runs N output and N input cases (default 10000 each, or $KOLVEN_DIFFERENTIAL_CASES; seed
//       from $KOLVEN_DIFFERENTIAL_SEED, default 1); exit status 1 on any disagreement.
//   kolven_differential --check-table SOURCE_DIR
//       checks that the layout table lists exactly the "..."_layout constants of datagen/ and
//       main/.
//   kolven_differential --skip REASON
//       reports the comparison as skipped (exit status 77).
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "record/convert.hpp"
#include "record/layout.hpp"
#include "record/record.hpp"
#include "record/values.hpp"
#include "tests/differential/program_layouts.hpp"

namespace fs = std::filesystem;

namespace kolven::differential {
namespace {

using record::Complex;
using record::In;
using record::Item;
using record::Layout;
using record::Op;
using record::Out;

constexpr std::string_view kSeparator = "<<KOLVEN-CASE-END>>";
constexpr std::string_view kSync = "~~KOLVEN-SYNC~~";

// ---------------------------------------------------------------------------------------------
// Layouts beyond the program's: wide fields that reach the 32-bit limits of I, long digit strings
// and large exponents of F, and F with no decimals. Not F1.0: for a value that rounds to zero the
// engine writes ".", gfortran wants "0." and writes an asterisk.

struct Probe {
  std::string_view text;
  bool input;
};

constexpr Probe kProbes[] = {
    {"(I11,1X,I12,F40.17,F12.0,F3.1,F2.0)", false},
    {"(2I12,F40.10,F25.0,F12.3)", true},
    {"(A,1X,I11,T3,F30.5,A5,/,2(F14.4,2X))", false},
    {"(A,I3,$)", false},
};

// ---------------------------------------------------------------------------------------------
// The fields a layout's walk meets for a given number of values, and where it stops.

struct Field {
  Op op;
  unsigned width;
  unsigned decimals;
};

struct FieldProbe {
  std::size_t limit;
  bool stop_at_revert;
  std::vector<Field> fields;
  bool reverted = false;
  bool more() const { return fields.size() < limit && !(stop_at_revert && reverted); }
  void field(const Item& it) { fields.push_back({it.op, it.width, it.decimals}); }
  void literal(std::string_view) {}
  void skip(unsigned) {}
  void column(unsigned) {}
  void slash() {}
  void dollar() {}
  void revert() { reverted = true; }
};

std::vector<Field> fields_of(const Layout& l, std::size_t limit, bool one_pass) {
  FieldProbe p{limit, one_pass, {}};
  record::walk(l, p);
  return p.fields;
}

// ---------------------------------------------------------------------------------------------
// Random choices.

class Random {
 public:
  explicit Random(std::uint64_t seed) : g_(seed) {}
  std::uint64_t bits() { return g_(); }
  // Uniform in [lo, hi].
  std::int64_t range(std::int64_t lo, std::int64_t hi) {
    return std::uniform_int_distribution<std::int64_t>(lo, hi)(g_);
  }
  double uniform() { return std::uniform_real_distribution<double>(0, 1)(g_); }
  bool chance(double p) { return uniform() < p; }
  template <class T>
  const T& pick(const std::vector<T>& v) {
    return v[static_cast<std::size_t>(range(0, static_cast<std::int64_t>(v.size()) - 1))];
  }
  char pick(std::string_view s) {
    return s[static_cast<std::size_t>(range(0, static_cast<std::int64_t>(s.size()) - 1))];
  }

 private:
  std::mt19937_64 g_;
};

constexpr std::string_view kPrintable =
    " !\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`abcdefghijklmnopqrstuvwxyz{|}~";

// A byte of a text or of the columns a field does not cover: mostly printable, at times any byte
// but the line feed and the carriage return (a lone CR ends a record for the other runtime).
char any_byte(Random& r) {
  if (r.chance(0.85)) return r.pick(kPrintable);
  for (;;) {
    const char c = static_cast<char>(r.range(0, 255));
    if (c != '\n' && c != '\r') return c;
  }
}

std::string digits(Random& r, std::size_t n) {
  std::string s;
  for (std::size_t i = 0; i < n; ++i) s += static_cast<char>('0' + r.range(0, 9));
  return s;
}

// ---------------------------------------------------------------------------------------------
// Output values.

std::int32_t random_int(Random& r) {
  switch (r.range(0, 5)) {
    case 0:
      return static_cast<std::int32_t>(r.range(-20, 20));
    case 1: {
      const std::int64_t p = static_cast<std::int64_t>(std::pow(10.0, r.range(0, 9)));
      const std::int64_t v = p + r.range(-1, 0);
      return static_cast<std::int32_t>(r.chance(0.5) ? -v : v);
    }
    case 2:
      return r.chance(0.5) ? std::numeric_limits<std::int32_t>::min()
                           : std::numeric_limits<std::int32_t>::max();
    case 3:
      return static_cast<std::int32_t>(r.range(-99999, 99999));
    default:
      return static_cast<std::int32_t>(static_cast<std::uint32_t>(r.bits()));
  }
}

double from_bits(std::uint64_t b) {
  double d;
  std::memcpy(&d, &b, sizeof d);
  return d;
}

std::uint64_t to_bits(double d) {
  std::uint64_t b;
  std::memcpy(&b, &d, sizeof b);
  return b;
}

// A real for a field of `width` columns and `decimals` decimals: ties, values at the edge of the
// field, values that round to zero, and any bit pattern.
double random_real(Random& r, unsigned width, unsigned decimals) {
  const double sign = r.chance(0.4) ? -1.0 : 1.0;
  const double unit = std::pow(10.0, -static_cast<double>(decimals));
  switch (r.range(0, 11)) {
    case 0:
      return from_bits(r.bits());  // NaN, infinities, subnormals and all the rest
    case 1: {
      const double special[] = {0.0,
                                -0.0,
                                std::numeric_limits<double>::infinity(),
                                -std::numeric_limits<double>::infinity(),
                                std::numeric_limits<double>::quiet_NaN(),
                                -std::numeric_limits<double>::quiet_NaN(),
                                std::numeric_limits<double>::denorm_min(),
                                -std::numeric_limits<double>::min(),
                                std::numeric_limits<double>::max(),
                                -std::numeric_limits<double>::max()};
      return special[r.range(0, 9)];
    }
    case 2: {
      // A multiple of a power of two: exact ties of the rounding are among them.
      const double m = static_cast<double>(r.range(0, 1 << 22));
      return sign * std::ldexp(m, -static_cast<int>(r.range(0, 14)));
    }
    case 3: {
      // A decimal with one more digit than the field shows, ending in 5: near a tie.
      const std::string text = std::to_string(r.range(0, 999)) + "." + digits(r, decimals) + "5";
      return sign * std::strtod(text.c_str(), nullptr);
    }
    case 4: {
      // Near the largest magnitude the field holds.
      const int room =
          static_cast<int>(width) - static_cast<int>(decimals) - 1 - (sign < 0 ? 1 : 0);
      const double edge = std::pow(10.0, std::max(room, 0)) - unit / 2;
      const double v = edge * (1.0 + static_cast<double>(r.range(-3, 3)) * 1e-15);
      return sign * v;
    }
    case 5:
      // Small values, which round to zero or to the last decimal.
      return sign * unit * static_cast<double>(r.range(0, 20)) / 8.0;
    case 6:
      return sign * std::nextafter(unit / 2, r.chance(0.5) ? 0.0 : 1.0);
    case 7:
    case 8: {
      // Below one, where the 0 before the point comes and goes with the room left.
      const double k = static_cast<double>(r.range(0, 100000));
      return sign * k / std::pow(10.0, static_cast<double>(r.range(1, 6)));
    }
    default: {
      const double m = static_cast<double>(r.range(0, 1000000000)) / 1e9;
      return sign * m * std::pow(10.0, static_cast<double>(r.range(-4, 8)));
    }
  }
}

std::string random_text(Random& r, std::size_t length) {
  std::string s;
  for (std::size_t i = 0; i < length; ++i) s += any_byte(r);
  return s;
}

// ---------------------------------------------------------------------------------------------
// The job file of the Fortran side.

enum JobKind { kWriteData = 1, kWriteConsole = 2, kRead = 3, kTextLine = 4 };

std::string hex(std::string_view s) {
  static const char* d = "0123456789abcdef";
  std::string h;
  for (const unsigned char c : s) {
    h += d[c >> 4];
    h += d[c & 15];
  }
  return h;
}

// A value list as the other side takes it: cycles of texts, integers and reals.
struct Values {
  std::vector<char> kinds;  // 'T', 'I', 'F' in list order
  std::vector<std::string> texts;
  std::vector<std::size_t> text_lengths;
  std::vector<std::int32_t> ints;
  std::vector<double> reals;
};

void write_job(std::ostream& jobs, JobKind kind, std::string_view layout, const Values& v) {
  std::vector<std::array<int, 3>> cycles;
  int stage = 3;  // position in the current cycle: 0 texts, 1 integers, 2 reals
  for (const char k : v.kinds) {
    const int s = k == 'T' ? 0 : k == 'I' ? 1 : 2;
    if (s < stage) cycles.push_back({0, 0, 0});
    ++cycles.back()[static_cast<std::size_t>(s)];
    stage = s;
  }
  jobs << kind << ' ' << cycles.size() << '\n' << layout << '\n';
  if (!cycles.empty()) {
    for (const auto& c : cycles) jobs << c[0] << ' ' << c[1] << ' ' << c[2] << ' ';
    jobs << '\n';
  }
  if (!v.text_lengths.empty()) {
    for (const std::size_t n : v.text_lengths) jobs << n << ' ';
    jobs << '\n';
  }
  if (kind == kRead) return;
  for (const std::string& t : v.texts) jobs << hex(t) << '\n';
  if (!v.ints.empty()) {
    for (const std::int32_t i : v.ints) jobs << i << ' ';
    jobs << '\n';
  }
  if (!v.reals.empty()) {
    for (const double d : v.reals) jobs << static_cast<std::int64_t>(to_bits(d)) << ' ';
    jobs << '\n';
  }
}

// ---------------------------------------------------------------------------------------------
// The engine's side.

struct Ended {
  int status;
};

[[noreturn]] void throw_end(int status) {
  throw Ended{status};
}

}  // namespace
}  // namespace kolven::differential

// Where the sanitizers write their reports, in a build with them.
extern "C" void __sanitizer_set_report_fd(void* fd) __attribute__((weak));

namespace kolven::differential {
namespace {

// Standard error (the fatal path's diagnostic line) or standard output to a file for a while. A
// sanitizer's report still reaches the real standard error.
class Redirect {
 public:
  Redirect(int fd, const fs::path& to) : fd_(fd) {
    std::fflush(nullptr);
    saved_ = dup(fd);
    if (fd == 2 && __sanitizer_set_report_fd != nullptr)
      __sanitizer_set_report_fd(reinterpret_cast<void*>(static_cast<std::intptr_t>(saved_)));
    const int f = open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    dup2(f, fd);
    close(f);
  }
  ~Redirect() {
    std::fflush(nullptr);
    dup2(saved_, fd_);
    if (fd_ == 2 && __sanitizer_set_report_fd != nullptr)
      __sanitizer_set_report_fd(reinterpret_cast<void*>(std::intptr_t{2}));
    close(saved_);
  }
  Redirect(const Redirect&) = delete;
  Redirect& operator=(const Redirect&) = delete;

 private:
  int fd_;
  int saved_;
};

// Builds the engine's value list from `v`: reals at times as arrays or complex pairs, as the
// program passes them.
void engine_write(record::OutStream stream, const Layout& layout, const Values& v, Random& r) {
  std::vector<Out> list;
  std::vector<Complex> complexes;
  complexes.reserve(v.reals.size());
  std::size_t t = 0, i = 0, f = 0;
  for (std::size_t k = 0; k < v.kinds.size();) {
    const char kind = v.kinds[k];
    if (kind == 'T') {
      list.emplace_back(std::string_view(v.texts[t++]));
      ++k;
    } else if (kind == 'I') {
      list.emplace_back(v.ints[i++]);
      ++k;
    } else {
      std::size_t run = 0;
      while (k + run < v.kinds.size() && v.kinds[k + run] == 'F') ++run;
      const int form = static_cast<int>(r.range(0, 2));
      if (form == 0 && run > 1) {
        const std::size_t n = static_cast<std::size_t>(r.range(2, static_cast<std::int64_t>(run)));
        list.emplace_back(std::span<const double>(v.reals.data() + f, n));
        f += n;
        k += n;
      } else if (form == 1 && run >= 2) {
        complexes.push_back({v.reals[f], v.reals[f + 1]});
        list.emplace_back(complexes.back());
        f += 2;
        k += 2;
      } else {
        list.emplace_back(v.reals[f++]);
        ++k;
      }
    }
  }
  record::write_record(stream, layout, std::span<const Out>(list.data(), list.size()));
}

// Text targets of a length known only at run time.
struct TextTargets {
  std::vector<std::shared_ptr<void>> keep;
  std::vector<std::span<char>> views;

  template <std::size_t N>
  static In make(TextTargets& t) {
    auto p = std::make_shared<record::Text<N>>();
    p->fill('?');
    t.keep.push_back(p);
    t.views.emplace_back(p->data(), N);
    return In(*p);
  }
  template <std::size_t... N>
  In make_of(std::size_t n, std::index_sequence<N...>) {
    using Maker = In (*)(TextTargets&);
    static constexpr Maker makers[] = {&TextTargets::make<N + 1>...};
    return makers[n - 1](*this);
  }
  In add(std::size_t n) { return make_of(n, std::make_index_sequence<kMaxText>{}); }
  static constexpr std::size_t kMaxText = 90;
};

// read_record takes its targets as an initializer list; this passes a list built at run time.
constexpr std::size_t kMaxTargets = 64;

template <std::size_t... I>
void read_n(record::InStream stream, const Layout& layout, const std::vector<In>& t,
            std::index_sequence<I...>) {
  record::read_record(stream, layout, {t[I]...});
}

template <std::size_t... N>
void read_with_table(record::InStream stream, const Layout& layout, const std::vector<In>& t,
                     std::index_sequence<N...>) {
  using Reader = void (*)(record::InStream, const Layout&, const std::vector<In>&);
  static constexpr Reader readers[] = {
      [](record::InStream s, const Layout& l, const std::vector<In>& v) {
        read_n(s, l, v, std::make_index_sequence<N>{});
      }...};
  readers[t.size()](stream, layout, t);
}

void read_with(record::InStream stream, const Layout& layout, const std::vector<In>& t) {
  read_with_table(stream, layout, t, std::make_index_sequence<kMaxTargets + 1>{});
}

struct ReadResult {
  int status = 0;  // 0, or the failure number
  std::vector<std::int32_t> ints;
  std::vector<double> reals;
  std::vector<std::string> texts;
};

ReadResult engine_read(record::InStream stream, const Layout& layout, const Values& v, Random& r) {
  std::vector<std::int32_t> ints(v.ints.size() + 1, -7);
  std::vector<double> reals(v.kinds.size() + 1, -7.0);
  std::vector<Complex> complexes(v.kinds.size() + 1, Complex{-7.0, -7.0});
  TextTargets texts;
  std::vector<In> list;
  // Where each real target lives: an entry of `reals` or a part of a complex.
  std::vector<double*> real_slots;
  std::size_t i = 0, t = 0, c = 0, f = 0;
  for (std::size_t k = 0; k < v.kinds.size();) {
    const char kind = v.kinds[k];
    if (kind == 'T') {
      list.push_back(texts.add(v.text_lengths[t++]));
      ++k;
    } else if (kind == 'I') {
      list.emplace_back(ints[i++]);
      ++k;
    } else {
      std::size_t run = 0;
      while (k + run < v.kinds.size() && v.kinds[k + run] == 'F') ++run;
      const int form = static_cast<int>(r.range(0, 2));
      if (form == 0 && run > 1) {
        const std::size_t n = static_cast<std::size_t>(r.range(2, static_cast<std::int64_t>(run)));
        list.emplace_back(std::span<double>(reals.data() + f, n));
        for (std::size_t j = 0; j < n; ++j) real_slots.push_back(&reals[f + j]);
        f += n;
        k += n;
      } else if (form == 1 && run >= 2) {
        Complex& z = complexes[c++];
        list.emplace_back(z);
        real_slots.push_back(&z.re);
        real_slots.push_back(&z.im);
        k += 2;
      } else {
        list.emplace_back(reals[f]);
        real_slots.push_back(&reals[f]);
        ++f;
        ++k;
      }
    }
  }
  ReadResult out;
  try {
    read_with(stream, layout, list);
  } catch (const Ended& e) {
    out.status = static_cast<int>(static_cast<unsigned>(e.status) - 0xC0000000u);
    return out;
  }
  out.ints.assign(ints.begin(), ints.begin() + static_cast<std::ptrdiff_t>(v.ints.size()));
  for (double* p : real_slots) out.reals.push_back(*p);
  for (const auto& view : texts.views) out.texts.emplace_back(view.data(), view.size());
  return out;
}

// ---------------------------------------------------------------------------------------------
// Input records. Each field is built from the rules of the notation, so that the field and the
// value it stands for are known; a field may hold one construct on which the two runtimes are
// known to part, and the case then accepts that one difference.

enum Tag : int {
  kNoTag,
  kSignOnlyInteger,        // I field of a sign alone: the engine reads 0, the other fails
  kExponentWithoutDigits,  // F field with an exponent and no digit before it: the engine fails,
                           // the other reads 0
  kBlankInWord,            // blanks inside Inf or NaN: the engine drops them, the other fails
  kNanParenthesis,         // NaN(...): the other reads NaN, the engine fails
  kControlBeforeNumber,    // a tab, VT or FF before the number of an F field: the engine skips
                           // it, the other fails
  kOverflow,               // a real beyond the double range: the engine fails, the other reads
                           // an infinity
  kEmptySignedExponent,    // an exponent sign with only blanks after it in the field: the engine
                           // fails, the other reads the number before it
  kNulInInteger,           // a NUL byte in an I field: the engine fails, the other ends the
                           // number there
  kTagCount
};

constexpr const char* kTagNames[kTagCount] = {
    "none",
    "sign alone in an I field (engine 0, gfortran error)",
    "exponent without digits before it (engine error, gfortran 0)",
    "blank inside Inf/NaN (engine reads the word, gfortran error)",
    "NaN(...) (engine error, gfortran NaN)",
    "tab/VT/FF before the number of an F field (engine skips it, gfortran error)",
    "beyond the double range (engine error 64, gfortran Infinity)",
    "exponent sign with blanks only after it (engine error, gfortran reads the mantissa)",
    "NUL byte in an I field (engine error, gfortran ends the number there)",
};

// Whether a difference between engine and gfortran is the one `tag` stands for.
bool expected_difference(Tag tag, bool engine_ok, bool fortran_ok) {
  switch (tag) {
    case kSignOnlyInteger:
    case kBlankInWord:
    case kControlBeforeNumber:
      return engine_ok && !fortran_ok;
    case kExponentWithoutDigits:
    case kNanParenthesis:
    case kOverflow:
    case kEmptySignedExponent:
    case kNulInInteger:
      return !engine_ok && fortran_ok;
    default:
      return false;
  }
}

// Where the builder put the field of a text target.
struct TextPlace {
  std::size_t record;
  std::size_t start;
  std::size_t width;
  std::size_t length;  // of the target
};

struct GenField {
  std::string text;  // the columns the field covers, with the comma that ends it, if any
  std::size_t core_begin = 0;
  std::size_t core_end = 0;
  Tag tag = kNoTag;
};

// Puts `core` in `width` columns, blanks on either side; a number may stand at either end.
GenField pad(Random& r, const std::string& core, std::size_t width, Tag tag) {
  const std::size_t room = width - core.size();
  std::size_t left = room;
  const int where = static_cast<int>(r.range(0, 2));
  if (where == 1) left = 0;
  if (where == 2) left = static_cast<std::size_t>(r.range(0, static_cast<std::int64_t>(room)));
  GenField f;
  f.text = std::string(left, ' ') + core + std::string(room - left, ' ');
  f.core_begin = left;
  f.core_end = left + core.size();
  f.tag = tag;
  return f;
}

// Blanks between the characters of `s`, which count for nothing in a numeric field.
std::string with_blanks(Random& r, std::string s, std::size_t max_length) {
  while (s.size() >= 2 && s.size() < max_length && r.chance(0.3)) {
    const std::size_t at =
        static_cast<std::size_t>(r.range(1, static_cast<std::int64_t>(s.size()) - 1));
    s.insert(at, 1, ' ');
  }
  return s;
}

std::string random_case(Random& r, std::string_view word) {
  std::string s;
  for (const char c : word) s += r.chance(0.5) ? static_cast<char>(c - 'a' + 'A') : c;
  return s;
}

std::string sign(Random& r, double minus, double plus) {
  const double x = r.uniform();
  return x < minus ? "-" : x < minus + plus ? "+" : "";
}

// Bytes that make an I field fail in both runtimes.
constexpr std::string_view kIntJunk = std::string_view(".eEdDxX/*#aZ(\t\x0b\x0c+-", 18);
// Bytes that make an F field fail in both runtimes (no letter of a word or an exponent).
constexpr std::string_view kRealJunk = std::string_view("xXzZ/*#;:()!?_\x7f\xff\0", 17);

std::string int_core(Random& r, std::size_t m, bool tag_allowed, Tag& tag) {
  if (m == 0) return "";
  const int mode = static_cast<int>(r.range(0, 99));
  if (mode < 4 && tag_allowed) {
    tag = kSignOnlyInteger;
    return r.chance(0.5) ? "-" : "+";
  }
  if (mode < 12) {
    std::string s = sign(r, 0.2, 0.1) + digits(r, static_cast<std::size_t>(r.range(1, 4)));
    const std::size_t at =
        static_cast<std::size_t>(r.range(0, static_cast<std::int64_t>(s.size())));
    const bool nul = tag_allowed && r.chance(0.1);
    s.insert(at, 1, nul ? '\0' : r.pick(kIntJunk));
    if (s.size() <= m) {
      if (nul) tag = kNulInInteger;
      return s;
    }
  }
  if (mode < 25 && m >= 10) {
    const std::vector<std::string> limits = {
        "2147483647",  "2147483648",  "-2147483648",     "-2147483649", "+2147483647", "4294967296",
        "-0000000001", "99999999999", "000002147483647", "-2147483647", "3000000000",  "-0"};
    std::string s = r.pick(limits);
    if (s.size() <= m) return with_blanks(r, s, m);
  }
  if (mode < 30) return "";
  std::string s = sign(r, 0.3, 0.1);
  s += digits(r, static_cast<std::size_t>(r.range(
                     1, std::max<std::int64_t>(1, static_cast<std::int64_t>(m - s.size())))));
  if (s.size() > m) s = digits(r, 1);
  return with_blanks(r, s, m);
}

// A plain number: sign, digits with at most one point, an optional exponent.
struct Number {
  std::string text;
  bool overflows = false;
};

Number plain_number(Random& r, std::size_t m, unsigned decimals, bool long_digits) {
  std::string mantissa;
  std::string text = sign(r, 0.35, 0.15);
  std::size_t n1 = static_cast<std::size_t>(r.range(0, 5));
  std::size_t n2 = static_cast<std::size_t>(r.range(0, 6));
  if (long_digits) {
    // Mostly around the 15 to 19 digits where exact shortcuts end.
    const std::size_t total =
        static_cast<std::size_t>(r.chance(0.7) ? r.range(14, 20) : r.range(1, 36));
    n2 = static_cast<std::size_t>(
        r.range(0, static_cast<std::int64_t>(std::min<std::size_t>(total, 22))));
    n1 = total - n2;
  }
  const bool point = r.chance(0.75);
  if (!point) {
    n1 += n2;
    n2 = 0;
  }
  if (n1 + n2 == 0) n1 = 1;
  const std::string a = r.chance(0.2) ? std::string(n1, '0') : digits(r, n1);
  const std::string b = digits(r, n2);
  text += a;
  if (point) text += '.';
  text += b;
  std::int64_t exponent = 0;
  if (r.chance(0.3)) {
    const int size = r.chance(0.6) ? 1 : r.chance(0.75) ? 2 : 3;
    std::int64_t e = size == 1 ? r.range(0, 9) : size == 2 ? r.range(0, 99) : r.range(290, 330);
    std::string esign;
    if (r.chance(0.2)) {
      esign = r.chance(0.5) ? "-" : "+";
      text += esign;
    } else {
      text += r.pick("EeDdQq");
      esign = sign(r, 0.3, 0.3);
      text += esign;
    }
    std::string ed = std::to_string(e);
    if (r.chance(0.1)) ed = "00" + ed;
    text += ed;
    exponent = esign == "-" ? -e : e;
  }
  // The value, to know whether it lies beyond the range of a double.
  const std::int64_t scale =
      point ? static_cast<std::int64_t>(n2) : static_cast<std::int64_t>(decimals);
  const std::string canonical = a + b + "e" + std::to_string(exponent - scale);
  Number n;
  n.overflows = std::isinf(std::strtod(canonical.c_str(), nullptr));
  n.text = with_blanks(r, text, m);
  return n;
}

std::string real_core(Random& r, std::size_t m, unsigned decimals, bool tag_allowed, Tag& tag) {
  for (int attempt = 0; attempt < 30; ++attempt) {
    const int mode = static_cast<int>(r.range(0, 99));
    std::string s;
    Tag t = kNoTag;
    if (mode < 6) {
      const std::vector<std::string> zeros = {"0", "-0", "0.",     "-.0", ".",     "-.",
                                              "+", "-",  "+0.000", "0e5", "-0d-3", "00"};
      s = r.pick(zeros);
    } else if (mode < 13) {
      const std::vector<std::string> words = {"inf", "infinity", "nan"};
      s = sign(r, 0.3, 0.2) + random_case(r, r.pick(words));
    } else if (mode < 15) {
      t = kBlankInWord;
      std::string w = random_case(r, r.chance(0.5) ? "inf" : "nan");
      w.insert(static_cast<std::size_t>(r.range(1, 2)), " ");
      s = sign(r, 0.2, 0.1) + w;
    } else if (mode < 17) {
      t = kNanParenthesis;
      s = random_case(r, "nan") + "(" + (r.chance(0.5) ? digits(r, 1) : "") + ")";
    } else if (mode < 19) {
      t = kExponentWithoutDigits;
      const std::vector<std::string> forms = {"E5",  "-.e2", "+-1", "d-3", ".q+4",
                                              "-E1", "e05",  "--1", "+-",  "-+7"};
      s = r.pick(forms);
    } else if (mode < 21) {
      t = kEmptySignedExponent;
      const std::vector<std::string> forms = {"1.5e+", "1.5-", "2D-", "-.5+", "3.q-", "7E+"};
      s = r.pick(forms);
    } else if (mode < 27) {
      // A number with a byte that no rule takes, or a malformed word.
      if (r.chance(0.3)) {
        const std::vector<std::string> words = {"in", "infin", "nana", "inff", "infinityy", "na",
                                                "i",  "n",     "nan1", "1inf", "infe2"};
        s = sign(r, 0.2, 0.1) + random_case(r, r.pick(words));
      } else if (r.chance(0.3)) {
        const std::vector<std::string> bad = {"1..5",  "1.5.",   "1E2E3", "1e--2",
                                              "1e+-2", "1.5E2.", "1.5d",  "1.5e2+3"};
        s = r.pick(bad);
      } else {
        s = plain_number(r, m, decimals, false).text;
        if (r.chance(0.3)) {
          s += r.chance(0.5) ? '\t' : '\x0b';  // a control byte after the number
        } else {
          const std::size_t at =
              static_cast<std::size_t>(r.range(0, static_cast<std::int64_t>(s.size())));
          s.insert(at, 1, r.pick(kRealJunk));
        }
      }
    } else {
      const Number n = plain_number(r, m, decimals, mode < 60 && m >= 12);
      if (n.overflows) t = kOverflow;
      s = n.text;
    }
    if (s.size() > m) continue;
    if (t != kNoTag && !tag_allowed) continue;
    tag = t;
    return s;
  }
  return m > 0 ? digits(r, 1) : "";
}

// Builds the records of one input statement by walking its layout as the engine will.
class RecordBuilder {
 public:
  RecordBuilder(Random& r, const Values& targets) : r_(r), targets_(targets) {}

  bool more() const { return next_ < targets_.kinds.size(); }

  void field(const Item& it) {
    const char kind = targets_.kinds[next_++];
    GenField f;
    if (kind == 'T') {
      const std::size_t length = targets_.text_lengths[text_++];
      const std::size_t width = it.width != 0 ? it.width : length;
      places_.push_back({records_.size(), pos_, width, length});
      f.text = random_text(r_, width);
    } else {
      const std::size_t w = it.width;
      const bool comma = r_.chance(0.1);
      const std::size_t m =
          comma ? static_cast<std::size_t>(r_.range(0, static_cast<std::int64_t>(w) - 1)) : w;
      Tag tag = kNoTag;
      const bool tag_allowed = tag_ == kNoTag && r_.chance(0.5);
      if (kind == 'I') {
        const std::string core = int_core(r_, m, tag_allowed, tag);
        f = pad(r_, core, m, tag);
      } else {
        if (tag_allowed && m >= 2 && r_.chance(0.04)) {
          // A control byte among the blanks before the number.
          Tag none = kNoTag;
          const std::string core = real_core(r_, m - 1, it.decimals, false, none);
          const std::size_t room = m - 1 - core.size();
          const std::size_t before =
              static_cast<std::size_t>(r_.range(0, static_cast<std::int64_t>(room)));
          f.text = std::string(before, ' ') + "\t\x0b\x0c"[r_.range(0, 2)] + core +
                   std::string(room - before, ' ');
          f.core_begin = before;
          f.core_end = before + 1 + core.size();
          f.tag = kControlBeforeNumber;
        } else {
          const std::string core = real_core(r_, m, it.decimals, tag_allowed, tag);
          f = pad(r_, core, m, tag);
        }
      }
      if (f.tag != kNoTag) tag_ = f.tag;
      if (comma) f.text += ',';
    }
    place(f, kind != 'T');
  }
  void literal(std::string_view text) { pos_ += text.size(); }
  void skip(unsigned n) { pos_ += n; }
  void column(unsigned c) { pos_ = c - 1; }
  void slash() { end_record(); }
  void dollar() {}
  void revert() { end_record(); }

  // The records, each cut short at times and at times followed by columns no field takes.
  std::vector<std::string> finish() {
    end_record();
    for (Record& rec : records_) {
      if (r_.chance(0.15))
        for (int k = 0; k < 1 + r_.range(0, 8); ++k) rec.bytes += any_byte(r_);
      if (r_.chance(0.15)) {
        // Not inside a number: a short record reads as blanks after its end.
        for (int attempt = 0; attempt < 10; ++attempt) {
          const std::size_t cut =
              static_cast<std::size_t>(r_.range(0, static_cast<std::int64_t>(rec.bytes.size())));
          bool inside = false;
          for (const auto& [b, e] : rec.numbers) inside = inside || (cut > b && cut < e);
          if (!inside) {
            rec.bytes.resize(cut);
            break;
          }
        }
      }
      if (rec.bytes == "\x1a") rec.bytes = "\x1b";  // a record of the single byte 26 ends a stream
    }
    std::vector<std::string> out;
    for (Record& rec : records_) out.push_back(std::move(rec.bytes));
    return out;
  }

  Tag tag() const { return tag_; }
  const std::vector<TextPlace>& text_places() const { return places_; }

 private:
  struct Record {
    std::string bytes;
    std::vector<std::pair<std::size_t, std::size_t>> numbers;  // where the numbers stand
  };

  void place(const GenField& f, bool number) {
    std::string& b = current_.bytes;
    while (b.size() < pos_) b += any_byte(r_);
    if (b.size() < pos_ + f.text.size()) b.resize(pos_ + f.text.size(), ' ');
    std::copy(f.text.begin(), f.text.end(), b.begin() + static_cast<std::ptrdiff_t>(pos_));
    if (number && f.core_end > f.core_begin)
      current_.numbers.emplace_back(pos_ + f.core_begin, pos_ + f.core_end);
    pos_ += f.text.size();
  }
  void end_record() {
    records_.push_back(std::move(current_));
    current_ = Record{};
    pos_ = 0;
  }

  Random& r_;
  const Values& targets_;
  std::size_t next_ = 0;
  std::size_t text_ = 0;
  std::size_t pos_ = 0;
  Tag tag_ = kNoTag;
  std::vector<TextPlace> places_;
  Record current_;
  std::vector<Record> records_;
};

// ---------------------------------------------------------------------------------------------
// The cases.

struct LayoutUse {
  std::string where;
  Layout layout;
  unsigned uses;
  unsigned text_length;
};

std::vector<LayoutUse> layouts_with(unsigned mask, bool input,
                                    std::vector<record::OwnedLayout>& owned) {
  std::vector<LayoutUse> v;
  for (const auto& p : program_layouts::kAll)
    if (p.uses & mask) v.push_back({p.where, p.layout, p.uses, p.text_length});
  for (const Probe& p : kProbes) {
    if (p.input != input) continue;
    owned.push_back(*record::OwnedLayout::parse(p.text));
    const unsigned uses = input ? program_layouts::kPowerFlowIn
                                : program_layouts::kDataOut | program_layouts::kConsoleOut;
    v.push_back({std::string("probe ") + std::string(p.text), owned.back().view(), uses, 4});
  }
  return v;
}

// How many values a statement passes: mostly as many as one walk of the layout takes, at times
// fewer (the walk stops at the first field without a value) or more (reversion).
std::vector<Field> choose_fields(Random& r, const Layout& l, std::size_t cap) {
  const std::vector<Field> full = fields_of(l, cap, true);
  const int mode = static_cast<int>(r.range(0, 9));
  if (mode < 2 && !full.empty())
    return fields_of(
        l, static_cast<std::size_t>(r.range(0, static_cast<std::int64_t>(full.size()) - 1)), true);
  // Once a $ has been met, gfortran leaves the record end off the statement's last record,
  // even when a reverted walk stops before that $: such lists are not passed.
  const bool dollar = l.text.find('$') != std::string_view::npos;
  if (mode < 3 && l.reversion_has_field && !dollar)
    return fields_of(
        l,
        std::min(cap, full.size() + static_cast<std::size_t>(
                                        r.range(1, 2 * static_cast<std::int64_t>(full.size())))),
        false);
  return full;
}

std::size_t text_length(Random& r, const Field& f, unsigned hint) {
  if (r.chance(0.5) && hint > 0) return hint;
  const std::int64_t top = f.width != 0 ? f.width + 3 : 30;
  return static_cast<std::size_t>(r.range(1, std::min<std::int64_t>(top, TextTargets::kMaxText)));
}

struct OutputCase {
  std::string where;
  Layout layout;
  JobKind kind;
  Values values;
  std::string text;  // of a list-directed line
};

struct InputCase {
  std::string where;
  Layout layout;
  record::InStream stream;
  Values targets;
  std::vector<std::string> records;
  std::vector<bool> crlf;
  Tag tag;
  std::vector<TextPlace> text_places;
};

// Mostly a layout with fields: most screen layouts are constant texts.
const LayoutUse& pick_layout(Random& r, const std::vector<LayoutUse>& layouts) {
  for (int attempt = 0; attempt < 8; ++attempt) {
    const LayoutUse& u = r.pick(layouts);
    if (!fields_of(u.layout, 1, true).empty() || r.chance(0.15)) return u;
  }
  return r.pick(layouts);
}

// Case `n` of the run: the first cases take every layout in turn, the others pick at random.
OutputCase make_output_case(Random& r, const std::vector<LayoutUse>& layouts, std::size_t n) {
  OutputCase c;
  if (n >= layouts.size() && r.chance(0.05)) {
    c.where = "list-directed text line";
    c.kind = kTextLine;
    c.text = random_text(r, static_cast<std::size_t>(r.range(0, 56)));
    return c;
  }
  const LayoutUse& u = n < layouts.size() ? layouts[n] : pick_layout(r, layouts);
  c.where = u.where;
  c.layout = u.layout;
  const bool console = (u.uses & program_layouts::kConsoleOut) &&
                       (!(u.uses & program_layouts::kDataOut) || r.chance(0.5));
  c.kind = console ? kWriteConsole : kWriteData;
  for (const Field& f : choose_fields(r, u.layout, 400)) {
    switch (f.op) {
      case Op::Int:
        c.values.kinds.push_back('I');
        c.values.ints.push_back(random_int(r));
        break;
      case Op::Real:
        c.values.kinds.push_back('F');
        c.values.reals.push_back(random_real(r, f.width, f.decimals));
        break;
      default: {
        c.values.kinds.push_back('T');
        const std::size_t n = r.chance(0.05) ? 0 : text_length(r, f, u.text_length);
        c.values.texts.push_back(random_text(r, n));
        c.values.text_lengths.push_back(n);
        break;
      }
    }
  }
  return c;
}

InputCase make_input_case(Random& r, const std::vector<LayoutUse>& layouts, std::size_t n) {
  // The wide layouts beyond the program's, at the end of the list, more often than the others.
  const std::size_t probes =
      std::count_if(std::begin(kProbes), std::end(kProbes), [](const Probe& p) { return p.input; });
  const LayoutUse& u =
      n < layouts.size() ? layouts[n]
      : r.chance(0.15)
          ? layouts[layouts.size() - 1 -
                    static_cast<std::size_t>(r.range(0, static_cast<std::int64_t>(probes) - 1))]
          : r.pick(layouts);
  InputCase c;
  c.where = u.where;
  c.layout = u.layout;
  c.stream = (u.uses & program_layouts::kConsoleIn) ? record::InStream::Console
                                                    : record::InStream::PowerFlow;
  for (const Field& f : choose_fields(r, u.layout, kMaxTargets)) {
    const char k = f.op == Op::Int ? 'I' : f.op == Op::Real ? 'F' : 'T';
    c.targets.kinds.push_back(k);
    if (k == 'I') c.targets.ints.push_back(0);
    if (k == 'T') c.targets.text_lengths.push_back(text_length(r, f, u.text_length));
  }
  RecordBuilder b(r, c.targets);
  record::walk(u.layout, b);
  c.records = b.finish();
  for (std::size_t i = 0; i < c.records.size(); ++i) c.crlf.push_back(r.chance(0.3));
  c.tag = b.tag();
  c.text_places = b.text_places();
  return c;
}

std::string records_text(const InputCase& c) {
  std::string s;
  for (std::size_t i = 0; i < c.records.size(); ++i)
    s += c.records[i] + (c.crlf[i] ? "\r\n" : "\n");
  return s + std::string(kSync) + "\n";
}

// ---------------------------------------------------------------------------------------------
// Reports.

std::string escaped(std::string_view s) {
  std::string out;
  for (const unsigned char c : s) {
    if (c == '\n') {
      out += "\\n";
    } else if (c == '\\') {
      out += "\\\\";
    } else if (c >= 32 && c < 127) {
      out += static_cast<char>(c);
    } else {
      char b[8];
      std::snprintf(b, sizeof b, "\\x%02x", c);
      out += b;
    }
  }
  return out;
}

std::string real_text(double d) {
  char b[64];
  std::snprintf(b, sizeof b, "%.17g (bits %016llx)", d,
                static_cast<unsigned long long>(to_bits(d)));
  return b;
}

std::string describe(const Values& v, bool with_values) {
  std::ostringstream o;
  std::size_t t = 0, i = 0, f = 0;
  for (const char k : v.kinds) {
    if (k == 'T') {
      o << "  text[" << v.text_lengths[t] << "]";
      if (with_values) o << " \"" << escaped(v.texts[t]) << "\"";
      ++t;
    } else if (k == 'I') {
      o << "  int";
      if (with_values) o << ' ' << v.ints[i];
      ++i;
    } else {
      o << "  real";
      if (with_values) o << ' ' << real_text(v.reals[f]);
      ++f;
    }
    o << '\n';
  }
  return o.str();
}

std::uint64_t env_number(const char* name, std::uint64_t fallback) {
  const char* v = std::getenv(name);
  return v != nullptr && *v != '\0' ? std::strtoull(v, nullptr, 10) : fallback;
}

int reported = 0;
const int kMaxReports = static_cast<int>(env_number("KOLVEN_DIFFERENTIAL_REPORTS", 12));

void report(const std::string& what) {
  if (++reported <= kMaxReports) std::printf("DISAGREEMENT %s\n", what.c_str());
}

// ---------------------------------------------------------------------------------------------
// Running both sides.

std::string read_file(const fs::path& p) {
  std::ifstream f(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), {});
}

void write_file(const fs::path& p, std::string_view s) {
  std::ofstream f(p, std::ios::binary | std::ios::trunc);
  f.write(s.data(), static_cast<std::streamsize>(s.size()));
}

// The engine's records with LF record ends, cut into the parts between separator records.
std::vector<std::string> cases_of(std::string s, bool engine) {
  if (engine) {
    std::string t;
    for (std::size_t i = 0; i < s.size(); ++i) {
      if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') continue;
      t += s[i];
    }
    s = std::move(t);
  }
  std::vector<std::string> parts;
  const std::string sep = std::string(kSeparator) + "\n";
  std::size_t at = 0;
  for (;;) {
    const std::size_t next = s.find(sep, at);
    if (next == std::string::npos) break;
    parts.push_back(s.substr(at, next - at));
    at = next + sep.size();
  }
  return parts;
}

using namespace record::literals;
constexpr Layout kSeparatorLayout = "(A)"_layout;

struct Summary {
  std::size_t output_cases = 0;
  std::size_t output_disagreements = 0;
  std::size_t input_cases = 0;
  std::size_t input_agree = 0;
  std::size_t input_disagreements = 0;
  std::size_t zero_sign = 0;   // both read zero, of different signs
  std::size_t short_text = 0;  // an Aw field past the end of its record
  std::array<std::size_t, kTagCount> tagged{};
  std::array<std::size_t, kTagCount> known{};
};

// Reads the results of the other side for one input case.
struct FortranRead {
  bool ok = false;
  std::string error;
  std::vector<std::int64_t> ints;
  std::vector<std::uint64_t> reals;
  std::vector<std::string> texts;
};

std::string unhex(std::string_view h) {
  std::string s;
  for (std::size_t i = 0; i + 1 < h.size(); i += 2)
    s += static_cast<char>(std::stoi(std::string(h.substr(i, 2)), nullptr, 16));
  return s;
}

std::vector<std::string> lines_of(const std::string& s) {
  std::vector<std::string> v;
  std::size_t at = 0;
  while (at < s.size()) {
    std::size_t e = s.find('\n', at);
    if (e == std::string::npos) e = s.size();
    v.push_back(s.substr(at, e - at));
    at = e + 1;
  }
  return v;
}

// A text target read by an Aw field that runs past the end of its record, w above the target's
// length: the field is the columns present and blanks after them, and the target its last
// characters; gfortran takes the last characters of the columns present instead.
struct ShortText {
  std::string rule;
  std::string gfortran;
};

ShortText short_text(const InputCase& c, const TextPlace& p) {
  const std::string& rec = c.records[p.record];
  const std::string present =
      p.start < rec.size() ? rec.substr(p.start, std::min(p.width, rec.size() - p.start)) : "";
  std::string field = present + std::string(p.width - present.size(), ' ');
  ShortText t;
  if (p.width < p.length) {
    t.rule = field + std::string(p.length - p.width, ' ');
    t.gfortran = t.rule;
  } else {
    t.rule = field.substr(p.width - p.length);
    t.gfortran = present.size() >= p.length ? present.substr(present.size() - p.length)
                                            : present + std::string(p.length - present.size(), ' ');
  }
  return t;
}

bool same_real(double engine, double fortran, Summary& sum) {
  if (std::isnan(engine) && std::isnan(fortran)) return true;
  if (engine == 0.0 && fortran == 0.0) {
    if (std::signbit(engine) != std::signbit(fortran)) ++sum.zero_sign;
    return true;
  }
  return to_bits(engine) == to_bits(fortran);
}

int run(const fs::path& fortran, std::size_t count, std::uint64_t seed, bool keep) {
  std::string dir_template = (fs::temp_directory_path() / "kolven-differential-XXXXXX").string();
  if (mkdtemp(dir_template.data()) == nullptr) {
    std::perror("mkdtemp");
    return 2;
  }
  const fs::path dir = dir_template;
  record::set_exit_handler(throw_end);
  Random r(seed);
  Summary sum;

  std::vector<record::OwnedLayout> owned;
  owned.reserve(16);
  const auto outputs =
      layouts_with(program_layouts::kConsoleOut | program_layouts::kDataOut, false, owned);
  const auto inputs =
      layouts_with(program_layouts::kConsoleIn | program_layouts::kPowerFlowIn, true, owned);

  std::ofstream jobs(dir / "jobs", std::ios::binary);
  std::string fortran_records;

  // Output: every case through the engine, on the stream its layout is used on.
  std::vector<OutputCase> out_cases;
  for (std::size_t i = 0; i < count; ++i) out_cases.push_back(make_output_case(r, outputs, i));
  {
    Redirect console(1, dir / "engine-console");
    Redirect diagnostics(2, dir / "engine-stderr");
    record::reset_streams();
    record::open_for_writing(record::OutStream::DataFile, (dir / "engine-data").string());
    for (const OutputCase& c : out_cases) {
      const record::OutStream stream =
          c.kind == kWriteData ? record::OutStream::DataFile : record::OutStream::Console;
      if (c.kind == kTextLine)
        record::write_text_line(stream, c.text);
      else
        engine_write(stream, c.layout, c.values, r);
      record::write_record(stream, kSeparatorLayout, {kSeparator});
    }
    record::close_stream(record::OutStream::DataFile);
    record::close_stream(record::OutStream::Console);
  }
  for (const OutputCase& c : out_cases) {
    if (c.kind == kTextLine) {
      jobs << kTextLine << " 0\n" << hex(c.text) << '\n';
    } else {
      write_job(jobs, c.kind, c.layout.text, c.values);
    }
  }

  // Input: the records of the console layouts on standard input, one file per power-flow case.
  std::vector<InputCase> in_cases;
  std::string console_records;
  for (std::size_t i = 0; i < count; ++i) {
    in_cases.push_back(make_input_case(r, inputs, i));
    const InputCase& c = in_cases.back();
    fortran_records += records_text(c);
    if (c.stream == record::InStream::Console) console_records += records_text(c);
    write_job(jobs, kRead, c.layout.text, c.targets);
  }
  jobs.close();
  write_file(dir / "records", fortran_records);
  write_file(dir / "console-records", console_records);

  std::vector<ReadResult> engine_results;
  {
    const int saved_in = dup(0);
    const int f = open((dir / "console-records").c_str(), O_RDONLY | O_CLOEXEC);
    dup2(f, 0);
    close(f);
    Redirect diagnostics(2, dir / "engine-stderr");
    record::reset_streams();
    const std::string pf = (dir / "case.din").string();
    std::string line;
    for (const InputCase& c : in_cases) {
      if (c.stream == record::InStream::PowerFlow) {
        write_file(pf, records_text(c));
        record::open_for_reading(record::InStream::PowerFlow, pf);
      }
      engine_results.push_back(engine_read(c.stream, c.layout, c.targets, r));
      if (c.stream == record::InStream::PowerFlow) {
        if (engine_results.back().status == 0) {
          // Exactly the case's records taken: the synchronisation line comes next.
          if (!record::read_line(c.stream, line) || line != kSync)
            engine_results.back().status = -1;
        }
        record::close_stream(record::InStream::PowerFlow);
      } else {
        bool first = true;
        while (record::read_line(c.stream, line) && line != kSync) {
          if (first && engine_results.back().status == 0) engine_results.back().status = -1;
          first = false;
        }
      }
    }
    dup2(saved_in, 0);
    close(saved_in);
  }
  record::reset_streams();

  // The other side.
  const std::string command = "'" + fortran.string() + "' '" + (dir / "jobs").string() + "' '" +
                              (dir / "records").string() + "' '" + (dir / "results").string() +
                              "' '" + (dir / "fortran-data").string() + "' '" +
                              (dir / "fortran-console").string() + "'";
  if (std::system(command.c_str()) != 0) {
    std::printf("the Fortran side failed: %s\n", command.c_str());
    return 2;
  }

  // Output compared.
  const auto engine_data = cases_of(read_file(dir / "engine-data"), true);
  const auto engine_console = cases_of(read_file(dir / "engine-console"), true);
  const auto fortran_data = cases_of(read_file(dir / "fortran-data"), false);
  const auto fortran_console = cases_of(read_file(dir / "fortran-console"), false);
  std::size_t di = 0, ci = 0;
  for (const OutputCase& c : out_cases) {
    ++sum.output_cases;
    const bool data = c.kind == kWriteData;
    const std::size_t k = data ? di++ : ci++;
    const auto& e = data ? engine_data : engine_console;
    const auto& g = data ? fortran_data : fortran_console;
    if (k >= e.size() || k >= g.size()) {
      ++sum.output_disagreements;
      report("output case missing on one side: " + c.where);
      continue;
    }
    if (e[k] == g[k]) continue;
    ++sum.output_disagreements;
    report(
        "output, " + c.where + " " + std::string(c.layout.text) + "\n" +
        (c.kind == kTextLine ? "  text \"" + escaped(c.text) + "\"\n" : describe(c.values, true)) +
        "  engine:   \"" + escaped(e[k]) + "\"\n  gfortran: \"" + escaped(g[k]) + "\"");
  }

  // Input compared.
  const std::vector<std::string> results = lines_of(read_file(dir / "results"));
  std::size_t line = 0;
  for (std::size_t n = 0; n < in_cases.size(); ++n) {
    const InputCase& c = in_cases[n];
    const ReadResult& e = engine_results[n];
    ++sum.input_cases;
    if (c.tag != kNoTag) ++sum.tagged[c.tag];
    FortranRead g;
    if (line >= results.size()) {
      report("input results of the Fortran side end early");
      ++sum.input_disagreements;
      break;
    }
    const std::string& head = results[line++];
    if (head == "OK") {
      g.ok = true;
      std::istringstream is(results.at(line++));
      for (std::int64_t v; is >> v;) g.ints.push_back(v);
      std::istringstream rs(results.at(line++));
      for (std::int64_t v; rs >> v;) g.reals.push_back(static_cast<std::uint64_t>(v));
      for (std::size_t t = 0; t < c.targets.text_lengths.size(); ++t)
        g.texts.push_back(unhex(results.at(line++)));
    } else {
      g.error = head;
    }

    bool agree = false;
    if (e.status == -1) {
      agree = false;
    } else if (e.status != 0 || !g.ok) {
      agree = (e.status != 0) == !g.ok;
    } else {
      agree = e.ints.size() == g.ints.size() && e.reals.size() == g.reals.size() &&
              e.texts.size() == g.texts.size();
      for (std::size_t i = 0; agree && i < e.ints.size(); ++i) agree = e.ints[i] == g.ints[i];
      for (std::size_t i = 0; agree && i < e.reals.size(); ++i)
        agree = same_real(e.reals[i], from_bits(g.reals[i]), sum);
      for (std::size_t i = 0; agree && i < e.texts.size(); ++i) {
        if (e.texts[i] == g.texts[i]) continue;
        const ShortText t = short_text(c, c.text_places[i]);
        agree = e.texts[i] == t.rule && g.texts[i] == t.gfortran;
        if (agree) ++sum.short_text;
      }
    }
    if (agree) {
      ++sum.input_agree;
      continue;
    }
    if (e.status != -1 && expected_difference(c.tag, e.status == 0, g.ok)) {
      ++sum.known[c.tag];
      continue;
    }
    ++sum.input_disagreements;
    std::ostringstream o;
    o << "input, " << c.where << " " << c.layout.text << "\n";
    for (std::size_t i = 0; i < c.records.size(); ++i)
      o << "  record \"" << escaped(c.records[i]) << "\"" << (c.crlf[i] ? " (CR LF)" : "") << "\n";
    o << describe(c.targets, false) << "  engine:   ";
    if (e.status == -1) {
      o << "took a wrong number of records";
    } else if (e.status != 0) {
      o << "failure " << e.status;
    } else {
      for (const auto i : e.ints) o << i << ' ';
      for (const double d : e.reals) o << real_text(d) << ' ';
      for (const auto& t : e.texts) o << '"' << escaped(t) << "\" ";
    }
    o << "\n  gfortran: ";
    if (!g.ok) {
      o << g.error;
    } else {
      for (const auto i : g.ints) o << i << ' ';
      for (const auto b : g.reals) o << real_text(from_bits(b)) << ' ';
      for (const auto& t : g.texts) o << '"' << escaped(t) << "\" ";
    }
    if (c.tag != kNoTag) o << "\n  (the field holds: " << kTagNames[c.tag] << ")";
    report(o.str());
  }

  std::printf("seed %llu: %zu output cases, %zu disagreements\n",
              static_cast<unsigned long long>(seed), sum.output_cases, sum.output_disagreements);
  std::printf("seed %llu: %zu input cases, %zu agree, %zu disagreements\n",
              static_cast<unsigned long long>(seed), sum.input_cases, sum.input_agree,
              sum.input_disagreements);
  std::printf("known differences taken out (fields seen / differed):\n");
  for (int t = 1; t < kTagCount; ++t)
    std::printf("  %-84s %6zu / %6zu\n", kTagNames[t], sum.tagged[static_cast<std::size_t>(t)],
                sum.known[static_cast<std::size_t>(t)]);
  std::printf("  %-84s %6s / %6zu\n", "zero read with another sign", "", sum.zero_sign);
  std::printf("  %-84s %6s / %6zu\n", "Aw field wider than its text, past the end of the record",
              "", sum.short_text);
  if (reported > kMaxReports)
    std::printf("(%d more disagreements not shown)\n", reported - kMaxReports);
  if (keep) {
    std::printf("files kept in %s\n", dir.c_str());
  } else {
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
  const bool failed = sum.output_disagreements + sum.input_disagreements > 0;
  return failed ? 1 : 0;
}

// ---------------------------------------------------------------------------------------------
// The table beside the sources.

// The "..."_layout constants of a C++ source: its string literals followed by _layout.
std::vector<std::string> layout_literals(const std::string& s) {
  std::vector<std::string> found;
  std::size_t i = 0;
  while (i < s.size()) {
    if (s.compare(i, 2, "//") == 0) {
      i = s.find('\n', i);
      if (i == std::string::npos) break;
      continue;
    }
    if (s.compare(i, 2, "/*") == 0) {
      i = s.find("*/", i);
      if (i == std::string::npos) break;
      i += 2;
      continue;
    }
    if (s[i] == '\'') {
      ++i;
      while (i < s.size() && s[i] != '\'') i += s[i] == '\\' ? 2 : 1;
      ++i;
      continue;
    }
    std::string literal;
    if (s.compare(i, 3, "R\"(") == 0) {
      const std::size_t end = s.find(")\"", i + 3);
      if (end == std::string::npos) break;
      literal = s.substr(i + 3, end - i - 3);
      i = end + 2;
    } else if (s[i] == '"') {
      ++i;
      while (i < s.size() && s[i] != '"') {
        if (s[i] == '\\' && i + 1 < s.size()) ++i;
        literal += s[i++];
      }
      ++i;
    } else {
      ++i;
      continue;
    }
    if (s.compare(i, 7, "_layout") == 0) found.push_back(literal);
  }
  return found;
}

int check_table(const fs::path& source) {
  std::multiset<std::string> in_sources;
  std::map<std::string, std::string> where;
  for (const char* folder : {"datagen", "main"}) {
    for (const auto& entry : fs::directory_iterator(source / folder)) {
      const std::string ext = entry.path().extension().string();
      if (ext != ".cpp" && ext != ".hpp") continue;
      for (const std::string& l : layout_literals(read_file(entry.path()))) {
        in_sources.insert(l);
        where[l] = entry.path().lexically_relative(source).string();
      }
    }
  }
  std::multiset<std::string> in_table;
  for (const auto& p : program_layouts::kAll) in_table.emplace(p.layout.text);
  int missing = 0;
  for (const std::string& l : in_sources)
    if (in_sources.count(l) > in_table.count(l) && ++missing)
      std::printf("layout of %s not in the table: %s\n", where[l].c_str(), l.c_str());
  for (const std::string& l : in_table)
    if (in_table.count(l) > in_sources.count(l) && ++missing)
      std::printf("layout in the table but not in the sources: %s\n", l.c_str());
  std::printf("%zu layouts in the sources, %zu in the table\n", in_sources.size(), in_table.size());
  return missing == 0 ? 0 : 1;
}

}  // namespace
}  // namespace kolven::differential

int main(int argc, char** argv) {
  using namespace kolven::differential;
  std::vector<std::string> args(argv + 1, argv + argc);
  fs::path fortran;
  std::size_t cases = env_number("KOLVEN_DIFFERENTIAL_CASES", 10000);
  std::uint64_t seed = env_number("KOLVEN_DIFFERENTIAL_SEED", 1);
  bool keep = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool has_value = i + 1 < args.size();
    if (a == "--check-table" && has_value) return check_table(args[i + 1]);
    if (a == "--skip") {
      std::printf("skipped: %s\n", has_value ? args[i + 1].c_str() : "");
      return 77;
    }
    if (a == "--fortran" && has_value) {
      fortran = args[++i];
    } else if (a == "--cases" && has_value) {
      cases = std::strtoull(args[++i].c_str(), nullptr, 10);
    } else if (a == "--seed" && has_value) {
      seed = std::strtoull(args[++i].c_str(), nullptr, 10);
    } else if (a == "--keep") {
      keep = true;
    } else {
      std::fprintf(stderr, "usage: %s --fortran PROGRAM [--cases N] [--seed S] [--keep]\n",
                   argv[0]);
      return 2;
    }
  }
  if (fortran.empty()) {
    std::fprintf(stderr, "--fortran PROGRAM is needed\n");
    return 2;
  }
  return run(fortran, cases, seed, keep);
}
