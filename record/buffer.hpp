// A growable byte buffer whose new bytes are not cleared: records are built in place and input is
// read straight into it, so no byte is written twice.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string_view>

namespace kolven::record::detail {

class Buffer {
 public:
  Buffer() = default;
  ~Buffer() { std::free(data_); }
  Buffer(const Buffer&) = delete;
  Buffer& operator=(const Buffer&) = delete;

  char* data() { return data_; }
  const char* data() const { return data_; }
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  std::string_view view() const { return {data_, size_}; }

  void clear() { size_ = 0; }

  // Makes room for at least `n` bytes; what the buffer holds is kept.
  void reserve(std::size_t n) {
    if (n <= capacity_) return;
    std::size_t c = capacity_ < 256 ? 256 : capacity_;
    while (c < n) c *= 2;
    char* p = static_cast<char*>(std::realloc(data_, c));
    if (p == nullptr) throw std::bad_alloc();
    data_ = p;
    capacity_ = c;
  }

  // Sets the size; bytes beyond the old size are left as they are (the caller fills them).
  void resize(std::size_t n) {
    reserve(n);
    size_ = n;
  }

  void append(const char* p, std::size_t n) {
    reserve(size_ + n);
    if (n != 0) std::memcpy(data_ + size_, p, n);
    size_ += n;
  }
  void append(std::string_view s) { append(s.data(), s.size()); }
  void append(std::size_t n, char c) {
    reserve(size_ + n);
    std::memset(data_ + size_, c, n);
    size_ += n;
  }
  void push_back(char c) {
    reserve(size_ + 1);
    data_[size_++] = c;
  }

  // Drops the first `n` bytes.
  void erase_front(std::size_t n) {
    std::memmove(data_, data_ + n, size_ - n);
    size_ -= n;
  }

 private:
  char* data_ = nullptr;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

}  // namespace kolven::record::detail
