#include "lobbyfind/a2s_split.h"

#include <algorithm>
#include <array>
#include <optional>

namespace ludora::lobbyfind {

namespace {

constexpr std::string_view kSplit("\xFE\xFF\xFF\xFF", 4);
constexpr std::string_view kWhole("\xFF\xFF\xFF\xFF", 4);

// Where a layout's payload starts: Source, Source without the size, GoldSrc.
enum class Layout { Source = 12, OldSource = 10, GoldSrc = 9 };

struct Piece {
  unsigned number, total;
  std::string_view payload;
};

std::uint32_t Id(std::string_view piece) {
  std::uint32_t id = 0;
  for (int i = 0; i < 4; ++i)
    id |= static_cast<std::uint32_t>(static_cast<unsigned char>(piece[4 + i])) << (8 * i);
  return id;
}

// The layout, when `piece` is number 0 in one of them.
std::optional<Layout> LayoutOfFirst(std::string_view piece) {
  for (const Layout layout : {Layout::Source, Layout::OldSource, Layout::GoldSrc}) {
    const auto at = static_cast<std::size_t>(layout);
    const bool first = layout == Layout::GoldSrc ? (static_cast<unsigned char>(piece[8]) >> 4) == 0
                                                 : piece[9] == 0;
    if (first && piece.size() >= at && piece.substr(at).starts_with(kWhole)) return layout;
  }
  return std::nullopt;
}

// Nothing for a piece too short for its layout's header.
std::optional<Piece> Read(std::string_view piece, Layout layout) {
  const auto byte = [&](std::size_t at) {
    return static_cast<unsigned>(static_cast<unsigned char>(piece[at]));
  };
  const auto at = static_cast<std::size_t>(layout);
  if (piece.size() < at) return std::nullopt;
  if (layout == Layout::GoldSrc) return Piece{byte(8) >> 4, byte(8) & 0x0Fu, piece.substr(at)};
  return Piece{byte(9), byte(8), piece.substr(at)};
}

}  // namespace

bool IsPiece(std::string_view datagram) {
  return datagram.starts_with(kSplit);
}

void A2sPieces::Clear() {
  std::vector<std::string>().swap(held_);
  bytes_ = 0;
  whole_.clear();
}

A2sPieces::Step A2sPieces::Drop(Step step) {
  Clear();
  return step;
}

A2sPieces::Step A2sPieces::Add(std::string_view piece) {
  if (!IsPiece(piece) || piece.size() < 10) return held_.empty() ? Drop(Step::Bad) : Step::Ignored;
  const std::uint32_t id = Id(piece);
  if (held_.empty()) {
    whole_.clear();
    id_ = id;
  } else if (id != id_) {
    return Step::Ignored;  // a late piece of an earlier answer, or another's
  }
  if (id & 0x80000000u) return Drop(Step::Compressed);
  if (std::find(held_.begin(), held_.end(), piece) != held_.end()) return Step::Waiting;
  bytes_ += piece.size();
  if (held_.size() >= kMaxPieces || bytes_ > kMaxJoined + kMaxPieces * 12) return Drop(Step::Bad);
  held_.emplace_back(piece);

  std::optional<Layout> layout;
  for (const std::string& held : held_) {
    if (!layout) layout = LayoutOfFirst(held);
  }
  if (!layout) return Step::Waiting;
  // Each number once, in its place; every piece of one total, of at most
  // kMaxPieces. A second piece of one number is a copy, and not read.
  std::array<std::string_view, kMaxPieces> pieces{};
  std::array<bool, kMaxPieces> have{};
  unsigned total = 0, count = 0;
  for (const std::string& held : held_) {
    const auto one = Read(held, *layout);
    if (!one || (total && one->total != total) || one->total == 0 || one->total > kMaxPieces ||
        one->number >= one->total) {
      return Drop(Step::Bad);
    }
    total = one->total;
    if (!have[one->number]) ++count, have[one->number] = true, pieces[one->number] = one->payload;
  }
  if (count < total) return Step::Waiting;
  std::string whole;
  for (unsigned at = 0; at < total; ++at) whole += pieces[at];
  if (!whole.starts_with(kWhole) || whole.size() > kMaxJoined) return Drop(Step::Bad);
  Clear();
  whole_ = std::move(whole);
  return Step::Whole;
}

}  // namespace ludora::lobbyfind
