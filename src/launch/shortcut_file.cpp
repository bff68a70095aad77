#include "launch/shortcut_file.h"

namespace ludora {

bool FieldReader::AtSeparator() const {
  const char c = text_[pos_];
  return c == ',' || c == '\r' || c == '\n';
}

void FieldReader::SkipSeparator() {
  if (AtEnd()) return;
  const char c = text_[pos_++];
  if (c == '\r' && !AtEnd() && text_[pos_] == '\n') ++pos_;
}

std::optional<std::string> FieldReader::Next() {
  if (AtEnd()) return std::nullopt;
  while (!AtEnd() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;

  std::string field;
  if (!AtEnd() && text_[pos_] == '"') {
    const std::size_t open = pos_ + 1;
    std::size_t close = text_.find('"', open);
    if (close == std::string_view::npos) close = text_.size();
    field.assign(text_.substr(open, close - open));
    pos_ = close == text_.size() ? close : close + 1;
    while (!AtEnd() && !AtSeparator()) ++pos_;
  } else {
    const std::size_t start = pos_;
    while (!AtEnd() && !AtSeparator()) ++pos_;
    field.assign(text_.substr(start, pos_ - start));
  }
  SkipSeparator();
  return field;
}

ShortcutFile ParseShortcutFile(std::string_view text) {
  ShortcutFile file;
  FieldReader fields(text);
  for (int pass = 0; pass < kMaxShortcuts; ++pass) {
    std::optional<std::string> caption = fields.Next();
    if (!caption) break;
    if (caption->empty()) continue;
    file.items.push_back({pass + 1, std::move(*caption)});
    std::optional<std::string> command = fields.Next();
    if (!command) break;
    file.commands[pass] = std::move(*command);
  }
  return file;
}

}  // namespace ludora
