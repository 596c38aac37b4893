// A file of the disk as a zip archive: what the backup writer writes to and what the backup
// list, the viewer and the restore read from.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "base/zip.h"
#include "win/handle.h"

namespace glenvask {

class WinZipFile : public ZipFile {
 public:
  // For reading, beside a writer that may have the archive open.
  bool openRead(std::string_view path);
  // For reading and writing, made when missing (its folder is not). Others may read it
  // meanwhile. created() says whether this call made it.
  bool openWrite(std::string_view path);
  void close();
  bool isOpen() const { return static_cast<bool>(h_); }
  bool created() const { return created_; }
  DWORD lastError() const { return error_; }

  std::uint64_t size() const override { return size_; }
  bool readAt(std::uint64_t offset, void* buffer, std::size_t size) const override;
  bool writeAt(std::uint64_t offset, const void* data, std::size_t size) override;
  bool truncate(std::uint64_t size) override;
  bool flush() override;

 private:
  bool open(std::string_view path, DWORD access, DWORD share, DWORD disposition);

  FileHandle h_;
  std::uint64_t size_ = 0;
  bool created_ = false;
  DWORD error_ = 0;
};

}  // namespace glenvask
