#include "tests/support/run.hpp"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

namespace fs = std::filesystem;

namespace kolven::testing {

std::string read_file(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void write_file(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

Scratch::Scratch() {
  std::string templ = (fs::temp_directory_path() / "kolven-test-XXXXXX").string();
  if (mkdtemp(templ.data()) == nullptr) std::abort();
  path_ = templ;
}

Scratch::~Scratch() {
  std::error_code ignored;
  // Folders a test made read-only are opened up again, so that they can be removed.
  for (auto it = fs::recursive_directory_iterator(path_, ignored);
       it != fs::recursive_directory_iterator(); it.increment(ignored))
    if (it->is_directory(ignored) && !it->is_symlink(ignored))
      fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
  fs::remove_all(path_, ignored);
}

Result run_kolven(const fs::path& dir, const std::string& input) {
  RunOptions options;
  options.input = input;
  return run_kolven(dir, options);
}

Result run_kolven(const fs::path& dir, const RunOptions& options) {
  Scratch io;
  const fs::path in = io.path() / "stdin";
  const fs::path out =
      options.stdout_path.empty() ? io.path() / "stdout" : fs::path(options.stdout_path);
  const fs::path err = io.path() / "stderr";
  write_file(in, options.input);

  int pipe_fds[2] = {-1, -1};
  if (options.stdout_closed_pipe) {
    if (pipe(pipe_fds) != 0) std::abort();
    close(pipe_fds[0]);  // nobody will ever read
  }

  std::vector<std::string> words = options.prefix;
  words.push_back(options.binary.empty() ? std::string(KOLVEN_BINARY) : options.binary);
  words.insert(words.end(), options.args.begin(), options.args.end());
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);

  const pid_t pid = fork();
  if (pid == 0) {
    if (chdir(dir.c_str()) != 0) _exit(125);
    const int fd_in = open(in.c_str(), O_RDONLY);
    const int fd_out = options.stdout_closed_pipe
                           ? pipe_fds[1]
                           : open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int fd_err = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd_in < 0 || fd_out < 0 || fd_err < 0) _exit(125);
    dup2(fd_in, 0);
    dup2(fd_out, 1);
    dup2(fd_err, 2);
    signal(SIGPIPE, SIG_DFL);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  if (options.stdout_closed_pipe) close(pipe_fds[1]);

  Result r;
  int status = 0;
  const auto deadline = std::chrono::steady_clock::now() + options.timeout;
  for (;;) {
    const pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid) break;
    if (std::chrono::steady_clock::now() > deadline) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      r.timed_out = true;
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  if (WIFEXITED(status)) r.status = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) r.signal = WTERMSIG(status);
  if (options.stdout_path.empty() && !options.stdout_closed_pipe) r.out = read_file(out);
  r.err = read_file(err);
  EXPECT_FALSE(r.timed_out) << "kolven did not end within " << options.timeout.count() << " s";
  EXPECT_EQ(0, r.signal) << "kolven was ended by signal " << r.signal;
  return r;
}

Interactive::Interactive(const fs::path& dir) {
  int fds[2];
  if (pipe(fds) != 0) std::abort();
  const fs::path out = io_.path() / "stdout";
  const fs::path err = io_.path() / "stderr";
  pid_ = fork();
  if (pid_ == 0) {
    if (chdir(dir.c_str()) != 0) _exit(125);
    const int fd_out = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int fd_err = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd_out < 0 || fd_err < 0) _exit(125);
    dup2(fds[0], 0);
    dup2(fd_out, 1);
    dup2(fd_err, 2);
    close(fds[0]);
    close(fds[1]);
    signal(SIGPIPE, SIG_DFL);
    execl(KOLVEN_BINARY, KOLVEN_BINARY, static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[0]);
  input_ = fds[1];
}

Interactive::~Interactive() {
  if (input_ >= 0) close(input_);
  if (!done_ && pid_ > 0) {
    kill(pid_, SIGKILL);
    waitpid(pid_, &status_, 0);
  }
}

bool Interactive::wait_at_prompt(std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  const fs::path syscall = fs::path("/proc") / std::to_string(pid_) / "syscall";
  while (std::chrono::steady_clock::now() < deadline) {
    if (waitpid(pid_, &status_, WNOHANG) == pid_) {
      done_ = true;
      return false;
    }
    int pending = 0;
    ioctl(input_, FIONREAD, &pending);
    // "0 0x0 ..." is read(0, ...): the program waits for a typed line.
    if (pending == 0 && read_file(syscall).rfind("0 0x0 ", 0) == 0) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return false;
}

void Interactive::type(const std::string& line) {
  const std::string bytes = line + "\n";
  if (write(input_, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) std::abort();
}

void Interactive::kill_now() {
  kill(pid_, SIGKILL);
  waitpid(pid_, &status_, 0);
  done_ = true;
}

Result Interactive::finish() {
  close(input_);
  input_ = -1;
  if (!done_) waitpid(pid_, &status_, 0);
  done_ = true;
  Result r;
  if (WIFEXITED(status_)) r.status = WEXITSTATUS(status_);
  if (WIFSIGNALED(status_)) r.signal = WTERMSIG(status_);
  r.out = read_file(io_.path() / "stdout");
  r.err = read_file(io_.path() / "stderr");
  return r;
}

std::string visible(const std::string& s) {
  std::string v;
  for (const unsigned char c : s) {
    if (c == '\r') {
      v += "\\r";
    } else if (c == '\n') {
      v += "\\n";
    } else if (c < 32 || c > 126) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02X", c);
      v += buf;
    } else {
      v += static_cast<char>(c);
    }
  }
  return v;
}

namespace {

// The line (up to and including its LF) that holds byte `at`, and its number from 1.
std::string line_at(const std::string& s, std::size_t at, std::size_t& number) {
  const std::size_t begin = at == 0 ? 0 : s.rfind('\n', at - 1);
  const std::size_t from = begin == std::string::npos || at == 0 ? 0 : begin + 1;
  number = 1 + static_cast<std::size_t>(
                   std::count(s.begin(), s.begin() + static_cast<long>(from), '\n'));
  const std::size_t end = s.find('\n', from);
  return s.substr(from, end == std::string::npos ? std::string::npos : end - from + 1);
}

}  // namespace

void expect_same_bytes(const std::string& what, const std::string& expected,
                       const std::string& actual) {
  if (expected == actual) return;
  std::size_t at = 0;
  while (at < expected.size() && at < actual.size() && expected[at] == actual[at]) ++at;
  std::size_t line_e = 0;
  std::size_t line_a = 0;
  const std::string e = line_at(expected, std::min(at, expected.size()), line_e);
  const std::string a = line_at(actual, std::min(at, actual.size()), line_a);
  ADD_FAILURE() << what << " differs from byte " << at << " (expected " << expected.size()
                << " bytes, got " << actual.size() << ")\n"
                << "  expected, line " << line_e << ": [" << visible(e) << "]\n"
                << "  got,      line " << line_a << ": [" << visible(a) << "]";
}

}  // namespace kolven::testing
