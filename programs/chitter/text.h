// Text as it crosses the wire and the screen: UTF-8 inside the program,
// UTF-16 in the NT family's windows, the machine's ANSI code page in 98's
// and wherever a line from the network is not UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace ludora::chitter {

// Whether `bytes` are well-formed UTF-8: no overlong forms, no surrogates,
// nothing past U+10FFFF, no sequence cut short.
bool IsUtf8(std::string_view bytes);
// How many bytes at the end of `bytes` begin a UTF-8 sequence that is cut
// short (0 to 3): a line cut to its length limit loses them.
std::size_t CutSequenceAtEnd(std::string_view bytes);

// Each malformed sequence, or lone surrogate, becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

// The machine's ANSI code page, which Windows converts (MultiByteToWideChar).
class CodePage {
 public:
  virtual ~CodePage() = default;
  virtual std::u16string ToUtf16(std::string_view ansi) const = 0;
  // What the code page cannot hold becomes '?'.
  virtual std::string FromUtf16(std::u16string_view text) const = 0;
  // Its number, as RTF's \ansicpg names it.
  virtual unsigned Number() const = 0;
};

// Windows-1252, the western code page, where Windows is not there to ask.
class WesternCodePage : public CodePage {
 public:
  std::u16string ToUtf16(std::string_view ansi) const override;
  std::string FromUtf16(std::u16string_view text) const override;
  unsigned Number() const override { return 1252; }
};

// Bytes from the network as UTF-8: as they are when they are UTF-8, else
// read in the ANSI code page.
std::string Decode(std::string_view bytes, const CodePage& ansi);
// The user's text (UTF-8) as it goes out: UTF-8, or in the ANSI code page.
std::string Encode(std::string_view utf8, const CodePage& ansi, bool inAnsi);

}  // namespace ludora::chitter
