// A line as the message view shows it: the time in grey, the speaker in a
// colour of their own, the text in its mIRC formatting (or without it), web
// addresses as links; and the rows it takes at a width, broken after a
// blank where one is near, rows after the first indented past the time.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "chitter/conversation.h"
#include "chitter/formatting.h"

namespace ludora::chitter {

inline constexpr std::int32_t kTextColour = 0x000000, kPageColour = 0xFFFFFF,
                              kLinkColour = 0x0000C0, kMentionBackground = 0xFFF0A0;

struct ShownRun {
  Style style;
  std::u16string text;
  bool link = false;  // the text is a web address
};

// "[hh:mm] ", the speaker, the text.
std::vector<ShownRun> ShownRuns(const Line& line, bool colours);
// The topic line: its text in its mIRC formatting, or without it; never its codes.
std::vector<ShownRun> TopicRuns(std::string_view text, bool colours);

// The colours a run is drawn in: its text's, and its background's
// (kDefaultColour: the page shows through).
struct Ink {
  std::int32_t text, paper;
};
Ink InkOf(const ShownRun& run);

// What the shell opens for a link's text: "www." made "http://www.", the
// rest as platform/web_address.h hands an address to the shell, so that the
// browser gets the link as one argument; nothing when it is not text.
std::optional<std::string> LinkAddress(std::u16string_view link);

// A piece of a run on a row, at `x` pixels from the row's start.
struct Piece {
  std::size_t run, from, to;
  int x;
};
using Row = std::vector<Piece>;

// How many characters of `text` in the run's style fit in `room` pixels,
// and how wide they are.
struct Fit {
  std::size_t count;
  int width;
};

// The rows of a line `width` pixels wide, each after the first starting at
// `indent`; `fit(run, text, room)` measures. Greedy: a run's text goes on
// the row while it fits; where it does not, the row ends after the last
// blank that fits, or else the word starts the next row, or, a word longer
// than a row, is cut where the room ends. Every row holds a character at
// least, and none starts with a blank.
template <typename Measure>
std::vector<Row> WrapRuns(const std::vector<ShownRun>& runs, int width, int indent, Measure&& fit) {
  std::vector<Row> rows(1);
  int x = 0;
  for (std::size_t run = 0; run < runs.size(); ++run) {
    const std::u16string& text = runs[run].text;
    std::size_t at = 0;
    while (at < text.size()) {
      const std::u16string_view rest = std::u16string_view(text).substr(at);
      const Fit fits = fit(runs[run], rest, width > x ? width - x : 0);
      if (fits.count >= rest.size()) {
        rows.back().push_back({run, at, text.size(), x});
        x += fits.width;
        break;
      }
      std::size_t take = fits.count;
      // A blank right after what fits ends the row as well as one within it.
      const auto blank = rest.substr(0, std::min(take + 1, rest.size())).rfind(u' ');
      if (blank != std::u16string_view::npos) {
        take = blank + 1;
      } else if (!rows.back().empty()) {
        take = 0;
      } else if (take == 0) {
        take = 1;
      }
      if (take > 0) rows.back().push_back({run, at, at + take, x});
      at += take;
      rows.emplace_back();
      x = indent;
      while (at < text.size() && text[at] == u' ') ++at;
    }
  }
  if (rows.back().empty() && rows.size() > 1) rows.pop_back();
  return rows;
}

}  // namespace ludora::chitter
