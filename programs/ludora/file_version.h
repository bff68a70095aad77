// The version numbers in a program's version record.
#pragma once

#include <optional>
#include <span>

#include "platform/windows_api.h"

namespace ludora {

struct FileVersion {
  WORD major = 0;
  WORD minor = 0;
  WORD build = 0;
  WORD revision = 0;
  bool operator==(const FileVersion&) const = default;
};

// The file version of a version record's fixed part (VS_FIXEDFILEINFO),
// found by its signature on a 4-byte boundary; nothing when there is none.
std::optional<FileVersion> FixedFileVersion(std::span<const BYTE> record);

// The version record of the running program.
std::optional<FileVersion> OwnFileVersion(WindowsApi& api);

}  // namespace ludora
