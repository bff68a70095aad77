#include "chitter/input_line.h"

#include <algorithm>

#include "chitter/text.h"

namespace ludora::chitter {

void InputHistory::Add(std::u16string line) {
  if (!line.empty() && (lines_.empty() || lines_.back() != line)) lines_.push_back(std::move(line));
  if (lines_.size() > kKept) lines_.pop_front();
  at_ = lines_.size();
  draft_.clear();
}

std::optional<std::u16string> InputHistory::Up(const std::u16string& current) {
  if (at_ == 0) return std::nullopt;
  if (at_ == lines_.size()) draft_ = current;
  return lines_[--at_];
}

std::optional<std::u16string> InputHistory::Down() {
  if (at_ >= lines_.size()) return std::nullopt;
  return ++at_ == lines_.size() ? draft_ : lines_[at_];
}

std::optional<Completed> NickCompleter::Next(const std::u16string& text, std::size_t cursor,
                                             const std::vector<std::string>& names,
                                             const ServerFeatures& features) {
  if (matches_.empty()) {
    cursor = std::min(cursor, text.size());
    std::size_t start = cursor;
    while (start > 0 && text[start - 1] != u' ') --start;
    const std::u16string word = text.substr(start, cursor - start);
    if (word.empty()) return std::nullopt;
    // Case as the server folds it, for the ASCII part; the rest as it is.
    std::string ascii(0x80, '\0');
    for (std::size_t c = 1; c < ascii.size(); ++c) ascii[c] = static_cast<char>(c);
    const std::string folded = features.Fold(ascii);
    const auto same = [&](std::u16string_view a, std::u16string_view b) {
      return std::ranges::equal(a, b, [&](char16_t x, char16_t y) {
        const auto fold = [&](char16_t c) {
          return c < 0x80 ? static_cast<char16_t>(folded[c]) : c;
        };
        return fold(x) == fold(y);
      });
    };
    for (const std::string& name : names) {
      std::u16string wide = Utf8ToUtf16(name);
      if (wide.size() >= word.size() &&
          same(std::u16string_view(wide).substr(0, word.size()), word))
        matches_.push_back(std::move(wide));
    }
    if (matches_.empty()) return std::nullopt;
    before_ = text.substr(0, start);
    after_ = text.substr(cursor);
    atStart_ = start == 0;
    next_ = 0;
  }
  const std::u16string& match = matches_[next_++ % matches_.size()];
  const bool channel = !match.empty() && (match[0] == u'#' || match[0] == u'&');
  const bool blankAfter = !after_.empty() && after_.front() == u' ';
  const std::u16string inserted =
      match + (atStart_ && !channel ? u":" : u"") + (blankAfter ? u"" : u" ");
  return Completed{before_ + inserted + after_,
                   before_.size() + inserted.size() + (blankAfter ? 1 : 0)};
}

}  // namespace ludora::chitter
