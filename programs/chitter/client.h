// The IRC client of one network (RFC 1459, RFC 2812 and the numeric replies
// servers send today), fed lines and time, giving back the lines to send
// and the conversations to show. It registers (PASS, NICK, USER; another
// nick when the server refuses one), answers PING at any time, reads the
// server's features, follows channels, members, nicks, modes and topics,
// shows messages, notices, actions and replies, answers CTCP queries at a
// bounded pace, paces what it sends, and after a reconnection joins its
// channels again and takes its nick back. Names and text from the user come
// as the bytes that go on the wire; what is shown is UTF-8.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "chitter/conversation.h"
#include "chitter/flood_gate.h"
#include "chitter/message.h"
#include "chitter/server_features.h"
#include "chitter/text.h"

namespace ludora::chitter {

struct Profile {
  std::string nick = "Player", altNick, user = "player", realName = "Chitter", password;
  std::vector<std::string> channels;  // joined at every registration: "#chan" or "#chan key"
};

struct ClientOptions {
  bool sendAnsi = false;  // what the user writes goes out in the ANSI code page
  std::size_t scrollback = 1000;
};

// Told of every line a conversation gets, as it gets it (the logs).
class LineObserver {
 public:
  virtual ~LineObserver() = default;
  virtual void Added(const std::string& network, const Conversation& conversation,
                     const Line& line) = 0;
};

inline constexpr char kVersionReply[] = "Chitter 1.0, Corvane Ludora's chat, on Windows";

class Client {
 public:
  using Conversations = std::vector<std::unique_ptr<Conversation>>;
  // Registered under another nick, it asks for its own after 30 s, then
  // after twice as long each time, up to 15 minutes; and at once when the
  // nick's holder leaves it.
  static constexpr std::uint64_t kFirstRegainMs = 30000, kLongestRegainMs = 15 * 60000;
  // What one network may fill, whatever its server sends: conversations
  // past this go to the server's tab, members past that are not listed.
  static constexpr std::size_t kMaxConversations = 100, kMaxMembers = 50000;

  Client(std::string network, Profile profile, const CodePage& ansi, const ClientOptions& options,
         LineObserver* observer = nullptr);

  // The time for everything that follows.
  void At(const Clock& now) { now_ = now; }

  // The connection: open (registration starts), each line received, gone.
  void Connected();
  void Received(std::string_view line);
  void Lost(std::string_view why);
  // The lines that may go now, without their CR LF.
  std::vector<std::string> Outgoing() { return gate_.Release(now_.ms); }
  // Tries to take the nick back now and then while it has another.
  void Tick();
  bool registered() const { return registered_; }

  // What the user does, in wire bytes.
  void Say(Conversation& to, std::string_view text);
  void Act(Conversation& to, std::string_view text);
  void SendPrivate(std::string_view target, std::string_view text);
  Conversation& OpenQuery(std::string_view nick);
  void Join(std::string_view channels, std::string_view keys);
  void Part(std::string_view channel, std::string_view reason);
  void ChangeNick(std::string_view nick);
  void Topic(std::string_view channel, std::optional<std::string_view> text);
  void Whois(std::string_view nick);
  void Away(std::string_view text);
  void Quit(std::string_view reason);
  void Raw(std::string_view line);
  // The tab goes; a channel's is parted first, the server's stays.
  void Close(Conversation& conversation, std::string_view reason = {});
  // A line of the program's own (UTF-8).
  void Note(Conversation& to, LineKind kind, std::string text);

  const std::string& network() const { return network_; }
  const std::string& nick() const { return nick_; }
  const Profile& profile() const { return profile_; }
  const ServerFeatures& features() const { return features_; }
  Conversation& server() { return *conversations_.front(); }
  const Conversations& conversations() const { return conversations_; }
  Conversation* Find(std::string_view name);
  Conversation* FindId(std::uint32_t id);
  // The conversation the user looks at: replies to what they asked go there.
  void SetActive(const Conversation* conversation);
  // Counts conversations opened, closed and renamed.
  std::uint32_t tabChanges() const { return tabChanges_; }
  // Counts the lines that named the user.
  std::uint64_t mentions() const { return mentions_; }
  // Wire bytes as shown.
  std::string Shown(std::string_view bytes) const { return Decode(bytes, ansi_); }

 private:
  using Handler = void (Client::*)(const Message&, const Prefix&);
  struct Route {
    std::string_view command;
    Handler handle;
  };
  static const Route kRoutes[];

  // client.cpp: registration, sending, conversations.
  void Send(std::string line);
  void SendUrgent(std::string line);
  std::string NickToTry(int attempt) const;
  void TryNextNick();
  void JoinWanted();
  void SendText(std::string_view command, std::string_view target, std::string_view text,
                bool action);
  std::size_t TextRoom(std::string_view command, std::string_view target) const;
  // The conversation of that name, opened if need be; the server's when too many are open.
  Conversation& Open(Conversation::Kind kind, std::string_view name);
  bool RoomForMembers() const;
  void Add(Conversation& to, Line line, Activity activity);
  void Event(Conversation& to, std::string text);
  Conversation& Active();
  bool IsMe(std::string_view nick) const { return features_.Same(nick, nick_); }
  bool Names(std::string_view text) const;
  void NickFreed(std::string_view nick);

  // client_replies.cpp: what the server sends.
  void OnPing(const Message& m, const Prefix& from);
  void OnPong(const Message& m, const Prefix& from);
  void OnError(const Message& m, const Prefix& from);
  void OnWelcome(const Message& m, const Prefix& from);
  void OnFeatures(const Message& m, const Prefix& from);
  void OnNickRefused(const Message& m, const Prefix& from);
  void OnJoin(const Message& m, const Prefix& from);
  void OnPart(const Message& m, const Prefix& from);
  void OnKick(const Message& m, const Prefix& from);
  void OnQuit(const Message& m, const Prefix& from);
  void OnNick(const Message& m, const Prefix& from);
  void OnMode(const Message& m, const Prefix& from);
  void OnTopic(const Message& m, const Prefix& from);
  void OnTopicReply(const Message& m, const Prefix& from);
  void OnTopicWho(const Message& m, const Prefix& from);
  void OnNamesReply(const Message& m, const Prefix& from);
  void OnNamesEnd(const Message& m, const Prefix& from);
  void OnPrivmsg(const Message& m, const Prefix& from);
  void OnNotice(const Message& m, const Prefix& from);
  void OnInvite(const Message& m, const Prefix& from);
  void OnAwayState(const Message& m, const Prefix& from);
  void OnWhois(const Message& m, const Prefix& from);
  void OnOther(const Message& m, const Prefix& from);
  void Ctcp(const Prefix& from, std::string_view target, const chitter::Ctcp& ctcp);
  void ApplyChannelModes(Conversation& channel, const Message& m);

  std::string network_;
  Profile profile_;
  const CodePage& ansi_;
  const ClientOptions& options_;
  LineObserver* observer_;
  Clock now_;

  ServerFeatures features_;
  FloodGate gate_;
  Pace ctcpPace_;
  Conversations conversations_;
  std::uint32_t nextId_ = 1;
  std::uint32_t activeId_ = 0;
  std::uint32_t tabChanges_ = 0;
  std::uint64_t mentions_ = 0;

  bool connected_ = false;
  bool registered_ = false;
  int nickAttempt_ = 0;
  std::string nick_;
  std::string userHost_;  // "user@host" as others see the client, once known
  std::uint64_t regainAt_ = 0;
  std::uint64_t regainPause_ = 0;
  bool regaining_ = false;  // a NICK to take the nick back is on its way
};

}  // namespace ludora::chitter
