// write_record with every output layout of the program and arbitrary values: any double bit
// pattern (NaN, infinities, subnormals, negative zero), any 32-bit integer, any text, on the
// console output or the stability data file. Every output must be the records the rules give, and
// on its own: each record as long as the layout fixes for its values and ended by CR LF unless $,
// no NUL byte unless a text held one, every I and F field right-justified digits or all asterisks.
//
// Input: a layout index, a byte that chooses how many values, a byte for the stream and how runs
// of reals are passed, then the values, each taken from the bytes as its kind needs.
#include <unistd.h>

#include <bit>
#include <cmath>

#include "tests/fuzz/common.hpp"
#include "tests/fuzz/reference.hpp"

namespace kolven::fuzz {
namespace {

using program_layouts::kConsoleOut;
using program_layouts::kDataOut;

const std::vector<UsedLayout>& output_layouts() {
  static const std::vector<UsedLayout> v =
      layouts(kConsoleOut | kDataOut,
              {"(I11,1X,I12,F40.17,F12.0,F3.1,F1.0,F2.1)", "(A,1X,I11,T3,F30.5,A5,/,2(F14.4,2X),$)",
               "(T10,A3,T2,I4,'xy',2X,F9.0)", "(F255.200)"});
  return v;
}

double real_from(Bytes& in) {
  const std::uint8_t mode = in.byte();
  if (mode < 160) return std::bit_cast<double>(in.take<std::uint64_t>());
  const double m = static_cast<double>(in.take<std::int32_t>());
  if (mode < 208) return std::ldexp(m, -static_cast<int>(mode % 24));  // ties among them
  return m / std::pow(10.0, mode % 10);
}

bool digits_only(std::string_view s) {
  for (const char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

// What an I or F field may look like: w asterisks, or blanks and then the number.
void check_field(std::string_view f, const reference::Placed& p, const char* where) {
  if (f.size() != p.width)
    broken("%s: a field of %zu columns for width %u", where, f.size(), p.width);
  if (f.find_first_not_of('*') == std::string_view::npos) return;
  const std::size_t first = f.find_first_not_of(' ');
  if (first == std::string_view::npos) broken("%s: a numeric field of blanks only", where);
  std::string_view s = f.substr(first);
  if (p.op == record::Op::Int) {
    if (s[0] == '-') s.remove_prefix(1);
    if (s.empty() || !digits_only(s) || (s.size() > 1 && s[0] == '0'))
      broken("%s: I%u field \"%.*s\"", where, p.width, static_cast<int>(f.size()), f.data());
    return;
  }
  if (s == "NaN" || s == "Inf" || s == "-Inf" || s == "Infinity" || s == "-Infinity") return;
  if (s[0] == '-') s.remove_prefix(1);
  const std::size_t point = s.find('.');
  if (point == std::string_view::npos || s.size() - point - 1 != p.decimals ||
      !digits_only(s.substr(0, point)) || !digits_only(s.substr(point + 1)) ||
      (point > 1 && s[0] == '0'))
    broken("%s: F%u.%u field \"%.*s\"", where, p.width, p.decimals, static_cast<int>(f.size()),
           f.data());
}

void one(const std::uint8_t* data, std::size_t size) {
  Bytes in(data, size);
  const auto& all = output_layouts();
  const UsedLayout& u = all[in.byte() % all.size()];
  const std::uint8_t count = in.byte();
  const std::uint8_t options = in.byte();
  std::uint32_t grouping = in.take<std::uint32_t>();

  // The values, and the engine's list of them.
  std::vector<reference::Value> values;
  bool nul = false;
  for (const record::Item& it : choose_fields(u.layout, count, 400)) {
    reference::Value v;
    if (it.op == record::Op::Int) {
      v.kind = 'I';
      v.i = in.take<std::int32_t>();
    } else if (it.op == record::Op::Real) {
      v.kind = 'F';
      v.f = real_from(in);
    } else {
      v.kind = 'T';
      const std::size_t n = in.byte() % (it.width + 24u);
      for (std::size_t k = 0; k < n; ++k) v.t += static_cast<char>(in.byte());
      nul = nul || v.t.find('\0') != std::string::npos;
    }
    values.push_back(std::move(v));
  }
  std::vector<double> reals;
  std::vector<record::Complex> complexes;
  reals.reserve(values.size());
  complexes.reserve(values.size());
  std::vector<record::Out> list;
  for (std::size_t k = 0; k < values.size();) {
    const reference::Value& v = values[k];
    if (v.kind == 'I') {
      list.emplace_back(v.i);
      ++k;
    } else if (v.kind == 'T') {
      list.emplace_back(std::string_view(v.t));
      ++k;
    } else {
      std::size_t run = 0;
      while (k + run < values.size() && values[k + run].kind == 'F') ++run;
      const unsigned form = grouping & 3u;
      grouping = (grouping >> 2) | (grouping << 30);
      if (form == 1 && run >= 2) {
        const std::size_t n = 2 + grouping % (run - 1);
        const std::size_t first = reals.size();
        for (std::size_t j = 0; j < n; ++j) reals.push_back(values[k + j].f);
        list.emplace_back(std::span<const double>(reals.data() + first, n));
        k += n;
      } else if (form == 2 && run >= 2) {
        complexes.push_back({values[k].f, values[k + 1].f});
        list.emplace_back(complexes.back());
        k += 2;
      } else {
        list.emplace_back(v.f);
        ++k;
      }
    }
  }

  // The statement, on the stream its layout is used on (either, for a layout used on both).
  const bool console =
      (u.uses & kConsoleOut) != 0 && ((u.uses & kDataOut) == 0 || (options & 1) != 0);
  const std::string path = scratch() + (console ? "/console" : "/data");
  record::reset_streams();
  if (console) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    dup2(fd, 1);
    ::close(fd);
  } else {
    ::unlink(path.c_str());
    record::open_for_writing(record::OutStream::DataFile, path);
  }
  try {
    record::write_record(console ? record::OutStream::Console : record::OutStream::DataFile,
                         u.layout, std::span<const record::Out>(list.data(), list.size()));
    if (!console) record::close_stream(record::OutStream::DataFile);
  } catch (const Ended& e) {
    broken("%s: the statement ended the run (%d)", u.where, failure_of(e.status));
  }
  const std::string bytes = read_file(path);
  record::reset_streams();

  // The records, checked on their own.
  const reference::Output expected = reference::write(u.layout, values);
  std::size_t at = 0;
  std::vector<std::size_t> starts;
  for (std::size_t r = 0; r < expected.records.size(); ++r) {
    starts.push_back(at);
    at += expected.records[r].size();
    if (at > bytes.size()) broken("%s: record %zu shorter than its layout fixes", u.where, r);
    if (!expected.dollar[r]) {
      if (bytes.compare(at, 2, "\r\n") != 0)
        broken("%s: record %zu not %zu characters and CR LF", u.where, r,
               expected.records[r].size());
      at += 2;
    }
  }
  if (at != bytes.size()) broken("%s: %zu bytes after the last record", u.where, bytes.size() - at);
  if (!nul && bytes.find('\0') != std::string::npos) broken("%s: a NUL byte", u.where);
  for (std::size_t k = 0; k < expected.placed.size(); ++k) {
    const reference::Placed& p = expected.placed[k];
    if (p.op != record::Op::Int && p.op != record::Op::Real) continue;
    // A field that a later item wrote over (T moving left) is checked no further.
    bool covered = false;
    for (std::size_t j = k + 1; j < expected.placed.size(); ++j) {
      const reference::Placed& q = expected.placed[j];
      covered = covered || (q.record == p.record && q.column < p.column + p.width &&
                            p.column < q.column + q.width);
    }
    if (!covered)
      check_field(std::string_view(bytes).substr(starts[p.record] + p.column, p.width), p, u.where);
  }

  // And against the rules.
  if (bytes != expected.bytes) {
    std::size_t d = 0;
    while (d < bytes.size() && bytes[d] == expected.bytes[d]) ++d;
    broken("%s %.*s: differs from the rules at byte %zu: \"%s\" instead of \"%s\"", u.where,
           static_cast<int>(u.layout.text.size()), u.layout.text.data(), d,
           bytes.substr(d, 40).c_str(), expected.bytes.substr(d, 40).c_str());
  }
}

}  // namespace
}  // namespace kolven::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  kolven::fuzz::keep_report_fd();
  kolven::record::set_exit_handler(kolven::fuzz::throw_end);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kolven::fuzz::one(data, size);
  return 0;
}
