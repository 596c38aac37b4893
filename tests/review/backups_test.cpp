// The backup list in a plain window (as the Backups page holds it): the archives listed, View
// opening the zip contents viewer, Delete; the viewer's rows, icons and status; the overwrite
// question's replies.
#include "review/backups.h"

#include <gtest/gtest.h>

#include "review/backups_support.h"
#include "review/frmOverwrite.h"
#include "review/frmUnzip.h"
#include "review/unzip.h"
#include "services/globals.h"
#include "services/scanner.h"
#include "support/scripted.h"
#include "win/regional.h"

namespace glenvask {
namespace {

class BackupListTest : public ::testing::Test {
 protected:
  test::ScratchFolder scratch;
  test::ScriptedAsker script;
  test::PageWindow page;
  void SetUp() override { ASSERT_TRUE(page.make()); }
  void TearDown() override { page.destroy(); }
  std::vector<std::string> names() {
    std::vector<std::string> out;
    for (size_t i = 0; i < page.backups.lstvZip.rowCount(); ++i)
      out.push_back(page.backups.lstvZip.rowText(i, kBackupColName));
    std::sort(out.begin(), out.end());
    return out;
  }
  void select(const std::string& name) {
    auto& list = page.backups.lstvZip;
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
  size_t row = page.backups.lstvZip.selectedRows().at(0);
  WIN32_FILE_ATTRIBUTE_DATA info{};
  GetFileAttributesExW(wide(a).c_str(), GetFileExInfoStandard, &info);
  EXPECT_EQ(page.backups.lstvZip.rowText(row, kBackupColDate),
            formatGeneralDate(FileTimeToLocal(info.ftLastWriteTime), userRegionalFormat()));
  EXPECT_EQ(page.backups.lstvZip.rowText(row, kBackupColBytes), std::to_string(info.nFileSizeLow));

  // Held open by another program: it stays, and says so.
  FileHandle held(CreateFileW(wide(a).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr));
  script.answerMessage(IDOK);
  page.backups.cmdBackupDelete.click();
  held.reset();
  ASSERT_EQ(script.asked().size(), 1u);
  EXPECT_EQ(script.asked()[0].text, "File cannot be deleted");
  EXPECT_EQ(script.asked()[0].flags, static_cast<UINT>(MB_OK | MB_ICONERROR));
  EXPECT_EQ(names().size(), 2u);
  page.backups.cmdBackupDelete.click();
  EXPECT_FALSE(scratch.exists("C_01012024101010.zip"));
  EXPECT_EQ(names(), std::vector<std::string>{"other.ZIP"});

  page.backups.lstvZip.select(0, false);
  for (Button* b : {&page.backups.cmdBackupDelete, &page.backups.cmdBackupRestore,
                    &page.backups.cmdBackupView})
    b->click();  // no row selected: nothing happens, nothing is asked
  EXPECT_TRUE(scratch.exists("other.ZIP"));
  EXPECT_EQ(script.asked().size(), 1u);
  page.backups.LoadBackupList(scratch.file("missing"));
  EXPECT_EQ(names(), std::vector<std::string>{});
}

TEST_F(BackupListTest, ViewListsTheArchivesFilesWithTheirIcons) {
  std::string a = test::makeArchive(
      scratch.file("D_1.zip"), {{"top.txt", "1"},
                                {"dir/", ""},
                                {"dir/sub/UP.TXT", std::string(300, 'u')},
                                {"dir/run.exe", "22"},
                                {"dir/README", "4444"},
                                {"a.b.log", "333"}});
  std::string enc = test::makeArchive(scratch.file("E_2.zip"), {{"s.txt", "s"}});
  test::editFile(enc, test::markEncrypted);
  scratch.write("X_bad.zip", "not an archive");
  page.backups.LoadBackupList(scratch.path());
  struct Case {
    const char* archive;
    std::vector<std::vector<std::string>> rows;  // name, size, folder
    const char* status;
  } cases[] = {
      {"D_1.zip",
       {{"top.txt", "1", "D:\\"},
        {"UP.TXT", "300", "D:\\dir\\sub"},
        {"run.exe", "2", "D:\\dir"},
        {"README", "4", "D:\\dir"},
        {"a.b.log", "3", "D:\\"}},
       "5 files(s)"},
      {"E_2.zip", {{"s.txt+", "1", "E:\\"}}, "1 files(s)"},
      {"X_bad.zip", {}, "0 files(s)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.archive);
    select(c.archive);
    script.answerModal([&](Dialog& d) {
      auto& v = static_cast<ZipViewWindow&>(d);
      EXPECT_EQ(&v, &frmUnzip());
      EXPECT_EQ(v.text(), "Zip Information");
      EXPECT_EQ(v.lblStatus.text(), c.status);
      ASSERT_EQ(v.rowCount(), c.rows.size());
      for (size_t i = 0; i < c.rows.size(); ++i) {
        EXPECT_EQ(v.rowText(i, kZipColFilename), c.rows[i][0]);
        EXPECT_EQ(v.rowText(i, kZipColSize), c.rows[i][1]);
        EXPECT_EQ(v.rowText(i, kZipColFolder), c.rows[i][2]);
        EXPECT_EQ(v.rowKey(i), "File" + std::to_string(i + 1));
      }
      if (c.rows.size() == 5) {
        auto image = [&](size_t i) { return v.rowImage(i); };
        EXPECT_EQ(image(0), image(1)) << ".txt and .TXT share one image";
        EXPECT_EQ(image(2), 0) << "a program shows the default image";
        EXPECT_EQ(image(3), 0) << "a name without a dot too";
        EXPECT_NE(image(4), image(0)) << "the extension after the last dot";
        EXPECT_EQ(v.rowText(0, kZipColDate).find(formatShortDate(test::kEntryTime, userRegionalFormat())), 0u);
        v.lvwZip_ColumnClick(kZipColSize);
        EXPECT_EQ(v.rowText(0, kZipColFilename), "UP.TXT") << "sizes sort as numbers";
      }
      v.close();
    });
    page.backups.cmdBackupView.click();
    EXPECT_FALSE(frmUnzip().isOpen());
  }
  script.answerModal([](Dialog& d) { d.close(); });
  page.backups.lstvZip.onActivate(0);  // a double click views too
  EXPECT_EQ(script.asked().size(), 4u);
  EXPECT_EQ(test::listFolder(scratch.path()),
            (std::vector<std::string>{"D_1.zip", "E_2.zip", "X_bad.zip"}))
      << "viewing writes nothing";
  EXPECT_EQ(shortTimePicture("h:mm:ss tt"), "h:mm tt");
  EXPECT_EQ(shortTimePicture("HH.mm.ss"), "HH.mm");
}

TEST(OverwriteQuestion, RepliesAsTheWrapperTakesThem) {
  test::ScriptedAsker script;
  struct Case {
    int button;  // the button pressed, 0 for the close box
    bool all;
    std::int32_t reply;
  } cases[] = {{ids::kOverwriteYes, false, 102}, {ids::kOverwriteYes, true, 103},
               {ids::kOverwriteNo, false, 100},  {ids::kOverwriteNo, true, 104},
               {ids::kOverwriteCancel, false, 104}, {0, false, 104}};
  for (const auto& c : cases) {
    script.answerModal([&](Dialog& d) {
      auto& q = static_cast<OverwriteWindow&>(d);
      EXPECT_EQ(q.text(), "Overwrite Confirmation");
      EXPECT_EQ(q.lblCaption.text(), "Do you want to overwrite the existing copy of C:\\a b\\c.txt?");
      EXPECT_EQ(q.chkAllFiles.text(), "&Apply to All Files");
      q.chkAllFiles.setChecked(c.all);
      if (c.button) SendMessageW(q.hwnd(), WM_COMMAND, c.button, 0);
    });
    EXPECT_EQ(askOverwrite(nullptr, "C:\\a b\\c.txt"), c.reply) << c.button << " " << c.all;
  }
}

}  // namespace
}  // namespace glenvask
