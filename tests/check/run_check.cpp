#include "tests/check/run_check.hpp"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>

namespace kolven::check_test {

testing::Result run_check(const std::filesystem::path& dir, const std::vector<std::string>& args) {
  testing::Scratch io;
  const std::filesystem::path out = io.path() / "stdout";
  const std::filesystem::path err = io.path() / "stderr";
  std::vector<std::string> words{KOLVEN_CHECK_BINARY};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);

  const pid_t pid = fork();
  if (pid == 0) {
    if (chdir(dir.c_str()) != 0) _exit(125);
    const int fd_in = open("/dev/null", O_RDONLY);
    const int fd_out = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int fd_err = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd_in < 0 || fd_out < 0 || fd_err < 0) _exit(126);
    dup2(fd_in, 0);
    dup2(fd_out, 1);
    dup2(fd_err, 2);
    execv(argv[0], argv.data());
    _exit(127);
  }
  testing::Result r;
  int status = 0;
  if (pid < 0 || waitpid(pid, &status, 0) != pid) std::abort();
  if (WIFEXITED(status)) r.status = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) r.signal = WTERMSIG(status);
  r.out = testing::read_file(out);
  r.err = testing::read_file(err);
  return r;
}

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

}  // namespace kolven::check_test
