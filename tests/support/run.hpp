// Helpers of the tests that run the real kolven binary: scratch folders, a run with a given typed
// input, and a byte-for-byte comparison that shows where two texts part.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace kolven::testing {

std::string read_file(const std::filesystem::path& path);
void write_file(const std::filesystem::path& path, const std::string& bytes);

// A fresh folder, removed with everything in it when the object goes.
class Scratch {
 public:
  Scratch();
  ~Scratch();
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

struct RunOptions {
  std::string binary;               // the program run (empty: kolven)
  std::vector<std::string> args;    // its arguments
  std::string input;                // bytes of standard input
  std::string stdout_path;          // non-empty: standard output goes to this file instead
  bool stdout_closed_pipe = false;  // standard output is a pipe whose reader has gone
  std::vector<std::string> prefix;  // words in front of the binary (setpriv ..., valgrind ...)
  std::chrono::seconds timeout{60};
};

struct Result {
  std::string out;
  std::string err;
  int status = -1;  // exit status, or -1
  int signal = 0;   // the signal that ended the process, or 0
  bool timed_out = false;
};

// Runs kolven (or options.binary) in `dir`.
Result run_kolven(const std::filesystem::path& dir, const std::string& input);
Result run_kolven(const std::filesystem::path& dir, const RunOptions& options);

// kolven driven line by line through a pipe, as a user at a console would: each typed line is
// given only when the program waits for it, so that the run can be cut short at any prompt.
class Interactive {
 public:
  explicit Interactive(const std::filesystem::path& dir);
  ~Interactive();
  Interactive(const Interactive&) = delete;
  Interactive& operator=(const Interactive&) = delete;

  // Waits until the program is blocked reading the console input with nothing left to read;
  // false when it ended or the time ran out.
  bool wait_at_prompt(std::chrono::milliseconds timeout = std::chrono::milliseconds(20000));
  // Types one line (a line end is added).
  void type(const std::string& line);
  // Ends the program at once with SIGKILL.
  void kill_now();
  // Closes the console input and waits for the end of the run.
  Result finish();

 private:
  int pid_ = -1;
  int input_ = -1;
  Scratch io_;
  bool done_ = false;
  int status_ = 0;
};

// Fails the current test when the two differ, showing the first differing line of each with its
// line number and every control character made visible.
void expect_same_bytes(const std::string& what, const std::string& expected,
                       const std::string& actual);

// Makes control characters visible: CR as \r, LF as \n, other bytes below 32 or above 126 as \xNN.
std::string visible(const std::string& s);

}  // namespace kolven::testing
