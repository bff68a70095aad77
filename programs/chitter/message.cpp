#include "chitter/message.h"

#include <algorithm>

namespace ludora::chitter {

namespace {

constexpr std::size_t kMaxParams = 15;
const std::string kNone;

std::string_view NextWord(std::string_view& rest) {
  const auto end = rest.find(' ');
  const std::string_view word = rest.substr(0, end);
  rest = end == std::string_view::npos ? std::string_view() : rest.substr(end);
  while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
  return word;
}

char Upper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string Clean(std::string_view text) {
  std::string out(text);
  std::ranges::replace_if(
      out, [](char c) { return c == '\r' || c == '\n' || c == '\0'; }, ' ');
  return out;
}

}  // namespace

const std::string& Message::Param(std::size_t index) const {
  return index < params.size() ? params[index] : kNone;
}

int Message::Numeric() const {
  if (command.size() != 3 ||
      !std::ranges::all_of(command, [](char c) { return c >= '0' && c <= '9'; }))
    return -1;
  return (command[0] - '0') * 100 + (command[1] - '0') * 10 + (command[2] - '0');
}

std::optional<Message> ParseMessage(std::string_view line) {
  std::string_view rest = line;
  while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
  if (!rest.empty() && rest.front() == '@') NextWord(rest);
  Message message;
  if (!rest.empty() && rest.front() == ':') message.prefix = NextWord(rest).substr(1);
  const std::string_view command = NextWord(rest);
  if (command.empty()) return std::nullopt;
  message.command.resize(command.size());
  std::ranges::transform(command, message.command.begin(), Upper);
  while (!rest.empty()) {
    if (rest.front() == ':' || message.params.size() == kMaxParams - 1) {
      message.params.emplace_back(rest.front() == ':' ? rest.substr(1) : rest);
      break;
    }
    message.params.emplace_back(NextWord(rest));
  }
  return message;
}

Prefix ParsePrefix(std::string_view prefix) {
  Prefix parts;
  const auto bang = prefix.find('!');
  const auto at = prefix.find('@', bang == std::string_view::npos ? 0 : bang);
  parts.nick = prefix.substr(0, std::min(bang, at));
  if (bang != std::string_view::npos)
    parts.user = prefix.substr(bang + 1, at == std::string_view::npos ? at : at - bang - 1);
  if (at != std::string_view::npos) parts.host = prefix.substr(at + 1);
  parts.server = bang == std::string_view::npos && at == std::string_view::npos &&
                 prefix.find('.') != std::string_view::npos;
  return parts;
}

std::string BuildMessage(std::string_view command, const std::vector<std::string>& params) {
  std::string line = Clean(command);
  for (std::size_t i = 0; i < params.size(); ++i) {
    const std::string param = Clean(params[i]);
    const bool last = i + 1 == params.size();
    line += ' ';
    if (last && (param.empty() || param.front() == ':' || param.find(' ') != std::string::npos))
      line += ':';
    line += param;
  }
  return line;
}

std::optional<Ctcp> ParseCtcp(std::string_view text) {
  if (text.size() < 2 || text.front() != '\x01') return std::nullopt;
  text.remove_prefix(1);
  if (text.back() == '\x01') text.remove_suffix(1);
  Ctcp ctcp;
  const auto blank = text.find(' ');
  ctcp.command.resize(std::min(blank, text.size()));
  std::transform(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(ctcp.command.size()),
                 ctcp.command.begin(), Upper);
  if (blank != std::string_view::npos) ctcp.argument = text.substr(blank + 1);
  if (ctcp.command.empty()) return std::nullopt;
  return ctcp;
}

std::string BuildCtcp(std::string_view command, std::string_view argument) {
  std::string text = "\x01" + std::string(command);
  if (!argument.empty()) text += ' ' + std::string(argument);
  return text + '\x01';
}

}  // namespace ludora::chitter
