#include "parlour/pad_reader_win.h"

#include <mmsystem.h>

#include <algorithm>
#include <cstdint>

namespace ludora::win32 {

struct PadReader::Functions {
  decltype(&::joyGetNumDevs) numDevs;
  decltype(&::joyGetDevCapsA) devCaps;
  decltype(&::joyGetPosEx) posEx;
};

namespace {

template <typename Function>
Function Find(HMODULE module, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

DWORD Scaled(DWORD value, DWORD least, DWORD most) {
  if (most <= least) return 32767;
  return static_cast<DWORD>((std::uint64_t(std::clamp(value, least, most)) - least) * 65535 /
                            (most - least));
}

}  // namespace

bool PadReader::Load() {
  if (loaded_) return functions_ != nullptr;
  loaded_ = true;
  static Functions found;  // the one set; the room has one reader
  const HMODULE winmm = ::LoadLibraryA("winmm.dll");
  if (!winmm) return false;
  found = {Find<decltype(found.numDevs)>(winmm, "joyGetNumDevs"),
           Find<decltype(found.devCaps)>(winmm, "joyGetDevCapsA"),
           Find<decltype(found.posEx)>(winmm, "joyGetPosEx")};
  if (found.numDevs && found.devCaps && found.posEx) functions_ = &found;
  return functions_ != nullptr;
}

bool PadReader::Look() {
  if (!Load()) return false;
  const UINT count = std::min<UINT>(functions_->numDevs(), 16);
  for (UINT id = 0; id < count; ++id) {
    JOYINFOEX info = {};
    info.dwSize = sizeof info;
    info.dwFlags = JOY_RETURNALL;
    JOYCAPSA caps = {};
    if (functions_->posEx(id, &info) != JOYERR_NOERROR ||
        functions_->devCaps(id, &caps, sizeof caps) != JOYERR_NOERROR)
      continue;
    id_ = id;
    range_[0] = caps.wXmin, range_[1] = caps.wXmax, range_[2] = caps.wYmin, range_[3] = caps.wYmax;
    return true;
  }
  return false;
}

std::optional<parlour::PadReading> PadReader::Read() {
  JOYINFOEX info = {};
  info.dwSize = sizeof info;
  info.dwFlags = JOY_RETURNX | JOY_RETURNY | JOY_RETURNPOV | JOY_RETURNBUTTONS;
  if (!functions_ || functions_->posEx(id_, &info) != JOYERR_NOERROR) return std::nullopt;
  return parlour::PadReading{static_cast<std::uint32_t>(Scaled(info.dwXpos, range_[0], range_[1])),
                             static_cast<std::uint32_t>(Scaled(info.dwYpos, range_[2], range_[3])),
                             static_cast<std::uint32_t>(info.dwPOV),
                             static_cast<std::uint32_t>(info.dwButtons)};
}

}  // namespace ludora::win32
