// The record engine: the one place where values become text and text becomes values.
//
// Four streams, each with the number and name that diagnostics give:
//   console output        -1  "CONOUT$"            write   standard output
//   console input         -4  "CONIN$"             read    standard input
//   stability data file   55  the name as opened   write   the "dad" file
//   power-flow file       44  the name as opened   read    the "din" file
//
// Every failure of reading, converting, opening or writing ends the run through fatal_error; no
// operation here returns a failure to its caller.
#pragma once

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "record/layout.hpp"
#include "record/values.hpp"

namespace kolven::record {

enum class OutStream : int { Console = -1, DataFile = 55 };
enum class InStream : int { Console = -4, PowerFlow = 44 };

// Failure numbers of the fatal path.
enum Failure : int {
  kEndOfFile = 24,        // end-of-file during read
  kOpenFailure = 30,      // open failure
  kFileNotFound = 29,     // file not found (a folder of the path is missing)
  kReadError = 39,        // error during read
  kWriteError = 38,       // error during write
  kNoSuchDevice = 42,     // no such device
  kBadFileName = 43,      // a name the file system rejects
  kReadOnlyFile = 47,     // write to READONLY file
  kConversionError = 64,  // input conversion error
  kPermissionDenied = 9,  // permission to access file denied
};

// One output statement: the records that `layout` and `values` produce. Console records are on the
// screen when the statement returns; a record marked by $ leaves the cursor after its last
// character. Data-file records are handed to the operating system before the next typed line is
// read, when a large amount has gathered, and at every end of the run.
void write_record(OutStream stream, const Layout& layout, std::initializer_list<Out> values = {});
void write_record(OutStream stream, const Layout& layout, std::span<const Out> values);

// One list-directed output statement with one text: a blank, the text, the record end.
void write_text_line(OutStream stream, std::string_view text);

// One input statement: reads the next record (one more for each '/') and fills the targets.
void read_record(InStream stream, const Layout& layout, std::initializer_list<In> targets = {});

// A field of a record held in memory that does not convert: its first column (from 1), its item
// and the place of its target in the target list (from 0); column 0 when every field converted.
struct FieldFailure {
  unsigned column = 0;
  Item item;
  std::size_t target = 0;
};

// One input statement on a record held in memory (a line of a file that a tool reads itself),
// with the same rules as read_record but without the fatal path: it stops at the first field that
// does not convert and tells which, or where a further record would be needed ('/', reversion).
FieldFailure read_fields(const Layout& layout, std::string_view record,
                         std::span<const In> targets);

// Reads the next record of the stream, whole, into `line`; false at the end of the stream. Used by
// the console pause, which hands the typed line to the command interpreter.
bool read_line(InStream stream, std::string& line);

// Hands every completed record to the operating system and gives back typed input read ahead,
// before a command of the console pause runs on the same console.
void hand_over_console();

// Ends a console line left open by a $ record, so that what follows starts a line of its own.
void end_open_line();

// Opens the stability data file: a missing file is created; an existing one is written from its
// first byte and cut after the first record written (its old content untouched until then); one
// that can be opened for reading only is accepted, and its first record ends the run (47).
void open_for_writing(OutStream stream, std::string_view name);

// Opens the power-flow results file for reading at its first record.
void open_for_reading(InStream stream, std::string_view name);

void close_stream(OutStream stream);
void close_stream(InStream stream);

// The fatal-error path: one diagnostic line on standard error, every open stream closed, exit
// status C0000000 hexadecimal plus `number`. Never returns.
[[noreturn]] void fatal_error(int number, OutStream stream);
[[noreturn]] void fatal_error(int number, InStream stream);

// The orderly stop: every stream still open is closed and the program ends with status 0.
[[noreturn]] void stop();

// Puts every stream back as it is when the program starts: the files closed without handing over
// what is buffered, the console input not yet read. For harnesses that run many sessions in one
// process.
void reset_streams();

// Where the fatal path and the orderly stop end the process. The default exits; a test harness may
// install its own, which must not return (it may throw).
using ExitHandler = void (*)(int status);
void set_exit_handler(ExitHandler handler);

}  // namespace kolven::record
