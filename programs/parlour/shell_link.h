// A reader of shortcut (.lnk) files, from Microsoft's published Shell Link
// Binary File Format: the header, the item-id list (skipped), LinkInfo with
// the local base path or the network share and the common path suffix, the
// string data (name, relative path, working folder, arguments, icon
// location), ANSI or Unicode, and the extra blocks that hold an
// environment-variable target or an installer's (Darwin) descriptor.
// Every length is checked against the bytes there are; nothing is read
// past them.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "platform/win_types.h"

namespace ludora::parlour {

// A text of the file: bytes of the ANSI code page, or UTF-16.
struct LinkText {
  bool wide = false;
  std::string ansi;
  std::u16string utf16;
  bool empty() const { return ansi.empty() && utf16.empty(); }
  bool operator==(const LinkText&) const = default;
};

struct ShellLink {
  std::string target;       // LinkInfo's path: local base path + suffix, or share + suffix
  LinkText expandedTarget;  // a target with %variables%, from its extra block
  LinkText name, relativePath, workingDir, arguments, iconLocation;
  int iconIndex = 0;
  int showCommand = 1;
  bool installerLink = false;  // a Darwin descriptor: the installer resolves the target
};

// Shortcuts are a few hundred bytes; a file larger than this is not read.
inline constexpr std::size_t kMaxShellLinkBytes = 64 * 1024;

// Nothing when the bytes are not a shortcut, or are damaged.
std::optional<ShellLink> ParseShellLink(std::span<const BYTE> bytes);

}  // namespace ludora::parlour
