#include "services/delete.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

#include "base/zip.h"
#include "services/globals.h"
#include "services/zipfile.h"
#include "support/scripted.h"
#include "win/handle.h"
#include "win/pump.h"
#include "win/unicode.h"

namespace glenvask {
namespace {

using namespace test;
using Contents = std::map<std::string, std::string>;

class DeletePath : public ::testing::Test {
 protected:
  void SetUp() override { reset(); }
  void TearDown() override { FinishBackupZip(), reset(); }
  static void reset() {
    DeleteMethod = kDeletePlain;
    ShredRandom = RenameBeforeDelete = DeleteFailed = bAbort = false;
    BackupFolder = BackupZipFile = LastBackupDrive = "";
    BackedUpCount = 0;
  }
  // Backups go to <folder>\Backup; the next file starts `archive` (a new one when empty).
  static void backUpTo(const ScratchFolder& folder, const std::string& archive = "") {
    CreateDirectoryW(wide(folder.file("Backup")).c_str(), nullptr);
    DeleteMethod = kDeleteBackup;
    BackupFolder = folder.file("Backup\\");
    BackupZipFile = archive;
    LastBackupDrive = archive.empty() ? "" : "C";
  }
};

FileHandle holdOpen(const std::string& path, DWORD access, DWORD share) {
  return FileHandle(CreateFileW(wide(path).c_str(), access, share, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
}

std::string readAll(HANDLE h) {
  SetFilePointer(h, 0, nullptr, FILE_BEGIN);
  std::string out;
  char buf[65536];
  DWORD got = 0;
  while (ReadFile(h, buf, sizeof buf, &got, nullptr) && got > 0) out.append(buf, got);
  return out;
}

TEST_F(DeletePath, EachMethodOnReadOnlyHeldAndMissingFiles) {
  enum Kind { Plain, ReadOnly, Held, Missing };
  ScratchFolder folder;
  const std::string content = bytesOf(3000, 3);
  int n = 0;
  // Methods 0 and 5 are no methods: nothing is deleted and the failure is told.
  for (int method : {int(kDeletePlain), int(kDeleteOverwrite), int(kDeleteBackup), 0, 5})
    for (Kind kind : {Plain, ReadOnly, Held, Missing}) {
      bool known = method >= kDeletePlain && method <= kDeleteBackup;
      if (!known && kind != Plain) continue;
      SCOPED_TRACE("method " + std::to_string(method) + ", case " + std::to_string(kind));
      reset();
      backUpTo(folder);
      DeleteMethod = method;
      std::string name = "f" + std::to_string(n++) + ".tmp", path = folder.file(name);
      if (kind != Missing) folder.write(name, content);
      if (kind == ReadOnly) SetFileAttributesW(wide(path).c_str(), FILE_ATTRIBUTE_READONLY);
      FileHandle held;
      if (kind == Held)  // shared for reading and writing, not for deletion
        held = holdOpen(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
      bool gone = known && (kind == Plain || kind == ReadOnly);
      EXPECT_EQ(DeleteJunkFile(path), gone ? 1 : 0);
      EXPECT_EQ(DeleteFailed, kind == Held || !known);
      EXPECT_EQ(BackedUpCount, gone && method == kDeleteBackup ? 1 : 0);
      EXPECT_EQ(folder.exists(name), kind != Missing && !gone);
      EXPECT_TRUE(!held || readAll(held.get()) == content) << "nothing overwritten";
      held.reset();
      FinishBackupZip();
    }
}

TEST_F(DeletePath, OverwriteWritesZerosOrSmallRandomBytesOverTheWholeFile) {
  std::tuple<bool, bool, std::size_t> cases[] = {  // random bytes, rename first, size
      {false, false, 10}, {true, false, 10}, {false, true, 10}, {true, true, 10},
      {false, false, (3 << 20) + 5}, {true, false, (3 << 20) + 5}, {false, false, 0},
      {true, true, 0}};
  ScratchFolder folder;
  for (const auto& [random, rename, size] : cases) {
    SCOPED_TRACE(std::to_string(random) + std::to_string(rename) + " " + std::to_string(size));
    ShredRandom = random, RenameBeforeDelete = rename;
    std::string path = folder.write("victim.dat", std::string(size, '\xEE'));
    // Read what the file holds just before it goes, through a handle that lets it go.
    FileHandle spy =
        holdOpen(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    ASSERT_TRUE(spy);
    EXPECT_EQ(ShredFile(path), 1);
    std::string left = readAll(spy.get());
    spy.reset();
    ASSERT_EQ(left.size(), size) << "the length does not change";
    int counts[256] = {};
    for (unsigned char b : left) ++counts[b];
    EXPECT_EQ(counts[0] == static_cast<int>(size), !random || size == 0);
    for (int v = 101; v < 256; ++v) EXPECT_EQ(counts[v], 0) << v;
    if (random && size > 1000) {
      EXPECT_TRUE(counts[0] > 0 && counts[100] > 0);
      EXPECT_GT(counts[50], counts[0]) << "0 and 100 are half as likely as the others";
    }
    EXPECT_TRUE(test::listFolder(folder.path()).empty()) << "no file, no renamed copy stays";
  }
}

// Stop arrives through the event pump between two blocks.
std::uint64_t g_ticks = 0;
std::uint64_t slowClock() { return ++g_ticks > 3 ? 1000 : 0; }
LRESULT CALLBACK stopProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_APP) bAbort = true;
  return DefWindowProcW(h, m, w, l);
}

TEST_F(DeletePath, StopDuringAnOverwriteLeavesTheFilePartlyOverwritten) {
  ScratchFolder folder;
  std::string path = folder.write("big.dat", std::string(5 << 20, 'x'));
  WNDCLASSW wc{0, stopProc, 0, 0, GetModuleHandleW(nullptr), {}, {}, {}, {}, L"GlenvaskStopTest"};
  RegisterClassW(&wc);
  HWND stop = CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            wc.hInstance, nullptr);
  ASSERT_TRUE(stop);
  PostMessageW(stop, WM_APP, 0, 0);
  g_ticks = 0;
  EventPump::setClock(slowClock);  // the first three blocks go before the pump's slice is up
  DeleteMethod = kDeleteOverwrite;
  EXPECT_EQ(DeleteJunkFile(path), 0);
  EventPump::setClock(nullptr);
  DestroyWindow(stop);
  EXPECT_TRUE(bAbort && DeleteFailed);
  EXPECT_EQ(folder.read("big.dat"), std::string(3 << 20, '\0') + std::string(2 << 20, 'x'));
}

TEST_F(DeletePath, NamesOfArchivesAndEntries) {
  std::pair<DateTime, const char*> stamps[] = {
      {{2026, 12, 6, 1, 5, 7}, "061220261057"}, {{2026, 1, 31, 0, 0, 0}, "310120260000"},
      {{2026, 12, 31, 23, 59, 59}, "31122026235959"}, {{2030, 7, 4, 10, 51, 7}, "0407203010517"},
      {{2030, 7, 4, 1, 5, 17}, "0407203010517"},  // the format gives both the same name
  };
  for (const auto& [time, text] : stamps) EXPECT_EQ(backupZipStamp(time), text);

  std::pair<const char*, const char*> entries[] = {
      {"C:\\a\\b.txt", "a/b.txt"}, {"C:\\a\\..\\b.txt", "b.txt"}, {"d:\\x.tmp", "x.tmp"},
      {"C:\\caf\xC3\xA9\\\xE2\x82\xAC.txt", "caf\xC3\xA9/\xE2\x82\xAC.txt"},
      {"\\\\?\\C:\\long\\x", "long/x"}, {"\\\\server\\share\\x.txt", ""}, {"C:\\", ""},
  };
  for (const auto& [path, name] : entries) EXPECT_EQ(backupEntryName(path), name) << path;

  MakeBackupZipName("C:\\Backup\\", "C_");
  EXPECT_TRUE(std::regex_match(BackupZipFile, std::regex(R"(C:\\Backup\\C_\d{12,14}\.zip)")))
      << BackupZipFile;
}

TEST_F(DeletePath, AFileThatCannotBeZippedStays) {
  ScratchFolder folder;
  std::string notZip = folder.write("Backup\\C_notazip.zip", "a list of things, not an archive");
  std::string folderZip = folder.file("Backup\\C_folder.zip");  // a folder: cannot be written
  CreateDirectoryW(wide(folderZip).c_str(), nullptr);
  enum Why { MissingFolder, NotAZip, NotWritable, Unreadable };
  for (Why why : {MissingFolder, NotAZip, NotWritable, Unreadable}) {
    SCOPED_TRACE(why);
    reset();
    backUpTo(folder, why == NotAZip ? notZip : why == NotWritable ? folderZip : "");
    if (why == MissingFolder) BackupFolder = folder.file("NoSuchFolder\\");
    std::string path = folder.write("keep.txt", "precious");
    FileHandle writer;
    if (why == Unreadable) writer = holdOpen(path, GENERIC_WRITE, FILE_SHARE_DELETE);
    EXPECT_EQ(DeleteJunkFile(path), 0);
    EXPECT_TRUE(DeleteFailed && BackedUpCount == 0);
    writer.reset();
    EXPECT_EQ(folder.read("keep.txt"), "precious");
    DeleteBackupZip();
  }
  EXPECT_EQ(folder.read("Backup\\C_notazip.zip"), "a list of things, not an archive");
  EXPECT_TRUE(test::listFolder(folderZip).empty());
  EXPECT_FALSE(folder.exists("NoSuchFolder"));
  // No empty archive is left behind by the run that zipped nothing.
  EXPECT_EQ(test::listFolder(folder.file("Backup")).size(), 2u);
}

const char* kKillEnv = "GLENVASK_BACKUP_KILL_DIR";
constexpr int kKillFiles = 30;

std::string killName(int i) { return "run\\files\\f" + std::to_string(i) + ".bin"; }
std::string killFile(int i) {
  std::size_t size = i % 5 == 4 ? (3 << 20) + i : 3000 + 1000 * i;  // every fifth is streamed
  return bytesOf(size, 100 + i);
}

// Run in a process of its own by the test below: backs up every file, then waits to be killed.
TEST_F(DeletePath, BackupHelperRunUntilKilled) {
  char dir[MAX_PATH] = {};
  if (!GetEnvironmentVariableA(kKillEnv, dir, MAX_PATH)) GTEST_SKIP() << "a helper process";
  DeleteMethod = kDeleteBackup;
  BackupFolder = std::string(dir) + "\\run\\Backup\\";
  for (int i = 0; i < kKillFiles; ++i) DeleteJunkFile(std::string(dir) + "\\" + killName(i));
  Sleep(INFINITE);
}

TEST_F(DeletePath, AKilledRunLosesNoFile) {
  ScratchFolder folder;
  std::wstring exe(MAX_PATH, L'\0');
  exe.resize(GetModuleFileNameW(nullptr, exe.data(), MAX_PATH));
  // Outside the drives of the prefix, Wine names the program by its Linux path.
  if (exe.rfind(L"unix\\", 0) == 0) exe = L"\\\\?\\" + exe;
  auto gone = [&] {
    int n = 0;
    for (int i = 0; i < kKillFiles; ++i) n += !folder.exists(killName(i));
    return n;
  };
  // After 4 and 9 files the next one is a large, streamed one: a kill a little later falls
  // inside it.
  std::pair<int, DWORD> kills[] = {{0, 0}, {4, 15}, {9, 40}, {14, 20}, {17, 2}, {kKillFiles, 0}};
  for (auto [killAfter, delayMs] : kills) {
    SCOPED_TRACE("killed after " + std::to_string(killAfter) + " files");
    test::removeTree(folder.file("run"));
    for (int i = 0; i < kKillFiles; ++i) folder.write(killName(i), killFile(i));
    CreateDirectoryW(wide(folder.file("run\\Backup")).c_str(), nullptr);
    SetEnvironmentVariableA(kKillEnv, folder.path().c_str());
    std::wstring cmd = L"\"" + exe + L"\" --gtest_filter=DeletePath.BackupHelperRunUntilKilled";
    STARTUPINFOW si{sizeof si};
    PROCESS_INFORMATION pi{};
    BOOL started = CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE,
                                  CREATE_NO_WINDOW, nullptr, wide(folder.path()).c_str(), &si, &pi);
    SetEnvironmentVariableA(kKillEnv, nullptr);
    ASSERT_TRUE(started) << GetLastError() << " " << utf8(exe);
    KernelHandle process(pi.hProcess), thread(pi.hThread);
    ULONGLONG end = GetTickCount64() + 60000;  // polled finely: the kill lands inside a file
    while (gone() < killAfter && GetTickCount64() < end) Sleep(1);
    Sleep(delayMs);
    TerminateProcess(process.get(), 1);
    WaitForSingleObject(process.get(), 10000);

    auto archives = test::listFolder(folder.file("run\\Backup"));
    if (gone() == 0) continue;
    ASSERT_EQ(archives.size(), 1u);
    std::string zip = folder.file("run\\Backup\\" + archives[0]);
    bool recovered = false;
    Contents a = readArchive(zip, &recovered);
    EXPECT_TRUE(recovered) << "killed before its directory was written";
    for (int i = 0; i < kKillFiles; ++i) {
      std::string name = folder.file(killName(i)).substr(3);  // below the root, '/' between
      std::replace(name.begin(), name.end(), '\\', '/');
      bool kept = folder.exists(killName(i)) || (a.count(name) && a[name] == killFile(i));
      EXPECT_TRUE(kept) << "deleted without its backup: " << name;
    }
    // The next run appends to the cut archive and keeps every entry.
    reset();
    backUpTo(folder, zip);
    EXPECT_EQ(DeleteJunkFile(folder.write("run\\after.txt", "after")), 1);
    FinishBackupZip();
    Contents again = readArchive(zip, &recovered);
    EXPECT_FALSE(recovered);
    EXPECT_EQ(again.size(), a.size() + 1);
    for (const auto& [name, data] : a) EXPECT_TRUE(again[name] == data) << name;
  }
}

}  // namespace
}  // namespace glenvask
