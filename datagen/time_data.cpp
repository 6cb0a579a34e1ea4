#include "datagen/time_data.hpp"

#include <cmath>

#include "datagen/screen.hpp"

namespace kolven::datagen {
namespace {

constexpr record::Layout kHeading = "(/,/,/,1X,10('*'),/,' Dados de Tempo para Simulacao')"_layout;
constexpr record::Layout kHelp =
    "(5X,'   DT = PASSO DE INTEGRACAO (3 casas decimais)',/,5X,'   TIF = TEMPO DE TERMINO DA SIMULACAO (1 casa decimal)')"_layout;
constexpr record::Layout kHeader = "(/,/,T13,'DT',T21,'TIF',/,10X,7('-'),1X,7('-'))"_layout;
constexpr record::Layout kTimeLine = "(10X,F7.3,1X,F7.3)"_layout;

constexpr record::Layout kNoPrintStep =
    "(/,' *** DT deve ser positivo e TIF/DT limitado: entre novamente ***')"_layout;

// Largest accepted number of print steps in the simulated interval.
constexpr int kPrintPoints = 300;

double DT = 0.0;
double TIF = 0.0;

// Whether DT and TIF give a print step: DT positive, both finite, and a print multiple that fits a
// 32-bit integer.
bool has_print_step(double dt, double tif) {
  if (!(dt > 0.0) || !std::isfinite(dt) || !std::isfinite(tif)) return false;
  const double p = tif / kPrintPoints;
  return p <= dt || p / dt < 2147483648.0;
}

}  // namespace

double print_step(double dt, double tif) {
  const double p = tif / kPrintPoints;
  if (p <= dt) return dt;
  double multiple = std::trunc(p / dt);
  double step = multiple * dt;
  std::int32_t count = static_cast<std::int32_t>(tif / step);
  while (count > kPrintPoints) {
    multiple += 1.0;
    step = multiple * dt;
    count = static_cast<std::int32_t>(tif / step);
  }
  return step;
}

void time_data() {
  for (;;) {
    show(kHeading);
    show(kEnterWith);
    show(kHelp);
    show(kHeader);
    ask(kTimeLine, {DT, TIF});
    if (has_print_step(DT, TIF)) break;
    show(kNoPrintStep);
  }
  const double step = print_step(DT, TIF);
  put(kTempoRecord, {kTempLabel, kOLabel, 0.0, DT, step, TIF, DT, step, TIF});
}

}  // namespace kolven::datagen
