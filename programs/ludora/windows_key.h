// The Windows key taken as Windows' own shell takes it: the quick menu opens
// when the key is let go with no other key pressed meanwhile, so that the
// Windows-key combinations of other programs (Windows+E, Windows+R, ...)
// never open it. Where the key comes to the shell as a hot key at its press
// (Windows 98), the bar then looks at the keyboard until it is let go.
#pragma once

namespace ludora {

class WindowsKeyTap {
 public:
  enum class Verdict { Wait, Open, Drop };

  void Pressed() {
    watching_ = true;
    combined_ = false;
  }
  bool watching() const { return watching_; }

  // One look at the keyboard while watching: whether a Windows key is down,
  // and whether any other key is.
  Verdict Look(bool windowsKeyDown, bool otherKeyDown) {
    if (!watching_) return Verdict::Drop;
    combined_ |= otherKeyDown;
    if (windowsKeyDown) return Verdict::Wait;
    watching_ = false;
    return combined_ ? Verdict::Drop : Verdict::Open;
  }

 private:
  bool watching_ = false;
  bool combined_ = false;
};

}  // namespace ludora
