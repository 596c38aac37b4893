// What the tests of the main window and its categories share: the window on a scratch
// executable folder with scripted questions and a summary reader, files of any size, TEMP.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "cleaner/frmMain.h"
#include "cleaner/routines.h"
#include "services/globals.h"
#include "services/lists.h"
#include "services/paths.h"
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
  SHCreateDirectoryExW(nullptr, wide(path).c_str(), nullptr);
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
  for (const std::string& name : listFolder(folder)) {
    std::string rel = base.empty() ? name : base + "\\" + name;
    DWORD a = GetFileAttributesW(wide(folder + "\\" + name).c_str());
    bool dir = a & FILE_ATTRIBUTE_DIRECTORY;
    out.push_back(rel + (dir ? "\\" : ""));
    if (dir && !(a & FILE_ATTRIBUTE_REPARSE_POINT))
      for (auto& sub : treeOf(folder + "\\" + name, rel)) out.push_back(sub);
  }
  std::sort(out.begin(), out.end());
  return out;
}

// Files deleted and bytes gained: the run's totals, or the Firefox steps'.
using Counts = std::pair<std::int64_t, std::int64_t>;
inline Counts totals() { return {TotalFilesDeleted, TotalSpaceGained}; }
inline Counts firefoxTotals() { return {FirefoxFilesDeleted, FirefoxSpaceGained}; }

// TEMP and TMP naming one folder for one test, put back at its end.
struct SavedTemp {
  const std::string tmp = env("TMP"), temp = env("TEMP");
  explicit SavedTemp(const std::string& folder) { set(folder, folder); }
  ~SavedTemp() { set(tmp, temp); }
  static void set(const std::string& tmp, const std::string& temp) {
    SetEnvironmentVariableW(L"TMP", wide(tmp).c_str());
    SetEnvironmentVariableW(L"TEMP", wide(temp).c_str());
  }
};

// The main window loaded on a scratch executable folder, with scripted questions.
class CategoryTest : public ::testing::Test {
 protected:
  ScratchFolder app{"app"};
  ScratchFolder work{"work"};
  MainWindow& w = frmMain();
  ScriptedAsker script;
  struct Summary {
    int shown = 0;
    std::string count, log;
    std::vector<std::string> sections;  // each section's status text
    int marks = 0;                      // the section marks set while it was open
  } summary;

  void SetUp() override { setAppPath(app.path()), DeleteMethod = kDeletePlain, CleanupLog.clear(); }
  void TearDown() override {
    releaseReviewList();
    w.onProgramEnd = nullptr;
    if (w.isOpen()) w.destroy();
    setAppPath(""), ResetScanLists(), bAbort = false;
    arrIgnoreFiles.clear(), arrIgnoreExt.clear(), arrIgnoreFolders.clear(), arrUnnecessary.clear();
    EventPump::setSliceMs(25);
  }
  void load(const std::string& args = "") {
    ASSERT_TRUE(w.load(args));
    CleanupLog.clear(), TotalFilesDeleted = 0, TotalSpaceGained = 0;
  }
  std::string lastCleaned() { return readIni(settingsFile(), "CleanUp", "LastCleaned", ""); }
  void check(const char* box, bool on = true) { w.categoryByName(box)->setValue(on ? 1 : 0); }
  void clearBoxes() { w.setCheckStates({}); }
  // The next summary is read into `summary`, `inside` runs while it is open, then it closes.
  void expectSummary(std::function<void()> inside = nullptr) {
    script.answerModal([this, inside](Dialog& d) {
      auto& s = static_cast<SummaryWindow&>(d);
      summary = {summary.shown + 1, s.Label3.text(), s.run().log, {}, 0};
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
