#include "datagen/disturbance_details.hpp"

#include <algorithm>
#include <array>
#include <span>

#include "datagen/gerdados.hpp"
#include "datagen/screen.hpp"

namespace kolven::datagen {
namespace {

constexpr record::Layout kHeading =
    "(/,/,/,1X,10('*'),/,' Dados Adicionais sobre a Perturbacao')"_layout;

constexpr record::Layout kFaultHelp =
    "(5X,'   LF = LINHA SOB FALTA (inteiro)',/,5X,'   JK = BARRA TERMINAL DA LINHA PROXIMA AA FALTA (int.)',/,5X,'   JKK = OUTRA BARRA TERMINAL DA LINHA (int.)',/,5X,'   TCL = TEMPO DE ELIMINACAO DA FALTA (3 casas dec.)',/)"_layout;
constexpr record::Layout kFaultHeader =
    "(10X,T12,'LF',T17,'JK',T22,'JKK',T28,'TCL',/,10X,'----',1X,'----',1X,'----',1X,7('-'))"_layout;
constexpr record::Layout kFaultLine = "(10X,I4,1X,I4,1X,I4,1X,F7.3)"_layout;

constexpr record::Layout kPerturbationHelp =
    "(5X,'  PERTURBACOES DE ANGULOS DOS GERADORES OU SUAS DERIVADAS',/,5X,'  (ponto flutuante, 3 casas decimais):',/)"_layout;
constexpr record::Layout kBlockHeader = "(2X,7(A3,I2,3X))"_layout;
constexpr record::Layout kBlockMarkers = "(7(1X,7('-')))"_layout;
constexpr record::Layout kBlockLine = "(7(1X,F7.3))"_layout;

// Generators per screen block.
constexpr int kBlock = 7;
// Perturbations per record.
constexpr int kPerRecord = 8;

std::int32_t LF = 0;
std::int32_t JK = 0;
std::int32_t JKK = 0;
double TCL = 0.0;

// Initial perturbation of each generator, entry k - 1 for generator k.
std::array<double, kMaxPerturbed> perturbations;

void fault() {
  show(kFaultHelp);
  show(kFaultHeader);
  ask(kFaultLine, {LF, JK, JKK, TCL});
  put(kLocfaltRecord, {kLocLabel, kFaltLabel, LF, JK, JKK, 0.0, TCL, TCL});
  put(kEmptyRecord);
}

// One screen block: the headings "MAQ k" of generators first to last (1-based), seven markers,
// and the typed line that gives their perturbations.
void block(int first, int last) {
  std::array<record::Out, 2 * kBlock> header{"", 0, "", 0, "", 0, "", 0, "", 0, "", 0, "", 0};
  const int n = std::max(0, last - first + 1);
  for (int j = 0; j < n; ++j) {
    header[2 * j] = "MAQ ";
    header[2 * j + 1] = first + j;
  }
  show_values(kBlockHeader, std::span<const record::Out>(header.data(), 2 * n));
  show(kBlockMarkers);
  ask(kBlockLine, {std::span<double>(perturbations.data() + first - 1, n)});
}

void perturbation() {
  show(kPerturbationHelp);
  // The tables hold kMaxPerturbed generators; the disturbance-type screen refuses more.
  const int ng = std::min<int>(NG, kMaxPerturbed);
  block(1, std::min(ng, kBlock));
  if (ng > kBlock) block(kBlock + 1, ng);
  const std::string_view label = disturbance_code == 6 ? kVel0Label : kAng0Label;
  const int n = std::max(0, ng);
  put(kPerturbationRecord,
      {label, std::span<const double>(perturbations.data(), std::min(n, kPerRecord))});
  if (n > kPerRecord)
    put(kPerturbationContinuation,
        {std::span<const double>(perturbations.data() + kPerRecord, n - kPerRecord)});
}

}  // namespace

void disturbance_details() {
  show(kHeading);
  show(kEnterWith);
  if (disturbance_code <= 5) {
    fault();
  } else {
    perturbation();
  }
}

}  // namespace kolven::datagen
