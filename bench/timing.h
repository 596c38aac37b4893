// What the benchmarks share: elapsed seconds, the median of rounds measured in turns, and the
// removal of their scratch trees.
#pragma once

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

namespace glenvask::bench {

inline double seconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

inline double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0.0 : v[v.size() / 2];
}

// Removes everything below the folder, then the folder itself unless keepFolder. A link to a
// folder is removed, never entered.
inline void removeTree(const std::wstring& folder, bool keepFolder = false) {
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((folder + L"\\*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = fd.cFileName;
      if (name == L"." || name == L"..") continue;
      std::wstring full = folder + L"\\" + name;
      if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        DeleteFileW(full.c_str());
      else if (fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
        RemoveDirectoryW(full.c_str());
      else
        removeTree(full);
    } while (FindNextFileW(h, &fd));
    FindClose(h);
  }
  if (!keepFolder) RemoveDirectoryW(folder.c_str());
}

}  // namespace glenvask::bench
