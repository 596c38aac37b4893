// The one listing of a folder that every walk but the scanner's uses: the scanner keeps its own
// for speed on whole drives. The walks decide themselves what to enter; links (junctions and
// symbolic links) show with FILE_ATTRIBUTE_REPARSE_POINT and are never to be entered.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace glenvask {

struct FolderEntry {
  std::wstring name;
  DWORD attributes = 0;
  std::int64_t size = 0;  // bytes; 0 for a folder
  FILETIME lastWrite{};

  bool isFolder() const { return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
  bool isLink() const { return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0; }
};

// The entries of the folder (given with or without its final "\") whose names match the
// platform's wildcard pattern, in the platform's order, "." and ".." left out. Nothing when the
// folder cannot be listed.
std::vector<FolderEntry> listFolder(std::wstring folder, const std::wstring& pattern = L"*");

}  // namespace glenvask
