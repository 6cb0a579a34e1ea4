// kolven-check FILE.dad [FILE.din]: checks a stability data file and prints each problem as
// FILE:LINE:COLUMN: message. Exit status 0 when the file is clean, 1 when problems were found, 2
// when the arguments cannot be read.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>

#include "check/checker.hpp"

namespace {

constexpr std::string_view kHelp =
    "Uso: kolven-check ARQUIVO.dad [ARQUIVO.din]\n"
    "\n"
    "Confere um arquivo de dados de estabilidade (dad) lendo-o como o simulador o le:\n"
    "a ordem dos registros, guiada pelo proprio arquivo (NB, NG e NL em \"dimsist\", o\n"
    "tipo de perturbacao em \"tipfalt\", T em cada \"maq\", NLLW, NLLP, IZW e IZP em cada\n"
    "\"esp\"), os rotulos, os campos numericos (asteriscos de um valor que nao coube,\n"
    "campos que nao sao numeros), os fins de linha CR LF e os brancos no fim dos\n"
    "registros. Com o arquivo de fluxo de potencia (din) de que o arquivo de dados foi\n"
    "feito, confere tambem que cada registro \"barra\" e \"ramo\" traz os valores de sua\n"
    "linha.\n"
    "\n"
    "Cada problema sai numa linha, na forma ARQUIVO:LINHA:COLUNA: mensagem.\n"
    "\n"
    "Estado de saida: 0 arquivo sem problemas, 1 problemas encontrados,\n"
    "2 argumentos que nao podem ser lidos.\n";

constexpr int kClean = 0;
constexpr int kProblems = 1;
constexpr int kUnreadable = 2;

int usage() {
  std::fputs("uso: kolven-check ARQUIVO.dad [ARQUIVO.din] (kolven-check --help para ajuda)\n",
             stderr);
  return kUnreadable;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && (std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h")) {
    std::fwrite(kHelp.data(), 1, kHelp.size(), stdout);
    return kClean;
  }
  if (argc < 2 || argc > 3) return usage();
  for (int i = 1; i < argc; ++i)
    if (std::string_view(argv[i]).starts_with("-")) return usage();

  const std::string dad_name = argv[1];
  std::ifstream dad(dad_name, std::ios::binary);
  if (!dad) {
    std::fprintf(stderr, "kolven-check: nao foi possivel abrir %s\n", dad_name.c_str());
    return kUnreadable;
  }
  std::ifstream din;
  std::string din_name;
  if (argc == 3) {
    din_name = argv[2];
    din.open(din_name, std::ios::binary);
    if (!din) {
      std::fprintf(stderr, "kolven-check: nao foi possivel abrir %s\n", din_name.c_str());
      return kUnreadable;
    }
  }

  const kolven::check::Outcome outcome =
      kolven::check::check(dad, dad_name, argc == 3 ? &din : nullptr, din_name);
  if (outcome.read_failed) {
    std::fprintf(stderr, "kolven-check: erro de leitura\n");
    return kUnreadable;
  }
  std::string out;
  for (const kolven::check::Diagnostic& d : outcome.diagnostics) {
    out += kolven::check::to_text(d);
    out += '\n';
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  std::fflush(stdout);
  return outcome.diagnostics.empty() ? kClean : kProblems;
}
