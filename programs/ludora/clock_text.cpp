#include "ludora/clock_text.h"

#include "platform/win_constants.h"

namespace ludora {

namespace {

template <typename Format>
std::string Formatted(Format format) {
  char buffer[256];
  const int length = format(buffer, static_cast<int>(sizeof buffer));
  return length > 0 ? std::string(buffer) : std::string();
}

}  // namespace

std::string ClockText(WindowsApi& api) {
  const std::string date = Formatted([&](char* buffer, int size) {
    return api.GetDateFormatA(LOCALE_USER_DEFAULT, DATE_LONGDATE, nullptr, nullptr, buffer, size);
  });
  const std::string time = Formatted([&](char* buffer, int size) {
    return api.GetTimeFormatA(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, buffer, size);
  });
  return date + "  " + time;
}

}  // namespace ludora
