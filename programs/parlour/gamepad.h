// A gamepad or joystick as the room reads it: the readings of joyGetPosEx
// in, commands out. A direction of the stick or the hat moves once when
// pushed, then again after a pause and on while held; a button acts once
// when pressed. Button 1 plays, 2 goes back, 3 opens the game's menu, 4
// and 6 go to the next category, 5 to the previous one.
#pragma once

#include <vector>

#include "platform/win_types.h"

namespace ludora::parlour {

// One reading: the axes from 0 to 65535 (centred at half), the hat in
// hundredths of a degree clockwise from up (0xFFFF centred), a bit a button.
struct PadReading {
  DWORD x = 32767, y = 32767;
  DWORD pov = 0xFFFF;
  DWORD buttons = 0;
};

enum class PadCommand { Left, Right, Up, Down, Play, Back, Menu, PreviousCategory, NextCategory };

class Gamepad {
 public:
  static constexpr DWORD kFirstRepeatMs = 400, kRepeatMs = 130;

  std::vector<PadCommand> Read(const PadReading& reading, DWORD now);

 private:
  int held_ = -1;  // the direction held, as a PadCommand; -1 none
  DWORD nextRepeat_ = 0;
  DWORD buttons_ = 0;
};

}  // namespace ludora::parlour
