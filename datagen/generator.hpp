// Generator data: the loop heading, the generator data screen and its "maq" record, the model-3
// data, and the "RV" and "CO" records.
#pragma once

#include <cstdint>
#include <string_view>

#include "record/layout.hpp"

namespace kolven::datagen {

using namespace record::literals;

// The labels: "maq " written with A3; "RV  " and "CO  " with A2.
inline constexpr std::string_view kMaqLabel = "maq ";
inline constexpr std::string_view kRvLabel = "RV  ";
inline constexpr std::string_view kCoLabel = "CO  ";
// "maq": two lines.
inline constexpr record::Layout kMaqRecord = "(A3,I2,3X,I2,2(9X,I1),5F10.5,/,8F10.5)"_layout;
// The model-3 data record, without a label.
inline constexpr record::Layout kModel3Record = "(6X,F4.2,5F10.2)"_layout;
// "RV" (two lines) and "CO" (one line) share this layout.
inline constexpr record::Layout kRegulatorRecord = "(A2,7X,I1,7F10.5,/,6F10.5)"_layout;

void generator_loop_heading();
// The generator data screen of generator `index` and its "maq" record; sets T.
void generator_data(std::int32_t index);
// The model-3 data screen and record, for T = 3.
void model3_data();
// The "RV" and "CO" records, for every T other than 0 and 2.
void regulator_records();

}  // namespace kolven::datagen
