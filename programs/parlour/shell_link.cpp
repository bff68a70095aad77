#include "parlour/shell_link.h"

#include <array>
#include <cstring>

namespace ludora::parlour {

namespace {

constexpr std::size_t kHeaderSize = 0x4C;
constexpr std::array<BYTE, 16> kLinkClsid = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                             0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

// LinkFlags.
enum : DWORD {
  kHasIdList = 1u << 0,
  kHasLinkInfo = 1u << 1,
  kHasName = 1u << 2,
  kHasRelativePath = 1u << 3,
  kHasWorkingDir = 1u << 4,
  kHasArguments = 1u << 5,
  kHasIconLocation = 1u << 6,
  kIsUnicode = 1u << 7,
  kForceNoLinkInfo = 1u << 8,
  kHasDarwinId = 1u << 12,
};

// LinkInfoFlags.
enum : DWORD { kVolumeIdAndLocalBasePath = 1, kNetworkLinkAndPathSuffix = 2 };

// The extra blocks read, each 0x314 bytes: an ANSI text of 260 bytes, then a UTF-16 one of 260.
enum : DWORD {
  kEnvironmentBlock = 0xA0000001,
  kDarwinBlock = 0xA0000006,
  kIconEnvironmentBlock = 0xA0000007,
};
constexpr std::size_t kTargetBlockSize = 0x314;

class Bytes {
 public:
  explicit Bytes(std::span<const BYTE> bytes) : bytes_(bytes) {}

  bool Has(std::size_t at, std::size_t count) const {
    return at <= bytes_.size() && count <= bytes_.size() - at;
  }
  DWORD Dword(std::size_t at) const {
    return DWORD{bytes_[at]} | DWORD{bytes_[at + 1]} << 8 | DWORD{bytes_[at + 2]} << 16 |
           DWORD{bytes_[at + 3]} << 24;
  }
  WORD Word(std::size_t at) const { return static_cast<WORD>(bytes_[at] | bytes_[at + 1] << 8); }
  // A NUL-ended ANSI text at `at`, ending before `end`; nothing without its NUL.
  std::optional<std::string> Ansi(std::size_t at, std::size_t end) const {
    for (std::size_t i = at; i < end && i < bytes_.size(); ++i) {
      if (bytes_[i] == 0) return std::string(bytes_.begin() + at, bytes_.begin() + i);
    }
    return std::nullopt;
  }
  // A UTF-16 text of at most `count` units, ended by its NUL or its field.
  std::u16string Utf16(std::size_t at, std::size_t count) const {
    std::u16string text;
    for (std::size_t i = 0; i < count && Word(at + 2 * i) != 0; ++i)
      text += char16_t(Word(at + 2 * i));
    return text;
  }
  std::span<const BYTE> all() const { return bytes_; }

 private:
  std::span<const BYTE> bytes_;
};

// LinkInfo's target: the local base path and the common path suffix, or the
// share's name and the suffix. Empty when it names neither.
std::optional<std::string> LinkInfoTarget(const Bytes& file, std::size_t at) {
  if (!file.Has(at, 0x1C)) return std::nullopt;
  const DWORD size = file.Dword(at), headerSize = file.Dword(at + 4);
  if (headerSize < 0x1C || size < headerSize || !file.Has(at, size)) return std::nullopt;
  const Bytes info(file.all().subspan(at, size));
  const DWORD flags = info.Dword(8), localOffset = info.Dword(16), networkOffset = info.Dword(20);
  if (!(flags & (kVolumeIdAndLocalBasePath | kNetworkLinkAndPathSuffix))) return std::string();
  const std::optional<std::string> suffix = info.Ansi(info.Dword(24), size);
  if (!suffix) return std::nullopt;
  if (flags & kVolumeIdAndLocalBasePath) {
    const std::optional<std::string> base = info.Ansi(localOffset, size);
    if (!base) return std::nullopt;
    return *base + *suffix;
  }
  if (!info.Has(networkOffset, 0x14)) return std::nullopt;
  const DWORD linkSize = info.Dword(networkOffset), nameOffset = info.Dword(networkOffset + 8);
  if (linkSize < 0x14 || !info.Has(networkOffset, linkSize)) return std::nullopt;
  const std::optional<std::string> share =
      info.Ansi(std::size_t{networkOffset} + nameOffset, std::size_t{networkOffset} + linkSize);
  if (!share) return std::nullopt;
  return suffix->empty() ? *share : *share + "\\" + *suffix;
}

// One text of the string data at `at`, which moves past it.
std::optional<LinkText> StringData(const Bytes& file, std::size_t& at, bool unicode) {
  if (!file.Has(at, 2)) return std::nullopt;
  const std::size_t count = file.Word(at), unit = unicode ? 2 : 1;
  at += 2;
  if (!file.Has(at, count * unit)) return std::nullopt;
  LinkText text;
  text.wide = unicode;
  if (unicode) {
    for (std::size_t i = 0; i < count; ++i) text.utf16 += char16_t(file.Word(at + 2 * i));
  } else {
    text.ansi.assign(file.all().begin() + at, file.all().begin() + at + count);
  }
  at += count * unit;
  return text;
}

// The ANSI text of a target block where it holds one, else its UTF-16 text.
LinkText BlockTarget(const Bytes& file, std::size_t at) {
  LinkText text;
  text.ansi = file.Ansi(at + 8, at + 8 + 260).value_or("");
  if (text.ansi.empty()) {
    text.wide = true;
    text.utf16 = file.Utf16(at + 8 + 260, 260);
  }
  return text;
}

}  // namespace

std::optional<ShellLink> ParseShellLink(std::span<const BYTE> bytes) {
  const Bytes file(bytes);
  if (!file.Has(0, kHeaderSize) || file.Dword(0) != kHeaderSize ||
      std::memcmp(bytes.data() + 4, kLinkClsid.data(), kLinkClsid.size()) != 0) {
    return std::nullopt;
  }
  const DWORD flags = file.Dword(20);
  ShellLink link;
  link.iconIndex = static_cast<int>(static_cast<LONG>(file.Dword(56)));
  const DWORD show = file.Dword(60);
  link.showCommand = show == 3 || show == 7 ? static_cast<int>(show) : 1;
  link.installerLink = (flags & kHasDarwinId) != 0;

  std::size_t at = kHeaderSize;
  if (flags & kHasIdList) {
    if (!file.Has(at, 2)) return std::nullopt;
    at += 2 + file.Word(at);
  }
  if ((flags & kHasLinkInfo) && !(flags & kForceNoLinkInfo)) {
    const std::optional<std::string> target = LinkInfoTarget(file, at);
    if (!target) return std::nullopt;
    link.target = *target;
    at += file.Dword(at);
  } else if (flags & kHasLinkInfo) {
    if (!file.Has(at, 4) || !file.Has(at, file.Dword(at))) return std::nullopt;
    at += file.Dword(at);
  }
  const bool unicode = (flags & kIsUnicode) != 0;
  const std::pair<DWORD, LinkText*> strings[] = {{kHasName, &link.name},
                                                 {kHasRelativePath, &link.relativePath},
                                                 {kHasWorkingDir, &link.workingDir},
                                                 {kHasArguments, &link.arguments},
                                                 {kHasIconLocation, &link.iconLocation}};
  for (const auto& [flag, text] : strings) {
    if (!(flags & flag)) continue;
    std::optional<LinkText> read = StringData(file, at, unicode);
    if (!read) return std::nullopt;
    *text = std::move(*read);
  }
  // The extra blocks, up to the terminal one (a size under 4); a block cut
  // short ends them, as the data before it stands on its own.
  while (file.Has(at, 4) && file.Dword(at) >= 8 && file.Has(at, file.Dword(at))) {
    const DWORD size = file.Dword(at), signature = file.Dword(at + 4);
    if (size == kTargetBlockSize && signature == kEnvironmentBlock) {
      link.expandedTarget = BlockTarget(file, at);
    } else if (size == kTargetBlockSize && signature == kIconEnvironmentBlock &&
               link.iconLocation.empty()) {
      link.iconLocation = BlockTarget(file, at);
    } else if (signature == kDarwinBlock) {
      link.installerLink = true;
    }
    at += size;
  }
  return link;
}

}  // namespace ludora::parlour
