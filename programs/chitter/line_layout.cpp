#include "chitter/line_layout.h"

#include <cstdio>
#include <utility>

#include "chitter/log_book.h"
#include "chitter/text.h"
#include "platform/web_address.h"

namespace ludora::chitter {

namespace {

constexpr std::int32_t kStampColour = 0x808080, kEventColour = 0x009300, kErrorColour = 0xC00000,
                       kInfoColour = 0x505080, kNoticeColour = 0x7F3F00, kActionColour = 0x9C009C,
                       kOwnColour = 0x00007F;
// Speakers' colours, dark enough on white.
constexpr std::int32_t kNickColours[] = {0x9C2A00, 0x00609C, 0x2A7F00, 0x7F007F,
                                         0xB05000, 0x007F7F, 0x5A2AA0, 0xA0005A,
                                         0x3F6F00, 0x00409C, 0x8C6C00, 0x606060};

std::int32_t NickColour(const std::string& nick) {
  std::uint32_t hash = 2166136261u;
  for (const char c : nick) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
  return kNickColours[hash % std::size(kNickColours)];
}

std::int32_t KindColour(LineKind kind) {
  switch (kind) {
    case LineKind::Event:
      return kEventColour;
    case LineKind::Error:
      return kErrorColour;
    case LineKind::Info:
      return kInfoColour;
    case LineKind::Notice:
      return kNoticeColour;
    case LineKind::Action:
      return kActionColour;
    default:
      return kDefaultColour;
  }
}

// What ends a link: blanks, quotes and angle brackets, and their
// full-width and no-break forms, which read as the same.
constexpr std::u16string_view kLinkEnds =
    u" <>\"\u00A0\u1680\u2000\u2001\u2002\u2003\u2004\u2005\u2006\u2007\u2008\u2009\u200A"
    u"\u202F\u205F\u3000\uFF02\uFF1C\uFF1E";

// Where a web address starts in `text` at `from` or after, or npos.
std::size_t LinkStart(std::u16string_view text, std::size_t from) {
  std::size_t best = std::u16string_view::npos;
  for (const std::u16string_view start : {u"http://", u"https://", u"www."}) {
    for (auto at = text.find(start, from); at != std::u16string_view::npos;
         at = text.find(start, at + 1)) {
      if (at == 0 || kLinkEnds.find(text[at - 1]) != std::u16string_view::npos ||
          text[at - 1] == u'(') {
        best = std::min(best, at);
        break;
      }
    }
  }
  return best;
}

// A run's text into runs of plain text and web addresses.
void AddWithLinks(std::vector<ShownRun>& runs, const Style& style, std::u16string text) {
  std::size_t at = 0;
  for (auto start = LinkStart(text, 0); start != std::u16string::npos;
       start = LinkStart(text, at)) {
    auto end = std::min(text.find_first_of(kLinkEnds, start), text.size());
    while (end > start &&
           std::u16string_view(u".,;:!?)'").find(text[end - 1]) != std::u16string_view::npos)
      --end;
    if (start > at) runs.push_back({style, text.substr(at, start - at), false});
    runs.push_back({style, text.substr(start, end - start), true});
    at = end;
  }
  if (at < text.size()) runs.push_back({style, text.substr(at), false});
}

}  // namespace

std::vector<ShownRun> ShownRuns(const Line& line, bool colours) {
  char stamp[16];
  std::snprintf(stamp, sizeof stamp, "[%02u:%02u] ", line.hour % 100u, line.minute % 100u);
  std::vector<ShownRun> runs = {{{.foreground = kStampColour}, Utf8ToUtf16(stamp)}};
  Style speaker{.foreground = line.own                        ? kOwnColour
                              : line.kind <= LineKind::Action ? NickColour(line.nick)
                                                              : KindColour(line.kind)};
  speaker.bold = line.own || line.mention;
  runs.push_back({speaker, Utf8ToUtf16(StripCodes(Speaker(line)) + " ")});
  const Style text{.foreground = KindColour(line.kind), .bold = line.mention};
  for (const Run& run :
       StyledRuns(colours ? std::string_view(line.text) : StripCodes(line.text), text))
    AddWithLinks(runs, run.style, Utf8ToUtf16(run.text));
  return runs;
}

std::optional<std::string> LinkAddress(std::u16string_view link) {
  const auto ascii = AsciiAddress(link);
  if (!ascii) return std::nullopt;
  std::string address = ShellAddress(*ascii);
  if (address.starts_with("www.")) address.insert(0, "http://");
  return address;
}

std::vector<ShownRun> TopicRuns(std::string_view text, bool colours) {
  std::vector<ShownRun> runs;
  for (const Run& run : StyledRuns(colours ? std::string(text) : StripCodes(text)))
    AddWithLinks(runs, run.style, Utf8ToUtf16(run.text));
  return runs;
}

Ink InkOf(const ShownRun& run) {
  Ink ink{run.link                                 ? kLinkColour
          : run.style.foreground == kDefaultColour ? kTextColour
                                                   : run.style.foreground,
          run.style.background};
  if (run.style.reverse) {
    if (ink.paper == kDefaultColour) ink.paper = kPageColour;
    std::swap(ink.text, ink.paper);
  }
  return ink;
}

}  // namespace ludora::chitter
