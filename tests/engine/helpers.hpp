// Helpers of the record engine's tests: layouts parsed at run time, a data file in a scratch folder
// whose bytes a test can look at, a power-flow file made from given bytes, and the exact diagnostic
// line of the fatal path as a regular expression for death tests.
#pragma once

#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "record/layout.hpp"
#include "record/record.hpp"
#include "record/values.hpp"
#include "tests/support/run.hpp"

namespace kolven::engine_test {

using record::Complex;
using record::In;
using record::Layout;
using record::Out;

// The parsed form of `text`, kept for the whole test run; a malformed layout fails the test.
Layout layout(std::string_view text);

// A stability data file in a scratch folder of its own, opened on construction.
class DataFile {
 public:
  DataFile();
  ~DataFile();
  DataFile(const DataFile&) = delete;
  DataFile& operator=(const DataFile&) = delete;

  void write(std::string_view layout_text, std::initializer_list<Out> values = {});
  void write_values(std::string_view layout_text, const std::vector<Out>& values);
  // Closes the stream and gives the file's bytes.
  std::string bytes();
  const std::filesystem::path& path() const { return path_; }

 private:
  testing::Scratch scratch_;
  std::filesystem::path path_;
  bool open_ = false;
};

// The bytes of the data file after one output statement.
std::string written(std::string_view layout_text, std::initializer_list<Out> values = {});
std::string written_values(std::string_view layout_text, const std::vector<Out>& values);

// A power-flow results file holding `content`, opened for reading on construction.
class PowerFlowFile {
 public:
  explicit PowerFlowFile(const std::string& content);
  ~PowerFlowFile();
  PowerFlowFile(const PowerFlowFile&) = delete;
  PowerFlowFile& operator=(const PowerFlowFile&) = delete;

  void read(std::string_view layout_text, std::initializer_list<In> targets = {});
  const std::filesystem::path& path() const { return path_; }

 private:
  testing::Scratch scratch_;
  std::filesystem::path path_;
};

// One input statement on a power-flow file that holds `content`.
void read_from(const std::string& content, std::string_view layout_text,
               std::initializer_list<In> targets);

// A regular expression that matches exactly the diagnostic line of failure `number` with `message`
// (its unit and file already filled in), and nothing else on standard error; a message with a NUL
// byte is matched up to that byte only.
std::string diagnostic(int number, std::string_view message);

// Standard input of this process read from `path` (for death-test children only: the console
// input keeps what it has read ahead).
void stdin_from(const std::filesystem::path& path);

// In a death-test child run as root: goes on as an unprivileged user, so that file permissions
// count.
void drop_privileges();

// Standard output into a file while the object lives.
class CapturedStdout {
 public:
  explicit CapturedStdout(const std::filesystem::path& path);
  ~CapturedStdout();
  CapturedStdout(const CapturedStdout&) = delete;
  CapturedStdout& operator=(const CapturedStdout&) = delete;
  std::string bytes() const;

 private:
  std::filesystem::path path_;
  int saved_ = -1;
};

}  // namespace kolven::engine_test
