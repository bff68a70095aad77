#include "chitter/rich_text.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "chitter/log_book.h"

namespace ludora::chitter {

namespace {

constexpr std::int32_t kStampColour = 0x808080, kEventColour = 0x009300, kErrorColour = 0xC00000,
                       kInfoColour = 0x505080, kNoticeColour = 0x7F3F00, kActionColour = 0x9C009C,
                       kOwnColour = 0x00007F, kMentionBackground = 0xFFF0A0,
                       kTextColour = 0x000000, kPageColour = 0xFFFFFF;
// Speakers' colours, dark enough on white.
constexpr std::int32_t kNickColours[] = {0x9C2A00, 0x00609C, 0x2A7F00, 0x7F007F, 0xB05000,
                                         0x007F7F, 0x5A2AA0, 0xA0005A, 0x3F6F00, 0x00409C,
                                         0x8C6C00, 0x606060};

std::int32_t NickColour(const std::string& nick) {
  std::uint32_t hash = 2166136261u;
  for (const char c : nick) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
  return kNickColours[hash % std::size(kNickColours)];
}

std::int32_t KindColour(LineKind kind) {
  switch (kind) {
    case LineKind::Event: return kEventColour;
    case LineKind::Error: return kErrorColour;
    case LineKind::Info: return kInfoColour;
    case LineKind::Notice: return kNoticeColour;
    case LineKind::Action: return kActionColour;
    default: return kDefaultColour;
  }
}

// The font's character set for the ANSI code page, as RTF's \fcharset names it.
int CharsetOf(unsigned codePage) {
  static constexpr std::pair<unsigned, int> kCharsets[] = {
      {1250, 238}, {1251, 204}, {1253, 161}, {1254, 162}, {1255, 177}, {1256, 178},
      {1257, 186}, {874, 222},  {932, 128},  {936, 134},  {949, 129},  {950, 136}};
  const auto found = std::ranges::find(kCharsets, codePage, &std::pair<unsigned, int>::first);
  return found == std::end(kCharsets) ? 0 : found->second;
}

class RtfWriter {
 public:
  RtfWriter(bool unicode, const CodePage& ansi) : unicode_(unicode), ansi_(ansi) {}

  // A run; its length in the control's characters.
  std::size_t Run(const chitter::Run& run, std::int32_t background) {
    std::int32_t foreground = run.style.foreground == kDefaultColour ? kTextColour : run.style.foreground;
    std::int32_t paper = run.style.background == kDefaultColour ? background : run.style.background;
    if (run.style.reverse) std::swap(foreground, paper);
    // \plain: nothing of the text before the stream (the end of the last
    // line, say underlined) carries over.
    body_ += "{\\plain\\f0\\fs18\\cf" + std::to_string(ColourIndex(foreground));
    if (paper != kPageColour) body_ += "\\highlight" + std::to_string(ColourIndex(paper));
    if (run.style.bold) body_ += "\\b";
    if (run.style.italic) body_ += "\\i";
    if (run.style.underline) body_ += "\\ul";
    if (run.style.strike) body_ += "\\strike";
    body_ += ' ';
    std::u16string text = Utf8ToUtf16(run.text);
    if (!unicode_) text = ansi_.ToUtf16(ansi_.FromUtf16(text));  // as the control will hold it
    if (unicode_) {
      for (const char16_t unit : text) Unicode(unit);
    } else {
      for (const char byte : ansi_.FromUtf16(text)) Byte(byte);
    }
    body_ += '}';
    return text.size();
  }
  void Paragraph() { body_ += "\\par\n"; }

  std::string Text() const {
    std::string colours;
    for (const std::int32_t colour : colours_) {
      char entry[48];
      std::snprintf(entry, sizeof entry, "\\red%d\\green%d\\blue%d;", (colour >> 16) & 0xFF,
                    (colour >> 8) & 0xFF, colour & 0xFF);
      colours += entry;
    }
    return "{\\rtf1\\ansi\\ansicpg" + std::to_string(ansi_.Number()) +
           "\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset" + std::to_string(CharsetOf(ansi_.Number())) +
           " Tahoma;}}{\\colortbl;" + colours + "}\\uc1\\pard\\f0\\fs18 " + body_ + "}";
  }

 private:
  std::size_t ColourIndex(std::int32_t colour) {
    const auto found = std::ranges::find(colours_, colour);
    if (found != colours_.end()) return static_cast<std::size_t>(found - colours_.begin()) + 1;
    colours_.push_back(colour);
    return colours_.size();
  }
  void Unicode(char16_t unit) {
    if (unit < 0x80) return Byte(static_cast<char>(unit));
    body_ += "\\u" + std::to_string(static_cast<std::int16_t>(unit)) + '?';
  }
  void Byte(char byte) {
    const auto value = static_cast<unsigned char>(byte);
    if (byte == '\\' || byte == '{' || byte == '}') {
      body_ += '\\';
      body_ += byte;
    } else if (value >= 0x80 || value < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\'%02x", value);
      body_ += escape;
    } else {
      body_ += byte;
    }
  }

  bool unicode_;
  const CodePage& ansi_;
  std::string body_;
  std::vector<std::int32_t> colours_;
};

}  // namespace

std::vector<Run> ShownRuns(const Line& line, bool colours) {
  char stamp[16];
  std::snprintf(stamp, sizeof stamp, "[%02u:%02u] ", line.hour % 100u, line.minute % 100u);
  std::vector<Run> runs = {{{.foreground = kStampColour}, stamp}};
  Style speaker{.foreground = line.own ? kOwnColour : line.kind <= LineKind::Action
                                                          ? NickColour(line.nick)
                                                          : KindColour(line.kind)};
  speaker.bold = line.own || line.mention;
  runs.push_back({speaker, StripCodes(Speaker(line)) + " "});
  const Style text{.foreground = KindColour(line.kind), .bold = line.mention};
  for (Run& run : colours ? StyledRuns(line.text, text) : StyledRuns(StripCodes(line.text), text))
    runs.push_back(std::move(run));
  return runs;
}

RichBatch RichText(const std::vector<const Line*>& lines, bool afterText, bool colours,
                   bool unicode, const CodePage& ansi) {
  RtfWriter writer(unicode, ansi);
  RichBatch batch;
  for (const Line* line : lines) {
    if (afterText || !batch.lengths.empty()) writer.Paragraph();
    const std::int32_t background = line->mention ? kMentionBackground : kPageColour;
    std::size_t length = 1;  // the paragraph mark
    for (const Run& run : ShownRuns(*line, colours)) length += writer.Run(run, background);
    batch.lengths.push_back(length);
  }
  batch.rtf = writer.Text();
  return batch;
}

}  // namespace ludora::chitter
