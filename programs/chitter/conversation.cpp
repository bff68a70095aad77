#include "chitter/conversation.h"

#include <algorithm>

namespace ludora::chitter {

Line StampedLine(const Clock& at, LineKind kind, std::string nick, std::string text) {
  Line line;
  line.hour = static_cast<std::uint8_t>(at.hour);
  line.minute = static_cast<std::uint8_t>(at.minute);
  line.second = static_cast<std::uint8_t>(at.second);
  line.kind = kind;
  line.nick = std::move(nick);
  line.text = std::move(text);
  return line;
}

Conversation::Conversation(Kind kind, std::string name, std::uint32_t id)
    : kind_(kind), name_(std::move(name)), id_(id) {}

void Conversation::Add(Line line, std::size_t scrollback) {
  lines_.push_back(std::move(line));
  while (lines_.size() > std::max<std::size_t>(scrollback, 1)) lines_.pop_front();
  ++added_;
}

void Conversation::Raise(Activity activity) {
  activity_ = std::max(activity_, activity);
}

Member* Conversation::FindMember(const std::string& folded) {
  const auto found = members_.find(folded);
  return found == members_.end() ? nullptr : &found->second;
}

void Conversation::PutMember(const std::string& folded, Member member) {
  members_[folded] = std::move(member);
  sortedValid_ = false, ++changes_;
}

bool Conversation::RemoveMember(const std::string& folded) {
  if (members_.erase(folded) == 0) return false;
  sortedValid_ = false, ++changes_;
  return true;
}

void Conversation::ClearMembers() {
  members_.clear();
  sortedValid_ = false, ++changes_;
}

const std::vector<const Member*>& Conversation::Sorted(const ServerFeatures& features) const {
  if (sortedValid_) return sorted_;
  struct Keyed {
    std::size_t rank;
    const std::string* folded;
    const Member* member;
  };
  std::vector<Keyed> keyed;
  keyed.reserve(members_.size());
  for (const auto& [folded, member] : members_) {
    keyed.push_back(
        {features.Rank(member.status.empty() ? '\0' : member.status.front()), &folded, &member});
  }
  std::ranges::sort(keyed, [](const Keyed& a, const Keyed& b) {
    return a.rank != b.rank ? a.rank < b.rank : *a.folded < *b.folded;
  });
  sorted_.clear();
  for (const Keyed& entry : keyed) sorted_.push_back(entry.member);
  sortedValid_ = true;
  return sorted_;
}

void Conversation::FoldMembersAgain(const ServerFeatures& features) {
  std::unordered_map<std::string, Member> refolded;
  for (auto& [folded, member] : members_) refolded[features.Fold(member.nick)] = std::move(member);
  members_ = std::move(refolded);
  sortedValid_ = false, ++changes_;
}

}  // namespace ludora::chitter
