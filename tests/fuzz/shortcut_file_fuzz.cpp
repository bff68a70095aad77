// libFuzzer target for the reader of `ludora.ini`: any bytes must read
// without a fault, the same in whatever pieces the file arrives, and what
// comes out must be a sound set of shortcuts.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "fake/fake_windows.h"
#include "ludora/menu_captions.h"
#include "ludora/personal_shortcuts.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
  const ludora::ShortcutFile whole = ludora::ParseShortcutFile(text);
  int last = 0;  // at most ten, in order, each field within its cap
  for (const ludora::PersonalShortcut& item : whole.items) {
    Check(item.index > last && item.index <= ludora::kMaxShortcuts);
    Check(!item.caption.empty() && item.caption.size() <= ludora::kMaxFieldBytes);
    last = item.index;
  }
  for (const std::string& command : whole.commands) Check(command.size() <= ludora::kMaxFieldBytes);

  // The same bytes as the file, handed over by Windows in pieces of 1 to 256 bytes.
  ludora::testing::FakeWindows api;
  api.AddFile("C:\\Ludora\\ludora.ini", std::string(text));
  api.readPiece = data[0] + 1u;
  ludora::QuickMenu menu;
  ludora::ShortcutCommands commands;
  ludora::LoadPersonalShortcuts(api, "C:\\Ludora", menu, commands);
  Check(commands == whole.commands);
  Check(api.Live(ludora::testing::Kind::File) == 0);
  std::size_t at = 0;
  for (const ludora::MenuItem& item : menu.Items()) {
    if (item.item != ludora::QuickItem::menu || item.index == 0) continue;
    Check(at < whole.items.size() && item.index == whole.items[at].index &&
          item.caption == ludora::CaptionRules(api).Shortened(whole.items[at].caption,
                                                              ludora::kMaxShortcutCaption));
    ++at;
  }
  Check(at == whole.items.size());
  return 0;
}
