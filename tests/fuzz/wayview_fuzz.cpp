// libFuzzer target for what wayview.exe reads from outside: text typed or
// pasted into the address box, and .url files. Any bytes must give a sound
// address or a refusal, and read in bounded memory in whatever pieces
// Windows hands the file over.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "fake/fake_windows.h"
#include "wayview/address.h"
#include "wayview/favorites.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace ludora::wayview;
  if (size == 0) return 0;
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::vector<std::string> history = {"http://www.example.com/maps/",
                                            "ftp://ftp.example.org/"};
  const Normalised typed = NormaliseAddress(text, history);
  if (typed.outcome == Normalised::Go) {
    const std::string scheme = SchemeOf(typed.address);
    Check(!typed.address.empty() && typed.address.size() <= kMaxAddress);
    Check(scheme == "http" || scheme == "https" || scheme == "ftp" || scheme == "file" ||
          scheme == "about");
    Check(std::none_of(typed.address.begin(), typed.address.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }));
    Check(NormaliseAddress(typed.address, {}).address == typed.address);  // as it was opened
  }
  Check(typed.outcome != Normalised::Refused || !typed.message.empty());
  if (const auto completed = CompleteAddress(text, history)) Check(completed->starts_with(text));

  ludora::testing::FakeWindows api;
  api.AddFile("C:\\f.url", text);
  api.readPiece = data[0] + 1u;
  const auto address = FavoriteAddress(api, "C:\\f.url");
  Check(api.bytesRead <= kMaxShortcutBytes && api.Live(ludora::testing::Kind::File) == 0);
  if (address) Check(address->find_first_of("\r\n") == std::string::npos);
  return 0;
}
