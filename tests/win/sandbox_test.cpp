// The sandbox itself: no drive letter of the prefix may reach the Linux root, and HOME (where
// the profile's folders and the Recycle Bin live) is the sandbox's own.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

// The Linux path of a Windows one, as Wine maps it; "" when it maps to none.
std::string unixPath(const wchar_t* path) {
  using UnixName = char*(CDECL*)(const wchar_t*);
  static auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  char* p = unixName ? unixName(path) : nullptr;
  std::string out = p ? p : "";
  if (p) HeapFree(GetProcessHeap(), 0, p);
  while (out.size() > 1 && out.back() == '/') out.pop_back();
  return out;
}

TEST(Sandbox, NoDriveMapsToTheLinuxRoot) {
  ASSERT_NE(unixPath(L"C:\\"), "") << "these tests run under Wine";
  DWORD drives = GetLogicalDrives();
  for (int i = 0; i < 26; ++i) {
    wchar_t root[] = {wchar_t(L'A' + i), L':', L'\\', 0};
    if (!(drives & (1u << i))) continue;
    EXPECT_NE(unixPath(root), "/") << char('A' + i) << ": maps to /";
  }
}

TEST(Sandbox, HomeIsTheSandboxsOwn) {
  // The prefix is <sandbox>/prefix, HOME <sandbox>/home.
  std::string drive = unixPath(L"C:\\");
  size_t at = drive.rfind("/prefix/");
  ASSERT_NE(at, std::string::npos) << drive;
  std::string home = drive.substr(0, at) + "/home";
  // Wine hands the Linux HOME to Windows programs as WINEHOMEDIR, "\??\unix\<path>".
  for (auto [name, want] : {std::pair{"WINEHOMEDIR", "/?" "?/unix" + home},
                            {"XDG_DATA_HOME", home + "/.local/share"}}) {
    std::string env(MAX_PATH, '\0');
    env.resize(GetEnvironmentVariableA(name, env.data(), MAX_PATH));
    for (char& c : env) c = c == '\\' ? '/' : c;
    EXPECT_EQ(env, want);
  }
}

}  // namespace
