#include "services/shortcut.h"

#include <shlobj.h>
#include <shobjidl.h>

#include <vector>

#include "win/unicode.h"

namespace glenvask {

namespace {

template <class T>
struct ComPtr {
  T* p = nullptr;
  ~ComPtr() {
    if (p) p->Release();
  }
  void** put() { return reinterpret_cast<void**>(&p); }
};

// Shortcut paths are not limited to MAX_PATH.
constexpr int kTextChars = 32768;

}  // namespace

ShortcutReader::ShortcutReader() {
  HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  comInitialized_ = SUCCEEDED(hr);  // S_FALSE too: every success is balanced
  if (FAILED(CoGetClassObject(CLSID_ShellLink, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                              reinterpret_cast<void**>(&factory_))))
    factory_ = nullptr;
}

ShortcutReader::~ShortcutReader() {
  if (factory_) factory_->Release();
  if (comInitialized_) CoUninitialize();
}

std::optional<ShortcutTargets> ShortcutReader::read(std::string_view path) {
  if (!factory_) return std::nullopt;
  ComPtr<IShellLinkW> link;
  if (FAILED(factory_->CreateInstance(nullptr, IID_IShellLinkW, link.put())) || !link.p)
    return std::nullopt;
  ComPtr<IPersistFile> file;
  if (FAILED(link.p->QueryInterface(IID_IPersistFile, file.put())) || !file.p)
    return std::nullopt;
  if (FAILED(file.p->Load(wide(path).c_str(), STGM_READ))) return std::nullopt;

  std::vector<wchar_t> buf(kTextChars);
  ShortcutTargets out;
  buf[0] = 0;
  if (FAILED(link.p->GetPath(buf.data(), kTextChars, nullptr, 0))) return std::nullopt;
  buf[kTextChars - 1] = 0;
  out.target = utf8(buf.data());
  buf[0] = 0;
  if (FAILED(link.p->GetWorkingDirectory(buf.data(), kTextChars))) return std::nullopt;
  buf[kTextChars - 1] = 0;
  out.workFolder = utf8(buf.data());
  return out;
}

}  // namespace glenvask
