// The file and folder categories on the prefix's own registry values and folders and on a drive
// letter of a scratch folder: they run one at a time, and put back what they change.
#include "base/lists.h"
#include "cleaner/files_support.h"
#include "support/drive.h"
#include "support/host.h"
#include "services/registry.h"
#include "services/system.h"
#include "win/regional.h"

namespace glenvask {
namespace {

using namespace test;
using Tree = std::vector<std::string>;

const std::string kVolumeCaches =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\VolumeCaches\\";
const std::string kSetupKey = kVolumeCaches + "Active Setup Temp Folders",
                  kIndexerKey = kVolumeCaches + "Content Indexer Cleaner";
// Both: any process that asks the shell for a folder rewrites the first from the second.
constexpr const char* kShellFolders =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const char* kUserShellFolders =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
constexpr const char* kRecentDocs =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs";
constexpr const char* kCrashControl = "System\\CurrentControlSet\\Control\\CrashControl";

// A folder of the prefix for one test, removed at its end when the test made it.
struct PrefixFolder {
  explicit PrefixFolder(std::string p) : path(std::move(p)), made(!exists(path)) {
    makeFolders(path);
  }
  std::string path;
  bool made;
  ~PrefixFolder() {
    if (made) removeTree(path);
  }
  std::string write(const std::string& rel, std::int64_t size) const {
    return writeFile(path + "\\" + rel, size);
  }
};

class FilesSystemTest : public test::CategoryTest {
 protected:
  ScratchFolder driveFolder{"drive"};
  std::unique_ptr<ScratchDrive> drive;

  void mapDrive() {
    drive = std::make_unique<ScratchDrive>(L'Q', driveFolder.path(), DRIVE_FIXED);
    ASSERT_TRUE(drive->ready()) << "drive Q: not mapped";
  }
  void loadOnQ(bool hidden = true) {
    mapDrive();
    load();
    SearchPage page{.drives = {"Q: Hard drive"}, .readOnly = true, .hidden = hidden};
    page.system = true;
    app.write("srch.txt", formatSearchFile(page, userRegionalFormat()));
    app.write("UNFI.txt", "1\x01*.tmp\x01Temporary files\r\n");
    LoadScanLists();
  }
};

// A drive root, a link or a path past what the platform takes, wherever named, cleans nothing:
// not even tried (DeleteFailed), with a backup folder that cannot be made. Then active setup's
// folder as named and on every hard drive, and the indexer's "?:" on every one.
TEST_F(FilesSystemTest, RootsLinksAndOverLongPathsCleanNothingActiveSetupAndIndexerDo) {
  mapDrive();
  for (const char* f : {"keep.txt", "sub\\keep.txt"}) driveFolder.write(f, "k");
  makeFolderLink(work.file("linked"), driveFolder.path());
  const std::string longPath = "C:\\" + std::string(5000, 'a') + "\\";
  app.write("UDFO.txt", "Q:\\\r\nQ:\r\nQ:\\.\\\r\n" + longPath + "\r\n");
  app.write("UDFI.txt", longPath + "x.txt\r\n");
  load(std::string(5000, '-'));  // no switch: nothing runs
  EXPECT_EQ(CleanupLog, "");
  ScratchFolder noBackup("nobackup");
  BackupFolder = noBackup.write("file", "x") + "\\";
  DeleteMethod = kDeleteBackup;
  // TEMP and TMP, the active setup value, the indexer value.
  const std::string cases[][3] = {{"Q:\\", "Q:\\", "?:\\"},
                                  {work.file("linked"), longPath, "?:\\\\"},
                                  {longPath, "Q:", "?:\\."}};
  for (const auto& [temp, setup, index] : cases) {
    SCOPED_TRACE(index);
    SavedTemp saved(temp);
    SavedValue v1(HKEY_LOCAL_MACHINE, kSetupKey, "Folder", setup);
    SavedValue v2(HKEY_LOCAL_MACHINE, kIndexerKey, "Folder", index);
    DeleteFailed = false, CleanupLog.clear();
    for (auto routine : {&CleanTempFiles, &CleanUserFolders, &CleanUserFiles,
                         &CleanActiveSetupTemp, &CleanIndexer})
      routine(w);
    EXPECT_EQ(treeOf(driveFolder.path()), (Tree{"keep.txt", "sub\\", "sub\\keep.txt"}));
    EXPECT_FALSE(DeleteFailed) << "no file was even tried";
    EXPECT_EQ(CleanupLog,
              "Temporary files... Files Deleted: 0 Space Gained: 0 Bytes\r\n"
              "User-defined folders... Files Deleted: 0 Space Gained: 0 Bytes\r\n"
              "User-defined files... Files Deleted: 0 Space Gained: 0 Bytes\r\n"
              "Active setup temporary folders... Files Deleted: 0 Space Gained: 0 Bytes\r\n"
              "Content indexer folder... Files Deleted: 0 Space Gained: 0 Bytes\r\n");
  }

  DeleteMethod = kDeletePlain, CleanupLog.clear();
  PrefixFolder onC{"C:\\msdownld.tmp"};
  onC.write("c1.cab", 5), onC.write("x\\c2.cab", 1);
  for (auto [f, bytes] : {std::pair{"msdownld.tmp\\q1.cab", "12"},
                          {"Windows\\msdownld.tmp\\q2.cab", "123"},
                          {"WINNT\\msdownld.tmp\\deep\\q3.cab", "1234"}, {"other\\keep.cab", "k"},
                          {"catalog.wci\\a.ci", "abc"}, {"catalog.wci\\sub\\b.ci", "d"}})
    driveFolder.write(f, bytes);
  for (const char* f : {"setup\\s1.cab", "setup\\d\\s2.cab"}) work.write(f, "1");
  SavedValue setup(HKEY_LOCAL_MACHINE, kSetupKey, "Folder", work.file("setup"));
  SavedValue indexer(HKEY_LOCAL_MACHINE, kIndexerKey, "Folder", "?:\\catalog.wci");
  CleanActiveSetupTemp(w), CleanIndexer(w);
  EXPECT_TRUE(treeOf(work.file("setup")).empty() && treeOf(onC.path).empty());
  EXPECT_EQ(treeOf(driveFolder.path()),
            (Tree{"WINNT\\", "WINNT\\msdownld.tmp\\", "Windows\\", "Windows\\msdownld.tmp\\",
                  "catalog.wci\\", "keep.txt", "msdownld.tmp\\", "other\\", "other\\keep.cab",
                  "sub\\", "sub\\keep.txt"}));
  EXPECT_EQ(CleanupLog,
            "Active setup temporary folders... Files Deleted: 7 Space Gained: 17 Bytes\r\n"
            "Content indexer folder... Files Deleted: 2 Space Gained: 4 Bytes\r\n");
}

// Each folder category on the folder its registry value or the environment names: the files
// go, the folder stays (and subfolders where kept), no link followed, one log line, the date.
TEST_F(FilesSystemTest, FolderCategoriesCleanTheFolderTheirValueNames) {
  const std::string windows = GetWindowsDir(), temp = work.file("temp");
  PrefixFolder dpf{windows + "\\Glenvask Downloaded Program Files"};
  PrefixFolder offline{windows + "\\Offline Web Pages"}, winTemp{windows + "\\temp"};
  PrefixFolder minidumps{windows + "\\GlenvaskMinidump"};
  std::string dump = writeFile(windows + "\\GLENVASK.DMP", 4);
  // Below the system folder: not the one the value names.
  std::string decoy = writeFile(GetSystemDir() + "\\GLENVASK.DMP", 4);
  std::string marker = winTemp.write("glenvask-marker.txt", 3);
  work.write("appdata\\Microsoft\\Office\\Recent\\doc.lnk", "4444");
  ScratchFolder outside("outside");
  outside.write("precious.txt", "keep");
  makeFolders(temp), makeFolderLink(work.file("temp\\link"), outside.path());
  SavedTemp savedTemp(temp);
  const std::string activeX =
      "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ActiveX Cache";
  SavedValue values[] = {
      {HKEY_LOCAL_MACHINE, activeX, "0", "%SystemRoot%\\Glenvask Downloaded Program Files",
       REG_EXPAND_SZ},
      {HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Print\\Printers",
       "DefaultspoolDirectory", work.file("spool") + "\\"},  // doubled by the routine
      {HKEY_LOCAL_MACHINE, kCrashControl, "DumpFile", "%SystemRoot%\\GLENVASK.DMP", REG_EXPAND_SZ},
      {HKEY_LOCAL_MACHINE, kCrashControl, "MinidumpDir", "%SystemRoot%\\GlenvaskMinidump",
       REG_EXPAND_SZ},
      {HKEY_CURRENT_USER, kShellFolders, "Recent", work.file("recent")},
      {HKEY_CURRENT_USER, kUserShellFolders, "Recent", work.file("recent")},
      {HKEY_CURRENT_USER, kRecentDocs, "MRUListEx", "x"},
      {HKEY_CURRENT_USER, kRecentDocs, "0", "a.txt"},
      {HKEY_CURRENT_USER, std::string(kRecentDocs) + "\\.txt", "0", "a.txt"},
      {HKEY_CURRENT_USER, kShellFolders, "AppData", work.file("appdata")},
      {HKEY_CURRENT_USER, kUserShellFolders, "AppData", work.file("appdata")},
  };
  load();
  ASSERT_EQ(GetTempDir(), temp + "\\");
  struct Case {
    void (*routine)(MainWindow&);
    std::string folder;
    std::vector<std::pair<std::string, std::string>> made;  // below the folder; "x\" a folder
    Tree left;
    const char* log;
  } cases[] = {
      {&CleanActiveX, dpf.path, {{"control.ocx", "12345678"}, {"CONFLICT.1\\old.inf", "12"}}, {},
       "Downloaded ActiveX & OCX...Files Deleted: 2 Space Gained: 10 Bytes\r\n"},
      {&CleanPrinter, work.file("spool"),
       {{"00001.SPL", "1234"}, {"00001.SHD", "keep"}, {"sub\\00002.spl", "1"}},
       {"00001.SHD", "sub\\"},
       "Residual printer files... Files Deleted: 2 Space Gained: 5 Bytes\r\n"},
      {&CleanOffline, offline.path, {{"page.htm", "12"}, {"site\\img.gif", "345"}}, {},
       "Offline web pages... Files Deleted: 2 Space Gained: 5 Bytes\r\n"},
      // The dump file itself goes uncounted.
      {&CleanMemDump, minidumps.path, {{"Mini1.dmp", "123"}, {"keep.txt", "k"}}, {"keep.txt"},
       "Memory dump files... Files Deleted: 1 Space Gained: 3 Bytes\r\n"},
      {&CleanRecentDocs, work.file("recent"), {{"a.lnk", "123"}, {"sub\\b.lnk", "4"}}, {"sub\\"},
       "Recent documents... Files Deleted: 2 Space Gained: 4 Bytes\r\n"},
      {&CleanTempFiles, temp,
       {{"a.txt", "aaaa"}, {"ro.txt", "rr"}, {"sub\\b.txt", "bbb"}, {"sub\\deeper\\", ""},
        {"empty\\", ""}},
       {"link\\"}, "Temporary files... Files Deleted: 3 Space Gained: 9 Bytes\r\n"},
      // Without UDFO.txt: the temp folder, the Windows temp folder and Office's recent list.
      {&CleanUserFolders, temp, {{"t.txt", "1"}, {"sub\\u.txt", "22"}}, {"link\\", "sub\\"},
       "User-defined folders... Files Deleted: 4 Space Gained: 10 Bytes\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.log);
    for (const auto& [f, bytes] : c.made)
      f.back() == '\\' ? makeFolders(c.folder + "\\" + f.substr(0, f.size() - 1))
                       : void(writeFile(c.folder + "\\" + f, std::ssize(bytes)));
    if (c.routine == &CleanTempFiles)
      setAttributes(temp + "\\ro.txt", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    app.write("settings.ini", ""), CleanupLog.clear();
    c.routine(w);
    EXPECT_TRUE(exists(c.folder));
    EXPECT_EQ(treeOf(c.folder), c.left);
    EXPECT_EQ(CleanupLog, c.log);
    EXPECT_EQ(w.lblCleanDate.text(), lastCleaned()) << "the date shown is the one stored";
  }
  EXPECT_TRUE(!exists(dump) && DeleteFileW(wide(decoy).c_str())) << "the decoy stays";
  EXPECT_EQ(GetRegValueNames(kHkeyCurrentUser, kRecentDocs), "");
  EXPECT_EQ(GetRegString(kHkeyCurrentUser, std::string(kRecentDocs) + "\\.txt", "0"), "a.txt")
      << "the subkeys of RecentDocs stay";
  EXPECT_TRUE(outside.exists("precious.txt") && !exists(marker));
  EXPECT_EQ(treeOf(work.file("appdata\\Microsoft\\Office")), Tree{"Recent\\"});
}

// The drive scans' review decisions, on drive Q: holding nothing, then one find of each kind.
TEST_F(FilesSystemTest, DriveScansDeferDeleteOrShowTheReviewList) {
  loadOnQ();
  void (*scans[])(MainWindow&, bool) = {&CleanUnnecessaryFiles, &CleanEmptyFiles, &CleanShortcuts};
  // Nothing found: an empty list is shown by the dead-shortcut scan alone, and no log line.
  std::string label;  // a review list not scripted fails the test
  script.answerModal([&](Dialog&) { label = frmDeletetion().lblTotalFiles.text(); });
  for (auto scan : scans) scan(w, true);
  EXPECT_EQ(label + CleanupLog, "Files 0");

  enum Kind { kUnnecessary, kEmpty, kDead };
  struct Case {
    Kind kind;
    bool single;
    const char* boxes;  // further boxes set: "e" empty files, "d" dead shortcuts, "u" unnecessary
    bool check2, hidden;
    const char* shown;  // the review list's count text when it is shown, else nullptr
    bool deleted;       // the find is gone afterwards
    size_t rowsLeft;    // rows the review list keeps for a later scan of the run
  } cases[] = {
      {kUnnecessary, false, "d", true, false, nullptr, false, 1},
      {kEmpty, false, "d", false, true, nullptr, false, 1},
      {kEmpty, false, "u", false, false, "Files 1", false, 0},
      {kDead, false, "ue", false, false, "Files 1", false, 0},
      {kUnnecessary, false, "", false, true, nullptr, true, 0},
      {kEmpty, false, "", true, false, nullptr, true, 0},
      {kUnnecessary, true, "ed", true, false, "Files Found: 1", false, 0},
      {kEmpty, true, "d", false, true, "Files 1", false, 0},
      {kDead, true, "", true, false, nullptr, true, 0},
  };
  const char* logLines[] = {"Unnecessary files....Files Deleted: 1 Space Gained: 3 Bytes\r\n",
                            "Empty (zero-byte) files....Files Deleted: 1 Space Gained: 0 Bytes\r\n",
                            "Dead (shortcut) links....Files Deleted: 1 Space Gained: "};
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
    std::string find = c.kind == kUnnecessary ? driveFolder.write("junk.tmp", "abc")
                       : c.kind == kEmpty     ? driveFolder.write("empty.txt", "")
                                              : driveFolder.file("dead.lnk");
    if (c.kind == kDead) makeShortcut(find, "Q:\\missing.exe", "Q:\\");
    clearBoxes();
    for (const char* b = c.boxes; *b; ++b)
      check(*b == 'e' ? "chkEmptyFiles" : *b == 'd' ? "chkDeadShortcut" : "chkUnNecessaryFiles");
    w.Check2.setValue(c.check2 ? 1 : 0), w.commandLine = c.hidden ? "-h" : "";
    label.clear();
    if (c.shown)
      script.answerModal([&](Dialog&) { label = frmDeletetion().lblTotalFiles.text(); });
    CleanupLog.clear(), scans[c.kind](w, c.single);
    EXPECT_EQ(label, c.shown ? c.shown : "");
    EXPECT_EQ(!exists(find), c.deleted);
    EXPECT_EQ(frmDeletetion().lstvDeletion.rowCount(), c.rowsLeft);
    EXPECT_EQ(CleanupLog.rfind(logLines[c.kind], 0), c.deleted ? 0u : std::string::npos)
        << CleanupLog;
    EXPECT_EQ(w.lblStatus.text(), "");
    releaseReviewList(), DeleteFileW(wide(find).c_str());
  }
  w.commandLine.clear(), w.Check2.setValue(0);
}

TEST_F(FilesSystemTest, AWholeRunShowsTheReviewListOnceWithTheFindsOfAllThreeScans) {
  loadOnQ(false);
  std::string junk = driveFolder.write("a\\junk.tmp", "abcd");
  std::string hiddenJunk = driveFolder.write("a\\hidden.tmp", "ab");
  std::string readOnly = driveFolder.write("a\\ro.tmp", "ab");
  setAttributes(hiddenJunk, FILE_ATTRIBUTE_HIDDEN);
  setAttributes(readOnly, FILE_ATTRIBUTE_READONLY);
  std::string empty = driveFolder.write("b\\empty.dat", ""), dead = driveFolder.file("dead.lnk");
  makeShortcut(dead, "Q:\\missing.exe", "Q:\\");
  std::string keep = driveFolder.write("keep.txt", "keep");
  for (const char* box : {"chkUnNecessaryFiles", "chkEmptyFiles", "chkDeadShortcut"}) check(box);
  std::vector<std::string> categories;
  script.answerModal([&](Dialog&) {
    ReviewListWindow& r = frmDeletetion();
    EXPECT_EQ(r.lblTotalFiles.text(), "Files 4");
    for (size_t i = 0; i < r.lstvDeletion.rowCount(); ++i)
      categories.push_back(r.lstvDeletion.rowText(i, kColCategory));
    r.mnuDeleteAll_Click();
  });
  expectSummary();

  w.cmdClean_Click();

  EXPECT_EQ(categories, (std::vector<std::string>{"Unnecessary Files", "Unnecessary Files",
                                                  "Empty Files", "Dead Shortcuts"}));
  for (const auto& f : {junk, hiddenJunk, empty, dead}) EXPECT_FALSE(exists(f)) << f;
  EXPECT_TRUE(exists(readOnly) && exists(keep)) << "read-only files are skipped";
  EXPECT_NE(summary.log.find("Unnecessary files....Files Deleted: 2 Space Gained: 6 Bytes\r\n"
                             "Empty (zero-byte) files....Files Deleted: 1 Space Gained: 0 Bytes\r\n"
                             "Dead (shortcut) links....Files Deleted: 1"),
            std::string::npos)
      << summary.log;
}

// A run stopped inside a category's scan: its abort text, no date, what was not reached stays.
TEST_F(FilesSystemTest, StopDuringAScanEndsTheRunWithTheAbortText) {
  loadOnQ();
  EventPump::setSliceMs(0);
  std::string temp = work.file("temp");
  SavedTemp saved(temp);
  PrefixFolder offline{GetWindowsDir() + "\\Offline Web Pages"};
  for (int i = 0; i < 40; ++i) {
    std::string name = "f" + std::to_string(i) + "\\x.tmp";
    work.write("temp\\" + name, "x"), offline.write(name, 1), driveFolder.write(name, "x");
  }
  // A click on Stop, posted as the user gives it (the next pump of the run sees it), at once or
  // once the scan has entered a few folders.
  struct StopLater : ForwardingHost {
    MainWindow& w = frmMain();
    int folders = 0;
    void post() {
      PostMessageW(w.hwnd(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(w.cmdStop.hwnd()), BN_CLICKED),
                   reinterpret_cast<LPARAM>(w.cmdStop.hwnd()));
    }
    void setStatus(const std::string& t) override {
      ForwardingHost::setStatus(t);
      if (t.rfind(kScanningStatus, 0) == 0 && --folders == 0) post();
    }
  } stop;
  // Box, folder, abort text; the folder scans report no folder: Stop waits when they start.
  const std::tuple<const char*, std::string, const char*> cases[] = {
      {"chkTemp", temp, "Aborted by user"},
      {"chkOffline", offline.path, "Aborted by User"},
      {"chkUnNecessaryFiles", driveFolder.path(), "Aborted by user"}};
  for (const auto& [box, folder, status] : cases) {
    clearBoxes(), check(box);
    stop.folders = folder == driveFolder.path() ? 3 : 0;
    if (!stop.folders) stop.post();
    w.cmdClean_Click();  // a summary or a review list, not scripted, would fail the test
    EXPECT_EQ(w.lblStatus.text(), status) << box;
    EXPECT_EQ(lastCleaned(), "") << box;
    EXPECT_GT(treeOf(folder).size(), 40u) << box << ": the scan did not get far";
    EXPECT_EQ(frmDeletetion().lstvDeletion.rowCount(), 0u);
    bAbort = false;
  }
}

}  // namespace
}  // namespace glenvask
