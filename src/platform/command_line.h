// Reading a command line as Windows hands it over: whole, the program's own
// name first.
#pragma once

#include <string>
#include <string_view>
#include <utility>

namespace ludora {

// What follows the program's own name (quoted, or up to the first blank).
std::string_view AfterProgramName(std::string_view commandLine);

// The first word of `arguments` and what follows it.
std::pair<std::string_view, std::string_view> FirstWord(std::string_view arguments);

// The path `arguments` starts with: without its quotes; an unquoted path
// with blanks runs to the end of the line. Empty when none.
std::string PathArgument(std::string_view arguments);

}  // namespace ludora
