// Disturbance details: the fault ("locfalt") or the initial perturbations ("vel0", "ang0").
#pragma once

#include <string_view>

#include "datagen/disturbance_type.hpp"
#include "record/layout.hpp"

namespace kolven::datagen {

using namespace record::literals;

// The labels: "loc " written with A3 and then kFaltLabel with A4; "vel0" and "ang0" with A4.
inline constexpr std::string_view kLocLabel = "loc ";
inline constexpr std::string_view kVel0Label = "vel0";
inline constexpr std::string_view kAng0Label = "ang0";
// "locfalt": LF, JK, JKK, 0.0, TCL, TCL; an empty record follows it.
inline constexpr record::Layout kLocfaltRecord = "(A3,A4,I3,2I10,3F10.3)"_layout;
inline constexpr record::Layout kEmptyRecord = "('')"_layout;
// "vel0" or "ang0": the label and the perturbations of generators 1 to 8; generators 9 and 10
// continue on a record of their own.
inline constexpr record::Layout kPerturbationRecord = "(A4,1X,F5.2,7F10.2)"_layout;
inline constexpr record::Layout kPerturbationContinuation = "(8F10.2)"_layout;

// The perturbation tables hold this many generators.
inline constexpr int kMaxPerturbed = 10;

void disturbance_details();

}  // namespace kolven::datagen
