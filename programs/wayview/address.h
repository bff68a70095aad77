// What the user types into the address box, made into an address the way
// browsers do, and completed from the addresses typed before.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ludora::wayview {

// The longest address Internet Explorer takes (INTERNET_MAX_URL_LENGTH).
inline constexpr std::size_t kMaxAddress = 2083;

struct Normalised {
  enum Outcome { Go, Refused, Empty };
  Outcome outcome = Empty;
  std::string address;  // what to open, when Go
  std::string message;  // why not, when Refused
};

// "example.com" -> "http://example.com/", "ftp.example.com" -> ftp, a drive
// or network path -> a file address, blanks around it trimmed and line
// breaks or tabs inside it dropped (pasted text), blanks in a web path sent
// as %20, the scheme and host in lower case. A bare word ("quake") is
// completed from `history` or refused. Only http, https, ftp, file and
// about addresses are opened; longer than kMaxAddress, or holding control
// characters, is refused too. Reads at most a little more than kMaxAddress
// of `typed`, however long it is.
Normalised NormaliseAddress(std::string_view typed, const std::vector<std::string>& history);

// The first address of `history` that continues what was typed, compared
// without case and with or without its "http://" and "www.": the typed text
// followed by the rest of that address. Nothing when none continues it.
std::optional<std::string> CompleteAddress(std::string_view typed,
                                           const std::vector<std::string>& history);

// "http" of "HTTP://example.com/", in lower case; empty when the text does
// not begin with a scheme (a host with a port, "localhost:8080", has none).
std::string SchemeOf(std::string_view address);

// The address without its scheme and "www.", for completion and names.
std::string_view WithoutScheme(std::string_view address);

}  // namespace ludora::wayview
