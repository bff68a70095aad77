#include "ludora-record/restore.h"

#include <strings.h>

#include <algorithm>

#include "launch/companions.h"
#include "platform/command_run.h"
#include "platform/resume_next.h"
#include "platform/scoped.h"
#include "platform/win_constants.h"
#include "ludora-record/record_tool.h"
#include "tuning/open_command.h"
#include "tuning/shell_switch.h"
#include "ludora-record/written_values.h"

namespace ludora::record {

namespace {

constexpr DWORD kLudoraBackWithin = 10000;  // ms
constexpr DWORD kLookAgainAfter = 50;       // ms

std::string Reason(DWORD error) {
  switch (error) {
    case ERROR_ACCESS_DENIED:
      return "access denied";
    case ERROR_SHARING_VIOLATION:
      return "another program holds it";
    default:
      return "Windows error " + std::to_string(error);
  }
}

DWORD Write(WindowsApi& api, const PlaceState& state) {
  DWORD error = ERROR_NOT_ENOUGH_MEMORY;
  Attempt(api, "WritePlace", [&] { error = WritePlace(api, state); });
  return error;
}

// What the uninstall writes at a recorded place: the recorded state. Without
// an open command no program starts from the shell: a record that says there
// was none gets the default one.
PlaceState Target(const PlaceState& recorded) {
  const Place openCommand{false, HKCR, std::string(kOpenCommandKey), ""};
  if (recorded.present || !recorded.place.SameAs(openCommand)) return recorded;
  const std::string text(kDefaultOpenCommandText);
  PlaceState target{recorded.place, true, REG_SZ, {text.begin(), text.end()}};
  target.data.push_back(0);
  return target;
}

class PutBack {
 public:
  PutBack(WindowsApi& api, const std::string& folder, Report& report)
      : api_(api),
        inputs_(MachineInputs(api, folder, memory_)),
        written_(ValuesLudoraWrites(inputs_)),
        report_(report) {}

  // Writes the place back when it still holds a value Ludora writes; whether
  // nothing went wrong.
  bool Put(const PlaceState& recorded) {
    const PlaceState target = Target(recorded);
    const auto now = ReadPlace(api_, recorded.place, kLargestReadBack);
    if (!now) {
      report_.Tell("Could not read " + Describe(recorded.place) + ": it was left as it is.");
      return false;
    }
    if (*now == target) return true;
    if (!HoldsValueLudoraWrites(*now, written_)) {
      report_.Note("Left as you set it: " + Describe(recorded.place));
      return true;
    }
    if (const DWORD error = Write(api_, target)) {
      report_.Tell("Could not put back " + Describe(recorded.place) + ": " + Reason(error) + ".");
      return false;
    }
    put_.push_back(target);
    return true;
  }

  // The registry places written once more: should Windows go on using the
  // profile mapping it read at boot, a system.ini entry lands there instead.
  void Again() {
    for (const PlaceState& state : put_) {
      if (!state.place.ini) Write(api_, state);
    }
  }

 private:
  WindowsApi& api_;
  MemoryFigures memory_;
  RowInputs inputs_;
  std::vector<PlaceState> written_;
  Report& report_;
  std::vector<PlaceState> put_;
};

bool SameAccount(const std::optional<std::string>& a, const std::optional<std::string>& b) {
  return a && b && strcasecmp(a->c_str(), b->c_str()) == 0;
}

// Puts the record back; whether every place it holds is as recorded or as
// the user set it.
bool Apply(WindowsApi& api, const MachineRecord& record, const std::string& folder,
           Report& report) {
  const bool otherAccount = record.account && !SameAccount(record.account, AccountName(api));
  bool all = true;
  for (const Place& place : PlacesLudoraWrites()) {
    const auto held = [&](const PlaceState& s) { return s.place == place; };
    if (std::none_of(record.states.begin(), record.states.end(), held)) {
      report.Note("Not in the record, left as it is: " + Describe(place));
    }
  }
  if (otherAccount) {
    all = false;
    report.Tell("The per-user settings of " + *record.account +
                ", who installed Ludora, were left as they are. To restore them, log on as " +
                *record.account +
                " and pick \"Set Explorer as default shell\" in Ludora's quick menu, or install "
                "Ludora again and uninstall it there.");
  }
  PutBack putBack(api, folder, report);
  // The registry first: the profile mapping it holds decides where a
  // system.ini entry (the [boot] shell) is written, and it must be the
  // recorded one when the entries are put back.
  for (const bool ini : {false, true}) {
    for (const PlaceState& state : record.states) {
      if (state.place.ini != ini || (otherAccount && !ini && state.place.root == HKCU)) continue;
      all &= putBack.Put(state);
    }
  }
  putBack.Again();
  return all;
}

// Registers Explorer where a shell place still names Ludora; whether none
// does now.
bool ExplorerIsTheShell(WindowsApi& api, Report& report) {
  if (!ShellNamesLudora(api)) return true;
  const bool nt = GetPlatform(api) != Platform::NotNt;
  for (const TuningRow& row : ExplorerRegistrationRows()) {
    // Windows 98 has no profile mapping: its system.ini alone names the shell.
    if (!nt && row.key == kIniFileMappingBoot) continue;
    const auto value = RowValue(row, RowInputs{});
    if (const DWORD error = Write(api, *value)) {
      report.Tell("Could not write " + Describe(value->place) + ": " + Reason(error) + ".");
    }
  }
  if (!ShellNamesLudora(api)) return true;
  report.Note("Windows would still start Ludora as the shell, so Ludora stays installed.");
  return false;
}

// Ludora, closed for an uninstall that then kept it, comes back. As the
// session's shell (it was watched) it starts its watchdog once it has its
// log-on's mark: until then the mark is held here.
void StartLudoraAgain(WindowsApi& api, const std::string& folder, bool watched) {
  if (!RunCommandLine(api, "\"" + folder + "\\ludora.exe\"", SW_SHOWNORMAL) || !watched) return;
  for (DWORD waited = 0; waited < kLudoraBackWithin && !WatchdogRuns(api);
       waited += kLookAgainAfter) {
    api.Sleep(kLookAgainAfter);
  }
}

}  // namespace

int Uninstall(WindowsApi& api, const std::string& folder, Report& report) {
  if (AnotherAccountsShellRuns(api)) return kOtherAccount;
  // On Windows 98 the log-on's mark is an event that lasts while somebody
  // holds it: held here until a Ludora that stays has started again, which
  // then starts no startup program a second time.
  const ScopedHandle logOnMark(api, api.OpenEventA(SYNCHRONIZE, 0, companions::kStartupRunEvent));
  const bool watched = WatchdogRuns(api);
  const bool running = CloseRunningShell(api);
  // Ludora was the desktop when no Explorer desktop stands beside it.
  const bool wasDesktop = running && api.FindWindowA("Progman", nullptr) == 0;
  int result = 0;
  if (const auto found = FindRecord(api, folder, report)) {
    if (!Apply(api, found->record, folder, report)) result = kIncomplete;
  } else {
    report.Tell(
        "The record of this PC's settings from before Ludora was missing or damaged, so none of "
        "it was used: Explorer's own settings were written, as \"Set Explorer as default shell\" "
        "writes them.");
    RestoreExplorerDefaults(api, GetPlatform(api));
    result = kRestoredDefaults;
  }
  // A record taken where Ludora was the shell already (set up by hand), or
  // a place that could not be put back, would leave it naming a program
  // that is about to go. Then Ludora stays, and so does the desktop the
  // user had: Explorer, not being the shell, would open a folder window.
  if (!ExplorerIsTheShell(api, report)) {
    if (running) StartLudoraAgain(api, folder, watched);
    return kLudoraStays;
  }
  if (wasDesktop) {
    RunProgram(api, WindowsProgram(api, WindowsFolder::Windows, "explorer.exe"), "explorer.exe",
               SW_SHOWNORMAL);
  }
  return result;
}

}  // namespace ludora::record
