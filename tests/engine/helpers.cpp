#include "tests/engine/helpers.hpp"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>

namespace fs = std::filesystem;

namespace kolven::engine_test {

using record::OwnedLayout;

Layout layout(std::string_view text) {
  static std::map<std::string, OwnedLayout, std::less<>> parsed;
  auto it = parsed.find(text);
  if (it == parsed.end()) {
    std::string error;
    std::optional<OwnedLayout> l = OwnedLayout::parse(text, &error);
    if (!l) {
      ADD_FAILURE() << "layout " << text << ": " << error;
      return layout("()");
    }
    it = parsed.emplace(std::string(text), std::move(*l)).first;
  }
  return it->second.view();
}

DataFile::DataFile() : path_(scratch_.path() / "caso.dad") {
  record::open_for_writing(record::OutStream::DataFile, path_.string());
  open_ = true;
}

DataFile::~DataFile() {
  if (open_) record::close_stream(record::OutStream::DataFile);
}

void DataFile::write(std::string_view layout_text, std::initializer_list<Out> values) {
  record::write_record(record::OutStream::DataFile, layout(layout_text), values);
}

void DataFile::write_values(std::string_view layout_text, const std::vector<Out>& values) {
  record::write_record(record::OutStream::DataFile, layout(layout_text),
                       std::span<const Out>(values.data(), values.size()));
}

std::string DataFile::bytes() {
  if (open_) record::close_stream(record::OutStream::DataFile);
  open_ = false;
  return testing::read_file(path_);
}

std::string written(std::string_view layout_text, std::initializer_list<Out> values) {
  DataFile file;
  file.write(layout_text, values);
  return file.bytes();
}

std::string written_values(std::string_view layout_text, const std::vector<Out>& values) {
  DataFile file;
  file.write_values(layout_text, values);
  return file.bytes();
}

PowerFlowFile::PowerFlowFile(const std::string& content) : path_(scratch_.path() / "rede.din") {
  testing::write_file(path_, content);
  record::open_for_reading(record::InStream::PowerFlow, path_.string());
}

PowerFlowFile::~PowerFlowFile() {
  record::close_stream(record::InStream::PowerFlow);
}

void PowerFlowFile::read(std::string_view layout_text, std::initializer_list<In> targets) {
  record::read_record(record::InStream::PowerFlow, layout(layout_text), targets);
}

void read_from(const std::string& content, std::string_view layout_text,
               std::initializer_list<In> targets) {
  PowerFlowFile file(content);
  file.read(layout_text, targets);
}

std::string diagnostic(int number, std::string_view message) {
  std::string re = "^tavrek: severe \\(" + std::to_string(number) + "\\): ";
  for (const char c : message) {
    // The text after a NUL byte cannot be matched: the expression ends there, unanchored.
    if (c == '\0') return re;
    if (std::string_view("\\^$.|?*+()[]{}").find(c) != std::string_view::npos) re += '\\';
    re += c;
  }
  re += "\n$";
  return re;
}

void stdin_from(const fs::path& path) {
  const int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0 || dup2(fd, 0) < 0) std::abort();
  ::close(fd);
}

void drop_privileges() {
  if (geteuid() != 0) return;
  if (setgid(65534) != 0 || setuid(65534) != 0) std::abort();
}

CapturedStdout::CapturedStdout(const fs::path& path) : path_(path) {
  std::fflush(stdout);
  saved_ = dup(1);
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (saved_ < 0 || fd < 0 || dup2(fd, 1) < 0) std::abort();
  ::close(fd);
}

CapturedStdout::~CapturedStdout() {
  std::fflush(stdout);
  dup2(saved_, 1);
  ::close(saved_);
}

std::string CapturedStdout::bytes() const {
  return testing::read_file(path_);
}

}  // namespace kolven::engine_test
