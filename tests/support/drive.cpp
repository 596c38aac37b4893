#include "support/drive.h"

#include <winioctl.h>

#include <cstring>
#include <vector>

#include "support/prefix.h"
#include "win/handle.h"

namespace glenvask::test {

namespace {

// The request of Wine's mount manager that defines a drive letter (its ddk/mountmgr.h).
struct UnixDrive {
  ULONG size;
  ULONG type;
  ULONG fsType;
  DWORD serial;
  ULONGLONG unixDev;
  WCHAR letter;
  USHORT mountPointOffset;
  USHORT deviceOffset;
  USHORT labelOffset;
};
constexpr DWORD kDefineUnixDrive =
    CTL_CODE(0x6d, 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);

}  // namespace

ScratchDrive::ScratchDrive(wchar_t letter, const std::string& folder, UINT type) : letter_(letter) {
  wchar_t root[] = {letter, L':', L'\\', 0};
  if (GetDriveTypeW(root) != DRIVE_NO_ROOT_DIR) return;  // taken: leave it alone
  std::string unix = unixPath(folder);
  if (unix.empty() || !define(unix, type)) return;
  ready_ = GetDriveTypeW(root) == type;
}

ScratchDrive::~ScratchDrive() {
  if (ready_) define("", 0);
}

bool ScratchDrive::define(const std::string& unixFolder, UINT type) {
  std::vector<char> buf(sizeof(UnixDrive) + unixFolder.size() + 1, 0);
  auto* d = reinterpret_cast<UnixDrive*>(buf.data());
  d->size = static_cast<ULONG>(buf.size());
  d->type = type;  // the mount manager's device types follow the drive types
  d->letter = static_cast<WCHAR>(towlower(letter_));
  if (!unixFolder.empty()) {
    std::memcpy(buf.data() + sizeof(UnixDrive), unixFolder.c_str(), unixFolder.size());
    d->mountPointOffset = sizeof(UnixDrive);
  }
  FileHandle mgr(CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                             nullptr));
  DWORD got = 0;
  return mgr && DeviceIoControl(mgr.get(), kDefineUnixDrive, buf.data(),
                                static_cast<DWORD>(buf.size()), nullptr, 0, &got, nullptr);
}

}  // namespace glenvask::test
