#include "check/lines.hpp"

#include <cstring>

namespace kolven::check {

bool LineReader::refill() {
  if (eof_) return false;
  in_.read(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
  end_ = static_cast<std::size_t>(in_.gcount());
  pos_ = 0;
  if (in_.bad()) failed_ = true;
  if (!in_) eof_ = true;
  return end_ > 0;
}

bool LineReader::next(Line& line) {
  line.text.clear();
  bool any = false;
  for (;;) {
    if (pos_ == end_ && !refill()) break;
    any = true;
    const char* start = buffer_.data() + pos_;
    const void* lf = std::memchr(start, '\n', end_ - pos_);
    if (lf == nullptr) {
      line.text.append(start, end_ - pos_);
      pos_ = end_;
      continue;
    }
    const std::size_t n = static_cast<std::size_t>(static_cast<const char*>(lf) - start);
    line.text.append(start, n);
    pos_ += n + 1;
    line.number = ++number_;
    if (!line.text.empty() && line.text.back() == '\r') {
      line.text.pop_back();
      line.ending = Ending::CrLf;
    } else {
      line.ending = Ending::Lf;
    }
    return true;
  }
  if (!any) return false;
  line.number = ++number_;
  line.ending = Ending::None;
  return true;
}

}  // namespace kolven::check
