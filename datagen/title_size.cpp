#include "datagen/title_size.hpp"

#include <array>

#include "datagen/gerdados.hpp"
#include "datagen/screen.hpp"

namespace kolven::datagen {
namespace {

constexpr record::Layout kTitlePrompt =
    "(/,/,1X,10('*'),/,' Titulo do caso a ser analisado (80 posicoes):',/,/,' --> ',$)"_layout;

constexpr record::Layout kSizeHeading = "(10X,'Dados Relativos aa Dimensao do Sistema')"_layout;
constexpr record::Layout kSizeHelp =
    "(5X,'   NB = No. BARRAS DO SISTEMA',/,5X,'   NG = No. GERADORES',/,5X,'   NL = No. LINHAS DE TRANSMISSAO/TRAFOS',/)"_layout;
constexpr record::Layout kSizeHeader =
    "(10X,'  NB    NG   NLT',/,10X,'-----',1X,'-----',1X,'-----')"_layout;
constexpr record::Layout kSizeLine = "(10X,I5,1X,I5,1X,I5)"_layout;

// The case title, stored as typed: 20 groups of 4 characters.
std::array<record::Text<4>, 20> title;

}  // namespace

void case_title() {
  show(kTitlePrompt);
  ask(kTitleRecord, {title});
  put(kTitleRecord, {title});
}

void system_size() {
  show(kSizeHeading);
  show(kEnterWith);
  show(kSizeHelp);
  show(kSizeHeader);
  ask(kSizeLine, {NB, NG, NL});
  put(kDimsistRecord, {kDimLabel, kSistLabel, NB, NG, NL, 0, 0, 0});
}

}  // namespace kolven::datagen
