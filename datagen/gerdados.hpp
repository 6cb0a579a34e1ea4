// The data-entry run: the screens in their fixed order and the records of the stability data
// file, with the run-wide values that later sections read.
#pragma once

#include <cstdint>

namespace kolven::datagen {

// Counts typed on the system-size screen: buses, generators, branches.
inline std::int32_t NB = 0;
inline std::int32_t NG = 0;
inline std::int32_t NL = 0;
// Disturbance code chosen on the disturbance-type screen: 0 to 4, 6 or 7.
inline std::int32_t disturbance_code = 0;
// Machine model type `T` of the current generator.
inline std::int32_t T = 0;

// Leads the user through every screen and writes every record of the data file. Both files are
// open; the caller closes the data file afterwards.
void GERDADOS();

}  // namespace kolven::datagen
