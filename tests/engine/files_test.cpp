// Opening the two files, what an existing data file keeps, and the fatal path: its diagnostic line,
// its exit status, and the records it leaves in the data file.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "record/record.hpp"
#include "tests/engine/helpers.hpp"
#include "tests/support/run.hpp"

namespace fs = std::filesystem;

namespace kolven::engine_test {
namespace {

using record::InStream;
using record::OutStream;
using testing::read_file;
using testing::Scratch;
using testing::visible;
using testing::write_file;

TEST(EngineDataFile, MissingFileIsCreated) {
  Scratch scratch;
  const fs::path path = scratch.path() / "novo.dad";
  record::open_for_writing(OutStream::DataFile, path.string());
  EXPECT_TRUE(fs::exists(path));
  write_record(OutStream::DataFile, layout("(A3,A4,I3)"), {"dim ", "sist", 5});
  record::close_stream(OutStream::DataFile);
  EXPECT_EQ(visible(read_file(path)), visible("dimsist  5\r\n"));
}

TEST(EngineDataFile, NameIsTakenWithoutSurroundingBlanks) {
  Scratch scratch;
  const fs::path path = scratch.path() / "caso.dad";
  record::open_for_writing(OutStream::DataFile, "  " + path.string() + "    ");
  write_record(OutStream::DataFile, layout("('x')"));
  record::close_stream(OutStream::DataFile);
  EXPECT_EQ(read_file(path), "x\r\n");
}

TEST(EngineDataFile, ExistingFileIsUntouchedUntilItsFirstRecordThenCutAfterIt) {
  Scratch scratch;
  const fs::path path = scratch.path() / "velho.dad";
  const std::string old = "old record 1\r\nold record 2\r\nold record 3\r\n";

  write_file(path, old);
  record::open_for_writing(OutStream::DataFile, path.string());
  EXPECT_EQ(read_file(path), old);
  record::close_stream(OutStream::DataFile);
  EXPECT_EQ(read_file(path), old);  // no record: the old content stays

  record::open_for_writing(OutStream::DataFile, path.string());
  write_record(OutStream::DataFile, layout("('new')"));
  record::close_stream(OutStream::DataFile);
  EXPECT_EQ(visible(read_file(path)), visible("new\r\n"));
}

TEST(EngineDataFile, LongRunOverAnExistingFileHoldsExactlyItsRecords) {
  // Shorter and longer than the old content, both well past what is gathered before a hand-over.
  for (const std::size_t records : {1000, 5000}) {
    Scratch scratch;
    const fs::path path = scratch.path() / "velho.dad";
    write_file(path, std::string(300000, 'o'));
    record::open_for_writing(OutStream::DataFile, path.string());
    std::string expected;
    for (std::int32_t k = 0; k < static_cast<std::int32_t>(records); ++k) {
      write_record(OutStream::DataFile, layout("(A4,I6,70X,'|')"), {"barr", k});
      char line[128];
      std::snprintf(line, sizeof line, "barr%6d%70s|\r\n", k, "");
      expected += line;
    }
    record::close_stream(OutStream::DataFile);
    const std::string bytes = read_file(path);
    EXPECT_EQ(bytes.size(), expected.size()) << records << " records";
    EXPECT_TRUE(bytes == expected) << records << " records";
  }
}

// The data file's records are in the file before the program waits for a typed line.
TEST(EngineDataFileDeathTest, RecordsAreHandedOverBeforeAConsoleRead) {
  Scratch scratch;
  const fs::path typed = scratch.path() / "stdin";
  const fs::path path = scratch.path() / "caso.dad";
  write_file(typed, "7\n");
  EXPECT_EXIT(
      {
        stdin_from(typed);
        record::open_for_writing(OutStream::DataFile, path.string());
        write_record(OutStream::DataFile, layout("('tit ',A4)"), {"Caso"});
        std::int32_t i = 0;
        read_record(InStream::Console, layout("(I1)"), {i});
        std::_Exit(read_file(path) == "tit Caso\r\n" && i == 7 ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "^$");
}

struct OpenCase {
  const char* what;
  std::function<std::string(const fs::path&)> make;  // builds the case, gives the name to open
  int number;
  const char* message;  // followed by ", unit 55, file " and the name
};

std::vector<OpenCase> open_cases() {
  return {
      {"a folder", [](const fs::path& d) { return d.string(); }, 9,
       "permission to access file denied"},
      {"a missing folder", [](const fs::path& d) { return (d / "nao" / "caso.dad").string(); }, 29,
       "file not found"},
      {"a NUL byte in the name",
       [](const fs::path& d) { return (d / "caso").string() + std::string(1, '\0') + ".dad"; }, 43,
       "file name specification error"},
      {"a name too long for the file system",
       [](const fs::path& d) { return (d / std::string(300, 'n')).string(); }, 43,
       "file name specification error"},
      {"a socket",
       [](const fs::path& d) {
         const fs::path p = d / "sock";
         const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
         sockaddr_un addr{};
         addr.sun_family = AF_UNIX;
         std::strncpy(addr.sun_path, p.c_str(), sizeof addr.sun_path - 1);
         if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0)
           ADD_FAILURE() << "no socket at " << p;
         if (fd >= 0) close(fd);  // the socket file stays
         return p.string();
       },
       42, "no such device"},
      {"a FIFO that nobody reads",
       [](const fs::path& d) {
         const fs::path p = d / "fifo";
         if (mkfifo(p.c_str(), 0644) != 0) ADD_FAILURE() << "no FIFO at " << p;
         return p.string();
       },
       42, "no such device"},
      {"a loop of symbolic links",
       [](const fs::path& d) {
         fs::create_symlink(d / "b", d / "a");
         fs::create_symlink(d / "a", d / "b");
         return (d / "a").string();
       },
       30, "open failure"},
  };
}

TEST(EngineDataFileDeathTest, FailedOpens) {
  for (const OpenCase& c : open_cases()) {
    Scratch scratch;
    const std::string name = c.make(scratch.path());
    EXPECT_EXIT(record::open_for_writing(OutStream::DataFile, name),
                ::testing::ExitedWithCode(c.number),
                diagnostic(c.number, std::string(c.message) + ", unit 55, file " + name))
        << c.what;
  }
}

TEST(EngineDataFileDeathTest, FileThatCannotBeOpenedAtAll) {
  Scratch scratch;
  const fs::path path = scratch.path() / "fechado.dad";
  write_file(path, "old\r\n");
  fs::permissions(scratch.path(), fs::perms::owner_all | fs::perms::others_exec);
  fs::permissions(path, fs::perms::none);
  EXPECT_EXIT(
      {
        drop_privileges();
        record::open_for_writing(OutStream::DataFile, path.string());
      },
      ::testing::ExitedWithCode(9),
      diagnostic(9, "permission to access file denied, unit 55, file " + path.string()));
}

// A write-protected file is opened without complaint; its first record ends the run.
TEST(EngineDataFileDeathTest, ReadOnlyFile) {
  Scratch scratch;
  const fs::path path = scratch.path() / "protegido.dad";
  write_file(path, "old\r\n");
  fs::permissions(scratch.path(), fs::perms::owner_all | fs::perms::others_exec);
  fs::permissions(path, fs::perms::owner_read | fs::perms::others_read);
  EXPECT_EXIT(
      {
        drop_privileges();
        record::open_for_writing(OutStream::DataFile, path.string());
        record::close_stream(OutStream::DataFile);
        std::_Exit(0);
      },
      ::testing::ExitedWithCode(0), "^$");
  EXPECT_EXIT(
      {
        drop_privileges();
        record::open_for_writing(OutStream::DataFile, path.string());
        write_record(OutStream::DataFile, layout("('new')"));
        record::close_stream(OutStream::DataFile);
      },
      ::testing::ExitedWithCode(47),
      diagnostic(47, "write to READONLY file, unit 55, file " + path.string()));
  EXPECT_EQ(read_file(path), "old\r\n");
}

TEST(EngineDataFileDeathTest, RefusedWrite) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  EXPECT_EXIT(
      {
        record::open_for_writing(OutStream::DataFile, "/dev/full");
        write_record(OutStream::DataFile, layout("('x')"));
        record::close_stream(OutStream::DataFile);
      },
      ::testing::ExitedWithCode(38), diagnostic(38, "error during write, unit 55, file /dev/full"));
}

TEST(EnginePowerFlowFileDeathTest, FailedOpens) {
  Scratch scratch;
  const std::string folder = scratch.path().string();
  const std::string missing = (scratch.path() / "rede.din").string();
  const std::string nul = missing + std::string(1, '\0');
  EXPECT_EXIT(record::open_for_reading(InStream::PowerFlow, folder), ::testing::ExitedWithCode(9),
              diagnostic(9, "permission to access file denied, unit 44, file " + folder));
  EXPECT_EXIT(record::open_for_reading(InStream::PowerFlow, "  " + missing + " "),
              ::testing::ExitedWithCode(29),
              diagnostic(29, "file not found, unit 44, file " + missing));
  EXPECT_EXIT(record::open_for_reading(InStream::PowerFlow, nul), ::testing::ExitedWithCode(43),
              diagnostic(43, "file name specification error, unit 44, file " + nul));
}

TEST(EnginePowerFlowFileDeathTest, EndOfFile) {
  std::int32_t i = 0;
  {
    PowerFlowFile file("1\n");
    file.read("(I1)", {i});
    EXPECT_EXIT(file.read("(I1)", {i}), ::testing::ExitedWithCode(24),
                diagnostic(24, "end-of-file during read, unit 44, file " + file.path().string()));
  }
  {
    PowerFlowFile file("1\n\x1a\n2\n");
    file.read("(I1)", {i});
    EXPECT_EXIT(file.read("(I1)", {i}), ::testing::ExitedWithCode(24),
                diagnostic(24, "end-of-file during read, unit 44, file " + file.path().string()));
  }
  {
    // A / that needs a record past the end.
    PowerFlowFile file("1\n");
    EXPECT_EXIT(file.read("(I1,/,I1)", {i, i}), ::testing::ExitedWithCode(24),
                diagnostic(24, "end-of-file during read, unit 44, file " + file.path().string()));
  }
  {
    PowerFlowFile file("");
    EXPECT_EXIT(file.read("(I1)"), ::testing::ExitedWithCode(24),
                diagnostic(24, "end-of-file during read, unit 44, file " + file.path().string()));
  }
}

TEST(EnginePowerFlowFileDeathTest, ConversionErrors) {
  std::int32_t i = 0;
  double x = 0;
  for (const char* content : {
           "  1.0\n",
           "1\r2\n",  // a lone CR is part of the field
           "\t12\n",
           "    11E400\n",
           "     1.5\t\n",
           "     1.5E\n",
           "   12  1.x\n",
       }) {
    PowerFlowFile file(content);
    EXPECT_EXIT(file.read("(I5,F5.1)", {i, x}), ::testing::ExitedWithCode(64),
                diagnostic(64, "input conversion error, unit 44, file " + file.path().string()))
        << visible(content);
  }
}

TEST(EnginePowerFlowFileDeathTest, RefusedRead) {
  if (!fs::exists("/proc/self/mem")) GTEST_SKIP() << "no /proc/self/mem";
  // Reading a process's memory at address 0 is refused.
  EXPECT_EXIT(
      {
        record::open_for_reading(InStream::PowerFlow, "/proc/self/mem");
        read_record(InStream::PowerFlow, layout("(I1)"));
      },
      ::testing::ExitedWithCode(39),
      diagnostic(39, "error during read, unit 44, file /proc/self/mem"));
}

TEST(EngineConsoleInputDeathTest, FailuresNameTheConsole) {
  Scratch scratch;
  const fs::path typed = scratch.path() / "stdin";
  std::int32_t i = 0;
  const struct {
    std::string content;
    int number;
    const char* message;
  } cases[] = {
      {"1.0\n", 64, "input conversion error, unit -4, file CONIN$"},
      {"", 24, "end-of-file during read, unit -4, file CONIN$"},
      {"\x1a\n5\n", 24, "end-of-file during read, unit -4, file CONIN$"},
      {"\x1a\r\n5\n", 24, "end-of-file during read, unit -4, file CONIN$"},
  };
  for (const auto& c : cases) {
    write_file(typed, c.content);
    EXPECT_EXIT(
        {
          stdin_from(typed);
          read_record(InStream::Console, layout("(I5)"), {i});
        },
        ::testing::ExitedWithCode(c.number), diagnostic(c.number, c.message))
        << visible(c.content);
  }
}

TEST(EngineFatalDeathTest, DiagnosticLines) {
  const struct {
    int number;
    bool input;
    const char* message;
  } cases[] = {
      {24, true, "end-of-file during read, unit -4, file CONIN$"},
      {64, true, "input conversion error, unit -4, file CONIN$"},
      {39, true, "error during read, unit -4, file CONIN$"},
      {38, false, "error during write, unit -1, file CONOUT$"},
      {47, false, "write to READONLY file, unit -1, file CONOUT$"},
      {9, false, "permission to access file denied, unit -1, file CONOUT$"},
      {29, false, "file not found, unit -1, file CONOUT$"},
      {43, false, "file name specification error, unit -1, file CONOUT$"},
      {42, false, "no such device, unit -1, file CONOUT$"},
      {30, false, "open failure, unit -1, file CONOUT$"},
  };
  for (const auto& c : cases) {
    if (c.input)
      EXPECT_EXIT(record::fatal_error(c.number, InStream::Console),
                  ::testing::ExitedWithCode(c.number), diagnostic(c.number, c.message));
    else
      EXPECT_EXIT(record::fatal_error(c.number, OutStream::Console),
                  ::testing::ExitedWithCode(c.number), diagnostic(c.number, c.message));
  }
}

TEST(EngineFatalDeathTest, ExitStatusIsC0000000PlusTheNumber) {
  // The handler sees the whole status; the process keeps its low 8 bits.
  EXPECT_EXIT(
      {
        record::set_exit_handler(
            [](int status) { std::_Exit(status == static_cast<int>(0xC0000040u) ? 3 : 4); });
        record::fatal_error(64, InStream::Console);
      },
      ::testing::ExitedWithCode(3), diagnostic(64, "input conversion error, unit -4, file CONIN$"));
}

TEST(EngineFatalDeathTest, DataFileKeepsEveryRecordCompletedBeforeTheFailure) {
  Scratch scratch;
  const fs::path path = scratch.path() / "caso.dad";
  write_file(path, std::string(1000, 'o'));
  PowerFlowFile empty("");
  EXPECT_EXIT(
      {
        record::open_for_writing(OutStream::DataFile, path.string());
        write_record(OutStream::DataFile, layout("('tit ',A4)"), {"Caso"});
        write_record(OutStream::DataFile, layout("(A3,A4,I3)"), {"dim ", "sist", 3});
        write_record(OutStream::DataFile, layout("('open',$)"));
        read_record(InStream::PowerFlow, layout("(I1)"));
      },
      ::testing::ExitedWithCode(24),
      diagnostic(24, "end-of-file during read, unit 44, file " + empty.path().string()));
  EXPECT_EQ(visible(read_file(path)), visible("tit Caso\r\ndimsist  3\r\nopen"));
}

}  // namespace
}  // namespace kolven::engine_test
