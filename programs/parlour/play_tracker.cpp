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

// A process that came after the start and is the game's by its parent: one
// of the game's, ended or not; or, in the latest start's first seconds, one
// that came and went unseen: neither running now nor at the start, nor seen
// at a look since (a launcher that started the game and ended at once).
bool PlayTracker::HandedOn(const Play& play, const RunningProcess& process,
                           const std::set<DWORD>& running, DWORD now, bool newest) {
  if (play.ever.contains(process.parent)) return true;
  return newest && now - play.started < kHandOnMs && process.parent != 0 &&
         !running.contains(process.parent) && !play.before.contains(process.parent) &&
         !play.looked.contains(process.parent);
}

// A process that came after the start, by its program's folder. A path
// Windows cannot tell yet (a process just starting) is asked again, a few times.
PlayTracker::Verdict PlayTracker::InFolder(Play& play, const RunningProcess& process,
                                           const ProgramPathOf& pathOf) const {
  if (play.folder.empty()) return Verdict::Stranger;
  const std::string path =
      Lower(process.exe.find('\\') != std::string::npos ? process.exe : pathOf(process.pid));
  if (path.empty())
    return ++play.unknown[process.pid] < kAsks ? Verdict::Unknown : Verdict::Stranger;
  return path.starts_with(play.folder) ? Verdict::Game : Verdict::Stranger;
}

std::vector<FinishedPlay> PlayTracker::Update(const std::vector<RunningProcess>& running, DWORD now,
                                              const ProgramPathOf& pathOf) {
  std::set<DWORD> ids;
  for (const RunningProcess& process : running) ids.insert(process.pid);
  std::vector<FinishedPlay> finished;
  for (auto play = plays_.begin(); play != plays_.end();) {
    const bool newest = std::next(play) == plays_.end();
    std::map<DWORD, std::string> alive;
    std::vector<const RunningProcess*> fresh;  // came after the start, not judged yet
    for (const RunningProcess& process : running) {
      const auto followed = play->followed.find(process.pid);
      // An id Windows gave to another program since is not the game's.
      if (followed != play->followed.end() &&
          (followed->second.empty() || followed->second == FileName(process.exe))) {
        alive[process.pid] = FileName(process.exe);
      } else if (!play->before.contains(process.pid) && !play->ever.contains(process.pid) &&
                 !play->strangers.contains(process.pid)) {
        fresh.push_back(&process);
      }
    }
    // The game's by their parents, in rounds, as a child may be listed before its parent.
    const auto byParent = [&](std::vector<const RunningProcess*>& processes) {
      for (bool grew = true; grew;) {
        grew = false;
        std::erase_if(processes, [&](const RunningProcess* process) {
          if (!HandedOn(*play, *process, ids, now, newest)) return false;
          alive[process->pid] = FileName(process->exe);
          play->ever.insert(process->pid);
          return grew = true;
        });
      }
    };
    byParent(fresh);
    std::vector<const RunningProcess*> others;
    for (const RunningProcess* process : fresh) {
      const Verdict verdict = InFolder(*play, *process, pathOf);
      if (verdict == Verdict::Game) {
        alive[process->pid] = FileName(process->exe);
        play->ever.insert(process->pid);
      } else if (verdict == Verdict::Stranger) {
        others.push_back(process);
      }
    }
    byParent(others);  // children of those from the folder
    for (const RunningProcess* process : others) play->strangers.insert(process->pid);
    play->followed = std::move(alive);
    if (now - play->started < kHandOnMs)
      play->looked.insert(ids.begin(), ids.end());
    else
      play->looked.clear();
    // An id that ended may come back as the game's.
    const auto ended = [&](DWORD pid) { return !ids.contains(pid); };
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
