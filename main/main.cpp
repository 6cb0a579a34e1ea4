// KOLVEN: prepares the input data file of a transient-stability simulator from a power-flow
// results file. It takes no arguments: everything is asked on the console.
#include <signal.h>

#include "main/run.hpp"

int main() {
  // A console output that has gone away (a closed pipe) is a failed write, reported as such,
  // rather than a silent end by a signal.
  signal(SIGPIPE, SIG_IGN);
  kolven::KOLVEN();
}
