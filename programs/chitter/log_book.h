// The logs, when the settings ask for them: one text file per conversation
// and day, "<folder>\logs\<network>\<conversation> <yyyy-mm-dd>.log", each
// line as shown, "[hh:mm:ss] <nick> text", without formatting codes, in
// UTF-8. The Windows part appends to the files.
#pragma once

#include <string>
#include <string_view>

#include "chitter/conversation.h"
#include "chitter/text.h"

namespace ludora::chitter {

class LogSink {
 public:
  virtual ~LogSink() = default;
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

}  // namespace ludora::chitter
