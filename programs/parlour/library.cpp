#include "parlour/library.h"

#include <charconv>
#include <optional>

namespace ludora::parlour {

namespace {

constexpr std::string_view kHeader = "Corvane Ludora games room 1";
constexpr std::size_t kGameFields = 12;

// A line's fields, in place: no line of the library has more than a game's,
// so a line with more counts one over them, the rest left unsplit.
struct Fields {
  std::string_view at[kGameFields + 1];
  std::size_t count = 0;
  explicit Fields(std::string_view line) {
    for (std::size_t start = 0;;) {
      const auto tab = count == kGameFields ? std::string_view::npos : line.find('\t', start);
      at[count++] = line.substr(start, tab - start);
      if (tab == std::string_view::npos) return;
      start = tab + 1;
    }
  }
  std::size_t size() const { return count; }
  std::string_view operator[](std::size_t i) const { return at[i]; }
};

template <typename Number>
bool ParseNumber(std::string_view text, Number& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && !text.empty() &&
         text[0] != '-' && text[0] != '+';
}

bool ParseFlags(std::string_view text, Game& game) {
  if (text == "-") return true;
  for (const char flag : text) {
    if (flag == 'F')
      game.favourite = true;
    else if (flag == 'H')
      game.hidden = true;
    else
      return false;
  }
  return !text.empty();
}

std::optional<Game> ParseGame(const Fields& f) {
  Game game;
  unsigned source = 0;
  std::uint64_t lastPlayed = 0;
  if (f.size() != kGameFields || f[1].empty() || f[2].empty() || !ParseFlags(f[8], game) ||
      !ParseNumber(f[9], game.playSeconds) || !ParseNumber(f[10], lastPlayed) ||
      !ParseNumber(f[11], source) || source > static_cast<unsigned>(Source::User) ||
      lastPlayed > (std::uint64_t{1} << 40)) {
    return std::nullopt;
  }
  for (std::size_t i = 1; i < f.size(); ++i)
    if (f[i].size() > (i == 3 ? 1024 : 260)) return std::nullopt;
  game.name = Clean(f[1]), game.program = Clean(f[2]), game.arguments = Clean(f[3], 1024);
  game.folder = Clean(f[4]), game.icon = Clean(f[5]), game.picture = Clean(f[6]);
  game.category = Clean(f[7]);
  if (game.name.empty() || game.program.empty()) return std::nullopt;
  game.lastPlayed = static_cast<std::int64_t>(lastPlayed);
  game.source = static_cast<Source>(source);
  return game;
}

bool SameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && Lower(a) == Lower(b);
}

}  // namespace

int Library::Find(std::string_view program, std::string_view arguments) const {
  for (std::size_t i = 0; i < games.size(); ++i) {
    if (SameText(games[i].program, program) && SameText(games[i].arguments, arguments))
      return static_cast<int>(i);
  }
  return -1;
}

bool Library::Has(std::string_view program) const {
  const std::string lower = Lower(program);
  for (const Game& game : games)
    if (Lower(game.program) == lower) return true;
  for (const std::string& ignore : ignored)
    if (ignore == lower) return true;
  return false;
}

std::unordered_set<std::string> Library::Programs() const {
  std::unordered_set<std::string> programs(ignored.begin(), ignored.end());
  for (const Game& game : games) programs.insert(Lower(game.program));
  return programs;
}

bool Library::Import(const FoundGame& find, std::unordered_set<std::string>* programs) {
  if (games.size() >= kMaxGames || find.name.empty() || find.program.empty() ||
      (programs ? programs->contains(Lower(find.program)) : Has(find.program)))
    return false;
  Game game;
  game.name = Clean(find.name), game.program = Clean(find.program);
  game.arguments = Clean(find.arguments, 1024), game.folder = Clean(find.folder);
  game.icon = Clean(find.icon), game.source = find.source;
  if (programs) programs->insert(Lower(game.program));
  games.push_back(std::move(game));
  return true;
}

void LibraryReader::Feed(std::string_view piece) {
  while (!piece.empty() && !full_) {
    const auto newline = piece.find('\n');
    const std::string_view part = piece.substr(0, newline);
    piece = newline == std::string_view::npos ? std::string_view() : piece.substr(newline + 1);
    bytes_ += part.size() + 1;
    if (!skipping_ && partial_.size() + part.size() <= kMaxLineBytes) {
      partial_ += part;
    } else {
      skipping_ = true;  // too long for a line of the library
      partial_.clear();
    }
    if (newline == std::string_view::npos) break;
    if (skipping_) {
      library_.damaged = true;
      skipping_ = false;
    } else {
      if (!partial_.empty() && partial_.back() == '\r') partial_.pop_back();
      Line(partial_);
    }
    partial_.clear();
    if (bytes_ > kMaxLibraryBytes || library_.games.size() >= kMaxGames) full_ = true;
  }
}

void LibraryReader::Line(std::string_view line) {
  if (!header_) {
    header_ = true;
    if (line != kHeader) library_.damaged = true;
    if (line == kHeader) return;
  }
  if (ended_) {
    library_.damaged = true;  // lines after the end: the file is not what it says
    return;
  }
  const Fields f(line);
  std::size_t count = 0;
  if (f[0] == "end" && f.size() == 2 && ParseNumber(f[1], count)) {
    ended_ = true;
    if (count != lines_) library_.damaged = true;
    return;
  }
  ++lines_;
  if (f[0] == "game") {
    if (std::optional<Game> game = ParseGame(f)) return library_.games.push_back(std::move(*game));
  } else if (f[0] == "ignore" && f.size() == 2 && !Clean(f[1]).empty() && f[1].size() <= 260) {
    if (library_.ignored.size() < kMaxIgnored) library_.ignored.push_back(Lower(Clean(f[1])));
    return;
  }
  library_.damaged = true;
}

Library LibraryReader::Finish() {
  if (!partial_.empty() || skipping_) {
    Feed("\n");  // a last line without its line end
  }
  if (!ended_ || full_) library_.damaged = true;
  return std::move(library_);
}

Library ParseLibrary(std::string_view text) {
  LibraryReader reader;
  reader.Feed(text);
  return reader.Finish();
}

std::string LibraryText(const Library& library) {
  std::string text = std::string(kHeader) + "\r\n";
  std::size_t size = 64;  // the file's size, so that the text is made once
  for (const Game& g : library.games)
    size += 48 + g.name.size() + g.program.size() + g.arguments.size() + g.folder.size() +
            g.icon.size() + g.picture.size() + g.category.size();
  text.reserve(size + 16 * library.ignored.size());
  for (const Game& g : library.games) {
    const std::string flags =
        g.favourite || g.hidden ? std::string(g.favourite ? "F" : "") + (g.hidden ? "H" : "") : "-";
    const std::string fields[] = {g.name,
                                  g.program,
                                  g.arguments,
                                  g.folder,
                                  g.icon,
                                  g.picture,
                                  g.category,
                                  flags,
                                  std::to_string(g.playSeconds),
                                  std::to_string(g.lastPlayed),
                                  std::to_string(static_cast<int>(g.source))};
    text += "game";
    for (const std::string& field : fields)
      text += "\t" + Clean(field, &field == &fields[2] ? 1024 : 260);
    text += "\r\n";
  }
  for (const std::string& program : library.ignored) text += "ignore\t" + Clean(program) + "\r\n";
  return text + "end\t" + std::to_string(library.games.size() + library.ignored.size()) + "\r\n";
}

}  // namespace ludora::parlour
