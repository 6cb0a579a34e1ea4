// Case title and system size: the title record and the "dimsist" record.
#pragma once

#include "record/layout.hpp"

namespace kolven::datagen {

using namespace record::literals;

// The title record: the 80 typed characters as 20 groups of 4.
inline constexpr record::Layout kTitleRecord = "(20A4)"_layout;
// "dimsist": NB, NG, NL and three zeros.
inline constexpr record::Layout kDimsistRecord = "(A3,A4,I3,5I10)"_layout;

void case_title();
void system_size();

}  // namespace kolven::datagen
