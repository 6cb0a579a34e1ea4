#include "tests/tty/sample.hpp"

#include <filesystem>

namespace fs = std::filesystem;

namespace kolven::testing {

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t from = 0;
  while (from < text.size()) {
    std::size_t end = text.find('\n', from);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(from, end - from);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    from = end + 1;
  }
  return lines;
}

std::string typed(const std::vector<std::string>& lines) {
  std::string bytes;
  for (const std::string& line : lines) bytes += line + "\n";
  return bytes;
}

std::vector<std::string> records_of(const std::string& bytes) {
  std::vector<std::string> records;
  std::size_t from = 0;
  while (from < bytes.size()) {
    std::size_t end = bytes.find("\r\n", from);
    if (end == std::string::npos) {
      records.push_back(bytes.substr(from) + "  <no CR LF at the end>");
      break;
    }
    records.push_back(bytes.substr(from, end - from));
    from = end + 2;
  }
  return records;
}

SampleFolder::SampleFolder() {
  fs::copy_file(kExamples / "caso.din", scratch_.path() / "caso.din");
}

Result SampleFolder::run(const std::vector<std::string>& lines) const {
  return run_kolven(scratch_.path(), typed(lines));
}

std::string SampleFolder::file(const std::string& name) const {
  const fs::path p = scratch_.path() / name;
  return fs::exists(p) ? read_file(p) : "";
}

}  // namespace kolven::testing
