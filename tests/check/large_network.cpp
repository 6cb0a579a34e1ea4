#include "tests/check/large_network.hpp"

#include <cstdio>

namespace kolven::check_test {

std::string power_flow_text(int buses, int branches) {
  std::string out;
  out.reserve(static_cast<std::size_t>(buses + branches) * 82);
  char line[128];
  for (int i = 1; i <= buses; ++i) {
    // (7X,I3,4F10.5,I5,F5.2,2F10.5)
    std::snprintf(line, sizeof line, "B%06d%3d%10.5f%10.5f%10.5f%10.5f%5d%5.2f%10.5f%10.5f\n", i,
                  i % 1000, 0.95 + (i % 11) * 0.01, -30.0 + (i % 61), (i % 97) * 0.5 - 20.0,
                  (i % 53) * 0.25 - 5.0, i % 3, 1.0 + (i % 7) * 0.01, (i % 13) * 0.1,
                  (i % 17) * -0.1);
    out += line;
  }
  for (int j = 1; j <= branches; ++j) {
    // (6X,I4,2(8X,I2),4F10.5)
    std::snprintf(line, sizeof line, "L%05d%4d DE BAR%2d PARA BA%2d%10.5f%10.5f%10.5f%10.5f\n", j,
                  j % 10000, j % 100, (j + 1) % 100, (j % 19) * 0.001, 0.01 + (j % 23) * 0.01,
                  (j % 5) * 0.002, (j % 29) * 0.01);
    out += line;
  }
  return out;
}

std::string session_input(int buses, int branches) {
  char size[64];
  std::snprintf(size, sizeof size, "          %5d %5d %5d\n", buses, 0, branches);
  return std::string("\n\nrede\nrede\nREDE MAXIMA\n") + size +
         "               1\n"
         "            0.010   2.000\n"
         "             1    1    2   0.100\n";
}

}  // namespace kolven::check_test
