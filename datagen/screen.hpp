// What every data-entry section does with the record engine: show screen lines on the console,
// read the typed line by its layout, and append records to the stability data file.
#pragma once

#include <initializer_list>
#include <span>

#include "record/record.hpp"

namespace kolven::datagen {

using namespace record::literals;

// The line that asks for the values on most screens.
inline constexpr record::Layout kEnterWith = "(/,/,1X,' ENTRE COM:')"_layout;

inline void show(const record::Layout& layout, std::initializer_list<record::Out> values = {}) {
  record::write_record(record::OutStream::Console, layout, values);
}

// A screen line whose number of values is known only at run time.
inline void show_values(const record::Layout& layout, std::span<const record::Out> values) {
  record::write_record(record::OutStream::Console, layout, values);
}

inline void ask(const record::Layout& layout, std::initializer_list<record::In> targets) {
  record::read_record(record::InStream::Console, layout, targets);
}

inline void put(const record::Layout& layout, std::initializer_list<record::Out> values = {}) {
  record::write_record(record::OutStream::DataFile, layout, values);
}

}  // namespace kolven::datagen
