#include "pno0001/status.h"

#include <cstring>

#include "pno0001/font.h"
#include "pno0001/view.h"

namespace ludora::pno0001 {

namespace {

constexpr std::uint32_t kLabelColour = 0x8090A0, kValueColour = 0xF0F0E0, kWarningColour = 0xFF5040;
constexpr std::uint32_t kTitleColour = 0xFFD060, kMenuColour = 0x283848, kChosenColour = 0xFFFFFF;
constexpr std::uint32_t kOtherColour = 0x7890A8;

// Glyph pixels are this many screen pixels: 1 at 320 x 240, 2 at 640 x 480.
int Unit(const Frame& frame) {
  return frame.height >= 480 ? 2 : 1;
}

// A label above its value, in a quarter of the bar.
void Field(Frame& frame, int quarter, const char* label, int value, std::uint32_t colour) {
  const int unit = Unit(frame), top = ViewHeight(frame.height);
  const int x = frame.width * quarter / 4 + 6 * unit;
  char digits[12];
  WriteText(frame, x, top + 3 * unit, unit, kLabelColour, label);
  WriteText(frame, x, top + 12 * unit, 2 * unit, colour, FormatNumber(value, digits));
}

void Bar(Frame& frame, const Session& session) {
  const int top = ViewHeight(frame.height), unit = Unit(frame);
  FillRect(frame, 0, top, frame.width, frame.height - top, kBarColour);
  FillRect(frame, 0, top, frame.width, unit, 0x3C4C60);
  const Carry& carry = session.world().player().carry;
  Field(frame, 0, "HEALTH", carry.health, carry.health <= 25 ? kWarningColour : kValueColour);
  Field(frame, 1, "AMMO", carry.ammo, carry.ammo == 0 ? kWarningColour : kValueColour);
  Field(frame, 2, "SCORE", carry.score, kValueColour);
  Field(frame, 3, "LEVEL", session.world().level().number + 1, kValueColour);
}

void Best(Frame& frame, const Session& session) {
  const int unit = Unit(frame);
  char text[20] = "BEST ";
  FormatNumber(session.best(), text + 5);
  WriteText(frame, frame.width - TextWidth(text, unit) - 4 * unit, 4 * unit, unit, kLabelColour,
            text);
}

void CrossHair(Frame& frame) {
  const int unit = Unit(frame), x = frame.width / 2, y = ViewHeight(frame.height) / 2;
  FillRect(frame, x - 4 * unit, y, 3 * unit, unit, kValueColour);
  FillRect(frame, x + 2 * unit, y, 3 * unit, unit, kValueColour);
  FillRect(frame, x, y - 4 * unit, unit, 3 * unit, kValueColour);
  FillRect(frame, x, y + 2 * unit, unit, 3 * unit, kValueColour);
}

// A big line and a small one under it, in the middle of the view.
void Message(Frame& frame, const char* title, const char* line) {
  const int unit = Unit(frame), y = ViewHeight(frame.height) / 3;
  WriteCentred(frame, y, 3 * unit, kTitleColour, title);
  if (line) WriteCentred(frame, y + 32 * unit, unit * 2, kValueColour, line);
}

constexpr const char* kMenuCaptions[kMenuItems] = {"RESUME", "QUIT"};

Box MenuPanel(int width, int height) {
  const int unit = height >= 480 ? 2 : 1;
  return {width / 2 - 70 * unit, ViewHeight(height) / 2 - 50 * unit, 140 * unit, 100 * unit};
}

void Menu(Frame& frame, const Session& session) {
  Darken(frame, 0, 0, frame.width, frame.height);
  const int unit = Unit(frame);
  const Box panel = MenuPanel(frame.width, frame.height);
  FillRect(frame, panel.x, panel.y, panel.width, panel.height, kMenuFrameColour);
  FillRect(frame, panel.x + unit, panel.y + unit, panel.width - 2 * unit, panel.height - 2 * unit,
           kMenuColour);
  WriteCentred(frame, panel.y + 10 * unit, 3 * unit, kTitleColour, "PAUSED");
  for (int i = 0; i < kMenuItems; ++i) {
    const auto item = static_cast<MenuItem>(i);
    const Box box = MenuItemBox(frame.width, frame.height, item);
    const bool chosen = session.selected() == item;
    if (chosen) FillRect(frame, box.x, box.y, box.width, box.height, 0x3C5470);
    WriteCentred(frame, box.y + 4 * unit, 2 * unit, chosen ? kChosenColour : kOtherColour,
                 kMenuCaptions[i]);
  }
}

}  // namespace

Box MenuItemBox(int frameWidth, int frameHeight, MenuItem item) {
  const int unit = frameHeight >= 480 ? 2 : 1;
  const Box panel = MenuPanel(frameWidth, frameHeight);
  return {panel.x + 10 * unit, panel.y + (40 + 26 * static_cast<int>(item)) * unit,
          panel.width - 20 * unit, 22 * unit};
}

std::optional<MenuItem> MenuItemAt(int frameWidth, int frameHeight, int x, int y) {
  for (int i = 0; i < kMenuItems; ++i)
    if (MenuItemBox(frameWidth, frameHeight, static_cast<MenuItem>(i)).Holds(x, y))
      return static_cast<MenuItem>(i);
  return std::nullopt;
}

void DrawStatus(const Session& session, Frame& frame) {
  Bar(frame, session);
  Best(frame, session);
  char line[40] = "LEVEL ";
  switch (session.screen()) {
    case Screen::Playing:
      CrossHair(frame);
      break;
    case Screen::LevelDone:
      FormatNumber(session.world().level().number + 1, line + 6);
      std::strcat(line, " CLEAR");
      Message(frame, line, nullptr);
      break;
    case Screen::GameOver:
      Message(frame, "GAME OVER", "FIRE TO PLAY AGAIN");
      break;
    case Screen::Won:
      Message(frame, "YOU WIN!", "FIRE TO PLAY AGAIN");
      break;
  }
  if (session.paused()) Menu(frame, session);
}

}  // namespace ludora::pno0001
