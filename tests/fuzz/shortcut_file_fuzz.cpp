// libFuzzer target for the reader of `ludora.ini`: any bytes must read
// without a fault, and what comes out must be a sound set of shortcuts.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "launch/shortcut_file.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void CheckFields(std::string_view text) {
  // Every call but the last consumes at least one byte and yields a piece
  // of the text, so the fields together never exceed it.
  ludora::FieldReader reader(text);
  std::size_t fields = 0;
  std::size_t bytes = 0;
  while (const auto field = reader.Next()) {
    ++fields;
    bytes += field->size();
    Check(fields <= text.size());
    Check(bytes <= text.size());
  }
  Check(!reader.Next());  // the end stays the end
}

void CheckShortcuts(std::string_view text) {
  const ludora::ShortcutFile file = ludora::ParseShortcutFile(text);
  Check(file.items.size() <= static_cast<std::size_t>(ludora::kMaxShortcuts));
  int last = 0;
  bool hasItem[ludora::kMaxShortcuts] = {};
  for (const ludora::PersonalShortcut& item : file.items) {
    Check(item.index > last && item.index <= ludora::kMaxShortcuts);
    Check(!item.caption.empty());
    hasItem[item.index - 1] = true;
    last = item.index;
  }
  for (int slot = 0; slot < ludora::kMaxShortcuts; ++slot) {
    Check(hasItem[slot] || file.commands[slot].empty());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  CheckFields(text);
  CheckShortcuts(text);
  return 0;
}
