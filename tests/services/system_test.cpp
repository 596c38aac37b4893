// The system and shell helpers on the sandbox's own folders, drives and shell; whatever asks
// the user or leaves the program goes through the scripted seams.
#include "services/system.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include "base/text.h"
#include "support/scripted.h"
#include "win/listview.h"
#include "win/unicode.h"

namespace glenvask {
namespace {

std::string env(const wchar_t* name) {
  wchar_t buf[1024] = {};
  DWORD n = GetEnvironmentVariableW(name, buf, 1024);
  return n && n < 1024 ? utf8(buf) : "";
}

bool isFolder(const std::string& path) {
  DWORD a = GetFileAttributesW(wide(path).c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

TEST(System, Folders) {
  std::string windows = GetWindowsDir();
  ASSERT_FALSE(windows.empty());
  EXPECT_NE(windows.back(), '\\');
  EXPECT_TRUE(iequals(windows, env(L"SystemRoot"))) << windows;
  EXPECT_TRUE(isFolder(windows));

  std::string system = GetSystemDir();
  EXPECT_TRUE(iequals(system, windows + "\\system32")) << system;

  std::string temp = GetTempDir();
  ASSERT_FALSE(temp.empty());
  EXPECT_EQ(temp.back(), '\\');
  EXPECT_TRUE(isFolder(temp));

  std::string programs = GetProgramFilesDir(nullptr);
  EXPECT_TRUE(iequals(programs, env(L"ProgramFiles"))) << programs;
  EXPECT_TRUE(isFolder(programs));
}

TEST(System, ExpandSystemRootUsesTheWindowsFolder) {
  std::string windows = GetWindowsDir();
  struct Case {
    std::string in, out;
  } cases[] = {
      {"%systemroot%\\system32\\x.dll", windows + "\\system32\\x.dll"},
      {"\"%SystemRoot%\\a.exe\" %SYSTEMROOT%", "\"" + windows + "\\a.exe\" " + windows},
      {"C:\\no token", "C:\\no token"},
      {"", ""},
  };
  for (auto& c : cases) {
    std::string text = c.in;
    EXPECT_EQ(ExpandSystemRoot(text), c.out) << c.in;
    EXPECT_EQ(text, c.out) << "changed in place: " << c.in;
  }
}

TEST(System, DriveListAndDriveTypes) {
  std::string list = GetLogicalDriveList();
  ASSERT_GE(list.size(), 5u);
  EXPECT_EQ(list.substr(list.size() - 2), std::string("\0\0", 2));
  std::vector<std::string> roots = split(list.substr(0, list.size() - 2), '\0');
  DWORD mask = GetLogicalDrives();
  int expected = 0;
  for (int i = 0; i < 26; ++i) expected += (mask >> i) & 1;
  EXPECT_EQ(int(roots.size()), expected);
  for (const auto& r : roots) {
    ASSERT_EQ(r.size(), 3u) << r;
    EXPECT_EQ(r.substr(1), ":\\");
  }
  EXPECT_NE(list.find(std::string("C:\\\0", 4)), std::string::npos);

  EXPECT_EQ(GetDriveTypeName("C:\\"), "Hard drive");
  // A drive letter nobody uses: find one.
  std::string unused;
  for (char c = 'Z'; c > 'D' && unused.empty(); --c)
    if (!(mask & (1u << (c - 'A')))) unused = std::string(1, c) + ":\\";
  ASSERT_FALSE(unused.empty());
  EXPECT_EQ(GetDriveTypeName(unused), "The root directory does not exist");

  struct Case {
    unsigned type;
    const char* root;
    const char* text;
  } cases[] = {
      {0, "C:\\", "The drive type cannot be determined"},
      {1, "C:\\", "The root directory does not exist"},
      {2, "A:\\", "Floppy drive"},
      {2, "b:\\", "Floppy drive"},
      {2, "E:\\", "Removable drive"},
      {2, "", "Removable drive"},
      {3, "C:\\", "Hard drive"},
      {4, "N:\\", "Remote (network) drive"},
      {5, "D:\\", "CD-ROM drive"},
      {6, "R:\\", "RAM disk"},
      {7, "C:\\", ""},
      {200, "C:\\", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(driveTypeText(c.type, c.root), c.text) << c.type;
}

TEST(System, RecycleBinRoots) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {"", ""}, {"D", "D:\\"}, {"D:", "D:\\"}, {"D:\\", "D:\\"}, {"d", "d:\\"},
      {"Dx", "D:\\"}, {"D:\\x", "D:\\x"},
  };
  for (const auto& c : cases) EXPECT_EQ(recycleBinRoot(c.in), c.out) << c.in;

  std::int64_t size = 99, items = 99;
  QueryRecycleBin("?:\\", size, items);  // a query that fails leaves both 0
  EXPECT_EQ(size, 0);
  EXPECT_EQ(items, 0);
}

TEST(System, WhatLeavesTheProgramGoesOutside) {
  test::RecordingOutside out;
  OpenInternetOptions();
  ShellExecuteOn("Open", "Explorer", "/e,C:\\some folder", "", SW_SHOWNORMAL);
  ShowFileProperties("C:\\a b\\c.txt", nullptr);
  ASSERT_EQ(out.processes.size(), 1u);
  EXPECT_EQ(out.processes[0], "rundll32.exe shell32.dll,Control_RunDLL inetcpl.cpl ");
  ASSERT_EQ(out.shellCalls.size(), 2u);
  EXPECT_EQ(out.shellCalls[0], "Open|Explorer|/e,C:\\some folder");
  EXPECT_EQ(out.shellCalls[1], "properties|C:\\a b\\c.txt|");
  out.result = false;  // a failure is not reported
  OpenInternetOptions();
  EXPECT_EQ(out.processes.size(), 2u);
}

TEST(System, BrowseForFolderAsksTheUser) {
  test::ScriptedAsker ask;
  ask.answerFolder(std::string("C:\\chosen \xC3\xA9"));
  ask.answerFolder(std::nullopt);
  ask.answerFolder(std::string("C:\\x\0junk", 9));
  EXPECT_EQ(BrowseForFolder(), "C:\\chosen \xC3\xA9");
  EXPECT_EQ(BrowseForFolder(), "");
  EXPECT_EQ(BrowseForFolder(), "C:\\x");
  ASSERT_EQ(ask.asked().size(), 3u);
  EXPECT_EQ(ask.asked()[0].kind, "folder");
  EXPECT_EQ(ask.asked()[0].title, "Please Select the folder");
}

class ListWindow : public Window {
 public:
  ListView list;
  bool create() {
    if (!Window::create({"list", 600, 300, WS_OVERLAPPEDWINDOW})) return false;
    list.setColumns({{"N", 20}, {"A much longer header", 20}, {"Size", 300}});
    return list.create(*this, "lstv", 100, 0, 0, 600, 300, false);
  }

 protected:
  const wchar_t* className() const override { return L"GlenvaskTestAutoSize"; }
};

TEST(System, AutoSizeColumnsFitsContentsAndHeaders) {
  ListWindow w;
  ASSERT_TRUE(w.create());
  w.show();
  w.list.addRow({{"a rather long file name that needs room.tmp", "x", "1"}});
  AutoSizeColumns(w.list);
  HWND lv = w.list.hwnd();
  int name = ListView_GetColumnWidth(lv, 0);
  int header = ListView_GetColumnWidth(lv, 1);
  int size = ListView_GetColumnWidth(lv, 2);
  EXPECT_GT(name, 150);     // grew to the long name
  EXPECT_GT(header, 60);    // grew to its header, though its content is short
  EXPECT_LT(size, 300);     // shrank to its short header and content
  AutoSizeColumns(HWND(nullptr));  // nothing to size: nothing happens
}

TEST(System, RegionalNumberStyle) {
  auto locale = [](LCTYPE what) {
    wchar_t buf[100] = {};
    GetLocaleInfoW(LOCALE_USER_DEFAULT, what, buf, 100);
    return utf8(buf);
  };
  NumberStyle style = regionalNumberStyle();
  EXPECT_EQ(style.decimalSeparator, locale(LOCALE_SDECIMAL));
  EXPECT_EQ(style.groupSeparator, locale(LOCALE_STHOUSAND));
  EXPECT_EQ(style.grouping, groupingFromLocale(locale(LOCALE_SGROUPING)));
  EXPECT_EQ(style.leadingZero, locale(LOCALE_ILZERO) == "1");
  EXPECT_EQ(std::to_string(style.negativeOrder), locale(LOCALE_INEGNUMBER));
  if (locale(LOCALE_SNAME) == "en-US") {  // the sandbox's
    EXPECT_EQ(FormatFileSize(1048575, 2, true, style), "1,024.00 KB");
    EXPECT_EQ(FormatFileSize(-536870912, 2, true, style), "-0.50 GB");
  }
  NumberStyle saved = numberStyle();
  useRegionalNumberStyle();
  EXPECT_EQ(FormatFileSize(5000000, 2, true), FormatFileSize(5000000, 2, true, style));
  setNumberStyle(saved);
}

}  // namespace
}  // namespace glenvask
