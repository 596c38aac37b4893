// Restore from the backup list to a scratch folder mapped as drive D:, the drive the archives'
// names start with: the rules with the real question, the messages, archives that cannot be
// restored; and the page served to the end-to-end test (tests/e2e/test_backup_restore.py).
#include <gtest/gtest.h>

#include "options/backups.h"
#include "options/backups_support.h"
#include "options/frmOverwrite.h"
#include "services/host.h"
#include "support/drive.h"
#include "support/scripted.h"
#include "win/pump.h"
#include "win/unicode.h"

namespace glenvask {
namespace {

// The main window of a run: a restore keeps it disabled, so its timer starts no run meanwhile.
class MainHost : public CleaningHost {
 public:
  HWND main = CreateWindowW(L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  CleaningHost* previous = setCleaningHost(this);
  ~MainHost() override {
    setCleaningHost(previous);
    DestroyWindow(main);
  }
  HWND ownerWindow() const override { return main; }
};

TEST(Restore, RulesQuestionsAndErrors) {
  test::ScratchFolder backups{"backups"}, drive{"drive"};
  test::ScratchDrive d{L'D', drive.path(), DRIVE_FIXED};
  if (!d.ready()) GTEST_SKIP() << "drive D: is taken in this prefix";
  test::ScriptedAsker script;
  MainHost host;
  test::PageWindow page;
  ASSERT_TRUE(page.make());
  auto restore = [&](const std::string& archive, int rule) {
    page.backups.LoadBackupList(backups.path());
    auto& list = page.backups.lstvZip;
    for (size_t i = 0; i < list.rowCount(); ++i) list.select(i, list.rowText(i, kBackupColName) == archive);
    page.rules.choose(rule);
    script.answerMessage(IDOK);
    page.backups.cmdBackupRestore.click();
    return script.asked().back().text;
  };

  test::makeArchive(backups.file("D_06122026101010.zip"), {{"data/keep.txt", "archived"}, {"data/sub/gone.txt", "back"}});
  struct Case {
    int rule, button;  // 0 Always ... 3 Never; the question's button (0: none is asked)
    bool all;
    const char* keep;  // keep.txt afterwards
  } cases[] = {{0, 0, false, "archived"},
               {3, 0, false, "changed"},
               {2, ids::kOverwriteYes, false, "archived"},
               {2, ids::kOverwriteCancel, false, "changed"}};
  for (const auto& c : cases) {
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
    EXPECT_EQ(restore("D_06122026101010.zip", c.rule), kRestoreDoneText) << c.rule << c.button;
    EXPECT_EQ(drive.read("data\\keep.txt"), c.keep);
    EXPECT_EQ(drive.read("data\\sub\\gone.txt"), "back") << "a missing file comes back";
    EXPECT_TRUE(page.backups.cmdBackupRestore.enabled() && IsWindowEnabled(host.main));
  }

  // A name that starts with no letter, or with a drive that is not there; nothing to restore;
  // not an archive; a hostile name (only the safe entry is written).
  std::string missing = "D";
  while (missing < "Z" && (GetLogicalDrives() & (1u << (missing[0] - 'A')))) ++missing[0];
  test::removeTree(drive.file("data"));
  for (auto [name, items] : std::vector<std::pair<std::string, std::vector<test::Item>>>{
           {"1_x.zip", {{"x.txt", "x"}}},
           {missing + "_x.zip", {{"x.txt", "x"}}},
           {"D_folders.zip", {{"only/", ""}}},
           {"D_hostile.zip", {{"../out.txt", "x"}, {"safe.txt", "ok"}}}})
    test::makeArchive(backups.file(name), items);
  backups.write("D_random.zip", test::bytesOf(3000, 5));
  for (const std::string& a :
       std::vector<std::string>{"1_x.zip", missing + "_x.zip", "D_folders.zip", "D_hostile.zip", "D_random.zip"})
    EXPECT_EQ(restore(a, 0), kRestoreErrorText) << a;
  EXPECT_EQ(test::listFolder(drive.path()), std::vector<std::string>{"safe.txt"});

  // The page closed during a restore: it stops after the file at hand, then the page closes.
  test::makeArchive(backups.file("D_two.zip"), {{"safe.txt", "new"}, {"later.txt", "later"}});
  script.answerModal([&](Dialog& q) {
    SendMessageW(page.hwnd(), WM_CLOSE, 0, 0);
    q.close();
  });
  EXPECT_EQ(restore("D_two.zip", 2), kRestoreErrorText);
  EXPECT_FALSE(drive.exists("later.txt"));
  EXPECT_TRUE(test::pumpUntil([&] { return !page.isOpen(); }));
}

}  // namespace
}  // namespace glenvask
