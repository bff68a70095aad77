// What the server sends, each command or numeric reply to its handler.
#include <algorithm>
#include <charconv>
#include <cstdio>

#include "chitter/client.h"

namespace ludora::chitter {

namespace {

// "2026-12-10 00:31 UTC" for seconds since 1970; empty for what is not a number.
std::string UtcDate(std::string_view seconds) {
  long long value = 0;
  const auto [end, error] = std::from_chars(seconds.data(), seconds.data() + seconds.size(), value);
  if (error != std::errc{} || end != seconds.data() + seconds.size() || value < 0) return {};
  const long long days = value / 86400, minutes = value % 86400 / 60;
  // Days to a civil date (H. Hinnant's algorithm, from 1970-01-01).
  const long long z = days + 719468, era = z / 146097, doe = z - era * 146097;
  const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100), mp = (5 * doy + 2) / 153;
  const long long day = doy - (153 * mp + 2) / 5 + 1, month = mp < 10 ? mp + 3 : mp - 9;
  const long long year = yoe + era * 400 + (month <= 2);
  char text[96];
  std::snprintf(text, sizeof text, "%04lld-%02lld-%02lld %02lld:%02lld UTC", year, month, day,
                minutes / 60, minutes % 60);
  return text;
}

// The parameters from `first` on, with blanks between.
std::string Joined(const Message& m, std::size_t first) {
  std::string text;
  for (std::size_t i = first; i < m.params.size(); ++i) {
    if (!text.empty()) text += ' ';
    text += m.params[i];
  }
  return text;
}

}  // namespace

const Client::Route Client::kRoutes[] = {
    {"PING", &Client::OnPing},       {"PONG", &Client::OnPong},
    {"ERROR", &Client::OnError},     {"001", &Client::OnWelcome},
    {"005", &Client::OnFeatures},    {"432", &Client::OnNickRefused},
    {"433", &Client::OnNickRefused}, {"436", &Client::OnNickRefused},
    {"437", &Client::OnNickRefused}, {"JOIN", &Client::OnJoin},
    {"PART", &Client::OnPart},       {"KICK", &Client::OnKick},
    {"QUIT", &Client::OnQuit},       {"NICK", &Client::OnNick},
    {"MODE", &Client::OnMode},       {"TOPIC", &Client::OnTopic},
    {"331", &Client::OnTopicReply},  {"332", &Client::OnTopicReply},
    {"333", &Client::OnTopicWho},    {"353", &Client::OnNamesReply},
    {"366", &Client::OnNamesEnd},    {"PRIVMSG", &Client::OnPrivmsg},
    {"NOTICE", &Client::OnNotice},   {"INVITE", &Client::OnInvite},
    {"301", &Client::OnAwayState},   {"305", &Client::OnAwayState},
    {"306", &Client::OnAwayState},   {"311", &Client::OnWhois},
    {"312", &Client::OnWhois},       {"313", &Client::OnWhois},
    {"317", &Client::OnWhois},       {"318", &Client::OnWhois},
    {"319", &Client::OnWhois},       {"320", &Client::OnWhois},
    {"330", &Client::OnWhois},       {"338", &Client::OnWhois},
    {"378", &Client::OnWhois},       {"671", &Client::OnWhois},
};

void Client::Received(std::string_view line) {
  const auto message = ParseMessage(line);
  if (!message) return Note(server(), LineKind::Info, Shown(line));
  const Prefix from = ParsePrefix(message->prefix);
  for (const Route& route : kRoutes) {
    if (route.command == message->command) return (this->*route.handle)(*message, from);
  }
  OnOther(*message, from);
}

void Client::OnPing(const Message& m, const Prefix&) {
  SendUrgent(m.params.empty() ? std::string("PONG") : BuildMessage("PONG", {m.Last()}));
}

void Client::OnPong(const Message&, const Prefix&) {}  // the connection's silence is over, no more

void Client::OnError(const Message& m, const Prefix&) {
  Note(server(), LineKind::Error, "The server says: " + Shown(m.Param(0)));
}

void Client::OnWelcome(const Message& m, const Prefix& from) {
  registered_ = true;
  if (!m.Param(0).empty()) nick_ = m.Param(0);
  // "Welcome to the Internet Relay Network nick!user@host"
  const std::string& text = m.Last();
  const Prefix me = ParsePrefix(text.substr(text.rfind(' ') + 1));
  if (IsMe(me.nick) && !me.user.empty()) userHost_ = me.user + '@' + me.host;
  if (!features_.Same(nick_, profile_.nick)) regainAt_ = now_.ms + kFirstRegainMs;
  regainPause_ = kFirstRegainMs;
  OnOther(m, from);
  JoinWanted();
}

void Client::OnFeatures(const Message& m, const Prefix& from) {
  const CaseMapping before = features_.caseMapping();
  features_.Apply(m);
  if (features_.caseMapping() != before) {
    for (const auto& conversation : conversations_) conversation->FoldMembersAgain(features_);
  }
  OnOther(m, from);
}

void Client::OnNickRefused(const Message& m, const Prefix& from) {
  if (!registered_) return TryNextNick();
  if (regaining_ && features_.Same(m.Param(1), profile_.nick)) {
    regaining_ = false;  // still taken: tried again later, quietly
    return;
  }
  OnOther(m, from);
}

void Client::OnJoin(const Message& m, const Prefix& from) {
  const std::string& channel = m.Param(0);
  if (IsMe(from.nick)) {
    Conversation& conversation = Open(Conversation::Kind::Channel, channel);
    if (conversation.kind() != Conversation::Kind::Channel)
      return Note(conversation, LineKind::Error, "Too many tabs: " + Shown(channel) + " not shown");
    conversation.joined = conversation.wanted = true;
    conversation.ClearMembers();
    conversation.SetTopic({});  // the server tells the topic next, when there is one
    conversation.namesDone = true;
    if (!from.user.empty()) userHost_ = from.user + '@' + from.host;
    return Event(conversation, "You have joined " + Shown(channel));
  }
  Conversation* conversation = Find(channel);
  if (!conversation) return;
  if (RoomForMembers()) conversation->PutMember(features_.Fold(from.nick), {from.nick, {}});
  Event(*conversation,
        Shown(from.nick) + " (" + Shown(from.user) + "@" + Shown(from.host) + ") has joined");
}

void Client::OnPart(const Message& m, const Prefix& from) {
  Conversation* conversation = Find(m.Param(0));
  if (!conversation) return;
  const std::string reason = m.params.size() > 1 ? " (" + Shown(m.Param(1)) + ")" : "";
  if (IsMe(from.nick)) {
    conversation->joined = false;
    conversation->ClearMembers();
    return Event(*conversation, "You have left" + reason);
  }
  conversation->RemoveMember(features_.Fold(from.nick));
  Event(*conversation, Shown(from.nick) + " has left" + reason);
}

void Client::OnKick(const Message& m, const Prefix& from) {
  Conversation* conversation = Find(m.Param(0));
  if (!conversation) return;
  const std::string& victim = m.Param(1);
  const std::string reason = m.params.size() > 2 ? " (" + Shown(m.Param(2)) + ")" : "";
  if (IsMe(victim)) {
    conversation->joined = conversation->wanted = false;
    conversation->ClearMembers();
    Line line =
        StampedLine(now_, LineKind::Event, "", "You were kicked by " + Shown(from.nick) + reason);
    line.mention = true;
    return Add(*conversation, std::move(line), Activity::Mention);
  }
  conversation->RemoveMember(features_.Fold(victim));
  Event(*conversation, Shown(victim) + " was kicked by " + Shown(from.nick) + reason);
}

void Client::OnQuit(const Message& m, const Prefix& from) {
  if (IsMe(from.nick)) return;
  const std::string folded = features_.Fold(from.nick);
  const std::string text = Shown(from.nick) + " has quit (" + Shown(m.Param(0)) + ")";
  for (const auto& conversation : conversations_) {
    const bool query = conversation->kind() == Conversation::Kind::Query &&
                       features_.Same(conversation->name(), from.nick);
    if (conversation->RemoveMember(folded) || query) Event(*conversation, text);
  }
  NickFreed(from.nick);
}

void Client::OnNick(const Message& m, const Prefix& from) {
  const std::string& after = m.Param(0);
  if (after.empty()) return;
  const bool me = IsMe(from.nick);
  if (me) nick_ = after, regaining_ = false;
  const std::string folded = features_.Fold(from.nick),
                    text = me ? "You are now known as " + Shown(after)
                              : Shown(from.nick) + " is now known as " + Shown(after);
  for (const auto& conversation : conversations_) {
    Member* member = conversation->FindMember(folded);
    if (member) {
      Member renamed{after, member->status};
      conversation->RemoveMember(folded);
      conversation->PutMember(features_.Fold(after), std::move(renamed));
    }
    const bool query = conversation->kind() == Conversation::Kind::Query &&
                       features_.Same(conversation->name(), from.nick);
    if (query && !Find(after)) {
      conversation->Rename(after);
      ++tabChanges_;
    }
    if (member || query || (me && conversation->kind() == Conversation::Kind::Server))
      Event(*conversation, text);
  }
  if (!me) NickFreed(from.nick);
}

void Client::OnMode(const Message& m, const Prefix& from) {
  const std::string& target = m.Param(0);
  const std::string who = Shown(from.nick.empty() ? m.prefix : from.nick);
  Conversation* channel = features_.IsChannel(target) ? Find(target) : nullptr;
  if (!channel)
    return Event(server(), who + " sets mode " + Shown(Joined(m, 1)) + " on " + Shown(target));
  ApplyChannelModes(*channel, m);
  Event(*channel, who + " sets mode " + Shown(Joined(m, 1)));
}

// "+ov-v a b c": each letter takes its parameter in turn where it takes one;
// the status letters change the members' symbols, and a new key is the one
// the channel is joined with again.
void Client::ApplyChannelModes(Conversation& channel, const Message& m) {
  bool set = true;
  std::size_t next = 2;
  for (const char mode : m.Param(1)) {
    if (mode == '+' || mode == '-') {
      set = mode == '+';
      continue;
    }
    const std::string parameter = features_.TakesParameter(mode, set) ? m.Param(next++) : "";
    if (mode == 'k' && (!set || (!parameter.empty() && parameter != "*")))
      channel.key = set ? parameter : "";
    const char symbol = features_.SymbolOf(mode);
    Member* member = symbol ? channel.FindMember(features_.Fold(parameter)) : nullptr;
    if (!member) continue;
    Member changed = *member;
    std::erase(changed.status, symbol);
    if (set) {
      const auto at = std::ranges::find_if(
          changed.status, [&](char held) { return features_.Rank(held) > features_.Rank(symbol); });
      changed.status.insert(at, symbol);
    }
    channel.PutMember(features_.Fold(parameter), std::move(changed));
  }
}

void Client::OnTopic(const Message& m, const Prefix& from) {
  Conversation* channel = Find(m.Param(0));
  if (!channel) return;
  channel->SetTopic(Shown(m.Param(1)));
  Event(*channel, Shown(from.nick) + " changed the topic to: " + Shown(m.Param(1)));
}

// 331 "<me> <channel> :No topic is set", 332 "<me> <channel> :<topic>"
void Client::OnTopicReply(const Message& m, const Prefix& from) {
  Conversation* channel = Find(m.Param(1));
  if (!channel) return OnOther(m, from);
  const bool none = m.Numeric() == 331;
  channel->SetTopic(none ? std::string() : Shown(m.Param(2)));
  Event(*channel, none ? "No topic is set" : "Topic: " + Shown(m.Param(2)));
}

// 333 "<me> <channel> <who> <time>"
void Client::OnTopicWho(const Message& m, const Prefix& from) {
  Conversation* channel = Find(m.Param(1));
  if (!channel) return OnOther(m, from);
  const std::string when = UtcDate(m.Param(3));
  Event(*channel, "Topic set by " + Shown(ParsePrefix(m.Param(2)).nick) +
                      (when.empty() ? "" : " on " + when));
}

// 353 "<me> <type> <channel> :[status]nick ...", the type left out by some servers.
void Client::OnNamesReply(const Message& m, const Prefix& from) {
  const std::string& channelName = features_.IsChannel(m.Param(1)) ? m.Param(1) : m.Param(2);
  Conversation* channel = Find(channelName);
  if (!channel || !channel->joined) return OnOther(m, from);
  if (channel->namesDone) channel->ClearMembers();
  channel->namesDone = false;
  std::string_view names = m.Last();
  while (!names.empty()) {
    const auto blank = names.find(' ');
    std::string_view entry = names.substr(0, blank);
    names = blank == std::string_view::npos ? std::string_view() : names.substr(blank + 1);
    const auto symbols = std::min(entry.find_first_not_of(features_.symbols()), entry.size());
    const std::string nick(entry.substr(symbols, entry.find('!') - symbols));  // userhost-in-names
    if (nick.empty() || !RoomForMembers()) continue;
    Member member{nick, std::string(entry.substr(0, symbols))};
    std::ranges::sort(member.status, {}, [&](char s) { return features_.Rank(s); });
    channel->PutMember(features_.Fold(nick), std::move(member));
  }
}

void Client::OnNamesEnd(const Message& m, const Prefix& from) {
  Conversation* channel = Find(m.Param(1));
  if (!channel || !channel->joined) return OnOther(m, from);
  channel->namesDone = true;
}

void Client::OnPrivmsg(const Message& m, const Prefix& from) {
  if (m.params.size() < 2) return OnOther(m, from);
  std::string_view target = m.Param(0);
  const std::string& text = m.Param(1);
  const auto ctcp = ParseCtcp(text);
  if (ctcp && ctcp->command != "ACTION") return Ctcp(from, target, *ctcp);
  // "@#channel": to the channel's operators only.
  while (target.size() > 1 && features_.Rank(target.front()) < features_.symbols().size() &&
         features_.IsChannel(target.substr(1))) {
    target.remove_prefix(1);
  }
  Conversation* to = nullptr;
  if (features_.IsChannel(target)) {
    to = Find(target);
  } else if (from.nick.empty() || from.server) {
    to = &server();
  } else {
    to = &OpenQuery(IsMe(target) ? std::string_view(from.nick) : target);  // or the user's own
  }
  if (!to) to = &server();
  Line line = StampedLine(now_, ctcp ? LineKind::Action : LineKind::Message, Shown(from.nick),
                          Shown(ctcp ? std::string_view(ctcp->argument) : std::string_view(text)));
  line.own = IsMe(from.nick);
  line.mention = !line.own && (to->kind() == Conversation::Kind::Query || Names(text));
  const Activity activity = line.mention ? Activity::Mention : Activity::Messages;
  Add(*to, std::move(line), activity);
}

void Client::OnNotice(const Message& m, const Prefix& from) {
  if (m.params.size() < 2) return OnOther(m, from);
  const std::string& target = m.Param(0);
  const std::string& text = m.Param(1);
  const std::string who = Shown(from.nick.empty() ? m.prefix : from.nick);
  if (const auto ctcp = ParseCtcp(text)) {
    return Note(
        Active(), LineKind::Notice,
        "CTCP " + Shown(ctcp->command) + " reply from " + who + ": " + Shown(ctcp->argument));
  }
  Conversation* to = &server();
  if (features_.IsChannel(target)) {
    if (Conversation* channel = Find(target)) to = channel;
  } else if (registered_ && !from.server && !from.nick.empty()) {
    Conversation* query = Find(from.nick);
    to = query ? query : &Active();
  }
  Line line = StampedLine(now_, LineKind::Notice, who, Shown(text));
  line.mention = to->kind() == Conversation::Kind::Query || (to != &server() && Names(text));
  const Activity activity = line.mention ? Activity::Mention : Activity::Messages;
  Add(*to, std::move(line), activity);
}

void Client::OnInvite(const Message& m, const Prefix& from) {
  Line line = StampedLine(now_, LineKind::Event, "",
                          Shown(from.nick) + " invites you to " + Shown(m.Param(1)) + " (/join " +
                              Shown(m.Param(1)) + ")");
  line.mention = true;
  Add(Active(), std::move(line), Activity::Mention);
}

// 301 "<me> <nick> :<away text>"; 305 and 306 "<me> :<you are (no longer) away>"
void Client::OnAwayState(const Message& m, const Prefix&) {
  if (m.Numeric() != 301) return Note(server(), LineKind::Info, Shown(m.Last()));
  Conversation* query = Find(m.Param(1));
  Note(query ? *query : Active(), LineKind::Info,
       Shown(m.Param(1)) + " is away: " + Shown(m.Param(2)));
}

// The WHOIS replies, "<me> <nick> ...": in the nick's conversation if it is open.
void Client::OnWhois(const Message& m, const Prefix&) {
  const std::string nick = Shown(m.Param(1));
  std::string text;
  switch (m.Numeric()) {
    case 311:
      text = nick + " is " + Shown(m.Param(2)) + "@" + Shown(m.Param(3)) + " (" + Shown(m.Last()) +
             ")";
      break;
    case 312:
      text = nick + " is on " + Shown(m.Param(2)) + " (" + Shown(m.Param(3)) + ")";
      break;
    case 317: {
      const std::string signon = UtcDate(m.Param(3));
      text = nick + " has been idle " + Shown(m.Param(2)) + " s" +
             (signon.empty() ? "" : ", signed on " + signon);
      break;
    }
    case 319:
      text = nick + " is in " + Shown(m.Param(2));
      break;
    default:
      text = nick + " " + Shown(Joined(m, 2));
  }
  Conversation* query = Find(m.Param(1));
  Note(query ? *query : Active(), LineKind::Info, std::move(text));
}

// The rest: a numeric reply about a channel goes to its tab, an error to the
// tab the user looks at, the others to the server's; an unknown command to
// the server's tab as it came.
void Client::OnOther(const Message& m, const Prefix& from) {
  const int numeric = m.Numeric();
  if (numeric < 0) {
    return Note(
        server(), LineKind::Info,
        Shown(from.nick) + (from.nick.empty() ? "" : " ") + m.command + " " + Shown(Joined(m, 0)));
  }
  const bool error = numeric >= 400 && numeric < 600;
  Conversation* about = features_.IsChannel(m.Param(1)) ? Find(m.Param(1)) : nullptr;
  Conversation& to = about ? *about : error ? Active() : server();
  Note(to, error ? LineKind::Error : LineKind::Info, Shown(Joined(m, 1)));
}

// A CTCP query: VERSION, PING, TIME and CLIENTINFO are answered, at most
// three at once and then one every three seconds, and none while the
// user's own lines wait to be sent; the others are only shown.
void Client::Ctcp(const Prefix& from, std::string_view target, const chitter::Ctcp& ctcp) {
  static constexpr std::uint64_t kCostMs = 3000, kAheadMs = 9000;
  std::string reply;
  if (ctcp.command == "VERSION") {
    reply = kVersionReply;
  } else if (ctcp.command == "PING") {
    reply = ctcp.argument.substr(0, 64);
  } else if (ctcp.command == "TIME") {
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", now_.year, now_.month,
                  now_.day, now_.hour, now_.minute, now_.second);
    reply = text;
  } else if (ctcp.command == "CLIENTINFO") {
    reply = "ACTION CLIENTINFO PING TIME VERSION";
  }
  const bool answered = !reply.empty() && !from.nick.empty() && !from.server &&
                        ctcp.command.size() <= 10 && ctcpPace_.Allows(now_.ms, kCostMs, kAheadMs) &&
                        gate_.waiting() < 3;
  if (answered) {
    ctcpPace_.Take(now_.ms, kCostMs);
    Send(BuildMessage("NOTICE", {from.nick, BuildCtcp(ctcp.command, reply)}));
  }
  Note(features_.IsChannel(target) && Find(target) ? *Find(target) : server(), LineKind::Info,
       "CTCP " + Shown(ctcp.command.substr(0, 32)) + " from " + Shown(from.nick) +
           (answered        ? ""
            : reply.empty() ? " (not supported)"
                            : " (not answered: too many)"));
}

}  // namespace ludora::chitter
