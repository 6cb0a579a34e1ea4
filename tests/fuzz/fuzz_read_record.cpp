// read_record with every input layout of the program and an arbitrary stream: the console input
// or a power-flow results file holding the bytes of the fuzz input. Each statement must end as the
// reference reading of the rules says: the same values, or the same failure (64 for a field that
// breaks the rules, 24 at the end of the stream), and nothing else.
//
// Input: a layout index, a byte that chooses how many targets, a byte for text lengths, a byte for
// how runs of reals are passed, then the bytes of the stream.
#include <unistd.h>

#include <cmath>

#include "tests/fuzz/common.hpp"
#include "tests/fuzz/reference.hpp"

namespace kolven::fuzz {
namespace {

using program_layouts::kConsoleIn;
using program_layouts::kPowerFlowIn;

const std::vector<UsedLayout>& input_layouts() {
  static const std::vector<UsedLayout> v =
      layouts(kConsoleIn | kPowerFlowIn,
              {"(2I12,F40.10,F25.0,F12.3)", "(A5,T3,I4,3X,F8.2,'ab',/,A,2(I2,F4.1))"});
  return v;
}

bool same_real(double engine, double expected) {
  if (std::isnan(engine) || std::isnan(expected)) return std::isnan(engine) && std::isnan(expected);
  if (engine == 0.0 && expected == 0.0) return true;  // a zero's sign is not kept
  return engine == expected;
}

std::string shown(char kind, std::int32_t i, double f, const std::string& t) {
  char b[64];
  if (kind == 'I') return std::to_string(i);
  if (kind == 'F') {
    std::snprintf(b, sizeof b, "%.17g", f);
    return b;
  }
  return "\"" + t + "\"";
}

void one(const std::uint8_t* data, std::size_t size) {
  Bytes in(data, size);
  const auto& all = input_layouts();
  const UsedLayout& u = all[in.byte() % all.size()];
  const std::uint8_t count = in.byte();
  std::uint8_t lengths = in.byte();
  const std::uint32_t grouping = in.take<std::uint32_t>();
  const std::string_view bytes = in.rest();

  std::vector<char> kinds;
  std::vector<std::size_t> text_lengths;
  std::vector<reference::Target> targets;
  for (const record::Item& it : choose_fields(u.layout, count, Targets::kMaxTargets)) {
    const char k = it.op == record::Op::Int ? 'I' : it.op == record::Op::Real ? 'F' : 'T';
    std::size_t n = 0;
    if (k == 'T') {
      const std::size_t options[] = {u.text_length, 1, it.width != 0 ? it.width : 4u, it.width + 3u,
                                     12};
      n = std::min<std::size_t>(std::max<std::size_t>(options[lengths % 5], 1), Targets::kMaxText);
      lengths = static_cast<std::uint8_t>(lengths / 5 + 1);
      text_lengths.push_back(n);
    }
    kinds.push_back(k);
    targets.push_back({k, n});
  }

  record::reset_streams();
  const std::string path = scratch() + "/stream";
  write_file(path, bytes);
  const bool console = (u.uses & kConsoleIn) != 0;
  const record::InStream stream = console ? record::InStream::Console : record::InStream::PowerFlow;
  if (console) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    dup2(fd, 0);
    ::close(fd);
  } else {
    record::open_for_reading(stream, path);
  }

  const std::vector<std::string> records = reference::records_of(bytes);
  std::size_t first = 0;
  for (int statement = 0; statement < 6; ++statement) {
    const reference::Input expected = reference::read(u.layout, targets, records, first);
    Targets t(kinds, text_lengths, grouping);
    int failure = 0;
    try {
      t.read(stream, u.layout);
    } catch (const Ended& e) {
      failure = failure_of(e.status);
    }
    if (failure != expected.failure)
      broken("%s %.*s, statement %d: ended with %d, the rules say %d", u.where,
             static_cast<int>(u.layout.text.size()), u.layout.text.data(), statement, failure,
             expected.failure);
    if (failure != 0) break;
    for (std::size_t i = 0; i < t.size(); ++i) {
      const reference::Value& v = expected.values[i];
      const bool same = t.kind(i) == 'I'   ? t.int_at(i) == v.i
                        : t.kind(i) == 'F' ? same_real(t.real_at(i), v.f)
                                           : t.text_at(i) == v.t;
      if (!same)
        broken("%s %.*s, statement %d, target %zu: %s, the rules say %s", u.where,
               static_cast<int>(u.layout.text.size()), u.layout.text.data(), statement, i,
               shown(t.kind(i), t.int_at_or(i), t.real_at_or(i), t.text_at_or(i)).c_str(),
               shown(v.kind, v.i, v.f, v.t).c_str());
    }
    first += expected.records;
  }
  record::reset_streams();
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
