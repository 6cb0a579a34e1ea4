// Micro-benchmarks of the record engine: one output or input statement on the network layouts
// and on screen layouts, and the single-field conversions under them, in nanoseconds per
// statement (or per field). The reference benchmarks at the end time the standard library
// conversions that format_real and scan_real build on, to show how much the engine adds.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <span>
#include <string>
#include <vector>

#include "bench/din.hpp"
#include "datagen/network.hpp"
#include "record/convert.hpp"
#include "record/record.hpp"

namespace {

using namespace kolven;
using namespace kolven::record::literals;
using record::InStream;
using record::OutStream;

// Screen layouts of the generator screen: its help text (13 lines of literals and X moves) and its
// field-name header (T moves and a nested group of hyphens).
constexpr record::Layout kScreenHelp =
    "(5X,'   BUS = Barra do Gerador',/,5X,'   T = Tipo de modelo de maquina',/,12X,'   (= 0 para tensao de excitacao constante,',/,12X,'    = 1 para modelo de 3a. ordem,',/,12X,'    = 2 como tipo1,porem sem regulador de tensao,',/,12X,'    = 3 para modelo de 6a. ordem)',/,5X,'   R = Resistencia da Armadura',/,5X,'   XLD = Reatancia ttransitoria de eixo-d',/,5X,'   XQ = Reatancia de eixo-q',/,5X,'   XD = Reatancia sincrona de eixo-d',/,5X,'   H = Constante de inercia(s)',/,5X,'   D = Constante de amortecimento',/,5X,'   TLD0 = Cte. de tempo transitoria de eixo-d em circ. aberto',/,/)"_layout;
constexpr record::Layout kScreenHeader =
    "(T2,'BUS',T6,'T',T10,'R',T16,'XLD',T24,'XQ',T31,'XD',T38,'H',T45,'D',T51,'TLDO',/,1X,3('-'),' - ',7(6('-'),1X))"_layout;
constexpr record::Layout kGeneratorHeading = "(/,/,10X,'Dados do Gerador',I3)"_layout;

// Lines in the power-flow files that the input benchmarks read; a file is opened again when its
// lines are used up.
constexpr std::int64_t kFileLines = 200000;
// Distinct lines whose values the output and conversion benchmarks cycle through.
constexpr std::size_t kSample = 4096;

struct Bus {
  std::int32_t i1 = 0, i2 = 0;
  double r1 = 0, r2 = 0, r3 = 0, r4 = 0, r5 = 0, r6 = 0, r7 = 0;
};
struct Branch {
  std::int32_t i1 = 0, i2 = 0, i3 = 0;
  record::Complex z1, z2;
};

struct Fixture {
  std::filesystem::path folder;
  std::string bus_file;     // kFileLines bus lines
  std::string branch_file;  // kFileLines branch lines
  std::string sample_file;  // kSample bus lines then kSample branch lines
  std::string data_file;    // a data file that the file-sink benchmarks write
  std::vector<Bus> buses;
  std::vector<Branch> branches;
  std::vector<std::string> bus_fields;  // the F10.5 fields of the sample bus lines
  std::vector<std::string> f52_fields;  // their F5.2 fields
  std::vector<std::string> int_fields;  // their I3 and I5 fields
  std::vector<double> reals;            // every real of the sample, as read
  int saved_stdout = -1;
  int null_fd = -1;
};

Fixture* fx = nullptr;

void write_file(const std::string& name, std::int64_t buses, std::int64_t branches,
                std::uint64_t seed) {
  std::FILE* f = std::fopen(name.c_str(), "wb");
  if (f == nullptr || !bench::write_din(f, buses, branches, seed) || std::fclose(f) != 0) {
    std::perror(name.c_str());
    std::exit(1);
  }
}

void set_up() {
  fx = new Fixture;
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp != nullptr ? tmp : "/tmp") + "/kolven-micro-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) {
    std::perror("mkdtemp");
    std::exit(1);
  }
  fx->folder = pattern;
  fx->bus_file = (fx->folder / "buses.din").string();
  fx->branch_file = (fx->folder / "branches.din").string();
  fx->sample_file = (fx->folder / "sample.din").string();
  fx->data_file = (fx->folder / "out.dad").string();
  write_file(fx->bus_file, kFileLines, 0, 1);
  write_file(fx->branch_file, 0, kFileLines, 2);
  write_file(fx->sample_file, kSample, kSample, 3);

  // The sample's values, read by the engine itself, and its raw fields.
  record::open_for_reading(InStream::PowerFlow, fx->sample_file);
  fx->buses.resize(kSample);
  fx->branches.resize(kSample);
  for (Bus& b : fx->buses) {
    record::read_record(InStream::PowerFlow, datagen::kBusLine,
                        {b.i1, b.r1, b.r2, b.r3, b.r4, b.i2, b.r5, b.r6, b.r7});
    for (double v : {b.r1, b.r2, b.r3, b.r4, b.r6, b.r7}) fx->reals.push_back(v);
  }
  for (Branch& b : fx->branches) {
    record::read_record(InStream::PowerFlow, datagen::kBranchLine, {b.i1, b.i2, b.i3, b.z1, b.z2});
    for (double v : {b.z1.re, b.z1.im, b.z2.re, b.z2.im}) fx->reals.push_back(v);
  }
  record::close_stream(InStream::PowerFlow);
  bench::Random random(3);
  for (std::size_t k = 1; k <= kSample; ++k) {
    const std::string line = bench::bus_line(random, static_cast<std::int64_t>(k));
    for (std::size_t col : {10, 20, 30, 40, 60, 70}) fx->bus_fields.push_back(line.substr(col, 10));
    fx->f52_fields.push_back(line.substr(55, 5));
    fx->int_fields.push_back(line.substr(7, 3));
    fx->int_fields.push_back(line.substr(50, 5));
  }

  fx->null_fd = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
  fx->saved_stdout = ::dup(1);
}

void tear_down() {
  std::error_code ignored;
  std::filesystem::remove_all(fx->folder, ignored);
  delete fx;
}

// The data file, on /dev/null (sink 0) or on a file in the temporary folder (sink 1), which is
// opened again now and then so that it stays small.
class DataSink {
 public:
  explicit DataSink(const benchmark::State& state) : to_file_(state.range(0) == 1) { open(); }
  ~DataSink() { record::close_stream(OutStream::DataFile); }
  void tick() {
    if (to_file_ && ++records_ == 100000) {
      record::close_stream(OutStream::DataFile);
      open();
    }
  }

 private:
  void open() {
    records_ = 0;
    record::open_for_writing(OutStream::DataFile, to_file_ ? fx->data_file : "/dev/null");
  }
  bool to_file_;
  std::int64_t records_ = 0;
};

void BM_WriteBusRecord(benchmark::State& state) {
  DataSink sink(state);
  std::size_t k = 0;
  std::int32_t index = 1;
  for (auto _ : state) {
    const Bus& b = fx->buses[k];
    record::write_record(
        OutStream::DataFile, datagen::kBusRecord,
        {"barr", "a   ", index, b.i1, b.r1, b.r2, b.r3, b.r4, b.i2, b.r5, b.r6, b.r7});
    k = (k + 1) % kSample;
    ++index;
    sink.tick();
  }
  state.SetItemsProcessed(state.iterations());
  state.SetBytesProcessed(state.iterations() * 82);
}
BENCHMARK(BM_WriteBusRecord)->Arg(0)->Arg(1);

// The same record with its four first reals passed as an array: the statement no longer matches
// the fields one for one, so the layout is walked item by item instead of run by its flat plan.
void BM_WriteBusRecordWalked(benchmark::State& state) {
  DataSink sink(state);
  std::size_t k = 0;
  std::int32_t index = 1;
  for (auto _ : state) {
    const Bus& b = fx->buses[k];
    const double reals[4] = {b.r1, b.r2, b.r3, b.r4};
    record::write_record(
        OutStream::DataFile, datagen::kBusRecord,
        {"barr", "a   ", index, b.i1, std::span<const double>(reals), b.i2, b.r5, b.r6, b.r7});
    k = (k + 1) % kSample;
    ++index;
    sink.tick();
  }
  state.SetItemsProcessed(state.iterations());
  state.SetBytesProcessed(state.iterations() * 82);
}
BENCHMARK(BM_WriteBusRecordWalked)->Arg(0);

void BM_WriteBranchRecord(benchmark::State& state) {
  DataSink sink(state);
  std::size_t k = 0;
  std::int32_t index = 1;
  for (auto _ : state) {
    const Branch& b = fx->branches[k];
    record::write_record(OutStream::DataFile, datagen::kBranchRecord,
                         {"ramo", index, b.i1, b.i2, b.i3, b.z1, b.z2});
    k = (k + 1) % kSample;
    ++index;
    sink.tick();
  }
  state.SetItemsProcessed(state.iterations());
  state.SetBytesProcessed(state.iterations() * 72);
}
BENCHMARK(BM_WriteBranchRecord)->Arg(0)->Arg(1);

// Console statements, with the standard output on /dev/null while they run. Each statement is
// handed to the system at once, as on the real console.
class QuietConsole {
 public:
  QuietConsole() {
    std::cout.flush();
    std::fflush(stdout);
    ::dup2(fx->null_fd, 1);
  }
  ~QuietConsole() { ::dup2(fx->saved_stdout, 1); }
};

void BM_ShowScreenHelp(benchmark::State& state) {
  QuietConsole quiet;
  for (auto _ : state) record::write_record(OutStream::Console, kScreenHelp);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ShowScreenHelp);

void BM_ShowScreenHeader(benchmark::State& state) {
  QuietConsole quiet;
  for (auto _ : state) record::write_record(OutStream::Console, kScreenHeader);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ShowScreenHeader);

void BM_ShowGeneratorHeading(benchmark::State& state) {
  QuietConsole quiet;
  std::int32_t index = 1;
  for (auto _ : state) record::write_record(OutStream::Console, kGeneratorHeading, {index});
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ShowGeneratorHeading);

// Input statements on the power-flow file; `lines` records per opening of `name`.
class PowerFlowSource {
 public:
  explicit PowerFlowSource(const std::string& name) : name_(name) { open(); }
  ~PowerFlowSource() { record::close_stream(InStream::PowerFlow); }
  void tick() {
    if (++lines_ == kFileLines) {
      record::close_stream(InStream::PowerFlow);
      open();
    }
  }

 private:
  void open() {
    lines_ = 0;
    record::open_for_reading(InStream::PowerFlow, name_);
  }
  std::string name_;
  std::int64_t lines_ = 0;
};

void BM_ReadBusLine(benchmark::State& state) {
  PowerFlowSource source(fx->bus_file);
  Bus b;
  for (auto _ : state) {
    record::read_record(InStream::PowerFlow, datagen::kBusLine,
                        {b.i1, b.r1, b.r2, b.r3, b.r4, b.i2, b.r5, b.r6, b.r7});
    benchmark::DoNotOptimize(b);
    source.tick();
  }
  state.SetItemsProcessed(state.iterations());
  state.SetBytesProcessed(state.iterations() * 81);
}
BENCHMARK(BM_ReadBusLine);

// The same line read into an array of four reals: walked item by item.
void BM_ReadBusLineWalked(benchmark::State& state) {
  PowerFlowSource source(fx->bus_file);
  Bus b;
  double reals[4];
  for (auto _ : state) {
    record::read_record(InStream::PowerFlow, datagen::kBusLine,
                        {b.i1, std::span<double>(reals), b.i2, b.r5, b.r6, b.r7});
    benchmark::DoNotOptimize(reals);
    benchmark::DoNotOptimize(b);
    source.tick();
  }
  state.SetItemsProcessed(state.iterations());
  state.SetBytesProcessed(state.iterations() * 81);
}
BENCHMARK(BM_ReadBusLineWalked);

void BM_ReadBranchLine(benchmark::State& state) {
  PowerFlowSource source(fx->branch_file);
  Branch b;
  for (auto _ : state) {
    record::read_record(InStream::PowerFlow, datagen::kBranchLine, {b.i1, b.i2, b.i3, b.z1, b.z2});
    benchmark::DoNotOptimize(b);
    source.tick();
  }
  state.SetItemsProcessed(state.iterations());
  state.SetBytesProcessed(state.iterations() * 71);
}
BENCHMARK(BM_ReadBranchLine);

// One bus line of the transfer: its read and its record, as the transfer loop does them.
void BM_TransferBus(benchmark::State& state) {
  PowerFlowSource source(fx->bus_file);
  DataSink sink(state);
  Bus b;
  std::int32_t index = 1;
  for (auto _ : state) {
    record::read_record(InStream::PowerFlow, datagen::kBusLine,
                        {b.i1, b.r1, b.r2, b.r3, b.r4, b.i2, b.r5, b.r6, b.r7});
    record::write_record(
        OutStream::DataFile, datagen::kBusRecord,
        {"barr", "a   ", index, b.i1, b.r1, b.r2, b.r3, b.r4, b.i2, b.r5, b.r6, b.r7});
    ++index;
    source.tick();
    sink.tick();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TransferBus)->Arg(0)->Arg(1);

// Single fields.

void BM_FormatReal_F10_5(benchmark::State& state) {
  char out[16];
  std::size_t k = 0;
  const std::size_t n = fx->reals.size();
  for (auto _ : state) {
    record::format_real(out, 10, 5, fx->reals[k]);
    benchmark::DoNotOptimize(out);
    k = k + 1 == n ? 0 : k + 1;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FormatReal_F10_5);

void BM_FormatReal_F5_2(benchmark::State& state) {
  char out[8];
  std::size_t k = 0;
  for (auto _ : state) {
    record::format_real(out, 5, 2, fx->buses[k].r5);
    benchmark::DoNotOptimize(out);
    k = (k + 1) % kSample;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FormatReal_F5_2);

void BM_FormatReal_Zero(benchmark::State& state) {
  char out[16];
  double v = 0.0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(v);
    record::format_real(out, 10, 5, v);
    benchmark::DoNotOptimize(out);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FormatReal_Zero);

void BM_FormatInt(benchmark::State& state) {
  char out[8];
  std::size_t k = 0;
  for (auto _ : state) {
    record::format_int(out, 3, fx->buses[k].i1);
    benchmark::DoNotOptimize(out);
    k = (k + 1) % kSample;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FormatInt);

void BM_FormatInt_Overflow(benchmark::State& state) {
  char out[8];
  std::int32_t v = 12345;
  for (auto _ : state) {
    benchmark::DoNotOptimize(v);
    record::format_int(out, 2, v);  // a running index past 99: "**"
    benchmark::DoNotOptimize(out);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FormatInt_Overflow);

void scan_fields(benchmark::State& state, const std::vector<std::string>& fields,
                 unsigned decimals) {
  double v = 0;
  std::size_t k = 0;
  const std::size_t n = fields.size();
  for (auto _ : state) {
    const bool ok = record::scan_real(fields[k], decimals, v);
    benchmark::DoNotOptimize(ok);
    benchmark::DoNotOptimize(v);
    k = k + 1 == n ? 0 : k + 1;
  }
  state.SetItemsProcessed(state.iterations());
}

// The F10.5 fields of the bus lines as they are: mostly with a point, some without, some zeros.
void BM_ScanReal_F10_5(benchmark::State& state) {
  scan_fields(state, fx->bus_fields, 5);
}
BENCHMARK(BM_ScanReal_F10_5);

void BM_ScanReal_F5_2(benchmark::State& state) {
  scan_fields(state, fx->f52_fields, 2);
}
BENCHMARK(BM_ScanReal_F5_2);

void BM_ScanReal_Typical(benchmark::State& state) {
  static const std::vector<std::string> one = {"   1.04000"};
  scan_fields(state, one, 5);
}
BENCHMARK(BM_ScanReal_Typical);

void BM_ScanReal_Implied(benchmark::State& state) {
  static const std::vector<std::string> one = {"    104000"};
  scan_fields(state, one, 5);
}
BENCHMARK(BM_ScanReal_Implied);

void BM_ScanReal_Zero(benchmark::State& state) {
  static const std::vector<std::string> one = {"   0.00000"};
  scan_fields(state, one, 5);
}
BENCHMARK(BM_ScanReal_Zero);

void BM_ScanInt(benchmark::State& state) {
  std::int32_t v = 0;
  std::size_t k = 0;
  const std::size_t n = fx->int_fields.size();
  for (auto _ : state) {
    const bool ok = record::scan_int(fx->int_fields[k], v);
    benchmark::DoNotOptimize(ok);
    benchmark::DoNotOptimize(v);
    k = k + 1 == n ? 0 : k + 1;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ScanInt);

// References: the standard conversions alone, on the same values.

void BM_Ref_ToCharsFixed5(benchmark::State& state) {
  char out[600];
  std::size_t k = 0;
  const std::size_t n = fx->reals.size();
  for (auto _ : state) {
    const auto r = std::to_chars(out, out + sizeof out, fx->reals[k], std::chars_format::fixed, 5);
    benchmark::DoNotOptimize(r.ptr);
    benchmark::DoNotOptimize(out);
    k = k + 1 == n ? 0 : k + 1;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Ref_ToCharsFixed5);

void BM_Ref_Snprintf10_5(benchmark::State& state) {
  char out[64];
  std::size_t k = 0;
  const std::size_t n = fx->reals.size();
  for (auto _ : state) {
    std::snprintf(out, sizeof out, "%10.5f", fx->reals[k]);
    benchmark::DoNotOptimize(out);
    k = k + 1 == n ? 0 : k + 1;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Ref_Snprintf10_5);

void BM_Ref_FromChars(benchmark::State& state) {
  // The digits-and-exponent text that scan_real hands to from_chars for "   1.04000".
  static const char text[] = "104000e-5";
  double v = 0;
  for (auto _ : state) {
    const auto r = std::from_chars(text, text + sizeof text - 1, v, std::chars_format::scientific);
    benchmark::DoNotOptimize(r.ptr);
    benchmark::DoNotOptimize(v);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Ref_FromChars);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  set_up();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  tear_down();
  return 0;
}
