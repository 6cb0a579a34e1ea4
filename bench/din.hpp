// A power-flow results file made up for the benchmarks: bus lines and branch lines in the columns
// the network transfer reads, with values of the kind a power-flow study gives. The same seed
// gives the same bytes on every machine: the generator draws integers only and writes every real
// from an integer count of 1e-5 (or 1e-2) units, never through floating point.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

namespace kolven::bench {

// splitmix64: small, fast and the same everywhere.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}

  std::uint64_t next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // A whole number from lo to hi, both included.
  std::int64_t between(std::int64_t lo, std::int64_t hi) {
    return lo + static_cast<std::int64_t>(next() % static_cast<std::uint64_t>(hi - lo + 1));
  }
  // True once in `n` draws.
  bool one_in(unsigned n) { return next() % n == 0; }

 private:
  std::uint64_t state_;
};

// Writes `text` right-justified in the `width` columns at `out` (the caller keeps it short enough).
inline void put_right(char* out, unsigned width, const char* text) {
  const std::size_t n = std::strlen(text);
  std::memset(out, ' ', width);
  std::memcpy(out + width - n, text, n);
}

inline void put_int(char* out, unsigned width, long long value) {
  char buf[24];
  std::snprintf(buf, sizeof buf, "%lld", value);
  put_right(out, width, buf);
}

// A real of `units` times 10^-decimals in a field of `width` columns, the way a power-flow program
// prints it: with its point. Sometimes, as some programs do, without the point (104000 for
// 1.04000, read back with implied decimals), and a zero sometimes as -0.00000.
class RealWriter {
 public:
  explicit RealWriter(Random& random) : random_(random) {}

  void put(char* out, unsigned width, unsigned decimals, std::int64_t units) {
    char buf[32];
    if (units != 0 && random_.one_in(40)) {
      std::snprintf(buf, sizeof buf, "%lld", static_cast<long long>(units));
    } else {
      const bool negative = units < 0 || (units == 0 && random_.one_in(12));
      const std::uint64_t magnitude = static_cast<std::uint64_t>(units < 0 ? -units : units);
      std::uint64_t scale = 1;
      for (unsigned k = 0; k < decimals; ++k) scale *= 10;
      std::snprintf(buf, sizeof buf, "%s%llu.%0*llu", negative ? "-" : "",
                    static_cast<unsigned long long>(magnitude / scale), static_cast<int>(decimals),
                    static_cast<unsigned long long>(magnitude % scale));
    }
    put_right(out, width, buf);
  }

 private:
  Random& random_;
};

// One bus line, 80 columns: (7X,I3,4F10.5,I5,F5.2,2F10.5). `k` counts from 1.
inline std::string bus_line(Random& random, std::int64_t k) {
  RealWriter real(random);
  char line[80];
  std::memset(line, ' ', sizeof line);
  // Columns 1-7: the bus name, which the transfer drops.
  char name[16];
  const int type = k == 1 ? 2 : (random.one_in(9) ? 1 : 0);
  std::snprintf(name, sizeof name, "%s%lld", type == 0 ? "BAR" : "GER",
                static_cast<long long>(k % 10000));
  std::memcpy(line, name, std::strlen(name) > 7 ? 7 : std::strlen(name));
  put_int(line + 7, 3, (k - 1) % 999 + 1);
  // Voltage 0.9 to 1.1, angle -40 to 40 degrees, active and reactive power.
  const std::int64_t voltage = random.between(90000, 110000);
  const std::int64_t angle = k == 1 ? 0 : random.between(-4000000, 4000000);
  std::int64_t p = random.between(-500000, 500000);
  std::int64_t q = random.between(-200000, 200000);
  if (random.one_in(6)) p = q = 0;  // a bus with neither generation nor load
  real.put(line + 10, 10, 5, voltage);
  real.put(line + 20, 10, 5, angle);
  real.put(line + 30, 10, 5, p);
  real.put(line + 40, 10, 5, q);
  put_int(line + 50, 5, type);
  real.put(line + 55, 5, 2, type == 0 ? 0 : (random.one_in(4) ? random.between(90, 110) : 100));
  // Shunt conductance and susceptance: mostly none.
  const bool shunt = random.one_in(8);
  real.put(line + 60, 10, 5, shunt ? random.between(-5000, 5000) : 0);
  real.put(line + 70, 10, 5, shunt ? random.between(-50000, 50000) : 0);
  return std::string(line, sizeof line);
}

// One branch line, 70 columns: (6X,I4,2(8X,I2),4F10.5). `k` counts from 1.
inline std::string branch_line(Random& random, std::int64_t k) {
  RealWriter real(random);
  char line[70];
  std::memset(line, ' ', sizeof line);
  const bool transformer = random.one_in(5);
  std::memcpy(line, transformer ? "TR" : "LT", 2);
  put_int(line + 6, 4, (k - 1) % 9999 + 1);
  // Columns 11-18 and 21-28, skipped by the transfer, hold a word here and there.
  if (random.one_in(3)) std::memcpy(line + 12, "DE", 2);
  const std::int64_t from = random.between(1, 99);
  std::int64_t to = random.between(1, 98);
  if (to >= from) ++to;
  put_int(line + 18, 2, from);
  if (random.one_in(3)) std::memcpy(line + 22, "PARA", 4);
  put_int(line + 28, 2, to);
  // Series resistance and reactance 0.001 to 0.5; the second value is the line charging (or, for
  // a transformer, a tap correction, of either sign).
  const std::int64_t sign = random.one_in(10) ? -1 : 1;
  real.put(line + 30, 10, 5, sign * random.between(100, 50000));
  real.put(line + 40, 10, 5, random.between(100, 50000));
  if (transformer) {
    real.put(line + 50, 10, 5, 0);
    real.put(line + 60, 10, 5, random.between(-5000, 5000));
  } else {
    real.put(line + 50, 10, 5, random.one_in(4) ? random.between(-500, 500) : 0);
    real.put(line + 60, 10, 5, random.between(100, 50000));
  }
  return std::string(line, sizeof line);
}

// Writes `buses` bus lines then `branches` branch lines, each ended by LF; false on a write error.
inline bool write_din(std::FILE* f, std::int64_t buses, std::int64_t branches,
                      std::uint64_t seed = 1) {
  Random random(seed);
  for (std::int64_t k = 1; k <= buses; ++k) {
    const std::string line = bus_line(random, k);
    std::fwrite(line.data(), 1, line.size(), f);
    std::fputc('\n', f);
  }
  for (std::int64_t k = 1; k <= branches; ++k) {
    const std::string line = branch_line(random, k);
    std::fwrite(line.data(), 1, line.size(), f);
    std::fputc('\n', f);
  }
  return std::ferror(f) == 0;
}

}  // namespace kolven::bench
