#include "chitter/settings.h"

#include <algorithm>
#include <charconv>
#include <unordered_map>
#include <unordered_set>

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

// A name as SameText compares it.
std::string Folded(std::string_view name) {
  std::string folded(name);
  std::ranges::transform(folded, folded.begin(), [](char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  });
  return folded;
}

// The sections of a file by name, each name's in the file's order: a key is
// found as IniValue finds it, without reading the whole text for each one.
class Sections {
 public:
  explicit Sections(const IniFile& file) {
    for (const IniSection& section : file) byName_[Folded(section.name)].push_back(&section);
  }
  std::optional<std::string> Get(std::string_view section, std::string_view key) const {
    const auto found = byName_.find(Folded(section));
    if (found == byName_.end()) return std::nullopt;
    for (const IniSection* read : found->second) {
      for (const auto& [name, value] : read->entries) {
        if (SameText(name, key)) return value;
      }
    }
    return std::nullopt;
  }

 private:
  std::unordered_map<std::string, std::vector<const IniSection*>> byName_;
};

}  // namespace

IniText::IniText(std::string_view text) {
  while (!text.empty()) {
    const auto end = text.find('\n');
    lines_.emplace_back(Trimmed(text.substr(0, end)));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
  }
}

void IniText::Set(const std::vector<Change>& changes) {
  // One change a key, in the order the keys first come; each section's keys.
  std::vector<Change> wanted;
  std::unordered_map<std::string, std::size_t> byKey;
  std::unordered_map<std::string, std::vector<std::size_t>> bySection;
  for (const Change& change : changes) {
    const std::string section = Folded(change.section);
    const auto [at, fresh] = byKey.emplace(section + '\n' + Folded(change.key), wanted.size());
    if (fresh) {
      wanted.push_back(change);
      bySection[section].push_back(at->second);
      continue;
    }
    Change& earlier = wanted[at->second];
    earlier.value = change.value;
    earlier.onlyWhereThere = earlier.onlyWhereThere && change.onlyWhereThere;
  }
  // The keys changed where they are; where each section's last entry ends.
  std::vector<bool> placed(wanted.size());
  std::unordered_map<std::string, std::size_t> ends;
  const std::vector<std::size_t>* inside = nullptr;
  std::size_t* end = nullptr;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (const auto name = SectionOf(lines_[i])) {
      const auto found = bySection.find(Folded(*name));
      inside = found == bySection.end() ? nullptr : &found->second;
      end = inside ? &(ends[found->first] = i + 1) : nullptr;
      continue;
    }
    if (!inside) continue;
    const auto equals = lines_[i].find('=');
    if (equals != std::string::npos && lines_[i].front() != ';') {
      const std::string_view key = Trimmed(std::string_view(lines_[i]).substr(0, equals));
      for (const std::size_t change : *inside) {
        if (placed[change] || !SameText(key, wanted[change].key)) continue;
        lines_[i] = wanted[change].key + "=" + wanted[change].value;
        placed[change] = true;
        break;
      }
    }
    if (!lines_[i].empty()) *end = i + 1;
  }
  // The keys added: after their section's last entry, or in new sections at the end.
  std::unordered_map<std::size_t, std::vector<std::string>> added;
  std::vector<std::pair<std::string, std::vector<std::string>>> newSections;
  std::unordered_map<std::string, std::size_t> newSection;
  for (std::size_t change = 0; change < wanted.size(); ++change) {
    const Change& c = wanted[change];
    if (placed[change] || c.onlyWhereThere) continue;
    const std::string section = Folded(c.section);
    const std::string entry = c.key + "=" + c.value;
    if (const auto found = ends.find(section); found != ends.end()) {
      added[found->second].push_back(entry);
      continue;
    }
    const auto [at, fresh] = newSection.emplace(section, newSections.size());
    if (fresh) newSections.push_back({"[" + c.section + "]", {}});
    newSections[at->second].second.push_back(entry);
  }
  if (added.empty() && newSections.empty()) return;
  std::vector<std::string> lines;
  lines.reserve(lines_.size() + wanted.size() + 2 * newSections.size());
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    lines.push_back(std::move(lines_[i]));
    if (const auto found = added.find(i + 1); found != added.end()) {
      for (std::string& entry : found->second) lines.push_back(std::move(entry));
    }
  }
  for (auto& [header, entries] : newSections) {
    if (!lines.empty() && !lines.back().empty()) lines.emplace_back();
    lines.push_back(std::move(header));
    for (std::string& entry : entries) lines.push_back(std::move(entry));
  }
  lines_ = std::move(lines);
}

std::string IniText::Text() const {
  std::string text;
  for (const std::string& line : lines_) text += line + "\r\n";
  return text;
}

Settings Settings::From(const IniText& ini) {
  Settings settings;
  const IniFile file = ParseIni(ini.Text());
  const Sections sections(file);
  const auto text = [&](std::string_view section, std::string_view key, std::string& into) {
    if (auto value = sections.Get(section, key); value && !value->empty()) into = std::move(*value);
  };
  const auto flag = [&](std::string_view section, std::string_view key, bool& into) {
    if (const auto value = sections.Get(section, key)) into = *value != "0" && !value->empty();
  };
  text(kMain, "nick", settings.nick);
  text(kMain, "altnick", settings.altNick);
  text(kMain, "user", settings.user);
  text(kMain, "realname", settings.realName);
  flag(kMain, "colours", settings.colours);
  flag(kMain, "log", settings.log);
  flag(kMain, "ansi", settings.ansi);
  flag(kMain, "tray", settings.tray);
  if (const auto lines = sections.Get(kMain, "scrollback")) {
    std::size_t count = 0;
    std::from_chars(lines->data(), lines->data() + lines->size(), count);
    settings.scrollback = std::clamp<std::size_t>(count, 100, 10000);
  }
  std::unordered_set<std::string> named;
  for (const IniSection& read : file) {
    const std::string& section = read.name;
    if (section.size() <= kNetworkPrefix.size() ||
        !SameText(std::string_view(section).substr(0, kNetworkPrefix.size()), kNetworkPrefix))
      continue;
    NetworkSettings network;
    network.name = Trimmed(std::string_view(section).substr(kNetworkPrefix.size()));
    if (!named.insert(Folded(network.name)).second) continue;
    network.servers = List(sections.Get(section, "servers").value_or(""));
    network.channels = List(sections.Get(section, "channels").value_or(""));
    text(section, "password", network.password);
    text(section, "nick", network.nick);
    text(section, "altnick", network.altNick);
    flag(section, "connect", network.connect);
    settings.networks.push_back(std::move(network));
  }
  return settings;
}

void Settings::Into(IniText& ini) const {
  std::vector<IniText::Change> changes;
  for (const auto& [key, on] : {std::pair{"colours", colours}, std::pair{"log", log},
                                std::pair{"ansi", ansi}, std::pair{"tray", tray}}) {
    changes.push_back({kMain, key, on ? "1" : "0"});
  }
  for (const NetworkSettings& network : networks) {
    const std::string section = std::string(kNetworkPrefix) + network.name;
    changes.push_back({section, "servers", JoinList(network.servers)});
    changes.push_back({section, "channels", JoinList(network.channels), network.channels.empty()});
    if (!network.password.empty()) changes.push_back({section, "password", network.password});
    changes.push_back({section, "connect", network.connect ? "1" : "0"});
  }
  ini.Set(changes);
}

}  // namespace ludora::chitter
