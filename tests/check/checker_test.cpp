// The checker on data files in memory: the worked example clean, and edited by hand in every way
// the checker is meant to point at, each edit giving exactly one diagnostic at its line and
// column; the values that decide which records follow; the comparison with the power-flow results
// file.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "check/checker.hpp"
#include "tests/check/samples.hpp"

namespace kolven::check_test {
namespace {

using Lines = std::vector<std::string>;

std::vector<std::string> diagnostics(const std::string& dad) {
  std::vector<std::string> out;
  for (const check::Diagnostic& d : check::check_text(dad).diagnostics)
    out.push_back(check::to_text(d));
  return out;
}

std::vector<std::string> diagnostics(const std::string& dad, const std::string& din) {
  std::vector<std::string> out;
  for (const check::Diagnostic& d : check::check_text(dad, din, true).diagnostics)
    out.push_back(check::to_text(d));
  return out;
}

// Overwrites line `line` (from 1) from column `column` (from 1) with `text`.
void put(Lines& lines, std::size_t line, std::size_t column, const std::string& text) {
  std::string& l = lines[line - 1];
  if (l.size() < column - 1 + text.size()) l.resize(column - 1 + text.size(), ' ');
  l.replace(column - 1, text.size(), text);
}

void erase_line(Lines& lines, std::size_t line) {
  lines.erase(lines.begin() + (line - 1));
}

void swap_lines(Lines& lines, std::size_t line) {
  std::swap(lines[line - 1], lines[line]);
}

TEST(CheckerClean, WorkedExampleWithAndWithoutItsPowerFlowFile) {
  EXPECT_EQ(diagnostics(join(worked_example())), std::vector<std::string>{});
  EXPECT_EQ(diagnostics(join(worked_example()), worked_example_din()), std::vector<std::string>{});
}

TEST(CheckerClean, TitleMayEndInBlanksOrBeShort) {
  Lines lines = worked_example();
  lines[0] += "   ";
  EXPECT_EQ(diagnostics(join(lines)), std::vector<std::string>{});
  lines[0] = "CASO EXEMPLO";
  EXPECT_EQ(diagnostics(join(lines)), std::vector<std::string>{});
}

TEST(CheckerFormat, DiagnosticIsFileLineColumnMessage) {
  EXPECT_EQ(check::to_text({"caso.dad", 12, 41, "campo XLD (F10.5) nao e um numero"}),
            "caso.dad:12:41: campo XLD (F10.5) nao e um numero");
}

struct Broken {
  const char* name;
  std::function<void(Lines&)> edit;
  const char* diagnostic;  // the one diagnostic the edit gives
};

class HandBroken : public ::testing::TestWithParam<Broken> {};

TEST_P(HandBroken, GivesExactlyOneDiagnostic) {
  Lines lines = worked_example();
  GetParam().edit(lines);
  std::string text = join(lines);
  if (std::string(GetParam().name).starts_with("lf_")) text = join(lines, "\n");
  if (std::string(GetParam().name) == "no_final_line_end") text.resize(text.size() - 2);
  if (std::string(GetParam().name) == "lf_on_one_line") {
    text = join(Lines(lines.begin(), lines.begin() + 8)) + lines[8] + "\n" +
           join(Lines(lines.begin() + 9, lines.end()));
  }
  EXPECT_EQ(diagnostics(text), std::vector<std::string>{GetParam().diagnostic});
}

const Broken kBroken[] = {
    // A field of asterisks, named with its width.
    {"asterisks_xld", [](Lines& l) { put(l, 10, 41, "**********"); },
     "dados.dad:10:41: campo XLD (F10.5) preenchido com asteriscos"},
    {"asterisks_bus", [](Lines& l) { put(l, 10, 9, "**"); },
     "dados.dad:10:9: campo BUS (I2) preenchido com asteriscos"},
    {"asterisks_tcl", [](Lines& l) { put(l, 5, 41, "**********"); },
     "dados.dad:5:41: campo TCL (F10.3) preenchido com asteriscos"},
    {"asterisks_exty", [](Lines& l) { put(l, 17, 49, "**"); },
     "dados.dad:17:49: campo EXTY (I2) preenchido com asteriscos"},
    {"asterisks_kesp", [](Lines& l) { put(l, 19, 1, "**********"); },
     "dados.dad:19:1: campo KEsp (F10.3) preenchido com asteriscos"},
    {"asterisks_bus_value", [](Lines& l) { put(l, 8, 56, "*****"); },
     "dados.dad:8:56: campo REAL5 (F5.2) preenchido com asteriscos"},
    // A deleted line: the record missing where it should stand.
    {"deleted_title", [](Lines& l) { erase_line(l, 1); },
     "dados.dad:1:1: registro faltando: esperado titulo"},
    {"deleted_tempo", [](Lines& l) { erase_line(l, 4); },
     "dados.dad:4:1: registro faltando: esperado 'tempo'"},
    {"deleted_empty", [](Lines& l) { erase_line(l, 6); },
     "dados.dad:6:1: registro faltando: esperado registro vazio apos 'locfalt'"},
    {"deleted_first_bus", [](Lines& l) { erase_line(l, 7); },
     "dados.dad:7:1: registro faltando: esperado 'barra' 1"},
    {"deleted_branch", [](Lines& l) { erase_line(l, 9); },
     "dados.dad:9:1: registro faltando: esperado 'ramo' 1 (NL = 1)"},
    {"deleted_maq_second_line", [](Lines& l) { erase_line(l, 11); },
     "dados.dad:11:1: registro faltando: esperado segunda linha de 'maq' 1"},
    {"deleted_co", [](Lines& l) { erase_line(l, 14); },
     "dados.dad:14:1: registro faltando: esperado 'CO' do gerador 1"},
    {"deleted_exc_second_line", [](Lines& l) { erase_line(l, 16); },
     "dados.dad:16:1: registro faltando: esperado segunda linha de 'exc' 1"},
    {"deleted_exc_third_line", [](Lines& l) { erase_line(l, 17); },
     "dados.dad:17:1: registro faltando: esperado terceira linha de 'exc' 1"},
    {"deleted_esp", [](Lines& l) { erase_line(l, 18); },
     "dados.dad:18:1: registro faltando: esperado 'esp' 1"},
    {"deleted_last", [](Lines& l) { erase_line(l, 20); },
     "dados.dad:20:1: registro faltando: esperado estabilizador derivado da potencia eletrica do "
     "gerador 1"},
    // Two records in the wrong order.
    {"swapped_tipfalt_tempo", [](Lines& l) { swap_lines(l, 3); },
     "dados.dad:3:1: registro fora de ordem: 'tempo' antes de 'tipfalt'"},
    {"swapped_buses", [](Lines& l) { swap_lines(l, 7); },
     "dados.dad:7:1: registro fora de ordem: 'barra' 2 antes de 'barra' 1"},
    {"swapped_co_exc", [](Lines& l) { swap_lines(l, 14); },
     "dados.dad:14:1: registro fora de ordem: 'exc' 1 antes de 'CO' do gerador 1"},
    {"swapped_esp_stabiliser", [](Lines& l) { swap_lines(l, 18); },
     "dados.dad:18:1: registro fora de ordem: estabilizador derivado da velocidade do gerador 1 "
     "antes de 'esp' 1"},
    // A label typo.
    {"label_maq", [](Lines& l) { put(l, 10, 3, "k"); },
     "dados.dad:10:1: rotulo esperado 'maq', encontrado 'mak'"},
    {"label_tipfalt", [](Lines& l) { put(l, 3, 6, "k"); },
     "dados.dad:3:1: rotulo esperado 'tipfalt', encontrado 'tipfakt'"},
    {"label_barra", [](Lines& l) { put(l, 8, 5, "o"); },
     "dados.dad:8:1: rotulo esperado 'barra', encontrado 'barro'"},
    {"label_rv", [](Lines& l) { put(l, 12, 2, "W"); },
     "dados.dad:12:1: rotulo esperado 'RV', encontrado 'RW'"},
    {"label_swapped_for_another", [](Lines& l) { put(l, 15, 1, "esp"); },
     "dados.dad:15:1: rotulo esperado 'exc', encontrado 'esp'"},
    // Line ends.
    {"lf_everywhere", [](Lines&) {},
     "dados.dad:1:81: fim de linha sem CR (e nas 19 linhas seguintes)"},
    {"lf_on_one_line", [](Lines&) {}, "dados.dad:9:71: fim de linha sem CR"},
    {"no_final_line_end", [](Lines&) {}, "dados.dad:20:41: ultima linha sem fim de linha"},
    // Blanks at the end of a record.
    {"extra_blank_tipfalt", [](Lines& l) { l[2] += " "; },
     "dados.dad:3:11: brancos no fim do registro"},
    {"extra_blanks_maq", [](Lines& l) { l[10] += "   "; },
     "dados.dad:11:71: brancos no fim do registro"},
    {"empty_record_of_blanks", [](Lines& l) { l[5] = "  "; },
     "dados.dad:6:1: brancos no fim do registro"},
    // Records too many.
    {"bus_twice", [](Lines& l) { l.insert(l.begin() + 8, l[7]); },
     "dados.dad:9:1: registro a mais"},
    {"line_after_the_end", [](Lines& l) { l.push_back(l.back()); },
     "dados.dad:21:1: registro a mais"},
    {"lines_after_the_end",
     [](Lines& l) {
       l.insert(l.end(), {"x", "y", "z"});
     },
     "dados.dad:21:1: registro a mais (e mais 2 registros ate o fim do arquivo)"},
    {"blank_line_inserted", [](Lines& l) { l.insert(l.begin() + 12, ""); },
     "dados.dad:13:1: registro a mais"},
    // Fields the simulator cannot read, or reads otherwise than they look.
    {"not_a_number", [](Lines& l) { put(l, 10, 51, "   1.7x000"); },
     "dados.dad:10:51: campo XQ (F10.5) nao e um numero"},
    {"not_an_integer", [](Lines& l) { put(l, 2, 18, "1.0"); },
     "dados.dad:2:11: campo NG (I10) nao e um numero"},
    {"decimal_comma", [](Lines& l) { put(l, 10, 51, "   1,70000"); },
     "dados.dad:10:55: virgula no campo XQ (F10.5)"},
    {"blank_inside_a_number", [](Lines& l) { put(l, 10, 51, "   1.7 000"); },
     "dados.dad:10:57: branco dentro do campo XQ (F10.5)"},
    {"blank_field", [](Lines& l) { put(l, 10, 30, " "); },
     "dados.dad:10:30: campo T (I1) em branco"},
    {"not_finite", [](Lines& l) { put(l, 19, 1, "  Infinity"); },
     "dados.dad:19:1: campo KEsp (F10.3) nao e um numero finito"},
    {"record_cut_short", [](Lines& l) { l[3].resize(68); },
     "dados.dad:4:69: registro termina antes do fim do campo TIF (F10.1)"},
    {"text_between_fields", [](Lines& l) { put(l, 9, 12, "DE"); },
     "dados.dad:9:12: texto fora dos campos do registro"},
    {"text_after_the_record", [](Lines& l) { l[2] += "  x"; },
     "dados.dad:3:13: texto alem do fim do registro"},
    {"wrong_bus_index", [](Lines& l) { put(l, 8, 7, "3"); },
     "dados.dad:8:6: indice esperado 2, encontrado '3'"},
    {"wrong_generator_index", [](Lines& l) { put(l, 18, 5, "2"); },
     "dados.dad:18:4: indice esperado 1, encontrado '2'"},
    {"index_of_asterisks_that_fits", [](Lines& l) { put(l, 7, 6, "**"); },
     "dados.dad:7:6: indice esperado 1, encontrado '**'"},
    // One character too many or too few shifts the fields after it: one diagnostic, where the
    // shift begins.
    {"blank_inserted_mid_line", [](Lines& l) { l[9].insert(42, " "); },
     "dados.dad:10:41: branco a mais; os campos seguintes estao deslocados"},
    {"digit_inserted_mid_line", [](Lines& l) { l[14].insert(25, "7"); },
     "dados.dad:15:26: caractere a mais; os campos seguintes estao deslocados"},
    {"blank_deleted_mid_line", [](Lines& l) { l[15].erase(12, 1); },
     "dados.dad:16:11: falta um caractere; os campos seguintes estao deslocados"},
    {"label_letter_deleted", [](Lines& l) { l[17].erase(1, 1); },
     "dados.dad:18:2: falta um caractere; os campos seguintes estao deslocados"},
    // Counts of "dimsist" that the blocks do not keep to.
    {"nb_too_large", [](Lines& l) { put(l, 2, 10, "3"); },
     "dados.dad:9:1: registro faltando: esperado 'barra' 3 (NB = 3)"},
    {"nb_too_small", [](Lines& l) { put(l, 2, 10, "1"); },
     "dados.dad:8:1: registro a mais: 'barra' 2 alem de NB = 1"},
    {"nl_too_large", [](Lines& l) { put(l, 2, 30, "4"); },
     "dados.dad:10:1: registro faltando: esperado 'ramo' 2 (NL = 4)"},
    {"ng_too_large", [](Lines& l) { put(l, 2, 20, "2"); },
     "dados.dad:21:1: registro faltando: esperado 'maq' 2 (NG = 2)"},
    {"ng_too_small", [](Lines& l) { put(l, 2, 20, "0"); },
     "dados.dad:10:1: registro a mais: 'maq' 1 alem de NG = 0"},
};

INSTANTIATE_TEST_SUITE_P(Checker, HandBroken, ::testing::ValuesIn(kBroken),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CheckerEnds, EmptyFileLacksItsTitle) {
  EXPECT_EQ(diagnostics(""),
            std::vector<std::string>{"dados.dad:1:1: registro faltando: esperado titulo"});
}

TEST(CheckerEnds, FileCutShortNamesTheFirstRecordMissingOnly) {
  Lines lines = worked_example();
  lines.resize(11);
  EXPECT_EQ(
      diagnostics(join(lines)),
      std::vector<std::string>{"dados.dad:12:1: registro faltando: esperado 'RV' do gerador 1"});
}

TEST(CheckerEnds, SeveralProblemsComeInLineOrder) {
  Lines lines = worked_example();
  put(lines, 19, 1, "**********");
  swap_lines(lines, 3);
  lines[9] += " ";
  EXPECT_EQ(
      diagnostics(join(lines)),
      (std::vector<std::string>{"dados.dad:3:1: registro fora de ordem: 'tempo' antes de 'tipfalt'",
                                "dados.dad:10:81: brancos no fim do registro",
                                "dados.dad:19:1: campo KEsp (F10.3) preenchido com asteriscos"}));
}

// The records of one generator after the network of the worked example, with values that decide
// what follows: the machine model type T and the stabiliser topology.
Lines with_generator(const std::string& t, const Lines& after_maq) {
  Lines lines = worked_example();
  lines.resize(9);
  lines.push_back("maq 1    1         1         " + t +
                  "   0.00000   0.30000   1.70000   1.80000   3.00000");
  lines.push_back("   0.00000   1.00000   1.00000   6.00000   0.00000   0.00000   0.00000");
  lines.insert(lines.end(), after_maq.begin(), after_maq.end());
  return lines;
}

Lines regulator_excitation_esp(const std::string& topology) {
  const Lines full = worked_example();
  Lines lines(full.begin() + 11, full.begin() + 17);
  lines.push_back("esp 1    " + topology + "   0.10000  -0.10000");
  return lines;
}

const std::string kModel3 = "      0.50      0.60      0.03      0.05      0.25      0.15";
const std::string kFour = "    20.000    10.000     0.500     0.050";
const std::string kSix = "    20.000    10.000     0.020     0.300     0.050     0.050";
const std::string kZeros = "     0.000     0.000     0.000     0.000";

struct Decided {
  const char* name;
  Lines lines;
  std::vector<std::string> diagnostics;
};

class DecidedByTheFile : public ::testing::TestWithParam<Decided> {};

TEST_P(DecidedByTheFile, RecordsFollowTheValues) {
  EXPECT_EQ(diagnostics(join(GetParam().lines)), GetParam().diagnostics);
}

const Decided kDecided[] = {
    {"t0_ends_the_pass", with_generator("0", {}), {}},
    {"t2_ends_the_pass", with_generator("2", {}), {}},
    {"t2_with_regulator_records",
     with_generator("2", regulator_excitation_esp("1         0         0         0")),
     {"dados.dad:12:1: registro a mais (e mais 6 registros ate o fim do arquivo)"}},
    {"t3_has_model3_data",
     [] {
       Lines after{kModel3};
       for (const std::string& l : regulator_excitation_esp("1         0         0         0"))
         after.push_back(l);
       after.push_back(kFour);
       after.push_back(kZeros);
       return with_generator("3", after);
     }(),
     {}},
    {"t3_without_model3_data",
     [] {
       Lines after = regulator_excitation_esp("1         0         0         0");
       after.push_back(kFour);
       after.push_back(kZeros);
       return with_generator("3", after);
     }(),
     {"dados.dad:12:1: registro faltando: esperado dados do modelo 3 do gerador 1"}},
    {"t7_goes_on_like_t1",
     [] {
       Lines after = regulator_excitation_esp("1         0         0         0");
       after.push_back(kFour);
       after.push_back(kZeros);
       return with_generator("7", after);
     }(),
     {}},
    {"both_stabilisers_absent",
     [] {
       Lines after = regulator_excitation_esp("0         0         0         0");
       after.push_back(kZeros);
       after.push_back(kZeros);
       return with_generator("1", after);
     }(),
     {}},
    {"two_stages_complex_zeros_and_two_stages_real_zeros",
     [] {
       Lines after = regulator_excitation_esp("2         2         1         0");
       after.push_back(kSix);
       after.push_back(kSix);
       return with_generator("1", after);
     }(),
     {}},
    {"two_stages_of_an_unoffered_zero_type_have_no_record",
     [] {
       Lines after = regulator_excitation_esp("2         1         5         0");
       after.push_back(kFour);
       return with_generator("1", after);
     }(),
     {}},
    {"three_stages_have_no_record",
     [] {
       Lines after = regulator_excitation_esp("3         0         0         0");
       after.push_back(kZeros);
       return with_generator("1", after);
     }(),
     {}},
    {"stage_count_of_asterisks_is_beyond_the_choices",
     [] {
       Lines after = regulator_excitation_esp("*         0         0         0");
       after.push_back(kZeros);
       return with_generator("1", after);
     }(),
     {"dados.dad:18:10: campo NLLW (I1) preenchido com asteriscos"}},
    {"stage_count_of_asterisks_leaves_no_room_for_a_speed_record",
     [] {
       // Read as "unknown", the two stabiliser lines would be taken as both stabilisers.
       Lines after = regulator_excitation_esp("*         0         0         0");
       after.push_back(kFour);
       after.push_back(kZeros);
       return with_generator("1", after);
     }(),
     {"dados.dad:18:10: campo NLLW (I1) preenchido com asteriscos",
      "dados.dad:20:1: registro a mais"}},
    {"stage_count_unreadable_counts_the_records",
     [] {
       Lines after = regulator_excitation_esp("x         0         0         0");
       after.push_back(kFour);
       after.push_back(kZeros);
       return with_generator("1", after);
     }(),
     {"dados.dad:18:10: campo NLLW (I1) nao e um numero"}},
    {"one_stage_given_six_values",
     [] {
       Lines after = regulator_excitation_esp("1         0         0         0");
       after.push_back(kSix);
       after.push_back(kZeros);
       return with_generator("1", after);
     }(),
     {"dados.dad:19:46: texto alem do fim do registro"}},
};

INSTANTIATE_TEST_SUITE_P(Checker, DecidedByTheFile, ::testing::ValuesIn(kDecided),
                         [](const auto& info) { return std::string(info.param.name); });

// A perturbation case: NB and NL 0, `ng` generators of T 0, the perturbation records given.
Lines perturbation_case(int ng, const std::string& code, const Lines& records) {
  char size[80];
  std::snprintf(size, sizeof size, "dimsist  0%10d         0         0         0         0", ng);
  Lines lines{"PERTURBACAO", size, "tipfalt  " + code,
              "tempo  0.0     0.010     0.010     2.000     0.010     0.010       2.0"};
  lines.insert(lines.end(), records.begin(), records.end());
  for (int g = 1; g <= ng; ++g) {
    char maq[96];
    std::snprintf(
        maq, sizeof maq,
        "maq%2d    1         1         0   0.00000   0.30000   1.70000   1.80000   3.00000", g);
    lines.push_back(maq);
    lines.push_back("   0.00000   1.00000   1.00000   6.00000   0.00000   0.00000   0.00000");
  }
  return lines;
}

const std::string kEightValues =
    "vel0  0.50      1.00      2.00      3.00      4.00      5.00      6.00      7.00";

TEST(CheckerPerturbation, RecordLengthFollowsNg) {
  EXPECT_EQ(diagnostics(join(perturbation_case(3, "6", {"vel0  0.50     -1.25      2.00"}))),
            std::vector<std::string>{});
  EXPECT_EQ(diagnostics(join(perturbation_case(0, "7", {"ang0"}))), std::vector<std::string>{});
  EXPECT_EQ(diagnostics(join(perturbation_case(2, "7", {"ang0  0.50     -1.25      2.00"}))),
            std::vector<std::string>{"dados.dad:5:27: texto alem do fim do registro"});
}

TEST(CheckerPerturbation, MoreThanEightGeneratorsContinueOnASecondRecord) {
  EXPECT_EQ(diagnostics(join(perturbation_case(10, "6", {kEightValues, "      8.00      9.00"}))),
            std::vector<std::string>{});
  EXPECT_EQ(diagnostics(join(perturbation_case(10, "6", {kEightValues}))),
            std::vector<std::string>{
                "dados.dad:6:1: registro faltando: esperado continuacao das perturbacoes"});
}

TEST(CheckerPerturbation, LabelFollowsTheCode) {
  EXPECT_EQ(diagnostics(join(perturbation_case(3, "7", {"vel0  0.50     -1.25      2.00"}))),
            std::vector<std::string>{"dados.dad:5:1: rotulo esperado 'ang0', encontrado 'vel0'"});
}

TEST(CheckerUnknownCounts, BusCountOfAsterisksCountsTheBusesByLabel) {
  Lines lines = worked_example();
  put(lines, 2, 8, "***");
  EXPECT_EQ(diagnostics(join(lines)),
            std::vector<std::string>{"dados.dad:2:8: campo NB (I3) preenchido com asteriscos"});
  lines.insert(lines.begin() + 8,
               "barra 3  3   1.00000   0.00000   0.00000   0.00000    0 0.00   "
               "0.00000   0.00000");
  EXPECT_EQ(diagnostics(join(lines)),
            std::vector<std::string>{"dados.dad:2:8: campo NB (I3) preenchido com asteriscos"});
}

TEST(CheckerUnknownCounts, UnreadableCodeIsToldByTheNextLabel) {
  Lines lines = perturbation_case(3, "x", {"vel0  0.50     -1.25      2.00"});
  EXPECT_EQ(diagnostics(join(lines)),
            std::vector<std::string>{"dados.dad:3:8: campo TIPO (I3) nao e um numero"});
}

TEST(CheckerUnknownCounts, MissingDimsistLeavesEveryCountToTheLabels) {
  Lines lines = worked_example();
  erase_line(lines, 2);
  EXPECT_EQ(diagnostics(join(lines)),
            std::vector<std::string>{"dados.dad:2:1: registro faltando: esperado 'dimsist'"});
}

TEST(CheckerRunningIndex, IndexBeyondTheFieldIsAsterisksAndNotAProblem) {
  // Bus 100 of a network: its index does not fit I2.
  Lines lines = worked_example();
  lines.erase(lines.begin() + 6, lines.begin() + 8);
  for (int b = 1; b <= 100; ++b) {
    char bus[96];
    std::snprintf(
        bus, sizeof bus,
        "barra%2d  1   1.00000   0.00000   0.00000   0.00000    0 0.00   0.00000   0.00000", b);
    std::string record = bus;
    if (b == 100) record.replace(5, 3, "**");
    lines.insert(lines.begin() + 5 + b, record);
  }
  put(lines, 2, 8, "100");
  EXPECT_EQ(diagnostics(join(lines)), std::vector<std::string>{});
  // Bus 99 deleted: the record of bus 100 does not stand in for it.
  erase_line(lines, 105);
  EXPECT_EQ(diagnostics(join(lines)),
            std::vector<std::string>{"dados.dad:105:1: registro faltando: esperado 'barra' 99"});
}

TEST(CheckerPowerFlow, ValueThatDiffersFromItsLineShowsTheValueExpected) {
  std::string din = worked_example_din();
  din.replace(din.find("  -5.00000"), 10, "  -4.00000");
  EXPECT_EQ(diagnostics(join(worked_example()), din),
            std::vector<std::string>{"dados.dad:8:21: campo REAL2 (F10.5) difere da linha 2 de "
                                     "fluxo.din: esperado '  -4.00000'"});
}

TEST(CheckerPowerFlow, BranchValuesAreComparedToo) {
  Lines lines = worked_example();
  put(lines, 9, 29, " 3");
  EXPECT_EQ(diagnostics(join(lines), worked_example_din()),
            std::vector<std::string>{"dados.dad:9:29: campo INT3 (I2) difere da linha 3 de "
                                     "fluxo.din: esperado ' 2'"});
}

TEST(CheckerPowerFlow, ValuesAreComparedAsTheyReadNotAsTheyLook) {
  // The network transfer copies values: a real without its point and a bus integer typed at the
  // left of its field give the same record.
  std::string din = worked_example_din();
  din.replace(din.find("   1.05000"), 10, "    105000");
  din.replace(din.find("BUS-A    1"), 10, "BUS-A  1  ");
  EXPECT_EQ(diagnostics(join(worked_example()), din), std::vector<std::string>{});
}

TEST(CheckerPowerFlow, CrLfLineEndsOfThePowerFlowFileAreFine) {
  std::string din;
  for (const char c : worked_example_din())
    din += c == '\n' ? std::string("\r\n") : std::string(1, c);
  EXPECT_EQ(diagnostics(join(worked_example()), din), std::vector<std::string>{});
}

TEST(CheckerPowerFlow, FieldThatDoesNotConvertIsShownInThePowerFlowFile) {
  std::string din = worked_example_din();
  din.replace(din.find("   0.10000   0.00000   0.05000"), 10, "   0.1x000");
  EXPECT_EQ(diagnostics(join(worked_example()), din),
            std::vector<std::string>{"fluxo.din:3:41: campo REAL2 (F10.5) nao e um numero"});
}

TEST(CheckerPowerFlow, FileEndsBeforeTheLineOfARecord) {
  std::string din = worked_example_din();
  din.resize(din.find("LT-01"));
  EXPECT_EQ(diagnostics(join(worked_example()), din),
            std::vector<std::string>{"dados.dad:9:1: arquivo fluxo.din termina antes da linha 3"});
  // A line of the byte 26 alone ends it the same way.
  EXPECT_EQ(diagnostics(join(worked_example()), din + "\x1a\n" + "LT-01" + din.substr(5, 80)),
            std::vector<std::string>{"dados.dad:9:1: arquivo fluxo.din termina antes da linha 3"});
}

TEST(CheckerPowerFlow, MissingBusRecordSkipsItsLine) {
  Lines lines = worked_example();
  erase_line(lines, 7);
  EXPECT_EQ(diagnostics(join(lines), worked_example_din()),
            std::vector<std::string>{"dados.dad:7:1: registro faltando: esperado 'barra' 1"});
}

}  // namespace
}  // namespace kolven::check_test
