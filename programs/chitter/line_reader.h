// The lines of a stream from an IRC server. A line ends at CR or LF (CR LF
// as the protocol has it, a bare LF as some servers send); empty lines are
// none. NUL, which no line may hold, is dropped. A line longer than the
// protocol's 512 bytes is cut there, never at the middle of a UTF-8
// character, and the rest of it up to its end is dropped: what the reader
// holds is bounded whatever the server sends.
#pragma once

#include <string>
#include <string_view>

namespace ludora::chitter {

class LineReader {
 public:
  static constexpr std::size_t kMaxLine = 512;

  // Takes the bytes that arrived; `line` is called with each whole line, in order.
  template <typename OnLine>
  void Feed(std::string_view bytes, OnLine&& line) {
    for (const char c : bytes) {
      if (c == '\r' || c == '\n') {
        if (!partial_.empty()) line(std::string_view(Finish()));
        cut_ = false;
      } else if (c != '\0' && !cut_) {
        partial_ += c;
        if (partial_.size() == kMaxLine) {
          line(std::string_view(Finish()));
          cut_ = true;
        }
      }
    }
  }
  // A new connection: a line cut off by the old one is not finished by the new one.
  void Reset();

 private:
  const std::string& Finish();

  std::string partial_;
  std::string finished_;
  bool cut_ = false;  // the rest of an overlong line is being dropped
};

}  // namespace ludora::chitter
