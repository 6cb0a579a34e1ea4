// Excitation system data: three screens and three records, the first labelled "exc".
#pragma once

#include <cstdint>
#include <string_view>

#include "record/layout.hpp"

namespace kolven::datagen {

using namespace record::literals;

// The label of the first excitation record: "exc " written with A3.
inline constexpr std::string_view kExcLabel = "exc ";
inline constexpr record::Layout kExcRecord1 = "(A3,I2,4X,I1,7F10.5)"_layout;
inline constexpr record::Layout kExcRecord2 = "(8F10.5)"_layout;
inline constexpr record::Layout kExcRecord3 = "(4F10.5,8X,I2)"_layout;

void excitation_system(std::int32_t index);

}  // namespace kolven::datagen
