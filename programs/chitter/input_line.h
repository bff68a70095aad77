// The input line's memory and its Tab key. Text is UTF-16 here, as the
// edit control holds it, with the cursor as an index into it.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "chitter/server_features.h"

namespace ludora::chitter {

// The lines sent, newest last; Up and Down walk them, and the line being
// written is kept for the way back.
class InputHistory {
 public:
  static constexpr std::size_t kKept = 100;
  void Add(std::u16string line);
  std::optional<std::u16string> Up(const std::u16string& current);
  std::optional<std::u16string> Down();

 private:
  std::deque<std::u16string> lines_;
  std::size_t at_ = 0;  // lines_.size(): the line being written
  std::u16string draft_;
};

struct Completed {
  std::u16string text;
  std::size_t cursor = 0;
};

// Tab completes the word before the cursor from `names` (UTF-8, in the
// order they are offered); each Tab after that offers the next one. A nick
// at the start of the line gets ": ", one elsewhere a blank.
class NickCompleter {
 public:
  std::optional<Completed> Next(const std::u16string& text, std::size_t cursor,
                                const std::vector<std::string>& names,
                                const ServerFeatures& features);
  // Any other key: the next Tab starts again.
  void Reset() { matches_.clear(); }
  // A Tab now offers the next match, and needs no names.
  bool cycling() const { return !matches_.empty(); }

 private:
  std::u16string before_, after_;  // the text around the word
  std::vector<std::u16string> matches_;
  std::size_t next_ = 0;
  bool atStart_ = false;
};

}  // namespace ludora::chitter
