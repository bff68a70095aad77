#include "wayview/typed_urls.h"

#include <algorithm>
#include <cstring>

#include "platform/scoped.h"
#include "platform/win_constants.h"
#include "wayview/address.h"

namespace ludora::wayview {

namespace {

std::string ValueName(int number) {
  return "url" + std::to_string(number);
}

}  // namespace

std::vector<std::string> ReadTypedUrls(WindowsApi& api) {
  std::vector<std::string> urls;
  ScopedKey key(api);
  if (api.RegOpenKeyExA(HKCU, kTypedUrlsKey, 0, KEY_QUERY_VALUE, key.out()) != ERROR_SUCCESS) {
    return urls;
  }
  char data[kMaxAddress + 2];
  for (int number = 1; number <= kMaxTypedUrls; ++number) {
    DWORD type = 0, size = sizeof data;
    if (api.RegQueryValueExA(key.get(), ValueName(number), nullptr, &type,
                             reinterpret_cast<BYTE*>(data), &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ) || size > sizeof data) {
      continue;
    }
    const std::string url(data, strnlen(data, size));
    const bool sound = !url.empty() && url.size() <= kMaxAddress &&
                       std::none_of(url.begin(), url.end(),
                                    [](char c) { return static_cast<unsigned char>(c) < 0x20; });
    if (sound && std::find(urls.begin(), urls.end(), url) == urls.end()) urls.push_back(url);
  }
  return urls;
}

bool RememberTypedUrl(WindowsApi& api, const std::string& address) {
  std::vector<std::string> urls = ReadTypedUrls(api);
  std::erase(urls, address);
  urls.insert(urls.begin(), address);
  if (urls.size() > kMaxTypedUrls) urls.resize(kMaxTypedUrls);

  ScopedKey key(api);
  if (api.RegCreateKeyExA(HKCU, kTypedUrlsKey, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                          nullptr, key.out(), nullptr) != ERROR_SUCCESS) {
    return false;
  }
  bool written = true;
  for (int number = 1; number <= kMaxTypedUrls; ++number) {
    if (number > static_cast<int>(urls.size())) {
      api.RegDeleteValueA(key.get(), ValueName(number));
      continue;
    }
    const std::string& url = urls[number - 1];
    written &= api.RegSetValueExA(key.get(), ValueName(number), 0, REG_SZ,
                                  reinterpret_cast<const BYTE*>(url.c_str()),
                                  static_cast<DWORD>(url.size() + 1)) == ERROR_SUCCESS;
  }
  return written;
}

}  // namespace ludora::wayview
