// The logs, when the settings ask for them: one text file per conversation
// and day, "<folder>\logs\<network>\<conversation> <yyyy-mm-dd>.log", each
// line as shown, "[hh:mm:ss] <nick> text", without formatting codes, in
// UTF-8, at most kLargestLog bytes a file. The Windows part appends to the files.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "chitter/conversation.h"
#include "chitter/text.h"

namespace ludora::chitter {

class LogSink {
 public:
  virtual ~LogSink() = default;
  // The bytes the file holds, those still to be written with them; 0 for none.
  virtual std::uint64_t Size(const std::string& path) = 0;
  virtual void Append(const std::string& path, const std::string& text) = 0;
  // What was appended is on disk; called every tick.
  virtual void Flush() {}
};

// Names (UTF-8) as file names in the ANSI code page: what a file name
// cannot hold becomes '_', and a device's name (CON, LPT1) gets one before it.
std::string LogPath(const std::string& folder, std::string_view network,
                    std::string_view conversation, const Clock& day, const CodePage& ansi);
// "<nick>", "* nick", "-nick-", or "*" for the program's and server's lines.
std::string Speaker(const Line& line);
std::string LogLine(const Line& line);

// A day of a busy channel fills no disk: the line that takes a file to
// kLargestLog bytes is followed by one that says the log stops there, and
// the rest of the day's lines are not written.
inline constexpr std::uint64_t kLargestLog = 16 << 20;
void WriteLog(LogSink& logs, const std::string& path, const Line& line, const Clock& now);

}  // namespace ludora::chitter
