#include "traydock/notify_request.h"

#include <algorithm>
#include <cstring>

namespace ludora::traydock {

namespace {

// The sizes of NOTIFYICONDATA, with 32-bit handles, from shell32 4.x to
// Vista's SDK. The NT family's shell32 hands the tray window the wide
// structure of its own version whatever the program passed it; Windows 95
// to Me's hand on an ANSI one.
struct Layout {
  DWORD size;
  bool wide;
  DWORD tipChars;  // 128: dwState, dwStateMask and the balloon follow the tip
};
constexpr Layout kLayouts[] = {
    // size  wide   tip    the structure
    {88, false, 64},    // shell32 4.x, ANSI (NOTIFYICONDATAA_V1_SIZE): Windows 95, 98
    {152, true, 64},    // shell32 4.x, wide: NT 4
    {488, false, 128},  // shell32 5.0, ANSI (V2): Windows Me
    {936, true, 128},   // shell32 5.0, wide: Windows 2000
    {504, false, 128},  // shell32 6.0, ANSI, guidItem added (V3)
    {952, true, 128},   // shell32 6.0, wide: Windows XP
    {508, false, 128},  // hBalloonIcon added: Vista's SDK
    {956, true, 128},
};

// The fields of a NOTIFYICONDATA, in bytes from its start.
constexpr std::size_t kOwner = 4, kId = 8, kFlags = 12, kCallback = 16, kIcon = 20, kTip = 24;
// A record of shell32 before 5.0 holds these fields only: the others stay unset.
constexpr UINT kFirstFlags = kSetsMessage | kSetsIcon | kSetsTip;

// Wine's record: the fields its notify_data holds, in bytes from its start.
constexpr std::size_t kWineOwner = 0, kWineId = 4, kWineFlags = 8, kWineCallback = 12,
                      kWineTip = 16, kWineState = 272, kWinePicture = 944;

DWORD Dword(std::span<const BYTE> data, std::size_t offset) {
  DWORD value = 0;
  std::memcpy(&value, data.data() + offset, sizeof value);
  return value;
}

// A window or icon handle of a record: 32 bits, widened as Windows widens them.
std::uintptr_t Handle(std::span<const BYTE> data, std::size_t offset) {
  return static_cast<std::uintptr_t>(
      static_cast<std::intptr_t>(static_cast<LONG>(Dword(data, offset))));
}

// The text of a field up to its terminator, at most one character short
// of the field: the last place is the terminator's.
Text ReadText(std::span<const BYTE> field, bool wide) {
  Text text{wide, {}, {}};
  const std::size_t unit = wide ? 2 : 1;
  for (std::size_t at = 0; at + 2 * unit <= field.size(); at += unit) {
    const unsigned c = wide ? field[at] | unsigned{field[at + 1]} << 8 : field[at];
    if (c == 0) break;
    if (wide) {
      text.utf16 += static_cast<char16_t>(c);
    } else {
      text.ansi += static_cast<char>(c);
    }
  }
  return text;
}

// What follows dwState and dwStateMask at `state` in both records: szInfo
// (256 characters), uTimeout or uVersion, szInfoTitle (64), dwInfoFlags.
void ReadBalloon(Request& request, std::span<const BYTE> record, std::size_t state, bool wide) {
  const std::size_t unit = wide ? 2 : 1, text = state + 8, timeout = text + 256 * unit;
  const std::size_t title = timeout + 4, flags = title + 64 * unit;
  request.state = Dword(record, state);
  request.stateMask = Dword(record, state + 4);
  request.balloonText = ReadText(record.subspan(text, 256 * unit), wide);
  request.version = request.timeout = Dword(record, timeout);
  request.balloonTitle = ReadText(record.subspan(title, 64 * unit), wide);
  request.balloonFlags = Dword(record, flags);
}

std::optional<Request> FromWindows(DWORD message, std::span<const BYTE> record) {
  if (message > DWORD(Command::SetVersion) || record.size() < sizeof(DWORD)) return std::nullopt;
  const DWORD size = Dword(record, 0);
  const auto* layout = std::find_if(std::begin(kLayouts), std::end(kLayouts),
                                    [&](const Layout& l) { return l.size == size; });
  if (layout == std::end(kLayouts) || record.size() < size) return std::nullopt;
  const std::size_t unit = layout->wide ? 2 : 1;
  Request request;
  request.command = Command(message);
  request.owner = Handle(record, kOwner);
  request.id = Dword(record, kId);
  request.flags = Dword(record, kFlags);
  request.callbackMessage = Dword(record, kCallback);
  request.icon = Handle(record, kIcon);
  request.tip = ReadText(record.subspan(kTip, layout->tipChars * unit), layout->wide);
  if (layout->tipChars == 128) {
    ReadBalloon(request, record, kTip + 128 * unit, layout->wide);
  } else {
    request.flags &= kFirstFlags;
  }
  return request;
}

// The picture of Wine's record: its size and format, then the AND mask and
// the colour bits. Wine sends each as a whole number of 16-bit words;
// CreateIcon reads each row as one, so a picture whose rows are not gets
// rows of its own size, filled from what was sent.
std::optional<IconBits> WinePicture(std::span<const BYTE> data) {
  const DWORD width = Dword(data, kWinePicture), height = Dword(data, kWinePicture + 4);
  const DWORD planes = Dword(data, kWinePicture + 8), bits = Dword(data, kWinePicture + 12);
  constexpr DWORD kFormats[] = {1, 4, 8, 16, 24, 32};
  if (width < 1 || width > 256 || height < 1 || height > 256 || planes != 1 ||
      std::find(std::begin(kFormats), std::end(kFormats), bits) == std::end(kFormats)) {
    return std::nullopt;
  }
  const auto sent = [&](DWORD depth) -> std::size_t {
    return (width * height * depth + 15) / 16 * 2;
  };
  const auto rows = [&](DWORD depth) -> std::size_t {
    return (width * depth + 15) / 16 * 2 * height;
  };
  if (data.size() < kWineRecordSize + sent(1) + sent(bits)) return std::nullopt;
  IconBits picture{int(width), int(height), BYTE(planes), BYTE(bits), {}, {}};
  picture.mask.resize(rows(1));
  picture.colour.resize(rows(bits));
  const BYTE* mask = data.data() + kWineRecordSize;
  const BYTE* colour = mask + sent(1);
  std::copy_n(mask, std::min(sent(1), picture.mask.size()), picture.mask.begin());
  std::copy_n(colour, std::min(sent(bits), picture.colour.size()), picture.colour.begin());
  return picture;
}

std::optional<Request> FromWine(std::uintptr_t message, std::span<const BYTE> data) {
  if (data.size() < kWineRecordSize) return std::nullopt;
  Request request;
  request.command = Command(message);
  request.owner = Handle(data, kWineOwner);
  request.id = Dword(data, kWineId);
  request.flags = Dword(data, kWineFlags);
  request.callbackMessage = Dword(data, kWineCallback);
  request.tip = ReadText(data.subspan(kWineTip, 256), true);
  ReadBalloon(request, data, kWineState, true);
  // Wine sends no picture for an icon handle of none.
  const bool none = Dword(data, kWinePicture) == 0 && Dword(data, kWinePicture + 4) == 0;
  if ((request.flags & kSetsIcon) && !none) {
    request.bits = WinePicture(data);
    if (!request.bits) return std::nullopt;
  }
  return request;
}

}  // namespace

std::optional<Request> DecodeRequest(std::uintptr_t kind, std::span<const BYTE> data) {
  if (kind == kWindowsRecord && data.size() >= 8 && Dword(data, 0) == kWindowsSignature) {
    return FromWindows(Dword(data, 4), data.subspan(8));
  }
  if (kind <= std::uintptr_t(Command::SetVersion)) return FromWine(kind, data);
  return std::nullopt;
}

}  // namespace ludora::traydock
