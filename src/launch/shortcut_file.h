// The personalized-shortcuts file `ludora.ini`: despite its name a plain
// text file of comma-separated fields, read as captions and commands.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ludora {

// Reads the fields of a comma-separated text one at a time. Fields end at a
// comma or a line break (CR LF, or a lone LF or CR); blanks before a field
// are skipped; a field that opens with a double quote runs to the next
// quote (or to the end of the text) and the rest up to the next comma or
// line break is dropped; an empty line is one empty field. One pass over
// the text, whatever it holds.
class FieldReader {
 public:
  explicit FieldReader(std::string_view text) : text_(text) {}

  // The next field, or nothing at the end of the text.
  std::optional<std::string> Next();

 private:
  bool AtEnd() const { return pos_ >= text_.size(); }
  bool AtSeparator() const;
  void SkipSeparator();

  std::string_view text_;
  std::size_t pos_ = 0;
};

inline constexpr int kMaxShortcuts = 10;

struct PersonalShortcut {
  int index;  // element of the quick menu's `menu` array, 1 to 10
  std::string caption;
};

struct ShortcutFile {
  std::vector<PersonalShortcut> items;
  std::array<std::string, kMaxShortcuts> commands;  // slot k opens element k + 1
};

// Ten passes over the fields: a non-empty caption makes element p + 1 and
// the field after it is that element's command; an empty caption uses up
// its pass and nothing else.
ShortcutFile ParseShortcutFile(std::string_view text);

}  // namespace ludora
