#include "platform/command_line.h"

namespace ludora {

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view WithoutLeadingBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  return text;
}

}  // namespace

std::string_view AfterProgramName(std::string_view commandLine) {
  std::size_t at = 0;
  if (!commandLine.empty() && commandLine[0] == '"') {
    at = commandLine.find('"', 1);
    at = at == std::string_view::npos ? commandLine.size() : at + 1;
  } else {
    while (at < commandLine.size() && !IsBlank(commandLine[at])) ++at;
  }
  return WithoutLeadingBlanks(commandLine.substr(at));
}

std::pair<std::string_view, std::string_view> FirstWord(std::string_view arguments) {
  arguments = WithoutLeadingBlanks(arguments);
  std::size_t end = 0;
  while (end < arguments.size() && !IsBlank(arguments[end])) ++end;
  return {arguments.substr(0, end), WithoutLeadingBlanks(arguments.substr(end))};
}

std::string PathArgument(std::string_view arguments) {
  arguments = WithoutLeadingBlanks(arguments);
  if (arguments.empty()) return {};
  if (arguments[0] == '"') return std::string(arguments.substr(1, arguments.find('"', 1) - 1));
  while (!arguments.empty() && IsBlank(arguments.back())) arguments.remove_suffix(1);
  return std::string(arguments);
}

}  // namespace ludora
