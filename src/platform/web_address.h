// Web addresses as the shell is handed them (ShellExecuteA). The shell puts
// an address into the command line of the program it starts for it, most
// often inside quotes ("%1"): a quote or a blank in the address would hand
// that program arguments of the address's making. And an address that comes
// as Unicode (a link in a chat line, one the web browser control reports)
// must not go through the ANSI code page: the conversion makes look-alikes
// of the characters the code page lacks (U+FF02 a '"', U+3000 a blank), and
// Windows 98 cannot be asked not to (WC_NO_BEST_FIT_CHARS is 2000's and
// later's). Neither function converts anything through a code page.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ludora {

// The address in ASCII alone: each character beyond ASCII as the %XX of its
// UTF-8 bytes, as browsers send them; ASCII as it is. Nothing when the text
// is not well-formed UTF-16 (a surrogate without its pair).
std::optional<std::string> AsciiAddress(std::u16string_view address);

// `address` with what no address may hold and a command line takes apart
// percent-encoded: control characters, blanks, '"', '<', '>', DEL, and a '%'
// that begins no %XX. Bytes from 0x40 up stay as they are, so that an ANSI
// address of a double-byte code page keeps its characters (their second
// bytes are 0x40 and up).
std::string ShellAddress(std::string_view address);

}  // namespace ludora
