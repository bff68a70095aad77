#include "chitter/settings.h"

#include <algorithm>
#include <charconv>

#include "platform/settings_file.h"

namespace ludora::chitter {

namespace {

constexpr char kMain[] = "chitter";
constexpr std::string_view kNetworkPrefix = "network ";

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
    text.remove_suffix(1);
  return text;
}

// The section a line opens, or nothing; as ParseIni reads it.
std::optional<std::string_view> SectionOf(std::string_view line) {
  line = Trimmed(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  const auto close = line.find(']');
  return close == std::string_view::npos ? "[" : Trimmed(line.substr(1, close - 1));
}

std::vector<std::string> List(std::string_view text) {
  std::vector<std::string> items;
  while (!text.empty()) {
    const auto comma = text.find(',');
    const std::string_view item = Trimmed(text.substr(0, comma));
    if (!item.empty()) items.emplace_back(item);
    text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
  }
  return items;
}

std::string JoinList(const std::vector<std::string>& items) {
  std::string text;
  for (const std::string& item : items) text += (text.empty() ? "" : ", ") + item;
  return text;
}

}  // namespace

IniText::IniText(std::string_view text) {
  while (!text.empty()) {
    const auto end = text.find('\n');
    lines_.emplace_back(Trimmed(text.substr(0, end)));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
  }
}

std::optional<std::string> IniText::Get(std::string_view section, std::string_view key) const {
  return IniValue(Text(), section, key);
}

void IniText::Set(std::string_view section, std::string_view key, std::string_view value) {
  const std::string entry = std::string(key) + "=" + std::string(value);
  std::optional<std::size_t> end;  // where the section's last entry ends
  bool inside = false;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (const auto name = SectionOf(lines_[i])) {
      inside = SameText(*name, section);
      if (inside) end = i + 1;
      continue;
    }
    if (!inside) continue;
    const auto equals = lines_[i].find('=');
    if (equals != std::string::npos && lines_[i].front() != ';' &&
        SameText(Trimmed(std::string_view(lines_[i]).substr(0, equals)), key)) {
      lines_[i] = entry;
      return;
    }
    if (!lines_[i].empty()) end = i + 1;
  }
  if (!end) {
    if (!lines_.empty() && !lines_.back().empty()) lines_.emplace_back();
    lines_.push_back("[" + std::string(section) + "]");
    end = lines_.size();
  }
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(*end), entry);
}

std::string IniText::Text() const {
  std::string text;
  for (const std::string& line : lines_) text += line + "\r\n";
  return text;
}

Settings Settings::From(const IniText& ini) {
  Settings settings;
  const std::string whole = ini.Text();
  const auto text = [&](std::string_view section, std::string_view key, std::string& into) {
    if (auto value = IniValue(whole, section, key); value && !value->empty())
      into = std::move(*value);
  };
  const auto flag = [&](std::string_view section, std::string_view key, bool& into) {
    if (const auto value = IniValue(whole, section, key)) into = *value != "0" && !value->empty();
  };
  text(kMain, "nick", settings.nick);
  text(kMain, "altnick", settings.altNick);
  text(kMain, "user", settings.user);
  text(kMain, "realname", settings.realName);
  flag(kMain, "colours", settings.colours);
  flag(kMain, "log", settings.log);
  flag(kMain, "ansi", settings.ansi);
  flag(kMain, "tray", settings.tray);
  if (const auto lines = IniValue(whole, kMain, "scrollback")) {
    std::size_t count = 0;
    std::from_chars(lines->data(), lines->data() + lines->size(), count);
    settings.scrollback = std::clamp<std::size_t>(count, 100, 10000);
  }
  for (const IniSection& read : ParseIni(whole)) {
    const std::string& section = read.name;
    if (section.size() <= kNetworkPrefix.size() ||
        !SameText(std::string_view(section).substr(0, kNetworkPrefix.size()), kNetworkPrefix))
      continue;
    NetworkSettings network;
    network.name = Trimmed(std::string_view(section).substr(kNetworkPrefix.size()));
    if (std::ranges::any_of(settings.networks,
                            [&](auto& n) { return SameText(n.name, network.name); }))
      continue;
    network.servers = List(IniValue(whole, section, "servers").value_or(""));
    network.channels = List(IniValue(whole, section, "channels").value_or(""));
    text(section, "password", network.password);
    text(section, "nick", network.nick);
    text(section, "altnick", network.altNick);
    flag(section, "connect", network.connect);
    settings.networks.push_back(std::move(network));
  }
  return settings;
}

void Settings::Into(IniText& ini) const {
  for (const auto& [key, on] : {std::pair{"colours", colours}, std::pair{"log", log},
                                std::pair{"ansi", ansi}, std::pair{"tray", tray}}) {
    ini.Set(kMain, key, on ? "1" : "0");
  }
  for (const NetworkSettings& network : networks) {
    const std::string section = std::string(kNetworkPrefix) + network.name;
    ini.Set(section, "servers", JoinList(network.servers));
    if (!network.channels.empty() || ini.Get(section, "channels"))
      ini.Set(section, "channels", JoinList(network.channels));
    if (!network.password.empty()) ini.Set(section, "password", network.password);
    ini.Set(section, "connect", network.connect ? "1" : "0");
  }
}

}  // namespace ludora::chitter
