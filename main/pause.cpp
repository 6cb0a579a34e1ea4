#include "main/pause.hpp"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <string>

#include "record/record.hpp"

extern char** environ;

namespace kolven {
namespace {

using namespace record::literals;

constexpr record::Layout kPauseLine =
    "('Vesker Pause - Enter command<CR> or <CR> to continue.')"_layout;

// Runs one typed line, whole, as one command of /bin/sh and waits for its end; its result is
// ignored. The command gets the signals' default actions, whatever this program ignores.
void run_command(const std::string& line) {
  // A line with a NUL byte cannot be handed over whole; it is not run rather than run cut short.
  if (line.find('\0') != std::string::npos) return;
  record::hand_over_console();

  posix_spawnattr_t attr;
  posix_spawnattr_init(&attr);
  sigset_t defaults;
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGPIPE);
  sigaddset(&defaults, SIGINT);
  sigaddset(&defaults, SIGQUIT);
  posix_spawnattr_setsigdefault(&attr, &defaults);
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGDEF);

  // As a shell does while a command runs, the interrupt keys go to the command alone.
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  struct sigaction old_int {};
  struct sigaction old_quit {};
  sigaction(SIGINT, &ignore, &old_int);
  sigaction(SIGQUIT, &ignore, &old_quit);

  std::string sh = "sh";
  std::string dash_c = "-c";
  std::string command = line;
  char* argv[] = {sh.data(), dash_c.data(), command.data(), nullptr};
  pid_t pid = 0;
  if (posix_spawn(&pid, "/bin/sh", nullptr, &attr, argv, environ) == 0) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
  }
  posix_spawnattr_destroy(&attr);
  sigaction(SIGINT, &old_int, nullptr);
  sigaction(SIGQUIT, &old_quit, nullptr);
}

CommandRunner command_runner = run_command;

}  // namespace

void set_command_runner(CommandRunner runner) {
  command_runner = runner != nullptr ? runner : run_command;
}

void console_pause() {
  record::end_open_line();
  std::string line;
  for (;;) {
    record::write_record(record::OutStream::Console, kPauseLine);
    if (!record::read_line(record::InStream::Console, line) || line.empty()) return;
    command_runner(line);
  }
}

}  // namespace kolven
