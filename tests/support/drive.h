// A drive letter of the prefix for one test: a folder shown as a drive of the type asked
// for (a CD-ROM, a removable disk), defined through Wine's mount manager as its
// configuration tool does, and removed at the end.
#pragma once

#include <windows.h>

#include <string>

namespace glenvask::test {

class ScratchDrive {
 public:
  // type: DRIVE_CDROM, DRIVE_REMOVABLE, DRIVE_FIXED...; the letter must be free.
  ScratchDrive(wchar_t letter, const std::string& folder, UINT type);
  ~ScratchDrive();
  ScratchDrive(const ScratchDrive&) = delete;
  ScratchDrive& operator=(const ScratchDrive&) = delete;
  // "Q:\" when the drive is there with the type asked for.
  bool ready() const { return ready_; }
  std::string root() const { return std::string(1, static_cast<char>(letter_)) + ":\\"; }

 private:
  bool define(const std::string& unixFolder, UINT type);
  wchar_t letter_;
  bool ready_ = false;
};

}  // namespace glenvask::test
