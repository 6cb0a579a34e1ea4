#include "datagen/stabiliser.hpp"

namespace kolven::datagen {

void stabiliser(std::int32_t) {}

}  // namespace kolven::datagen
