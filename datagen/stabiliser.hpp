// Stabiliser data: the topology screen and its "esp" record, then the speed-derived and the
// power-derived stabiliser.
#pragma once

#include <cstdint>
#include <string_view>

#include "record/layout.hpp"

namespace kolven::datagen {

using namespace record::literals;

// The label of the topology record: "esp " written with A3.
inline constexpr std::string_view kEspLabel = "esp ";
inline constexpr record::Layout kEspRecord = "(A3,I2,4X,I1,3I10,2F10.5)"_layout;
// One stabiliser: its four or six parameters (or four zeros when it is absent).
inline constexpr record::Layout kStabiliserRecord = "(8F10.3)"_layout;

void stabiliser(std::int32_t index);

}  // namespace kolven::datagen
