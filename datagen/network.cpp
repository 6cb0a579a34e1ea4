#include "datagen/network.hpp"

namespace kolven::datagen {

void network_transfer() {}

}  // namespace kolven::datagen
