// Every way a run can end early, through the real binary: the diagnostic line, the exit status,
// and what the data file holds afterwards (every record completed before the failure, nothing
// after it; an existing file untouched where no record was written).
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/run.hpp"

namespace fs = std::filesystem;

namespace kolven::testing {
namespace {

// A whole session of two buses, one generator and one branch: the typed lines, one per screen...
const std::vector<std::string> kTyped = {
    "CASO EXEMPLO",
    "              2     1     1",
    "               1",
    "            0.010   2.000",
    "             1    1    2   0.100",
    "   1 1   0.00   0.30   1.70   1.80   3.00   0.00   6.00",
    " 1  50.00   0.05   5.00  -5.00   1.00   0.50   0.00   0.00",
    "  0.04   1.00   0.00   0.00   0.02   0.00   0.00   0.00   0.00",
    "  5.00  -5.00      1",
    "   1     0    0    0    0.100  -0.100",
    "  20.00  10.00   0.50   0.05",
};

// ...its power-flow results file...
const std::string kBus1 =
    "BARRA1   1   1.05000   0.00000   0.90000   0.10000    2 1.00   0.00000   0.00000\n";
const std::string kBus2 =
    "BARRA2   2   1.00000  -5.00000  -0.90000  -0.30000    0 0.00   0.00000   0.00000\n";
const std::string kBranch =
    "LT-1     1         1         2   0.00000   0.10000   0.00000   0.05000\n";

// ...and the data file it gives.
const std::vector<std::string> kRecords = {
    "CASO EXEMPLO                                                                    ",
    "dimsist  2         1         1         0         0         0",
    "tipfalt  1",
    "tempo  0.0     0.010     0.010     2.000     0.010     0.010       2.0",
    "locfalt  1         1         2     0.000     0.100     0.100",
    "",
    "barra 1  1   1.05000   0.00000   0.90000   0.10000    2 1.00   0.00000   0.00000",
    "barra 2  2   1.00000  -5.00000  -0.90000  -0.30000    0 0.00   0.00000   0.00000",
    "ramo 1   1         1         2   0.00000   0.10000   0.00000   0.05000",
    "maq 1    1         1         1   0.00000   0.30000   1.70000   1.80000   3.00000",
    "   0.00000   1.00000   1.00000   6.00000   0.00000   0.00000   0.00000",
    "RV       0   0.00000   0.00000   0.00000   0.00000   0.00000   0.00000   0.00000",
    "   0.00000   0.00000   0.00000   0.00000   0.00000   0.00000",
    "CO       0   0.00000   0.00000   0.00000",
    "exc 1    1  50.00000   0.05000   5.00000  -5.00000   1.00000   0.50000   0.00000",
    "   0.00000   0.04000   1.00000   0.00000   0.00000   0.02000   0.00000   0.00000",
    "   0.00000   0.00000   5.00000  -5.00000         1",
    "esp 1    1         0         0         0   0.10000  -0.10000",
    "    20.000    10.000     0.500     0.050",
    "     0.000     0.000     0.000     0.000",
};

// Records in the data file once typed line k (1-based) has been read: the fault line completes the
// fault records and the whole network; the generator line its "maq", "RV" and "CO" records.
const int kRecordsAfterLine[] = {0, 1, 2, 3, 4, 9, 14, 15, 16, 17, 18, 20};

// The first `n` records, each with its CR LF.
std::string records(std::size_t n) {
  std::string s;
  for (std::size_t i = 0; i < n; ++i) s += kRecords[i] + "\r\n";
  return s;
}

// Standard input of a session: the two pauses, the file names, then `lines`.
std::string session(const std::vector<std::string>& lines, const std::string& dad = "saida") {
  std::string s = "\n\ncaso\n" + dad + "\n";
  for (const std::string& l : lines) s += l + "\n";
  return s;
}

std::vector<std::string> first(std::size_t n) {
  return std::vector<std::string>(kTyped.begin(), kTyped.begin() + static_cast<long>(n));
}

std::string diagnostic(int number, const std::string& message, int unit, const std::string& file) {
  return "tavrek: severe (" + std::to_string(number) + "): " + message + ", unit " +
         std::to_string(unit) + ", file " + file + "\n";
}

const std::string kEndOfInput = diagnostic(24, "end-of-file during read", -4, "CONIN$");
const std::string kBadTyped = diagnostic(64, "input conversion error", -4, "CONIN$");

// A scratch folder with the power-flow results file of the session.
struct Case {
  Scratch dir;
  explicit Case(const std::string& din = kBus1 + kBus2 + kBranch) {
    write_file(dir.path() / "caso.din", din);
  }
  fs::path dad() const { return dir.path() / "saida.dad"; }
};

TEST(Failures, WholeSessionForReference) {
  Case c;
  const Result r = run_kolven(c.dir.path(), session(kTyped));
  EXPECT_EQ(0, r.status);
  EXPECT_EQ("", r.err);
  expect_same_bytes("saida.dad", records(kRecords.size()), read_file(c.dad()));
}

TEST(Failures, TypedInputEndingAtEachScreen) {
  for (std::size_t k = 0; k < kTyped.size(); ++k) {
    SCOPED_TRACE("typed lines: " + std::to_string(k));
    Case c;
    const Result r = run_kolven(c.dir.path(), session(first(k)));
    EXPECT_EQ(24, r.status);
    EXPECT_EQ(kEndOfInput, r.err);
    expect_same_bytes("saida.dad", records(kRecordsAfterLine[k]), read_file(c.dad()));
  }
}

TEST(Failures, BadTypedFieldOnSeveralScreens) {
  struct Row {
    std::size_t line;  // 0-based index of the typed line replaced
    std::string typed;
  };
  const Row rows[] = {
      {1, "            2.0     1     1"},                                  // a point in NB
      {2, "               x"},                                             // a letter as a flag
      {3, "            0.0x0   2.000"},                                    // a letter in DT
      {4, "             1    1    2   0.1.0"},                             // two points in TCL
      {5, "   1 1   0.00   0.30   1.7o   1.80   3.00   0.00   6.00"},      // a letter in XQ
      {6, " 1  50.00   0.05   5.00  -5.00   1.00   0.50   0.00   0.0\t"},  // a tab after BX
      {8, "  5.00  -5.00     1."},                                         // a point in EXTY
      {9, "   1     0    0    0    0.100 -0.1E  "},  // an exponent letter without digits
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.typed);
    Case c;
    std::vector<std::string> lines = first(row.line + 1);
    lines.back() = row.typed;
    const Result r = run_kolven(c.dir.path(), session(lines));
    EXPECT_EQ(64, r.status);
    EXPECT_EQ(kBadTyped, r.err);
    expect_same_bytes("saida.dad", records(kRecordsAfterLine[row.line]), read_file(c.dad()));
  }
}

TEST(Failures, PowerFlowFileTooShortOrNotNumeric) {
  struct Row {
    std::string din;
    int number;
    std::size_t records;
  };
  const Row rows[] = {
      {kBus1, 24, 7},
      {kBus1 + kBus2, 24, 8},
      {kBus1 + "BARRA2   2   1.0000x  -5.00000\n" + kBranch, 64, 7},
      {kBus1 + kBus2 + "RAMO   LT 1         1         2\n", 64, 8},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.din);
    Case c(row.din);
    const Result r = run_kolven(c.dir.path(), session(kTyped));
    EXPECT_EQ(row.number, r.status);
    const std::string message =
        row.number == 24 ? "end-of-file during read" : "input conversion error";
    EXPECT_EQ(diagnostic(row.number, message, 44, "caso.din"), r.err);
    expect_same_bytes("saida.dad", records(row.records), read_file(c.dad()));
  }
}

TEST(Failures, DataFileThatCannotTakeARecord) {
  Case c;
  fs::create_symlink("/dev/full", c.dad());
  // The name exists: not another name, so it is overwritten; the title record then fails.
  const Result r =
      run_kolven(c.dir.path(), "\n\ncaso\nsaida\nn\n" + kTyped[0] + "\n" + kTyped[1] + "\n");
  EXPECT_EQ(38, r.status);
  EXPECT_EQ(diagnostic(38, "error during write", 55, "saida.dad"), r.err);
}

TEST(Failures, ConsoleOutputThatCannotTakeARecord) {
  const std::string expected = diagnostic(38, "error during write", -1, "CONOUT$");
  {
    Case c;
    RunOptions o;
    o.input = session(kTyped);
    o.stdout_path = "/dev/full";
    const Result r = run_kolven(c.dir.path(), o);
    EXPECT_EQ(38, r.status);
    EXPECT_EQ(expected, r.err);
  }
  {
    // A pipe whose reader has gone: the run ends through the fatal path, not by SIGPIPE.
    Case c;
    RunOptions o;
    o.input = session(kTyped);
    o.stdout_closed_pipe = true;
    const Result r = run_kolven(c.dir.path(), o);
    EXPECT_EQ(38, r.status);
    EXPECT_EQ(expected, r.err);
    EXPECT_FALSE(fs::exists(c.dad()));
  }
}

// Words that run the binary as a user whom a file's mode bits bind, or nothing when this user is
// already bound by them. Empty optional when neither is possible.
std::optional<std::vector<std::string>> unprivileged() {
  if (geteuid() != 0) return std::vector<std::string>{};
  if (system("setpriv --reuid=65534 --regid=65534 --clear-groups true >/dev/null 2>&1") != 0)
    return std::nullopt;
  return std::vector<std::string>{"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups",
                                  "--"};
}

TEST(Failures, WriteProtectedDataFileKeepsItsContent) {
  const auto prefix = unprivileged();
  if (!prefix) GTEST_SKIP() << "no way to run as a user that file modes bind (setpriv failed)";
  Case c;
  const std::string old = "old content\r\nof the file\r\n";
  write_file(c.dad(), old);
  fs::permissions(c.dad(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  fs::permissions(c.dir.path(), fs::perms::all);
  fs::permissions(c.dir.path() / "caso.din", fs::perms::all);
  RunOptions o;
  o.input = "\n\ncaso\nsaida\nn\n" + kTyped[0] + "\n";
  o.prefix = *prefix;
  const Result r = run_kolven(c.dir.path(), o);
  EXPECT_EQ(47, r.status);
  EXPECT_EQ(diagnostic(47, "write to READONLY file", 55, "saida.dad"), r.err);
  EXPECT_EQ(old, read_file(c.dad()));
}

TEST(Failures, DataFileThatCannotBeOpened) {
  struct Row {
    std::string typed_name;  // as typed at the data-file prompt
    int number;
    std::string message;
    std::string file;  // as the diagnostic names it
    bool exists;       // the name exists, so the overwrite question comes first
  };
  const Row rows[] = {
      {"nada/x", 29, "file not found", "nada/x.dad", false},
      {std::string("ab\0cd", 5), 43, "file name specification error", std::string("ab\0cd.dad", 9),
       false},
      {"sock", 42, "no such device", "sock.dad", true},
      {"laco", 30, "open failure", "laco.dad", true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.file);
    Case c;
    // A Unix socket answers an open with "no such device or address"; a link to itself loops.
    const int s = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string socket_path = (c.dir.path() / "sock.dad").string();
    socket_path.copy(address.sun_path, sizeof address.sun_path - 1);
    ASSERT_EQ(0, bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address));
    fs::create_symlink("laco.dad", c.dir.path() / "laco.dad");
    const std::string answer = row.exists ? "n\n" : "";
    const Result r = run_kolven(c.dir.path(), "\n\ncaso\n" + row.typed_name + "\n" + answer);
    close(s);
    EXPECT_EQ(row.number, r.status);
    EXPECT_EQ(diagnostic(row.number, row.message, 55, row.file), r.err);
  }
}

TEST(Failures, KilledAtAPromptLosesNoCompletedRecord) {
  for (const std::size_t k :
       {std::size_t{1}, std::size_t{4}, std::size_t{5}, std::size_t{6}, std::size_t{9}}) {
    SCOPED_TRACE("killed after typed line " + std::to_string(k));
    Case c;
    Interactive run(c.dir.path());
    for (const char* line : {"", "", "caso", "saida"}) {
      ASSERT_TRUE(run.wait_at_prompt());
      run.type(line);
    }
    for (std::size_t i = 0; i < k; ++i) {
      ASSERT_TRUE(run.wait_at_prompt());
      run.type(kTyped[i]);
    }
    ASSERT_TRUE(run.wait_at_prompt());
    run.kill_now();
    expect_same_bytes("saida.dad", records(kRecordsAfterLine[k]), read_file(c.dad()));
  }
}

}  // namespace
}  // namespace kolven::testing
