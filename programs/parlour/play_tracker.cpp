#include "parlour/play_tracker.h"

#include <algorithm>

#include "parlour/found_game.h"

namespace ludora::parlour {

namespace {

std::string FileName(const std::string& path) {
  return Lower(path.substr(path.find_last_of('\\') + 1));
}

}  // namespace

void PlayTracker::Start(const std::string& program, const std::string& arguments,
                        const std::string& folder, DWORD pid, DWORD now,
                        const std::vector<RunningProcess>& before) {
  Play play;
  play.game = {program, arguments, 0};
  play.folder = folder.empty() ? "" : Lower(folder.ends_with('\\') ? folder : folder + "\\");
  play.started = play.lastSeen = now;
  for (const RunningProcess& process : before) play.before.insert(process.pid);
  play.before.erase(pid);
  play.followed[pid] = "";  // its name is learnt at the first look
  play.ever.insert(pid);
  plays_.push_back(std::move(play));
}

// A process that came after the start: the game's when its parent is, or
// when its program lies in the game's folder. A program's path Windows
// cannot tell yet (a process just starting) is asked again, a few times.
PlayTracker::Verdict PlayTracker::Follows(Play& play, const RunningProcess& process,
                                          const ProgramPathOf& pathOf) const {
  if (play.ever.contains(process.parent)) return Verdict::Game;
  if (play.folder.empty()) return Verdict::Stranger;
  const std::string path =
      Lower(process.exe.find('\\') != std::string::npos ? process.exe : pathOf(process.pid));
  if (path.empty())
    return ++play.unknown[process.pid] < kAsks ? Verdict::Unknown : Verdict::Stranger;
  return path.starts_with(play.folder) ? Verdict::Game : Verdict::Stranger;
}

std::vector<FinishedPlay> PlayTracker::Update(const std::vector<RunningProcess>& running, DWORD now,
                                              const ProgramPathOf& pathOf) {
  std::vector<FinishedPlay> finished;
  for (auto play = plays_.begin(); play != plays_.end();) {
    std::map<DWORD, std::string> alive;
    for (const RunningProcess& process : running) {
      const std::string name = FileName(process.exe);
      const auto followed = play->followed.find(process.pid);
      // An id Windows gave to another program since is not the game's.
      if (followed != play->followed.end() &&
          (followed->second.empty() || followed->second == name)) {
        alive[process.pid] = name;
      } else if (!play->before.contains(process.pid) && !play->ever.contains(process.pid) &&
                 !play->strangers.contains(process.pid)) {
        const Verdict verdict = Follows(*play, process, pathOf);
        if (verdict == Verdict::Game) {
          alive[process.pid] = name;
          play->ever.insert(process.pid);
        } else if (verdict == Verdict::Stranger) {
          play->strangers.insert(process.pid);
        }
      }
    }
    play->followed = std::move(alive);
    // An id that ended may come back as the game's.
    const auto ended = [&](DWORD pid) {
      return std::none_of(running.begin(), running.end(),
                          [&](const RunningProcess& process) { return process.pid == pid; });
    };
    std::erase_if(play->strangers, ended);
    std::erase_if(play->unknown, [&](const auto& asked) { return ended(asked.first); });
    if (!play->followed.empty()) play->lastSeen = now;
    if (play->followed.empty() && now - play->lastSeen >= kGraceMs) {
      play->game.seconds = (play->lastSeen - play->started + 500) / 1000;
      finished.push_back(play->game);
      play = plays_.erase(play);
    } else {
      ++play;
    }
  }
  return finished;
}

std::vector<FinishedPlay> PlayTracker::EndAll() {
  std::vector<FinishedPlay> finished;
  for (Play& play : plays_) {
    play.game.seconds = (play.lastSeen - play.started + 500) / 1000;
    finished.push_back(play.game);
  }
  plays_.clear();
  return finished;
}

}  // namespace ludora::parlour
