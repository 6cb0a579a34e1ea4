// make_din NB NL FILE [SEED]: writes a power-flow results file of NB bus lines then NL branch
// lines for the benchmarks (see din.hpp). FILE "-" is the standard output.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/din.hpp"

int main(int argc, char** argv) {
  if (argc < 4 || argc > 5) {
    std::fprintf(stderr, "usage: make_din NB NL FILE [SEED]\n");
    return 2;
  }
  const long long buses = std::atoll(argv[1]);
  const long long branches = std::atoll(argv[2]);
  const unsigned long long seed = argc == 5 ? std::strtoull(argv[4], nullptr, 10) : 1;
  const std::string name = argv[3];
  std::FILE* f = name == "-" ? stdout : std::fopen(name.c_str(), "wb");
  if (f == nullptr) {
    std::perror(name.c_str());
    return 1;
  }
  const bool ok = kolven::bench::write_din(f, buses, branches, seed);
  if (std::fclose(f) != 0 || !ok) {
    std::perror(name.c_str());
    return 1;
  }
  return 0;
}
