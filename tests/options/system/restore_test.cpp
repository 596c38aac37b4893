// The backup list (German regional settings): listing, View, Delete, Restore to a drive D:.
#include "options/backups_support.h"
#include "options/frmOverwrite.h"
#include "options/frmUnzip.h"
#include "support/drive.h"
#include "support/host.h"
#include "support/regional.h"
#include "support/scripted.h"
#include "win/unicode.h"

namespace glenvask {
namespace {

// The main window of a run: a restore keeps it disabled, so its timer starts no run meanwhile.
struct MainHost : test::RecordingHost {
  HWND main =
      CreateWindowW(L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  ~MainHost() override { DestroyWindow(main); }
  HWND ownerWindow() const override { return main; }
};

TEST(BackupsPage, ListsViewsDeletesAndRestores) {
  test::RegionalSettings german{test::regionalSettings()[0]};
  test::ScratchFolder backups{"backups"};
  test::ScriptedAsker script;
  test::PageWindow page;
  ASSERT_TRUE(german.ok() && page.make());
  ListView& list = page.backups.lstvZip;
  test::makeArchive(backups.file("D_1.zip"), {{"top.txt", "1"}, {"dir/", ""},
                    {"dir/sub/UP.TXT", std::string(300, 'u')}, {"dir/run.exe", "22"},
                    {"dir/README", "4444"}, {"a.b.log", "333"}});
  test::editFile(test::makeArchive(backups.file("E_2.zip"), {{"s.txt", "s"}}), test::markEncrypted);
  std::string bad = backups.write("X_bad.ZIP", "not an archive");
  test::setLocalWriteTime(bad, {2024, 1, 2, 3, 4, 5});
  std::vector<test::Item> twenty;  // no directory, cut inside the last entry
  for (int i = 0; i < 20; ++i) twenty.push_back({"f" + std::to_string(i), test::bytesOf(3000, i)});
  test::editFile(test::makeArchive(backups.file("D_cut.zip"), twenty, false),
                 [](std::string& z) { z.resize(z.size() - 100); });
  backups.write("notes.txt", "no");
  CreateDirectoryW(wide(backups.file("folder.zip")).c_str(), nullptr);
  page.select(backups.path() + "\\", "X_bad.ZIP");
  ASSERT_EQ(list.rowCount(), 4u);
  size_t row = list.selectedRows().at(0);
  EXPECT_EQ(list.rowText(row, kBackupColDate) + "|" + list.rowText(row, kBackupColBytes),
            "02.01.2024 03:04:05|14");

  struct Case {
    const char* archive;
    const char* status;
    std::vector<std::string> rows;  // the first rows: name|size|folder
  } cases[] = {
      {"D_1.zip", "5 files(s)", {"top.txt|1|D:\\", "UP.TXT|300|D:\\dir\\sub", "run.exe|2|D:\\dir",
                                 "README|4|D:\\dir", "a.b.log|3|D:\\"}},
      {"E_2.zip", "1 files(s)", {"s.txt+|1|E:\\"}}, {"X_bad.ZIP", "0 files(s)", {}},
      {"D_cut.zip", "19 files(s) - the archive is damaged or incomplete", {"f0|3000|D:\\"}}};
  for (const auto& c : cases) {
    page.select(backups.path(), c.archive);
    script.answerModal([&](Dialog& d) {
      auto& v = static_cast<ZipViewWindow&>(d);
      EXPECT_EQ(v.text() + "|" + v.lblStatus.text(), std::string("Zip Information|") + c.status);
      std::vector<std::string> rows;
      for (size_t i = 0; i < std::min(v.rowCount(), c.rows.size()); ++i)
        rows.push_back(v.rowText(i, kZipColFilename) + "|" + v.rowText(i, kZipColSize) + "|" +
                       v.rowText(i, kZipColFolder));
      EXPECT_EQ(rows, c.rows);
      EXPECT_TRUE(rows.empty() || v.rowText(0, kZipColDate) == "01.03.2024 10:20");
      if (rows.size() == 5) {
        // .txt and .TXT share an image; programs and undotted names have none; the last dot counts.
        EXPECT_TRUE(v.rowImage(0) == v.rowImage(1) && v.rowImage(2) + v.rowImage(3) == 0 &&
                    v.rowImage(4) != v.rowImage(0));
        v.lvwZip_ColumnClick(kZipColSize);
        EXPECT_EQ(v.rowText(0, kZipColFilename), "UP.TXT") << "sizes sort as numbers";
      }
      v.close();
    });
    page.backups.cmdBackupView.click();
  }
  script.answerModal([](Dialog& d) { d.close(); });
  list.onActivate(0);  // a double click views too
  EXPECT_EQ(script.asked().size(), 5u);
  EXPECT_EQ(shortTimePicture("h:mm:ss tt") + shortTimePicture("HH.mm.ss"), "h:mm ttHH.mm");

  // Held open by another program: it stays, and says so.
  page.select(backups.path(), "X_bad.ZIP");
  FileHandle held(CreateFileW(wide(bad).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr));
  script.answerMessage(IDOK);
  page.backups.cmdBackupDelete.click();
  held.reset();
  EXPECT_EQ(script.asked().back().text + "|" + std::to_string(script.asked().back().flags),
            "File cannot be deleted|16");  // MB_ICONERROR
  page.backups.cmdBackupDelete.click();
  EXPECT_EQ(list.rowCount(), 3u);
  page.select(backups.path(), "");
  for (Button* b : {&page.backups.cmdBackupDelete, &page.backups.cmdBackupRestore,
                    &page.backups.cmdBackupView})
    b->click();  // no row selected: nothing happens, nothing is asked
  EXPECT_EQ(script.asked().size(), 6u);
  EXPECT_EQ(test::listFolder(backups.path()), (std::vector<std::string>{"D_1.zip", "D_cut.zip",
                                               "E_2.zip", "folder.zip", "notes.txt"}));
  page.backups.LoadBackupList(backups.file("missing"));
  EXPECT_EQ(list.rowCount(), 0u);

  test::ScratchFolder drive{"drive"};
  test::ScratchDrive d{L'D', drive.path(), DRIVE_FIXED};
  if (!d.ready()) GTEST_SKIP() << "drive D: is taken in this prefix";
  MainHost host;
  auto restore = [&](const std::string& archive, int rule) {
    page.select(backups.path(), archive);
    for (size_t k = 0; k < page.rules.count(); ++k)  // -1: none chosen
      SendMessageW(page.rules.option(k).hwnd(), BM_SETCHECK, int(k) == rule, 0);
    script.answerMessage(IDOK);
    page.backups.cmdBackupRestore.click();
    return script.asked().back().text;
  };

  test::makeArchive(backups.file("D_06122026101010.zip"),
                    {{"data/keep.txt", "archived"}, {"data/sub/gone.txt", "back"}});
  // The rule (0 Always ... 3 Never; -1 none: a stored rule of another name), the question's
  // button (0: none is asked; Cancel is no to all), keep.txt after.
  for (auto [rule, button, keep] :
       {std::tuple{0, 0, "archived"}, {3, 0, "changed"}, {-1, 0, "changed"},
        {2, ids::kOverwriteYes, "archived"}, {2, ids::kOverwriteCancel, "changed"}}) {
    drive.write("data\\keep.txt", "changed");
    DeleteFileW(wide(drive.file("data\\sub\\gone.txt")).c_str());
    if (button)
      script.answerModal([&, button = button](Dialog& q) {
        EXPECT_EQ(static_cast<OverwriteWindow&>(q).lblCaption.text(),
                  "Do you want to overwrite the existing copy of D:\\data\\keep.txt?");
        EXPECT_FALSE(page.backups.cmdBackupRestore.enabled()) << "the page waits for the restore";
        EXPECT_FALSE(IsWindowEnabled(host.main)) << "no timed run starts meanwhile";
        SendMessageW(q.hwnd(), WM_COMMAND, button, 0);
      });
    EXPECT_EQ(restore("D_06122026101010.zip", rule), kRestoreDoneText) << rule << button;
    EXPECT_EQ(drive.read("data\\keep.txt") + "|" + drive.read("data\\sub\\gone.txt"),
              keep + std::string("|back")) << rule << button << ": a missing file comes back";
    EXPECT_TRUE(page.backups.cmdBackupRestore.enabled() && IsWindowEnabled(host.main));
  }

  // No drive letter, a missing drive, nothing to restore, no archive, a cut one (partly done).
  std::string missing = "D";
  while (missing < "Z" && (GetLogicalDrives() & (1u << (missing[0] - 'A')))) ++missing[0];
  test::removeTree(drive.file("data"));
  backups.write("D_random.zip", test::bytesOf(3000, 5));
  for (auto [name, items] : std::vector<std::pair<std::string, std::vector<test::Item>>>{
           {"1_x.zip", {{"x.txt", "x"}}}, {missing + "_x.zip", {{"x.txt", "x"}}},
           {"D_folders.zip", {{"only/", ""}}}, {"D_random.zip", {}}, {"D_cut.zip", {}}}) {
    if (!items.empty()) test::makeArchive(backups.file(name), items);
    EXPECT_EQ(restore(name, 0), kRestoreErrorText) << name;
  }
  EXPECT_EQ(test::listFolder(drive.path()).size(), 19u) << "what the cut archive holds";

  // The page closed during a restore: it stops after the file at hand, then the page closes.
  test::makeArchive(backups.file("D_two.zip"), {{"f0", "new"}, {"later.txt", "later"}});
  script.answerModal([&](Dialog& q) {
    SendMessageW(page.hwnd(), WM_CLOSE, 0, 0);
    q.close();
  });
  EXPECT_TRUE(restore("D_two.zip", 2) == kRestoreErrorText && !drive.exists("later.txt"));
  EXPECT_TRUE(test::pumpUntil([&] { return !page.isOpen(); }));
}

TEST(OverwriteQuestion, RepliesAsTheWrapperTakesThem) {
  test::ScriptedAsker script;
  // The button pressed (0: the close box), Apply to All, the reply.
  std::tuple<int, bool, std::int32_t> cases[] = {
      {ids::kOverwriteYes, false, 102}, {ids::kOverwriteYes, true, 103},
      {ids::kOverwriteNo, false, 100},  {ids::kOverwriteNo, true, 104},
      {ids::kOverwriteCancel, false, 104}, {0, false, 104}};
  for (auto [button, all, reply] : cases) {
    script.answerModal([&](Dialog& d) {
      auto& q = static_cast<OverwriteWindow&>(d);
      EXPECT_EQ(q.text() + q.chkAllFiles.text(), "Overwrite Confirmation&Apply to All Files");
      q.chkAllFiles.setChecked(all);
      if (button) SendMessageW(q.hwnd(), WM_COMMAND, button, 0);
    });
    EXPECT_EQ(askOverwrite(nullptr, "C:\\a b\\c.txt"), reply) << button << " " << all;
  }
}

}  // namespace
}  // namespace glenvask
