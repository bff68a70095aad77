// chitter_tab_bench: the Tab key in a crowded channel, in one process. For
// each size, chitter's client is given a channel of that many members (NAMES
// replies as a server sends them), then Tab is pressed as the window does it:
// the names to offer, and the completion of a nick's first letters. Before
// each press a member leaves and comes back, as in any busy channel, so the
// members are sorted again as they are after any change.
//   chitter_tab_bench [--reps N] [MEMBERS...]   (default: 2000 20000 50000)
// Prints the median and the slowest press of N (default 9) for each size.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "chitter/chat.h"
#include "chitter/input_line.h"
#include "timing.h"

namespace {

using namespace ludora::chitter;

bool Measure(int members, int repetitions) {
  const WesternCodePage western;
  const ClientOptions options;
  Client client("Crowd", Profile{}, western, options);
  client.Connected();
  client.Received(":irc.bench 001 Player :Welcome");
  client.Received(":Player!p@h JOIN #crowd");
  for (int first = 0; first < members; first += 50) {
    std::string names = ":irc.bench 353 Player = #crowd :";
    for (int i = first; i < first + 50 && i < members; ++i)
      names += "member" + std::to_string(i) + " ";
    client.Received(names);
  }
  client.Received(":irc.bench 366 Player #crowd :End of NAMES list");
  Conversation* crowd = client.Find("#crowd");
  if (!crowd || crowd->memberCount() != static_cast<std::size_t>(members)) {
    std::printf("  %6d members: the channel holds %zu\n", members,
                crowd ? crowd->memberCount() : 0);
    return false;
  }
  const std::string last = "member" + std::to_string(members - 1);
  const std::u16string typed = Utf8ToUtf16(last.substr(0, last.size() - 1));
  ludora::bench::Samples presses;
  std::size_t offered = 0;
  bool completed = true;
  for (int i = 0; i < repetitions; ++i) {
    client.Received(":member1!u@h PART #crowd");
    client.Received(":member1!u@h JOIN #crowd");
    const double start = ludora::bench::SecondsNow();
    const std::vector<std::string> names = CompletionCandidates(client, *crowd);
    NickCompleter completer;
    const auto done = completer.Next(typed, typed.size(), names, client.features());
    presses.Add(ludora::bench::SecondsNow() - start);
    offered = names.size();
    completed = completed && done && done->text.starts_with(Utf8ToUtf16(last.substr(0, 6)));
  }
  std::printf("  %6d members: Tab %8.2f ms median, %8.2f ms slowest (%zu names offered)\n", members,
              presses.Median() * 1000, presses.Max() * 1000, offered);
  return completed;
}

}  // namespace

int main(int argc, char** argv) {
  int repetitions = 9;
  std::vector<int> sizes;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--reps" && i + 1 < argc) {
      repetitions = std::max(1, std::atoi(argv[++i]));
    } else if (std::atoi(arg.c_str()) > 1) {
      sizes.push_back(std::atoi(arg.c_str()));
    } else {
      std::fprintf(stderr, "usage: chitter_tab_bench [--reps N] [MEMBERS...]\n");
      return 2;
    }
  }
  if (sizes.empty()) sizes = {2000, 20000, 50000};
  std::printf("chitter: one Tab press in a channel, %d presses each\n", repetitions);
  bool ok = true;
  for (const int members : sizes) ok = Measure(members, repetitions) && ok;
  std::fflush(stdout);
  return ok ? 0 : 1;
}
