#include "ludora-record/record_homes.h"

#include <algorithm>

#include "platform/scoped.h"
#include "platform/win_constants.h"

namespace ludora::record {

namespace {

constexpr DWORD kRegistryPiece = 16000;  // bytes a value: Windows 98 takes no more than 16300

std::string PieceName(int number) {
  return "Machine record " + std::to_string(number);
}

// The whole file, up to one byte more than a record can hold; nothing when
// there is no such file.
std::optional<std::string> ReadRecordFile(WindowsApi& api, const std::string& path) {
  const ScopedFile file(
      api, api.CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, 0));
  if (!file) return std::nullopt;
  std::string text;
  char piece[4096];
  DWORD read = 0;
  while (text.size() <= LongestRecord() &&
         api.ReadFile(file.get(), piece, sizeof piece, &read, nullptr) && read > 0) {
    text.append(piece, read);
  }
  return text;
}

// The registry's copy, its pieces in order; nothing when there is none.
std::optional<std::string> ReadRegistryCopy(WindowsApi& api) {
  ScopedKey key(api);
  if (api.RegOpenKeyExA(HKLM, std::string(kRecordKey), 0, KEY_QUERY_VALUE, key.out()) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  std::optional<std::string> text;
  for (int number = 1; !text || text->size() <= LongestRecord(); ++number) {
    std::vector<BYTE> piece(kRegistryPiece);
    DWORD type = 0, size = kRegistryPiece;
    if (api.RegQueryValueExA(key.get(), PieceName(number), nullptr, &type, piece.data(), &size) !=
        ERROR_SUCCESS) {
      break;
    }
    text = text.value_or("") + std::string(piece.begin(), piece.begin() + size);
  }
  return text;
}

void DeleteRegistryCopy(WindowsApi& api) {
  ScopedKey key(api);
  if (api.RegOpenKeyExA(HKLM, std::string(kRecordKey), 0, KEY_SET_VALUE, key.out()) !=
      ERROR_SUCCESS) {
    return;
  }
  for (int number = 1; api.RegDeleteValueA(key.get(), PieceName(number)) == ERROR_SUCCESS;) {
    ++number;
  }
}

bool WriteRegistryCopy(WindowsApi& api, const std::string& text) {
  bool whole = true;
  {
    ScopedKey key(api);
    whole = api.RegCreateKeyA(HKLM, std::string(kRecordKey), key.out()) == ERROR_SUCCESS;
    for (std::size_t at = 0, number = 1; whole && at < text.size(); at += kRegistryPiece) {
      const DWORD size =
          static_cast<DWORD>(std::min<std::size_t>(kRegistryPiece, text.size() - at));
      whole = api.RegSetValueExA(key.get(), PieceName(static_cast<int>(number++)), 0, REG_BINARY,
                                 reinterpret_cast<const BYTE*>(text.data() + at),
                                 size) == ERROR_SUCCESS;
    }
  }
  if (!whole) DeleteRegistryCopy(api);  // no record cut short
  return whole;
}

// "machine-record <what> <date> <time>.txt" in `folder`, not there yet.
std::string DatedName(WindowsApi& api, const std::string& folder, const std::string& what) {
  char date[40] = "", time[40] = "";
  api.GetDateFormatA(LOCALE_USER_DEFAULT, 0, nullptr, "yyyy'-'MM'-'dd", date, sizeof date);
  api.GetTimeFormatA(LOCALE_USER_DEFAULT, 0, nullptr, "HH'.'mm'.'ss", time, sizeof time);
  std::string stamp = std::string(date) + " " + time;
  for (char& c : stamp) {
    if (std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos) c = '.';
  }
  std::string base = folder + "\\machine-record " + what + " " + stamp;
  for (int number = 2;; ++number) {
    const std::string name = base + ".txt";
    const ScopedFile there(
        api, api.CreateFileA(name, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, 0));
    if (!there || number > 99) return name;
    base = folder + "\\machine-record " + what + " " + stamp + " (" + std::to_string(number) + ")";
  }
}

void SetAsideFile(WindowsApi& api, const std::string& path, const std::string& folder,
                  const std::string& why, Report& report) {
  const std::string aside = DatedName(api, folder, "set aside");
  if (api.MoveFileA(path, aside)) {
    report.Tell("The record in " + path + " " + why + ": it was not used, and was set aside as " +
                aside + ".");
  } else {
    report.Tell("The record in " + path + " " + why + ": it was not used.");
  }
}

}  // namespace

std::string Report::Text() const {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

int WriteNewFile(WindowsApi& api, const std::string& path, const std::string& text) {
  bool whole = false;
  {
    const ScopedFile file(api, api.CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, 0));
    if (!file) return api.GetLastError() == ERROR_FILE_EXISTS ? 2 : 1;
    DWORD written = 0;
    whole = api.WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written,
                          nullptr) &&
            written == text.size();
  }
  // A record cut short must not stay: the next install would keep it as the
  // first one, and the uninstall could not use it.
  if (!whole) api.DeleteFileA(path);
  return whole ? 0 : 1;
}

std::optional<FoundRecord> FindRecord(WindowsApi& api, const std::string& folder, Report& report) {
  const std::string path = folder + "\\" + std::string(kRecordFile);
  const auto fileText = ReadRecordFile(api, path);
  const auto registryText = ReadRegistryCopy(api);
  auto inFile = fileText ? ParseRecord(*fileText) : std::nullopt;
  const auto inRegistry = registryText ? ParseRecord(*registryText) : std::nullopt;
  if (fileText && !inFile) SetAsideFile(api, path, folder, "was damaged", report);
  if (registryText && !inRegistry) {
    // Never deleted unseen: it goes only once it is kept in a file.
    const std::string aside = DatedName(api, folder, "from the registry, set aside");
    if (WriteNewFile(api, aside, *registryText) == 0) {
      DeleteRegistryCopy(api);
      report.Tell("The record in HKLM\\" + std::string(kRecordKey) +
                  " was damaged: it was not used, and was set aside as " + aside + ".");
    } else {
      report.Tell("The record in HKLM\\" + std::string(kRecordKey) +
                  " was damaged: it was not used.");
    }
  }
  if (inRegistry) {
    if (inFile && *inFile != *inRegistry) {
      SetAsideFile(api, path, folder, "differed from the one in the registry", report);
      inFile.reset();
    }
    return FoundRecord{*inRegistry, *registryText, inFile.has_value(), true};
  }
  if (inFile) return FoundRecord{*inFile, *fileText, true, false};
  return std::nullopt;
}

bool KeepRecord(WindowsApi& api, const std::string& folder, const FoundRecord& found) {
  const std::string path = folder + "\\" + std::string(kRecordFile);
  const bool inFile = found.inFile || WriteNewFile(api, path, found.text) == 0;
  // A copy still there was damaged and could not be set aside: never overwritten.
  const bool inRegistry =
      found.inRegistry || (!ReadRegistryCopy(api) && WriteRegistryCopy(api, found.text));
  return inFile && inRegistry;
}

}  // namespace ludora::record
