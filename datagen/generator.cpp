#include "datagen/generator.hpp"

#include <array>
#include <span>

#include "datagen/gerdados.hpp"
#include "datagen/screen.hpp"

namespace kolven::datagen {
namespace {

constexpr record::Layout kLoopHeading = "(/,/,/,10X,'DADOS DE GERADORES',/,10X,18('-'),/)"_layout;

constexpr record::Layout kGeneratorHeading = "(/,/,10X,'Dados do Gerador',I3)"_layout;
constexpr record::Layout kGeneratorHelp =
    "(5X,'   BUS = Barra do Gerador',/,5X,'   T = Tipo de modelo de maquina',/,12X,'   (= 0 para tensao de excitacao constante,',/,12X,'    = 1 para modelo de 3a. ordem,',/,12X,'    = 2 como tipo1,porem sem regulador de tensao,',/,12X,'    = 3 para modelo de 6a. ordem)',/,5X,'   R = Resistencia da Armadura',/,5X,'   XLD = Reatancia ttransitoria de eixo-d',/,5X,'   XQ = Reatancia de eixo-q',/,5X,'   XD = Reatancia sincrona de eixo-d',/,5X,'   H = Constante de inercia(s)',/,5X,'   D = Constante de amortecimento',/,5X,'   TLD0 = Cte. de tempo transitoria de eixo-d em circ. aberto',/,/)"_layout;
constexpr record::Layout kGeneratorHeader =
    "(T2,'BUS',T6,'T',T10,'R',T16,'XLD',T24,'XQ',T31,'XD',T38,'H',T45,'D',T51,'TLDO',/,1X,3('-'),' - ',7(6('-'),1X))"_layout;
constexpr record::Layout kGeneratorLine = "(1X,I3,1X,I1,7(1X,F6.2))"_layout;

constexpr record::Layout kModel3Heading =
    "(/,/,10X,'Dados adicionais para Modelo 3 de Gerador')"_layout;
constexpr record::Layout kModel3Help =
    "(5X,'   TLQO = Cte. de tempo transitoria de campo de eixo-q em circ. aberto',/,5X,'   XLQ = Reatancia transitoria de eixo-q',/,5X,'   TLLD = Cte. de tempo subtransitoria de campo de eixo-q',/,5X,'   TLLQ = Idem, de eixo-q',/,5X,'   XLLD = Reatancia subtransitoria de eixo-d',/,5X,'   XL = Reatancia de dispersao',/,/)"_layout;
constexpr record::Layout kModel3Header =
    "(T3,'TLQ0',T10,'XLQ',T17,'TLLD',T24,'TLLQ',T31,'XLLD',T39,'XL',/,6(1X,6('-')))"_layout;
constexpr record::Layout kModel3Line = "(6(1X,F6.2))"_layout;

// Generator data screen.
std::int32_t BUS = 0;
double R = 0.0;
double XLD = 0.0;
double XQ = 0.0;
double XD = 0.0;
double H = 0.0;
double D = 0.0;
double TLD0 = 0.0;

// Model-3 data screen.
double TLQ0 = 0.0;
double XLQ = 0.0;
double TLLD = 0.0;
double TLLQ = 0.0;
double XLLD = 0.0;
double XL = 0.0;

// The "RV" and "CO" records: one integer and up to thirteen reals, all zero; nothing typed
// reaches them.
std::int32_t regulator_integer = 0;
std::array<double, 13> regulator_reals;
// "CO" takes the first three reals.
constexpr std::size_t kCoReals = 3;

}  // namespace

void generator_loop_heading() {
  show(kLoopHeading);
}

void generator_data(std::int32_t index) {
  show(kGeneratorHeading, {index});
  show(kEnterWith);
  show(kGeneratorHelp);
  show(kGeneratorHeader);
  ask(kGeneratorLine, {BUS, T, R, XLD, XQ, XD, H, D, TLD0});
  put(kMaqRecord,
      {kMaqLabel, index, BUS, 1, T, R, XLD, XQ, XD, H, D, 1.0, 1.0, TLD0, 0.0, 0.0, 0.0});
}

void model3_data() {
  show(kModel3Heading);
  show(kEnterWith);
  show(kModel3Help);
  show(kModel3Header);
  ask(kModel3Line, {TLQ0, XLQ, TLLD, TLLQ, XLLD, XL});
  put(kModel3Record, {TLQ0, XLQ, TLLD, TLLQ, XLLD, XL});
}

void regulator_records() {
  regulator_integer = 0;
  regulator_reals.fill(0.0);
  put(kRegulatorRecord, {kRvLabel, regulator_integer, std::span<const double>(regulator_reals)});
  put(kRegulatorRecord,
      {kCoLabel, regulator_integer, std::span<const double>(regulator_reals.data(), kCoReals)});
}

}  // namespace kolven::datagen
