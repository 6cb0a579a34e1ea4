// The console pause: a prompt line, then every typed non-empty line is run as a command by the
// system's command interpreter, until an empty line is typed.
#pragma once

#include <string>

namespace kolven {

// Returns when the user types an empty line, or when the console input has ended (as if an empty
// line had been typed; the next read then ends the run).
void console_pause();

// What runs a typed pause line: by default the system's command interpreter. A harness that
// drives whole runs from generated input puts its own in place.
using CommandRunner = void (*)(const std::string& line);
void set_command_runner(CommandRunner runner);

}  // namespace kolven
