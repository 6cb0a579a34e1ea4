#include "check/match.hpp"

#include "record/convert.hpp"

namespace kolven::check {

std::string_view field_text(std::string_view line, const Slot& slot, std::string& scratch) {
  const std::size_t from = slot.column - 1u;
  if (from + slot.width <= line.size()) return line.substr(from, slot.width);
  scratch.assign(slot.width, ' ');
  if (from < line.size()) scratch.replace(0, line.size() - from, line.substr(from));
  return scratch;
}

bool asterisks(std::string_view text) {
  bool any = false;
  for (const char ch : text) {
    if (ch == '*') {
      any = true;
    } else if (ch != ' ') {
      return false;
    }
  }
  return any;
}

std::optional<std::int32_t> read_int(const Columns& c, Kind kind, int value, std::string_view line,
                                     std::optional<std::int32_t> asterisk_value) {
  for (const Slot& s : c.full(kind).slots) {
    if (s.value != value || s.op != record::Op::Int) continue;
    std::string scratch;
    const std::string_view text = field_text(line, s, scratch);
    if (asterisks(text)) return asterisk_value;
    if (text.find_first_not_of(' ') == std::string_view::npos) return std::nullopt;
    std::int32_t v = 0;
    if (!record::scan_int(text, v)) return std::nullopt;
    return v;
  }
  return std::nullopt;
}

unsigned values_held(const Columns& c, Kind kind, std::string_view line) {
  const std::size_t length = content(line).size();
  unsigned n = 0;
  for (const Slot& s : c.full(kind).slots)
    if (s.value >= 0 && s.column <= length) ++n;
  return n;
}

const RecordColumns& columns_for(const Columns& c, const Expected& e, std::string_view line) {
  if (e.values >= 0) return c.of(e.kind, static_cast<unsigned>(e.values));
  return c.of(e.kind, values_held(c, e.kind, line));
}

bool as_written(std::string_view line, const RecordColumns& columns) {
  const std::string_view text = content(line);
  if (text.size() != columns.length) return false;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (!columns.covered[i] && text[i] != ' ') return false;
  char buffer[64];
  for (const Slot& s : columns.slots) {
    if (!s.numeric()) continue;
    const std::string_view field = text.substr(s.column - 1u, s.width);
    if (asterisks(field)) {
      if (field.find(' ') != std::string_view::npos) return false;
      continue;
    }
    if (s.width > sizeof buffer) return false;
    if (s.op == record::Op::Int) {
      std::int32_t v = 0;
      if (!record::scan_int(field, v)) return false;
      record::format_int(buffer, s.width, v);
    } else {
      double v = 0.0;
      if (!record::scan_real(field, s.decimals, v)) return false;
      record::format_real(buffer, s.width, s.decimals, v);
    }
    if (field != std::string_view(buffer, s.width)) return false;
  }
  return true;
}

bool matches(const Columns& c, const Expected& e, std::string_view line) {
  switch (e.kind) {
    case Kind::Title:
      return !c.has_label(Kind::Dimsist, line);
    case Kind::Empty:
      return content(line).empty();
    default:
      break;
  }
  if (c.label(e.kind).empty()) return as_written(line, columns_for(c, e, line));
  if (!c.has_label(e.kind, line)) return false;
  return index_agrees(c, e, line);
}

bool index_agrees(const Columns& c, const Expected& e, std::string_view line) {
  const RecordKind& r = record_kind(e.kind);
  if (r.index < 0 || e.number <= 0) return true;
  for (const Slot& s : c.full(e.kind).slots) {
    if (s.value != r.index) continue;
    std::string scratch;
    const std::string_view text = field_text(line, s, scratch);
    // Asterisks stand for any number too wide for the field, and for no other.
    char written[16];
    if (s.width > sizeof written) return true;
    record::format_int(written, s.width, e.number);
    if (asterisks(text)) return asterisks(std::string_view(written, s.width));
    // An index that cannot be read does not tell records apart.
    std::int32_t v = 0;
    return !record::scan_int(text, v) || text.find_first_not_of(' ') == std::string_view::npos ||
           v == e.number;
  }
  return true;
}

}  // namespace kolven::check
