// What the fuzz targets share: the end of a run turned into an exception, a scratch folder, a way
// to report a broken rule that survives libFuzzer's closing of standard error, and the layouts.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "record/layout.hpp"
#include "record/record.hpp"
#include "record/values.hpp"
#include "tests/differential/program_layouts.hpp"

namespace kolven::fuzz {

// The fatal path and the orderly stop end here; the status comes back as this exception.
struct Ended {
  int status;
};

[[noreturn]] inline void throw_end(int status) {
  throw Ended{status};
}

// The failure number of a fatal end (0 for the orderly stop).
inline int failure_of(int status) {
  return status == 0 ? 0 : static_cast<int>(static_cast<unsigned>(status) - 0xC0000000u);
}

// Standard error as it was at start-up, kept for reports (libFuzzer's -close_fd_mask closes the
// real one to silence the fatal path's diagnostic lines).
inline int& report_fd() {
  static int fd = -1;
  return fd;
}

inline void keep_report_fd() {
  if (report_fd() < 0) report_fd() = fcntl(2, F_DUPFD_CLOEXEC, 100);
}

// A broken rule: says which, and crashes so that libFuzzer keeps the input.
[[noreturn]] inline void broken(const char* format, ...) {
  char line[4096];
  va_list args;
  va_start(args, format);
  std::vsnprintf(line, sizeof line, format, args);
  va_end(args);
  const int fd = report_fd() >= 0 ? report_fd() : 2;
  const std::string text = std::string("kolven fuzz: ") + line + "\n";
  if (::write(fd, text.data(), text.size()) < 0) {
  }
  std::abort();
}

// A folder of its own under the temporary folder, made once and removed at the end.
inline const std::string& scratch() {
  // Never destroyed, so that the removal at exit can still name it.
  static const std::string* const path = [] {
    // Memory-backed where there is such a folder: every run writes and reads files.
    const char* base = std::getenv("TMPDIR");
    std::string folder = base != nullptr && *base != '\0' ? base : "/tmp";
    if (base == nullptr && ::access("/dev/shm", W_OK) == 0) folder = "/dev/shm";
    auto* t = new std::string(folder + "/kolven-fuzz-XXXXXX");
    if (mkdtemp(t->data()) == nullptr) broken("cannot make a scratch folder");
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(scratch(), ignored);
    });
    return t;
  }();
  return *path;
}

inline void write_file(const std::string& path, std::string_view bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) broken("cannot write %s", path.c_str());
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0) broken("cannot write %s", path.c_str());
    done += static_cast<std::size_t>(n);
  }
  ::close(fd);
}

inline std::string read_file(const std::string& path) {
  std::string s;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return s;
  char buf[65536];
  for (ssize_t n; (n = ::read(fd, buf, sizeof buf)) > 0;)
    s.append(buf, static_cast<std::size_t>(n));
  ::close(fd);
  return s;
}

// Takes bytes off the front of a fuzz input; zeros once it is used up.
class Bytes {
 public:
  Bytes(const std::uint8_t* data, std::size_t size) : p_(data), n_(size) {}
  std::uint8_t byte() {
    if (n_ == 0) return 0;
    --n_;
    return *p_++;
  }
  template <class T>
  T take() {
    T v{};
    unsigned char b[sizeof(T)];
    for (auto& c : b) c = byte();
    std::memcpy(&v, b, sizeof v);
    return v;
  }
  std::string_view rest() {
    std::string_view s(reinterpret_cast<const char*>(p_), n_);
    p_ += n_;
    n_ = 0;
    return s;
  }
  std::size_t left() const { return n_; }

 private:
  const std::uint8_t* p_;
  std::size_t n_;
};

// A program layout, or one of the wide layouts that reach further into the rules.
struct UsedLayout {
  const char* where;
  record::Layout layout;
  unsigned uses;
  unsigned text_length;
};

inline std::vector<UsedLayout> layouts(unsigned mask, const std::vector<const char*>& extra) {
  static std::vector<record::OwnedLayout> owned;
  owned.reserve(64);
  std::vector<UsedLayout> v;
  for (const auto& p : program_layouts::kAll)
    if (p.uses & mask) v.push_back({p.where, p.layout, p.uses, p.text_length});
  for (const char* text : extra) {
    std::string error;
    auto l = record::OwnedLayout::parse(text, &error);
    if (!l) broken("layout %s: %s", text, error.c_str());
    owned.push_back(std::move(*l));
    v.push_back({text, owned.back().view(), mask, 4});
  }
  return v;
}

// The kinds of the first `limit` fields a walk of `l` meets; with `one_pass`, no reversion.
struct FieldProbe {
  std::size_t limit;
  bool one_pass;
  std::vector<record::Item> fields;
  bool reverted = false;
  bool more() const { return fields.size() < limit && !(one_pass && reverted); }
  void field(const record::Item& it) { fields.push_back(it); }
  void literal(std::string_view) {}
  void skip(unsigned) {}
  void column(unsigned) {}
  void slash() {}
  void dollar() {}
  void revert() { reverted = true; }
};

inline std::vector<record::Item> fields_of(const record::Layout& l, std::size_t limit,
                                           bool one_pass) {
  FieldProbe p{limit, one_pass, {}};
  record::walk(l, p);
  return p.fields;
}

// How many values or targets a statement passes, from one byte of the input: mostly as many as one
// walk takes, at times fewer, at times more (reversion).
inline std::vector<record::Item> choose_fields(const record::Layout& l, std::uint8_t choice,
                                               std::size_t cap) {
  const std::vector<record::Item> full = fields_of(l, cap, true);
  const unsigned mode = choice & 3u;
  if (mode == 1 && !full.empty()) return fields_of(l, (choice >> 2) % full.size(), true);
  if (mode == 2 && l.reversion_has_field)
    return fields_of(l, std::min<std::size_t>(cap, full.size() + 1 + (choice >> 2)), false);
  return full;
}

// Input targets built at run time: texts of any length up to kMaxText, reals at times as arrays
// or complex pairs, as the program passes them; read_record then takes them as its list.
class Targets {
 public:
  static constexpr std::size_t kMaxText = 96;
  static constexpr std::size_t kMaxTargets = 64;

  // `kinds` holds 'I', 'F' or 'T' per target; `lengths` the length of each text; the bits of
  // `grouping` choose how runs of reals are passed.
  Targets(const std::vector<char>& kinds, const std::vector<std::size_t>& lengths,
          std::uint32_t grouping) {
    ints_.reserve(kinds.size());
    reals_.reserve(kinds.size());
    complexes_.reserve(kinds.size());
    std::size_t t = 0;
    for (std::size_t k = 0; k < kinds.size();) {
      if (kinds[k] == 'I') {
        ints_.push_back(-7);
        list_.emplace_back(ints_.back());
        slots_.push_back({'I', ints_.size() - 1, 0});
        ++k;
      } else if (kinds[k] == 'T') {
        list_.push_back(add_text(lengths[t++]));
        slots_.push_back({'T', texts_.size() - 1, 0});
        ++k;
      } else {
        std::size_t run = 0;
        while (k + run < kinds.size() && kinds[k + run] == 'F') ++run;
        const unsigned form = grouping & 3u;
        grouping = (grouping >> 2) | (grouping << 30);
        if (form == 1 && run >= 2) {
          const std::size_t n = 2 + (grouping % (run - 1));
          const std::size_t first = reals_.size();
          for (std::size_t j = 0; j < n; ++j) {
            reals_.push_back(-7.0);
            slots_.push_back({'F', first + j, 0});
          }
          list_.emplace_back(std::span<double>(reals_.data() + first, n));
          k += n;
        } else if (form == 2 && run >= 2) {
          complexes_.push_back({-7.0, -7.0});
          list_.emplace_back(complexes_.back());
          slots_.push_back({'C', complexes_.size() - 1, 0});
          slots_.push_back({'C', complexes_.size() - 1, 1});
          k += 2;
        } else {
          reals_.push_back(-7.0);
          list_.emplace_back(reals_.back());
          slots_.push_back({'F', reals_.size() - 1, 0});
          ++k;
        }
      }
    }
  }

  void read(record::InStream stream, const record::Layout& layout) {
    read_table(stream, layout, std::make_index_sequence<kMaxTargets + 1>{});
  }

  // The values read, in list order.
  std::size_t size() const { return slots_.size(); }
  char kind(std::size_t i) const { return slots_[i].kind == 'C' ? 'F' : slots_[i].kind; }
  std::int32_t int_at(std::size_t i) const { return ints_[slots_[i].index]; }
  double real_at(std::size_t i) const {
    const Slot& s = slots_[i];
    if (s.kind == 'C') return s.part == 0 ? complexes_[s.index].re : complexes_[s.index].im;
    return reals_[s.index];
  }
  std::string text_at(std::size_t i) const { return texts_[slots_[i].index]; }
  // The same, for any kind: the value when the target is of that kind, else a filler.
  std::int32_t int_at_or(std::size_t i) const { return kind(i) == 'I' ? int_at(i) : 0; }
  double real_at_or(std::size_t i) const { return kind(i) == 'F' ? real_at(i) : 0.0; }
  std::string text_at_or(std::size_t i) const { return kind(i) == 'T' ? text_at(i) : ""; }

 private:
  struct Slot {
    char kind;
    std::size_t index;
    int part;
  };

  template <std::size_t N>
  static record::In make_text(Targets& t) {
    auto p = std::make_shared<record::Text<N>>();
    p->fill('?');
    t.keep_.push_back(p);
    t.views_.emplace_back(p->data(), N);
    t.texts_.emplace_back();
    return record::In(*p);
  }
  template <std::size_t... N>
  record::In add_text_of(std::size_t n, std::index_sequence<N...>) {
    using Maker = record::In (*)(Targets&);
    static constexpr Maker makers[] = {&Targets::make_text<N + 1>...};
    return makers[n - 1](*this);
  }
  record::In add_text(std::size_t n) {
    return add_text_of(n, std::make_index_sequence<kMaxText>{});
  }

  template <std::size_t... I>
  static void read_n(Targets& t, record::InStream stream, const record::Layout& layout,
                     std::index_sequence<I...>) {
    record::read_record(stream, layout, {t.list_[I]...});
  }
  template <std::size_t N>
  static void read_count(Targets& t, record::InStream stream, const record::Layout& layout) {
    read_n(t, stream, layout, std::make_index_sequence<N>{});
  }
  template <std::size_t... N>
  void read_table(record::InStream stream, const record::Layout& layout,
                  std::index_sequence<N...>) {
    using Reader = void (*)(Targets&, record::InStream, const record::Layout&);
    static constexpr Reader readers[] = {&Targets::read_count<N>...};
    readers[list_.size()](*this, stream, layout);
    for (std::size_t k = 0; k < views_.size(); ++k)
      texts_[k].assign(views_[k].data(), views_[k].size());
  }

  std::vector<std::int32_t> ints_;
  std::vector<double> reals_;
  std::vector<record::Complex> complexes_;
  std::vector<std::shared_ptr<void>> keep_;
  std::vector<std::span<char>> views_;
  std::vector<std::string> texts_;
  std::vector<record::In> list_;
  std::vector<Slot> slots_;
};

}  // namespace kolven::fuzz
