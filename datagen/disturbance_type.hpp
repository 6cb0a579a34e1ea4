// Disturbance type: the option table, the disturbance code and the "tipfalt" record.
#pragma once

#include <string_view>

#include "record/layout.hpp"

namespace kolven::datagen {

using namespace record::literals;

// The label of "tipfalt": "tip " written with A3, then "falt" with A4 (which "locfalt" shares).
inline constexpr std::string_view kTipLabel = "tip ";
inline constexpr std::string_view kFaltLabel = "falt";
// "tipfalt": the disturbance code.
inline constexpr record::Layout kTipfaltRecord = "(A3,A4,I3)"_layout;

void disturbance_type();

}  // namespace kolven::datagen
