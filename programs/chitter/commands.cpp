// What the user types: text for the tab's conversation, or a command as
// users of IRC clients type them. A command the program does not know goes
// to the server as it was typed ("/mode #chan +m" sends "MODE #chan +m").
#include <algorithm>

#include "chitter/chat.h"

namespace ludora::chitter {

namespace {

struct Context {
  Chat& chat;
  Chat::Tab tab;
  Session* session;  // nothing in the home tab
  Conversation& conversation;
  std::string_view args;  // wire bytes
  const Clock& now;
};

std::string_view FirstWord(std::string_view& rest) {
  while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
  const auto blank = rest.find(' ');
  const std::string_view word = rest.substr(0, blank);
  rest = blank == std::string_view::npos ? std::string_view() : rest.substr(blank + 1);
  return word;
}

bool NeedsServer(const Context& c) {
  if (c.session) return true;
  c.chat.Note(c.tab, LineKind::Error, "Not in a network's tab: pick one, or use /server.");
  return false;
}

// The channel the command names first, or the tab's own; `args` loses it.
std::string ChannelOf(const Context& c, std::string_view& args) {
  std::string_view rest = args;
  const std::string_view word = FirstWord(rest);
  if (c.session->client().features().IsChannel(word)) {
    args = rest;
    return std::string(word);
  }
  return c.conversation.kind() == Conversation::Kind::Channel ? c.conversation.name() : "";
}

void Select(const Context& c, const Conversation& conversation) {
  c.chat.Select(c.chat.TabOf(*c.session, conversation));
}

void Usage(const Context& c, const char* usage) {
  c.chat.Note(c.tab, LineKind::Error, std::string("Usage: ") + usage);
}

void Join(const Context& c) {
  std::string_view rest = c.args;
  std::string channels(FirstWord(rest));
  const std::string_view keys = FirstWord(rest);
  if (channels.empty()) return Usage(c, "/join #channel[,#channel] [key[,key]]");
  Client& client = c.session->client();
  if (!client.features().IsChannel(channels)) channels.insert(0, "#");
  client.Join(channels, keys);
  const std::string first = channels.substr(0, channels.find(','));
  if (Conversation* joined = client.Find(first)) Select(c, *joined);
}

void Part(const Context& c) {
  std::string_view reason = c.args;
  const std::string channel = ChannelOf(c, reason);
  if (channel.empty()) return Usage(c, "/part [#channel] [reason]");
  Client& client = c.session->client();
  if (Conversation* open = client.Find(channel)) return client.Close(*open, reason);
  client.Part(channel, reason);
}

void Msg(const Context& c) {
  std::string_view text = c.args;
  const std::string_view target = FirstWord(text);
  if (target.empty() || text.empty()) return Usage(c, "/msg <nick or #channel> <text>");
  c.session->client().SendPrivate(target, text);
}

void Query(const Context& c) {
  std::string_view text = c.args;
  const std::string_view nick = FirstWord(text);
  if (nick.empty() || c.session->client().features().IsChannel(nick))
    return Usage(c, "/query <nick> [text]");
  Conversation& query = c.session->client().OpenQuery(nick);
  Select(c, query);
  if (!text.empty()) c.session->client().Say(query, text);
}

void Me(const Context& c) {
  if (c.args.empty()) return Usage(c, "/me <action>");
  c.session->client().Act(c.conversation, c.args);
}

void Nick(const Context& c) {
  std::string_view rest = c.args;
  const std::string_view nick = FirstWord(rest);
  if (nick.empty()) return Usage(c, "/nick <new nick>");
  c.session->client().ChangeNick(nick);
}

void Topic(const Context& c) {
  std::string_view text = c.args;
  const std::string channel = ChannelOf(c, text);
  if (channel.empty()) return Usage(c, "/topic [#channel] [new topic]");
  c.session->client().Topic(channel, text.empty() ? std::nullopt : std::optional(text));
}

void Whois(const Context& c) {
  std::string_view rest = c.args;
  const std::string_view nick = FirstWord(rest);
  if (nick.empty()) return Usage(c, "/whois <nick>");
  c.session->client().Whois(nick);
}

void Away(const Context& c) {
  c.session->client().Away(c.args);
}

void Quit(const Context& c) {
  c.session->Stop(c.args.empty() ? "Leaving" : c.args, c.now);
}

void Raw(const Context& c) {
  if (c.args.empty()) return Usage(c, "/raw <line for the server>");
  c.session->client().Raw(c.args);
}

void Close(const Context& c) {
  c.chat.CloseTab(c.tab, c.now);
}

void Server(const Context& c) {
  std::string_view rest = c.args;
  const auto server = ServerName::Parse(FirstWord(rest));
  if (!server) return Usage(c, "/server <host>[:port] [password]");
  c.chat.ConnectTo(*server, FirstWord(rest), c.now);
}

void Help(const Context& c) {
  for (const char* line :
       {"/join #channel [key]   /part [#channel] [reason]   /close (this tab)",
        "/msg <nick> <text>   /query <nick> [text]   /me <action>   /notice via /raw",
        "/nick <nick>   /topic [#channel] [text]   /whois <nick>   /away [text]",
        "/server <host>[:port] [password]   /quit [reason]   /raw <line>",
        "Other /commands go to the server as typed. Tab completes nicks; Up and Down recall "
        "lines."}) {
    c.chat.Note(c.tab, LineKind::Info, line);
  }
}

struct Command {
  std::string_view name;
  void (*run)(const Context&);
  bool needsServer;
};

constexpr Command kCommands[] = {
    {"join", Join, true},      {"j", Join, true},     {"part", Part, true},
    {"leave", Part, true},     {"msg", Msg, true},    {"query", Query, true},
    {"me", Me, true},          {"nick", Nick, true},  {"topic", Topic, true},
    {"whois", Whois, true},    {"away", Away, true},  {"quit", Quit, true},
    {"raw", Raw, true},        {"quote", Raw, true},  {"close", Close, false},
    {"server", Server, false}, {"help", Help, false},
};

}  // namespace

void Chat::Input(std::string_view text, const Clock& now) {
  now_ = now;
  const std::string wire = ToWire(text);
  Session* session = SessionOf(selected_);
  Conversation& conversation = ConversationOf(selected_);
  if (session) session->client().At(now);
  std::string_view line = wire;
  if (line.empty()) return;
  if (line.front() != '/' || line.starts_with("//")) {
    if (line.starts_with("//")) line.remove_prefix(1);
    if (session) return session->client().Say(conversation, line);
    return Note(selected_, LineKind::Error, "Pick a channel's or a person's tab to talk.");
  }
  line.remove_prefix(1);
  const std::string_view word = FirstWord(line);
  std::string name(word);
  std::ranges::transform(name, name.begin(), [](char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
  });
  const Context context{*this, selected_, session, conversation, line, now};
  const auto command = std::ranges::find(kCommands, name, &Command::name);
  if (command != std::end(kCommands)) {
    if (command->needsServer && !NeedsServer(context)) return;
    return command->run(context);
  }
  if (!NeedsServer(context)) return;
  std::string upper(word);
  std::ranges::transform(upper, upper.begin(), [](char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
  });
  session->client().Raw(upper + (line.empty() ? "" : " " + std::string(line)));
}

}  // namespace ludora::chitter
