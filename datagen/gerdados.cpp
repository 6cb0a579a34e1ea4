#include "datagen/gerdados.hpp"

#include "datagen/disturbance_details.hpp"
#include "datagen/disturbance_type.hpp"
#include "datagen/excitation.hpp"
#include "datagen/generator.hpp"
#include "datagen/network.hpp"
#include "datagen/stabiliser.hpp"
#include "datagen/time_data.hpp"
#include "datagen/title_size.hpp"

namespace kolven::datagen {

void GERDADOS() {
  case_title();
  system_size();
  disturbance_type();
  time_data();
  disturbance_details();
  network_transfer();

  generator_loop_heading();
  const std::int32_t passes = NG;  // fixed before the first pass
  for (std::int32_t i = 1; i <= passes; ++i) {
    generator_data(i);
    if (T == 0 || T == 2) continue;  // constant excitation, or no voltage regulator: pass ends
    if (T == 3) model3_data();
    regulator_records();
    excitation_system(i);
    stabiliser(i);
  }
}

}  // namespace kolven::datagen
