// The six operations every tuning step is built from: the platform test,
// the two priority changes of the shell's own process, and the writers of
// registry values and profile-file entries. None of them stops its caller.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/windows_api.h"

namespace ludora {

// The Windows family, by the codes the platform test has always given.
// Callers ask only whether it is NotNt, so Unknown acts as the NT family.
enum class Platform {
  Nt = 1,       // Windows NT, 2000, XP
  NotNt = 2,    // Windows 95, 98, Me
  Unknown = 3,  // the version query failed
};

Platform GetPlatform(WindowsApi& api);

// SetThreadPriority on every handle value from -500 to 500; -2 is the
// current-thread pseudo-handle, so the calling thread always gets the level.
void SetThreadPriorities(WindowsApi& api, std::int16_t priority);

struct PriorityError {
  LONG number = 0;
  std::string source;
  std::string description;
  bool operator==(const PriorityError&) const = default;
};

// Opens the own process with PROCESS_DUP_HANDLE only: on the NT family
// Windows then refuses the class change (error record 4) and the process
// keeps its class; older platforms do not check the right and apply it.
std::optional<PriorityError> ChangePriority(WindowsApi& api, DWORD priorityClass);

// Each writer reports whether every call it made succeeded. Most callers
// ignore the answer; the default-shell switches tell the user about it.
bool SetRegDword(WindowsApi& api, HKEY root, const std::string& keyPath,
                 const std::string& valueName, DWORD data);
bool SetRegString(WindowsApi& api, HKEY root, const std::string& keyPath,
                  const std::string& valueName, const std::string& data);
bool SetIniString(WindowsApi& api, const std::string& section, const std::string& key,
                  const std::string& value, const std::string& fileName);

}  // namespace ludora
