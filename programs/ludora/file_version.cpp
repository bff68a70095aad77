#include "ludora/file_version.h"

#include "platform/win_constants.h"

namespace ludora {

namespace {

constexpr DWORD kFixedInfoSignature = 0xFEEF04BD;
constexpr std::size_t kFixedInfoSize = 52;

DWORD DwordAt(std::span<const BYTE> bytes, std::size_t at) {
  return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | DWORD{bytes[at + 3]} << 24;
}

}  // namespace

std::optional<FileVersion> FixedFileVersion(std::span<const BYTE> record) {
  for (std::size_t at = 0; at + kFixedInfoSize <= record.size(); at += 4) {
    if (DwordAt(record, at) != kFixedInfoSignature) continue;
    const DWORD high = DwordAt(record, at + 8);  // dwFileVersionMS
    const DWORD low = DwordAt(record, at + 12);  // dwFileVersionLS
    return FileVersion{static_cast<WORD>(high >> 16), static_cast<WORD>(high),
                       static_cast<WORD>(low >> 16), static_cast<WORD>(low)};
  }
  return std::nullopt;
}

std::optional<FileVersion> OwnFileVersion(WindowsApi& api) {
  const HRSRC found =
      api.FindResourceA(0, MAKEINTRESOURCEA(VS_VERSION_INFO), MAKEINTRESOURCEA(RT_VERSION));
  if (!found) return std::nullopt;
  const auto* bytes = static_cast<const BYTE*>(api.LockResource(api.LoadResource(0, found)));
  if (!bytes) return std::nullopt;
  return FixedFileVersion({bytes, api.SizeofResource(0, found)});
}

}  // namespace ludora
