// The console pause: a prompt line, then every typed non-empty line is run as a command by the
// system's command interpreter, until an empty line is typed.
#pragma once

namespace kolven {

// Returns when the user types an empty line, or when the console input has ended (as if an empty
// line had been typed; the next read then ends the run).
void console_pause();

}  // namespace kolven
