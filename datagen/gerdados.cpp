#include "datagen/gerdados.hpp"

namespace kolven::datagen {

void GERDADOS() {}

}  // namespace kolven::datagen
