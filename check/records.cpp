#include "check/records.hpp"

#include <algorithm>
#include <utility>

#include "datagen/disturbance_details.hpp"
#include "datagen/disturbance_type.hpp"
#include "datagen/excitation.hpp"
#include "datagen/generator.hpp"
#include "datagen/network.hpp"
#include "datagen/stabiliser.hpp"
#include "datagen/time_data.hpp"
#include "datagen/title_size.hpp"
#include "record/convert.hpp"

namespace kolven::check {
namespace {

using namespace std::string_view_literals;
namespace dg = datagen;

// The label texts the data-entry sections pass to their label items, in the order they pass them;
// "dim " with A3 and "sist" with A4 show "dimsist".
constexpr std::array kDimsistLabel{dg::kDimLabel, dg::kSistLabel};
constexpr std::array kTipfaltLabel{dg::kTipLabel, dg::kFaltLabel};
constexpr std::array kTempoLabel{dg::kTempLabel, dg::kOLabel};
constexpr std::array kLocfaltLabel{dg::kLocLabel, dg::kFaltLabel};
constexpr std::array kVel0Label{dg::kVel0Label};
constexpr std::array kAng0Label{dg::kAng0Label};
constexpr std::array kBarraLabel{dg::kBarrLabel, dg::kALabel};
constexpr std::array kRamoLabel{dg::kRamoLabel};
constexpr std::array kMaqLabel{dg::kMaqLabel};
constexpr std::array kRvLabel{dg::kRvLabel};
constexpr std::array kCoLabel{dg::kCoLabel};
constexpr std::array kExcLabel{dg::kExcLabel};
constexpr std::array kEspLabel{dg::kEspLabel};

// Names of the values, in the order the sections pass them; label texts are named "rotulo", the
// running indexes "IND", values the sections always pass as the same constant "CONST".
constexpr std::string_view L = "rotulo";
constexpr std::array<std::string_view, 20> kTitleNames{
    "TITULO", "TITULO", "TITULO", "TITULO", "TITULO", "TITULO", "TITULO",
    "TITULO", "TITULO", "TITULO", "TITULO", "TITULO", "TITULO", "TITULO",
    "TITULO", "TITULO", "TITULO", "TITULO", "TITULO", "TITULO"};
constexpr std::array kDimsistNames{L, L, "NB"sv, "NG"sv, "NL"sv, "CONST"sv, "CONST"sv, "CONST"sv};
constexpr std::array kTipfaltNames{L, L, "TIPO"sv};
constexpr std::array kTempoNames{L,       L,      "CONST"sv, "DT"sv, "DTIMP"sv,
                                 "TIF"sv, "DT"sv, "DTIMP"sv, "TIF"sv};
constexpr std::array kLocfaltNames{L, L, "LF"sv, "JK"sv, "JKK"sv, "CONST"sv, "TCL"sv, "TCL"sv};
constexpr std::array kPerturbationNames{L,        "MAQ1"sv, "MAQ2"sv, "MAQ3"sv, "MAQ4"sv,
                                        "MAQ5"sv, "MAQ6"sv, "MAQ7"sv, "MAQ8"sv};
constexpr std::array kPerturbationMoreNames{"MAQ9"sv,  "MAQ10"sv, "MAQ11"sv, "MAQ12"sv,
                                            "MAQ13"sv, "MAQ14"sv, "MAQ15"sv, "MAQ16"sv};
constexpr std::array kBarraNames{L,         L,         "IND"sv,  "INT1"sv,  "REAL1"sv, "REAL2"sv,
                                 "REAL3"sv, "REAL4"sv, "INT2"sv, "REAL5"sv, "REAL6"sv, "REAL7"sv};
constexpr std::array kRamoNames{L,         "IND"sv,   "INT1"sv,  "INT2"sv, "INT3"sv,
                                "REAL1"sv, "REAL2"sv, "REAL3"sv, "REAL4"sv};
constexpr std::array kMaqNames{L,         "IND"sv,  "BUS"sv,   "CONST"sv, "T"sv,    "R"sv,
                               "XLD"sv,   "XQ"sv,   "XD"sv,    "H"sv,     "D"sv,    "CONST"sv,
                               "CONST"sv, "TLD0"sv, "CONST"sv, "CONST"sv, "CONST"sv};
constexpr std::array kModel3Names{"TLQ0"sv, "XLQ"sv, "TLLD"sv, "TLLQ"sv, "XLLD"sv, "XL"sv};
constexpr std::array kRegulatorNames{L,         "INT"sv,    "REAL1"sv,  "REAL2"sv,  "REAL3"sv,
                                     "REAL4"sv, "REAL5"sv,  "REAL6"sv,  "REAL7"sv,  "REAL8"sv,
                                     "REAL9"sv, "REAL10"sv, "REAL11"sv, "REAL12"sv, "REAL13"sv};
constexpr std::array kExc1Names{L,        "IND"sv,  "K"sv,  "KA"sv, "TA"sv,
                                "VMAX"sv, "VMIN"sv, "KE"sv, "TE"sv, "AX"sv};
constexpr std::array kExc2Names{"BX"sv, "Mu_s"sv, "TSE"sv, "T1"sv,
                                "T2"sv, "TSEN"sv, "TM1"sv, "TM2"sv};
constexpr std::array kExc3Names{"TM3"sv, "TM4"sv, "XVMAX"sv, "XVMIN"sv, "EXTY"sv};
constexpr std::array kEspNames{L,       "IND"sv, "NLLW"sv,  "NLLP"sv,
                               "IZW"sv, "IZP"sv, "YVMAX"sv, "YVMIN"sv};
constexpr std::array kOneStageNames{"KEsp"sv, "TW"sv, "Tnum"sv, "Tden"sv};
constexpr std::array kSpeedRealNames{"KEsp"sv, "TW"sv, "T1w"sv, "T3w"sv, "T2w"sv, "T4w"sv};
constexpr std::array kSpeedComplexNames{"KEsp"sv, "TW"sv, "A"sv, "B"sv, "T2w"sv, "T4w"sv};
constexpr std::array kPowerRealNames{"KEsp"sv, "TW"sv, "T1p"sv, "T3p"sv, "T2p"sv, "T4p"sv};
constexpr std::array kPowerComplexNames{"KEsp"sv, "TW"sv, "A"sv, "B"sv, "T2p"sv, "T4p"sv};

constexpr std::span<const std::string_view> kNoLabel{};

template <std::size_t N>
constexpr std::span<const std::string_view> s(const std::array<std::string_view, N>& a) {
  return {a.data(), N};
}

// In the order of Kind.
const std::array<RecordKind, kKinds> kRecords{{
    {Kind::Title, &dg::kTitleRecord, 0, 20, false, kNoLabel, s(kTitleNames), -1, true, "titulo"},
    {Kind::Dimsist, &dg::kDimsistRecord, 0, 8, false, s(kDimsistLabel), s(kDimsistNames), -1, false,
     "'dimsist'"},
    {Kind::Tipfalt, &dg::kTipfaltRecord, 0, 3, false, s(kTipfaltLabel), s(kTipfaltNames), -1, false,
     "'tipfalt'"},
    {Kind::Tempo, &dg::kTempoRecord, 0, 9, false, s(kTempoLabel), s(kTempoNames), -1, false,
     "'tempo'"},
    {Kind::Locfalt, &dg::kLocfaltRecord, 0, 8, false, s(kLocfaltLabel), s(kLocfaltNames), -1, false,
     "'locfalt'"},
    {Kind::Empty, &dg::kEmptyRecord, 0, 0, false, kNoLabel, kNoLabel, -1, false,
     "registro vazio apos 'locfalt'"},
    {Kind::Vel0, &dg::kPerturbationRecord, 0, 9, true, s(kVel0Label), s(kPerturbationNames), -1,
     false, "'vel0'"},
    {Kind::Ang0, &dg::kPerturbationRecord, 0, 9, true, s(kAng0Label), s(kPerturbationNames), -1,
     false, "'ang0'"},
    {Kind::PerturbationMore, &dg::kPerturbationContinuation, 0, 8, true, kNoLabel,
     s(kPerturbationMoreNames), -1, false, "continuacao das perturbacoes"},
    {Kind::Barra, &dg::kBusRecord, 0, 12, false, s(kBarraLabel), s(kBarraNames), 2, false,
     "'barra'"},
    {Kind::Ramo, &dg::kBranchRecord, 0, 9, false, s(kRamoLabel), s(kRamoNames), 1, false, "'ramo'"},
    {Kind::Maq1, &dg::kMaqRecord, 0, 17, false, s(kMaqLabel), s(kMaqNames), 1, false, "'maq'"},
    {Kind::Maq2, &dg::kMaqRecord, 1, 17, false, s(kMaqLabel), s(kMaqNames), 1, false,
     "segunda linha de 'maq'"},
    {Kind::Model3, &dg::kModel3Record, 0, 6, false, kNoLabel, s(kModel3Names), -1, false,
     "dados do modelo 3"},
    {Kind::Rv1, &dg::kRegulatorRecord, 0, 15, false, s(kRvLabel), s(kRegulatorNames), -1, false,
     "'RV'"},
    {Kind::Rv2, &dg::kRegulatorRecord, 1, 15, false, s(kRvLabel), s(kRegulatorNames), -1, false,
     "segunda linha de 'RV'"},
    {Kind::Co, &dg::kRegulatorRecord, 0, 5, false, s(kCoLabel), s(kRegulatorNames), -1, false,
     "'CO'"},
    {Kind::Exc1, &dg::kExcRecord1, 0, 10, false, s(kExcLabel), s(kExc1Names), 1, false, "'exc'"},
    {Kind::Exc2, &dg::kExcRecord2, 0, 8, false, kNoLabel, s(kExc2Names), -1, false,
     "segunda linha de 'exc'"},
    {Kind::Exc3, &dg::kExcRecord3, 0, 5, false, kNoLabel, s(kExc3Names), -1, false,
     "terceira linha de 'exc'"},
    {Kind::Esp, &dg::kEspRecord, 0, 8, false, s(kEspLabel), s(kEspNames), 1, false, "'esp'"},
    {Kind::SpeedAbsent, &dg::kStabiliserRecord, 0, 4, false, kNoLabel, s(kOneStageNames), -1, false,
     "estabilizador derivado da velocidade"},
    {Kind::SpeedOne, &dg::kStabiliserRecord, 0, 4, false, kNoLabel, s(kOneStageNames), -1, false,
     "estabilizador derivado da velocidade"},
    {Kind::SpeedReal, &dg::kStabiliserRecord, 0, 6, false, kNoLabel, s(kSpeedRealNames), -1, false,
     "estabilizador derivado da velocidade"},
    {Kind::SpeedComplex, &dg::kStabiliserRecord, 0, 6, false, kNoLabel, s(kSpeedComplexNames), -1,
     false, "estabilizador derivado da velocidade"},
    {Kind::PowerAbsent, &dg::kStabiliserRecord, 0, 4, false, kNoLabel, s(kOneStageNames), -1, false,
     "estabilizador derivado da potencia eletrica"},
    {Kind::PowerOne, &dg::kStabiliserRecord, 0, 4, false, kNoLabel, s(kOneStageNames), -1, false,
     "estabilizador derivado da potencia eletrica"},
    {Kind::PowerReal, &dg::kStabiliserRecord, 0, 6, false, kNoLabel, s(kPowerRealNames), -1, false,
     "estabilizador derivado da potencia eletrica"},
    {Kind::PowerComplex, &dg::kStabiliserRecord, 0, 6, false, kNoLabel, s(kPowerComplexNames), -1,
     false, "estabilizador derivado da potencia eletrica"},
}};

constexpr std::size_t at(Kind k) {
  return static_cast<std::size_t>(k);
}

}  // namespace

const RecordKind& record_kind(Kind k) {
  return kRecords[at(k)];
}

std::string describe(const Expected& e) {
  const RecordKind& r = record_kind(e.kind);
  std::string s = r.what;
  if (e.number <= 0) return s;
  switch (e.kind) {
    case Kind::Barra:
    case Kind::Ramo:
    case Kind::Maq1:
    case Kind::Maq2:
    case Kind::Exc1:
    case Kind::Exc2:
    case Kind::Exc3:
    case Kind::Esp:
      return s + " " + std::to_string(e.number);
    default:
      return s + " do gerador " + std::to_string(e.number);
  }
}

Columns::Columns() {
  for (const RecordKind& r : kRecords) {
    std::vector<RecordColumns>& v = records_[at(r.kind)];
    // Kinds whose count the file sets need every count; the others only their own.
    for (unsigned n = r.variable ? 0 : r.values; n <= r.values; ++n) {
      std::vector<RecordColumns> statement = statement_columns(*r.layout, n);
      if (v.size() < n) v.resize(n);
      v.push_back(r.line < statement.size() ? std::move(statement[r.line]) : RecordColumns{});
    }
    // The label: the label texts as their items show them, in their columns.
    std::string label;
    for (const Slot& slot : v.back().slots) {
      if (slot.op != record::Op::Text || slot.value < 0 ||
          static_cast<std::size_t>(slot.value) >= r.labels.size())
        continue;
      std::string piece(slot.width, ' ');
      record::format_text(piece.data(), slot.width, r.labels[static_cast<std::size_t>(slot.value)]);
      label += piece;
    }
    labels_[at(r.kind)] = label;
  }
}

const RecordColumns& Columns::of(Kind kind, unsigned values) const {
  const std::vector<RecordColumns>& v = records_[at(kind)];
  return v[std::min<std::size_t>(values, v.size() - 1)];
}

const RecordColumns& Columns::full(Kind kind) const {
  return records_[at(kind)].back();
}

bool Columns::has_label(Kind kind, std::string_view line) const {
  const std::string& l = labels_[at(kind)];
  return !l.empty() && line.substr(0, l.size()) == l;
}

std::string_view Columns::known_label(std::string_view line) const {
  for (const RecordKind& r : kRecords)
    if (has_label(r.kind, line)) return labels_[at(r.kind)];
  return {};
}

}  // namespace kolven::check
