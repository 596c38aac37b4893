#include "services/folderlist.h"

#include "win/handle.h"

namespace glenvask {

std::vector<FolderEntry> listFolder(std::wstring folder, const std::wstring& pattern) {
  std::vector<FolderEntry> entries;
  if (folder.empty() || folder.back() != L'\\') folder += L'\\';
  WIN32_FIND_DATAW fd;
  FindHandle h(FindFirstFileExW((folder + pattern).c_str(), FindExInfoBasic, &fd,
                                FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
  if (!h) return entries;
  do {
    const wchar_t* n = fd.cFileName;
    if (n[0] == 0 || (n[0] == L'.' && (n[1] == 0 || (n[1] == L'.' && n[2] == 0)))) continue;
    std::int64_t size =
        (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            ? 0
            : static_cast<std::int64_t>((static_cast<std::uint64_t>(fd.nFileSizeHigh) << 32) |
                                        fd.nFileSizeLow);
    entries.push_back({n, fd.dwFileAttributes, size, fd.ftLastWriteTime});
  } while (FindNextFileW(h.get(), &fd));
  return entries;
}

}  // namespace glenvask
