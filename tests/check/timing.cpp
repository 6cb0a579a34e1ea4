// Times kolven-check on the data file of the largest network: KOLVEN copies 99999 buses and 99999
// branches with no generator, then the checker reads the data file, with and without the
// power-flow results file, a few times over. Prints the times; asserts nothing about them.
//
//   check_timing [runs [folder]]     the files are made in `folder` and kept, when one is given
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "tests/check/large_network.hpp"
#include "tests/check/run_check.hpp"
#include "tests/support/run.hpp"

namespace ck = kolven::check_test;
namespace kt = kolven::testing;

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  kt::Scratch scratch;
  const std::filesystem::path dir_path = argc > 2 ? std::filesystem::path(argv[2]) : scratch.path();
  struct {
    const std::filesystem::path& p;
    const std::filesystem::path& path() const { return p; }
  } dir{dir_path};
  kt::write_file(dir.path() / "rede.din",
                 ck::power_flow_text(ck::kLargestCount, ck::kLargestCount));
  const kt::Result made =
      kt::run_kolven(dir.path(), ck::session_input(ck::kLargestCount, ck::kLargestCount));
  if (made.status != 0) {
    std::fprintf(stderr, "kolven ended with status %d\n%s", made.status, made.err.c_str());
    return 1;
  }
  const auto bytes = kt::read_file(dir.path() / "rede.dad").size();
  std::printf("data file: %zu bytes\n", bytes);

  for (const bool with_din : {false, true}) {
    std::vector<double> seconds;
    kt::Result last;
    for (int i = 0; i < runs; ++i) {
      std::vector<std::string> args{"rede.dad"};
      if (with_din) args.push_back("rede.din");
      const auto start = std::chrono::steady_clock::now();
      last = ck::run_check(dir.path(), args);
      seconds.push_back(
          std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(seconds.begin(), seconds.end());
    std::printf(
        "kolven-check rede.dad%s: status %d, %zu diagnostic lines, best %.3f s, median %.3f s"
        " over %d runs\n",
        with_din ? " rede.din" : "", last.status, ck::lines_of(last.out).size(), seconds.front(),
        seconds[seconds.size() / 2], runs);
    if (!last.out.empty()) std::printf("%.2000s", last.out.c_str());
  }
  return 0;
}
