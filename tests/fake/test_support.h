// What the unit tests share beside the in-memory Windows: the places they
// name most, values spelt as the registry stores them, and the shell
// registered at log-on. A test file takes them with `using namespace testing`.
#pragma once

#include <string>
#include <vector>

#include "fake/fake_windows.h"

namespace ludora::testing {

using Log = std::vector<std::string>;  // entries of the fake's log, in order

inline const std::string kApp = "C:\\Program Files\\Corvane Ludora";  // where Ludora is installed
inline const std::string kWinlogon = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
inline const std::string kMemoryManagement =
    "HKLM\\System\\CurrentControlSet\\Control\\Session Manager\\Memory Management";
inline const std::string kCurrentVersion = "Software\\Microsoft\\Windows\\CurrentVersion\\";
// The open command of executables as the log shows it written, and its default.
inline const std::string kOpenCommand = "reg HKCR\\exefile\\shell\\open\\Command [] REG_SZ ";
inline const std::string kDefaultCommand = kOpenCommand + "\"%1\" %*";

// A text's bytes; with SzBytes, and its NUL, as a REG_SZ value holds it.
inline std::vector<BYTE> Bytes(const std::string& text) {
  return {text.begin(), text.end()};
}
inline std::vector<BYTE> SzBytes(const std::string& text) {
  return Bytes(text + '\0');
}

// `shell` as the shell Windows starts at log-on, for HKCU or HKLM.
inline void Registered(FakeWindows& api, const std::string& root, const std::string& shell) {
  api.SetValue(root + "\\" + kWinlogon, "Shell", REG_SZ, SzBytes(shell));
}

}  // namespace ludora::testing
