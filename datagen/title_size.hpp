// Case title and system size: the title record and the "dimsist" record.
#pragma once

#include <string_view>

#include "record/layout.hpp"

namespace kolven::datagen {

using namespace record::literals;

// The label of "dimsist": "dim " written with A3, then "sist" with A4.
inline constexpr std::string_view kDimLabel = "dim ";
inline constexpr std::string_view kSistLabel = "sist";
// The title record: the 80 typed characters as 20 groups of 4.
inline constexpr record::Layout kTitleRecord = "(20A4)"_layout;
// "dimsist": NB, NG, NL and three zeros.
inline constexpr record::Layout kDimsistRecord = "(A3,A4,I3,5I10)"_layout;

void case_title();
void system_size();

}  // namespace kolven::datagen
