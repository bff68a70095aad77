#include "chitter/chat.h"

#include <algorithm>
#include <unordered_set>

#include "platform/settings_file.h"

namespace ludora::chitter {

namespace {

constexpr std::size_t kLargestSettingsFile = 1 << 20;

constexpr std::size_t kRecentSpeakers = 100;  // lines looked back for who spoke last
const ServerFeatures kRfcFeatures;            // the home tab's, which has no server

std::vector<ServerName> ServersOf(const NetworkSettings& network) {
  std::vector<ServerName> servers;
  for (const std::string& server : network.servers) {
    if (auto name = ServerName::Parse(server)) servers.push_back(std::move(*name));
  }
  return servers;
}

}  // namespace

Chat::Chat(Services services)
    : services_(std::move(services)),
      home_(std::make_unique<Conversation>(Conversation::Kind::Server, "Chitter", 0)) {}

void Chat::Start(const Clock& now) {
  now_ = now;
  ini_ =
      IniText(ReadSettingsFile(services_.api, settingsPath(), kLargestSettingsFile).value_or(""));
  settings_ = Settings::From(ini_);
  options_ = {settings_.ansi, settings_.scrollback};
  Note({}, LineKind::Info, "Chitter, the chat of Corvane Ludora. Type /help for the commands.");
  Note({}, LineKind::Info, "The settings are in " + Decode(settingsPath(), services_.ansi) + ".");
  for (const NetworkSettings& network : settings_.networks) {
    if (network.connect) AddSession(network).Connect(now);
  }
  if (networks_.empty()) {
    Note({}, LineKind::Info,
         "To connect, type /server <host>[:port], or add a [network <name>] to the settings.");
  }
}

Session& Chat::AddSession(const NetworkSettings& network) {
  const auto wire = [&](const std::string& text) { return ToWire(Decode(text, services_.ansi)); };
  Profile profile;
  profile.nick = wire(network.nick.empty() ? settings_.nick : network.nick);
  profile.altNick = wire(network.nick.empty() ? settings_.altNick : network.altNick);
  profile.user = wire(settings_.user);
  profile.realName = wire(settings_.realName);
  profile.password = wire(network.password);
  for (const std::string& channel : network.channels) profile.channels.push_back(wire(channel));
  auto client =
      std::make_unique<Client>(network.name, std::move(profile), services_.ansi, options_, this);
  const Session::Services sessionServices{services_.sockets, services_.resolver, numbers_,
                                          services_.window};
  networks_.push_back(
      {nextNetwork_++,
       std::make_unique<Session>(sessionServices, ServersOf(network), std::move(client))});
  ++ownChanges_;
  return *networks_.back().session;
}

void Chat::Quit(std::string_view reason, const Clock& now) {
  now_ = now;
  for (Network& network : networks_) network.session->Stop(ToWire(reason), now);
}

std::vector<Chat::Tab> Chat::Tabs() const {
  std::vector<Tab> tabs = {Tab{}};
  for (const Network& network : networks_) {
    for (const auto& conversation : network.session->client().conversations())
      tabs.push_back({network.id, conversation->id()});
  }
  return tabs;
}

std::uint64_t Chat::tabChanges() const {
  std::uint64_t changes = ownChanges_;
  for (const Network& network : networks_) {
    changes += network.session->client().tabChanges();
    for (const auto& conversation : network.session->client().conversations())
      changes += conversation->kind() == Conversation::Kind::Query ? conversation->changes() : 0;
  }
  return changes;
}

Session* Chat::SessionOf(const Tab& tab) const {
  const auto found = std::ranges::find(networks_, tab.network, &Network::id);
  return found == networks_.end() ? nullptr : found->session.get();
}

Conversation& Chat::ConversationOf(const Tab& tab) const {
  Session* session = SessionOf(tab);
  Conversation* conversation = session ? session->client().FindId(tab.conversation) : nullptr;
  return conversation ? *conversation : *home_;
}

std::string Chat::Title(const Tab& tab) const {
  Session* session = SessionOf(tab);
  const Conversation& conversation = ConversationOf(tab);
  if (!session || conversation.kind() == Conversation::Kind::Server) return conversation.name();
  return session->client().Shown(conversation.name());
}

std::string Chat::TopicLine(const Tab& tab) const {
  const Conversation& conversation = ConversationOf(tab);
  switch (conversation.kind()) {
    case Conversation::Kind::Channel:
      return conversation.topic();
    case Conversation::Kind::Query:
      return "Private conversation with " + Title(tab);
    default:
      return Title(tab);
  }
}

Chat::Tab Chat::TabOf(const Session& session, const Conversation& conversation) const {
  for (const Network& network : networks_) {
    if (network.session.get() == &session) return {network.id, conversation.id()};
  }
  return {};
}

void Chat::Select(const Tab& tab) {
  for (const Network& network : networks_) network.session->client().SetActive(nullptr);
  selected_ = tab;
  Conversation& conversation = ConversationOf(tab);
  conversation.Seen();
  if (Session* session = SessionOf(tab)) session->client().SetActive(&conversation);
}

void Chat::CloseTab(const Tab& tab, const Clock& now) {
  now_ = now;
  Session* session = SessionOf(tab);
  if (!session) return;
  Conversation& conversation = ConversationOf(tab);
  if (conversation.kind() != Conversation::Kind::Server) {
    session->client().At(now);
    return session->client().Close(conversation);
  }
  // The server's tab takes its network's tabs along.
  session->Stop("", now);
  std::erase_if(networks_, [&](const Network& network) { return network.id == tab.network; });
  ++ownChanges_;
}

std::uint64_t Chat::mentions() const {
  std::uint64_t count = 0;
  for (const Network& network : networks_) count += network.session->client().mentions();
  return count;
}

std::vector<std::string> CompletionCandidates(const Client& client,
                                              const Conversation& conversation) {
  std::vector<std::string> names;
  std::unordered_set<std::string> offered;
  const auto add = [&](std::string name) {
    if (!name.empty() && offered.insert(name).second) names.push_back(std::move(name));
  };
  const auto& lines = conversation.lines();
  const std::size_t from = lines.size() > kRecentSpeakers ? lines.size() - kRecentSpeakers : 0;
  for (std::size_t i = lines.size(); i-- > from;) {
    if (lines[i].kind <= LineKind::Notice && !lines[i].own) add(lines[i].nick);
  }
  const auto& members = conversation.Sorted(client.features());
  names.reserve(names.size() + members.size() + 2);
  for (const Member* member : members) add(client.Shown(member->nick));
  if (conversation.kind() != Conversation::Kind::Server) add(client.Shown(conversation.name()));
  add(client.Shown(client.nick()));
  return names;
}

std::vector<std::string> Chat::Candidates(const Tab& tab) const {
  Session* session = SessionOf(tab);
  if (!session) return {};
  return CompletionCandidates(session->client(), ConversationOf(tab));
}

const ServerFeatures& Chat::FeaturesOf(const Tab& tab) const {
  Session* session = SessionOf(tab);
  return session ? session->client().features() : kRfcFeatures;
}

bool Chat::OnSocket(UINT message, WPARAM wParam, LPARAM lParam, const Clock& now) {
  now_ = now;
  for (const Network& network : networks_) {
    if (network.session->OnSocket(message, wParam, lParam, now)) return true;
  }
  return false;
}

void Chat::OnResolved(std::uint32_t ticket, const std::vector<DWORD>& addresses, const Clock& now) {
  now_ = now;
  for (const Network& network : networks_) network.session->OnResolved(ticket, addresses, now);
}

void Chat::Tick(const Clock& now) {
  now_ = now;
  for (const Network& network : networks_) network.session->Tick(now);
  if (services_.logs) services_.logs->Flush();
}

void Chat::SetOption(bool Settings::*option, bool on) {
  settings_.*option = on;
  options_.sendAnsi = settings_.ansi;
  SaveSettings();
}

void Chat::SaveSettings() {
  settings_.Into(ini_);
  if (!WriteSettingsFile(services_.api, settingsPath(), ini_.Text()))
    Note(selected_, LineKind::Error,
         "The settings could not be written to " + settingsPath() + ".");
}

void Chat::ConnectTo(const ServerName& server, std::string_view password, const Clock& now) {
  now_ = now;
  const auto sameHost = [&](const std::string& entry) {
    const auto name = ServerName::Parse(entry);
    return name && name->host == server.host;
  };
  auto known = std::ranges::find_if(settings_.networks, [&](const NetworkSettings& network) {
    return std::ranges::any_of(network.servers, sameHost);
  });
  if (known == settings_.networks.end()) {
    known = settings_.networks.insert(settings_.networks.end(), NetworkSettings{});
    known->name = server.host;
  }
  std::erase_if(known->servers, sameHost);
  known->servers.insert(known->servers.begin(), server.host + ":" + std::to_string(server.port));
  if (!password.empty()) known->password = password;
  known->connect = true;
  SaveSettings();
  const auto running = std::ranges::find_if(networks_, [&](const Network& open) {
    return open.session->client().network() == known->name;
  });
  Session& session = running != networks_.end() ? *running->session : AddSession(*known);
  session.UseServers(ServersOf(*known));
  session.Connect(now);
  Select(TabOf(session, session.client().server()));
}

void Chat::Note(const Tab& tab, LineKind kind, std::string text) {
  Session* session = SessionOf(tab);
  if (session) return session->client().Note(ConversationOf(tab), kind, std::move(text));
  home_->Add(StampedLine(now_, kind, "", std::move(text)), settings_.scrollback);
}

void Chat::Added(const std::string& network, const Conversation& conversation, const Line& line) {
  if (!settings_.log || !services_.logs) return;
  WriteLog(*services_.logs,
           LogPath(services_.folder, Decode(network, services_.ansi),
                   Decode(conversation.name(), services_.ansi), now_, services_.ansi),
           line, now_);
}

}  // namespace ludora::chitter
