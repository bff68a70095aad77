// The first gamepad or joystick Windows knows, read with joyGetPosEx.
// winmm.dll is loaded when a pad is first looked for, after the room is on
// screen: under Wine its start-up loads the sound drivers, which took the
// room seconds longer to show when it was imported.
#pragma once

#include <optional>

#include "parlour/gamepad.h"
#include "win32/win.h"

namespace ludora::win32 {

class PadReader {
 public:
  // Whether a pad answers; the first of up to 16 that does is read from then on.
  bool Look();
  // Its reading, the axes scaled to 0..65535; nothing when it is gone.
  std::optional<parlour::PadReading> Read();

 private:
  bool Load();

  struct Functions;
  const Functions* functions_ = nullptr;
  bool loaded_ = false;
  UINT id_ = 0;
  DWORD range_[4] = {0, 65535, 0, 65535};  // x and y, least and most
};

}  // namespace ludora::win32
