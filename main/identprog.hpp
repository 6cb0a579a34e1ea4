// The opening screen: the banner, a console pause, the general instructions.
#pragma once

namespace kolven {

void IDENTPROG();

}  // namespace kolven
