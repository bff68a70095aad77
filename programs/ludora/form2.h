// Form2, the memory defragmenter: counts from 1 to 100 % in timer steps and,
// at the halfway step, takes two thirds of the installed memory once,
// writes every byte of it and gives it back within the same step.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/windows_api.h"

namespace ludora {

class Form2View {
 public:
  virtual ~Form2View() = default;
  virtual void SetProgressText(const std::string& text) = 0;  // Label1's caption
  virtual void SetTimerEnabled(bool enabled) = 0;             // Timer1
  virtual void SetCloseAreaEnabled(bool enabled) = 0;         // Label2
  virtual void Show() = 0;   // shows the window and brings it to the front
  virtual void Close() = 0;  // closes and destroys the window, soon after the call
};

// The number of two-byte characters of the work buffer for a total of
// `totalPhys` bytes of installed memory (read as a signed number): a third,
// rounded; nothing when the total reads as negative.
std::optional<std::int64_t> WorkBufferCharacters(std::int32_t totalPhys);

// Writes `bytes` (an even count) as two-byte spaces.
void FillWithSpaces(void* buffer, std::size_t bytes);

class Form2 {
 public:
  Form2(WindowsApi& api, const MEMORYSTATUS& lastReading);
  void AttachView(Form2View* view) { view_ = view; }

  void Load();
  void Timer1_Timer();
  void Label2_Click();
  // The platform's close command (Alt+F4): ignored while the count runs.
  void QueryClose();

  int counter() const { return counter_; }

 private:
  void MakeWorkBuffer();

  WindowsApi& api_;
  const MEMORYSTATUS& lastReading_;
  Form2View* view_ = nullptr;
  std::int16_t counter_ = 0;
  bool closeEnabled_ = false;
};

}  // namespace ludora
