#include "chitter/server_features.h"

#include <algorithm>
#include <charconv>

namespace ludora::chitter {

namespace {

char FoldChar(char c, CaseMapping mapping) {
  if (c >= 'A' && c <= 'Z') return static_cast<char>(c - 'A' + 'a');
  if (mapping == CaseMapping::Ascii) return c;
  switch (c) {
    case '[':
      return '{';
    case ']':
      return '}';
    case '\\':
      return '|';
    case '~':
      return mapping == CaseMapping::Rfc1459 ? '^' : c;
    default:
      return c;
  }
}

}  // namespace

std::string ServerFeatures::Fold(std::string_view name) const {
  std::string folded(name.size(), '\0');
  std::ranges::transform(name, folded.begin(), [&](char c) { return FoldChar(c, caseMapping_); });
  return folded;
}

bool ServerFeatures::IsChannel(std::string_view name) const {
  return !name.empty() && channelTypes_.find(name.front()) != std::string::npos;
}

char ServerFeatures::SymbolOf(char mode) const {
  const auto at = modes_.find(mode);
  return at == std::string::npos ? '\0' : symbols_[at];
}

std::size_t ServerFeatures::Rank(char symbol) const {
  const auto at = symbols_.find(symbol);
  return at == std::string::npos || symbol == '\0' ? symbols_.size() : at;
}

bool ServerFeatures::TakesParameter(char mode, bool set) const {
  if (modes_.find(mode) != std::string::npos) return true;
  if (listModes_.find(mode) != std::string::npos) return true;
  if (keyModes_.find(mode) != std::string::npos) return true;
  return set && limitModes_.find(mode) != std::string::npos;
}

// "<nick> TOKEN TOKEN=value ... :are supported by this server"
void ServerFeatures::Apply(const Message& reply) {
  for (std::size_t i = 1; i + 1 < reply.params.size(); ++i) {
    std::string_view token = reply.params[i];
    const bool removed = !token.empty() && token.front() == '-';
    if (removed) token.remove_prefix(1);
    const auto equals = token.find('=');
    Token(token.substr(0, equals),
          equals == std::string_view::npos ? std::string_view() : token.substr(equals + 1),
          removed);
  }
}

void ServerFeatures::Token(std::string_view name, std::string_view value, bool removed) {
  const ServerFeatures defaults;
  if (name == "CASEMAPPING") {
    caseMapping_ = value == "ascii"            ? CaseMapping::Ascii
                   : value == "strict-rfc1459" ? CaseMapping::StrictRfc1459
                                               : CaseMapping::Rfc1459;
  } else if (name == "PREFIX") {
    // "(ov)@+": as many symbols as letters, or the defaults.
    const auto close = value.find(')');
    const bool sound = !removed && value.size() > 1 && value.front() == '(' &&
                       close != std::string_view::npos && value.size() - close - 1 == close - 1;
    modes_ = sound ? std::string(value.substr(1, close - 1)) : defaults.modes_;
    symbols_ = sound ? std::string(value.substr(close + 1)) : defaults.symbols_;
  } else if (name == "CHANTYPES") {
    channelTypes_ = removed ? defaults.channelTypes_ : std::string(value);
  } else if (name == "CHANMODES") {
    std::string_view rest = value;
    std::string* lists[] = {&listModes_, &keyModes_, &limitModes_};
    for (std::string* list : lists) {
      const auto comma = rest.find(',');
      *list = removed ? std::string() : std::string(rest.substr(0, comma));
      rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
    }
    if (removed)
      listModes_ = defaults.listModes_, keyModes_ = defaults.keyModes_,
      limitModes_ = defaults.limitModes_;
  } else if (name == "NICKLEN" || name == "MAXNICKLEN") {
    std::size_t length = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), length);
    nickLength_ =
        error == std::errc{} && length >= 1 && length <= 64 ? length : defaults.nickLength_;
  } else if (name == "NETWORK") {
    network_ = removed ? std::string() : std::string(value.substr(0, 64));
  }
}

}  // namespace ludora::chitter
