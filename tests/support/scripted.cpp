#include "support/scripted.h"

#include <gtest/gtest.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <shobjidl.h>

#include <algorithm>
#include <random>

#include "base/text.h"
#include "base/zip.h"
#include "services/registry.h"
#include "services/settings.h"
#include "services/zipfile.h"
#include "win/editdialog.h"
#include "win/handle.h"
#include "win/pump.h"
#include "win/unicode.h"

namespace glenvask::test {

int ScriptedAsker::messageBox(HWND, std::string_view text, std::string_view title, UINT flags) {
  asked_.push_back({"message", std::string(text), std::string(title), flags});
  if (messages_.empty()) {
    ADD_FAILURE() << "unexpected message box: " << text;
    UINT type = flags & MB_TYPEMASK;
    return type == MB_YESNO || type == MB_YESNOCANCEL ? IDNO : IDCANCEL;
  }
  int a = messages_.front();
  messages_.pop_front();
  return a;
}

namespace {
template <class Q>
std::optional<std::string> take(Q& q, const char* what) {
  if (q.empty()) {
    ADD_FAILURE() << "unexpected " << what;
    return std::nullopt;
  }
  auto a = std::move(q.front());
  q.pop_front();
  return a;
}
}  // namespace

std::optional<std::string> ScriptedAsker::inputBox(HWND, std::string_view prompt,
                                                   std::string_view title, std::string_view) {
  asked_.push_back({"input", std::string(prompt), std::string(title), 0});
  return take(inputs_, "input box");
}

std::optional<std::string> ScriptedAsker::openFile(HWND, const FileDialogSpec& spec) {
  asked_.push_back({"open", spec.filter, spec.title, 0});
  return take(files_, "open dialog");
}

std::optional<std::string> ScriptedAsker::saveFile(HWND, const FileDialogSpec& spec) {
  asked_.push_back({"save", spec.filter, spec.title, 0});
  return take(files_, "save dialog");
}

std::optional<std::string> ScriptedAsker::browseFolder(HWND, std::string_view title) {
  asked_.push_back({"folder", "", std::string(title), 0});
  return take(folders_, "folder browser");
}

void ScriptedAsker::answerEdit(std::optional<std::vector<std::string>> values) {
  answerModal([values = std::move(values)](Dialog& d) {
    auto* edit = dynamic_cast<EditDialog*>(&d);
    if (!edit) {
      ADD_FAILURE() << "not an edit dialog: " << d.text();
      return;
    }
    if (!values) return edit->cmdCancel.click();
    EXPECT_EQ(values->size(), edit->fieldCount()) << d.text();
    for (size_t i = 0; i < values->size() && i < edit->fieldCount(); ++i)
      edit->field(i).setText((*values)[i]);
    edit->cmdOK.click();
  });
}

int ScriptedAsker::showModal(Dialog& dialog, HWND owner) {
  if (!dialog.isOpen() && !dialog.build(owner)) return -1;
  asked_.push_back({"modal", dialog.text(), dialog.text(), 0});
  dialog.beginModal(owner);
  if (modals_.empty()) {
    ADD_FAILURE() << "unexpected modal window: " << dialog.text();
  } else {
    auto script = std::move(modals_.front());
    modals_.pop_front();
    script(dialog);
  }
  if (!dialog.modalEnded() && dialog.isOpen()) SendMessageW(dialog.hwnd(), WM_CLOSE, 0, 0);
  return dialog.finishModal();
}

bool RecordingOutside::exitWindows(UINT flags) {
  exits.push_back(flags);
  return result;
}

bool RecordingOutside::shellExecute(HWND, std::string_view verb, std::string_view file,
                                    std::string_view parameters, std::string_view, int) {
  shellCalls.push_back(std::string(verb) + "|" + std::string(file) + "|" + std::string(parameters));
  return result;
}

bool RecordingOutside::startProcess(std::string_view commandLine) {
  processes.emplace_back(commandLine);
  return result;
}

std::string currentTestName() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  if (!info) return "test";
  std::string n = std::string(info->test_suite_name()) + "." + info->name();
  for (char& c : n)
    if (!isalnum(static_cast<unsigned char>(c)) && c != '.' && c != '_') c = '_';
  return n;
}

void removeTree(const std::string& path) {
  std::wstring w = wide(path);
  DWORD attrs = GetFileAttributesW(w.c_str());
  if (attrs == INVALID_FILE_ATTRIBUTES) return;
  if (!(attrs & FILE_ATTRIBUTE_DIRECTORY)) {
    SetFileAttributesW(w.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(w.c_str());
    return;
  }
  if (!(attrs & FILE_ATTRIBUTE_REPARSE_POINT)) {
    WIN32_FIND_DATAW fd;
    FindHandle h(FindFirstFileW((w + L"\\*").c_str(), &fd));
    if (h) {
      do {
        std::wstring name = fd.cFileName;
        if (name == L"." || name == L"..") continue;
        removeTree(path + "\\" + utf8(name));
      } while (FindNextFileW(h.get(), &fd));
    }
  }
  SetFileAttributesW(w.c_str(), FILE_ATTRIBUTE_NORMAL);
  RemoveDirectoryW(w.c_str());
}

ScratchFolder::ScratchFolder(std::string_view name) {
  std::string base = "C:\\glenvask-tests";
  CreateDirectoryW(wide(base).c_str(), nullptr);
  path_ = base + "\\" + (name.empty() ? currentTestName() : std::string(name)) + "-" +
          std::to_string(GetCurrentProcessId());
  removeTree(path_);
  CreateDirectoryW(wide(path_).c_str(), nullptr);
}

ScratchFolder::~ScratchFolder() { removeTree(path_); }

std::string ScratchFolder::file(std::string_view relative) const {
  return path_ + "\\" + std::string(relative);
}

std::string ScratchFolder::write(std::string_view relative, std::string_view bytes) const {
  std::string full = file(relative);
  // Make the folders on the way.
  for (size_t i = path_.size() + 1; i < full.size(); ++i)
    if (full[i] == '\\') CreateDirectoryW(wide(full.substr(0, i)).c_str(), nullptr);
  FileHandle f(CreateFileW(wide(full).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
  EXPECT_TRUE(static_cast<bool>(f)) << "cannot write " << full;
  DWORD n = 0;
  if (f && !bytes.empty())
    WriteFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
  return full;
}

std::string ScratchFolder::read(std::string_view relative) const {
  return readFileBytes(file(relative)).value_or("<missing>");
}

bool ScratchFolder::exists(std::string_view relative) const {
  return GetFileAttributesW(wide(file(relative)).c_str()) != INVALID_FILE_ATTRIBUTES;
}

ScratchKey::ScratchKey(std::string_view name) {
  subkey_ = "Software\\GlenvaskTests\\" + (name.empty() ? currentTestName() : std::string(name)) +
            "-" + std::to_string(GetCurrentProcessId());
  SHDeleteKeyW(HKEY_CURRENT_USER, wide(subkey_).c_str());
  HKEY k;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, wide(subkey_).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                      nullptr, &k, nullptr) == ERROR_SUCCESS)
    RegCloseKey(k);
}

ScratchKey::~ScratchKey() { SHDeleteKeyW(HKEY_CURRENT_USER, wide(subkey_).c_str()); }

KeyHandle makeKey(const std::string& subkey) {
  KeyHandle k;
  EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, wide(subkey).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, k.put(), nullptr),
            ERROR_SUCCESS)
      << subkey;
  return k;
}

bool keyExists(const std::string& subkey) {
  KeyHandle k;
  return RegOpenKeyExW(HKEY_CURRENT_USER, wide(subkey).c_str(), 0, KEY_READ, k.put()) ==
         ERROR_SUCCESS;
}

void setString(const std::string& subkey, const std::string& name, const std::string& data) {
  makeKey(subkey);
  SetRegString(kHkeyCurrentUser, subkey, name, data);
}

std::vector<std::string> valueNames(const std::string& subkey) {
  std::string list = GetRegValueNames(kHkeyCurrentUser, subkey);
  std::vector<std::string> v = list.empty() ? std::vector<std::string>{} : split(list, '\0');
  std::sort(v.begin(), v.end());
  return v;
}

std::vector<std::string> relativeTo(const std::string& base, const std::vector<std::string>& paths,
                                    bool sorted) {
  std::vector<std::string> out;
  for (const auto& p : paths)
    out.push_back(p.rfind(base, 0) == 0 ? p.substr(base.size()) : "<outside: " + p + ">");
  if (sorted) std::sort(out.begin(), out.end());
  return out;
}

std::vector<std::string> listFolder(const std::string& folder) {
  std::vector<std::string> out;
  WIN32_FIND_DATAW fd;
  FindHandle h(FindFirstFileW(wide(folder + "\\*").c_str(), &fd));
  while (h) {
    std::string n = utf8(fd.cFileName);
    if (n != "." && n != "..") out.push_back(n);
    if (!FindNextFileW(h.get(), &fd)) break;
  }
  std::sort(out.begin(), out.end());
  return out;
}

std::string bytesOf(std::size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  std::string s(n, '\0');
  for (auto& c : s) c = static_cast<char>(rng() % 7 == 0 ? rng() : 'a' + seed % 26);
  return s;
}

std::map<std::string, std::string> readArchive(const std::string& path, bool* recovered) {
  std::map<std::string, std::string> out;
  WinZipFile f;
  ZipReader r;
  if (!f.openRead(path) || !r.open(f)) return out;
  if (recovered) *recovered = r.recovered();
  for (const auto& e : r.entries()) out[e.name] = r.read(e).value_or("<bad: " + r.error() + ">");
  return out;
}

std::string env(const char* name) {
  wchar_t buf[1024] = {};
  DWORD n = GetEnvironmentVariableW(wide(name).c_str(), buf, 1024);
  return n && n < 1024 ? utf8(buf) : "";
}

void makeFolderLink(const std::string& link, const std::string& target) {
  CreateSymbolicLinkW(wide(link).c_str(), wide(target).c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY);
  if (GetFileAttributesW(wide(link).c_str()) != INVALID_FILE_ATTRIBUTES) return;

  using UnixName = char*(CDECL*)(const wchar_t*);
  auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  ASSERT_NE(unixName, nullptr) << "no way to make a link here";
  auto toUnix = [&](const std::string& p) {
    char* u = unixName(wide(p).c_str());
    std::string s = u ? u : "";
    if (u) HeapFree(GetProcessHeap(), 0, u);
    return s;
  };
  size_t slash = link.rfind('\\');
  std::string unixLink = toUnix(link.substr(0, slash)) + "/" + link.substr(slash + 1);
  std::string unixTarget = toUnix(target);
  ASSERT_FALSE(unixTarget.empty());
  std::wstring cmd = wide("ln -s \"" + unixTarget + "\" \"" + unixLink + "\"");
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(CreateProcessW(L"\\\\?\\unix\\bin\\ln", cmd.data(), nullptr, nullptr, FALSE, 0,
                             nullptr, nullptr, &si, &pi));
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  for (int i = 0; i < 500 && GetFileAttributesW(wide(link).c_str()) == INVALID_FILE_ATTRIBUTES;
       ++i)
    Sleep(10);
  DWORD a = GetFileAttributesW(wide(link).c_str());
  ASSERT_NE(a, INVALID_FILE_ATTRIBUTES) << "link not made: " << link;
  ASSERT_TRUE(a & FILE_ATTRIBUTE_REPARSE_POINT);
}

void makeShortcut(const std::string& path, const std::string& target,
                  const std::string& workFolder) {
  CreateDirectoryW(wide(path.substr(0, path.rfind('\\'))).c_str(), nullptr);
  HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IShellLinkW* link = nullptr;
  ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                         IID_IShellLinkW, reinterpret_cast<void**>(&link))));
  EXPECT_TRUE(target.empty() || SUCCEEDED(link->SetPath(wide(target).c_str())));
  EXPECT_TRUE(SUCCEEDED(link->SetWorkingDirectory(wide(workFolder).c_str())));
  link->SetDescription(L"test");
  IPersistFile* file = nullptr;
  ASSERT_TRUE(SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))));
  EXPECT_TRUE(SUCCEEDED(file->Save(wide(path).c_str(), TRUE))) << path;
  file->Release();
  link->Release();
  if (SUCCEEDED(init)) CoUninitialize();
}

bool pumpUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
  ULONGLONG end = GetTickCount64() + timeoutMs;
  while (!condition()) {
    if (GetTickCount64() > end) return false;
    EventPump::dispatchPending();
    Sleep(5);
  }
  return true;
}

}  // namespace glenvask::test
