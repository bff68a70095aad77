#include "pno0001/settings_file.h"

#include <cstring>

#include "pno0001/font.h"

namespace ludora::pno0001 {

namespace {

constexpr char kHeading[] = "[pno0001]";

// A line's text without its end (CR LF or LF) and its trailing blanks.
struct Line {
  const char* text;
  std::size_t length;
  bool Is(const char* word) const {
    return length == std::strlen(word) && std::memcmp(text, word, length) == 0;
  }
};

// 0 to 999999999 written in decimal digits alone, or -1.
int Number(const char* text, std::size_t length) {
  if (length == 0 || length > 9) return -1;
  int value = 0;
  for (std::size_t i = 0; i < length; ++i) {
    if (text[i] < '0' || text[i] > '9') return -1;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

void Apply(Line line, Settings& settings) {
  const char* equals = static_cast<const char*>(std::memchr(line.text, '=', line.length));
  if (!equals) return;
  const Line key{line.text, static_cast<std::size_t>(equals - line.text)};
  const char* value = equals + 1;
  const int number = Number(value, line.length - key.length - 1);
  if (key.Is("best") && number >= 0) settings.best = number;
  if (key.Is("fullscreen") && (number == 0 || number == 1)) settings.fullScreen = number == 1;
}

}  // namespace

Settings ReadSettings(const char* bytes, std::size_t size) {
  Settings settings;
  if (size > kMostSettingsBytes) return settings;
  bool headed = false;
  for (std::size_t start = 0; start < size;) {
    const char* end = static_cast<const char*>(std::memchr(bytes + start, '\n', size - start));
    const std::size_t next = end ? static_cast<std::size_t>(end - bytes) + 1 : size;
    Line line{bytes + start, next - start};
    while (line.length > 0 &&
           (line.text[line.length - 1] == '\n' || line.text[line.length - 1] == '\r' ||
            line.text[line.length - 1] == ' '))
      --line.length;
    start = next;
    if (!headed) {
      if (line.length == 0) continue;
      if (!line.Is(kHeading)) return settings;  // not our file
      headed = true;
      continue;
    }
    if (line.length > 0 && line.text[0] == '[') break;  // another section
    Apply(line, settings);
  }
  return settings;
}

std::size_t WriteSettings(const Settings& settings, char* out) {
  char digits[12];
  char* at = out;
  const char* const parts[] = {kHeading,
                               "\r\nbest=",
                               FormatNumber(settings.best, digits),
                               "\r\nfullscreen=",
                               settings.fullScreen ? "1" : "0",
                               "\r\n"};
  for (const char* part : parts) {
    const std::size_t length = std::strlen(part);
    std::memcpy(at, part, length);
    at += length;
  }
  return static_cast<std::size_t>(at - out);
}

}  // namespace ludora::pno0001
