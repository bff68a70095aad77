#include "ludora/menu_captions.h"

namespace ludora {

namespace {

constexpr std::size_t kExtension = 4;

}  // namespace

CaptionRules::CaptionRules(WindowsApi& api) {
  for (unsigned byte = 0x80; byte < 0x100; ++byte) {
    lead_[byte] = api.IsDBCSLeadByte(static_cast<BYTE>(byte)) != 0;
  }
}

std::size_t CaptionRules::Next(std::string_view text, std::size_t at) const {
  // A lead byte at the very end stands alone.
  const bool pair = lead_[static_cast<unsigned char>(text[at])] && at + 1 < text.size();
  return at + (pair ? 2 : 1);
}

std::size_t CaptionRules::OffsetOf(std::string_view text, std::size_t n) const {
  std::size_t at = 0;
  for (; n > 0 && at < text.size(); --n) at = Next(text, at);
  return n == 0 ? at : std::string_view::npos;
}

std::size_t CaptionRules::Length(std::string_view text) const {
  std::size_t characters = 0;
  for (std::size_t at = 0; at < text.size(); at = Next(text, at)) ++characters;
  return characters;
}

std::optional<std::string> CaptionRules::FileCaption(std::string_view name) const {
  const std::size_t length = Length(name);
  if (length < kExtension) return std::nullopt;
  return std::string(name.substr(0, OffsetOf(name, length - kExtension)));
}

std::string CaptionRules::Shortened(std::string_view text, std::size_t longest) const {
  if (Length(text) <= longest) return std::string(text);
  return std::string(text.substr(0, OffsetOf(text, longest - 2))) + "...";
}

}  // namespace ludora
