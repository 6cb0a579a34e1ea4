#include "datagen/generator.hpp"

#include "datagen/gerdados.hpp"

namespace kolven::datagen {

void generator_loop_heading() {}
void generator_data(std::int32_t) {
  T = 0;
}
void model3_data() {}
void regulator_records() {}

}  // namespace kolven::datagen
