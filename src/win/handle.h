// Owning wrappers for Windows handles and COM interfaces: each closes or releases what it
// holds once, when it goes. None can be copied; a move hands the handle over.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <unknwn.h>
#include <wininet.h>

#include <utility>

namespace glenvask {

template <class Traits>
class UniqueHandle {
 public:
  using type = typename Traits::type;
  UniqueHandle() = default;
  explicit UniqueHandle(type h) : h_(h) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& o) noexcept : h_(o.release()) {}
  UniqueHandle& operator=(UniqueHandle&& o) noexcept {
    if (this != &o) reset(o.release());
    return *this;
  }
  ~UniqueHandle() { reset(); }

  type get() const { return h_; }
  explicit operator bool() const { return h_ != Traits::invalid(); }
  type release() { return std::exchange(h_, Traits::invalid()); }
  void reset(type h = Traits::invalid()) {
    if (h_ != Traits::invalid()) Traits::close(h_);
    h_ = h;
  }
  // For calls that hand a handle back through a pointer.
  type* put() {
    reset();
    return &h_;
  }

 private:
  type h_ = Traits::invalid();
};

// How a kind of handle is closed, and the value that holds none.
template <class T, auto Close>
struct NullWhenAbsent {
  using type = T;
  static type invalid() { return nullptr; }
  static void close(type h) { Close(h); }
};
template <auto Close>
struct InvalidWhenAbsent {  // INVALID_HANDLE_VALUE when absent
  using type = HANDLE;
  static type invalid() { return INVALID_HANDLE_VALUE; }
  static void close(type h) { Close(h); }
};

using FileHandle = UniqueHandle<InvalidWhenAbsent<CloseHandle>>;
using KernelHandle = UniqueHandle<NullWhenAbsent<HANDLE, CloseHandle>>;  // events, processes
using FindHandle = UniqueHandle<InvalidWhenAbsent<FindClose>>;
using KeyHandle = UniqueHandle<NullWhenAbsent<HKEY, RegCloseKey>>;
using MenuHandle = UniqueHandle<NullWhenAbsent<HMENU, DestroyMenu>>;
using GdiHandle = UniqueHandle<NullWhenAbsent<HGDIOBJ, DeleteObject>>;
using ImageListHandle = UniqueHandle<NullWhenAbsent<HIMAGELIST, ImageList_Destroy>>;
// FindFirstUrlCacheEntryW: NULL when nothing was found.
using UrlCacheFindHandle = UniqueHandle<NullWhenAbsent<HANDLE, FindCloseUrlCache>>;

// One reference to a COM interface, released once when it goes. It never calls AddRef: it
// takes over the reference that CoCreateInstance, QueryInterface or a getter handed out.
//   ComPtr<IShellLinkW> link;
//   CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
//                    link.putVoid());
template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  explicit ComPtr(T* p) : p_(p) {}
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ComPtr(ComPtr&& o) noexcept : p_(o.release()) {}
  ComPtr& operator=(ComPtr&& o) noexcept {
    if (this != &o) reset(o.release());
    return *this;
  }
  ~ComPtr() { reset(); }

  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  T* release() { return std::exchange(p_, nullptr); }
  void reset(T* p = nullptr) {
    if (T* old = std::exchange(p_, p)) old->Release();
  }
  // For calls that hand an interface back through a pointer; what was held is released.
  T** put() {
    reset();
    return &p_;
  }
  void** putVoid() { return reinterpret_cast<void**>(put()); }

 private:
  T* p_ = nullptr;
};

// COM on this thread for the life of the scope: every successful start (S_FALSE too, when the
// thread had it already) is balanced by one end.
class ComScope {
 public:
  ComScope() : on_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComScope() {
    if (on_) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  bool on_;
};

}  // namespace glenvask
