// The scanner on real trees in a scratch folder: hidden, read-only and system files, a link
// loop, dead and live shortcuts, the date window, and a stop in the middle of a scan.
#include "services/scanner.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "base/like.h"
#include "base/text.h"
#include "services/globals.h"
#include "services/lists.h"
#include "support/host.h"
#include "support/prefix.h"
#include "support/regional.h"
#include "support/scripted.h"
#include "win/pump.h"
#include "win/regional.h"
#include "win/unicode.h"

namespace glenvask {
namespace {

using test::fromLocal;
using test::ScratchFolder;
using test::setAttributes;
using test::setLocalWriteTime;
using Strings = std::vector<std::string>;

// What the windows would be told: the main window (status, stop) and the review list (rows).
struct Recorder : ScanReporter, test::RecordingHost {
  Recorder() { old = setScanReporter(this); }
  ~Recorder() override { setScanReporter(old); }
  void setStatus(const std::string& text) override {
    statuses.push_back(text);
    if (onStatus) onStatus();
  }
  void addReviewRow(const ReviewRow& row) override { rows.push_back(row); }
  void releaseReviewList() override { ++releases; }
  Strings names() const {
    Strings n;
    for (const auto& r : rows) n.push_back(r.name);
    std::sort(n.begin(), n.end());
    return n;
  }
  ScanReporter* old = nullptr;
  std::function<void()> onStatus;
  Strings statuses;
  std::vector<ReviewRow> rows;
  int releases = 0;
};

// Every option and list the scanner reads, put back after each test.
class ScannerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TearDown();
    searchOptions = SearchOptions{};
    searchOptions.skipReadOnly = searchOptions.skipHidden = searchOptions.skipSystem = false;
    arrIgnoreFiles = arrIgnoreExt = arrIgnoreFolders = arrUnnecessary = {};
  }
  void TearDown() override {
    SetShortcutShell(false);
    bAbort = false;
    ResetScanLists();
  }
};

void scan(const ScratchFolder& dir, ScanMode mode, std::string_view pattern = "*.*") {
  ScanFolder(dir.path() + "\\", pattern, mode);
}

Strings relative(const Strings& paths, const std::string& base) {
  return test::relativeTo(base, paths);
}

TEST_F(ScannerTest, CollectingListsFilesBeforeSubfoldersAndNeverEntersLinks) {
  ScratchFolder dir, outside("outside");
  for (const char* f : {"a.tmp", "sub\\b.tmp", "sub\\deeper\\c.dmp", "sub\\deeper\\d.tmp"})
    dir.write(f, "x");
  outside.write("precious.dmp", "keep");
  test::makeFolderLink(dir.file("sub\\loop"), dir.path());  // a loop back to the top
  test::makeFolderLink(dir.file("elsewhere"), outside.path());
  Recorder rec;
  std::string base = dir.path() + "\\";
  scan(dir, kScanCollect);
  EXPECT_EQ(relative(arrFiles, base),
            (Strings{"a.tmp", "sub\\b.tmp", "sub\\deeper\\c.dmp", "sub\\deeper\\d.tmp"}));
  EXPECT_EQ(relative(arrFolders, base), (Strings{"sub\\", "sub\\deeper\\"}));
  EXPECT_TRUE(rec.statuses.empty()) << "collecting shows no status";

  // A pattern of its own picks files; folders are still walked. The final "\" is supplied.
  ResetScanLists();
  ScanFolder(dir.path(), "*.dmp", kScanCollect);
  EXPECT_EQ(relative(arrFiles, base), Strings{"sub\\deeper\\c.dmp"});
  EXPECT_EQ(arrFolders.size(), 2u);

  ResetScanLists();
  scan(dir, kScanUserFolders);
  EXPECT_EQ(arrFiles.size(), 4u);
  EXPECT_TRUE(arrFolders.empty());
  EXPECT_EQ(relative(rec.statuses, kScanningStatus + base), (Strings{"sub\\", "sub\\deeper\\"}));

  // A missing folder, or none at all (never the current folder), yields nothing.
  ResetScanLists();
  ScanFolder("C:\\glenvask-tests\\no such folder\\", "*.*", kScanUnnecessary);
  ScanFolder("", "*.*", kScanCollect);
  EXPECT_TRUE(arrFiles.empty() && arrFolders.empty() && rec.rows.empty() && rec.stops.empty());
}

TEST_F(ScannerTest, UnnecessaryAndEmptyFilesHonourAttributeSkips) {
  ScratchFolder dir;
  for (const char* f : {"plain.tmp", "readonly.tmp", "hidden.tmp", "system.tmp", "keep.txt"})
    dir.write(f, "");
  dir.write("full.tmp", "x");
  setAttributes(dir.file("readonly.tmp"), FILE_ATTRIBUTE_READONLY);
  setAttributes(dir.file("hidden.tmp"), FILE_ATTRIBUTE_HIDDEN);
  setAttributes(dir.file("system.tmp"), FILE_ATTRIBUTE_SYSTEM);
  arrUnnecessary = {"*.tmp"};
  // The scan; whether read-only, hidden and system files are skipped; what it finds.
  std::tuple<ScanMode, bool, bool, bool, Strings> cases[] = {
      {kScanUnnecessary, 0, 0, 0,
       {"full.tmp", "hidden.tmp", "plain.tmp", "readonly.tmp", "system.tmp"}},
      {kScanUnnecessary, 1, 0, 0, {"full.tmp", "hidden.tmp", "plain.tmp", "system.tmp"}},
      {kScanUnnecessary, 0, 1, 0, {"full.tmp", "plain.tmp", "readonly.tmp", "system.tmp"}},
      {kScanUnnecessary, 0, 0, 1, {"full.tmp", "hidden.tmp", "plain.tmp", "readonly.tmp"}},
      {kScanUnnecessary, 1, 1, 1, {"full.tmp", "plain.tmp"}},
      // Empty files: size zero whatever the name; the pattern list plays no part.
      {kScanEmpty, 0, 1, 0, {"keep.txt", "plain.tmp", "readonly.tmp", "system.tmp"}},
  };
  for (const auto& [mode, readOnly, hidden, system, found] : cases) {
    auto& o = searchOptions;
    o.skipReadOnly = readOnly, o.skipHidden = hidden, o.skipSystem = system;
    Recorder rec;
    scan(dir, mode);
    EXPECT_EQ(rec.names(), found) << mode << readOnly << hidden << system;
    for (const auto& r : rec.rows)
      EXPECT_EQ(r.category, mode == kScanEmpty ? "Empty Files" : "Unnecessary Files");
    EXPECT_TRUE(arrFiles.empty());
  }
}

TEST_F(ScannerTest, ReviewRowsCarryTheListColumns) {
  ScratchFolder dir;
  dir.write("Report.Old.bak", std::string(1234, 'x'));
  dir.write("README", "");
  dir.write(".log", "");
  dir.write("sub\\~draft.doc", "12345");
  setLocalWriteTime(dir.file("Report.Old.bak"), {2024, 3, 1, 17, 3, 9});
  setAttributes(dir.file("Report.Old.bak"), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE |
                                                FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN);
  setAttributes(dir.file(".log"), FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN);
  setLocalWriteTime(dir.file("README"), {2023, 12, 24, 9, 5, 0});
  arrUnnecessary = {"*.BAK", "readme", ".log", "~*.*"};
  Recorder rec;
  scan(dir, kScanUnnecessary);
  ASSERT_EQ(rec.rows.size(), 4u);
  std::sort(rec.rows.begin(), rec.rows.end(),
            [](const ReviewRow& a, const ReviewRow& b) { return a.name < b.name; });
  std::string base = dir.path() + "\\";
  using Cols = std::array<std::string, 7>;
  const char* kCat = "Unnecessary Files";
  EXPECT_EQ(rec.rows[0].columns(), (Cols{".log", "0", rec.rows[0].date, "AH", base, "LOG", kCat}));
  // The general date texts in the machine's regional format (see tests/review/system).
  RegionalFormat f = userRegionalFormat();
  EXPECT_EQ(
      rec.rows[1].columns(),
      (Cols{"README", "0", formatGeneralDate({2023, 12, 24, 9, 5, 0}, f), "A", base, "", kCat}));
  EXPECT_EQ(rec.rows[2].columns(),
            (Cols{"Report.Old.bak", "1234", formatGeneralDate({2024, 3, 1, 17, 3, 9}, f), "RASH",
                  base, "BAK", kCat}));
  EXPECT_EQ(rec.rows[3].columns(),
            (Cols{"~draft.doc", "5", rec.rows[3].date, "A", base + "sub\\", "DOC", kCat}));
}

TEST_F(ScannerTest, DateWindowHoldsTheDaysAfterFromUpToTo) {
  ScratchFolder dir;
  std::tuple<const char*, DateTime, bool> cases[] = {  // name, written, found
      {"mar01-late.tmp", {2024, 3, 1, 23, 59, 59}, false},  // the From day itself is outside
      {"mar02-early.tmp", {2024, 3, 2, 0, 0, 1}, true},
      {"mar03-late.tmp", {2024, 3, 3, 23, 59, 59}, true},  // the To day is inside
      {"mar04-early.tmp", {2024, 3, 4, 0, 0, 0}, false},
  };
  Strings expected;
  for (const auto& [name, written, found] : cases) {
    setLocalWriteTime(dir.write(name, ""), written);
    if (found) expected.push_back(name);
  }
  arrUnnecessary = {"*.tmp"};
  searchOptions.useDateFilter = true;
  searchOptions.dateFrom = {2024, 3, 1};
  searchOptions.dateTo = {2024, 3, 3};
  for (ScanMode mode : {kScanUnnecessary, kScanEmpty}) {
    Recorder rec;
    scan(dir, mode);
    EXPECT_EQ(rec.names(), expected) << mode;
  }
  searchOptions.useDateFilter = false;
  Recorder all;
  scan(dir, kScanEmpty);
  EXPECT_EQ(all.rows.size(), std::size(cases));
  // A window whose dates could not be read is on and empty: nothing passes it.
  searchOptions.useDateFilter = true;
  searchOptions.dateFrom = searchOptions.dateTo = DateTime{};
  Recorder none;
  for (ScanMode mode : {kScanUnnecessary, kScanEmpty}) scan(dir, mode);
  EXPECT_TRUE(none.rows.empty());
}

TEST_F(ScannerTest, IgnoreTests) {
  arrIgnoreFiles = {"Desktop.ini", "thumbs.db ", "\xC3\xA9t\xC3\xA9.txt"};  // "été.txt"
  arrIgnoreExt = {"Log", "gz"};
  arrIgnoreFolders = {"temp", "C:\\Keep\\"};
  arrUnnecessary = {"*.tmp", ".log", "~*.*", "file##.b?k", "[!a]x.old", "*.[ch]"};
  // The text; whether it is an ignored file, extension or folder, or an unnecessary file.
  std::tuple<const char*, bool, bool, bool, bool> cases[] = {
      // The entry's trailing space counts; "ÉTÉ.TXT": any script's case.
      {"DESKTOP.INI", 1, 0, 0, 0}, {"thumbs.db", 0, 0, 0, 0}, {"\xC3\x89T\xC3\x89.TXT", 1, 0, 0, 0},
      // Without a "." no extension is ignored.
      {"error.LOG", 0, 1, 0, 0}, {"archive.tar.GZ", 0, 1, 0, 0}, {"README", 0, 0, 0, 0},
      {"C:\\Attempts\\", 0, 0, 1, 0}, {"c:\\keep\\sub\\", 0, 0, 1, 0}, {"C:\\Keeper\\", 0, 0, 0, 0},
      // ".log" alone is a whole name.
      {"a.TMP", 0, 0, 0, 1}, {".LOG", 0, 1, 0, 1}, {"x.log", 0, 1, 0, 0},
      {"~$doc.docx", 0, 0, 0, 1},
      {"file12.bak", 0, 0, 0, 1}, {"file1x.bak", 0, 0, 0, 0}, {"bx.old", 0, 0, 0, 1},
      {"ax.old", 0, 0, 0, 0}, {"main.h", 0, 0, 0, 1}, {"main.cpp", 0, 0, 0, 0},
  };
  for (const auto& [text, file, extension, folder, unnecessary] : cases) {
    EXPECT_EQ(IsIgnoredFile(text), file) << text;
    EXPECT_EQ(IsIgnoredExtension(text), extension) << text;
    EXPECT_EQ(IsIgnoredFolder(text), folder) << text;
    EXPECT_EQ(IsUnnecessaryFile(text), unnecessary) << text;
  }
  arrIgnoreFiles = arrIgnoreExt = arrIgnoreFolders = arrUnnecessary = {};
  EXPECT_FALSE(IsIgnoredFile("desktop.ini") || IsIgnoredExtension("a.log") ||
               IsIgnoredFolder("C:\\Windows\\Temp\\") || IsUnnecessaryFile("a.tmp"));
}

// The scanner's own way with star patterns agrees with the general matcher on short texts
// over a small alphabet, where stars, repeats and overlapping pieces line up every way.
TEST_F(ScannerTest, PatternsAgreeWithTheWildcardMatcher) {
  const char alphabet[] = {'a', 'B', '.', '*', '~'};
  std::uint32_t seed = 12345;
  auto next = [&] { return (seed = seed * 1103515245u + 12345u) >> 16; };
  auto text = [&](bool stars) {
    std::string t;
    for (size_t n = next() % 7; n > 0; --n) {
      char c = alphabet[next() % std::size(alphabet)];
      if (c != '*' || stars) t += c;
    }
    return t;
  };
  for (int i = 0; i < 400; ++i) {
    std::string pattern = text(true) + (i % 10 == 0 ? "?" : "");
    arrUnnecessary = {pattern};
    for (int j = 0; j < 40; ++j) {
      std::string name = text(false);
      ASSERT_EQ(IsUnnecessaryFile(name), like(toUpper(name), toUpper(pattern)))
          << "name '" << name << "' pattern '" << pattern << "'";
    }
  }
}

TEST_F(ScannerTest, IgnoreListsSteerTheScan) {
  ScratchFolder dir("TempRoot");  // the start folder's own path holds "temp"
  for (const char* f : {"a.tmp", "desktop.ini", "b.LOG", "sub\\c.tmp", "other\\d.tmp"})
    dir.write(f, "x");
  arrUnnecessary = {"*.tmp", "*.ini", "*.log"};
  arrIgnoreFiles = {"Desktop.ini"};
  arrIgnoreExt = {"log"};
  arrIgnoreFolders = {"\\OTHER\\"};
  Recorder rec;
  scan(dir, kScanUnnecessary);
  EXPECT_EQ(rec.names(), (Strings{"a.tmp", "c.tmp"}));
  EXPECT_EQ(relative(rec.statuses, kScanningStatus + dir.path() + "\\"), Strings{"sub\\"});

  // The start folder is scanned even though its path holds the entry; nothing below it is.
  Recorder rec2;
  arrIgnoreFolders = {"temp"};
  scan(dir, kScanUnnecessary);
  EXPECT_EQ(rec2.names(), Strings{"a.tmp"});
  EXPECT_TRUE(rec2.statuses.empty());
  scan(dir, kScanUserFolders);
  EXPECT_EQ(relative(arrFiles, dir.path() + "\\"), Strings{"a.tmp"});
}

TEST_F(ScannerTest, DeadShortcuts) {
  ScratchFolder dir;
  std::string target = dir.write("target.txt", "x");
  std::string gone = dir.write("gone.txt", "x");
  test::makeShortcut(dir.file("live.lnk"), target, dir.path());
  test::makeShortcut(dir.file("dead.lnk"), gone, dir.path());
  test::makeShortcut(dir.file("dead-nowork.lnk"), gone, "");
  test::makeShortcut(dir.file("floppy.lnk"), "A:\\", "");
  test::makeShortcut(dir.file("notarget.lnk"), "", dir.path());
  test::makeShortcut(dir.file("sub\\folder-same.lnk"), dir.file("missing"), dir.file("missing"));
  test::makeShortcut(dir.file("sub\\folder-live.lnk"), dir.path(), dir.path());
  dir.write("garbage.lnk", "this is no shortcut");
  dir.write("dead.txt", "not a .lnk");
  ASSERT_TRUE(DeleteFileW(wide(gone).c_str()));
  setLocalWriteTime(dir.file("dead.lnk"), {2024, 3, 1, 7, 3, 9});
  std::tuple<bool, bool, Strings> cases[] = {  // skip without a target, a work folder; dead
      {true, true, {"dead.lnk", "folder-same.lnk"}},
      {true, false, {"dead-nowork.lnk", "dead.lnk", "folder-same.lnk"}},
      {false, true, {"dead.lnk", "folder-same.lnk", "notarget.lnk"}},
      {false, false, {"dead-nowork.lnk", "dead.lnk", "folder-same.lnk", "notarget.lnk"}},
  };
  SetShortcutShell(true);
  for (const auto& [noTarget, noWorkDir, dead] : cases) {
    searchOptions.skipNoTarget = noTarget, searchOptions.skipNoWorkDir = noWorkDir;
    Recorder rec;
    scan(dir, kScanDeadShortcuts, "*.lnk");
    EXPECT_EQ(rec.names(), dead) << noTarget << noWorkDir;
    for (const auto& r : rec.rows) {
      EXPECT_EQ(r.category, "Dead Shortcuts");
      if (r.name == "dead.lnk") {
        EXPECT_EQ(r.date, formatFileTime({2024, 3, 1, 7, 3, 9}, userRegionalFormat()));
      }
    }
  }
  // Without a prepared reader the test still answers.
  SetShortcutShell(false);
  EXPECT_TRUE(IsDeadShortcut(dir.file("dead.lnk")));
  for (const char* f : {"live.lnk", "floppy.lnk", "garbage.lnk", "no such.lnk"})
    EXPECT_FALSE(IsDeadShortcut(dir.file(f))) << f;
}

TEST_F(ScannerTest, FileTimesInLocalTimeWinterAndSummer) {
  for (DateTime local : {DateTime{2024, 1, 15, 17, 3, 9}, DateTime{2024, 7, 15, 0, 30, 0}})
    EXPECT_EQ(FileTimeToLocal(fromLocal(local)), local);
}

TEST_F(ScannerTest, StopEndsTheScanOnceAndKeepsWhatWasCollected) {
  ScratchFolder dir;
  for (int i = 0; i < 5; ++i) dir.write("f" + std::to_string(i) + "\\a.tmp", "x");
  arrUnnecessary = {"*.tmp"};
  // Stop pressed while the third folder is announced.
  Recorder rec;
  rec.onStatus = [&] { bAbort = rec.statuses.size() == 3; };
  scan(dir, kScanUnnecessary);
  EXPECT_EQ(rec.statuses.size(), 3u);
  EXPECT_EQ(rec.rows.size(), 2u);
  EXPECT_EQ(rec.releases, 1);
  EXPECT_EQ(rec.stops, Strings{"Aborted by User"});

  // Already stopped: nothing is collected, the exit is taken at once.
  Recorder rec2;
  scan(dir, kScanCollect);
  EXPECT_TRUE(arrFiles.empty());
  EXPECT_EQ(rec2.stops, Strings{"Aborted by User"});

  // A stop in collecting keeps the files collected so far.
  bAbort = false;
  Recorder rec3;
  int seen = 0;
  rec3.onStatus = [&] { bAbort = ++seen == 2; };
  scan(dir, kScanUserFolders);
  EXPECT_EQ(arrFiles.size(), 1u);
}

// Stop arrives as a message: the scan pumps the events as it goes.
bool g_timerFired = false;
void CALLBACK pressStop(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  g_timerFired = bAbort = true;
}

TEST_F(ScannerTest, TheScanPumpsEventsSoStopGetsThrough) {
  ScratchFolder dir;
  for (int i = 0; i < 40; ++i) dir.write("f" + std::to_string(i) + "\\x.bin", "x");
  auto slice = EventPump::sliceMs();
  EventPump::setSliceMs(0);  // every call dispatches
  Recorder rec;
  rec.onStatus = [] { Sleep(5); };  // a slow folder, so the timer comes due mid-scan
  SetTimer(nullptr, 0, 20, pressStop);
  scan(dir, kScanEmpty);
  EventPump::setSliceMs(slice);
  EXPECT_TRUE(g_timerFired);
  EXPECT_EQ(rec.stops, Strings{"Aborted by User"});
  EXPECT_LT(rec.statuses.size(), 40u);
}

}  // namespace
}  // namespace glenvask
