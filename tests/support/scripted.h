// Scripted seams and scratch places for the tests that run under Wine.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "win/handle.h"
#include "win/seams.h"

namespace glenvask::test {

// What asks the user, answered from a script. Every question is recorded; a question with
// no scripted answer fails the test and gets a negative answer (No, Cancel, nothing).
class ScriptedAsker : public Asker {
 public:
  struct Question {
    std::string kind;  // "message", "input", "open", "save", "folder", "modal"
    std::string text;
    std::string title;
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
  // Answers an EditDialog: types the values into its fields and presses OK; nothing presses
  // Cancel.
  void answerEdit(std::optional<std::vector<std::string>> values);

  const std::vector<Question>& asked() const { return asked_; }

  int messageBox(HWND owner, std::string_view text, std::string_view title, UINT flags) override;
  std::optional<std::string> inputBox(HWND owner, std::string_view prompt, std::string_view title,
                                      std::string_view initial) override;
  std::optional<std::string> openFile(HWND owner, const FileDialogSpec& spec) override;
  std::optional<std::string> saveFile(HWND owner, const FileDialogSpec& spec) override;
  std::optional<std::string> browseFolder(HWND owner, std::string_view title) override;
  int showModal(Dialog& dialog, HWND owner) override;

 private:
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

  bool exitWindows(UINT flags) override;
  bool shellExecute(HWND owner, std::string_view verb, std::string_view file,
                    std::string_view parameters, std::string_view directory, int show) override;
  bool startProcess(std::string_view commandLine) override;
};

// A folder of its own for one test, below the prefix's C:\glenvask-tests, removed at the end.
class ScratchFolder {
 public:
  explicit ScratchFolder(std::string_view name = "");
  ~ScratchFolder();
  const std::string& path() const { return path_; }
  std::string file(std::string_view relative) const;  // path + "\" + relative
  // Writes a file (making its folders); returns its full path.
  std::string write(std::string_view relative, std::string_view bytes) const;
  std::string read(std::string_view relative) const;
  bool exists(std::string_view relative) const;

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

// The registry below HKEY_CURRENT_USER, to prepare scratch keys and check what is left.
KeyHandle makeKey(const std::string& subkey);  // with its parents; opened for every access
bool keyExists(const std::string& subkey);
void setString(const std::string& subkey, const std::string& name, const std::string& data);
std::vector<std::string> valueNames(const std::string& subkey);  // sorted

// The paths below `base` (a folder ending in "\") without it, "<outside: p>" for any other.
std::vector<std::string> relativeTo(const std::string& base, const std::vector<std::string>& paths,
                                    bool sorted = false);

// The names in a folder ("." and ".." aside), sorted.
std::vector<std::string> listFolder(const std::string& folder);

// Bytes for a test file: mostly one letter, a seventh of them random, the same for a seed.
std::string bytesOf(std::size_t n, unsigned seed);

// The entries of an archive on the disk, name to bytes ("<bad: why>" for an entry that does not
// read right); `recovered` says whether it was read without its directory.
std::map<std::string, std::string> readArchive(const std::string& path, bool* recovered = nullptr);

// An environment variable of the process; empty when unset.
std::string env(const char* name);

// Removes a folder and everything in it (links are removed, never entered).
void removeTree(const std::string& path);

// The name of the running test, for scratch names.
std::string currentTestName();

// A symbolic link to a folder. Where the platform's call makes none (Wine 8 pretends to), the
// link is made on the Linux side with ln -s, and waited for.
void makeFolderLink(const std::string& link, const std::string& target);

// A shell shortcut saved with IShellLinkW and IPersistFile. An empty target sets none.
void makeShortcut(const std::string& path, const std::string& target,
                  const std::string& workFolder);

// Runs the message loop until the condition holds or the time is up.
bool pumpUntil(const std::function<bool()>& condition, DWORD timeoutMs = 5000);

}  // namespace glenvask::test
