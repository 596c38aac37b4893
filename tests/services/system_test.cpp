// The system and shell helpers on the sandbox's own folders, drives and list views.
#include "services/system.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <bit>

#include "base/text.h"
#include "support/scripted.h"
#include "win/listview.h"
#include "win/unicode.h"

namespace glenvask {
namespace {

bool isFolder(const std::string& path) {
  DWORD a = GetFileAttributesW(wide(path).c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

TEST(System, Folders) {
  std::string windows = GetWindowsDir(), temp = GetTempDir();
  std::string programs = GetProgramFilesDir(nullptr);
  ASSERT_FALSE(windows.empty() || temp.empty());
  EXPECT_TRUE(iequals(windows, test::env("SystemRoot"))) << windows;  // no final "\"
  EXPECT_TRUE(iequals(GetSystemDir(), windows + "\\system32")) << GetSystemDir();
  EXPECT_EQ(temp.back(), '\\');
  EXPECT_TRUE(iequals(programs, test::env("ProgramFiles"))) << programs;
  for (const auto& f : {windows, temp, programs}) EXPECT_TRUE(isFolder(f)) << f;

  // ExpandSystemRoot puts the Windows folder in, in place.
  std::string text = "\"%SystemRoot%\\a.exe\" %systemroot%";
  const std::string expanded = "\"" + windows + "\\a.exe\" " + windows;
  EXPECT_EQ(ExpandSystemRoot(text), expanded);
  EXPECT_EQ(text, expanded);
}

TEST(System, DriveListAndDriveTypes) {
  std::string list = GetLogicalDriveList();
  ASSERT_GE(list.size(), 5u);
  EXPECT_EQ(list.substr(list.size() - 2), std::string("\0\0", 2));
  std::vector<std::string> roots = split(list.substr(0, list.size() - 2), '\0');
  DWORD mask = GetLogicalDrives();
  EXPECT_EQ(roots.size(), size_t(std::popcount(mask)));
  for (const auto& r : roots) EXPECT_TRUE(r.size() == 3 && r.substr(1) == ":\\") << r;
  EXPECT_NE(list.find(std::string("C:\\\0", 4)), std::string::npos);

  EXPECT_EQ(GetDriveTypeName("C:\\"), "Hard drive");
  std::string unused;  // a drive letter nobody uses
  for (char c = 'Z'; c > 'D' && unused.empty(); --c)
    if (!(mask & (1u << (c - 'A')))) unused = std::string(1, c) + ":\\";
  EXPECT_EQ(GetDriveTypeName(unused), "The root directory does not exist");

  struct Case {
    unsigned type;
    const char* root;
    const char* text;
  } cases[] = {
      {0, "C:\\", "The drive type cannot be determined"}, {2, "A:\\", "Floppy drive"},
      {2, "b:\\", "Floppy drive"}, {2, "E:\\", "Removable drive"}, {2, "", "Removable drive"},
      {4, "N:\\", "Remote (network) drive"}, {5, "D:\\", "CD-ROM drive"}, {6, "R:\\", "RAM disk"},
      {7, "C:\\", ""}, {200, "C:\\", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(driveTypeText(c.type, c.root), c.text) << c.type;
}

TEST(System, RecycleBinRoots) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {{"", ""}, {"D", "D:\\"}, {"D:", "D:\\"}, {"D:\\", "D:\\"}, {"d", "d:\\"},
               {"Dx", "D:\\"}, {"D:\\x", "D:\\x"}};
  for (const auto& c : cases) EXPECT_EQ(recycleBinRoot(c.in), c.out) << c.in;
  std::int64_t size = 99, items = 99;
  QueryRecycleBin("?:\\", size, items);  // a query that fails leaves both 0
  EXPECT_EQ(size + items, 0);
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
  EXPECT_GT(ListView_GetColumnWidth(lv, 0), 150);  // grew to the long name
  EXPECT_GT(ListView_GetColumnWidth(lv, 1), 60);   // grew to its header, its content short
  EXPECT_LT(ListView_GetColumnWidth(lv, 2), 300);  // shrank to its short header and content
  AutoSizeColumns(HWND(nullptr));                  // nothing to size: nothing happens
}

}  // namespace
}  // namespace glenvask
