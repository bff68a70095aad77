// The personalized-shortcuts file `ludora.ini`: despite its name a plain
// text file of comma-separated fields, read as captions and commands.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ludora {

// Past this many bytes a field keeps only its beginning: far more than any
// path (260) or web address (2,083) a caption could open.
inline constexpr std::size_t kMaxFieldBytes = 4096;

// Reads the fields of a comma-separated text one at a time, from pieces
// handed over on demand, so a file of any size is read in bounded memory
// and only as far as the fields asked for. Fields end at a comma or a line
// break (CR LF, or a lone LF or CR); blanks before a field are skipped; a
// field that opens with a double quote runs to the next quote (or to the
// end of the text) and the rest up to the next comma or line break is
// dropped; an empty line is one empty field.
class FieldReader {
 public:
  // The next piece of the text; an empty one at its end.
  using Source = std::function<std::string_view()>;
  explicit FieldReader(Source source) : source_(std::move(source)) {}
  explicit FieldReader(std::string_view text) : piece_(text), ended_(true) {}

  // The next field, or nothing at the end of the text.
  std::optional<std::string> Next();

 private:
  bool AtEnd();  // fetches the next piece when this one is used up
  char Peek() const { return piece_[pos_]; }
  void Advance() { ++pos_; }
  bool AtSeparator() const;

  Source source_;
  std::string_view piece_;
  std::size_t pos_ = 0;
  bool ended_ = false;
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
// its pass and nothing else. Fields after those are never read. A field is
// taken up to its first NUL byte, as Windows reads the text: a file cut
// short by a crash, its end a run of NULs, gives no blank item.
ShortcutFile ParseShortcutFile(FieldReader& fields);
ShortcutFile ParseShortcutFile(std::string_view text);

}  // namespace ludora
