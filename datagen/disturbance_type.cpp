#include "datagen/disturbance_type.hpp"

#include <array>

#include "datagen/disturbance_details.hpp"
#include "datagen/gerdados.hpp"
#include "datagen/screen.hpp"

namespace kolven::datagen {
namespace {

constexpr record::Layout kHeading =
    "(/,/,1X,10('*'),/,' Tipo de Perturbacao',/,/,/,' ENTRE COM DIGITO 1 SOB A SETA, INDICANDO A OPCAO DESEJADA :',/)"_layout;
constexpr record::Layout kBorder =
    "(' |--------||--------||--------||--------||--------||--------||--------|')"_layout;
constexpr record::Layout kBoxTexts =
    "(T13,'CC TRIF',T33,'CC TRIF',T53,'PERTURB',T63,'PERTURB',/,T4,'REGIME   C/ ABERT  REJEICAO  S/ ABERT   ABERT    INIC EM   INIC EM',/,T4,' PERM.   DA LINHA   CARGA    DE LINHA  CONDUTOR   VELOC     ANGULO')"_layout;
constexpr record::Layout kArrows =
    "('     V         V         V         V         V         V         V     ')"_layout;
constexpr record::Layout kFlags = "(5X,I1,9X,I1,9X,I1,9X,I1,9X,I1,9X,I1,9X,I1)"_layout;

constexpr record::Layout kNoOption =
    "(/,' *** Nenhuma opcao marcada: digite 1 sob a seta da opcao desejada ***')"_layout;
constexpr record::Layout kTooManyPerturbed =
    "(/,' *** Perturbacao inicial admite no maximo 10 geradores (NG =',I6,') ***')"_layout;

// Option flags, one per box; a flag is set when it is not zero.
std::array<std::int32_t, 7> flags;

// The code of the leftmost marked option (options 1 to 5 give 0 to 4, options 6 and 7 give 6 and
// 7), or -1 when no option is marked.
std::int32_t chosen_code() {
  for (std::int32_t k = 1; k <= 7; ++k)
    if (flags[k - 1] != 0) return k <= 5 ? k - 1 : k;
  return -1;
}

}  // namespace

void disturbance_type() {
  // The screen comes again until an option is marked that the rest of the run can take: the
  // perturbation screens hold at most 10 generators.
  for (;;) {
    show(kHeading);
    show(kBorder);
    show(kBoxTexts);
    show(kBorder);
    show(kArrows);
    ask(kFlags, {flags[0], flags[1], flags[2], flags[3], flags[4], flags[5], flags[6]});
    const std::int32_t code = chosen_code();
    if (code < 0) {
      show(kNoOption);
    } else if ((code == 6 || code == 7) && NG > kMaxPerturbed) {
      show(kTooManyPerturbed, {NG});
    } else {
      disturbance_code = code;
      break;
    }
  }
  put(kTipfaltRecord, {kTipLabel, kFaltLabel, disturbance_code});
}

}  // namespace kolven::datagen
