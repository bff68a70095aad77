#include "platform/web_address.h"

namespace ludora {

namespace {

void Escape(std::string& out, unsigned byte) {
  constexpr char kHex[] = "0123456789ABCDEF";
  out += '%';
  out += kHex[(byte >> 4) & 0xF];
  out += kHex[byte & 0xF];
}

bool IsHex(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

}  // namespace

std::optional<std::string> AsciiAddress(std::u16string_view address) {
  std::string ascii;
  ascii.reserve(address.size());
  for (std::size_t at = 0; at < address.size(); ++at) {
    char32_t c = address[at];
    if (c < 0x80) {
      ascii += static_cast<char>(c);
      continue;
    }
    if (c >= 0xD800 && c <= 0xDFFF) {
      if (c > 0xDBFF || at + 1 == address.size() || address[at + 1] < 0xDC00 ||
          address[at + 1] > 0xDFFF) {
        return std::nullopt;
      }
      c = 0x10000 + ((c - 0xD800) << 10) + (address[++at] - 0xDC00u);
    }
    if (c < 0x800) {
      Escape(ascii, 0xC0 | (c >> 6));
    } else if (c < 0x10000) {
      Escape(ascii, 0xE0 | (c >> 12));
      Escape(ascii, 0x80 | ((c >> 6) & 0x3F));
    } else {
      Escape(ascii, 0xF0 | (c >> 18));
      Escape(ascii, 0x80 | ((c >> 12) & 0x3F));
      Escape(ascii, 0x80 | ((c >> 6) & 0x3F));
    }
    Escape(ascii, 0x80 | (c & 0x3F));
  }
  return ascii;
}

std::string ShellAddress(std::string_view address) {
  std::string out;
  out.reserve(address.size());
  for (std::size_t at = 0; at < address.size(); ++at) {
    const auto c = static_cast<unsigned char>(address[at]);
    const bool escapes =
        c == '%' && at + 2 < address.size() && IsHex(address[at + 1]) && IsHex(address[at + 2]);
    if (c <= ' ' || c == '"' || c == '<' || c == '>' || c == 0x7F || (c == '%' && !escapes)) {
      Escape(out, c);
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

}  // namespace ludora
