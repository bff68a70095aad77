// libFuzzer target for what wayview.exe reads from outside: text typed or
// pasted into the address box, .url files, the typed list any program may
// write (TypedURLs), and the page titles favourites are named after. Any
// bytes must give a sound address or a refusal, read in bounded memory in
// whatever pieces Windows hands a file over, and a favourite that is one
// file of the Favorites folder, named after the title as far as a file name
// may hold it.
//
// The input: a byte of settings (the piece Windows reads a file in; a
// double-byte code page or not), then pieces separated by 0x01: the text
// typed, the page's title, and the values url1, url2 ... of TypedURLs, each
// a byte of its type then its data. The .url file holds all of it after the
// first byte.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "fake/fake_windows.h"
#include "fake/wayview_view.h"
#include "platform/win_constants.h"
#include "wayview/address.h"
#include "wayview/favorites.h"
#include "wayview/frame.h"
#include "wayview/typed_urls.h"

namespace {

using namespace ludora::wayview;
using ludora::BYTE;
using ludora::DWORD;
using ludora::testing::FakeWindows;

const std::string kFavorites = "C:\\Favorites";

void Check(bool condition) {
  if (!condition) std::abort();
}

bool Sound(const std::string& address) {
  const std::string scheme = SchemeOf(address);
  return !address.empty() && address.size() <= kMaxAddress &&
         (scheme == "http" || scheme == "https" || scheme == "ftp" || scheme == "file" ||
          scheme == "about") &&
         std::none_of(address.begin(), address.end(),
                      [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }) &&
         NormaliseAddress(address, {}).address == address;  // as it was opened
}

std::vector<std::string> Pieces(std::string_view text) {
  std::vector<std::string> pieces;
  for (std::size_t at = 0;; ++at) {
    const std::size_t end = std::min(text.find('\x01', at), text.size());
    pieces.emplace_back(text.substr(at, end - at));
    if (end == text.size()) return pieces;
    at = end;
  }
}

// The characters of `text`, a double-byte one as one: a lead byte and the
// byte after it, when that byte is 0x40 or more (no code page's second byte
// is less); else the lead byte alone.
std::vector<std::string> Characters(FakeWindows& api, const std::string& text) {
  std::vector<std::string> characters;
  for (std::size_t at = 0; at < text.size();) {
    const bool pair = api.IsDBCSLeadByte(static_cast<BYTE>(text[at])) && at + 1 < text.size() &&
                      static_cast<unsigned char>(text[at + 1]) >= 0x40;
    characters.push_back(text.substr(at, pair ? 2 : 1));
    at += pair ? 2 : 1;
  }
  return characters;
}

bool NameCharacter(FakeWindows& api, const std::string& c) {
  const auto byte = static_cast<unsigned char>(c[0]);
  return c.size() == 2 || (byte >= 0x20 && !api.IsDBCSLeadByte(byte) &&
                           std::string_view("\\/:*?\"<>|").find(c[0]) == std::string_view::npos);
}

// A favourite's name: one file name of the folder, whatever the title held.
void CheckName(FakeWindows& api, const std::string& name, const std::string& title) {
  Check(!name.empty() && name.size() <= 80 + 5);
  Check(name.back() != ' ' && name.back() != '.' && name.front() != ' ');
  const auto characters = Characters(api, name);
  // No lone lead byte at the end, which would take the '.' of ".url".
  Check(characters.back().size() == 2 || !api.IsDBCSLeadByte(static_cast<BYTE>(name.back())));
  for (const std::string& c : characters) {
    Check(c.size() == 2 || api.IsDBCSLeadByte(static_cast<BYTE>(c[0])) || NameCharacter(api, c));
  }
  // A title a file name holds as it is, short and without blanks or dots
  // at its ends, names the favourite as it is: every character kept whole.
  const auto titled = Characters(api, title);
  const bool fits = !title.empty() && title.size() <= 80 && title.front() != ' ' &&
                    title.back() != ' ' && title.back() != '.' &&
                    std::all_of(titled.begin(), titled.end(),
                                [&](const std::string& c) { return NameCharacter(api, c); });
  if (fits) Check(name == title || name == "Page " + title);
}

// What the frame makes of a typed text, a title and a typed list.
void Browse(const std::vector<std::string>& pieces, bool doubleByte) {
  FakeWindows api;
  if (doubleByte) {
    for (int lead = 0x81; lead <= 0xFC; ++lead)
      if (lead <= 0x9F || lead >= 0xE0) api.leadBytes.insert(static_cast<BYTE>(lead));
  }
  api.specialFolders[6] = kFavorites;
  api.specialFolders[26] = "C:\\Application Data";
  api.AddFolder(kFavorites);
  const std::string key = std::string("HKCU\\") + kTypedUrlsKey;
  for (std::size_t at = 2; at < pieces.size() && at < 2 + 30; ++at) {
    if (pieces[at].empty()) continue;
    const DWORD types[] = {ludora::REG_SZ, ludora::REG_EXPAND_SZ, ludora::REG_BINARY,
                           ludora::REG_DWORD};
    api.SetValue(key, "url" + std::to_string(at - 1), types[pieces[at][0] & 3],
                 std::vector<BYTE>(pieces[at].begin() + 1, pieces[at].end()));
  }
  const auto typed = ReadTypedUrls(api);
  Check(typed.size() <= kMaxTypedUrls);
  for (const std::string& url : typed) {
    Check(!url.empty() && url.size() <= kMaxAddress &&
          std::count(typed.begin(), typed.end(), url) == 1);
  }

  Program program(api);
  FakeFrameView view;
  Frame frame(program, view);
  frame.Start("");
  frame.AddressEntered(pieces[0]);
  for (const std::string& action : view.actions) {
    if (action.starts_with("navigate ")) Check(Sound(action.substr(9)));
  }
  const std::string& opened = view.actions.back();
  if (opened.starts_with("navigate ") && view.actions.size() > 1) {
    const auto after = ReadTypedUrls(api);
    Check(!after.empty() && after.size() <= kMaxTypedUrls && after.front() == opened.substr(9));
  }

  frame.BeforeNavigate("http://example.com/page", true);
  const std::string title = pieces.size() > 1 ? pieces[1] : "";
  frame.TitleChange(title);
  // The caption cuts a long title, never inside a character.
  const auto whole = [&](const std::string& text) {
    const auto characters = Characters(api, text);
    return std::none_of(characters.begin(), characters.end(), [&](const std::string& c) {
      return c.size() == 1 && api.IsDBCSLeadByte(static_cast<BYTE>(c[0]));
    });
  };
  if (whole(title)) Check(whole(view.caption));
  frame.Run(Command::AddFavorite);
  std::vector<std::string> written;
  for (const auto& file : api.files) {
    if (file.path.size() > kFavorites.size() && file.path.starts_with(kFavorites + "\\"))
      written.push_back(file.path.substr(kFavorites.size() + 1));
  }
  Check(written.size() == 1 && written[0].ends_with(".url"));
  const std::string name = written[0].substr(0, written[0].size() - 4);
  Check(view.status == "Added to Favorites: " + name);
  CheckName(api, name, title.substr(0, 200));
  Check(FavoriteAddress(api, kFavorites + "\\" + written[0]) == "http://example.com/page");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::vector<std::string> history = {"http://www.example.com/maps/",
                                            "ftp://ftp.example.org/", "javascript:alert(1)"};
  const Normalised typed = NormaliseAddress(text, history);
  if (typed.outcome == Normalised::Go) Check(Sound(typed.address));
  Check(typed.outcome != Normalised::Refused || !typed.message.empty());
  if (const auto completed = CompleteAddress(text, history)) {
    Check(completed->starts_with(text));
    Check(NormaliseAddress(*completed, {}).outcome == Normalised::Go);
  }

  FakeWindows api;
  api.AddFile("C:\\f.url", text);
  api.readPiece = (data[0] & 0x7F) + 1u;
  const auto address = FavoriteAddress(api, "C:\\f.url");
  Check(api.bytesRead <= kMaxShortcutBytes && api.Live(ludora::testing::Kind::File) == 0);
  if (address) Check(address->find_first_of("\r\n") == std::string::npos);

  Browse(Pieces(text), data[0] & 0x80);
  return 0;
}
