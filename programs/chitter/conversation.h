// A conversation the window shows as a tab: a server's, a channel or a
// private one. Its lines (at most the scrollback the settings give), what
// happened in it since the user last looked, and for a channel its topic
// and members.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <unordered_map>
#include <vector>

#include "chitter/server_features.h"

namespace ludora::chitter {

// The time now, as the program takes it from Windows at each event.
struct Clock {
  std::uint64_t ms = 0;  // a steady count of milliseconds
  int year = 2000, month = 1, day = 1, hour = 0, minute = 0, second = 0;  // local time
};

enum class LineKind : std::uint8_t { Message, Action, Notice, Event, Error, Info };

struct Line {
  std::uint8_t hour = 0, minute = 0, second = 0;
  LineKind kind = LineKind::Info;
  bool own = false;      // the user's own words
  bool mention = false;  // someone else's words that name the user
  std::string nick;      // who spoke (messages, actions, notices), UTF-8
  std::string text;      // UTF-8, with mIRC's formatting codes
};

// A line stamped with the clock's time of day.
Line StampedLine(const Clock& at, LineKind kind, std::string nick, std::string text);

// What happened in a conversation since the user last looked at it, least first.
enum class Activity : std::uint8_t { None, Events, Messages, Mention };

struct Member {
  std::string nick;
  std::string status;  // the status symbols held ('@', '+'), highest first
};

class Conversation {
 public:
  enum class Kind : std::uint8_t { Server, Channel, Query };

  Conversation(Kind kind, std::string name, std::uint32_t id);

  Kind kind() const { return kind_; }
  // The channel's or nick's bytes as the server knows them; the network's name.
  const std::string& name() const { return name_; }
  void Rename(std::string name) { name_ = std::move(name), ++changes_; }
  std::uint32_t id() const { return id_; }

  // Adds a line, the oldest going past `scrollback` lines.
  void Add(Line line, std::size_t scrollback);
  const std::deque<Line>& lines() const { return lines_; }
  // How many lines were ever added: a window that showed `added` lines
  // shows the new ones from there.
  std::uint64_t added() const { return added_; }

  Activity activity() const { return activity_; }
  void Raise(Activity activity);
  void Seen() { activity_ = Activity::None; }

  // Counts every change of the name, topic or members, for the window.
  std::uint32_t changes() const { return changes_; }

  // A channel.
  bool joined = false;  // the client is in it now
  bool wanted = false;  // the client means to be in it: joined again after a reconnection
  std::string key;
  const std::string& topic() const { return topic_; }
  void SetTopic(std::string topic) { topic_ = std::move(topic), ++changes_; }

  // Members by their folded nick. Sorted() holds them by status then nick,
  // kept until the next change.
  Member* FindMember(const std::string& folded);
  void PutMember(const std::string& folded, Member member);
  bool RemoveMember(const std::string& folded);
  void ClearMembers();
  std::size_t memberCount() const { return members_.size(); }
  const std::vector<const Member*>& Sorted(const ServerFeatures& features) const;
  // After a change of case mapping: the members by their new folded nicks.
  void FoldMembersAgain(const ServerFeatures& features);
  // A NAMES reply is under way: its first line replaces the members.
  bool namesDone = true;

 private:
  Kind kind_;
  std::string name_;
  std::uint32_t id_;
  std::deque<Line> lines_;
  std::uint64_t added_ = 0;
  Activity activity_ = Activity::None;
  std::uint32_t changes_ = 0;
  std::string topic_;
  std::unordered_map<std::string, Member> members_;
  mutable std::vector<const Member*> sorted_;
  mutable bool sortedValid_ = false;
};

}  // namespace ludora::chitter
