// The texts of the folder menus' entries, counted in characters of the
// ANSI code page: on a double-byte code page (Japanese, Chinese, Korean)
// one character may take two bytes, and no text is cut between them.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "platform/windows_api.h"

namespace ludora {

class CaptionRules {
 public:
  // Asks Windows once for the lead bytes of the ANSI code page.
  explicit CaptionRules(WindowsApi& api);

  // A file entry's text: the name without its last four characters (a dot
  // and a three-letter extension, mostly); nothing for a name of fewer
  // than four characters.
  std::optional<std::string> FileCaption(std::string_view name) const;
  // A text of more than `longest` characters (49 in the folder menus)
  // becomes its first `longest` - 2 and "...".
  std::string Shortened(std::string_view text, std::size_t longest = 49) const;

 private:
  // Where the character after the one starting at `at` starts.
  std::size_t Next(std::string_view text, std::size_t at) const;
  // The byte offset of character number `n`, or npos past the end.
  std::size_t OffsetOf(std::string_view text, std::size_t n) const;
  std::size_t Length(std::string_view text) const;

  std::array<bool, 256> lead_ = {};
};

}  // namespace ludora
