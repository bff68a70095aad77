#include "chitter/log_book.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "chitter/formatting.h"

namespace ludora::chitter {

namespace {

std::string FileName(std::string_view name, const CodePage& ansi) {
  std::string file = ansi.FromUtf16(Utf8ToUtf16(name)).substr(0, 64);
  std::ranges::replace_if(
      file,
      [](char c) {
        return static_cast<unsigned char>(c) < 0x20 ||
               std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos;
      },
      '_');
  while (!file.empty() && (file.back() == '.' || file.back() == ' ')) file.back() = '_';
  std::string upper = file.substr(0, file.find('.'));
  std::ranges::transform(upper, upper.begin(), [](char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
  });
  static constexpr std::array<std::string_view, 4> kDevices = {"CON", "PRN", "AUX", "NUL"};
  const bool numbered = upper.size() == 4 &&
                        (upper.starts_with("COM") || upper.starts_with("LPT")) && upper[3] >= '0' &&
                        upper[3] <= '9';
  if (numbered || std::ranges::find(kDevices, upper) != kDevices.end()) file.insert(0, "_");
  return file.empty() ? "_" : file;
}

}  // namespace

std::string LogPath(const std::string& folder, std::string_view network,
                    std::string_view conversation, const Clock& day, const CodePage& ansi) {
  char date[16];
  std::snprintf(date, sizeof date, "%04d-%02d-%02d", day.year % 10000, day.month % 100,
                day.day % 100);
  return folder + "\\logs\\" + FileName(network, ansi) + "\\" + FileName(conversation, ansi) + " " +
         date + ".log";
}

std::string Speaker(const Line& line) {
  switch (line.kind) {
    case LineKind::Message:
      return "<" + line.nick + ">";
    case LineKind::Action:
      return "* " + line.nick;
    case LineKind::Notice:
      return "-" + line.nick + "-";
    default:
      return "*";
  }
}

std::string LogLine(const Line& line) {
  char stamp[16];
  std::snprintf(stamp, sizeof stamp, "[%02u:%02u:%02u] ", line.hour % 100u, line.minute % 100u,
                line.second % 100u);
  return stamp + StripCodes(Speaker(line)) + " " + StripCodes(line.text) + "\r\n";
}

void WriteLog(LogSink& logs, const std::string& path, const Line& line, const Clock& now) {
  const std::uint64_t size = logs.Size(path);
  if (size >= kLargestLog) return;
  const std::string text = LogLine(line);
  logs.Append(path, text);
  if (size + text.size() >= kLargestLog) {
    logs.Append(path,
                LogLine(StampedLine(now, LineKind::Info, "",
                                    "This log has reached " + std::to_string(kLargestLog >> 20) +
                                        " MiB: the rest of the day is not written to it.")));
  }
}

}  // namespace ludora::chitter
