// Scripted seams and scratch places for the tests that run under Wine.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "win/handle.h"
#include "win/pump.h"
#include "win/seams.h"
#include "win/unicode.h"

namespace glenvask::test {

// What asks the user, answered from a script. Every question is recorded; a question with
// no scripted answer fails the test and gets a negative answer (No, Cancel, nothing).
class ScriptedAsker : public Asker {
 public:
  struct Question {
    std::string kind;  // "message", "input", "open", "save", "folder", "modal"
    std::string text, title;
    UINT flags = 0;
  };

  ScriptedAsker() { setAsker(this); }
  ~ScriptedAsker() override { setAsker(nullptr); }

  void answerMessage(int answer) { messages_.push_back(answer); }
  void answerInput(std::optional<std::string> answer) { inputs_.push_back(std::move(answer)); }
  void answerFile(std::optional<std::string> answer) { files_.push_back(std::move(answer)); }
  void answerFolder(std::optional<std::string> answer) { folders_.push_back(std::move(answer)); }
  // The script acts on the shown dialog (clicks its buttons, reads its controls). When the
  // script has not ended it, the dialog is closed as its close box would.
  void answerModal(std::function<void(Dialog&)> script) { modals_.push_back(std::move(script)); }

  const std::vector<Question>& asked() const { return asked_; }

  int messageBox(HWND, std::string_view text, std::string_view title, UINT flags) override {
    UINT type = flags & MB_TYPEMASK;
    int no = type == MB_YESNO || type == MB_YESNOCANCEL ? IDNO : IDCANCEL;
    return take({"message", std::string(text), std::string(title), flags}, messages_, no);
  }
  std::optional<std::string> inputBox(HWND, std::string_view prompt, std::string_view title,
                                      std::string_view) override {
    return take({"input", std::string(prompt), std::string(title)}, inputs_);
  }
  std::optional<std::string> openFile(HWND, const FileDialogSpec& spec) override {
    return take({"open", spec.filter, spec.title}, files_);
  }
  std::optional<std::string> saveFile(HWND, const FileDialogSpec& spec) override {
    return take({"save", spec.filter, spec.title}, files_);
  }
  std::optional<std::string> browseFolder(HWND, std::string_view title) override {
    return take({"folder", "", std::string(title)}, folders_);
  }
  int showModal(Dialog& dialog, HWND owner) override;

 private:
  // Records the question; its next scripted answer, else a failure of the test and `none`.
  template <class T>
  T take(Question q, std::deque<T>& answers, T none = {}) {
    asked_.push_back(q);
    if (answers.empty()) {
      ADD_FAILURE() << "unexpected " << q.kind << ": " << q.text << " " << q.title;
      return none;
    }
    T a = std::move(answers.front());
    answers.pop_front();
    return a;
  }

  std::deque<int> messages_;
  std::deque<std::optional<std::string>> inputs_, files_, folders_;
  std::deque<std::function<void(Dialog&)>> modals_;
  std::vector<Question> asked_;
};

// What leaves the program, recorded and never done.
class RecordingOutside : public Outside {
 public:
  RecordingOutside() { setOutside(this); }
  ~RecordingOutside() override { setOutside(nullptr); }
  std::vector<UINT> exits;
  std::vector<std::string> shellCalls;  // "verb|file|parameters"
  std::vector<std::string> processes;
  bool result = true;

  bool exitWindows(UINT flags) override { return exits.push_back(flags), result; }
  bool shellExecute(HWND, std::string_view verb, std::string_view file, std::string_view parameters,
                    std::string_view, int) override {
    shellCalls.push_back(std::string(verb) + "|" + std::string(file) + "|" +
                         std::string(parameters));
    return result;
  }
  bool startProcess(std::string_view commandLine) override {
    return processes.emplace_back(commandLine), result;
  }
};

// A folder of its own for one test, below the prefix's C:\glenvask-tests, removed at the end.
class ScratchFolder {
 public:
  explicit ScratchFolder(std::string_view name = "");
  ~ScratchFolder();
  const std::string& path() const { return path_; }
  std::string file(std::string_view relative) const {  // path + "\" + relative
    return path_ + "\\" + std::string(relative);
  }
  // Writes a file (making its folders); returns its full path.
  std::string write(std::string_view relative, std::string_view bytes) const;
  std::string read(std::string_view relative) const;
  bool exists(std::string_view relative) const {
    return GetFileAttributesW(wide(file(relative)).c_str()) != INVALID_FILE_ATTRIBUTES;
  }

 private:
  std::string path_;
};

// A registry key of its own for one test, HKCU\Software\GlenvaskTests\<name>, removed at the end.
class ScratchKey {
 public:
  explicit ScratchKey(std::string_view name = "");
  ~ScratchKey();
  const std::string& subkey() const { return subkey_; }  // below HKEY_CURRENT_USER
  HKEY root() const { return HKEY_CURRENT_USER; }

 private:
  std::string subkey_;
};

inline bool hasKey(HKEY root, const std::string& subkey) {
  KeyHandle k;
  return RegOpenKeyExW(root, wide(subkey).c_str(), 0, KEY_READ, k.put()) == ERROR_SUCCESS;
}

// The registry below HKEY_CURRENT_USER, to prepare scratch keys and check what is left.
KeyHandle makeKey(const std::string& subkey);  // with its parents; opened for every access
inline bool keyExists(const std::string& subkey) { return hasKey(HKEY_CURRENT_USER, subkey); }
void setString(const std::string& subkey, const std::string& name, const std::string& data);
std::vector<std::string> valueNames(const std::string& subkey);  // sorted

// The paths below `base` (a folder ending in "\") without it, "<outside: p>" for any other.
std::vector<std::string> relativeTo(const std::string& base, const std::vector<std::string>& paths,
                                    bool sorted = false);

// The names in a folder ("." and ".." aside), sorted.
std::vector<std::string> listFolder(const std::string& folder);

// Bytes for a test file: mostly one letter, a seventh of them random, the same for a seed.
inline std::string bytesOf(std::size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  std::string s(n, '\0');
  for (auto& c : s) c = static_cast<char>(rng() % 7 == 0 ? rng() : 'a' + seed % 26);
  return s;
}

// The entries of an archive on the disk, name to bytes ("<bad: why>" for an entry that does not
// read right); `recovered` says whether it was read without its directory.
std::map<std::string, std::string> readArchive(const std::string& path, bool* recovered = nullptr);

// An environment variable of the process; empty when unset.
inline std::string env(const char* name) {
  wchar_t buf[1024] = {};
  DWORD n = GetEnvironmentVariableW(wide(name).c_str(), buf, 1024);
  return n && n < 1024 ? utf8(buf) : "";
}

// The Linux path of a Windows path of the prefix; "" when there is none.
inline std::string unixPath(const std::string& path) {
  using UnixName = char*(CDECL*)(const wchar_t*);
  static auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  char* u = unixName ? unixName(wide(path).c_str()) : nullptr;
  std::string s = u ? u : "";
  if (u) HeapFree(GetProcessHeap(), 0, u);
  return s;
}

// Starts a Linux program ("/bin/rm"); whether it started. Wine gives no handle to wait on (nor
// its exit code), so callers look for what it did.
inline bool runUnix(const std::string& program, const std::string& arguments) {
  std::wstring exe = wide("\\\\?\\unix" + program), cmd = wide(program + " " + arguments);
  std::replace(exe.begin(), exe.end(), L'/', L'\\');
  STARTUPINFOW si{sizeof si};
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                      &pi))
    return false;
  // For a Linux program Wine gives no process handle, and its "thread handle" is a number that
  // may name another handle of this process (seen: the current user's registry root, closed by
  // closing it): touch neither.
  if (!pi.hProcess) return true;
  WaitForSingleObject(pi.hProcess, 10000);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return true;
}

// Removes a folder and everything in it (links are removed, never entered).
void removeTree(const std::string& path);

// The name of the running test, for scratch names.
inline std::string currentTestName() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  if (!info) return "test";
  std::string n = std::string(info->test_suite_name()) + "." + info->name();
  for (char& c : n)
    if (!isalnum(static_cast<unsigned char>(c)) && c != '.' && c != '_') c = '_';
  return n;
}

// A symbolic link to a folder. Where the platform's call makes none (Wine 8 pretends to), the
// link is made on the Linux side with ln -s, and waited for.
void makeFolderLink(const std::string& link, const std::string& target);

// A shell shortcut saved with IShellLinkW and IPersistFile. An empty target sets none.
void makeShortcut(const std::string& path, const std::string& target,
                  const std::string& workFolder);

// Runs the message loop until the condition holds or the time is up.
inline bool pumpUntil(const std::function<bool()>& condition, DWORD timeoutMs = 5000) {
  for (ULONGLONG end = GetTickCount64() + timeoutMs; !condition(); Sleep(5)) {
    if (GetTickCount64() > end) return false;
    EventPump::dispatchPending();
  }
  return true;
}

}  // namespace glenvask::test
