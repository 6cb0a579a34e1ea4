// The data-file checker: reads a stability data file once, from its first line to its last, the
// way the simulator will read it, and points at every problem by line and column: a record
// missing, extra or out of order, a wrong label, a field of asterisks or one that is not a number,
// a line end other than CR LF, blanks at the end of a record. Given the power-flow results file the
// data file was made from, it also checks that every "barra" and "ramo" record carries the values
// of its line.
#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

namespace kolven::check {

struct Diagnostic {
  std::string file;
  std::int64_t line = 0;  // from 1
  unsigned column = 0;    // from 1
  std::string message;
};

// "FILE:LINE:COLUMN: message", the form compilers use.
std::string to_text(const Diagnostic& d);

struct Outcome {
  std::vector<Diagnostic> diagnostics;  // in the order of the data file's lines
  bool read_failed = false;             // a file could not be read to its end
};

// Checks the data file `dad`; `din`, when not null, is the power-flow results file it was made
// from. The names are those the diagnostics give.
Outcome check(std::istream& dad, const std::string& dad_name, std::istream* din = nullptr,
              const std::string& din_name = {});

// The same on texts in memory, named "dados.dad" and "fluxo.din"; `din` only when `with_din`.
Outcome check_text(std::string_view dad, std::string_view din = {}, bool with_din = false);

}  // namespace kolven::check
