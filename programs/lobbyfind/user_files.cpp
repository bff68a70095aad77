#include "lobbyfind/user_files.h"

#include <algorithm>
#include <charconv>

#include "platform/paths.h"

namespace ludora::lobbyfind {

namespace {

int Number(const std::string& text, int otherwise, int least, int most) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size()) return otherwise;
  return std::clamp(value, least, most);
}

const IniSection* SectionOf(const IniFile& file, std::string_view name) {
  for (const IniSection& section : file) {
    if (SameText(section.name, name)) return &section;
  }
  return nullptr;
}

int RowNamed(const std::vector<Game>& games, std::string_view name) {
  for (std::size_t row = 0; row < games.size(); ++row) {
    if (SameText(games[row].name, name)) return static_cast<int>(row);
  }
  return -1;
}

std::string Ip(DWORD ip) {
  const std::string text = SocketAddress{ip, 1}.ToString();
  return text.substr(0, text.find(':'));
}

}  // namespace

std::optional<std::string> ReadUserFile(WindowsApi& api, const std::string& userFolder,
                                        const std::string& name) {
  if (userFolder.empty()) return std::nullopt;
  if (auto text = ReadSettingsFile(api, userFolder + "\\" + name, kMaxFileBytes)) return text;
  return ReadSettingsFile(api, FolderOf(FolderOf(userFolder)) + "\\" + kOldFolderName + "\\" + name,
                          kMaxFileBytes);
}

bool SaveUserFile(WindowsApi& api, const std::string& userFolder, const std::string& name,
                  const std::string& text) {
  return !userFolder.empty() && WriteSettingsFile(api, userFolder + "\\" + name, text);
}

UserSettings ReadSettings(const IniFile& file, const std::vector<Game>& games) {
  UserSettings settings;
  if (const IniSection* section = SectionOf(file, "Settings")) {
    if (const auto lan = SocketAddress::Parse(section->Get("LanAddress"))) {
      settings.lanAddress = lan->ip;
    }
    Limits& limits = settings.limits;
    limits.inFlight = static_cast<std::size_t>(
        Number(section->Get("MaxQueries"), static_cast<int>(limits.inFlight), 1, 1024));
    limits.perSecond = static_cast<DWORD>(
        Number(section->Get("QueriesPerSecond"), static_cast<int>(limits.perSecond), 1, 100000));
    limits.timeout = static_cast<DWORD>(
        Number(section->Get("Timeout"), static_cast<int>(limits.timeout), 100, 10000));
    settings.colours = section->Get("Colours", "1") != "0";
    const std::string view = section->Get("View");
    settings.view = SameText(view, "Internet") ? kInternet
                    : SameText(view, "LAN")    ? kLan
                                               : kFavourites;
  }
  if (const IniSection* section = SectionOf(file, "Filter")) {
    Filter& filter = settings.filter;
    filter.game = RowNamed(games, section->Get("Game"));
    filter.notEmpty = section->Get("NotEmpty") == "1";
    filter.notFull = section->Get("NotFull") == "1";
    filter.maxPing = Number(section->Get("MaxPing"), 0, 0, 9999);
    filter.text = section->Get("Text").substr(0, kMaxText);
  }
  if (const IniSection* section = SectionOf(file, "Favourites")) {
    for (const auto& [key, value] : section->entries) {
      const auto blank = value.find(' ');
      const auto address = SocketAddress::Parse(value.substr(0, blank));
      if (!SameText(key, "Server") || !address || address->port == 0 ||
          blank == std::string::npos || settings.favourites.size() >= kMaxServers) {
        continue;
      }
      settings.favourites.push_back({*address, value.substr(blank + 1)});
    }
  }
  return settings;
}

IniFile WriteSettings(const UserSettings& settings, const std::vector<Game>& games) {
  const Limits& limits = settings.limits;
  const Filter& filter = settings.filter;
  const char* view = settings.view == kInternet ? "Internet"
                     : settings.view == kLan    ? "LAN"
                                                : "Favourites";
  IniFile file{{"Settings",
                {{"LanAddress", Ip(settings.lanAddress)},
                 {"MaxQueries", std::to_string(limits.inFlight)},
                 {"QueriesPerSecond", std::to_string(limits.perSecond)},
                 {"Timeout", std::to_string(limits.timeout)},
                 {"Colours", settings.colours ? "1" : "0"},
                 {"View", view}}},
               {"Filter",
                {{"Game", filter.game >= 0 && static_cast<std::size_t>(filter.game) < games.size()
                              ? games[filter.game].name
                              : ""},
                 {"NotEmpty", filter.notEmpty ? "1" : "0"},
                 {"NotFull", filter.notFull ? "1" : "0"},
                 {"MaxPing", std::to_string(filter.maxPing)},
                 {"Text", filter.text}}},
               {"Favourites", {}}};
  for (const Favourite& favourite : settings.favourites) {
    file.back().entries.emplace_back("Server", favourite.address.ToString() + ' ' + favourite.game);
  }
  return file;
}

std::vector<Game> LoadGames(WindowsApi& api, const std::string& appFolder,
                            const std::string& userFolder) {
  for (const auto& text :
       {ReadUserFile(api, userFolder, kGamesFile),
        appFolder.empty() ? std::nullopt
                          : ReadFileStart(api, appFolder + "\\" + kGamesFile, kMaxFileBytes)}) {
    if (!text) continue;
    auto games = ReadGames(ParseIni(*text));
    if (!games.empty()) return games;
  }
  return {};
}

}  // namespace ludora::lobbyfind
