// The run: opening screen, console pause, choice and check of the two files, their opening, the
// data-entry run, the closing of the data file, the stop.
#include "main/run.hpp"

#include <sys/stat.h>

#include <string>
#include <string_view>

#include "datagen/gerdados.hpp"
#include "main/identprog.hpp"
#include "main/pause.hpp"
#include "record/record.hpp"

namespace kolven {
namespace {

using namespace record::literals;
using record::InStream;
using record::OutStream;

constexpr record::Layout kAskPowerFlowName =
    R"((/,/,' Entre com o nome do arquivo com resultados do FLUXO DE POTENCIA,',/,' de extensao "din" (max. 8 carac., nao digite a extensao): ',$))"_layout;
constexpr record::Layout kAskDataName =
    "(/,/,' Entre com o nome do arquivo a ser criado (sem extensao, max. 8 carac): ',$)"_layout;
constexpr record::Layout kName = "(A8)"_layout;
constexpr record::Layout kMissingNotice = "(/,/,/,' > Arquivo : ',A,'  nao existente',/)"_layout;
constexpr record::Layout kExistsNotice = "(/,/,/,2A,/)"_layout;
constexpr record::Layout kRetryQuestion = "(' Deseja entrar com outro nome ? (s/n):',$)"_layout;
constexpr record::Layout kAnswer = "(A)"_layout;
constexpr record::Layout kAskNewName = "(/,/,/,10X,' Entre com novo nome: ',$)"_layout;
constexpr record::Layout kOverwriteNotice =
    "(/,/,10X,' *** Arquivo existente serah sobrescrito ***',/,/)"_layout;

// A file name: 12 characters, blank-padded, as typed and completed with its extension.
using FileName = record::Text<12>;

// Reads a typed name (its first 8 characters) and puts the extension at its first blank. The name
// ends there: characters typed after a blank are not kept.
void read_name(FileName& name, std::string_view extension) {
  record::read_record(InStream::Console, kName, {name});
  std::size_t p = 0;
  while (p < 8 && name[p] != ' ') ++p;
  for (std::size_t k = p; k < name.size(); ++k)
    name[k] = k < p + extension.size() ? extension[k - p] : ' ';
}

// The name for the file system: without its trailing blanks.
std::string system_name(const FileName& name) {
  std::string s(name.data(), name.size());
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

// A name exists when the file system has an entry of that name, a file or a folder. A name with a
// NUL byte names nothing.
bool exists(const std::string& name) {
  if (name.find('\0') != std::string::npos) return false;
  struct stat st;
  return lstat(name.c_str(), &st) == 0;
}

// The retry question; true when the typed line begins with s or S.
bool wants_another_name() {
  record::write_record(OutStream::Console, kRetryQuestion);
  record::Text<1> answer;
  record::read_record(InStream::Console, kAnswer, {answer});
  return answer[0] == 's' || answer[0] == 'S';
}

FileName power_flow_name;
FileName data_name;

}  // namespace

void KOLVEN() {
  IDENTPROG();
  console_pause();

  record::write_record(OutStream::Console, kAskPowerFlowName);
  for (;;) {
    read_name(power_flow_name, ".din");
    if (exists(system_name(power_flow_name))) break;
    record::write_record(OutStream::Console, kMissingNotice, {power_flow_name});
    if (!wants_another_name()) record::stop();
    record::write_record(OutStream::Console, kAskNewName);
  }

  record::write_record(OutStream::Console, kAskDataName);
  for (;;) {
    read_name(data_name, ".dad");
    if (!exists(system_name(data_name))) {
      record::write_text_line(OutStream::Console, "  ");
      record::write_text_line(OutStream::Console, "  ");
      record::write_text_line(OutStream::Console, "          *** Novo arquivo serah criado ***");
      break;
    }
    record::write_record(OutStream::Console, kExistsNotice,
                         {" > Arquivo jah existe!:   ", data_name});
    if (!wants_another_name()) {
      record::write_record(OutStream::Console, kOverwriteNotice);
      break;
    }
    record::write_record(OutStream::Console, kAskNewName);
  }

  record::open_for_writing(OutStream::DataFile, system_name(data_name));
  record::open_for_reading(InStream::PowerFlow, system_name(power_flow_name));
  datagen::GERDADOS();
  record::close_stream(OutStream::DataFile);
  record::stop();
}

}  // namespace kolven
