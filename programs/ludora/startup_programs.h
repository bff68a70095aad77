// The programs Windows' own shell starts when a user logs on, which Ludora
// starts in its place when it is the session's shell: the Run and RunOnce
// keys and the Startup folders, in Windows' order (Microsoft's knowledge
// base article 179365, and the "Run these programs at user logon" policy
// for the Policies\Explorer\Run keys):
//   1. the machine's RunOnce: each value deleted before it is started
//      (a "!" name: after), each waited for before the next;
//   2. the machine's Run;  3. the machine's, then the user's, policy Run;
//   4. the user's Run;  5. the common, then the user's Startup folder
//      (shortcuts and programs; hidden and system files skipped);
//   6. the user's RunOnce, deleted as the machine's, not waited for.
// Values run in the order the key lists them; REG_EXPAND_SZ is expanded. In
// Safe Mode only RunOnce values named with a leading "*" run. Starts are
// spaced as a batch's are, so the bar keeps answering meanwhile.
#pragma once

#include "platform/windows_api.h"

namespace ludora {

// Reads and starts them all, on the calling thread: a thread of its own in
// the shell, as the machine's RunOnce waits for each program it starts.
void StartStartupPrograms(WindowsApi& api, bool safeMode);

}  // namespace ludora
