// What the tests of the main window and its categories share: the window on a scratch
// executable folder with scripted questions and a summary reader, files of any size, registry
// values and environment variables put back at the end, and drive letters of a scratch folder.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>

#include "cleaner/frmMain.h"
#include "cleaner/routines.h"
#include "review/frmDeletetion.h"
#include "review/frmLog.h"
#include "services/globals.h"
#include "services/lists.h"
#include "services/paths.h"
#include "services/scanner.h"
#include "services/settings.h"
#include "support/prefix.h"
#include "support/scripted.h"
#include "win/pump.h"
#include "win/unicode.h"

namespace glenvask::test {

inline bool exists(const std::string& path) {
  return GetFileAttributesW(wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline void makeFolders(const std::string& path) {
  for (size_t at = path.find('\\', 3);; at = path.find('\\', at + 1)) {
    CreateDirectoryW(wide(path.substr(0, at)).c_str(), nullptr);
    if (at == std::string::npos) break;
  }
}

// A file of the given size (sparse beyond 4 KB), its folders made on the way; returns its path.
inline std::string writeFile(const std::string& path, std::int64_t size) {
  makeFolders(path.substr(0, path.rfind('\\')));
  HANDLE h = CreateFileW(wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  std::string bytes(static_cast<size_t>(std::min<std::int64_t>(size, 4096)), 'x');
  DWORD written = 0;
  LARGE_INTEGER end{.QuadPart = size};
  EXPECT_TRUE(WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
              SetFilePointerEx(h, end, nullptr, FILE_BEGIN) && SetEndOfFile(h))
      << path;
  CloseHandle(h);
  return path;
}

// Every file and folder below a folder, relative to it, in a stable order.
inline std::vector<std::string> treeOf(const std::string& folder, const std::string& base = "") {
  std::vector<std::string> out;
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW(wide(folder + "\\*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return out;
  do {
    std::string name = utf8(fd.cFileName);
    if (name == "." || name == "..") continue;
    std::string rel = base.empty() ? name : base + "\\" + name;
    bool dir = fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
    out.push_back(rel + (dir ? "\\" : ""));
    if (dir && !(fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
      for (auto& sub : treeOf(folder + "\\" + name, rel)) out.push_back(sub);
  } while (FindNextFileW(h, &fd));
  FindClose(h);
  std::sort(out.begin(), out.end());
  return out;
}

// TEMP and TMP naming one folder for one test, put back at its end.
class SavedTemp {
 public:
  explicit SavedTemp(const std::string& folder) {
    for (size_t i = 0; i < 2; ++i) {
      wchar_t buf[32768];
      DWORD n = GetEnvironmentVariableW(kNames[i], buf, 32768);
      if (n > 0 && n < 32768) old_[i] = std::wstring(buf, n);
      SetEnvironmentVariableW(kNames[i], wide(folder).c_str());
    }
  }
  ~SavedTemp() {
    for (size_t i = 0; i < 2; ++i)
      SetEnvironmentVariableW(kNames[i], old_[i] ? old_[i]->c_str() : nullptr);
  }

 private:
  static constexpr const wchar_t* kNames[] = {L"TMP", L"TEMP"};
  std::optional<std::wstring> old_[2];
};

// The main window loaded on a scratch executable folder, with scripted questions.
class CategoryTest : public ::testing::Test {
 protected:
  ScratchFolder app{"app"};
  ScratchFolder work{"work"};
  MainWindow& w = frmMain();
  ScriptedAsker script;
  // What the last summary showed, and how many were shown.
  struct Summary {
    int shown = 0;
    std::string count, size, log;
    std::vector<std::string> sections;  // each section's status text
    int marks = 0;                      // the section marks set while it was open
  } summary;

  void SetUp() override {
    setAppPath(app.path());
    DeleteMethod = kDeletePlain;
    CleanupLog.clear();
  }
  void TearDown() override {
    releaseReviewList();
    w.onProgramEnd = nullptr;
    if (w.isOpen()) w.destroy();
    setAppPath("");
    bAbort = false;
    ResetScanLists();
    arrIgnoreFiles.clear(), arrIgnoreExt.clear(), arrIgnoreFolders.clear(), arrUnnecessary.clear();
    EventPump::setSliceMs(25);
  }
  void load(const std::string& args = "") {
    ASSERT_TRUE(w.load(args));
    CleanupLog.clear();
    TotalFilesDeleted = 0, TotalSpaceGained = 0;
  }
  std::string lastCleaned() { return readIni(settingsFile(), "CleanUp", "LastCleaned", ""); }
  void check(const char* box, bool on = true) { w.categoryByName(box)->setValue(on ? 1 : 0); }
  void clearBoxes() { w.setCheckStates({}); }
  // The next summary is read into `summary`, `inside` runs while it is open, then it closes.
  void expectSummary(std::function<void()> inside = nullptr) {
    script.answerModal([this, inside](Dialog& d) {
      auto& s = static_cast<SummaryWindow&>(d);
      summary = {summary.shown + 1, s.Label3.text(), s.Label4.text(), s.run().log, {}, 0};
      for (size_t i = 0; i < kSummarySectionCount; ++i)
        summary.sections.push_back(s.sectionStatus(i));
      for (CheckBox* m : {&w.FoFiValue, &w.MiscValue, &w.IEValue, &w.FFValue, &w.PLGValue})
        summary.marks += m->value();
      if (inside) inside();
      s.cmdClose_Click();
    });
  }
};

}  // namespace glenvask::test
