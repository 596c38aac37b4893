#include "win/seams.h"

#include <shellapi.h>
#include <shlobj.h>
#include <commdlg.h>

#include <vector>

#include "base/text.h"
#include "win/controls.h"
#include "win/handle.h"
#include "win/unicode.h"

namespace glenvask {

namespace {

// "Name|*.a|Name|*.b" to the double-null form of the common dialogs.
std::wstring dialogFilter(const std::string& filter) {
  std::wstring f = wide(filter);
  for (auto& c : f)
    if (c == L'|') c = L'\0';
  f.push_back(L'\0');
  f.push_back(L'\0');
  return f;
}

std::optional<std::string> fileDialog(HWND owner, const FileDialogSpec& spec, bool save) {
  std::vector<wchar_t> buf(32768, L'\0');
  std::wstring initial = wide(spec.fileName);
  initial.copy(buf.data(), std::min(initial.size(), buf.size() - 1));
  std::wstring filter = dialogFilter(spec.filter);
  std::wstring title = wide(spec.title), dir = wide(spec.initialDir), ext = wide(spec.defaultExt);
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = spec.filter.empty() ? nullptr : filter.c_str();
  ofn.lpstrFile = buf.data();
  ofn.nMaxFile = static_cast<DWORD>(buf.size());
  ofn.lpstrTitle = spec.title.empty() ? nullptr : title.c_str();
  ofn.lpstrInitialDir = spec.initialDir.empty() ? nullptr : dir.c_str();
  ofn.lpstrDefExt = spec.defaultExt.empty() ? nullptr : ext.c_str();
  ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY |
              (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST);
  BOOL ok = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
  if (!ok) return std::nullopt;
  return utf8(buf.data());
}

// A small modal input box: prompt, one edit line, OK and Cancel.
class InputBox : public Dialog {
 public:
  InputBox(std::string_view prompt, std::string_view title, std::string_view initial)
      : prompt_(prompt), title_(title), value_(initial) {}
  bool build(HWND owner) override { return create(dialogFrame(title_, 360, 130, owner)); }
  const std::string& value() const { return value_; }

 protected:
  const wchar_t* className() const override { return L"GlenvaskInputBox"; }
  bool onCreate() override {
    addControl(label("lblPrompt", 1, prompt_.c_str(), 10, 10, 260, 50));
    // The edit's id is neither IDOK nor IDCANCEL: its change notices would end the box.
    addControl({"txtValue", L"EDIT", 3, value_.c_str(), 10, 70, 340, 22,
                ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE});
    addControl(button("cmdOK", IDOK, "OK", 280, 10, 70, 24, BS_DEFPUSHBUTTON));
    addControl(button("cmdCancel", IDCANCEL, "Cancel", 280, 40, 70, 24));
    SetFocus(child("txtValue"));
    return true;
  }
  void onCommand(int id, int code, HWND) override {
    if (code != BN_CLICKED) return;
    if (id == IDOK) {
      value_ = windowText(child("txtValue"));
      endModal(IDOK);
    } else if (id == IDCANCEL) {
      endModal(IDCANCEL);
    }
  }

 private:
  std::string prompt_, title_, value_;
};

class RealAsker : public Asker {
 public:
  int messageBox(HWND owner, std::string_view text, std::string_view title,
                 UINT flags) override {
    return MessageBoxW(owner, wide(text).c_str(), wide(title).c_str(), flags);
  }
  std::optional<std::string> inputBox(HWND owner, std::string_view prompt,
                                      std::string_view title,
                                      std::string_view initial) override {
    InputBox box(prompt, title, initial);
    if (showModal(box, owner) != IDOK) return std::nullopt;
    return box.value();
  }
  std::optional<std::string> openFile(HWND owner, const FileDialogSpec& spec) override {
    return fileDialog(owner, spec, false);
  }
  std::optional<std::string> saveFile(HWND owner, const FileDialogSpec& spec) override {
    return fileDialog(owner, spec, true);
  }
  std::optional<std::string> browseFolder(HWND owner, std::string_view title) override {
    std::wstring t = wide(title);
    BROWSEINFOW bi{};
    bi.hwndOwner = owner;
    bi.lpszTitle = t.c_str();
    bi.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    PIDLIST_ABSOLUTE pidl = SHBrowseForFolderW(&bi);
    if (!pidl) return std::nullopt;
    wchar_t path[MAX_PATH] = {};
    bool ok = SHGetPathFromIDListW(pidl, path);
    CoTaskMemFree(pidl);
    if (!ok) return std::nullopt;
    return utf8(path);
  }
  int showModal(Dialog& dialog, HWND owner) override {
    if (!dialog.isOpen() && !dialog.build(owner)) return -1;
    return dialog.runModal(owner);
  }
};

class RealOutside : public Outside {
 public:
  bool exitWindows(UINT flags) override {
    HANDLE raw = nullptr;
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &raw)) {
      KernelHandle token(raw);
      TOKEN_PRIVILEGES tp{};
      tp.PrivilegeCount = 1;
      tp.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
      if (LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &tp.Privileges[0].Luid))
        AdjustTokenPrivileges(token.get(), FALSE, &tp, 0, nullptr, nullptr);
    }
    return ExitWindowsEx(flags, SHTDN_REASON_MAJOR_OTHER | SHTDN_REASON_FLAG_PLANNED) != 0;
  }
  bool shellExecute(HWND owner, std::string_view verb, std::string_view file,
                    std::string_view parameters, std::string_view directory,
                    int show) override {
    std::wstring v = wide(verb), f = wide(file), p = wide(parameters), d = wide(directory);
    if (v == L"properties") {  // the properties dialog is a verb of the item, not of its type
      SHELLEXECUTEINFOW info{};
      info.cbSize = sizeof info;
      // No error box of the shell's own: a failure is the caller's to report (or not).
      info.fMask = SEE_MASK_INVOKEIDLIST | SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
      info.hwnd = owner;
      info.lpVerb = v.c_str();
      info.lpFile = f.c_str();
      info.lpParameters = p.empty() ? nullptr : p.c_str();
      info.lpDirectory = d.empty() ? nullptr : d.c_str();
      info.nShow = show;
      bool shown = ShellExecuteExW(&info) != 0;
      if (info.hProcess) CloseHandle(info.hProcess);
      return shown;
    }
    auto r = reinterpret_cast<INT_PTR>(ShellExecuteW(owner, v.empty() ? nullptr : v.c_str(),
                                                     f.c_str(), p.empty() ? nullptr : p.c_str(),
                                                     d.empty() ? nullptr : d.c_str(), show));
    return r > 32;
  }
  bool startProcess(std::string_view commandLine) override {
    std::wstring cmd = wide(commandLine);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi))
      return false;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return true;
  }
};

RealAsker g_realAsker;
RealOutside g_realOutside;
Asker* g_asker = &g_realAsker;
Outside* g_outside = &g_realOutside;

}  // namespace

Asker& asker() { return *g_asker; }
Outside& outside() { return *g_outside; }
void setAsker(Asker* a) { g_asker = a ? a : &g_realAsker; }
void setOutside(Outside* o) { g_outside = o ? o : &g_realOutside; }

}  // namespace glenvask
