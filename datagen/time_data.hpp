// Simulation time data: DT, TIF, the print step and the "tempo" record.
#pragma once

#include <string_view>

#include "record/layout.hpp"

namespace kolven::datagen {

using namespace record::literals;

// The label of "tempo": "temp" written with A4, then "o   " with A1.
inline constexpr std::string_view kTempLabel = "temp";
inline constexpr std::string_view kOLabel = "o   ";
// "tempo": 0.0, DT, print step, TIF, DT, print step, TIF.
inline constexpr record::Layout kTempoRecord = "(A4,A1,1X,F4.1,5F10.3,F10.1)"_layout;

// The print step for an integration step `dt` and an end time `tif`: `dt` itself when TIF/300 is
// not greater than it, else the smallest multiple of `dt`, from the truncated ratio upwards, that
// gives at most 300 print steps.
double print_step(double dt, double tif);

void time_data();

}  // namespace kolven::datagen
