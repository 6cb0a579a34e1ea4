#include "datagen/stabiliser.hpp"

#include "datagen/screen.hpp"

namespace kolven::datagen {
namespace {

// Topology screen.
constexpr record::Layout kHeading = "(/,/,/,10X,'DADOS DE SINAL ESTABILIZADOR',/)"_layout;
constexpr record::Layout kTopologyTitle =
    "(12X,'TOPOLOGIA DA FUNCAO DE TRANSF. DO ESP - ENTRE COM:',/)"_layout;
constexpr record::Layout kTopologyHelp =
    "(5X,'   NLLW = Numero de estagios do ESP derivado da velocidade, (NLLW = 0,1,2)',/,15X,'(Nota: NLLW = 0 -> maq. nao eh dotada de sinal estabilizador',/,22X,'derivado da velocidade)',/,/,5X,'   NLLP = Numero de estagios do ESP deriv. da pot. eletr. (NLLP = 0,1,2)',/,15X,'(Nota: NLLP = 0 -> maq. nao eh dotada de sinal estabilizador',/,22X,'derivado da potencia eletrica)',/,/,5X,'   IZW = Tipo de numerador da FT do ESP de velocidade se NLLW = 2:',/,15X,'IZW = 0 -> zeros reais;',/,15X,'IZW = 1 -> zeros complexos, numerador da forma A s^2 + B s + 1.',/,15X,'(Nota: polos do ESP sao considerados reais)',/,/,/,5X,'   IZP = Tipo de numerador da FT do ESP de pot. eletr. se NLLP = 2:',/,15X,'IZP = 0 -> zeros reais',/,15X,'IZP = 1 -> zeros complexos, numerador da forma A s^2 + B s + 1.',/,15X,'(Nota: polos do ESP sao considerados reais)',/,/,8X,'YVMAX = Limite superior de saturacao do ESP',/,/,8X,'YVMAX = Limite inferior de saturacao do ESP',/,/)"_layout;
constexpr record::Layout kTopologyHeader =
    "(T2,'NLLW',T8,'NLLP',T14,'IZW',T19,'IZP',T24,'YVMAX',T32,'YVMIN',/,2X,'--',4X,'--',2(4X,'-'),1X,2(1X,7('-')))"_layout;
constexpr record::Layout kTopologyLine = "(2X,I2,4X,I2,2(4X,I1),2X,F7.3,1X,F7.3)"_layout;

// Lines of one stabiliser's screen.
constexpr record::Layout kStabiliserHeading =
    "(/,/,'Sinal estabilizador derivado de ',A2,' com',I2,' estagio(s) de avanco-atraso')"_layout;
constexpr record::Layout kRealZeros = "(/,24X,'** Zeros reais **')"_layout;
constexpr record::Layout kComplexZeros = "(/,24X,'** Zeros complexos **')"_layout;
constexpr record::Layout kParameterLine = "(6(1X,F6.2))"_layout;

// One stage: the same texts for both stabilisers.
constexpr record::Layout kOneStageHelp =
    "(5X,'   KEsp = Ganho do ESP',/,5X,'   TW = Cte. de tempo do bloco washout',/,5X,'   Tnum = Parametro de tempo do numerador Do ESP',/,5X,'   Tden = Constante de tempo do ESP',/,/)"_layout;
constexpr record::Layout kOneStageHeader =
    "(T3,'KEsp',T11,'TW',T17,'Tnum',T24,'Tden',/,4(1X,6('-')))"_layout;

// Speed-derived stabiliser.
constexpr record::Layout kSpeedAbsent =
    "(/,/,8X,'Nao ha sinal estabilizador derivado da velocidade',/,/)"_layout;
constexpr record::Layout kSpeedRealHelp =
    "(5X,'   KEsp = Ganho do ESP',/,5X,'   TW = Cte. de tempo do bloco washout',/,5X,'   T1w = Parametro de tempo do numeradordo 1o. bloco do ESP',/,5X,'   T3w = Parametro de tempo do numeradordo 2o. bloco do ESP',/,5X,'   T2w = Constante de tempo do 1o. blocodo ESP',/,5X,'   T4w = Constante de tempo do 2o. bloco do ESP',/,/)"_layout;
constexpr record::Layout kSpeedRealHeader =
    "(T3,'KEsp',T11,'TW',T18,'T1w',T25,'T3w',T32,'T2w',T39,'T4w',/,6(1X,6('-')))"_layout;
constexpr record::Layout kSpeedComplexHelp =
    "(5X,'   KEsp = Ganho do ESP',/,5X,'   TW = Cte. de tempo do bloco washout',/,5X,'   A = Coeficiente do termo quadratico do numerador do ESP',/,5X,'   B = Coeficiente do termo linear do numerador do ESP',/,5X,'   T2w = Primeira constante de de tempo do ESP',/,5X,'   T4w = Segunda constante de tempo do ESP',/,/)"_layout;
constexpr record::Layout kSpeedComplexHeader =
    "(T3,'KEsp',T11,'TW',T19,'A',T26,'B',T32,'T2w',T39,'T4w',/,6(1X,6('-')))"_layout;

// Power-derived stabiliser.
constexpr record::Layout kPowerAbsent =
    "(/,/,8X,'Nao ha sinal estabilizador derivado da potencia eletrica',/,/)"_layout;
constexpr record::Layout kPowerRealHelp =
    "(5X,'   KEsp = Ganho do ESP',/,5X,'   TW = Cte. de tempo do bloco washout',/,5X,'   T1p = Parametro de tempo do numeradordo 1o. bloco do ESP',/,5X,'   T3p = Parametro de tempo do numeradordo 2o. bloco do ESP',/,5X,'   T2p = Constante de tempo do 1o. blocodo ESP',/,5X,'   T4p = Constante de tempo do 2o. bloco do ESP',/,/)"_layout;
constexpr record::Layout kPowerRealHeader =
    "(T3,'KEsp',T11,'TW',T18,'T1p',T25,'T3p',T32,'T2p',T39,'T4p',/,6(1X,6('-')))"_layout;
constexpr record::Layout kPowerComplexHelp =
    "(5X,'   KEsp = Ganho do ESP',/,5X,'   TW = Cte. de tempo do bloco washout',/,5X,'   A = Coeficiente do termo quadratico do numerador do ESP',/,5X,'   B = Coeficiente do termo linear do numerador do ESP',/,5X,'   T2p = Primeira constante de de tempo do ESP',/,5X,'   T4p = Segunda constante de tempo do ESP',/,/)"_layout;
constexpr record::Layout kPowerComplexHeader =
    "(T3,'KEsp',T11,'TW',T19,'A',T26,'B',T32,'T2p',T39,'T4p',/,6(1X,6('-')))"_layout;

// Topology values.
std::int32_t NLLW = 0;
std::int32_t NLLP = 0;
std::int32_t IZW = 0;
std::int32_t IZP = 0;
double YVMAX = 0.0;
double YVMIN = 0.0;

// Parameters of the stabiliser being entered; each stabiliser types its own, and its record is
// written before the other stabiliser's screen.
double KEsp = 0.0;
double TW = 0.0;
double Tnum = 0.0;
double Tden = 0.0;
double A = 0.0;
double B = 0.0;
double T1w = 0.0;
double T3w = 0.0;
double T2w = 0.0;
double T4w = 0.0;
double T1p = 0.0;
double T3p = 0.0;
double T2p = 0.0;
double T4p = 0.0;

// What tells the speed-derived and the power-derived stabiliser apart: the signal tag of the
// heading line, the absence message, the two-stage texts and the time parameters of two stages.
struct Stabiliser {
  record::Text<4> tag;  // written with A2
  record::Layout absent;
  record::Layout real_help;
  record::Layout real_header;
  record::Layout complex_help;
  record::Layout complex_header;
  double* first_numerator;   // T1w, T1p
  double* second_numerator;  // T3w, T3p
  double* first_pole;        // T2w, T2p
  double* second_pole;       // T4w, T4p
};

constexpr Stabiliser kSpeed{.tag = record::text("w   "),
                            .absent = kSpeedAbsent,
                            .real_help = kSpeedRealHelp,
                            .real_header = kSpeedRealHeader,
                            .complex_help = kSpeedComplexHelp,
                            .complex_header = kSpeedComplexHeader,
                            .first_numerator = &T1w,
                            .second_numerator = &T3w,
                            .first_pole = &T2w,
                            .second_pole = &T4w};
constexpr Stabiliser kPower{.tag = record::text("Pe  "),
                            .absent = kPowerAbsent,
                            .real_help = kPowerRealHelp,
                            .real_header = kPowerRealHeader,
                            .complex_help = kPowerComplexHelp,
                            .complex_header = kPowerComplexHeader,
                            .first_numerator = &T1p,
                            .second_numerator = &T3p,
                            .first_pole = &T2p,
                            .second_pole = &T4p};

// One stabiliser with `stages` lead-lag stages and numerator zeros of type `zeros`.
void handle(const Stabiliser& s, std::int32_t stages, std::int32_t zeros) {
  if (stages == 0) {
    show(s.absent);
    put(kStabiliserRecord, {0.0, 0.0, 0.0, 0.0});
    return;
  }
  if (stages == 1) {
    show(kStabiliserHeading, {s.tag, stages});
    show(kEnterWith);
    show(kOneStageHelp);
    show(kOneStageHeader);
    ask(kParameterLine, {KEsp, TW, Tnum, Tden});
    put(kStabiliserRecord, {KEsp, TW, Tnum, Tden});
    return;
  }
  if (stages != 2) return;  // a stage count the screens do not offer: nothing at all

  show(kStabiliserHeading, {s.tag, stages});
  double& T2 = *s.first_pole;
  double& T4 = *s.second_pole;
  if (zeros == 0) {
    double& T1 = *s.first_numerator;
    double& T3 = *s.second_numerator;
    show(kRealZeros);
    show(kEnterWith);
    show(s.real_help);
    show(s.real_header);
    ask(kParameterLine, {KEsp, TW, T1, T3, T2, T4});
    put(kStabiliserRecord, {KEsp, TW, T1, T3, T2, T4});
  } else if (zeros == 1) {
    show(kComplexZeros);
    show(kEnterWith);
    show(s.complex_help);
    show(s.complex_header);
    ask(kParameterLine, {KEsp, TW, A, B, T2, T4});
    put(kStabiliserRecord, {KEsp, TW, A, B, T2, T4});
  }
  // Any other zero type: the heading line only.
}

}  // namespace

void stabiliser(std::int32_t index) {
  show(kHeading);
  show(kTopologyTitle);
  show(kTopologyHelp);
  show(kTopologyHeader);
  ask(kTopologyLine, {NLLW, NLLP, IZW, IZP, YVMAX, YVMIN});
  put(kEspRecord, {kEspLabel, index, NLLW, NLLP, IZW, IZP, YVMAX, YVMIN});

  handle(kSpeed, NLLW, IZW);
  handle(kPower, NLLP, IZP);
}

}  // namespace kolven::datagen
