#include "datagen/excitation.hpp"

namespace kolven::datagen {

void excitation_system(std::int32_t) {}

}  // namespace kolven::datagen
