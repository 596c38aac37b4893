// The judge of "does this text name a missing file" against real files of a scratch folder,
// the prefix's own system files, an absent drive letter and a CD-ROM drive: valid command
// lines, resource references, path lists and type library indexes are never Missing.
#include "tools/refjudge.h"

#include <gtest/gtest.h>

#include "support/drive.h"
#include "support/scripted.h"
#include "win/unicode.h"

namespace glenvask {
namespace {

TEST(ReferenceJudge, SaysMissingOnlyForAFullPathThatIsNotThere) {
  test::ScratchFolder dir;
  test::ScratchFolder cd("cdrom");
  std::string d = dir.path();
  dir.write("app.exe", "x");
  dir.write("lib.dll", "x");
  dir.write("with space\\tool.exe", "x");
  cd.write("setup.exe", "x");
  test::ScratchDrive cdrom(L'K', cd.path(), DRIVE_CDROM);
  ASSERT_TRUE(cdrom.ready());
  ASSERT_EQ(GetDriveTypeW(L"R:\\"), static_cast<UINT>(DRIVE_NO_ROOT_DIR));
  // A file of the current folder is never found by a relative name.
  wchar_t previous[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, previous);
  SetCurrentDirectoryW(wide(d).c_str());
  SetEnvironmentVariableW(L"GLENVASK_TEST_DIR", wide(d).c_str());

  using R = FileReference;
  const std::pair<std::string, R> table[] = {
      {d + "\\app.exe", R::Present},
      {d + "\\missing.exe", R::Missing},
      {"c" + d.substr(1) + "\\missing.exe", R::Missing},
      {"\"" + d + "\\missing.exe\" /s", R::Missing},
      {d + "\\gone\\deeper\\x.dll", R::Missing},
      {"\"" + d + "\\app.exe\" -a \"" + d + "\\nothing\"", R::Present},
      {d + "\\app.exe /s", R::Present},
      {d + "\\with space\\tool.exe -x", R::Present},
      {d + "\\lib.dll,-33", R::Present},
      {d + "\\lib.dll\\2", R::Present},
      {d + "\\gone\\lib.dll\\2", R::Missing},
      {d + ";", R::Present},
      {"  " + d + "\\app.exe  ", R::Present},
      {"%GLENVASK_TEST_DIR%\\app.exe", R::Present},
      {"%GLENVASK_TEST_DIR%\\missing.exe", R::Missing},
      {"\"%GLENVASK_TEST_DIR%\\missing.exe\" \"%1\"", R::Unknown},
      {"%NO_SUCH_VARIABLE_HERE%\\x.exe", R::Unknown},
      {"app.exe", R::Unknown},
      {"missing.exe", R::Unknown},
      {".\\missing.exe", R::Unknown},
      {"shell32.dll,-33", R::Unknown},
      {"K:\\setup.exe", R::Unknown},
      {"K:\\missing.exe", R::Unknown},
      {"R:\\missing.exe", R::Unknown},
      {"\\\\server\\share\\missing.exe", R::Unknown},
      {d + "\\*.tmp", R::Unknown},
      {d + "\\" + std::string(300, 'a') + ".exe", R::Unknown},
      {"C:", R::Unknown},
      {"", R::Unknown},
      {"1", R::Unknown},
      // Values of a fresh prefix that a plain existence test calls missing.
      {"C:\\windows\\system32\\msiexec.exe /i \"%1\"", R::Unknown},
      {"C:\\windows\\system32\\svchost.exe -k netsvcs", R::Present},
      {"%SystemRoot%\\system32\\shell32.dll,-33", R::Present},
      {"C:\\Program Files\\Internet Explorer;", R::Present},
      {"C:\\windows\\system32\\vbscript.dll\\2", R::Present},
      {"C:\\windows\\system32\\wshom.ocx\\1", R::Present},
  };
  ReferenceJudge judge;
  for (const auto& [text, want] : table) EXPECT_EQ(judge.judge(text), want) << text;
  SetCurrentDirectoryW(previous);
}

TEST(ReferenceJudge, LeavesTheSystemHivesAndThe32BitViewAlone) {
  const std::tuple<HKEY, const wchar_t*, bool> table[] = {
      {HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet", true},
      {HKEY_LOCAL_MACHINE, L"system", true},
      {HKEY_LOCAL_MACHINE, L"SAM", true},
      {HKEY_LOCAL_MACHINE, L"Security\\Policy", true},
      {HKEY_LOCAL_MACHINE, L"HARDWARE\\DESCRIPTION", true},
      {HKEY_LOCAL_MACHINE, L"Software\\Wow6432Node\\Microsoft", true},
      {HKEY_LOCAL_MACHINE, L"Software\\Classes\\WOW6432NODE", true},
      {HKEY_CURRENT_USER, L"Software\\Wow6432Node", true},
      {HKEY_LOCAL_MACHINE, L"Software\\Microsoft", false},
      {HKEY_CURRENT_USER, L"System", false},
      {HKEY_LOCAL_MACHINE, L"Software\\System", false},
      {HKEY_LOCAL_MACHINE, L"", false},
  };
  for (const auto& [root, path, unjudged] : table)
    EXPECT_EQ(isUnjudgedRegistryPath(root, path), unjudged) << utf8(path);
}

}  // namespace
}  // namespace glenvask
