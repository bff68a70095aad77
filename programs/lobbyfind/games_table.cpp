#include "lobbyfind/games_table.h"

#include <charconv>

namespace ludora::lobbyfind {

namespace {

std::vector<std::string> Words(std::string_view text) {
  std::vector<std::string> words;
  while (!text.empty()) {
    const auto start = text.find_first_not_of(" ,");
    if (start == std::string_view::npos) break;
    text.remove_prefix(start);
    const auto end = std::min(text.find_first_of(" ,"), text.size());
    words.emplace_back(text.substr(0, end));
    text.remove_prefix(end);
  }
  return words;
}

std::optional<int> Number(std::string_view text, int most) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size() || value < 0 || value > most) {
    return std::nullopt;
  }
  return value;
}

std::string Joined(const std::vector<std::string>& words) {
  std::string text;
  for (const std::string& word : words) text += (text.empty() ? "" : " ") + word;
  return text;
}

}  // namespace

std::vector<Game> ReadGames(const IniFile& file) {
  std::vector<Game> games;
  for (const IniSection& section : file) {
    if (games.size() == kMaxGames) break;
    Game game;
    game.name = section.name;
    const std::string protocol = section.Get("Protocol");
    if (SameText(protocol, "a2s")) {
      game.protocol = Protocol::A2s;
      game.firstPort = 27015, game.lastPort = 27020;
    } else if (!SameText(protocol, "q3") || game.name.empty()) {
      continue;  // a protocol lobbyfind does not speak
    }
    const std::string ports = section.Get("Ports");
    const auto dash = ports.find('-');
    const auto first = Number(ports.substr(0, dash), 0xFFFF);
    const auto last = dash == std::string::npos ? first : Number(ports.substr(dash + 1), 0xFFFF);
    if (first && last && *first > 0 && *first <= *last && *last - *first < 16) {
      game.firstPort = static_cast<WORD>(*first), game.lastPort = static_cast<WORD>(*last);
    }
    for (const std::string& word : Words(section.Get("Versions"))) {
      if (const auto version = Number(word, 0xFFFFFF)) game.versions.push_back(*version);
    }
    game.folder = section.Get("Folder");
    for (std::string& master : Words(section.Get("Masters"))) {
      if (game.masters.size() < kMaxMasters) game.masters.push_back(std::move(master));
    }
    game.masterProtocol = Number(section.Get("MasterProtocol"), 0xFFFFFF)
                              .value_or(game.versions.empty() ? 68 : game.versions.back());
    game.masterGame = section.Get("MasterGame");
    game.registry = section.Get("Registry");
    game.program = section.Get("Program");
    game.path = section.Get("Path");
    game.join = section.Get("Join", game.join);
    game.password = section.Get("Password", game.password);
    games.push_back(std::move(game));
  }
  return games;
}

IniFile WriteGames(const std::vector<Game>& games) {
  IniFile file;
  for (const Game& game : games) {
    IniSection section{game.name, {}};
    const auto put = [&](const char* key, const std::string& value) {
      if (!value.empty()) section.entries.emplace_back(key, value);
    };
    std::vector<std::string> versions;
    for (const int version : game.versions) versions.push_back(std::to_string(version));
    put("Protocol", game.protocol == Protocol::A2s ? "a2s" : "q3");
    put("Ports", std::to_string(game.firstPort) + '-' + std::to_string(game.lastPort));
    put("Versions", Joined(versions));
    put("Folder", game.folder);
    put("Masters", Joined(game.masters));
    if (!game.masters.empty()) put("MasterProtocol", std::to_string(game.masterProtocol));
    put("MasterGame", game.masterGame);
    put("Registry", game.registry);
    put("Program", game.program);
    put("Path", game.path);
    put("Join", game.join);
    put("Password", game.password);
    file.push_back(std::move(section));
  }
  return file;
}

int GameOf(const std::vector<Game>& games, Protocol protocol, int version, std::string_view folder,
           int hint) {
  for (std::size_t row = 0; row < games.size(); ++row) {
    const Game& game = games[row];
    if (game.protocol != protocol) continue;
    for (const int listed : game.versions) {
      if (listed == version && (version != 0 || protocol == Protocol::Q3))
        return static_cast<int>(row);
    }
    if (protocol == Protocol::A2s && version == 0 && !folder.empty() &&
        SameText(game.folder, folder)) {
      return static_cast<int>(row);
    }
  }
  if (hint >= 0 && static_cast<std::size_t>(hint) < games.size()) return hint;
  for (std::size_t row = 0; row < games.size(); ++row) {
    if (games[row].protocol == protocol) return static_cast<int>(row);
  }
  return -1;
}

}  // namespace ludora::lobbyfind
