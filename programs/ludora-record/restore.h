// The uninstall's part of the recorder: the machine put back as its first
// record says, where the user has not changed it since, and Explorer the
// shell again.
#pragma once

#include <string>

#include "platform/windows_api.h"
#include "ludora-record/record_homes.h"

namespace ludora::record {

// Closes a running Ludora, puts back every recorded place that still holds a
// value Ludora writes (for Ludora installed in `folder`), or, without a sound
// record, writes what "Set Explorer as default shell" writes; then makes sure
// no shell place names Ludora, and starts Explorer when Ludora was the
// desktop. Places the user changed since, places the record does not hold
// and the per-user values of another account than the one that installed
// are left as they are, and the report says so. Where Ludora stays, a Ludora
// it closed is started again, and Explorer is not. Where Ludora runs for
// another account, nothing is done. One of the exit codes of record_tool.h.
int Uninstall(WindowsApi& api, const std::string& folder, Report& report);

}  // namespace ludora::record
