// Disturbance type: the option table, the disturbance code and the "tipfalt" record.
#pragma once

#include "record/layout.hpp"

namespace kolven::datagen {

using namespace record::literals;

// "tipfalt": the disturbance code.
inline constexpr record::Layout kTipfaltRecord = "(A3,A4,I3)"_layout;

void disturbance_type();

}  // namespace kolven::datagen
