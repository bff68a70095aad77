// What the frame shows in place of a page: why a page could not be opened,
// with its address and a Retry; or, where Windows could not start its web
// browser control, that it could not, with the default browser offered.
#pragma once

#include <optional>
#include <string>

#include "platform/win_types.h"

namespace ludora::wayview {

struct Notice {
  std::string heading;  // also the window's caption
  std::string address;
  std::string detail;
  bool retry = false;          // a Retry button
  bool openElsewhere = false;  // an "Open in the default browser" button
  bool operator==(const Notice&) const = default;
};

// Whether the control's NavigateError status is an error of the transfer
// (an INET_E_ code: no server, no connection, nothing to show it with)
// rather than an HTTP status, whose page the server sent and the control shows.
bool IsTransferError(LONG status);

// The notice of a top-level navigation that failed with `status`.
Notice ErrorNotice(const std::string& address, LONG status);

// Internet Explorer before 6 has no NavigateError: it opens an error page of
// its own (res://shdoclc.dll/dnserror.htm#<address>, shdocvw.dll in 4,
// ieframe.dll from 7). Such a page's notice, for the address it names;
// nothing for any other address.
std::optional<Notice> ErrorPageNotice(const std::string& address);

// The notice of a frame without the control.
Notice NoControlNotice(const std::string& address);

}  // namespace ludora::wayview
