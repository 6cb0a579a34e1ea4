#include "check/sequence.hpp"

#include <algorithm>

#include "check/match.hpp"
#include "datagen/disturbance_details.hpp"

namespace kolven::check {
namespace {

// The value positions that decide what follows.
constexpr int kNbValue = 2;
constexpr int kNgValue = 3;
constexpr int kNlValue = 4;
constexpr int kCodeValue = 2;
constexpr int kTValue = 4;
constexpr int kNllwValue = 2;
constexpr int kNllpValue = 3;
constexpr int kIzwValue = 4;
constexpr int kIzpValue = 5;

// A choice value written as asterisks did not fit its field, so it is none of the values the
// screens offer: it stands for any such value.
constexpr std::int32_t kBeyondChoices = 99;

// Perturbations per record; the first record holds the label besides.
constexpr int kPerRecord = 8;

// The stabiliser record that n stages and zero type z give; none for the values the screens do not
// offer.
std::optional<Kind> stabiliser(std::int32_t n, std::int32_t z, bool speed) {
  if (n == 0) return speed ? Kind::SpeedAbsent : Kind::PowerAbsent;
  if (n == 1) return speed ? Kind::SpeedOne : Kind::PowerOne;
  if (n == 2 && z == 0) return speed ? Kind::SpeedReal : Kind::PowerReal;
  if (n == 2 && z == 1) return speed ? Kind::SpeedComplex : Kind::PowerComplex;
  return std::nullopt;
}

}  // namespace

Expected Sequence::expect(Kind kind) const {
  return Expected{kind, static_cast<std::int16_t>(record_kind(kind).values), generator_};
}

int Sequence::stabiliser_values(const std::string* line) const {
  if (line == nullptr) return 0;
  if (as_written(*line, c_->of(Kind::SpeedOne, 4))) return 4;
  if (as_written(*line, c_->of(Kind::SpeedReal, 6))) return 6;
  return 0;
}

std::optional<Expected> Sequence::next(const Ahead& ahead) const {
  switch (step_) {
    case Step::Title:
      return Expected{Kind::Title, 20, 0};
    case Step::Dimsist:
      return Expected{Kind::Dimsist, 8, 0};
    case Step::Tipfalt:
      return Expected{Kind::Tipfalt, 3, 0};
    case Step::Tempo:
      return Expected{Kind::Tempo, 9, 0};
    case Step::Details: {
      Kind kind = Kind::Locfalt;
      if (code_) {
        kind = *code_ <= 5 ? Kind::Locfalt : *code_ == 6 ? Kind::Vel0 : Kind::Ang0;
      } else if (const std::string* a = ahead.at(0)) {
        if (c_->has_label(Kind::Vel0, *a)) kind = Kind::Vel0;
        if (c_->has_label(Kind::Ang0, *a)) kind = Kind::Ang0;
      }
      if (kind == Kind::Locfalt) return Expected{Kind::Locfalt, 8, 0};
      if (!ng_) return Expected{kind, -1, 0};
      const int n = std::clamp<std::int32_t>(*ng_, 0, datagen::kMaxPerturbed);
      return Expected{kind, static_cast<std::int16_t>(1 + std::min(n, kPerRecord)), 0};
    }
    case Step::Empty:
      return Expected{Kind::Empty, 0, 0};
    case Step::PerturbationMore: {
      if (ng_) {
        const int n = std::clamp<std::int32_t>(*ng_, 0, datagen::kMaxPerturbed);
        if (n > kPerRecord)
          return Expected{Kind::PerturbationMore, static_cast<std::int16_t>(n - kPerRecord), 0};
        return network(ahead);
      }
      // NG unknown: a full first record followed by a line that no label claims.
      const std::string* a = ahead.at(0);
      if (perturbation_values_ == 1 + kPerRecord && a != nullptr && !content(*a).empty() &&
          c_->known_label(*a).empty())
        return Expected{Kind::PerturbationMore, -1, 0};
      return network(ahead);
    }
    case Step::Network:
      return network(ahead);
    case Step::Maq2:
      return expect(Kind::Maq2);
    case Step::AfterMaq: {
      if (t_) {
        if (*t_ == 0 || *t_ == 2) return generator(ahead);
        return expect(*t_ == 3 ? Kind::Model3 : Kind::Rv1);
      }
      const std::string* a = ahead.at(0);
      if (a == nullptr) return ahead.ends_at(0) ? generator(ahead) : expect(Kind::Rv1);
      if (c_->has_label(Kind::Rv1, *a)) return expect(Kind::Rv1);
      if (c_->has_label(Kind::Maq1, *a)) return generator(ahead);
      return expect(Kind::Model3);
    }
    case Step::Rv1:
      return expect(Kind::Rv1);
    case Step::Rv2:
      return expect(Kind::Rv2);
    case Step::Co:
      return expect(Kind::Co);
    case Step::Exc1:
      return expect(Kind::Exc1);
    case Step::Exc2:
      return expect(Kind::Exc2);
    case Step::Exc3:
      return expect(Kind::Exc3);
    case Step::Esp:
      return expect(Kind::Esp);
    case Step::Speed:
      if (const std::optional<Kind> k = speed_kind(ahead)) return expect(*k);
      return power(ahead);
    case Step::Power:
      return power(ahead);
    case Step::Generator:
      return generator(ahead);
  }
  return std::nullopt;
}

std::optional<Expected> Sequence::network(const Ahead& ahead) const {
  const std::string* a = ahead.at(0);
  if (!branches_begun_) {
    if (nb_ ? buses_ < *nb_ : a != nullptr && c_->has_label(Kind::Barra, *a))
      return Expected{Kind::Barra, 12, buses_ + 1};
  }
  if (nl_ ? branches_ < *nl_ : a != nullptr && c_->has_label(Kind::Ramo, *a))
    return Expected{Kind::Ramo, 9, branches_ + 1};
  return generator(ahead);
}

std::optional<Expected> Sequence::generator(const Ahead& ahead) const {
  const std::int32_t g = generator_ + 1;
  const std::string* a = ahead.at(0);
  if (ng_ ? g <= *ng_ : a != nullptr && c_->has_label(Kind::Maq1, *a))
    return Expected{Kind::Maq1, 17, g};
  return std::nullopt;
}

std::optional<Expected> Sequence::power(const Ahead& ahead) const {
  if (const std::optional<Kind> k = power_kind(ahead)) return expect(*k);
  return generator(ahead);
}

std::optional<Kind> Sequence::speed_kind(const Ahead& ahead) const {
  if (nllw_) {
    if (*nllw_ == 2 && !izw_)
      return stabiliser_values(ahead.at(0)) == 6 ? std::optional(Kind::SpeedReal) : std::nullopt;
    return stabiliser(*nllw_, izw_.value_or(-1), true);
  }
  // Unknown: the speed-derived stabiliser has a record when more stabiliser records follow than
  // the power-derived one takes.
  std::size_t lines = 0;
  while (lines < 2 && stabiliser_values(ahead.at(lines)) != 0) ++lines;
  bool present = lines >= 1;
  if (nllp_ && (*nllp_ != 2 || izp_))
    present = lines > (stabiliser(*nllp_, izp_.value_or(-1), false) ? 1u : 0u);
  if (!present) return std::nullopt;
  return stabiliser_values(ahead.at(0)) == 6 ? Kind::SpeedReal : Kind::SpeedOne;
}

std::optional<Kind> Sequence::power_kind(const Ahead& ahead) const {
  if (nllp_) {
    if (*nllp_ == 2 && !izp_)
      return stabiliser_values(ahead.at(0)) == 6 ? std::optional(Kind::PowerReal) : std::nullopt;
    return stabiliser(*nllp_, izp_.value_or(-1), false);
  }
  switch (stabiliser_values(ahead.at(0))) {
    case 4:
      return Kind::PowerOne;
    case 6:
      return Kind::PowerReal;
    default:
      return std::nullopt;
  }
}

std::optional<Sequence::Count> Sequence::end_block(const Expected& e) {
  switch (e.kind) {
    case Kind::Barra:
      if (!nb_ || branches_begun_) return std::nullopt;
      nb_ = buses_;
      return Count{"NB", *declared_nb_};
    case Kind::Ramo:
      if (!nl_) return std::nullopt;
      {
        const Count c{"NL", *nl_};
        nl_ = branches_;
        branches_begun_ = true;
        return c;
      }
    case Kind::Maq1:
      if (!ng_) return std::nullopt;
      {
        const Count c{"NG", *ng_};
        ng_ = generator_;
        return c;
      }
    default:
      return std::nullopt;
  }
}

std::optional<Sequence::Count> Sequence::extend_block(Kind kind, const Ahead& ahead) {
  Sequence t = *this;
  std::optional<std::int32_t>* count = nullptr;
  std::int32_t done = 0;
  const char* name = "";
  switch (kind) {
    case Kind::Barra:
      count = &t.nb_;
      done = buses_;
      name = "NB";
      break;
    case Kind::Ramo:
      count = &t.nl_;
      done = branches_;
      name = "NL";
      break;
    case Kind::Maq1:
      count = &t.ng_;
      done = generator_;
      name = "NG";
      break;
    default:
      return std::nullopt;
  }
  if (!*count || done < **count) return std::nullopt;
  const Count c{name, **count};
  count->reset();
  const std::optional<Expected> e = t.next(ahead);
  if (!e || e->kind != kind) return std::nullopt;
  *this = t;
  return c;
}

void Sequence::take(const Expected& e, const std::string* line) {
  const auto count = [&](int value) -> std::optional<std::int32_t> {
    if (line == nullptr) return std::nullopt;
    return read_int(*c_, e.kind, value, *line, std::nullopt);
  };
  const auto choice = [&](int value) -> std::optional<std::int32_t> {
    if (line == nullptr) return std::nullopt;
    return read_int(*c_, e.kind, value, *line, kBeyondChoices);
  };
  switch (e.kind) {
    case Kind::Title:
      step_ = Step::Dimsist;
      break;
    case Kind::Dimsist:
      nb_ = count(kNbValue);
      declared_nb_ = nb_;
      ng_ = count(kNgValue);
      nl_ = count(kNlValue);
      step_ = Step::Tipfalt;
      break;
    case Kind::Tipfalt:
      code_ = count(kCodeValue);
      step_ = Step::Tempo;
      break;
    case Kind::Tempo:
      step_ = Step::Details;
      break;
    case Kind::Locfalt:
      step_ = Step::Empty;
      break;
    case Kind::Empty:
      step_ = Step::Network;
      break;
    case Kind::Vel0:
    case Kind::Ang0:
      perturbation_values_ = e.values >= 0     ? static_cast<unsigned>(e.values)
                             : line != nullptr ? values_held(*c_, e.kind, *line)
                                               : 0u;
      step_ = Step::PerturbationMore;
      break;
    case Kind::PerturbationMore:
      step_ = Step::Network;
      break;
    case Kind::Barra:
      buses_ = e.number;
      step_ = Step::Network;
      break;
    case Kind::Ramo:
      branches_begun_ = true;
      branches_ = e.number;
      step_ = Step::Network;
      break;
    case Kind::Maq1:
      generator_ = e.number;
      t_ = choice(kTValue);
      step_ = Step::Maq2;
      break;
    case Kind::Maq2:
      step_ = Step::AfterMaq;
      break;
    case Kind::Model3:
      step_ = Step::Rv1;
      break;
    case Kind::Rv1:
      step_ = Step::Rv2;
      break;
    case Kind::Rv2:
      step_ = Step::Co;
      break;
    case Kind::Co:
      step_ = Step::Exc1;
      break;
    case Kind::Exc1:
      step_ = Step::Exc2;
      break;
    case Kind::Exc2:
      step_ = Step::Exc3;
      break;
    case Kind::Exc3:
      step_ = Step::Esp;
      break;
    case Kind::Esp:
      nllw_ = choice(kNllwValue);
      nllp_ = choice(kNllpValue);
      izw_ = choice(kIzwValue);
      izp_ = choice(kIzpValue);
      step_ = Step::Speed;
      break;
    case Kind::SpeedAbsent:
    case Kind::SpeedOne:
    case Kind::SpeedReal:
    case Kind::SpeedComplex:
      step_ = Step::Power;
      break;
    case Kind::PowerAbsent:
    case Kind::PowerOne:
    case Kind::PowerReal:
    case Kind::PowerComplex:
      step_ = Step::Generator;
      break;
  }
}

}  // namespace kolven::check
