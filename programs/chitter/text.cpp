#include "chitter/text.h"

#include <algorithm>
#include <array>

namespace ludora::chitter {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// The sequence at `at`: its code point and length, or nothing when malformed
// (then one byte is skipped).
struct Sequence {
  char32_t point = kReplacement;
  std::size_t length = 1;
  bool valid = false;
};

Sequence ReadSequence(std::string_view bytes, std::size_t at) {
  const auto lead = static_cast<unsigned char>(bytes[at]);
  if (lead < 0x80) return {lead, 1, true};
  std::size_t length = 0;
  char32_t point = 0, least = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, point = lead & 0x1Fu, least = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, point = lead & 0x0Fu, least = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, point = lead & 0x07u, least = 0x10000;
  } else {
    return {};
  }
  if (at + length > bytes.size()) return {};
  for (std::size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(bytes[at + i]);
    if ((next & 0xC0) != 0x80) return {};
    point = (point << 6) | (next & 0x3Fu);
  }
  if (point < least || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) return {};
  return {point, length, true};
}

void AppendUtf8(std::string& out, char32_t point) {
  if (point < 0x80) {
    out += static_cast<char>(point);
  } else if (point < 0x800) {
    out += static_cast<char>(0xC0 | (point >> 6));
    out += static_cast<char>(0x80 | (point & 0x3F));
  } else if (point < 0x10000) {
    out += static_cast<char>(0xE0 | (point >> 12));
    out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (point & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (point >> 18));
    out += static_cast<char>(0x80 | ((point >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (point & 0x3F));
  }
}

// Windows-1252's 0x80 to 0x9F; the five bytes it leaves undefined map to
// the C1 controls of the same number, as Windows maps them.
constexpr std::array<char16_t, 32> kWestern = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

bool IsUtf8(std::string_view bytes) {
  for (std::size_t at = 0; at < bytes.size();) {
    if (static_cast<unsigned char>(bytes[at]) < 0x80) {
      ++at;
      continue;
    }
    const Sequence sequence = ReadSequence(bytes, at);
    if (!sequence.valid) return false;
    at += sequence.length;
  }
  return true;
}

std::size_t CutSequenceAtEnd(std::string_view bytes) {
  for (std::size_t back = 1; back <= std::min<std::size_t>(3, bytes.size()); ++back) {
    const auto byte = static_cast<unsigned char>(bytes[bytes.size() - back]);
    if ((byte & 0xC0) == 0x80) continue;  // a continuation byte: look further back
    const std::size_t wanted = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
    return wanted > back ? back : 0;
  }
  return 0;
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  for (std::size_t at = 0; at < utf8.size();) {
    const Sequence sequence = ReadSequence(utf8, at);
    at += sequence.length;
    if (sequence.point >= 0x10000) {
      const char32_t above = sequence.point - 0x10000;
      out += static_cast<char16_t>(0xD800 + (above >> 10));
      out += static_cast<char16_t>(0xDC00 + (above & 0x3FF));
    } else {
      out += static_cast<char16_t>(sequence.point);
    }
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size());
  for (std::size_t at = 0; at < utf16.size(); ++at) {
    char32_t point = utf16[at];
    if (point >= 0xD800 && point <= 0xDBFF && at + 1 < utf16.size() && utf16[at + 1] >= 0xDC00 &&
        utf16[at + 1] <= 0xDFFF) {
      point = 0x10000 + ((point - 0xD800) << 10) + (utf16[++at] - 0xDC00);
    } else if (point >= 0xD800 && point <= 0xDFFF) {
      point = kReplacement;
    }
    AppendUtf8(out, point);
  }
  return out;
}

std::u16string WesternCodePage::ToUtf16(std::string_view ansi) const {
  std::u16string out(ansi.size(), u'\0');
  std::ranges::transform(ansi, out.begin(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 0x80 && byte < 0xA0 ? kWestern[byte - 0x80] : static_cast<char16_t>(byte);
  });
  return out;
}

std::string WesternCodePage::FromUtf16(std::u16string_view text) const {
  std::string out;
  for (const char16_t unit : text) {
    const auto found = std::ranges::find(kWestern, unit);
    if (found != kWestern.end()) {
      out += static_cast<char>(0x80 + (found - kWestern.begin()));
    } else {
      out += unit < 0x80 || (unit >= 0xA0 && unit < 0x100) ? static_cast<char>(unit) : '?';
    }
  }
  return out;
}

std::string Decode(std::string_view bytes, const CodePage& ansi) {
  return IsUtf8(bytes) ? std::string(bytes) : Utf16ToUtf8(ansi.ToUtf16(bytes));
}

std::string Encode(std::string_view utf8, const CodePage& ansi, bool inAnsi) {
  return inAnsi ? ansi.FromUtf16(Utf8ToUtf16(utf8)) : std::string(utf8);
}

}  // namespace ludora::chitter
