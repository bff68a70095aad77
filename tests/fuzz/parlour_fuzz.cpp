// libFuzzer targets for the games room's readers of outside input, one
// binary each (PARLOUR_LIBRARY picks the library file's, PARLOUR_REGISTRY
// the search's):
//  - shortcut files: any bytes read without a fault, no text longer than
//    the bytes it came from;
//  - the library file: any bytes read without a fault, the same in any
//    pieces, within the limits, and written back what it read;
//  - the search on a machine whose registry (installed programs of the
//    machine and the user, App Paths, Program Files) and files come from
//    the bytes: every key and file closed again, every find a named
//    program (a program file where the registry or a shortcut named it,
//    no part of Windows), one a program, and a library of them written
//    and read back whole.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string_view>

#include "parlour/library.h"
#include "parlour/shell_link.h"
#ifdef PARLOUR_REGISTRY
#include "fake/fake_windows.h"
#include "parlour/discovery.h"
#include "parlour/installed_games.h"
#endif

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

#ifdef PARLOUR_REGISTRY
using namespace ludora;
using namespace ludora::parlour;

// A machine from lines of "<where><key>\t<value name>\t<type><data>": where
// 'M' and 'U' are the machine's and the user's Uninstall keys, 'A' App
// Paths, 'V' CurrentVersion; the type '1' REG_SZ, '2' REG_EXPAND_SZ, '4'
// REG_DWORD, any other byte that type; the data as it comes, no NUL added.
// "F<path>\t<content>" is a file, "D<path>" a folder (the games folder is
// C:\Games, the Start menu's programs C:\All\Programs and C:\Player\Programs).
void Machine(testing::FakeWindows& api, std::string_view bytes) {
  const std::string uninstall = std::string(kUninstallKey) + "\\";
  while (!bytes.empty()) {
    const std::string_view line = bytes.substr(0, bytes.find('\n'));
    bytes.remove_prefix(std::min(bytes.size(), line.size() + 1));
    if (line.empty()) continue;
    const std::string_view rest = line.substr(1);
    const auto tab = rest.find('\t');
    const std::string first(rest.substr(0, tab));
    const std::string_view after = tab == rest.npos ? "" : rest.substr(tab + 1);
    if (line[0] == 'F' || line[0] == 'D') {
      // Windows names no file with a control character.
      if (first.empty() || std::any_of(first.begin(), first.end(),
                                       [](char c) { return static_cast<unsigned char>(c) < 0x20; }))
        continue;
      line[0] == 'F' ? api.AddFile(first, std::string(after)) : api.AddFolder(first);
      continue;
    }
    const auto nameEnd = after.find('\t');
    if (nameEnd == after.npos || nameEnd + 1 == after.size()) continue;
    const std::string name(after.substr(0, nameEnd));
    const char type = after[nameEnd + 1];
    const std::string_view data = after.substr(nameEnd + 2);
    const std::string key = line[0] == 'M'   ? "HKLM\\" + uninstall + first
                            : line[0] == 'U' ? "HKCU\\" + uninstall + first
                            : line[0] == 'A' ? "HKLM\\" + std::string(kAppPathsKey) + "\\" + first
                                             : "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion";
    api.SetValue(key, name,
                 type == '1'   ? REG_SZ
                 : type == '2' ? REG_EXPAND_SZ
                 : type == '4' ? REG_DWORD
                               : static_cast<unsigned char>(type),
                 {data.begin(), data.end()});
  }
}
#endif

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
#if defined(PARLOUR_REGISTRY)
  testing::FakeWindows api;
  api.environment = {{"WINDIR", "C:\\WINDOWS"}, {"PROGRAMFILES", "C:\\Program Files"}};
  api.specialFolders = {{23, "C:\\All\\Programs"}, {2, "C:\\Player\\Programs"}};
  for (const char* folder : {"C:\\Games", "C:\\All\\Programs", "C:\\Player\\Programs",
                             "C:\\WINDOWS", "C:\\Program Files"})
    api.AddFolder(folder);
  Machine(api, {reinterpret_cast<const char*>(data), size});
  const Discovery found = DiscoverGames(api, "C:\\Games");
  Check(api.Live(testing::Kind::Key) == 0 && api.Live(testing::Kind::File) == 0 &&
        api.Live(testing::Kind::Find) == 0);
  std::set<std::string> programs;
  Library library;
  for (const FoundGame& game : found.games) {
    Check(!game.name.empty() && game.name == Clean(game.name) && !game.program.empty() &&
          programs.insert(Lower(game.program)).second);
    // A file's own name has no blanks at its ends (Windows takes them off); text from elsewhere
    // may.
    if (game.source >= Source::StartMenu)
      Check(IsProgramFile(game.program) && !IsPartOfWindows(game.program, "c:\\windows") &&
            game.program == Clean(game.program));
    Check(library.Import(game));
  }
  const Library read = ParseLibrary(LibraryText(library));
  Check(!read.damaged && read.games == library.games);
#elif defined(PARLOUR_LIBRARY)
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
