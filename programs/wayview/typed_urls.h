// The addresses typed into the address box, shared with Internet Explorer:
// HKCU\Software\Microsoft\Internet Explorer\TypedURLs, values url1 (the
// latest) to url25, each a REG_SZ address.
#pragma once

#include <string>
#include <vector>

#include "platform/windows_api.h"

namespace ludora::wayview {

inline constexpr char kTypedUrlsKey[] = "Software\\Microsoft\\Internet Explorer\\TypedURLs";
inline constexpr int kMaxTypedUrls = 25;

// The typed addresses, latest first. A value of another type, longer than an
// address may be, or holding control characters is passed over; so are gaps
// in the numbering. Read with a buffer of fixed size, whatever the values hold.
std::vector<std::string> ReadTypedUrls(WindowsApi& api);

// `address` becomes url1, the others follow in their order without it, the
// 26th drops off, and values left over from a longer or damaged list are
// deleted. The list is read afresh first: another window or Internet
// Explorer may have added to it. Whether the list was written.
bool RememberTypedUrl(WindowsApi& api, const std::string& address);

}  // namespace ludora::wayview
