#include "chitter/client.h"

#include <algorithm>

namespace ludora::chitter {

namespace {

constexpr std::size_t kMaxLine = 510;  // 512 with CR LF
constexpr int kMaxNickAttempts = 100;
// What others see before the client knows: "~" and a 9-byte user name, the
// longest host name.
constexpr std::size_t kUnknownUserHost = 10 + 1 + 63;

bool IsNickChar(char c, bool first) {
  if ((c >= 'A' && c <= '}') || c == '_') return true;  // letters and []\`^{|}
  return !first && ((c >= '0' && c <= '9') || c == '-');
}

// The characters of `nick` a server takes, the first one a letter or special.
std::string Sanitized(std::string_view nick) {
  std::string out;
  for (const char c : nick) {
    if (IsNickChar(c, out.empty())) out += c;
  }
  return out.empty() ? "Guest" : out;
}

// The pieces of `text`, each at most `room` bytes: cut after a blank in the
// last third of the room where there is one, else at the room's end, never
// inside a UTF-8 character.
std::vector<std::string_view> Pieces(std::string_view text, std::size_t room, bool utf8) {
  std::vector<std::string_view> pieces;
  while (text.size() > room) {
    std::size_t cut = room;
    const auto blank = text.substr(0, room).rfind(' ');
    if (blank != std::string_view::npos && blank >= room * 2 / 3) {
      cut = blank + 1;
    } else if (utf8) {
      while (cut > 1 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    }
    pieces.push_back(text.substr(0, cut));
    text.remove_prefix(cut);
  }
  if (!text.empty()) pieces.push_back(text);
  return pieces;
}

}  // namespace

Client::Client(std::string network, Profile profile, const CodePage& ansi,
               const ClientOptions& options, LineObserver* observer)
    : network_(std::move(network)),
      profile_(std::move(profile)),
      ansi_(ansi),
      options_(options),
      observer_(observer),
      nick_(profile_.nick) {
  conversations_.push_back(
      std::make_unique<Conversation>(Conversation::Kind::Server, network_, nextId_++));
}

// ---- The connection.

void Client::Connected() {
  connected_ = true, registered_ = false, regaining_ = false;
  gate_.Clear();
  features_ = {};
  nickAttempt_ = 0;
  nick_ = NickToTry(0);
  if (!profile_.password.empty()) Send(BuildMessage("PASS", {profile_.password}));
  Send(BuildMessage("NICK", {nick_}));
  Send(BuildMessage("USER", {Sanitized(profile_.user), "0", "*", profile_.realName}));
}

void Client::Lost(std::string_view why) {
  const bool wasConnected = connected_;
  connected_ = false, registered_ = false;
  gate_.Clear();
  for (const auto& conversation : conversations_) {
    const bool shown = conversation->joined || conversation->kind() == Conversation::Kind::Server;
    if (conversation->kind() == Conversation::Kind::Channel) {
      conversation->joined = false;
      conversation->ClearMembers();
      conversation->namesDone = true;
    }
    if (shown && wasConnected) Event(*conversation, "Disconnected: " + std::string(why));
  }
}

void Client::Tick() {
  if (!registered_ || features_.Same(nick_, profile_.nick) || now_.ms < regainAt_) return;
  regaining_ = true;
  Send(BuildMessage("NICK", {profile_.nick}));
  regainPause_ = std::min(regainPause_ * 2, kLongestRegainMs);
  regainAt_ = now_.ms + regainPause_;
}

// ---- Registration.

void Client::Send(std::string line) {
  if (line.size() > kMaxLine) line.resize(kMaxLine);
  if (!gate_.Queue(std::move(line)))
    Note(server(), LineKind::Error, "Too much is waiting to be sent: a line was dropped.");
}

void Client::SendUrgent(std::string line) {
  if (line.size() > kMaxLine) line.resize(kMaxLine);
  gate_.QueueUrgent(std::move(line));
}

// The nick, the other nick, then the nick cut to leave room for a number.
std::string Client::NickToTry(int attempt) const {
  const bool other = !profile_.altNick.empty() && profile_.altNick != profile_.nick;
  if (attempt == 0) return profile_.nick;
  if (attempt == 1 && other) return profile_.altNick;
  const std::string number = std::to_string(other ? attempt - 1 : attempt);
  const std::size_t room =
      features_.nickLength() > number.size() ? features_.nickLength() - number.size() : 1;
  return Sanitized(profile_.nick).substr(0, room) + number;
}

void Client::TryNextNick() {
  if (++nickAttempt_ > kMaxNickAttempts) {
    return Note(server(), LineKind::Error, "No nick was accepted; give one with /nick.");
  }
  const std::string refused = nick_;
  nick_ = NickToTry(nickAttempt_);
  Note(server(), LineKind::Info,
       "The nick " + Shown(refused) + " was refused; trying " + Shown(nick_) + ".");
  Send(BuildMessage("NICK", {nick_}));
}

// The channels of the settings and those the user was in, in as few JOIN
// lines as fit; channels with a key first, as the keys go in order. A
// channel the client knows no key of takes the one the settings give it.
void Client::JoinWanted() {
  std::vector<std::pair<std::string, std::string>> wanted;  // channel, key
  const auto want = [&](std::string_view channel, std::string_view key) {
    if (channel.empty()) return;
    const auto known = std::ranges::find_if(
        wanted, [&](const auto& entry) { return features_.Same(entry.first, channel); });
    if (known == wanted.end()) {
      wanted.emplace_back(channel, key);
    } else if (known->second.empty()) {
      known->second = key;
    }
  };
  for (const auto& conversation : conversations_) {
    if (conversation->wanted) want(conversation->name(), conversation->key);
  }
  for (const std::string& entry : profile_.channels) {
    const auto blank = entry.find(' ');
    want(std::string_view(entry).substr(0, blank), blank == std::string::npos
                                                       ? std::string_view()
                                                       : std::string_view(entry).substr(blank + 1));
  }
  std::string channels, keys;
  const auto flush = [&] {
    if (!channels.empty()) Send("JOIN " + channels + (keys.empty() ? "" : " " + keys));
    channels.clear(), keys.clear();
  };
  for (const bool keyed : {true, false}) {
    for (const auto& [channel, key] : wanted) {
      if (key.empty() == keyed) continue;
      if (5 + channels.size() + keys.size() + channel.size() + key.size() + 3 > kMaxLine) flush();
      channels += (channels.empty() ? "" : ",") + channel;
      if (!key.empty()) keys += (keys.empty() ? "" : ",") + key;
    }
  }
  flush();
}

// ---- What the user does.

// Room for text in "<prefix> <command> <target> :<text>", as the server
// sends it on to others.
std::size_t Client::TextRoom(std::string_view command, std::string_view target) const {
  const std::size_t userHost = userHost_.empty() ? kUnknownUserHost : userHost_.size();
  const std::size_t used =
      1 + nick_.size() + 1 + userHost + 1 + command.size() + 1 + target.size() + 2;
  return used < kMaxLine ? kMaxLine - used : 0;
}

void Client::SendText(std::string_view command, std::string_view target, std::string_view text,
                      bool action) {
  const std::size_t wrapping = action ? 9 : 0;  // "\x01ACTION " and "\x01"
  const std::size_t room = TextRoom(command, target);
  if (room <= wrapping + 8)
    return Note(Active(), LineKind::Error, "The target's name is too long.");
  for (const std::string_view piece : Pieces(text, room - wrapping, !options_.sendAnsi)) {
    const std::string body = action ? BuildCtcp("ACTION", piece) : std::string(piece);
    Send(BuildMessage(command, {std::string(target), body}));
  }
}

void Client::Say(Conversation& to, std::string_view text) {
  if (to.kind() == Conversation::Kind::Server)
    return Note(to, LineKind::Error, "This is the server's tab: join a channel or open a query.");
  if (!registered_) return Note(to, LineKind::Error, "Not connected.");
  if (to.kind() == Conversation::Kind::Channel && !to.joined)
    return Note(to, LineKind::Error, "You are not in this channel.");
  SendText("PRIVMSG", to.name(), text, false);
  Line line = StampedLine(now_, LineKind::Message, Shown(nick_), Shown(text));
  line.own = true;
  Add(to, std::move(line), Activity::None);
}

void Client::Act(Conversation& to, std::string_view text) {
  if (to.kind() == Conversation::Kind::Server || !registered_ ||
      (to.kind() == Conversation::Kind::Channel && !to.joined)) {
    return Note(to, LineKind::Error, "Not in a conversation that can hear you.");
  }
  SendText("PRIVMSG", to.name(), text, true);
  Line line = StampedLine(now_, LineKind::Action, Shown(nick_), Shown(text));
  line.own = true;
  Add(to, std::move(line), Activity::None);
}

void Client::SendPrivate(std::string_view target, std::string_view text) {
  if (!registered_) return Note(Active(), LineKind::Error, "Not connected.");
  SendText("PRIVMSG", target, text, false);
  if (Conversation* open = Find(target)) {
    Line line = StampedLine(now_, LineKind::Message, Shown(nick_), Shown(text));
    line.own = true;
    return Add(*open, std::move(line), Activity::None);
  }
  Note(Active(), LineKind::Info, "-> " + Shown(target) + ": " + Shown(text));
}

Conversation& Client::OpenQuery(std::string_view nick) {
  return Open(Conversation::Kind::Query, nick);
}

void Client::Join(std::string_view channels, std::string_view keys) {
  std::string_view names = channels, rest = keys;
  while (!names.empty()) {
    const auto comma = names.find(','), keyComma = rest.find(',');
    const std::string_view channel = names.substr(0, comma);
    if (features_.IsChannel(channel)) {
      Conversation& conversation = Open(Conversation::Kind::Channel, channel);
      conversation.wanted = conversation.kind() == Conversation::Kind::Channel;
      if (!rest.empty()) conversation.key = rest.substr(0, keyComma);
    }
    names = comma == std::string_view::npos ? std::string_view() : names.substr(comma + 1);
    rest = keyComma == std::string_view::npos ? std::string_view() : rest.substr(keyComma + 1);
  }
  // Before registration the channels are joined with the others when it ends.
  if (registered_) {
    Send(keys.empty() ? BuildMessage("JOIN", {std::string(channels)})
                      : BuildMessage("JOIN", {std::string(channels), std::string(keys)}));
  }
}

void Client::Part(std::string_view channel, std::string_view reason) {
  if (Conversation* conversation = Find(channel)) conversation->wanted = false;
  if (!registered_) return;
  Send(reason.empty() ? BuildMessage("PART", {std::string(channel)})
                      : BuildMessage("PART", {std::string(channel), std::string(reason)}));
}

void Client::ChangeNick(std::string_view nick) {
  if (nick.empty()) return;
  if (!registered_) nick_ = nick;
  if (connected_) Send(BuildMessage("NICK", {std::string(nick)}));
}

void Client::Topic(std::string_view channel, std::optional<std::string_view> text) {
  if (!registered_) return Note(Active(), LineKind::Error, "Not connected.");
  Send(text ? BuildMessage("TOPIC", {std::string(channel), std::string(*text)})
            : BuildMessage("TOPIC", {std::string(channel)}));
}

void Client::Whois(std::string_view nick) {
  if (!registered_) return Note(Active(), LineKind::Error, "Not connected.");
  Send(BuildMessage("WHOIS", {std::string(nick)}));
}

void Client::Away(std::string_view text) {
  if (!registered_) return Note(Active(), LineKind::Error, "Not connected.");
  Send(text.empty() ? std::string("AWAY") : BuildMessage("AWAY", {std::string(text)}));
}

void Client::Quit(std::string_view reason) {
  if (connected_) SendUrgent(reason.empty() ? "QUIT" : BuildMessage("QUIT", {std::string(reason)}));
}

void Client::Raw(std::string_view line) {
  if (!connected_) return Note(Active(), LineKind::Error, "Not connected.");
  if (const auto message = ParseMessage(line))
    Send(BuildMessage(message->command, message->params).substr(0, kMaxLine));
}

void Client::Close(Conversation& conversation, std::string_view reason) {
  if (conversation.kind() == Conversation::Kind::Server) return;
  if (conversation.kind() == Conversation::Kind::Channel) Part(conversation.name(), reason);
  if (conversation.id() == activeId_) activeId_ = 0;
  std::erase_if(conversations_, [&](const auto& open) { return open.get() == &conversation; });
  ++tabChanges_;
}

// ---- Conversations.

Conversation* Client::Find(std::string_view name) {
  for (const auto& conversation : conversations_) {
    if (conversation->kind() != Conversation::Kind::Server &&
        features_.Same(conversation->name(), name)) {
      return conversation.get();
    }
  }
  return nullptr;
}

Conversation* Client::FindId(std::uint32_t id) {
  for (const auto& conversation : conversations_) {
    if (conversation->id() == id) return conversation.get();
  }
  return nullptr;
}

void Client::SetActive(const Conversation* conversation) {
  activeId_ = conversation ? conversation->id() : 0;
}

Conversation& Client::Active() {
  Conversation* active = FindId(activeId_);
  return active ? *active : server();
}

Conversation& Client::Open(Conversation::Kind kind, std::string_view name) {
  if (Conversation* open = Find(name)) return *open;
  if (conversations_.size() >= kMaxConversations) return server();
  conversations_.push_back(std::make_unique<Conversation>(kind, std::string(name), nextId_++));
  ++tabChanges_;
  return *conversations_.back();
}

bool Client::RoomForMembers() const {
  std::size_t members = 0;
  for (const auto& conversation : conversations_) members += conversation->memberCount();
  return members < kMaxMembers;
}

void Client::Add(Conversation& to, Line line, Activity activity) {
  if (line.mention) ++mentions_;
  if (to.id() != activeId_) to.Raise(activity);
  if (observer_) observer_->Added(network_, to, line);
  to.Add(std::move(line), options_.scrollback);
}

void Client::Note(Conversation& to, LineKind kind, std::string text) {
  Add(to, StampedLine(now_, kind, "", std::move(text)),
      kind == LineKind::Error ? Activity::Messages : Activity::Events);
}

void Client::Event(Conversation& to, std::string text) {
  Add(to, StampedLine(now_, LineKind::Event, "", std::move(text)), Activity::Events);
}

// Whether `text` names the user's nick as a word of its own.
bool Client::Names(std::string_view text) const {
  const std::string folded = features_.Fold(text), nick = features_.Fold(nick_);
  if (nick.empty()) return false;
  for (auto at = folded.find(nick); at != std::string::npos; at = folded.find(nick, at + 1)) {
    const auto end = at + nick.size();
    const bool before = at == 0 || !IsNickChar(folded[at - 1], false);
    const bool after = end == folded.size() || !IsNickChar(folded[end], false);
    if (before && after) return true;
  }
  return false;
}

// Someone left the nick the user wants: it is taken back at once.
void Client::NickFreed(std::string_view nick) {
  if (!registered_ || !features_.Same(nick, profile_.nick) || features_.Same(nick_, profile_.nick))
    return;
  regaining_ = true;
  Send(BuildMessage("NICK", {profile_.nick}));
}

}  // namespace ludora::chitter
