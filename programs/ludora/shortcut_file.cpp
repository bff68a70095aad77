#include "ludora/shortcut_file.h"

namespace ludora {

bool FieldReader::AtEnd() {
  while (pos_ >= piece_.size()) {
    if (ended_) return true;
    piece_ = source_();
    pos_ = 0;
    ended_ = piece_.empty();
  }
  return false;
}

bool FieldReader::AtSeparator() const {
  const char c = Peek();
  return c == ',' || c == '\r' || c == '\n';
}

std::optional<std::string> FieldReader::Next() {
  if (AtEnd()) return std::nullopt;
  while (!AtEnd() && (Peek() == ' ' || Peek() == '\t')) Advance();

  std::string field;
  const auto keep = [&] {
    if (field.size() < kMaxFieldBytes) field += Peek();
    Advance();
  };
  if (!AtEnd() && Peek() == '"') {
    Advance();
    while (!AtEnd() && Peek() != '"') keep();
    if (!AtEnd()) Advance();
    while (!AtEnd() && !AtSeparator()) Advance();
  } else {
    while (!AtEnd() && !AtSeparator()) keep();
  }
  // The separator: a comma, or a line break of CR LF, LF or CR.
  if (!AtEnd()) {
    const char separator = Peek();
    Advance();
    if (separator == '\r' && !AtEnd() && Peek() == '\n') Advance();
  }
  return field;
}

namespace {

// A field as Windows will see it, as a text that ends at its first NUL.
std::optional<std::string> NextText(FieldReader& fields) {
  std::optional<std::string> field = fields.Next();
  if (field) field->erase(std::min(field->find('\0'), field->size()));
  return field;
}

}  // namespace

ShortcutFile ParseShortcutFile(FieldReader& fields) {
  ShortcutFile file;
  for (int pass = 0; pass < kMaxShortcuts; ++pass) {
    std::optional<std::string> caption = NextText(fields);
    if (!caption) break;
    if (caption->empty()) continue;
    file.items.push_back({pass + 1, std::move(*caption)});
    std::optional<std::string> command = NextText(fields);
    if (!command) break;
    file.commands[pass] = std::move(*command);
  }
  return file;
}

ShortcutFile ParseShortcutFile(std::string_view text) {
  FieldReader fields(text);
  return ParseShortcutFile(fields);
}

}  // namespace ludora
