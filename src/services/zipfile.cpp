#include "services/zipfile.h"

#include <algorithm>

#include "win/unicode.h"

namespace glenvask {

namespace {
OVERLAPPED at(std::uint64_t offset) {
  OVERLAPPED o{};
  o.Offset = static_cast<DWORD>(offset);
  o.OffsetHigh = static_cast<DWORD>(offset >> 32);
  return o;
}
constexpr std::size_t kMaxIo = 1u << 30;
}  // namespace

bool WinZipFile::open(std::string_view path, DWORD access, DWORD share, DWORD disposition) {
  close();
  h_.reset(CreateFileW(wide(path).c_str(), access, share, nullptr, disposition,
                       FILE_ATTRIBUTE_NORMAL, nullptr));
  error_ = GetLastError();
  if (!h_) return false;
  created_ = disposition == OPEN_ALWAYS && error_ != ERROR_ALREADY_EXISTS;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(h_.get(), &size)) {
    error_ = GetLastError();
    close();
    return false;
  }
  size_ = static_cast<std::uint64_t>(size.QuadPart);
  return true;
}

bool WinZipFile::openRead(std::string_view path) {
  return open(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
              OPEN_EXISTING);
}

bool WinZipFile::openWrite(std::string_view path) {
  return open(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
              OPEN_ALWAYS);
}

void WinZipFile::close() {
  h_.reset();
  size_ = 0;
  created_ = false;
}

bool WinZipFile::readAt(std::uint64_t offset, void* buffer, std::size_t size) const {
  if (!h_ || offset > size_ || size > size_ - offset) return false;
  auto* p = static_cast<char*>(buffer);
  while (size > 0) {
    DWORD want = static_cast<DWORD>(std::min(size, kMaxIo)), got = 0;
    OVERLAPPED o = at(offset);
    if (!ReadFile(h_.get(), p, want, &got, &o) || got == 0) return false;
    p += got;
    offset += got;
    size -= got;
  }
  return true;
}

bool WinZipFile::writeAt(std::uint64_t offset, const void* data, std::size_t size) {
  if (!h_) return false;
  auto* p = static_cast<const char*>(data);
  while (size > 0) {
    DWORD want = static_cast<DWORD>(std::min(size, kMaxIo)), put = 0;
    OVERLAPPED o = at(offset);
    if (!WriteFile(h_.get(), p, want, &put, &o) || put == 0) {
      error_ = GetLastError();
      return false;
    }
    p += put;
    offset += put;
    size -= put;
    size_ = std::max(size_, offset);
  }
  return true;
}

bool WinZipFile::truncate(std::uint64_t size) {
  if (!h_) return false;
  LARGE_INTEGER pos;
  pos.QuadPart = static_cast<LONGLONG>(size);
  if (!SetFilePointerEx(h_.get(), pos, nullptr, FILE_BEGIN) || !SetEndOfFile(h_.get())) {
    error_ = GetLastError();
    return false;
  }
  size_ = size;
  return true;
}

bool WinZipFile::flush() {
  if (!h_ || !FlushFileBuffers(h_.get())) {
    error_ = GetLastError();
    return false;
  }
  return true;
}

}  // namespace glenvask
