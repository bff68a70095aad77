// What a server says of itself in its 005 reply (RPL_ISUPPORT) and the
// client uses: which nicks are the same (CASEMAPPING), the channel prefixes
// and status symbols, which channel modes take a parameter, how long a nick
// may be. Until the server says otherwise, RFC 1459's rules hold.
#pragma once

#include <string>
#include <string_view>

#include "chitter/message.h"

namespace ludora::chitter {

enum class CaseMapping {
  Ascii,          // A-Z are a-z
  Rfc1459,        // and []\~ are {}|^
  StrictRfc1459,  // and []\ are {}|
};

class ServerFeatures {
 public:
  // Takes the tokens of one 005 reply; "-TOKEN" puts one back to its default.
  void Apply(const Message& reply);

  CaseMapping caseMapping() const { return caseMapping_; }
  // Nicks and channels as the server compares them.
  std::string Fold(std::string_view name) const;
  bool Same(std::string_view a, std::string_view b) const { return Fold(a) == Fold(b); }

  bool IsChannel(std::string_view name) const;
  // The status a mode letter gives ('o' gives '@'), or 0 for none.
  char SymbolOf(char mode) const;
  // A status symbol's rank, 0 the highest; the number of symbols for none.
  std::size_t Rank(char symbol) const;
  const std::string& symbols() const { return symbols_; }
  // Whether a channel mode letter takes a parameter when set or unset.
  bool TakesParameter(char mode, bool set) const;
  std::size_t nickLength() const { return nickLength_; }
  const std::string& network() const { return network_; }

 private:
  void Token(std::string_view name, std::string_view value, bool removed);

  CaseMapping caseMapping_ = CaseMapping::Rfc1459;
  std::string modes_ = "ov", symbols_ = "@+";
  std::string channelTypes_ = "#&";
  // CHANMODES: lists, always a parameter; set and unset with one; set with one.
  std::string listModes_ = "b", keyModes_ = "k", limitModes_ = "l";
  std::size_t nickLength_ = 9;
  std::string network_;
};

}  // namespace ludora::chitter
