#include "datagen/excitation.hpp"

#include "datagen/screen.hpp"

namespace kolven::datagen {
namespace {

constexpr record::Layout kHeading = "(/,/,/,10X,'DADOS DO SISTEMA DE EXCITACAO',/)"_layout;
constexpr record::Layout kObservations =
    "(8X,' OBSERVACOES:',/,12X,'1) KE, TE, AX e BX devem ser iguais  a zero para os modelos 3 e 4;',/,12X,'2) TE obrigatoriamente diferente de zero para modelos 1,2,5,6,8',/,/)"_layout;

constexpr record::Layout kTitle1 = "(12X,'LINHA DE DADOS 1/3 - ENTRE COM:',/)"_layout;
constexpr record::Layout kHelp1 =
    "(5X,'   K = Tipo do sist. de excitacao (1, 2,..., 6 e 8, ver document.)',/,5X,'   KA = Ganho do amplificador',/,5X,'   TA = Cte. de tempo do amplificador',/,5X,'   VMAX = Limite superior para saia do amplificador',/,5X,'   VMIN = Limite inferior, idem',/,5X,'   KE = Ganho da excitratriz',/,5X,'   TE = Cte. de tempo da excitratiz',/,5X,'   AX = Fator de saturacao da excitatriz, tipos 1, 2, 5, 6, 8 (ver doc.)',/,5X,'   BX = Expoente do modelo de saturacao da excitatriz, tipos 1, 2, 5, 6, 8',/,13X,'(ver documentacao)',/,/)"_layout;
constexpr record::Layout kHeader1 =
    "(T2,'K',T6,'KA',T13,'TA',T19,'VMAX',T26,'VMIN',T34,'KE',T41,'TE',T48,'AX',T55,'BX',/,1X,'-',8(1X,6('-')))"_layout;
constexpr record::Layout kLine1 = "(1X,I1,8(1X,F6.2))"_layout;

constexpr record::Layout kTitle2 = "(/,/,12X,'LINHA DE DADOS 2/3 - ENTRE COM:',/)"_layout;
constexpr record::Layout kHelp2 =
    "(5X,'   Mu_s = Ganho da realimentacao derivativa do sist. de excitacao',/,5X,'   TSE = Constante de tempo da realim. derivativa do sist. de excitacao',/,5X,'   T1 = parametro de tempo do zero do bloco lead-lag (tipos 1,2,5,6,8)',/,5X,'   T2 = constante de tempo do bloco lead-lag (tipos 1,2,5,6,8)',/,5X,'   TSEN = constante de tempo do transdutor da tensao terminal',/,5X,'   TM1 = parametro de tempo do zero do 1o. bloco lead-lag para tipos 3 e 4',/,5X,'   TM2 = Constante de tempo do 1o. bloco lead-lag para tipos 3 e 4',/,5X,'   TM3 = parametro de tempo do zero do 2o. bloco lead-lag para tipos 3 e 4',/,5X,'   TM4 = Constante de tempo do 2o. bloco lead-lag para tipos 3 e 4',/,/)"_layout;
constexpr record::Layout kHeader2 =
    "(T2,'Mu_s',T9,'TSE',T17,'T1',T24,'T2',T30,'TSEN',T37,'TM1',T44,'TM2',T51,'TM3',T58,'TM4',/,9(6('-'),1X))"_layout;
constexpr record::Layout kLine2 = "(9(F6.2,1X))"_layout;

constexpr record::Layout kTitle3 = "(/,/,12X,'LINHA DE DADOS 3/3 - ENTRE COM:',/)"_layout;
constexpr record::Layout kHelp3 =
    "(5X,'   XVMAX = Limite maximo para saida do bloco lead-lag (modelos 3 e 4)',/,5X,'   XVMIN = Limite minimo para saida do bloco lead-lag (modelos 3 e 4)',/,5X,'   EXTY = Parametro binario para selecao do tipo dos limites VMAX e VMIN:',/,12X,'EXTY = 0: valores VMAX e VMIN lidos usados diretamente como limites',/,12X,'EXTY = 1: limites sao funcoes da tensao terminal:',/,/,22X,'VMAX(VMIN) = 0,833 * |Vt| * VMAX(VMIN)',/,/)"_layout;
constexpr record::Layout kHeader3 = "(T2,'XVMAX',T9,'XVMIN',T16,'EXTY',/,3(6('-'),1X))"_layout;
constexpr record::Layout kLine3 = "(2(F6.2,1X),I6)"_layout;

// Screen 1.
std::int32_t K = 0;
double KA = 0.0;
double TA = 0.0;
double VMAX = 0.0;
double VMIN = 0.0;
double KE = 0.0;
double TE = 0.0;
double AX = 0.0;
double BX = 0.0;

// Screen 2.
double Mu_s = 0.0;
double TSE = 0.0;
double T1 = 0.0;
double T2 = 0.0;
double TSEN = 0.0;
double TM1 = 0.0;
double TM2 = 0.0;
double TM3 = 0.0;
double TM4 = 0.0;

// Screen 3.
double XVMAX = 0.0;
double XVMIN = 0.0;
std::int32_t EXTY = 0;

}  // namespace

void excitation_system(std::int32_t index) {
  show(kHeading);
  show(kObservations);

  show(kTitle1);
  show(kHelp1);
  show(kHeader1);
  ask(kLine1, {K, KA, TA, VMAX, VMIN, KE, TE, AX, BX});
  put(kExcRecord1, {kExcLabel, index, K, KA, TA, VMAX, VMIN, KE, TE, AX});

  // BX, typed on screen 1, opens the second record.
  show(kTitle2);
  show(kHelp2);
  show(kHeader2);
  ask(kLine2, {Mu_s, TSE, T1, T2, TSEN, TM1, TM2, TM3, TM4});
  put(kExcRecord2, {BX, Mu_s, TSE, T1, T2, TSEN, TM1, TM2});

  // TM3 and TM4, typed on screen 2, open the third record.
  show(kTitle3);
  show(kHelp3);
  show(kHeader3);
  ask(kLine3, {XVMAX, XVMIN, EXTY});
  put(kExcRecord3, {TM3, TM4, XVMAX, XVMIN, EXTY});
}

}  // namespace kolven::datagen
