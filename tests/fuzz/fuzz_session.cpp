// A whole run of KOLVEN typed from the fuzz input, in a folder that holds a small power-flow file
// (caso.din), an existing data file (velho.dad) and two folders named like files (pasta.din,
// pasta.dad). The run must end in order or through the fatal path with a failure that such input
// can cause, and every data file it leaves must be whole records.
//
// The console input is the fuzz input with every '/' made a '_', so that a typed file name always
// names an entry of the run's own folder. Commands typed at a console pause are not run.
#include <dirent.h>
#include <unistd.h>

#include <string>

#include "main/pause.hpp"
#include "main/run.hpp"
#include "tests/fuzz/common.hpp"

namespace kolven::fuzz {
namespace {

// The power-flow results file of the worked example: two buses and one branch.
constexpr std::string_view kPowerFlow =
    "BARRA-1  1   1.05000   0.00000   0.90000   0.10000    2 1.00   0.00000   0.00000\n"
    "BARRA-2  2   1.00000  -5.00000  -0.90000  -0.30000    0 0.00   0.00000   0.00000\n"
    "LT-1     1         1         2   0.00000   0.10000   0.00000   0.05000\n";

constexpr std::string_view kOldData = "old content of velho.dad\r\nsecond line\r\n";

void no_command(const std::string&) {}

const std::string& folder() {
  static const std::string f = [] {
    const std::string s = scratch() + "/run";
    ::mkdir(s.c_str(), 0755);
    ::mkdir((s + "/pasta.din").c_str(), 0755);
    ::mkdir((s + "/pasta.dad").c_str(), 0755);
    write_file(s + "/caso.din", kPowerFlow);
    return s;
  }();
  return f;
}

bool ends_with(const std::string& s, std::string_view end) {
  return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

// The data files in the folder, other than the folder named like one.
std::vector<std::string> data_files() {
  std::vector<std::string> v;
  DIR* d = ::opendir(".");
  if (d == nullptr) broken("cannot list the run's folder");
  while (const dirent* e = ::readdir(d)) {
    const std::string name = e->d_name;
    if (ends_with(name, ".dad") && name != "pasta.dad") v.push_back(name);
  }
  ::closedir(d);
  return v;
}

void check_data_file(const std::string& name, bool typed_nul) {
  const std::string bytes = read_file(name);
  if (name == "velho.dad" && bytes == kOldData) return;  // never written to
  if (!bytes.empty() && !ends_with(bytes, "\r\n"))
    broken("%s does not end with a whole record", name.c_str());
  std::size_t at = 0;
  for (int record = 1; at < bytes.size(); ++record) {
    const std::size_t end = bytes.find("\r\n", at);
    const std::string r = bytes.substr(at, end - at);
    at = end + 2;
    if (r.size() > 80) broken("%s: record %d has %zu characters", name.c_str(), record, r.size());
    // Only the title record holds typed text.
    if (record > 1 && !r.empty() && r.back() == ' ')
      broken("%s: record %d ends in a blank", name.c_str(), record);
    if (record > 1 && r.find('\0') != std::string::npos)
      broken("%s: record %d holds a NUL byte", name.c_str(), record);
    if (record == 1 && !typed_nul && r.find('\0') != std::string::npos)
      broken("%s: a NUL byte that was never typed", name.c_str());
  }
}

// The folder the fuzzer was started in, where it keeps its corpus and findings.
const std::string& home() {
  static const std::string h = [] {
    char buf[4096];
    if (::getcwd(buf, sizeof buf) == nullptr) broken("cannot tell the current folder");
    return std::string(buf);
  }();
  return h;
}

void run(const std::uint8_t* data, std::size_t size) {
  if (::chdir(folder().c_str()) != 0) broken("cannot enter the run's folder");
  for (const std::string& name : data_files()) ::unlink(name.c_str());
  write_file("velho.dad", kOldData);

  std::string typed(reinterpret_cast<const char*>(data), size);
  for (char& c : typed)
    if (c == '/') c = '_';
  const std::string input = scratch() + "/typed";
  write_file(input, typed);
  const int in = ::open(input.c_str(), O_RDONLY | O_CLOEXEC);
  dup2(in, 0);
  ::close(in);
  static const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
  dup2(null, 1);

  record::reset_streams();
  int failure = -1;
  try {
    KOLVEN();
  } catch (const Ended& e) {
    failure = failure_of(e.status);
  }
  record::reset_streams();
  // 0: the run's end; 24: the typed lines ran out; 64: a typed number that breaks the rules; 9: a
  // name of a folder; 43: a name with a NUL byte. Nothing else can happen in this folder.
  if (failure != 0 && failure != 24 && failure != 64 && failure != 9 && failure != 43)
    broken("the run ended with %d", failure);
  for (const std::string& name : data_files())
    check_data_file(name, typed.find('\0') != std::string::npos);
  if (read_file("caso.din") != kPowerFlow) broken("caso.din changed");
}

void one(const std::uint8_t* data, std::size_t size) {
  run(data, size);
  if (::chdir(home().c_str()) != 0) broken("cannot go back to %s", home().c_str());
}

}  // namespace
}  // namespace kolven::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  kolven::fuzz::keep_report_fd();
  kolven::fuzz::home();
  kolven::record::set_exit_handler(kolven::fuzz::throw_end);
  kolven::set_command_runner(kolven::fuzz::no_command);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kolven::fuzz::one(data, size);
  return 0;
}
