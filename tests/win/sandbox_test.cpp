// The sandbox itself: no drive letter of the prefix may reach the Linux root.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

using UnixName = char*(CDECL*)(const wchar_t*);

TEST(Sandbox, NoDriveMapsToTheLinuxRoot) {
  auto unixName = reinterpret_cast<UnixName>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name"));
  ASSERT_NE(unixName, nullptr) << "these tests run under Wine";
  DWORD drives = GetLogicalDrives();
  int checked = 0;
  for (int i = 0; i < 26; ++i) {
    if (!(drives & (1u << i))) continue;
    wchar_t root[] = {wchar_t(L'A' + i), L':', L'\\', 0};
    char* path = unixName(root);
    if (!path) continue;
    std::string p = path;
    HeapFree(GetProcessHeap(), 0, path);
    while (p.size() > 1 && p.back() == '/') p.pop_back();
    EXPECT_NE(p, "/") << char('A' + i) << ": maps to /";
    ++checked;
  }
  EXPECT_GT(checked, 0);
}

TEST(Sandbox, HomeIsNotTheRealOne) {
  wchar_t buf[MAX_PATH] = {};
  // Wine hands the Unix HOME to Windows programs as WINEHOMEDIR.
  GetEnvironmentVariableW(L"WINEHOMEDIR", buf, MAX_PATH);
  std::wstring home = buf;
  EXPECT_NE(home.find(L"sandbox"), std::wstring::npos) << "HOME must be the sandbox's";
  GetEnvironmentVariableW(L"XDG_DATA_HOME", buf, MAX_PATH);  // where the Recycle Bin lives
  EXPECT_NE(std::wstring(buf).find(L"sandbox"), std::wstring::npos);
}

}  // namespace
