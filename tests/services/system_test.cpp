#include "services/system.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include "base/text.h"
#include "support/scripted.h"
#include "win/listview.h"
#include "win/unicode.h"

namespace glenvask {
namespace {

TEST(System, FoldersDriveTypesAndRecycleBinRoots) {
  std::string windows = GetWindowsDir(), temp = GetTempDir();
  ASSERT_FALSE(windows.empty());
  EXPECT_TRUE(iequals(windows, test::env("SystemRoot"))) << windows;  // no final "\"
  EXPECT_TRUE(iequals(GetSystemDir(), windows + "\\system32")) << GetSystemDir();
  EXPECT_EQ(temp.back(), '\\');
  EXPECT_TRUE(iequals(GetProgramFilesDir(nullptr), test::env("ProgramFiles")));
  // ExpandSystemRoot puts the Windows folder in, in place.
  std::string text = "\"%SystemRoot%\\a.exe\" %systemroot%";
  EXPECT_EQ(ExpandSystemRoot(text), "\"" + windows + "\\a.exe\" " + windows);
  EXPECT_EQ(text, "\"" + windows + "\\a.exe\" " + windows);

  // The list with every letter in use: system/drives_test.cpp.
  EXPECT_EQ(GetDriveTypeName("C:\\"), "Hard drive");
  std::string unused;  // a drive letter nobody uses
  for (char c = 'Z'; c > 'D' && unused.empty(); --c)
    if (!(GetLogicalDrives() & (1u << (c - 'A')))) unused = std::string(1, c) + ":\\";
  EXPECT_EQ(GetDriveTypeName(unused), "The root directory does not exist");
  std::tuple<unsigned, const char*, const char*> types[] = {
      {0, "C:\\", "The drive type cannot be determined"}, {2, "A:\\", "Floppy drive"},
      {2, "b:\\", "Floppy drive"}, {2, "E:\\", "Removable drive"}, {2, "", "Removable drive"},
      {4, "N:\\", "Remote (network) drive"}, {5, "D:\\", "CD-ROM drive"}, {6, "R:\\", "RAM disk"},
      {7, "C:\\", ""}, {200, "C:\\", ""},
  };
  for (const auto& [type, root, text] : types) EXPECT_EQ(driveTypeText(type, root), text) << type;

  std::pair<const char*, const char*> roots[] = {{"", ""}, {"D", "D:\\"}, {"D:", "D:\\"},
      {"D:\\", "D:\\"}, {"d", "d:\\"}, {"Dx", "D:\\"}, {"D:\\x", "D:\\x"}};
  for (const auto& [in, out] : roots) EXPECT_EQ(recycleBinRoot(in), out) << in;
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
