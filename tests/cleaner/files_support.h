// What the tests of the main window and its categories share: the window on a scratch
// executable folder with scripted questions and a summary reader, files of any size, registry
// values and environment variables put back at the end, and drive letters of a scratch folder.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cleaner/frmMain.h"
#include "cleaner/routines.h"
#include "review/frmDeletetion.h"
#include "review/frmLog.h"
#include "services/globals.h"
#include "services/lists.h"
#include "services/paths.h"
#include "services/scanner.h"
#include "services/settings.h"
#include "support/scripted.h"
#include "win/pump.h"
#include "win/unicode.h"

namespace glenvask::test {

inline bool exists(const std::string& path) {
  return GetFileAttributesW(wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline void setAttributes(const std::string& path, DWORD attributes) {
  ASSERT_TRUE(SetFileAttributesW(wide(path).c_str(), attributes)) << path;
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
  HANDLE h = CreateFileW(wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  EXPECT_NE(h, INVALID_HANDLE_VALUE) << path;
  if (h == INVALID_HANDLE_VALUE) return path;
  std::string bytes(static_cast<size_t>(std::min<std::int64_t>(size, 4096)), 'x');
  DWORD written = 0;
  WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  LARGE_INTEGER end;
  end.QuadPart = size;
  EXPECT_TRUE(SetFilePointerEx(h, end, nullptr, FILE_BEGIN) && SetEndOfFile(h)) << path;
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
    if (dir && !(fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
      auto sub = treeOf(folder + "\\" + name, rel);
      out.insert(out.end(), sub.begin(), sub.end());
    }
  } while (FindNextFileW(h, &fd));
  FindClose(h);
  std::sort(out.begin(), out.end());
  return out;
}

// A registry value set (or removed, for no data) for one test and put back at its end; the
// first key the test had to create goes again.
class SavedValue {
 public:
  SavedValue(HKEY root, const std::string& subkey, const std::string& name,
             const std::optional<std::string>& data, DWORD type = REG_SZ)
      : root_(root), key_(wide(subkey)), name_(wide(name)) {
    HKEY k;
    for (size_t i = key_.find(L'\\'); created_.empty(); i = key_.find(L'\\', i + 1)) {
      if (RegOpenKeyExW(root_, key_.substr(0, i).c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS)
        created_ = key_.substr(0, i);
      else
        RegCloseKey(k);
      if (i == std::wstring::npos) break;
    }
    DWORD size = 0;
    if (!RegGetValueW(root_, key_.c_str(), name_.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &oldType_,
                      nullptr, &size)) {
      old_.emplace(size, '\0');
      RegGetValueW(root_, key_.c_str(), name_.c_str(), RRF_RT_ANY | RRF_NOEXPAND, nullptr,
                   old_->data(), &size);
    }
    std::wstring w = data ? wide(*data) : L"";
    put(data ? std::optional<std::string>(std::string(reinterpret_cast<const char*>(w.c_str()),
                                                      (w.size() + 1) * sizeof(wchar_t)))
             : std::nullopt,
        type);
  }
  ~SavedValue() {
    if (created_.empty()) {
      put(old_, oldType_);
    } else {
      RegDeleteTreeW(root_, created_.c_str());
      RegDeleteKeyW(root_, created_.c_str());
    }
  }

 private:
  void put(const std::optional<std::string>& bytes, DWORD type) {
    if (!bytes) {
      RegDeleteKeyValueW(root_, key_.c_str(), name_.c_str());
      return;
    }
    EXPECT_EQ(RegSetKeyValueW(root_, key_.c_str(), name_.c_str(), type, bytes->data(),
                              static_cast<DWORD>(bytes->size())),
              ERROR_SUCCESS)
        << utf8(key_);
  }
  HKEY root_;
  std::wstring key_, name_, created_;
  std::optional<std::string> old_;
  DWORD oldType_ = REG_SZ;
};

// The Linux path of a Windows path of the prefix; "" when there is none.
inline std::string unixPath(const std::string& path) {
  using UnixName = char*(CDECL*)(const wchar_t*);
  auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  char* u = unixName ? unixName(wide(path).c_str()) : nullptr;
  std::string s = u ? u : "";
  if (u) HeapFree(GetProcessHeap(), 0, u);
  return s;
}

// Runs a Linux program and waits for it to end (its exit code does not reach a Windows
// process: callers look at what it did).
inline void runUnix(const std::string& program, const std::string& arguments) {
  std::wstring exe = wide("\\\\?\\unix" + program);
  std::replace(exe.begin(), exe.end(), L'/', L'\\');
  std::wstring cmd = wide(program + " " + arguments);
  STARTUPINFOW si{sizeof si};
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                      &pi))
    return;
  WaitForSingleObject(pi.hProcess, 10000);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
}

// A drive letter of the prefix naming a scratch folder for one test: the link in the prefix's
// dosdevices folder serves the files, the device definition puts the letter in the drive list.
class MappedDrive {
 public:
  MappedDrive(char letter, const std::string& folder)
      : device_{wchar_t(letter), L':'}, target_(wide(folder)) {
    wchar_t prefix[4096] = {};
    DWORD n = GetEnvironmentVariableW(L"WINEPREFIX", prefix, 4096);
    std::string target = unixPath(folder);
    if (n == 0 || n >= 4096 || target.empty() || (GetLogicalDrives() & (1u << (letter - 'A'))))
      return;
    link_ = utf8(prefix) + "/dosdevices/" + char(letter - 'A' + 'a') + ":";
    runUnix("/bin/rm", "-f \"" + link_ + "\"");
    runUnix("/bin/ln", "-s \"" + target + "\" \"" + link_ + "\"");
    for (int i = 0; i < 500 && !exists(root()); ++i) Sleep(10);
    defined_ = DefineDosDeviceW(0, device_.c_str(), target_.c_str()) != 0;
  }
  ~MappedDrive() {
    if (defined_)
      DefineDosDeviceW(DDD_REMOVE_DEFINITION | DDD_EXACT_MATCH_ON_REMOVE, device_.c_str(),
                       target_.c_str());
    if (!link_.empty()) runUnix("/bin/rm", "-f \"" + link_ + "\"");
  }
  bool ok() const { return defined_ && exists(root()); }
  std::string root() const { return utf8(device_) + "\\"; }

 private:
  std::wstring device_, target_;
  std::string link_;
  bool defined_ = false;
};

// An environment variable set for one test and put back at its end.
class SavedEnv {
 public:
  SavedEnv(const wchar_t* name, const std::string& value) : name_(name) {
    wchar_t buf[32768];
    DWORD n = GetEnvironmentVariableW(name, buf, 32768);
    if (n > 0 && n < 32768) old_ = std::wstring(buf, n);
    SetEnvironmentVariableW(name, wide(value).c_str());
  }
  ~SavedEnv() { SetEnvironmentVariableW(name_.c_str(), old_ ? old_->c_str() : nullptr); }

 private:
  std::wstring name_;
  std::optional<std::wstring> old_;
};

// TEMP and TMP naming one folder for one test.
struct SavedTemp {
  explicit SavedTemp(const std::string& folder) : tmp(L"TMP", folder), temp(L"TEMP", folder) {}
  SavedEnv tmp, temp;
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
    arrIgnoreFiles.clear();
    arrIgnoreExt.clear();
    arrIgnoreFolders.clear();
    arrUnnecessary.clear();
    EventPump::setSliceMs(25);
  }
  void load(const std::string& args = "") {
    ASSERT_TRUE(w.load(args));
    CleanupLog.clear();
    TotalFilesDeleted = 0;
    TotalSpaceGained = 0;
  }
  std::string lastCleaned() { return readIni(settingsFile(), "CleanUp", "LastCleaned", ""); }
  void check(const char* box, bool on = true) { w.categoryByName(box)->setValue(on ? 1 : 0); }
  void clearBoxes() {
    for (size_t i = 0; i < kCategoryCount; ++i) w.category(i).setValue(0);
  }
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
