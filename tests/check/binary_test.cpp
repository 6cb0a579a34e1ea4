// The real programs together: kolven runs the typed sessions of the end-to-end cases and
// kolven-check reads the data files it writes; hand-broken copies of one of them; the arguments,
// the exit status and the help text of kolven-check.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/check/run_check.hpp"
#include "tests/check/samples.hpp"
#include "tests/support/run.hpp"

namespace fs = std::filesystem;

namespace kolven::check_test {
namespace {

using testing::read_file;
using testing::Result;
using testing::Scratch;
using testing::write_file;

const fs::path kCases = fs::path(KOLVEN_SOURCE_DIR) / "tests/e2e/cases/entry";

// Runs kolven on the session of an end-to-end case in `dir`, which then holds its data file
// "saida.dad" and its power-flow results file "caso.din".
void run_session(const std::string& name, const fs::path& dir) {
  fs::copy(kCases / name / "files", dir, fs::copy_options::recursive);
  const Result r = testing::run_kolven(dir, read_file(kCases / name / "stdin"));
  ASSERT_EQ(r.status, 0) << r.err;
  ASSERT_TRUE(fs::exists(dir / "saida.dad"));
}

struct Session {
  const char* name;
  // What the checker says of the data file: nothing, or the values that did not fit their fields,
  // which the sessions type on purpose.
  std::vector<std::string> diagnostics;
};

class KolvenOutput : public ::testing::TestWithParam<Session> {};

TEST_P(KolvenOutput, ChecksCleanButForValuesThatDidNotFit) {
  Scratch dir;
  run_session(GetParam().name, dir.path());
  for (const bool with_din : {false, true}) {
    std::vector<std::string> args{"saida.dad"};
    if (with_din) args.push_back("caso.din");
    const Result r = run_check(dir.path(), args);
    EXPECT_EQ(lines_of(r.out), GetParam().diagnostics) << (with_din ? "with" : "without") << " din";
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.status, GetParam().diagnostics.empty() ? 0 : 1);
  }
}

const Session kSessions[] = {
    {"worked-example", {}},
    {"perturbation-no-generators", {}},
    {"time-step-100", {}},
    {"time-tif-negative", {}},
    {"generators",
     {"saida.dad:18:9: campo BUS (I2) preenchido com asteriscos",
      "saida.dad:27:49: campo EXTY (I2) preenchido com asteriscos"}},
    {"network",
     {"saida.dad:106:11: campo REAL1 (F10.5) preenchido com asteriscos",
      "saida.dad:106:21: campo REAL2 (F10.5) preenchido com asteriscos",
      "saida.dad:106:56: campo REAL5 (F5.2) preenchido com asteriscos"}},
    {"stabiliser-table",
     {"saida.dad:9:7: campo TLQ0 (F4.2) preenchido com asteriscos",
      "saida.dad:47:10: campo NLLW (I1) preenchido com asteriscos"}},
    {"perturbation-ten-generators",
     {"saida.dad:5:6: campo MAQ1 (F5.2) preenchido com asteriscos",
      "saida.dad:25:9: campo BUS (I2) preenchido com asteriscos"}},
};

INSTANTIATE_TEST_SUITE_P(Check, KolvenOutput, ::testing::ValuesIn(kSessions), [](const auto& info) {
  std::string s = info.param.name;
  for (char& c : s)
    if (c == '-') c = '_';
  return s;
});

// Hand edits of the data file of the worked-example session, on its bytes.
struct Edit {
  const char* name;
  std::string (*apply)(std::string);
  const char* diagnostic;
};

std::vector<std::string> split(const std::string& bytes) {
  std::vector<std::string> lines;
  std::size_t from = 0;
  for (std::size_t at; (at = bytes.find("\r\n", from)) != std::string::npos; from = at + 2)
    lines.push_back(bytes.substr(from, at - from));
  return lines;
}

const Edit kEdits[] = {
    {"asterisks", [](std::string b) { return b.replace(b.find("   0.30000"), 10, "**********"); },
     "saida.dad:10:41: campo XLD (F10.5) preenchido com asteriscos"},
    {"deleted_line",
     [](std::string b) {
       std::vector<std::string> l = split(b);
       l.erase(l.begin() + 13);
       return join(l);
     },
     "saida.dad:14:1: registro faltando: esperado 'CO' do gerador 1"},
    {"swapped_records",
     [](std::string b) {
       std::vector<std::string> l = split(b);
       std::swap(l[6], l[7]);
       return join(l);
     },
     "saida.dad:7:1: registro fora de ordem: 'barra' 2 antes de 'barra' 1"},
    {"label_typo", [](std::string b) { return b.replace(b.find("exc 1"), 3, "ecx"); },
     "saida.dad:15:1: rotulo esperado 'exc', encontrado 'ecx'"},
    {"lf_line_ends", [](std::string b) { return join(split(b), "\n"); },
     "saida.dad:1:81: fim de linha sem CR (e nas 19 linhas seguintes)"},
    {"extra_blank",
     [](std::string b) { return b.replace(b.find("tipfalt  1\r\n"), 12, "tipfalt  1 \r\n"); },
     "saida.dad:3:11: brancos no fim do registro"},
};

class BrokenCopy : public ::testing::TestWithParam<Edit> {};

TEST_P(BrokenCopy, GivesOneDiagnosticAndStatusOne) {
  Scratch dir;
  run_session("worked-example", dir.path());
  write_file(dir.path() / "saida.dad", GetParam().apply(read_file(dir.path() / "saida.dad")));
  for (const bool with_din : {false, true}) {
    std::vector<std::string> args{"saida.dad"};
    if (with_din) args.push_back("caso.din");
    const Result r = run_check(dir.path(), args);
    EXPECT_EQ(r.out, std::string(GetParam().diagnostic) + "\n");
    EXPECT_EQ(r.status, 1);
  }
}

INSTANTIATE_TEST_SUITE_P(Check, BrokenCopy, ::testing::ValuesIn(kEdits),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CheckArguments, HelpTellsTheUsageAndTheExitStatus) {
  Scratch dir;
  const Result r = run_check(dir.path(), {"--help"});
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(r.out.starts_with("Uso: kolven-check ARQUIVO.dad [ARQUIVO.din]\n")) << r.out;
  EXPECT_NE(r.out.find("ARQUIVO:LINHA:COLUNA: mensagem"), std::string::npos);
  EXPECT_NE(r.out.find("0 arquivo sem problemas, 1 problemas encontrados"), std::string::npos);
  EXPECT_EQ(r.err, "");
}

TEST(CheckArguments, ArgumentsThatCannotBeReadGiveStatusTwo) {
  Scratch dir;
  write_file(dir.path() / "a.dad", join(worked_example()));
  fs::create_directory(dir.path() / "pasta.dad");
  const std::vector<std::vector<std::string>> cases{
      {},
      {"a.dad", "b.din", "c"},
      {"-x"},
      {"nao-existe.dad"},
      {"a.dad", "nao-existe.din"},
      {"pasta.dad"},
  };
  for (const std::vector<std::string>& args : cases) {
    const Result r = run_check(dir.path(), args);
    EXPECT_EQ(r.status, 2) << ::testing::PrintToString(args);
    EXPECT_EQ(r.out, "") << ::testing::PrintToString(args);
    EXPECT_NE(r.err, "") << ::testing::PrintToString(args);
  }
}

TEST(CheckArguments, NamesInDiagnosticsAreTheNamesGiven) {
  Scratch dir;
  fs::create_directory(dir.path() / "sub");
  std::string din = worked_example_din();
  din.replace(din.find("   0.90000"), 10, "   0.9x000");
  write_file(dir.path() / "sub/x.dad", join(worked_example()));
  write_file(dir.path() / "sub/y.din", din);
  const Result r = run_check(dir.path(), {"sub/x.dad", "sub/y.din"});
  EXPECT_EQ(r.out, "sub/y.din:1:31: campo REAL3 (F10.5) nao e um numero\n");
  EXPECT_EQ(r.status, 1);
}

}  // namespace
}  // namespace kolven::check_test
