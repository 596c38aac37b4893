// Owning wrappers for Windows handles: each closes its handle once, when it goes.
#pragma once

#include <windows.h>
#include <commctrl.h>

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

struct FileHandleTraits {
  using type = HANDLE;
  static type invalid() { return INVALID_HANDLE_VALUE; }
  static void close(type h) { CloseHandle(h); }
};
struct KernelHandleTraits {  // events, mutexes, processes: NULL when absent
  using type = HANDLE;
  static type invalid() { return nullptr; }
  static void close(type h) { CloseHandle(h); }
};
struct FindHandleTraits {
  using type = HANDLE;
  static type invalid() { return INVALID_HANDLE_VALUE; }
  static void close(type h) { FindClose(h); }
};
struct KeyHandleTraits {
  using type = HKEY;
  static type invalid() { return nullptr; }
  static void close(type h) { RegCloseKey(h); }
};
struct MenuHandleTraits {
  using type = HMENU;
  static type invalid() { return nullptr; }
  static void close(type h) { DestroyMenu(h); }
};
struct GdiHandleTraits {
  using type = HGDIOBJ;
  static type invalid() { return nullptr; }
  static void close(type h) { DeleteObject(h); }
};
struct ImageListTraits {
  using type = HIMAGELIST;
  static type invalid() { return nullptr; }
  static void close(type h) { ImageList_Destroy(h); }
};

using FileHandle = UniqueHandle<FileHandleTraits>;
using KernelHandle = UniqueHandle<KernelHandleTraits>;
using FindHandle = UniqueHandle<FindHandleTraits>;
using KeyHandle = UniqueHandle<KeyHandleTraits>;
using MenuHandle = UniqueHandle<MenuHandleTraits>;
using GdiHandle = UniqueHandle<GdiHandleTraits>;
using ImageListHandle = UniqueHandle<ImageListTraits>;

}  // namespace glenvask
