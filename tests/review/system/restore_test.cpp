// Restore from the backup list to a scratch folder mapped as drive D: (the drive the archive's
// name starts with): the rules with the real overwrite question, the messages, archives that
// cannot be restored; and the page served to the end-to-end test (tests/e2e/test_backup_restore.py).
#include <gtest/gtest.h>

#include "review/backups.h"
#include "review/backups_support.h"
#include "review/frmOverwrite.h"
#include "services/host.h"
#include "support/drive.h"
#include "support/scripted.h"
#include "win/pump.h"

namespace glenvask {
namespace {

// The main window of a run: a restore keeps it disabled (its timer starts no run meanwhile).
class MainHost : public CleaningHost {
 public:
  HWND main = CreateWindowW(L"STATIC", L"main", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                            nullptr, nullptr);
  CleaningHost* previous = setCleaningHost(this);
  ~MainHost() override {
    setCleaningHost(previous);
    DestroyWindow(main);
  }
  HWND ownerWindow() const override { return main; }
};

class RestoreTest : public ::testing::Test {
 protected:
  test::ScratchFolder backups{"backups"}, drive{"drive"};
  test::ScratchDrive d{L'D', drive.path(), DRIVE_FIXED};
  test::ScriptedAsker script;
  test::PageWindow page;
  MainHost host;

  void SetUp() override {
    if (!d.ready()) GTEST_SKIP() << "drive D: is taken in this prefix";
    ASSERT_TRUE(page.make());
  }
  void TearDown() override { page.destroy(); }
  // Restores the archive by the rule (0 Always ... 3 Never): the message shown.
  std::string restore(const std::string& archive, int rule) {
    page.backups.LoadBackupList(backups.path());
    auto& list = page.backups.lstvZip;
    for (size_t i = 0; i < list.rowCount(); ++i) list.select(i, list.rowText(i, kBackupColName) == archive);
    page.rules.choose(rule);
    script.answerMessage(IDOK);
    page.backups.cmdBackupRestore.click();
    return script.asked().empty() ? "" : script.asked().back().text;
  }
};

TEST_F(RestoreTest, RulesAndTheQuestion) {
  test::makeArchive(backups.file("D_06122026101010.zip"),
                    {{"data/keep.txt", "archived"}, {"data/sub/gone.txt", "back"}});
  struct Case {
    const char* what;
    int rule, button;  // the question's button pressed (0: none is asked)
    bool all;
    const char* keep;  // keep.txt afterwards
  } cases[] = {{"Always", 0, 0, false, "archived"},       {"Never", 3, 0, false, "changed"},
               {"Prompt, Yes", 2, ids::kOverwriteYes, false, "archived"},
               {"Prompt, No", 2, ids::kOverwriteNo, true, "changed"},
               {"Prompt, Cancel", 2, ids::kOverwriteCancel, false, "changed"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    drive.write("data\\keep.txt", "changed");
    DeleteFileW(wide(drive.file("data\\sub\\gone.txt")).c_str());
    if (c.button)
      script.answerModal([&](Dialog& dialog) {
        auto& q = static_cast<OverwriteWindow&>(dialog);
        EXPECT_EQ(q.lblCaption.text(), "Do you want to overwrite the existing copy of D:\\data\\keep.txt?");
        EXPECT_FALSE(page.backups.cmdBackupRestore.enabled()) << "the page waits for the restore";
        EXPECT_FALSE(IsWindowEnabled(host.main)) << "no timed run starts meanwhile";
        q.chkAllFiles.setChecked(c.all);
        SendMessageW(q.hwnd(), WM_COMMAND, c.button, 0);
      });
    EXPECT_EQ(restore("D_06122026101010.zip", c.rule), kRestoreDoneText);
    EXPECT_EQ(drive.read("data\\keep.txt"), c.keep);
    EXPECT_EQ(drive.read("data\\sub\\gone.txt"), "back") << "a missing file comes back";
    EXPECT_TRUE(page.backups.cmdBackupRestore.enabled());
    EXPECT_TRUE(IsWindowEnabled(host.main));
  }
}

// Archives that cannot be restored say so; nothing is written where it must not be.
TEST_F(RestoreTest, ErrorsAreReported) {
  test::makeArchive(backups.file("1_bad.zip"), {{"x.txt", "x"}});
  test::makeArchive(backups.file("D_folders.zip"), {{"only/", ""}});
  test::makeArchive(backups.file("D_hostile.zip"), {{"../out.txt", "x"}, {"safe.txt", "ok"}});
  backups.write("D_random.zip", test::bytesOf(3000, 5));
  std::string missing;  // a drive letter the prefix does not have
  for (char l = 'Z'; l > 'D' && missing.empty(); --l)
    if (!(GetLogicalDrives() & (1u << (l - 'A')))) missing = std::string(1, l);
  test::makeArchive(backups.file(missing + "_nodrive.zip"), {{"x.txt", "x"}});
  for (std::string a : {"1_bad.zip", "D_folders.zip", "D_hostile.zip", "D_random.zip"})
    EXPECT_EQ(restore(a, 0), kRestoreErrorText) << a;
  EXPECT_EQ(restore(missing + "_nodrive.zip", 0), kRestoreErrorText);
  EXPECT_EQ(test::listFolder(drive.path()), std::vector<std::string>{"safe.txt"});
}

// Not a test of its own: the Backups page for the end-to-end test, with the real questions and
// message boxes, until the test closes it.
TEST(BackupPageHarness, ServesTheEndToEndTest) {
  std::string folder = test::env("GLENVASK_BACKUP_HARNESS");
  if (folder.empty()) GTEST_SKIP() << "run by tests/e2e/test_backup_restore.py";
  test::PageWindow page;
  page.quitOnDestroy = true;
  ASSERT_TRUE(page.make());
  page.backups.LoadBackupList(folder);
  page.show();
  runMessageLoop();
}

}  // namespace
}  // namespace glenvask
