// Batches of command runs made on a thread of their own. The user-interface
// thread hands a batch over and goes on at once: it is never held while
// Windows creates a process (30 to 170 ms each under Wine), so the bar
// answers its first click as soon as it shows. A batch's runs are made one
// after another, in order, after those of every batch handed over before
// it; that thread touches no window and none of the program's state.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/scoped.h"
#include "platform/windows_api.h"

namespace ludora {

struct CommandStart {
  std::string commandLine;
  WORD show = 0;                // SW_HIDE
  std::string application;      // the program's full path, or empty: found by the command line
  bool inheritHandles = false;  // the handles made inheritable pass on to it
};

class CommandBatches {
 public:
  explicit CommandBatches(WindowsApi& api) : api_(api), last_(api) {}
  // At the end of the program the runs still to be made get a moment, no more.
  ~CommandBatches() { WaitUntilMade(kEndWait); }
  CommandBatches(const CommandBatches&) = delete;
  CommandBatches& operator=(const CommandBatches&) = delete;

  // Hands `batch` over. When no thread can be made, it runs here and now.
  void Start(std::vector<CommandStart> batch);
  // Hands over work of the same kind: starts that read what to start first.
  // It gets the seam, and owns whatever else it uses.
  void Start(std::function<void(WindowsApi&)> work);
  // Waits at most `milliseconds` until every run handed over has been made.
  bool WaitUntilMade(DWORD milliseconds);

  static constexpr DWORD kEndWait = 2000;
  // Between two starts of a batch. Each new process takes the machine for a
  // while as it comes up (170 ms of a core each under 64-bit Wine), and a
  // burst of them slows the bar's answers: the bar's first click took 760 ms
  // under a burst of service stops, 250 ms with them this far apart, 160 ms
  // with none.
  static constexpr DWORD kPacing = 100;

 private:
  WindowsApi& api_;
  ScopedHandle last_;  // the thread of the batch handed over last
};

}  // namespace ludora
