// The judge of "does this text name a missing file" against real files of a scratch folder,
// the prefix's own system files, an absent drive letter and a CD-ROM drive: valid command
// lines, resource references, path lists and type library indexes are never Missing.
#include "tools/refjudge.h"

#include <gtest/gtest.h>

#include "base/text.h"
#include "support/drive.h"
#include "support/scripted.h"
#include "win/unicode.h"

namespace glenvask {
namespace {

TEST(ReferenceJudge, SaysMissingOnlyForAFullPathThatIsNotThere) {
  test::ScratchFolder dir, cd("cdrom");
  std::string d = dir.path();
  for (const char* f : {"app.exe", "lib.dll", "with space\\tool.exe", "Program Files\\x.dll"})
    dir.write(f, "x");
  cd.write("setup.exe", "x");
  test::ScratchDrive cdrom(L'K', cd.path(), DRIVE_CDROM);
  ASSERT_TRUE(cdrom.ready());
  ASSERT_EQ(GetDriveTypeW(L"R:\\"), static_cast<UINT>(DRIVE_NO_ROOT_DIR));
  // A file of the current folder is never found by a relative name.
  wchar_t previous[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, previous);
  SetCurrentDirectoryW(wide(d).c_str());
  SetEnvironmentVariableW(L"GLENVASK_TEST_DIR", wide(d).c_str());
  // One case a line: P present, M missing, U unknown; "@" is the scratch folder.
  const std::string table = R"(P @\app.exe
M @\missing.exe
M "@\missing.exe" /s
M @\gone\deeper\x.dll
P "@\app.exe" -a "@\nothing"
P @\app.exe /s
P @\with space\tool.exe -x
P @\lib.dll,-33
P @\lib.dll\2
M @\gone\lib.dll\2
P @;
P   @\app.exe
M @\Program Files (x86)\App\gone.dll
M C:\Program Files (x86)\Glv\gone.dll
M C:\users\Public Files\gone.txt
M @\with space (x86)\tool.exe
P %GLENVASK_TEST_DIR%\app.exe
M %GLENVASK_TEST_DIR%\missing.exe
M @\missing.exe %1
M "%GLENVASK_TEST_DIR%\missing.exe" "%1"
M @\missing.exe /a=%L %*
P @\app.exe "%1" %2
P C:\windows\system32\msiexec.exe /i "%1"
U @\missing.exe %NO_SUCH_VARIABLE_HERE%
U %NO_SUCH_VARIABLE_HERE%\x.exe %1
U @\gone%1\x.exe
U missing.exe
U .\missing.exe
U shell32.dll,-33
U K:\setup.exe
U K:\missing.exe
U R:\missing.exe
U \\server\share\missing.exe
U @\*.tmp
U C:
U 1
P C:\windows\system32\svchost.exe -k netsvcs
P %SystemRoot%\system32\shell32.dll,-33
P C:\Program Files\Internet Explorer;
P C:\windows\system32\vbscript.dll\2)";
  ReferenceJudge judge;
  const std::pair<char, FileReference> marks[] = {
      {'P', FileReference::Present}, {'M', FileReference::Missing}, {'U', FileReference::Unknown}};
  for (const std::string& line : split(table, '\n')) {
    std::string text;
    for (char c : line.substr(2)) text += c == '@' ? d : std::string(1, c);
    for (auto [mark, want] : marks)
      if (line[0] == mark) EXPECT_EQ(judge.judge(text), want) << line;
  }
  EXPECT_EQ(judge.judge(d + "\\" + std::string(300, 'a') + ".exe"), FileReference::Unknown);
  EXPECT_EQ(judge.judge(""), FileReference::Unknown);
  SetCurrentDirectoryW(previous);
}

TEST(ReferenceJudge, LeavesTheSystemHivesAndThe32BitViewAlone) {
  const std::tuple<HKEY, const wchar_t*, bool> table[] = {
      {HKEY_LOCAL_MACHINE, L"system", true},
      {HKEY_LOCAL_MACHINE, L"SAM", true},
      {HKEY_LOCAL_MACHINE, L"Security\\Policy", true},
      {HKEY_LOCAL_MACHINE, L"HARDWARE\\DESCRIPTION", true},
      {HKEY_LOCAL_MACHINE, L"Software\\Classes\\WOW6432NODE", true},
      {HKEY_CURRENT_USER, L"Software\\Wow6432Node", true},
      {HKEY_CURRENT_USER, L"System", false},
      {HKEY_LOCAL_MACHINE, L"Software\\System", false},
      {HKEY_LOCAL_MACHINE, L"", false},
  };
  for (const auto& [root, path, unjudged] : table)
    EXPECT_EQ(isUnjudgedRegistryPath(root, path), unjudged) << utf8(path);
}

}  // namespace
}  // namespace glenvask
