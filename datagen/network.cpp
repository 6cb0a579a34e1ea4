#include "datagen/network.hpp"

#include <cstdint>

#include "datagen/gerdados.hpp"
#include "datagen/screen.hpp"

namespace kolven::datagen {
namespace {

// The values of the one bus line held: two integers and seven reals, in the order of the line.
std::int32_t bus_integer_1 = 0;
std::int32_t bus_integer_2 = 0;
double bus_real_1 = 0.0;
double bus_real_2 = 0.0;
double bus_real_3 = 0.0;
double bus_real_4 = 0.0;
double bus_real_5 = 0.0;
double bus_real_6 = 0.0;
double bus_real_7 = 0.0;

// The values of the one branch line held: three integers and two complex values.
std::int32_t branch_integer_1 = 0;
std::int32_t branch_integer_2 = 0;
std::int32_t branch_integer_3 = 0;
record::Complex branch_complex_1;
record::Complex branch_complex_2;

void read_power_flow(const record::Layout& layout, std::initializer_list<record::In> targets) {
  record::read_record(record::InStream::PowerFlow, layout, targets);
}

}  // namespace

void network_transfer() {
  // Each line is written as its record before the next line is read.
  const std::int32_t buses = NB;
  for (std::int32_t bus = 1; bus <= buses; ++bus) {
    read_power_flow(kBusLine, {bus_integer_1, bus_real_1, bus_real_2, bus_real_3, bus_real_4,
                               bus_integer_2, bus_real_5, bus_real_6, bus_real_7});
    put(kBusRecord, {kBarrLabel, kALabel, bus, bus_integer_1, bus_real_1, bus_real_2, bus_real_3,
                     bus_real_4, bus_integer_2, bus_real_5, bus_real_6, bus_real_7});
  }

  const std::int32_t branches = NL;
  for (std::int32_t branch = 1; branch <= branches; ++branch) {
    read_power_flow(kBranchLine, {branch_integer_1, branch_integer_2, branch_integer_3,
                                  branch_complex_1, branch_complex_2});
    put(kBranchRecord, {kRamoLabel, branch, branch_integer_1, branch_integer_2, branch_integer_3,
                        branch_complex_1, branch_complex_2});
  }
}

}  // namespace kolven::datagen
