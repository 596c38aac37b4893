#include "support/scripted.h"

#include <shlobj.h>
#include <shlwapi.h>
#include <shobjidl.h>

#include "base/text.h"
#include "base/zip.h"
#include "services/registry.h"
#include "services/settings.h"
#include "services/zipfile.h"

namespace glenvask::test {

int ScriptedAsker::showModal(Dialog& dialog, HWND owner) {
  if (!dialog.isOpen() && !dialog.build(owner)) return -1;
  auto script = take({"modal", dialog.text(), dialog.text()}, modals_);
  dialog.beginModal(owner);
  if (script) script(dialog);
  if (!dialog.modalEnded() && dialog.isOpen()) SendMessageW(dialog.hwnd(), WM_CLOSE, 0, 0);
  return dialog.finishModal();
}

void removeTree(const std::string& path) {
  std::wstring w = wide(path);
  DWORD attrs = GetFileAttributesW(w.c_str());
  if (attrs == INVALID_FILE_ATTRIBUTES) return;
  bool folder = attrs & FILE_ATTRIBUTE_DIRECTORY;
  if (folder && !(attrs & FILE_ATTRIBUTE_REPARSE_POINT))
    for (const auto& name : listFolder(path)) removeTree(path + "\\" + name);
  SetFileAttributesW(w.c_str(), FILE_ATTRIBUTE_NORMAL);
  folder ? RemoveDirectoryW(w.c_str()) : DeleteFileW(w.c_str());
}

namespace {
std::string scratchName(std::string_view name) {
  return (name.empty() ? currentTestName() : std::string(name)) + "-" +
         std::to_string(GetCurrentProcessId());
}
}  // namespace

ScratchFolder::ScratchFolder(std::string_view name) {
  CreateDirectoryW(L"C:\\glenvask-tests", nullptr);
  path_ = "C:\\glenvask-tests\\" + scratchName(name);
  removeTree(path_);
  CreateDirectoryW(wide(path_).c_str(), nullptr);
}

ScratchFolder::~ScratchFolder() { removeTree(path_); }

std::string ScratchFolder::write(std::string_view relative, std::string_view bytes) const {
  std::string full = file(relative);
  for (size_t i = path_.size() + 1; i < full.size(); ++i)
    if (full[i] == '\\') CreateDirectoryW(wide(full.substr(0, i)).c_str(), nullptr);
  FileHandle f(CreateFileW(wide(full).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
  EXPECT_TRUE(static_cast<bool>(f)) << "cannot write " << full;
  DWORD n = 0;
  if (f) WriteFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
  return full;
}

std::string ScratchFolder::read(std::string_view relative) const {
  return readFileBytes(file(relative)).value_or("<missing>");
}

ScratchKey::ScratchKey(std::string_view name)
    : subkey_("Software\\GlenvaskTests\\" + scratchName(name)) {
  SHDeleteKeyW(HKEY_CURRENT_USER, wide(subkey_).c_str());
  makeKey(subkey_);
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

void setString(const std::string& subkey, const std::string& name, const std::string& data) {
  makeKey(subkey);
  SetRegString(kHkeyCurrentUser, subkey, name, data);
}

std::vector<std::string> valueNames(const std::string& subkey) {
  std::string list = GetRegValueNames(kHkeyCurrentUser, subkey);
  std::vector<std::string> v = list.empty() ? std::vector<std::string>{} : split(list, '\0');
  return std::sort(v.begin(), v.end()), v;
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

std::map<std::string, std::string> readArchive(const std::string& path, bool* recovered) {
  std::map<std::string, std::string> out;
  WinZipFile f;
  ZipReader r;
  if (!f.openRead(path) || !r.open(f)) return out;
  if (recovered) *recovered = r.recovered();
  for (const auto& e : r.entries()) out[e.name] = r.read(e).value_or("<bad: " + r.error() + ">");
  return out;
}

void makeFolderLink(const std::string& link, const std::string& target) {
  CreateSymbolicLinkW(wide(link).c_str(), wide(target).c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY);
  if (GetFileAttributesW(wide(link).c_str()) != INVALID_FILE_ATTRIBUTES) return;
  size_t slash = link.rfind('\\');
  std::string unixLink = unixPath(link.substr(0, slash)) + "/" + link.substr(slash + 1);
  std::string unixTarget = unixPath(target);
  ASSERT_FALSE(unixTarget.empty()) << "no way to make a link here";
  ASSERT_TRUE(runUnix("/bin/ln", "-s \"" + unixTarget + "\" \"" + unixLink + "\""));
  DWORD a = INVALID_FILE_ATTRIBUTES;  // ln runs on the Linux side: its end is not seen here
  for (int i = 0;
       i < 500 && (a = GetFileAttributesW(wide(link).c_str())) == INVALID_FILE_ATTRIBUTES; ++i)
    Sleep(10);
  ASSERT_NE(a, INVALID_FILE_ATTRIBUTES) << "link not made: " << link;
  ASSERT_TRUE(a & FILE_ATTRIBUTE_REPARSE_POINT);
}

void makeShortcut(const std::string& path, const std::string& target,
                  const std::string& workFolder) {
  CreateDirectoryW(wide(path.substr(0, path.rfind('\\'))).c_str(), nullptr);
  ComScope com;
  ComPtr<IShellLinkW> link;
  ComPtr<IPersistFile> file;
  ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                         IID_IShellLinkW, link.putVoid())));
  EXPECT_TRUE(target.empty() || SUCCEEDED(link->SetPath(wide(target).c_str())));
  EXPECT_TRUE(SUCCEEDED(link->SetWorkingDirectory(wide(workFolder).c_str())));
  link->SetDescription(L"test");
  ASSERT_TRUE(SUCCEEDED(link->QueryInterface(IID_IPersistFile, file.putVoid())));
  EXPECT_TRUE(SUCCEEDED(file->Save(wide(path).c_str(), TRUE))) << path;
}

}  // namespace glenvask::test
