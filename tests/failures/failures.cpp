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

#include "tests/failures/session.hpp"
#include "tests/support/run.hpp"

namespace fs = std::filesystem;

namespace kolven::testing {
namespace {

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

TEST(Failures, WholeSessionUnderMemcheck) {
#ifdef KOLVEN_SANITIZED
  GTEST_SKIP() << "the sanitizers check this build; memcheck cannot run a sanitized binary";
#endif
  if (system("valgrind --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "valgrind is not installed";
  Case c;
  RunOptions o;
  o.input = session(kTyped);
  o.prefix = {"valgrind", "--quiet", "--error-exitcode=99", "--track-fds=no"};
  o.timeout = std::chrono::seconds(120);
  const Result r = run_kolven(c.dir.path(), o);
  EXPECT_EQ(0, r.status) << r.err;
  EXPECT_EQ("", r.err);
  expect_same_bytes("saida.dad", records(kRecords.size()), read_file(c.dad()));
}

}  // namespace
}  // namespace kolven::testing
