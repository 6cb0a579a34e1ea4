// The engine's four streams and how their bytes reach the operating system. Internal to the
// record engine; the rest of the program uses record.hpp.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "record/buffer.hpp"

namespace kolven::record::detail {

// A stream that writes records: the console output or the stability data file.
struct OutputStream {
  OutputStream(int n, std::string_view nm, int d, bool o)
      : number(n), name(nm), fd(d), is_open(o) {}

  int number;
  std::string name;
  int fd = -1;
  bool is_open = false;
  bool read_only = false;     // an existing file that could be opened for reading only
  bool regular = false;       // a regular file, which is cut after the first record written
  bool cut = false;           // the cut has been made
  bool line_open = false;     // the last record had no record end ($)
  std::uint64_t written = 0;  // bytes handed to the operating system
  Buffer buffer;              // completed records not yet handed over

  // Hands every buffered byte to the operating system; a refusal ends the run (38).
  void flush();
  // The same, without the fatal path: false when the system refused (used by the fatal path).
  bool flush_quietly();
};

// A stream that reads records: the console input or the power-flow results file.
struct InputStream {
  InputStream(int n, std::string_view nm, int d, bool o) : number(n), name(nm), fd(d), is_open(o) {}

  int number;
  std::string name;
  int fd = -1;
  bool is_open = false;
  bool ended = false;  // end of stream seen (or a record of the single byte 26)
  bool eof = false;    // the operating system reported the end
  Buffer buffer;       // bytes read, not yet consumed, from `begin`
  std::size_t begin = 0;

  // The longest record kept whole; no layout reaches that far, and no command line is so long.
  static constexpr std::size_t kMaxRecord = std::size_t{1} << 22;

  // The next record, without its line end; valid until the next call. False at the end of the
  // stream; a refused read ends the run (39).
  bool next(std::string_view& record);
  // Reads more bytes after those the buffer holds; false at the end of the input.
  bool fill();
  // Gives back to the operating system the bytes read ahead, where the input can be repositioned,
  // so that a command run from the console pause reads on from the right place.
  void give_back();
};

OutputStream& output(int number);
InputStream& input(int number);

}  // namespace kolven::record::detail
