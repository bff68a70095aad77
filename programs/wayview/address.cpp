#include "wayview/address.h"

#include <algorithm>
#include <array>

namespace ludora::wayview {

namespace {

constexpr std::array<std::string_view, 5> kOpenedSchemes = {"http", "https", "ftp", "file",
                                                            "about"};

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string Lowered(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(), Lower);
  return lower;
}

bool StartsWithNoCase(std::string_view text, std::string_view start) {
  return text.size() >= start.size() &&
         std::equal(start.begin(), start.end(), text.begin(),
                    [](char a, char b) { return Lower(a) == Lower(b); });
}

bool IsLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

Normalised Go(std::string address) {
  if (address.size() > kMaxAddress) {
    return {Normalised::Refused, "",
            "This address is longer than the 2083 characters a web address may have."};
  }
  return {Normalised::Go, std::move(address), ""};
}

Normalised NotAnAddress(std::string_view text) {
  const std::string shown(text.substr(0, 60));
  return {Normalised::Refused, "",
          "\"" + shown + (text.size() > 60 ? "..." : "") +
              "\" is not a web address. Type an address such as www.example.com."};
}

// Blanks, '%' and '#' of a path written as part of an address.
std::string Escaped(std::string_view text, bool escapePercent) {
  std::string out;
  for (const char c : text) {
    if (c == ' ') {
      out += "%20";
    } else if (escapePercent && c == '%') {
      out += "%25";
    } else if (escapePercent && c == '#') {
      out += "%23";
    } else {
      out += c == '\\' && escapePercent ? '/' : c;
    }
  }
  return out;
}

// "C:\Games\start.html" or "C:/..." -> "file:///C:/Games/start.html";
// "\\server\share\x" -> "file://server/share/x".
bool IsDrivePath(std::string_view text) {
  return text.size() >= 3 && IsLetter(text[0]) && text[1] == ':' &&
         (text[2] == '\\' || text[2] == '/');
}

// The host of a text without a scheme, "example.com:8080" of
// "example.com:8080/maps": a name with a dot inside, localhost, or any of
// them with a port. A word, or words with blanks, is none.
bool LooksLikeHost(std::string_view authority) {
  std::string_view host = authority;
  if (const auto colon = authority.find(':'); colon != std::string_view::npos) {
    const std::string_view port = authority.substr(colon + 1);
    if (port.empty() || !std::all_of(port.begin(), port.end(), IsDigit)) return false;
    host = authority.substr(0, colon);
  }
  const bool allowed = !host.empty() && std::all_of(host.begin(), host.end(), [](char c) {
    return IsLetter(c) || IsDigit(c) || c == '.' || c == '-' || c == '_' ||
           static_cast<unsigned char>(c) >= 0x80;
  });
  if (!allowed || host.front() == '.' || host.back() == '.' ||
      host.find("..") != std::string_view::npos) {
    return false;
  }
  return host.find('.') != std::string_view::npos || Lowered(host) == "localhost" ||
         host.size() != authority.size();
}

// scheme + "://" + the host in lower case + the path, "/" when none.
Normalised WebAddress(std::string_view scheme, std::string_view rest) {
  while (!rest.empty() && rest.front() == '/') rest.remove_prefix(1);
  const std::size_t end = std::min(rest.find_first_of("/?#"), rest.size());
  const std::string_view authority = rest.substr(0, end);
  if (authority.empty() || authority.find(' ') != std::string_view::npos) {
    return NotAnAddress(rest);
  }
  const std::size_t at = authority.rfind('@');
  const std::size_t hostStart = at == std::string_view::npos ? 0 : at + 1;
  std::string path(rest.substr(end));
  if (path.empty() || path.front() != '/') path.insert(0, "/");
  return Go(std::string(scheme) + "://" + std::string(authority.substr(0, hostStart)) +
            Lowered(authority.substr(hostStart)) + Escaped(path, false));
}

// The first address of `history` that continues `typed` and that the box
// would open as it is typed (the list is Internet Explorer's too, and any
// program may write it: a "javascript:" entry is passed over), and where in
// it the part typed begins.
std::optional<std::pair<const std::string*, std::size_t>> FindInHistory(
    std::string_view typed, const std::vector<std::string>& history) {
  if (typed.empty()) return std::nullopt;
  for (const std::string& entry : history) {
    const std::size_t scheme = entry.find("://");
    const std::size_t starts[] = {0, scheme == std::string::npos ? 0 : scheme + 3,
                                  entry.size() - WithoutScheme(entry).size()};
    for (const std::size_t start : starts) {
      if (!StartsWithNoCase(std::string_view(entry).substr(start), typed)) continue;
      if (NormaliseAddress(entry, {}).outcome != Normalised::Go) break;
      return std::pair{&entry, start};
    }
  }
  return std::nullopt;
}

}  // namespace

std::string SchemeOf(std::string_view address) {
  std::size_t at = 0;
  while (at < address.size() &&
         (IsLetter(address[at]) || (at > 0 && (IsDigit(address[at]) || address[at] == '+' ||
                                               address[at] == '-' || address[at] == '.'))))
    ++at;
  // One letter is a drive; digits after the colon, up to the path, a port.
  if (at < 2 || at >= address.size() || address[at] != ':') return "";
  const std::string_view after = address.substr(at + 1);
  const std::size_t digits = std::find_if_not(after.begin(), after.end(), IsDigit) - after.begin();
  if (digits > 0 && (digits == after.size() ||
                     std::string_view("/?#").find(after[digits]) != std::string_view::npos)) {
    return "";
  }
  return Lowered(address.substr(0, at));
}

std::string_view WithoutScheme(std::string_view address) {
  if (const std::string scheme = SchemeOf(address); !scheme.empty()) {
    address.remove_prefix(scheme.size() + 1);
    while (!address.empty() && address.front() == '/') address.remove_prefix(1);
  }
  if (StartsWithNoCase(address, "www.")) address.remove_prefix(4);
  return address;
}

std::optional<std::string> CompleteAddress(std::string_view typed,
                                           const std::vector<std::string>& history) {
  const auto found = FindInHistory(typed, history);
  if (!found) return std::nullopt;
  return std::string(typed) + found->first->substr(found->second + typed.size());
}

Normalised NormaliseAddress(std::string_view typed, const std::vector<std::string>& history) {
  const auto first = std::find_if_not(typed.begin(), typed.end(), IsBlank);
  const auto last = std::find_if_not(typed.rbegin(), typed.rend(), IsBlank).base();
  if (first >= last) return {};
  // Line breaks and tabs inside pasted text are dropped, as browsers do.
  std::string text;
  for (auto c = first; c != last && text.size() <= kMaxAddress; ++c) {
    if (*c != '\t' && *c != '\r' && *c != '\n') text += *c;
  }
  if (text.size() > kMaxAddress) return Go(std::move(text));  // refused as too long
  if (std::any_of(text.begin(), text.end(),
                  [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; })) {
    return NotAnAddress("(control characters)");
  }
  if (IsDrivePath(text)) return Go("file:///" + Escaped(text, true));
  if (text.starts_with("\\\\")) return Go("file://" + Escaped(text.substr(2), true));

  if (const std::string scheme = SchemeOf(text); !scheme.empty()) {
    if (std::find(kOpenedSchemes.begin(), kOpenedSchemes.end(), scheme) == kOpenedSchemes.end()) {
      return {Normalised::Refused, "",
              "Wayview opens web (http and https), ftp, file and about addresses only, not \"" +
                  scheme.substr(0, 40) + ":\" addresses."};
    }
    const std::string_view rest = std::string_view(text).substr(scheme.size() + 1);
    if (scheme == "file" || scheme == "about") return Go(scheme + ":" + std::string(rest));
    return WebAddress(scheme, rest);
  }
  const std::string_view authority = std::string_view(text).substr(0, text.find_first_of("/?#"));
  if (LooksLikeHost(authority)) {
    return WebAddress(StartsWithNoCase(text, "ftp.") ? "ftp" : "http", text);
  }
  if (const auto found = FindInHistory(text, history)) return NormaliseAddress(*found->first, {});
  return NotAnAddress(text);
}

}  // namespace ludora::wayview
