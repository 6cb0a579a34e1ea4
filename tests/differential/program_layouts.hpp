// Every record layout of the program, with the streams it is used on. The layouts of the data file
// and of the power-flow file are the program's own constants; the screen and typed-line layouts,
// which are private to their sections, are written here as their sources write them. The fuzz
// targets and the comparison with the GNU Fortran runtime walk this table; the check
// `kolven_differential --check-table` compares it with the "..."_layout constants of datagen/ and
// main/, so that a layout added or changed there cannot be left out here.
#pragma once

#include "datagen/disturbance_details.hpp"
#include "datagen/disturbance_type.hpp"
#include "datagen/excitation.hpp"
#include "datagen/generator.hpp"
#include "datagen/network.hpp"
#include "datagen/screen.hpp"
#include "datagen/stabiliser.hpp"
#include "datagen/time_data.hpp"
#include "datagen/title_size.hpp"
#include "record/layout.hpp"

namespace kolven::program_layouts {

using namespace record::literals;

enum Use : unsigned {
  kConsoleOut = 1,   // a screen line
  kDataOut = 2,      // a record of the stability data file
  kConsoleIn = 4,    // a typed line
  kPowerFlowIn = 8,  // a line of the power-flow results file
};

struct ProgramLayout {
  const char* where;  // source file and constant name
  record::Layout layout;
  unsigned uses;
  // Length of the texts the program passes to or fills from the A fields of this layout (4 for
  // the labels, 12 for file names, 1 for an answer); other lengths are tried too.
  unsigned text_length;
};

// clang-format off
inline constexpr ProgramLayout kAll[] = {
    {"datagen/disturbance_details.cpp kHeading", "(/,/,/,1X,10('*'),/,' Dados Adicionais sobre a Perturbacao')"_layout, kConsoleOut, 4},
    {"datagen/disturbance_details.cpp kFaultHelp", "(5X,'   LF = LINHA SOB FALTA (inteiro)',/,5X,'   JK = BARRA TERMINAL DA LINHA PROXIMA AA FALTA (int.)',/,5X,'   JKK = OUTRA BARRA TERMINAL DA LINHA (int.)',/,5X,'   TCL = TEMPO DE ELIMINACAO DA FALTA (3 casas dec.)',/)"_layout, kConsoleOut, 4},
    {"datagen/disturbance_details.cpp kFaultHeader", "(10X,T12,'LF',T17,'JK',T22,'JKK',T28,'TCL',/,10X,'----',1X,'----',1X,'----',1X,7('-'))"_layout, kConsoleOut, 4},
    {"datagen/disturbance_details.cpp kFaultLine", "(10X,I4,1X,I4,1X,I4,1X,F7.3)"_layout, kConsoleIn, 4},
    {"datagen/disturbance_details.cpp kPerturbationHelp", "(5X,'  PERTURBACOES DE ANGULOS DOS GERADORES OU SUAS DERIVADAS',/,5X,'  (ponto flutuante, 3 casas decimais):',/)"_layout, kConsoleOut, 4},
    {"datagen/disturbance_details.cpp kBlockHeader", "(2X,7(A3,I2,3X))"_layout, kConsoleOut, 4},
    {"datagen/disturbance_details.cpp kBlockMarkers", "(7(1X,7('-')))"_layout, kConsoleOut, 4},
    {"datagen/disturbance_details.cpp kBlockLine", "(7(1X,F7.3))"_layout, kConsoleIn, 4},
    {"datagen/disturbance_details.hpp kLocfaltRecord", datagen::kLocfaltRecord, kDataOut, 4},
    {"datagen/disturbance_details.hpp kEmptyRecord", datagen::kEmptyRecord, kDataOut, 4},
    {"datagen/disturbance_details.hpp kPerturbationRecord", datagen::kPerturbationRecord, kDataOut, 4},
    {"datagen/disturbance_details.hpp kPerturbationContinuation", datagen::kPerturbationContinuation, kDataOut, 4},
    {"datagen/disturbance_type.cpp kHeading", "(/,/,1X,10('*'),/,' Tipo de Perturbacao',/,/,/,' ENTRE COM DIGITO 1 SOB A SETA, INDICANDO A OPCAO DESEJADA :',/)"_layout, kConsoleOut, 4},
    {"datagen/disturbance_type.cpp kBorder", "(' |--------||--------||--------||--------||--------||--------||--------|')"_layout, kConsoleOut, 4},
    {"datagen/disturbance_type.cpp kBoxTexts", "(T13,'CC TRIF',T33,'CC TRIF',T53,'PERTURB',T63,'PERTURB',/,T4,'REGIME   C/ ABERT  REJEICAO  S/ ABERT   ABERT    INIC EM   INIC EM',/,T4,' PERM.   DA LINHA   CARGA    DE LINHA  CONDUTOR   VELOC     ANGULO')"_layout, kConsoleOut, 4},
    {"datagen/disturbance_type.cpp kArrows", "('     V         V         V         V         V         V         V     ')"_layout, kConsoleOut, 4},
    {"datagen/disturbance_type.cpp kFlags", "(5X,I1,9X,I1,9X,I1,9X,I1,9X,I1,9X,I1,9X,I1)"_layout, kConsoleIn, 4},
    {"datagen/disturbance_type.cpp kNoOption", "(/,' *** Nenhuma opcao marcada: digite 1 sob a seta da opcao desejada ***')"_layout, kConsoleOut, 4},
    {"datagen/disturbance_type.cpp kTooManyPerturbed", "(/,' *** Perturbacao inicial admite no maximo 10 geradores (NG =',I6,') ***')"_layout, kConsoleOut, 4},
    {"datagen/disturbance_type.hpp kTipfaltRecord", datagen::kTipfaltRecord, kDataOut, 4},
    {"datagen/excitation.cpp kHeading", "(/,/,/,10X,'DADOS DO SISTEMA DE EXCITACAO',/)"_layout, kConsoleOut, 4},
    {"datagen/excitation.cpp kObservations", "(8X,' OBSERVACOES:',/,12X,'1) KE, TE, AX e BX devem ser iguais  a zero para os modelos 3 e 4;',/,12X,'2) TE obrigatoriamente diferente de zero para modelos 1,2,5,6,8',/,/)"_layout, kConsoleOut, 4},
    {"datagen/excitation.cpp kTitle1", "(12X,'LINHA DE DADOS 1/3 - ENTRE COM:',/)"_layout, kConsoleOut, 4},
    {"datagen/excitation.cpp kHelp1", "(5X,'   K = Tipo do sist. de excitacao (1, 2,..., 6 e 8, ver document.)',/,5X,'   KA = Ganho do amplificador',/,5X,'   TA = Cte. de tempo do amplificador',/,5X,'   VMAX = Limite superior para saia do amplificador',/,5X,'   VMIN = Limite inferior, idem',/,5X,'   KE = Ganho da excitratriz',/,5X,'   TE = Cte. de tempo da excitratiz',/,5X,'   AX = Fator de saturacao da excitatriz, tipos 1, 2, 5, 6, 8 (ver doc.)',/,5X,'   BX = Expoente do modelo de saturacao da excitatriz, tipos 1, 2, 5, 6, 8',/,13X,'(ver documentacao)',/,/)"_layout, kConsoleOut, 4},
    {"datagen/excitation.cpp kHeader1", "(T2,'K',T6,'KA',T13,'TA',T19,'VMAX',T26,'VMIN',T34,'KE',T41,'TE',T48,'AX',T55,'BX',/,1X,'-',8(1X,6('-')))"_layout, kConsoleOut, 4},
    {"datagen/excitation.cpp kLine1", "(1X,I1,8(1X,F6.2))"_layout, kConsoleIn, 4},
    {"datagen/excitation.cpp kTitle2", "(/,/,12X,'LINHA DE DADOS 2/3 - ENTRE COM:',/)"_layout, kConsoleOut, 4},
    {"datagen/excitation.cpp kHelp2", "(5X,'   Mu_s = Ganho da realimentacao derivativa do sist. de excitacao',/,5X,'   TSE = Constante de tempo da realim. derivativa do sist. de excitacao',/,5X,'   T1 = parametro de tempo do zero do bloco lead-lag (tipos 1,2,5,6,8)',/,5X,'   T2 = constante de tempo do bloco lead-lag (tipos 1,2,5,6,8)',/,5X,'   TSEN = constante de tempo do transdutor da tensao terminal',/,5X,'   TM1 = parametro de tempo do zero do 1o. bloco lead-lag para tipos 3 e 4',/,5X,'   TM2 = Constante de tempo do 1o. bloco lead-lag para tipos 3 e 4',/,5X,'   TM3 = parametro de tempo do zero do 2o. bloco lead-lag para tipos 3 e 4',/,5X,'   TM4 = Constante de tempo do 2o. bloco lead-lag para tipos 3 e 4',/,/)"_layout, kConsoleOut, 4},
    {"datagen/excitation.cpp kHeader2", "(T2,'Mu_s',T9,'TSE',T17,'T1',T24,'T2',T30,'TSEN',T37,'TM1',T44,'TM2',T51,'TM3',T58,'TM4',/,9(6('-'),1X))"_layout, kConsoleOut, 4},
    {"datagen/excitation.cpp kLine2", "(9(F6.2,1X))"_layout, kConsoleIn, 4},
    {"datagen/excitation.cpp kTitle3", "(/,/,12X,'LINHA DE DADOS 3/3 - ENTRE COM:',/)"_layout, kConsoleOut, 4},
    {"datagen/excitation.cpp kHelp3", "(5X,'   XVMAX = Limite maximo para saida do bloco lead-lag (modelos 3 e 4)',/,5X,'   XVMIN = Limite minimo para saida do bloco lead-lag (modelos 3 e 4)',/,5X,'   EXTY = Parametro binario para selecao do tipo dos limites VMAX e VMIN:',/,12X,'EXTY = 0: valores VMAX e VMIN lidos usados diretamente como limites',/,12X,'EXTY = 1: limites sao funcoes da tensao terminal:',/,/,22X,'VMAX(VMIN) = 0,833 * |Vt| * VMAX(VMIN)',/,/)"_layout, kConsoleOut, 4},
    {"datagen/excitation.cpp kHeader3", "(T2,'XVMAX',T9,'XVMIN',T16,'EXTY',/,3(6('-'),1X))"_layout, kConsoleOut, 4},
    {"datagen/excitation.cpp kLine3", "(2(F6.2,1X),I6)"_layout, kConsoleIn, 4},
    {"datagen/excitation.hpp kExcRecord1", datagen::kExcRecord1, kDataOut, 4},
    {"datagen/excitation.hpp kExcRecord2", datagen::kExcRecord2, kDataOut, 4},
    {"datagen/excitation.hpp kExcRecord3", datagen::kExcRecord3, kDataOut, 4},
    {"datagen/generator.cpp kLoopHeading", "(/,/,/,10X,'DADOS DE GERADORES',/,10X,18('-'),/)"_layout, kConsoleOut, 4},
    {"datagen/generator.cpp kGeneratorHeading", "(/,/,10X,'Dados do Gerador',I3)"_layout, kConsoleOut, 4},
    {"datagen/generator.cpp kGeneratorHelp", "(5X,'   BUS = Barra do Gerador',/,5X,'   T = Tipo de modelo de maquina',/,12X,'   (= 0 para tensao de excitacao constante,',/,12X,'    = 1 para modelo de 3a. ordem,',/,12X,'    = 2 como tipo1,porem sem regulador de tensao,',/,12X,'    = 3 para modelo de 6a. ordem)',/,5X,'   R = Resistencia da Armadura',/,5X,'   XLD = Reatancia ttransitoria de eixo-d',/,5X,'   XQ = Reatancia de eixo-q',/,5X,'   XD = Reatancia sincrona de eixo-d',/,5X,'   H = Constante de inercia(s)',/,5X,'   D = Constante de amortecimento',/,5X,'   TLD0 = Cte. de tempo transitoria de eixo-d em circ. aberto',/,/)"_layout, kConsoleOut, 4},
    {"datagen/generator.cpp kGeneratorHeader", "(T2,'BUS',T6,'T',T10,'R',T16,'XLD',T24,'XQ',T31,'XD',T38,'H',T45,'D',T51,'TLDO',/,1X,3('-'),' - ',7(6('-'),1X))"_layout, kConsoleOut, 4},
    {"datagen/generator.cpp kGeneratorLine", "(1X,I3,1X,I1,7(1X,F6.2))"_layout, kConsoleIn, 4},
    {"datagen/generator.cpp kModel3Heading", "(/,/,10X,'Dados adicionais para Modelo 3 de Gerador')"_layout, kConsoleOut, 4},
    {"datagen/generator.cpp kModel3Help", "(5X,'   TLQO = Cte. de tempo transitoria de campo de eixo-q em circ. aberto',/,5X,'   XLQ = Reatancia transitoria de eixo-q',/,5X,'   TLLD = Cte. de tempo subtransitoria de campo de eixo-q',/,5X,'   TLLQ = Idem, de eixo-q',/,5X,'   XLLD = Reatancia subtransitoria de eixo-d',/,5X,'   XL = Reatancia de dispersao',/,/)"_layout, kConsoleOut, 4},
    {"datagen/generator.cpp kModel3Header", "(T3,'TLQ0',T10,'XLQ',T17,'TLLD',T24,'TLLQ',T31,'XLLD',T39,'XL',/,6(1X,6('-')))"_layout, kConsoleOut, 4},
    {"datagen/generator.cpp kModel3Line", "(6(1X,F6.2))"_layout, kConsoleIn, 4},
    {"datagen/generator.hpp kMaqRecord", datagen::kMaqRecord, kDataOut, 4},
    {"datagen/generator.hpp kModel3Record", datagen::kModel3Record, kDataOut, 4},
    {"datagen/generator.hpp kRegulatorRecord", datagen::kRegulatorRecord, kDataOut, 4},
    {"datagen/network.hpp kBusLine", datagen::kBusLine, kPowerFlowIn, 4},
    {"datagen/network.hpp kBusRecord", datagen::kBusRecord, kDataOut, 4},
    {"datagen/network.hpp kBranchLine", datagen::kBranchLine, kPowerFlowIn, 4},
    {"datagen/network.hpp kBranchRecord", datagen::kBranchRecord, kDataOut, 4},
    {"datagen/screen.hpp kEnterWith", datagen::kEnterWith, kConsoleOut, 4},
    {"datagen/stabiliser.cpp kHeading", "(/,/,/,10X,'DADOS DE SINAL ESTABILIZADOR',/)"_layout, kConsoleOut, 4},
    {"datagen/stabiliser.cpp kTopologyTitle", "(12X,'TOPOLOGIA DA FUNCAO DE TRANSF. DO ESP - ENTRE COM:',/)"_layout, kConsoleOut, 4},
    {"datagen/stabiliser.cpp kTopologyHelp", "(5X,'   NLLW = Numero de estagios do ESP derivado da velocidade, (NLLW = 0,1,2)',/,15X,'(Nota: NLLW = 0 -> maq. nao eh dotada de sinal estabilizador',/,22X,'derivado da velocidade)',/,/,5X,'   NLLP = Numero de estagios do ESP deriv. da pot. eletr. (NLLP = 0,1,2)',/,15X,'(Nota: NLLP = 0 -> maq. nao eh dotada de sinal estabilizador',/,22X,'derivado da potencia eletrica)',/,/,5X,'   IZW = Tipo de numerador da FT do ESP de velocidade se NLLW = 2:',/,15X,'IZW = 0 -> zeros reais;',/,15X,'IZW = 1 -> zeros complexos, numerador da forma A s^2 + B s + 1.',/,15X,'(Nota: polos do ESP sao considerados reais)',/,/,/,5X,'   IZP = Tipo de numerador da FT do ESP de pot. eletr. se NLLP = 2:',/,15X,'IZP = 0 -> zeros reais',/,15X,'IZP = 1 -> zeros complexos, numerador da forma A s^2 + B s + 1.',/,15X,'(Nota: polos do ESP sao considerados reais)',/,/,8X,'YVMAX = Limite superior de saturacao do ESP',/,/,8X,'YVMAX = Limite inferior de saturacao do ESP',/,/)"_layout, kConsoleOut, 4},
    {"datagen/stabiliser.cpp kTopologyHeader", "(T2,'NLLW',T8,'NLLP',T14,'IZW',T19,'IZP',T24,'YVMAX',T32,'YVMIN',/,2X,'--',4X,'--',2(4X,'-'),1X,2(1X,7('-')))"_layout, kConsoleOut, 4},
    {"datagen/stabiliser.cpp kTopologyLine", "(2X,I2,4X,I2,2(4X,I1),2X,F7.3,1X,F7.3)"_layout, kConsoleIn, 4},
    {"datagen/stabiliser.cpp kStabiliserHeading", "(/,/,'Sinal estabilizador derivado de ',A2,' com',I2,' estagio(s) de avanco-atraso')"_layout, kConsoleOut, 4},
    {"datagen/stabiliser.cpp kRealZeros", "(/,24X,'** Zeros reais **')"_layout, kConsoleOut, 4},
    {"datagen/stabiliser.cpp kComplexZeros", "(/,24X,'** Zeros complexos **')"_layout, kConsoleOut, 4},
    {"datagen/stabiliser.cpp kParameterLine", "(6(1X,F6.2))"_layout, kConsoleIn, 4},
    {"datagen/stabiliser.cpp kOneStageHelp", "(5X,'   KEsp = Ganho do ESP',/,5X,'   TW = Cte. de tempo do bloco washout',/,5X,'   Tnum = Parametro de tempo do numerador Do ESP',/,5X,'   Tden = Constante de tempo do ESP',/,/)"_layout, kConsoleOut, 4},
    {"datagen/stabiliser.cpp kOneStageHeader", "(T3,'KEsp',T11,'TW',T17,'Tnum',T24,'Tden',/,4(1X,6('-')))"_layout, kConsoleOut, 4},
    {"datagen/stabiliser.cpp kSpeedAbsent", "(/,/,8X,'Nao ha sinal estabilizador derivado da velocidade',/,/)"_layout, kConsoleOut, 4},
    {"datagen/stabiliser.cpp kSpeedRealHelp", "(5X,'   KEsp = Ganho do ESP',/,5X,'   TW = Cte. de tempo do bloco washout',/,5X,'   T1w = Parametro de tempo do numeradordo 1o. bloco do ESP',/,5X,'   T3w = Parametro de tempo do numeradordo 2o. bloco do ESP',/,5X,'   T2w = Constante de tempo do 1o. blocodo ESP',/,5X,'   T4w = Constante de tempo do 2o. bloco do ESP',/,/)"_layout, kConsoleOut, 4},
    {"datagen/stabiliser.cpp kSpeedRealHeader", "(T3,'KEsp',T11,'TW',T18,'T1w',T25,'T3w',T32,'T2w',T39,'T4w',/,6(1X,6('-')))"_layout, kConsoleOut, 4},
    {"datagen/stabiliser.cpp kSpeedComplexHelp", "(5X,'   KEsp = Ganho do ESP',/,5X,'   TW = Cte. de tempo do bloco washout',/,5X,'   A = Coeficiente do termo quadratico do numerador do ESP',/,5X,'   B = Coeficiente do termo linear do numerador do ESP',/,5X,'   T2w = Primeira constante de de tempo do ESP',/,5X,'   T4w = Segunda constante de tempo do ESP',/,/)"_layout, kConsoleOut, 4},
    {"datagen/stabiliser.cpp kSpeedComplexHeader", "(T3,'KEsp',T11,'TW',T19,'A',T26,'B',T32,'T2w',T39,'T4w',/,6(1X,6('-')))"_layout, kConsoleOut, 4},
    {"datagen/stabiliser.cpp kPowerAbsent", "(/,/,8X,'Nao ha sinal estabilizador derivado da potencia eletrica',/,/)"_layout, kConsoleOut, 4},
    {"datagen/stabiliser.cpp kPowerRealHelp", "(5X,'   KEsp = Ganho do ESP',/,5X,'   TW = Cte. de tempo do bloco washout',/,5X,'   T1p = Parametro de tempo do numeradordo 1o. bloco do ESP',/,5X,'   T3p = Parametro de tempo do numeradordo 2o. bloco do ESP',/,5X,'   T2p = Constante de tempo do 1o. blocodo ESP',/,5X,'   T4p = Constante de tempo do 2o. bloco do ESP',/,/)"_layout, kConsoleOut, 4},
    {"datagen/stabiliser.cpp kPowerRealHeader", "(T3,'KEsp',T11,'TW',T18,'T1p',T25,'T3p',T32,'T2p',T39,'T4p',/,6(1X,6('-')))"_layout, kConsoleOut, 4},
    {"datagen/stabiliser.cpp kPowerComplexHelp", "(5X,'   KEsp = Ganho do ESP',/,5X,'   TW = Cte. de tempo do bloco washout',/,5X,'   A = Coeficiente do termo quadratico do numerador do ESP',/,5X,'   B = Coeficiente do termo linear do numerador do ESP',/,5X,'   T2p = Primeira constante de de tempo do ESP',/,5X,'   T4p = Segunda constante de tempo do ESP',/,/)"_layout, kConsoleOut, 4},
    {"datagen/stabiliser.cpp kPowerComplexHeader", "(T3,'KEsp',T11,'TW',T19,'A',T26,'B',T32,'T2p',T39,'T4p',/,6(1X,6('-')))"_layout, kConsoleOut, 4},
    {"datagen/stabiliser.hpp kEspRecord", datagen::kEspRecord, kDataOut, 4},
    {"datagen/stabiliser.hpp kStabiliserRecord", datagen::kStabiliserRecord, kDataOut, 4},
    {"datagen/time_data.cpp kHeading", "(/,/,/,1X,10('*'),/,' Dados de Tempo para Simulacao')"_layout, kConsoleOut, 4},
    {"datagen/time_data.cpp kHelp", "(5X,'   DT = PASSO DE INTEGRACAO (3 casas decimais)',/,5X,'   TIF = TEMPO DE TERMINO DA SIMULACAO (1 casa decimal)')"_layout, kConsoleOut, 4},
    {"datagen/time_data.cpp kHeader", "(/,/,T13,'DT',T21,'TIF',/,10X,7('-'),1X,7('-'))"_layout, kConsoleOut, 4},
    {"datagen/time_data.cpp kTimeLine", "(10X,F7.3,1X,F7.3)"_layout, kConsoleIn, 4},
    {"datagen/time_data.cpp kNoPrintStep", "(/,' *** DT deve ser positivo e TIF/DT limitado: entre novamente ***')"_layout, kConsoleOut, 4},
    {"datagen/time_data.hpp kTempoRecord", datagen::kTempoRecord, kDataOut, 4},
    {"datagen/title_size.cpp kTitlePrompt", "(/,/,1X,10('*'),/,' Titulo do caso a ser analisado (80 posicoes):',/,/,' --> ',$)"_layout, kConsoleOut, 4},
    {"datagen/title_size.cpp kSizeHeading", "(10X,'Dados Relativos aa Dimensao do Sistema')"_layout, kConsoleOut, 4},
    {"datagen/title_size.cpp kSizeHelp", "(5X,'   NB = No. BARRAS DO SISTEMA',/,5X,'   NG = No. GERADORES',/,5X,'   NL = No. LINHAS DE TRANSMISSAO/TRAFOS',/)"_layout, kConsoleOut, 4},
    {"datagen/title_size.cpp kSizeHeader", "(10X,'  NB    NG   NLT',/,10X,'-----',1X,'-----',1X,'-----')"_layout, kConsoleOut, 4},
    {"datagen/title_size.cpp kSizeLine", "(10X,I5,1X,I5,1X,I5)"_layout, kConsoleIn, 4},
    {"datagen/title_size.hpp kTitleRecord", datagen::kTitleRecord, kConsoleIn | kDataOut, 4},
    {"datagen/title_size.hpp kDimsistRecord", datagen::kDimsistRecord, kDataOut, 4},
    {"main/identprog.cpp kTwoBlankLines", "(/)"_layout, kConsoleOut, 4},
    {"main/pause.cpp kPauseLine", "('Vesker Pause - Enter command<CR> or <CR> to continue.')"_layout, kConsoleOut, 4},
    {"main/run.cpp kAskPowerFlowName", "(/,/,' Entre com o nome do arquivo com resultados do FLUXO DE POTENCIA,',/,' de extensao \"din\" (max. 8 carac., nao digite a extensao): ',$)"_layout, kConsoleOut, 4},
    {"main/run.cpp kAskDataName", "(/,/,' Entre com o nome do arquivo a ser criado (sem extensao, max. 8 carac): ',$)"_layout, kConsoleOut, 4},
    {"main/run.cpp kName", "(A8)"_layout, kConsoleIn, 12},
    {"main/run.cpp kMissingNotice", "(/,/,/,' > Arquivo : ',A,'  nao existente',/)"_layout, kConsoleOut, 12},
    {"main/run.cpp kExistsNotice", "(/,/,/,2A,/)"_layout, kConsoleOut, 12},
    {"main/run.cpp kRetryQuestion", "(' Deseja entrar com outro nome ? (s/n):',$)"_layout, kConsoleOut, 4},
    {"main/run.cpp kAnswer", "(A)"_layout, kConsoleIn, 1},
    {"main/run.cpp kAskNewName", "(/,/,/,10X,' Entre com novo nome: ',$)"_layout, kConsoleOut, 4},
    {"main/run.cpp kOverwriteNotice", "(/,/,10X,' *** Arquivo existente serah sobrescrito ***',/,/)"_layout, kConsoleOut, 4},
};
// clang-format on

}  // namespace kolven::program_layouts
