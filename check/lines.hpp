// Reads a text file line by line, in large blocks, keeping how each line ended.
#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

namespace kolven::check {

enum class Ending : std::uint8_t {
  CrLf,  // CR LF
  Lf,    // LF without CR in front of it
  None,  // the last line, without line end
};

struct Line {
  std::int64_t number = 0;  // from 1
  std::string text;         // without its line end
  Ending ending = Ending::CrLf;
};

class LineReader {
 public:
  explicit LineReader(std::istream& in) : in_(in), buffer_(1 << 16) {}

  // The next line into `line`; false at the end of the file.
  bool next(Line& line);
  // Whether reading failed for another reason than the end of the file.
  bool failed() const { return failed_; }

 private:
  bool refill();

  std::istream& in_;
  std::vector<char> buffer_;
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  std::int64_t number_ = 0;
  bool eof_ = false;
  bool failed_ = false;
};

}  // namespace kolven::check
