#include "tools/refjudge.h"

#include <cwctype>
#include <vector>

#include "base/pathtext.h"
#include "win/unicode.h"

namespace glenvask {

namespace {

bool isBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

bool isPlaceholderMark(wchar_t c) {
  return (c >= L'1' && c <= L'9') || c == L'L' || c == L'l' || c == L'*';
}

// Whether every "%" of the text begins an argument placeholder.
bool onlyPlaceholders(std::wstring_view s) {
  for (size_t p = s.find(L'%'); p != std::wstring_view::npos; p = s.find(L'%', p + 2))
    if (p + 1 >= s.size() || !isPlaceholderMark(s[p + 1])) return false;
  return true;
}

// Characters no path the judge looks for may hold (the ":" of the drive aside).
bool badPathChar(wchar_t c) {
  return c < 32 || c == L'"' || c == L'*' || c == L'?' || c == L'<' || c == L'>' || c == L'|' ||
         c == L':';
}

bool looksLikeFullPath(std::wstring_view s) {
  return s.size() >= 3 && std::iswalpha(s[0]) && s[0] < 128 && s[1] == L':' &&
         (s[2] == L'\\' || s[2] == L'/');
}

std::wstring_view trimBlanks(std::wstring_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool ieq(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::towlower(a[i]) != std::towlower(b[i])) return false;
  return true;
}

// Where the first argument placeholder of a command line ("%1".."%9", "%L", "%*", alone or in
// quotes) begins, its opening quote included; npos when there is none. A placeholder counts
// only where an argument may begin: after a blank, "=" or ",".
size_t firstArgumentPlaceholder(std::wstring_view s) {
  for (size_t p = s.find(L'%'); p != std::wstring_view::npos; p = s.find(L'%', p + 1)) {
    if (p + 1 >= s.size()) break;
    if (!isPlaceholderMark(s[p + 1])) continue;
    size_t begin = p > 0 && s[p - 1] == L'"' ? p - 1 : p;
    if (begin > 0 && (isBlank(s[begin - 1]) || s[begin - 1] == L'=' || s[begin - 1] == L','))
      return begin;
  }
  return std::wstring_view::npos;
}

}  // namespace

std::optional<std::wstring> expandEnvironment(std::wstring_view text) {
  std::wstring in(text);
  if (in.find(L'%') == std::wstring::npos) return in;
  DWORD need = ExpandEnvironmentStringsW(in.c_str(), nullptr, 0);
  if (need == 0 || need > 32768) return std::nullopt;
  std::wstring out(need, L'\0');
  DWORD got = ExpandEnvironmentStringsW(in.c_str(), out.data(), need);
  if (got == 0 || got > need) return std::nullopt;
  out.resize(got - 1);
  return out;
}

ReferenceJudge::Probe ReferenceJudge::probe(const std::wstring& path) {
  DWORD attrs = GetFileAttributesW(path.c_str());
  if (attrs != INVALID_FILE_ATTRIBUTES)
    return (attrs & FILE_ATTRIBUTE_DIRECTORY) ? Probe::Folder : Probe::Exists;
  switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND: return Probe::NotFound;
    case ERROR_PATH_NOT_FOUND: return Probe::PathNotFound;
    default: return Probe::Error;
  }
}

ReferenceJudge::Probe ReferenceJudge::probeFolder(const std::wstring& path) {
  auto it = folders_.find(path);
  if (it != folders_.end()) return it->second;
  if (folders_.size() >= 4096) folders_.clear();
  Probe p = probe(path);
  folders_.emplace(path, p);
  return p;
}

bool ReferenceJudge::onFixedDrive(std::wstring_view path) {
  wchar_t letter = static_cast<wchar_t>(std::towupper(path[0]));
  if (letter < L'A' || letter > L'Z') return false;
  signed char& known = fixed_[static_cast<size_t>(letter - L'A')];
  if (known == 0) {
    wchar_t root[] = {letter, L':', L'\\', 0};
    known = GetDriveTypeW(root) == DRIVE_FIXED ? 1 : -1;
  }
  return known > 0;
}

FileReference ReferenceJudge::judgePath(std::wstring path, bool fileOnly) {
  for (auto& c : path)
    if (c == L'/') c = L'\\';
  while (path.size() > 3 && path.back() == L'\\') path.pop_back();
  // Parts cut at a blank recur ("C:\Program" of every "C:\Program Files\..."): remembered.
  Probe p = fileOnly ? probeFolder(path) : probe(path);
  if (p == Probe::Exists) return FileReference::Present;
  // A folder is what the text names only when the text is all of it.
  if (p == Probe::Folder) return fileOnly ? FileReference::Missing : FileReference::Present;
  if (p == Probe::Error) return FileReference::Unknown;
  if (p == Probe::NotFound) return FileReference::Missing;  // its folder is there
  // Some folder of the path is missing, or is a file ("C:\x.dll\2"): walk up until a part
  // of it is there.
  while (true) {
    size_t cut = path.find_last_of(L'\\');
    if (cut == std::wstring::npos || cut < 3) return FileReference::Missing;  // at "X:\"
    path.resize(cut);
    p = probeFolder(path);
    if (p == Probe::Exists) return FileReference::Present;
    if (p == Probe::Folder || p == Probe::NotFound) return FileReference::Missing;
    if (p == Probe::Error) return FileReference::Unknown;
  }
}

FileReference ReferenceJudge::judgeExpanded(std::wstring_view text) {
  text = trimBlanks(text);
  if (!text.empty() && text.front() == L'"') {
    text.remove_prefix(1);
    size_t close = text.find(L'"');
    if (close != std::wstring_view::npos) text = text.substr(0, close);
    text = trimBlanks(text);
  }
  if (!looksLikeFullPath(text) || !onFixedDrive(text)) return FileReference::Unknown;

  // Each part that ends before a blank, "," or ";", shortest first, then the whole text: a
  // lookup that fails costs a read of the folder under Wine, and "C:\x.dll,-33" or
  // "C:\x.exe /s" are found at the first part. A part cut at a blank counts only as a file:
  // "C:\Program Files (x86)\gone.dll" does not live in "C:\Program Files".
  struct Candidate {
    std::wstring_view text;
    bool fileOnly;
  };
  std::vector<Candidate> candidates;
  for (size_t i = 3; i < text.size(); ++i)
    if (text[i] == L' ' || text[i] == L',' || text[i] == L';' || text[i] == L'\t')
      candidates.push_back({trimBlanks(text.substr(0, i)), isBlank(text[i])});
  // A text whose last part holds no blank, "," or ";" is most likely a path alone: the whole
  // text is looked for first, found in one lookup when it is there.
  size_t last = text.find_last_of(L"\\/");
  bool pathAlone = text.find_first_of(L" \t,;", last) == std::wstring_view::npos;
  candidates.insert(pathAlone ? candidates.begin() : candidates.end(), {text, false});
  bool unknown = false, judged = false;
  for (auto [c, fileOnly] : candidates) {
    if (c.size() < 3 || c.size() > kMaxPathUnits) continue;
    bool usable = true;
    for (size_t i = 2; i < c.size() && usable; ++i) usable = !badPathChar(c[i]);
    if (!usable) continue;
    judged = true;
    FileReference r = judgePath(std::wstring(c), fileOnly);
    if (r == FileReference::Present) return r;
    if (r == FileReference::Unknown) unknown = true;
  }
  return judged && !unknown ? FileReference::Missing : FileReference::Unknown;
}

FileReference ReferenceJudge::judge(std::wstring_view text) {
  size_t start = 0;
  while (start < text.size() && isBlank(text[start])) ++start;
  std::wstring_view rest = text.substr(start);
  bool quoted = !rest.empty() && rest.front() == L'"';
  if (quoted) rest.remove_prefix(1);
  bool percent = text.find(L'%') != std::wstring_view::npos;
  // Most values are no path at all: tell them apart without asking the platform.
  if (!percent && !looksLikeFullPath(rest)) return FileReference::Unknown;
  if (!percent) return judgeExpanded(text);
  auto out = expandEnvironment(text);
  if (!out) return FileReference::Unknown;
  std::wstring_view expanded = *out;
  size_t cut = firstArgumentPlaceholder(expanded);
  std::wstring_view program = expanded.substr(0, cut);
  // A variable that cannot be expanded keeps its "%": such a value is not judged.
  if (program.find(L'%') != std::wstring_view::npos ||
      (cut != std::wstring_view::npos && !onlyPlaceholders(expanded.substr(cut))))
    return FileReference::Unknown;
  return judgeExpanded(program);
}

FileReference ReferenceJudge::judge(std::string_view utf8Text) { return judge(wide(utf8Text)); }

FileReference judgeFileReference(std::string_view text) {
  ReferenceJudge judge;
  return judge.judge(text);
}

bool isUnjudgedRegistryPath(HKEY root, std::wstring_view path) {
  size_t start = 0;
  bool first = true;
  while (start <= path.size()) {
    size_t end = path.find(L'\\', start);
    std::wstring_view part = path.substr(start, end == std::wstring_view::npos ? end : end - start);
    if (!part.empty()) {
      if (ieq(part, L"Wow6432Node")) return true;
      if (first && root == HKEY_LOCAL_MACHINE &&
          (ieq(part, L"SYSTEM") || ieq(part, L"SAM") || ieq(part, L"SECURITY") ||
           ieq(part, L"HARDWARE")))
        return true;
      first = false;
    }
    if (end == std::wstring_view::npos) break;
    start = end + 1;
  }
  return false;
}

}  // namespace glenvask
