// The registry and the profile files of the in-memory Windows.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/win_types.h"

namespace ludora::testing {

std::string Lower(std::string text);

class FakeRegistry {
 public:
  struct RegValue {
    DWORD type;
    std::vector<BYTE> data;
  };
  // "HKCU\<key> [<name>]" in lower case -> type and bytes.
  std::map<std::string, RegValue> registry;
  std::set<std::string> keys;            // in lower case
  std::vector<std::string> refusedKeys;  // keys (and below) that cannot be created
  bool volatileKeysSupported = true;     // Windows 98 has none
  // Profile files by name, each "<section>|<key>" in lower case -> text.
  std::map<std::string, std::map<std::string, std::string>> profiles;

  std::map<std::string, std::string>& Profile(const std::string& file) {
    return profiles[Lower(file)];
  }
  void SetValue(const std::string& key, const std::string& name, DWORD type,
                std::vector<BYTE> data);
  // "REG_SZ <text>", "REG_DWORD <number>", "<type> <hex bytes>"; nothing when absent.
  std::optional<std::string> Value(const std::string& key, const std::string& name) const;

  static std::string RootName(HKEY root);
  static std::string Rendered(DWORD type, const BYTE* data, DWORD size);

 protected:
  bool Refused(const std::string& key) const;
};

}  // namespace ludora::testing
