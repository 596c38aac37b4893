// The backup list in a plain window, as the Backups page holds it: the archives listed, Delete,
// View opening the zip contents viewer with its rows, icons and status; the overwrite
// question's replies.
#include "options/backups.h"

#include <gtest/gtest.h>

#include "options/backups_support.h"
#include "options/frmOverwrite.h"
#include "options/frmUnzip.h"
#include "services/scanner.h"
#include "support/scripted.h"
#include "win/regional.h"
#include "win/unicode.h"

namespace glenvask {
namespace {

class BackupListTest : public ::testing::Test {
 protected:
  test::ScratchFolder scratch;
  test::ScriptedAsker script;
  test::PageWindow page;
  ListView& list = page.backups.lstvZip;
  void SetUp() override { ASSERT_TRUE(page.make()); }
  void TearDown() override { page.destroy(); }
  std::vector<std::string> names() {
    std::vector<std::string> out;
    for (size_t i = 0; i < list.rowCount(); ++i) out.push_back(list.rowText(i, kBackupColName));
    std::sort(out.begin(), out.end());
    return out;
  }
  void select(const std::string& name) {
    for (size_t i = 0; i < list.rowCount(); ++i) list.select(i, list.rowText(i, kBackupColName) == name);
  }
};

TEST_F(BackupListTest, ListsTheArchivesAndDeletesOne) {
  std::string a = test::makeArchive(scratch.file("C_01012024101010.zip"), {{"x", "12345"}});
  scratch.write("other.ZIP", "not really");
  scratch.write("notes.txt", "no");
  CreateDirectoryW(wide(scratch.file("folder.zip")).c_str(), nullptr);
  page.backups.LoadBackupList(scratch.path() + "\\");
  EXPECT_EQ(names(), (std::vector<std::string>{"C_01012024101010.zip", "other.ZIP"}));
  select("C_01012024101010.zip");
  size_t row = list.selectedRows().at(0);
  WIN32_FILE_ATTRIBUTE_DATA info{};
  GetFileAttributesExW(wide(a).c_str(), GetFileExInfoStandard, &info);
  EXPECT_EQ(list.rowText(row, kBackupColDate),
            formatGeneralDate(FileTimeToLocal(info.ftLastWriteTime), userRegionalFormat()));
  EXPECT_EQ(list.rowText(row, kBackupColBytes), std::to_string(info.nFileSizeLow));

  // Held open by another program: it stays, and says so.
  FileHandle held(CreateFileW(wide(a).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr));
  script.answerMessage(IDOK);
  page.backups.cmdBackupDelete.click();
  held.reset();
  ASSERT_EQ(script.asked().size(), 1u);
  EXPECT_EQ(script.asked()[0].text, "File cannot be deleted");
  EXPECT_EQ(script.asked()[0].flags, static_cast<UINT>(MB_OK | MB_ICONERROR));
  page.backups.cmdBackupDelete.click();
  EXPECT_FALSE(scratch.exists("C_01012024101010.zip"));
  EXPECT_EQ(names(), std::vector<std::string>{"other.ZIP"});

  list.select(0, false);
  for (Button* b : {&page.backups.cmdBackupDelete, &page.backups.cmdBackupRestore,
                    &page.backups.cmdBackupView})
    b->click();  // no row selected: nothing happens, nothing is asked
  EXPECT_TRUE(scratch.exists("other.ZIP"));
  EXPECT_EQ(script.asked().size(), 1u);
  page.backups.LoadBackupList(scratch.file("missing"));
  EXPECT_EQ(list.rowCount(), 0u);
}

TEST_F(BackupListTest, ViewListsTheArchivesFilesWithTheirIcons) {
  test::makeArchive(scratch.file("D_1.zip"), {{"top.txt", "1"},
                                              {"dir/", ""},
                                              {"dir/sub/UP.TXT", std::string(300, 'u')},
                                              {"dir/run.exe", "22"},
                                              {"dir/README", "4444"},
                                              {"a.b.log", "333"}});
  test::editFile(test::makeArchive(scratch.file("E_2.zip"), {{"s.txt", "s"}}), test::markEncrypted);
  scratch.write("X_bad.zip", "not an archive");
  page.backups.LoadBackupList(scratch.path());
  struct Case {
    const char* archive;
    std::vector<std::string> rows;  // name|size|folder
  } cases[] = {{"D_1.zip",
                {"top.txt|1|D:\\", "UP.TXT|300|D:\\dir\\sub", "run.exe|2|D:\\dir",
                 "README|4|D:\\dir", "a.b.log|3|D:\\"}},
               {"E_2.zip", {"s.txt+|1|E:\\"}},
               {"X_bad.zip", {}}};
  for (const auto& c : cases) {
    select(c.archive);
    script.answerModal([&](Dialog& d) {
      auto& v = static_cast<ZipViewWindow&>(d);
      EXPECT_EQ(v.text(), "Zip Information");
      EXPECT_EQ(v.lblStatus.text(), std::to_string(c.rows.size()) + " files(s)");
      std::vector<std::string> rows;
      for (size_t i = 0; i < v.rowCount(); ++i)
        rows.push_back(v.rowText(i, kZipColFilename) + "|" + v.rowText(i, kZipColSize) + "|" +
                       v.rowText(i, kZipColFolder));
      EXPECT_EQ(rows, c.rows);
      if (rows.size() == 5) {
        EXPECT_EQ(v.rowKey(4), "File5");
        EXPECT_EQ(v.rowImage(0), v.rowImage(1)) << ".txt and .TXT share one image";
        EXPECT_EQ(v.rowImage(2) + v.rowImage(3), 0) << "programs and names without a dot: default";
        EXPECT_NE(v.rowImage(4), v.rowImage(0)) << "the extension after the last dot";
        EXPECT_EQ(v.rowText(0, kZipColDate).find(formatShortDate(test::kEntryTime, userRegionalFormat())), 0u);
        v.lvwZip_ColumnClick(kZipColSize);
        EXPECT_EQ(v.rowText(0, kZipColFilename), "UP.TXT") << "sizes sort as numbers";
      }
      v.close();
    });
    page.backups.cmdBackupView.click();
  }
  script.answerModal([](Dialog& d) { d.close(); });
  list.onActivate(0);  // a double click views too
  EXPECT_EQ(script.asked().size(), 4u);
  EXPECT_EQ(test::listFolder(scratch.path()), (std::vector<std::string>{"D_1.zip", "E_2.zip", "X_bad.zip"}));
  EXPECT_EQ(shortTimePicture("h:mm:ss tt") + shortTimePicture("HH.mm.ss"), "h:mm ttHH.mm");
}

TEST(OverwriteQuestion, RepliesAsTheWrapperTakesThem) {
  test::ScriptedAsker script;
  struct Case {
    int button;  // the button pressed, 0 for the close box
    bool all;
    std::int32_t reply;
  } cases[] = {{ids::kOverwriteYes, false, 102},   {ids::kOverwriteYes, true, 103},
               {ids::kOverwriteNo, false, 100},    {ids::kOverwriteNo, true, 104},
               {ids::kOverwriteCancel, false, 104}, {0, false, 104}};
  for (const auto& c : cases) {
    script.answerModal([&](Dialog& d) {
      auto& q = static_cast<OverwriteWindow&>(d);
      EXPECT_EQ(q.text() + "|" + q.chkAllFiles.text() + "|" + q.lblCaption.text(),
                "Overwrite Confirmation|&Apply to All Files|"
                "Do you want to overwrite the existing copy of C:\\a b\\c.txt?");
      q.chkAllFiles.setChecked(c.all);
      if (c.button) SendMessageW(q.hwnd(), WM_COMMAND, c.button, 0);
    });
    EXPECT_EQ(askOverwrite(nullptr, "C:\\a b\\c.txt"), c.reply) << c.button << " " << c.all;
  }
}

}  // namespace
}  // namespace glenvask
