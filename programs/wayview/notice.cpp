#include "wayview/notice.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

namespace ludora::wayview {

namespace {

// The status codes of urlmon (INET_E_...) and COM a navigation fails with,
// and what each means to the user.
struct Reason {
  DWORD status;
  const char* text;
};
// clang-format off
constexpr Reason kReasons[] = {
    {0x800C0002, "The address is not a valid web address."},                     // INVALID_URL
    {0x800C0003, "Windows has no connection to the Internet open."},             // NO_SESSION
    {0x800C0004, "The server refused the connection, or did not answer."},       // CANNOT_CONNECT
    {0x800C0005, "The server could not be found. Check the address, and that this computer is "
                 "connected."},                                                  // RESOURCE_NOT_FOUND
    {0x800C0006, "There is nothing at this address."},                           // OBJECT_NOT_FOUND
    {0x800C0007, "The server sent nothing back."},                               // DATA_NOT_AVAILABLE
    {0x800C0008, "The connection failed before the page arrived: the server refused it or is out "
                 "of reach."},                                                   // DOWNLOAD_FAILURE
    {0x800C0009, "The server asks for a name and password."},                    // AUTHENTICATION_REQUIRED
    {0x800C000B, "The server did not answer in time."},                          // CONNECTION_TIMEOUT
    {0x800C000C, "The server did not understand the request."},                  // INVALID_REQUEST
    {0x800C000D, "Windows cannot open this kind of address."},                   // UNKNOWN_PROTOCOL
    {0x800C000E, "A secure connection to the server could not be made."},        // SECURITY_PROBLEM
    {0x800C000F, "The page arrived, but could not be loaded."},                  // CANNOT_LOAD_DATA
    {0x800C0010, "Windows has nothing to show this kind of page with."},         // CANNOT_INSTANTIATE_OBJECT
    {0x800C0014, "The server sent the browser on to an address that failed."},   // REDIRECT_FAILED
    {0x800C0019, "The server's certificate is not valid."},                      // INVALID_CERTIFICATE
    {0x80040154, "Windows has nothing to show this kind of page with."},         // REGDB_E_CLASSNOTREG
};
// clang-format on
// No viewer for what arrived: another browser may have one.
constexpr DWORD kNoViewer[] = {0x800C0010, 0x80040154};

// The control's own error pages, and the status each stands for.
struct ErrorPage {
  const char* name;
  DWORD status;
};
constexpr ErrorPage kErrorPages[] = {
    {"dnserror.htm", 0x800C0005},  // no server of that name
    {"navcancl.htm", 0x800C0004},  // no connection, or no answer
};
constexpr const char* kErrorPageModules[] = {"shdoclc.dll/", "shdocvw.dll/", "ieframe.dll/"};

}  // namespace

bool IsTransferError(LONG status) {
  return status < 0;  // a failed HRESULT; HTTP statuses are positive
}

Notice ErrorNotice(const std::string& address, LONG status) {
  const auto code = static_cast<DWORD>(status);
  Notice notice{"This page could not be opened", address, "", true,
                std::find(std::begin(kNoViewer), std::end(kNoViewer), code) != std::end(kNoViewer)};
  for (const Reason& reason : kReasons) {
    if (reason.status == code) notice.detail = reason.text;
  }
  if (notice.detail.empty()) {
    char text[64];
    std::snprintf(text, sizeof text, "Windows could not open it (error 0x%08lX).",
                  static_cast<unsigned long>(code));
    notice.detail = text;
  }
  return notice;
}

std::optional<Notice> ErrorPageNotice(const std::string& address) {
  std::string lower = address.substr(0, address.find('#'));
  std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  });
  if (!lower.starts_with("res://")) return std::nullopt;
  for (const char* module : kErrorPageModules) {
    const std::size_t at = lower.find(module);
    if (at == std::string::npos) continue;
    for (const ErrorPage& page : kErrorPages) {
      if (lower.substr(at + std::strlen(module)) != page.name) continue;
      const std::size_t hash = address.find('#');
      return ErrorNotice(hash == std::string::npos ? "" : address.substr(hash + 1),
                         static_cast<LONG>(page.status));
    }
  }
  return std::nullopt;
}

Notice NoControlNotice(const std::string& address) {
  return {"Wayview cannot show web pages on this computer", address,
          "Windows' web browser control could not be started: it comes with Internet Explorer 4 "
          "and later. The page can be opened in the default web browser instead.",
          false, true};
}

}  // namespace ludora::wayview
