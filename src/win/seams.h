// The two seams of the program: what asks the user, and what leaves the program. Each has
// the real implementation here; tests put a scripted one in its place.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "win/window.h"

namespace glenvask {

// A window shown modal: it makes its own HWND in build(), owned by the given window.
class Dialog : public Window {
 public:
  virtual bool build(HWND owner) = 0;
};

struct FileDialogSpec {
  std::string title;
  std::string filter;       // "Text files|*.txt|All files|*.*"
  std::string initialDir;
  std::string fileName;     // initial name
  std::string defaultExt;   // without the dot
};

// What asks the user.
class Asker {
 public:
  virtual ~Asker() = default;
  // MessageBoxW's flags and answers (IDYES, IDNO, IDOK...).
  virtual int messageBox(HWND owner, std::string_view text, std::string_view title,
                         UINT flags) = 0;
  virtual std::optional<std::string> inputBox(HWND owner, std::string_view prompt,
                                              std::string_view title,
                                              std::string_view initial) = 0;
  virtual std::optional<std::string> openFile(HWND owner, const FileDialogSpec& spec) = 0;
  virtual std::optional<std::string> saveFile(HWND owner, const FileDialogSpec& spec) = 0;
  virtual std::optional<std::string> browseFolder(HWND owner, std::string_view title) = 0;
  // Shows the dialog modal and returns its result (see Window::endModal).
  virtual int showModal(Dialog& dialog, HWND owner) = 0;
};

// What leaves the program.
class Outside {
 public:
  virtual ~Outside() = default;
  // ExitWindowsEx with its flags, after taking the shutdown privilege.
  virtual bool exitWindows(UINT flags) = 0;
  // ShellExecuteW: opens a file, a folder or a URL with the verb ("open", "properties").
  virtual bool shellExecute(HWND owner, std::string_view verb, std::string_view file,
                            std::string_view parameters, std::string_view directory,
                            int show) = 0;
  // Starts a command line and does not wait for it.
  virtual bool startProcess(std::string_view commandLine) = 0;
};

Asker& asker();
Outside& outside();
// Puts a scripted implementation in place; nullptr restores the real one.
void setAsker(Asker* a);
void setOutside(Outside* o);

}  // namespace glenvask
