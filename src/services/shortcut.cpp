#include "services/shortcut.h"

#include <shlobj.h>
#include <shobjidl.h>

#include <vector>

#include "win/unicode.h"

namespace glenvask {

namespace {

// Shortcut paths are not limited to MAX_PATH.
constexpr int kTextChars = 32768;

}  // namespace

ShortcutReader::ShortcutReader() {
  if (FAILED(CoGetClassObject(CLSID_ShellLink, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                              factory_.putVoid())))
    factory_.reset();
}

std::optional<ShortcutTargets> ShortcutReader::read(std::string_view path) {
  if (!factory_) return std::nullopt;
  ComPtr<IShellLinkW> link;
  if (FAILED(factory_->CreateInstance(nullptr, IID_IShellLinkW, link.putVoid())) || !link)
    return std::nullopt;
  ComPtr<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, file.putVoid())) || !file) return std::nullopt;
  if (FAILED(file->Load(wide(path).c_str(), STGM_READ))) return std::nullopt;

  std::vector<wchar_t> buf(kTextChars);
  ShortcutTargets out;
  buf[0] = 0;
  if (FAILED(link->GetPath(buf.data(), kTextChars, nullptr, 0))) return std::nullopt;
  buf[kTextChars - 1] = 0;
  out.target = utf8(buf.data());
  buf[0] = 0;
  if (FAILED(link->GetWorkingDirectory(buf.data(), kTextChars))) return std::nullopt;
  buf[kTextChars - 1] = 0;
  out.workFolder = utf8(buf.data());
  return out;
}

}  // namespace glenvask
