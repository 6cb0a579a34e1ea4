// The user guide against the program. README.md has a table of the screens, each with an example
// line and the numbers of the records that line writes, and a table of the records with example
// records. Every example line is a line of a sample session of examples/; the session is cut right
// before and right after that line, and the records the line added to the data file must be the
// examples the guide gives for the records it names, in that order. Each example line must also
// lie under the hyphen markers (or arrows) of the screen the program shows for it. The example
// lines of the manual page kolven.1 are held to the same two rules.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "tests/tty/sample.hpp"

namespace fs = std::filesystem;

namespace kolven::testing {
namespace {

const fs::path kReadme = fs::path(KOLVEN_SOURCE_DIR) / "README.md";
const fs::path kManPage = fs::path(KOLVEN_SOURCE_DIR) / "kolven.1";
const char* const kSessions[] = {"caso.txt", "angulo.txt"};

std::string trim(const std::string& s) {
  const std::size_t b = s.find_first_not_of(' ');
  if (b == std::string::npos) return "";
  return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

std::string without_trailing_blanks(std::string s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

// The cells of a table row "| a | b |", split at the bars outside code spans.
std::vector<std::string> cells(const std::string& row) {
  std::vector<std::string> out;
  std::string cell;
  bool in_code = false;
  for (std::size_t i = 1; i < row.size(); ++i) {
    const char c = row[i];
    if (c == '`') in_code = !in_code;
    if (c == '|' && !in_code) {
      out.push_back(trim(cell));
      cell.clear();
    } else {
      cell += c;
    }
  }
  return out;
}

// The code spans of a cell, with the one blank a code span drops at each end when it has both.
std::vector<std::string> code_spans(const std::string& cell) {
  std::vector<std::string> spans;
  std::size_t from = 0;
  for (;;) {
    const std::size_t open = cell.find('`', from);
    if (open == std::string::npos) break;
    const std::size_t close = cell.find('`', open + 1);
    if (close == std::string::npos) break;
    std::string span = cell.substr(open + 1, close - open - 1);
    if (span.size() >= 2 && span.front() == ' ' && span.back() == ' ' &&
        span.find_first_not_of(' ') != std::string::npos)
      span = span.substr(1, span.size() - 2);
    spans.push_back(span);
    from = close + 1;
  }
  return spans;
}

struct Table {
  std::vector<std::string> header;
  std::vector<std::vector<std::string>> rows;
  int column(const std::string& name) const {
    const auto it = std::find(header.begin(), header.end(), name);
    return it == header.end() ? -1 : static_cast<int>(it - header.begin());
  }
};

std::vector<Table> tables(const std::string& markdown) {
  std::vector<Table> out;
  const std::vector<std::string> lines = lines_of(markdown);
  for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
    if (lines[i].rfind("| ", 0) != 0 || lines[i + 1].rfind("|---", 0) != 0) continue;
    Table t;
    t.header = cells(lines[i]);
    std::size_t j = i + 2;
    for (; j < lines.size() && lines[j].rfind("|", 0) == 0; ++j) t.rows.push_back(cells(lines[j]));
    out.push_back(t);
    i = j;
  }
  return out;
}

std::vector<int> numbers(const std::string& cell) {
  std::vector<int> out;
  std::istringstream in(cell);
  std::string word;
  while (std::getline(in, word, ',')) out.push_back(std::stoi(trim(word)));
  return out;
}

// Cuts of the sample sessions: the run given only the first n lines, for any n, computed once.
class Cuts {
 public:
  struct Run {
    std::vector<std::string> records;
    std::string out;
    int status = -1;
  };

  Cuts() {
    for (const char* name : kSessions) sessions_[name] = lines_of(read_file(kExamples / name));
  }

  // Where a line is typed in the sample sessions, after the file names: the first place.
  std::optional<std::pair<std::string, std::size_t>> find(const std::string& line) const {
    for (const char* name : kSessions) {
      const std::vector<std::string>& lines = sessions_.at(name);
      for (std::size_t k = 4; k < lines.size(); ++k)
        if (lines[k] == line) return std::make_pair(std::string(name), k);
    }
    return std::nullopt;
  }

  bool holds(const std::string& line) const { return find(line).has_value(); }

  const Run& first(const std::string& session, std::size_t n) {
    const auto key = std::make_pair(session, n);
    if (auto it = runs_.find(key); it != runs_.end()) return it->second;
    const std::vector<std::string>& all = sessions_.at(session);
    SampleFolder folder;
    const Result r = folder.run(std::vector<std::string>(all.begin(), all.begin() + n));
    Run run;
    run.records = records_of(folder.file(all[3] + ".dad"));
    run.out = r.out;
    run.status = r.status;
    return runs_[key] = run;
  }

 private:
  std::map<std::string, std::vector<std::string>> sessions_;
  std::map<std::pair<std::string, std::size_t>, Run> runs_;
};

// The last complete line of what the program showed: the markers of the screen that waits.
std::string last_line(const std::string& out) {
  if (out.size() < 2 || out.compare(out.size() - 2, 2, "\r\n") != 0) return "";
  const std::size_t begin = out.rfind("\r\n", out.size() - 3);
  return out.substr(begin == std::string::npos ? 0 : begin + 2,
                    out.size() - 2 - (begin == std::string::npos ? 0 : begin + 2));
}

bool is_markers(const std::string& line) {
  return line.find_first_not_of(" -V") == std::string::npos &&
         line.find_first_of("-V") != std::string::npos;
}

// The columns (from 1) of `line` that hold something but stand under no marker.
std::vector<std::size_t> off_markers(const std::string& line, const std::string& markers) {
  std::vector<std::size_t> off;
  for (std::size_t i = 0; i < line.size(); ++i)
    if (line[i] != ' ' && (i >= markers.size() || markers[i] == ' ')) off.push_back(i + 1);
  return off;
}

std::string columns(const std::vector<std::size_t>& cols) {
  std::string s;
  for (std::size_t c : cols) s += (s.empty() ? "" : ", ") + std::to_string(c);
  return s;
}

TEST(Guide, ScreenTableExamplesWriteTheRecordsTheGuideGives) {
  const std::vector<Table> all = tables(read_file(kReadme));
  const Table* screens = nullptr;
  const Table* records = nullptr;
  for (const Table& t : all) {
    if (t.column("Example line") >= 0 && t.column("Writes") >= 0) screens = &t;
    if (t.column("Record") >= 0 && t.column("Example") >= 0) records = &t;
  }
  ASSERT_NE(nullptr, screens) << "README.md has no table of the screens";
  ASSERT_NE(nullptr, records) << "README.md has no table of the records";
  ASSERT_GE(screens->rows.size(), 15u);
  ASSERT_GE(records->rows.size(), 22u);

  // Record number -> its example records (none: an empty line).
  std::map<int, std::vector<std::string>> examples;
  const int example_col = records->column("Example");
  for (const auto& row : records->rows) {
    std::vector<std::string> spans = code_spans(row.at(example_col));
    if (spans.empty()) spans.push_back("");
    examples[std::stoi(row.at(0))] = spans;
  }
  std::set<std::pair<int, std::size_t>> shown;  // (record, example) pairs a line did write

  Cuts cuts;
  const int line_col = screens->column("Example line");
  const int writes_col = screens->column("Writes");
  for (const auto& row : screens->rows) {
    const std::string screen = row.at(0);
    SCOPED_TRACE("screen " + screen + " of README.md");
    const std::vector<std::string> spans = code_spans(row.at(line_col));
    ASSERT_EQ(1u, spans.size()) << "one example line per screen";
    const std::string& line = spans[0];
    const auto where = cuts.find(line);
    ASSERT_TRUE(where.has_value()) << "[" << line << "] is not a line of a sample session";
    const auto& [session, k] = *where;

    const Cuts::Run& before = cuts.first(session, k);
    const Cuts::Run& after = cuts.first(session, k + 1);
    EXPECT_EQ(24, before.status) << "the session cut before the line must end waiting for it";

    // The line must stand under the markers of the screen that waits for it.
    const std::string markers = last_line(before.out);
    if (is_markers(markers)) {
      EXPECT_EQ("", columns(off_markers(line, markers)))
          << "columns of [" << line << "] outside the markers [" << markers << "]";
    } else {
      EXPECT_EQ("1", screen) << "only the title is typed after a prompt instead of markers";
    }

    ASSERT_GE(after.records.size(), before.records.size());
    ASSERT_TRUE(std::equal(before.records.begin(), before.records.end(), after.records.begin()));
    const std::vector<std::string> added(after.records.begin() + before.records.size(),
                                         after.records.end());
    std::size_t at = 0;
    for (const int number : numbers(row.at(writes_col))) {
      ASSERT_TRUE(examples.count(number)) << "no record " << number << " in the records table";
      const std::vector<std::string>& wanted = examples[number];
      bool found = false;
      for (std::size_t next = at; next < added.size() && !found; ++next) {
        for (std::size_t e = 0; e < wanted.size() && !found; ++e) {
          if (without_trailing_blanks(added[next]) != wanted[e]) continue;
          shown.insert({number, e});
          found = true;
          at = next + 1;
        }
      }
      EXPECT_TRUE(found) << "the line [" << line << "] wrote no record " << number
                         << " as the guide gives it; it wrote " << added.size() << " records"
                         << (added.empty() ? "" : ", the first [" + added[0] + "]");
    }
  }

  // No example record that no example line writes.
  for (const auto& [number, spans] : examples) {
    for (std::size_t e = 0; e < spans.size(); ++e) {
      if (spans[e].empty()) continue;
      EXPECT_TRUE(shown.count({number, e}))
          << "record " << number << " example [" << spans[e] << "] is written by no example line";
    }
  }
}

// The example lines under markers in a block of text: (markers, line) pairs.
std::vector<std::pair<std::string, std::string>> under_markers(
    const std::vector<std::string>& block) {
  std::vector<std::pair<std::string, std::string>> out;
  for (std::size_t i = 0; i + 1 < block.size(); ++i)
    if (is_markers(block[i]) && !trim(block[i + 1]).empty() && !is_markers(block[i + 1]))
      out.emplace_back(block[i], block[i + 1]);
  return out;
}

void expect_sample_lines_under_markers(const std::vector<std::vector<std::string>>& blocks,
                                       std::size_t at_least) {
  Cuts cuts;
  std::size_t seen = 0;
  for (const auto& block : blocks)
    for (const auto& [markers, line] : under_markers(block)) {
      ++seen;
      EXPECT_TRUE(cuts.holds(line)) << "[" << line << "] is not a line of a sample session";
      EXPECT_EQ("", columns(off_markers(line, markers)))
          << "columns of [" << line << "] outside the markers [" << markers << "]";
    }
  EXPECT_GE(seen, at_least);
}

TEST(Guide, ReadmeBlocksTypeSampleLinesUnderTheirMarkers) {
  std::vector<std::vector<std::string>> blocks;
  bool in = false;
  for (const std::string& line : lines_of(read_file(kReadme))) {
    if (line.rfind("```", 0) == 0) {
      in = !in;
      if (in) blocks.emplace_back();
    } else if (in) {
      blocks.back().push_back(line);
    }
  }
  expect_sample_lines_under_markers(blocks, 1);
}

TEST(Guide, ManualPageExamplesAreSampleLinesUnderTheirMarkers) {
  std::vector<std::vector<std::string>> blocks;
  bool in = false;
  for (std::string line : lines_of(read_file(kManPage))) {
    if (line.rfind(".nf", 0) == 0) {
      in = true;
      blocks.emplace_back();
    } else if (line.rfind(".fi", 0) == 0) {
      in = false;
    } else if (in && line.rfind(".", 0) != 0) {
      for (std::size_t p; (p = line.find("\\-")) != std::string::npos;) line.replace(p, 2, "-");
      for (std::size_t p; (p = line.find("\\&")) != std::string::npos;) line.erase(p, 2);
      EXPECT_EQ(std::string::npos, line.find('\\')) << "an escape the test does not know: " << line;
      blocks.back().push_back(line);
    }
  }
  expect_sample_lines_under_markers(blocks, 13);
}

}  // namespace
}  // namespace kolven::testing
