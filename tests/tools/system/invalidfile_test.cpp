// The invalid-file window walks the real registry: values seeded in a scratch key are listed
// when, and only when, they name a missing file on a fixed drive; Delete removes exactly the
// checked values, and one changed since the walk stays; Stop ends the walk.
#include <gtest/gtest.h>

#include <set>

#include "base/text.h"
#include "support/drive.h"
#include "support/scripted.h"
#include "tools/frmOrphanedFile.h"
#include "tools/tools_support.h"

namespace glenvask {
namespace {

TEST(InvalidFileWindow, ListsTheValuesOfMissingFilesAndDeletesTheCheckedOnes) {
  test::ScratchFolder dir, cd("cdrom");
  test::ScratchKey key;
  test::ScratchDrive cdrom(L'L', cd.path(), DRIVE_CDROM);
  ASSERT_TRUE(cdrom.ready());
  std::string d = dir.path(), k = key.subkey();
  dir.write("app.exe", "x");
  dir.write("lib.dll", "x");
  HKEY cu = HKEY_CURRENT_USER;
  std::string missing = d + "\\missing.exe";
  const std::tuple<const char*, std::string, DWORD, bool> seeds[] = {
      {"missing", missing, REG_SZ, true},
      {"expand", "%SystemRoot%\\no-such-glenvask.exe", REG_EXPAND_SZ, true},
      {"quoted", "\"" + missing + "\" -a", REG_SZ, true},
      {"wert-\xc3\xa4", missing, REG_SZ, true},
      {"long", missing + " " + std::string(10000, 'a'), REG_SZ, true},
      {"present", d + "\\app.exe", REG_SZ, false},
      {"resource", "%SystemRoot%\\system32\\shell32.dll,-33", REG_EXPAND_SZ, false},
      {"arguments", "\"" + d + "\\app.exe\" \"%1\"", REG_SZ, false},
      {"typelib", d + "\\lib.dll\\2", REG_SZ, false},
      {"cdrom", "L:\\missing.exe", REG_SZ, false},
      {"absent", "R:\\missing.exe", REG_SZ, false},
      {"relative", "missing.exe", REG_SZ, false},
      {"multi", missing, REG_MULTI_SZ, false},
      {"huge", missing + " " + std::string(70000, 'a'), REG_SZ, false},
  };
  for (const auto& [name, data, type, listed] : seeds) test::setText(cu, k, name, data, type);
  test::setBytes(cu, k, "binary", REG_BINARY, std::string("C\0:\0\\\0x\0", 8));
  test::setBytes(cu, k, "nul", REG_SZ,
                 std::string(reinterpret_cast<const char*>(wide(d + "\\app.exe").c_str()),
                             2 * (d.size() + 8)) +
                     std::string("\0\0C\0:\0\\\0", 8));
  for (int i = 0; i < 3000; ++i) test::setText(cu, k + "\\many", "v" + std::to_string(i), "x");
  test::setText(cu, k + "\\many", "deep", missing);
  test::setText(cu, k + "\\Wow6432Node", "skipped", missing);

  InvalidFileWindow& w = frmInvalidFile();
  ASSERT_TRUE(w.open());
  EXPECT_EQ(w.text(), "Orphaned file/path reference");
  EXPECT_EQ(w.Label1.text(), "Orphaned File/Path Reference");
  w.Timer1_Timer();
  EXPECT_FALSE(w.timerOn());
  EXPECT_TRUE(w.cmdDelete.enabled());
  EXPECT_FALSE(w.cmdStop.enabled());
  std::string prefix = "HKEY_CURRENT_USER:" + k + "\\";
  auto mine = test::rowsWith(w.lstvInvalid, 0, prefix);
  std::set<std::string> listed;
  for (const auto& cells : mine) listed.insert(cells[1]);
  EXPECT_EQ(listed, (std::set<std::string>{"deep", "expand", "long", "missing", "quoted",
                                           "wert-\xc3\xa4"}));
  EXPECT_EQ(test::rowsWith(w.lstvInvalid, 1, "deep").at(0).at(0), prefix + "many\\");
  EXPECT_EQ(w.lblStatus.text(), std::to_string(w.lstvInvalid.rowCount()) + " invalid references");
  for (size_t i = 1; i < w.lstvInvalid.rowCount(); ++i)
    EXPECT_LE(toLower(w.lstvInvalid.rowText(i - 1, 1)), toLower(w.lstvInvalid.rowText(i, 1)));

  auto rowOf = [&](const std::string& name) { return test::rowOf(w.lstvInvalid, prefix, 1, name); };
  w.lstvInvalid.select(rowOf("missing"));
  EXPECT_EQ(w.txtKey.text(), prefix);
  EXPECT_EQ(w.txtValue.text(), "missing");
  EXPECT_EQ(w.txtPath.text(), missing);

  auto before = test::valueNames(k);
  for (const char* name : {"missing", "wert-\xc3\xa4", "quoted"})
    w.lstvInvalid.setRowChecked(rowOf(name), true);
  test::setText(cu, k, "quoted", "changed since the walk");
  w.cmdDelete.click();
  std::erase(before, "missing");
  std::erase(before, "wert-\xc3\xa4");
  EXPECT_EQ(test::valueNames(k), before);
  EXPECT_EQ(rowOf("missing"), size_t(-1));
  EXPECT_NE(rowOf("expand"), size_t(-1));
  EXPECT_TRUE(test::hasValue(cu, k + "\\many", "deep"));

  // Stop, clicked as the walk starts, ends it before the local machine is walked.
  std::uint64_t whole = w.judgedValues();
  PostMessageW(w.cmdStop.hwnd(), BM_CLICK, 0, 0);
  w.Timer1_Timer();
  EXPECT_LT(w.judgedValues(), whole / 2);
  EXPECT_TRUE(w.cmdDelete.enabled());
  EXPECT_EQ(w.lblStatus.text(), std::to_string(w.lstvInvalid.rowCount()) + " invalid references");
  w.cmdClose.click();
  EXPECT_FALSE(w.isOpen());
}

}  // namespace
}  // namespace glenvask
