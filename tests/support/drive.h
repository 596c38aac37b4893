// A drive letter of the prefix for one test: a folder shown as a drive of the type asked
// for (a CD-ROM, a removable disk), defined through Wine's mount manager as its
// configuration tool does, and removed at the end.
#pragma once

#include <windows.h>
#include <winioctl.h>

#include <cstring>
#include <string>
#include <vector>

#include "support/scripted.h"

namespace glenvask::test {

class ScratchDrive {
 public:
  // type: DRIVE_CDROM, DRIVE_REMOVABLE, DRIVE_FIXED...; the letter must be free.
  ScratchDrive(wchar_t letter, const std::string& folder, UINT type) : letter_(letter) {
    std::wstring root = wide(this->root());
    if (GetDriveTypeW(root.c_str()) != DRIVE_NO_ROOT_DIR) return;  // taken: leave it alone
    std::string unix = unixPath(folder);
    ready_ = !unix.empty() && define(unix, type) && GetDriveTypeW(root.c_str()) == type;
  }
  ~ScratchDrive() {
    if (ready_) define("", 0);
  }
  ScratchDrive(const ScratchDrive&) = delete;
  // "Q:\" when the drive is there with the type asked for.
  bool ready() const { return ready_; }
  std::string root() const { return std::string(1, static_cast<char>(letter_)) + ":\\"; }

 private:
  // The request of Wine's mount manager that defines a drive letter (its ddk/mountmgr.h).
  struct UnixDrive {
    ULONG size, type, fsType;
    DWORD serial;
    ULONGLONG unixDev;
    WCHAR letter;
    USHORT mountPointOffset, deviceOffset, labelOffset;
  };
  bool define(const std::string& unixFolder, UINT type) {
    std::vector<char> buf(sizeof(UnixDrive) + unixFolder.size() + 1, 0);
    // The mount manager's device types follow the drive types; no mount point removes it.
    UnixDrive d{.size = static_cast<ULONG>(buf.size()),
                .type = type,
                .letter = static_cast<WCHAR>(towlower(letter_)),
                .mountPointOffset = unixFolder.empty() ? USHORT(0) : USHORT(sizeof(UnixDrive))};
    std::memcpy(buf.data(), &d, sizeof d);
    std::memcpy(buf.data() + sizeof d, unixFolder.data(), unixFolder.size());
    FileHandle mgr(CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                               nullptr));
    DWORD got = 0;
    return mgr &&
           DeviceIoControl(
               mgr.get(), CTL_CODE(0x6d, 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS),
               buf.data(), static_cast<DWORD>(buf.size()), nullptr, 0, &got, nullptr);
  }
  wchar_t letter_;
  bool ready_ = false;
};

}  // namespace glenvask::test
