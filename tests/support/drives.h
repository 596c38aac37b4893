// Drive letters of a scratch folder for one test, and the Linux side of the prefix's files.
#pragma once

#include <windows.h>

#include <algorithm>
#include <string>

#include "win/unicode.h"

namespace glenvask::test {

// The Linux path of a Windows path of the prefix; "" when there is none.
inline std::string unixPath(const std::string& path) {
  using UnixName = char*(CDECL*)(const wchar_t*);
  auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  char* u = unixName ? unixName(wide(path).c_str()) : nullptr;
  std::string s = u ? u : "";
  if (u) HeapFree(GetProcessHeap(), 0, u);
  return s;
}

// Runs a Linux program and waits for it to end (its exit code does not reach a Windows
// process: callers look at what it did).
inline void runUnix(const std::string& program, const std::string& arguments) {
  std::wstring exe = wide("\\\\?\\unix" + program);
  std::replace(exe.begin(), exe.end(), L'/', L'\\');
  std::wstring cmd = wide(program + " " + arguments);
  STARTUPINFOW si{sizeof si};
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                      &pi))
    return;
  WaitForSingleObject(pi.hProcess, 10000);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
}

// A drive letter of the prefix naming a scratch folder for one test: the link in the prefix's
// dosdevices folder serves the files, the device definition puts the letter in the drive list.
class MappedDrive {
 public:
  MappedDrive(char letter, const std::string& folder)
      : device_{wchar_t(letter), L':'}, target_(wide(folder)) {
    wchar_t prefix[4096] = {};
    DWORD n = GetEnvironmentVariableW(L"WINEPREFIX", prefix, 4096);
    std::string target = unixPath(folder);
    if (n == 0 || n >= 4096 || target.empty() || (GetLogicalDrives() & (1u << (letter - 'A'))))
      return;
    link_ = utf8(prefix) + "/dosdevices/" + char(letter - 'A' + 'a') + ":";
    runUnix("/bin/rm", "-f \"" + link_ + "\"");
    runUnix("/bin/ln", "-s \"" + target + "\" \"" + link_ + "\"");
    for (int i = 0; i < 500 && !reachable(); ++i) Sleep(10);
    defined_ = DefineDosDeviceW(0, device_.c_str(), target_.c_str()) != 0;
  }
  ~MappedDrive() {
    if (defined_)
      DefineDosDeviceW(DDD_REMOVE_DEFINITION | DDD_EXACT_MATCH_ON_REMOVE, device_.c_str(),
                       target_.c_str());
    if (!link_.empty()) runUnix("/bin/rm", "-f \"" + link_ + "\"");
  }
  bool ok() const { return defined_ && reachable(); }
  std::string root() const { return utf8(device_) + "\\"; }

 private:
  bool reachable() const { return GetFileAttributesW(wide(root()).c_str()) != INVALID_FILE_ATTRIBUTES; }
  std::wstring device_, target_;
  std::string link_;
  bool defined_ = false;
};

}  // namespace glenvask::test
