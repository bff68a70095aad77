// libFuzzer targets for the games room's readers of outside input, one
// binary each (PARLOUR_LIBRARY picks the library file's):
//  - shortcut files: any bytes read without a fault, no text longer than
//    the bytes it came from;
//  - the library file: any bytes read without a fault, the same in any
//    pieces, within the limits, and written back what it read.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "parlour/library.h"
#include "parlour/shell_link.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
#ifdef PARLOUR_LIBRARY
  if (size == 0) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
  const ludora::parlour::Library whole = ludora::parlour::ParseLibrary(text);
  Check(whole.games.size() <= ludora::parlour::kMaxGames &&
        whole.ignored.size() <= ludora::parlour::kMaxIgnored);
  ludora::parlour::LibraryReader pieces;  // in pieces of 1 to 256 bytes
  for (std::size_t at = 0; at < text.size(); at += data[0] + 1u)
    pieces.Feed(text.substr(at, data[0] + 1u));
  const ludora::parlour::Library again = pieces.Finish();
  Check(again.games == whole.games && again.ignored == whole.ignored &&
        again.damaged == whole.damaged);
  const ludora::parlour::Library written = ludora::parlour::ParseLibrary(LibraryText(whole));
  Check(!written.damaged && written.games == whole.games && written.ignored == whole.ignored);
#else
  const auto link = ludora::parlour::ParseShellLink({data, size});
  if (link) {
    Check(link->target.size() <= size && link->arguments.ansi.size() <= size &&
          link->arguments.utf16.size() <= size);
  }
#endif
  return 0;
}
