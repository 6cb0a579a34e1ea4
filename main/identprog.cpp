#include "main/identprog.hpp"

#include <span>
#include <string_view>

#include "main/pause.hpp"
#include "record/record.hpp"

namespace kolven {
namespace {

using namespace record::literals;

constexpr record::Layout kTwoBlankLines = "(/)"_layout;

constexpr std::string_view kBanner[] = {
    " *****************************************************",
    " **                                                 **",
    " **                    KOLVEN                       **",
    " **-------------------------------------------------**",
    " **                                                 **",
    " **    Geracao de Dados para programa ORVANDEL:     **",
    " **     Analise de Estabilidade Transitoria de      **",
    " **         Sistemas Eletricos de Potencia          **",
    " **                                                 **",
    " **-------------------------------------------------**",
    " **                  Versao 1.0                     **",
    " **                                                 **",
    " **      Autoria: Engenheiro Eletricista, D.Sc.     **",
    " **    Grupo de Pesquisa em Sistemas de Potencia    **",
    " **       Departamento de Engenharia Eletrica       **",
    " **                 Outubro, 2007                   **",
    " *****************************************************",
};

constexpr std::string_view kInstructionsHead[] = {
    " *****************************************************",
    " ",
    " INSTRUCOES GERAIS:",
};

constexpr std::string_view kInstructionsBody[] = {
    " 1) Tipos de variaveis:",
    " ",
    "    * Ponto flutuante: variaveis reais, tais como impe-",
    "                       dancias, constantes de tempo,",
    "                       ganhos, etc. VALOR DEVE SEMPRE",
    "                       SER DIGITADO COM O PONTO, mesmo",
    "                       que seja inteiro;",
    " ",
    "    * Inteiras: variaveis inteiras ou binarias, como",
    "                numero de unidades ou estagios de con-",
    "                troladores, tipos de modelos, chaves.",
    "                Seus valores devem ser digitados SEM",
    "                PONTO.",
    " ",
    " 2) Campos de entrada: delimitados por hifens, com o",
    "                       nome da variavel correspondente",
    "                       indicado sobre o campo. Valor da",
    "                       variavel deve estar contido na",
    "                       extensao do campo.",
    " ",
    " 3) No arquivo gerado, as colunas 1 a 5 nao sao campos",
    "    a serem lidos por ORVANDEL; sao preenchidas por",
    "    rotulos que indicam a que componente se referem os",
    "    dados da linha de dados correspondente.",
    " ",
    R"( 4) Um arquivo com extensao "din" contendo os resulta-)",
    "    dos de um estudo de fluxo de potencia para o sistema",
    "    a ser estudado deve estar disponivel no mesmo dire-",
    "    torio onde se encontram os arquivos executaveis de ",
    "    KOLVEN e ORVANDEL.",
    " ",
    " *****************************************************",
};

void write_lines(std::span<const std::string_view> lines) {
  for (const std::string_view line : lines) write_text_line(record::OutStream::Console, line);
}

}  // namespace

void IDENTPROG() {
  write_record(record::OutStream::Console, kTwoBlankLines);
  write_lines(kBanner);
  console_pause();
  write_lines(kInstructionsHead);
  write_record(record::OutStream::Console, kTwoBlankLines);
  write_lines(kInstructionsBody);
}

}  // namespace kolven
