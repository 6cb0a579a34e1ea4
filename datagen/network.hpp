// Network data transfer: bus and branch lines of the power-flow results file copied as "barra"
// and "ramo" records, one line held at a time.
#pragma once

#include <string_view>

#include "record/layout.hpp"

namespace kolven::datagen {

using namespace record::literals;

// The labels: "barr" written with A4 and then "a   " with A1; "ramo" with A4.
inline constexpr std::string_view kBarrLabel = "barr";
inline constexpr std::string_view kALabel = "a   ";
inline constexpr std::string_view kRamoLabel = "ramo";
// A bus line of the power-flow results file, and the "barra" record written from it.
inline constexpr record::Layout kBusLine = "(7X,I3,4F10.5,I5,F5.2,2F10.5)"_layout;
inline constexpr record::Layout kBusRecord = "(A4,A1,I2,I3,4F10.5,I5,F5.2,2F10.5)"_layout;
// A branch line, and the "ramo" record written from it.
inline constexpr record::Layout kBranchLine = "(6X,I4,2(8X,I2),4F10.5)"_layout;
inline constexpr record::Layout kBranchRecord = "(A4,I2,I4,2(8X,I2),4F10.5)"_layout;

void network_transfer();

}  // namespace kolven::datagen
