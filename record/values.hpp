// The values of an output statement and the targets of an input statement. Each is tagged with
// its kind, so that the engine can pair it with the field item that takes it: an I item an
// integer, an F item a real (a complex takes two F items, real part first), an A item a text.
// An array stands for its elements in order, as in an I/O list.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace kolven::record {

struct Complex {
  double re = 0.0;
  double im = 0.0;
};

// A text of exactly N characters (a record label, a group of the case title, a file name).
template <std::size_t N>
using Text = std::array<char, N>;

// Builds a text from a literal of exactly N characters: text("dim ").
template <std::size_t M>
constexpr Text<M - 1> text(const char (&s)[M]) {
  Text<M - 1> t{};
  for (std::size_t i = 0; i + 1 < M; ++i) t[i] = s[i];
  return t;
}

template <std::size_t N>
constexpr std::string_view view(const Text<N>& t) {
  return {t.data(), N};
}

enum class Kind : std::uint8_t { Int, Real, Text };

// One entry of an output value list.
class Out {
 public:
  // The arrays come last: a tag from Ints on stands for several values.
  enum class Tag : std::uint8_t { Int, Real, Complex, Text, Ints, Reals, Texts };

  Out(std::int32_t v) : tag_(Tag::Int), int_(v) {}
  Out(double v) : tag_(Tag::Real), real_(v) {}
  Out(Complex v) : tag_(Tag::Complex), complex_(v) {}
  Out(std::string_view v) : tag_(Tag::Text), text_{v.data(), v.size()} {}
  template <std::size_t M>
  Out(const char (&s)[M]) : tag_(Tag::Text), text_{s, M - 1} {}
  template <std::size_t N>
  Out(const Text<N>& t) : tag_(Tag::Text), text_{t.data(), N} {}
  Out(std::span<const std::int32_t> v) : tag_(Tag::Ints), array_{v.data(), v.size(), 0} {}
  Out(std::span<const double> v) : tag_(Tag::Reals), array_{v.data(), v.size(), 0} {}
  template <std::size_t N>
  Out(std::span<const Text<N>> v) : tag_(Tag::Texts), array_{v.data(), v.size(), N} {}
  template <std::size_t N, std::size_t M>
  Out(const std::array<Text<N>, M>& v) : tag_(Tag::Texts), array_{v.data(), M, N} {}

  Tag tag() const { return tag_; }
  std::int32_t int_value() const { return int_; }
  double real_value() const { return real_; }
  Complex complex_value() const { return complex_; }
  std::string_view text_value() const { return {text_.data, text_.size}; }
  std::size_t count() const { return array_.count; }
  std::int32_t int_at(std::size_t i) const {
    return static_cast<const std::int32_t*>(array_.data)[i];
  }
  double real_at(std::size_t i) const { return static_cast<const double*>(array_.data)[i]; }
  std::string_view text_at(std::size_t i) const {
    return {static_cast<const char*>(array_.data) + i * array_.length, array_.length};
  }

 private:
  struct TextRef {
    const char* data;
    std::size_t size;
  };
  struct ArrayRef {
    const void* data;
    std::size_t count;
    std::size_t length;  // characters per text element
  };
  Tag tag_;
  union {
    std::int32_t int_;
    double real_;
    Complex complex_;
    TextRef text_;
    ArrayRef array_;
  };
};

// One entry of an input target list.
class In {
 public:
  // The arrays come last: a tag from Reals on stands for several targets.
  enum class Tag : std::uint8_t { Int, Real, Complex, Text, Reals, Texts };

  In(std::int32_t& v) : tag_(Tag::Int), ref_{&v, 1, 0} {}
  In(double& v) : tag_(Tag::Real), ref_{&v, 1, 0} {}
  In(Complex& v) : tag_(Tag::Complex), ref_{&v, 1, 0} {}
  template <std::size_t N>
  In(Text<N>& t) : tag_(Tag::Text), ref_{t.data(), 1, N} {}
  In(std::span<double> v) : tag_(Tag::Reals), ref_{v.data(), v.size(), 0} {}
  template <std::size_t N, std::size_t M>
  In(std::array<Text<N>, M>& v) : tag_(Tag::Texts), ref_{v.data(), M, N} {}

  Tag tag() const { return tag_; }
  std::size_t count() const { return ref_.count; }
  std::int32_t& int_ref() const { return *static_cast<std::int32_t*>(ref_.data); }
  double& real_at(std::size_t i) const { return static_cast<double*>(ref_.data)[i]; }
  Complex& complex_ref() const { return *static_cast<Complex*>(ref_.data); }
  std::span<char> text_at(std::size_t i) const {
    return {static_cast<char*>(ref_.data) + i * ref_.length, ref_.length};
  }

 private:
  struct Ref {
    void* data;
    std::size_t count;
    std::size_t length;
  };
  Tag tag_;
  Ref ref_;
};

}  // namespace kolven::record
