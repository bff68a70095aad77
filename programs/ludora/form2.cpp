#include "ludora/form2.h"

#include <algorithm>
#include <limits>

#include "platform/resume_next.h"
#include "platform/win_constants.h"

namespace ludora {

std::optional<std::int64_t> WorkBufferCharacters(std::int32_t totalPhys) {
  if (totalPhys < 0) return std::nullopt;
  return (static_cast<std::int64_t>(totalPhys) + 1) / 3;  // a third is never a half
}

void FillWithSpaces(void* buffer, std::size_t bytes) {
  // Two characters per 32-bit store: 0x0020 0x0020, little-endian.
  auto* pairs = static_cast<std::uint32_t*>(buffer);
  std::fill_n(pairs, bytes / 4, 0x00200020u);
  if (bytes % 4 != 0) {
    auto* last = static_cast<unsigned char*>(buffer) + (bytes & ~std::size_t{3});
    last[0] = ' ';
    last[1] = 0;
  }
}

Form2::Form2(WindowsApi& api, const MEMORYSTATUS& lastReading)
    : api_(api), lastReading_(lastReading) {}

void Form2::Load() {
  counter_ = 0;
  view_->SetTimerEnabled(true);
}

void Form2::Timer1_Timer() {
  if (counter_ == 100) {
    view_->SetTimerEnabled(false);
    view_->SetCloseAreaEnabled(true);
    closeEnabled_ = true;
    return;
  }
  if (counter_ == 50) Attempt(api_, "Form2.Timer1 (the work buffer)", [&] { MakeWorkBuffer(); });
  ++counter_;
  Attempt(api_, "Form2.Timer1 (the progress text)", [&] {
    view_->SetProgressText("Defragmenting: \r\n\r\n" + std::to_string(counter_) + "% Complete");
  });
}

void Form2::Label2_Click() {
  if (closeEnabled_) view_->Close();
}

void Form2::QueryClose() {
  Label2_Click();
}

// Committed and written page by page, so the memory is really taken from
// the machine, then released before the tick ends. Text of N characters of
// two bytes, each a space.
void Form2::MakeWorkBuffer() {
  const auto characters = WorkBufferCharacters(static_cast<std::int32_t>(lastReading_.dwTotalPhys));
  if (!characters || *characters == 0) return;
  const std::uint64_t wanted = static_cast<std::uint64_t>(*characters) * 2;
  if (wanted > std::numeric_limits<std::size_t>::max()) return;
  const auto bytes = static_cast<std::size_t>(wanted);
  void* buffer = api_.VirtualAlloc(nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (buffer == nullptr) return;
  FillWithSpaces(buffer, bytes);
  api_.VirtualFree(buffer, 0, MEM_RELEASE);
}

}  // namespace ludora
