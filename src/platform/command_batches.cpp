#include "platform/command_batches.h"

#include <memory>

#include "platform/command_run.h"
#include "platform/resume_next.h"
#include "platform/win_constants.h"

namespace ludora {

namespace {

// What a batch's thread owns: its work, and the thread of the batch
// before, whose work comes first.
struct BatchRun {
  WindowsApi& api;
  std::function<void(WindowsApi&)> work;
  ScopedHandle before;

  void Run() {
    if (before) api.WaitForSingleObject(before.get(), INFINITE);
    Attempt(api, "a batch of process starts", [&] { work(api); });
  }
};

DWORD LUDORA_WINAPI RunBatch(void* parameter) {
  const std::unique_ptr<BatchRun> run(static_cast<BatchRun*>(parameter));
  run->Run();
  return 0;
}

}  // namespace

void CommandBatches::Start(std::vector<CommandStart> batch) {
  Start([batch = std::move(batch)](WindowsApi& api) {
    int number = 0;
    for (const CommandStart& start : batch) {
      if (number > 0) api.Sleep(kPacing);
      Attempt(api, {"a batch of command runs", ++number}, [&] {
        if (start.application.empty()) {
          RunCommandLine(api, start.commandLine, start.show, nullptr, start.inheritHandles);
        } else {
          RunProgram(api, start.application, start.commandLine, start.show, nullptr,
                     start.inheritHandles);
        }
      });
    }
  });
}

void CommandBatches::Start(std::function<void(WindowsApi&)> work) {
  auto run = std::make_unique<BatchRun>(BatchRun{api_, std::move(work), std::move(last_)});
  DWORD id = 0;
  last_ = ScopedHandle(api_, api_.CreateThread(nullptr, 0, &RunBatch, run.get(), 0, &id));
  if (last_) {
    run.release();  // the thread's now
  } else {
    run->Run();
  }
}

bool CommandBatches::WaitUntilMade(DWORD milliseconds) {
  if (last_ && api_.WaitForSingleObject(last_.get(), milliseconds) == WAIT_OBJECT_0) last_.reset();
  return !last_;
}

}  // namespace ludora
