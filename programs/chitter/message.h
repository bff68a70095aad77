// An IRC message (RFC 1459 2.3, RFC 2812 2.3.1): an optional prefix, a
// command (a word, or a numeric reply of three digits) and up to 15
// parameters, the last of which may hold blanks after its colon. Message
// tags (IRCv3), which no server sends unasked, are skipped.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ludora::chitter {

struct Message {
  std::string prefix;   // without its colon; empty when the line has none
  std::string command;  // in upper case
  std::vector<std::string> params;

  // The parameter at `index`, or an empty text when there is none.
  const std::string& Param(std::size_t index) const;
  // The last parameter (a reply's text, mostly), or an empty text.
  const std::string& Last() const { return params.empty() ? Param(0) : params.back(); }
  // The numeric reply's number, or -1 for a command.
  int Numeric() const;
};

// Nothing for a line without a command. Bytes are taken as they come: the
// text of a parameter is decoded where it is shown.
std::optional<Message> ParseMessage(std::string_view line);

// A prefix "nick!user@host" in its parts; a server's name is all `nick`,
// and `server` says so (a name with a dot and no '!' or '@').
struct Prefix {
  std::string nick, user, host;
  bool server = false;
};
Prefix ParsePrefix(std::string_view prefix);

// A line to send, without its CR LF: the command and its parameters, the
// last one after a colon when it needs one. CR, LF and NUL, which would end
// the line or be refused, become blanks, so no text can smuggle in a
// command of its own.
std::string BuildMessage(std::string_view command, const std::vector<std::string>& params);

// CTCP (a message whose text is wrapped in \x01): its command in upper
// case and its argument; nothing for a plain message.
struct Ctcp {
  std::string command, argument;
};
std::optional<Ctcp> ParseCtcp(std::string_view text);
std::string BuildCtcp(std::string_view command, std::string_view argument);

}  // namespace ludora::chitter
