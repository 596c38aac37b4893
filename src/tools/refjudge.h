// The one judge of "does this text name a missing file", shared by the reference scanners.
// A false "missing" deletes what a service, a file type or an installed program needs, so
// the judge says Missing only when it is sure, and Unknown whenever it cannot tell:
//
// - Environment variables are expanded; a variable that cannot be expanded gives Unknown.
//   Argument placeholders ("%1".."%9", "%L", "%*", also in quotes) are arguments: the program
//   before them is judged ("C:\x.exe %1", "\"C:\x.exe\" \"%1\"").
// - A text in double quotes is judged by its quoted part.
// - The text is Present when it exists, when a part of it that ends before "," or ";" exists
//   ("C:\x.dll,-33", "C:\dir;"), when a part that ends before a blank is an existing file
//   ("C:\x.exe /s"; never a folder: "C:\Program Files (x86)\x.dll" is not in "C:\Program
//   Files"), or when an existing file is a part of its path ("C:\x.dll\2", a type library's
//   resource index).
// - Only a full path on a fixed drive that is there can be Missing: a relative name
//   ("shell32.dll") is never looked for in the current folder, and a CD-ROM, a removable or
//   network drive or an absent drive letter gives Unknown.
// - Over-long paths, wildcards and other characters no file name holds give Unknown, and so
//   does any answer of the file system but "not found" (access denied, not ready).
#pragma once

#include <windows.h>

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace glenvask {

enum class FileReference { Unknown, Present, Missing };

class ReferenceJudge {
 public:
  FileReference judge(std::wstring_view text);
  FileReference judge(std::string_view utf8Text);

 private:
  enum class Probe { Exists, Folder, NotFound, PathNotFound, Error };
  Probe probe(const std::wstring& path);
  bool onFixedDrive(std::wstring_view path);
  FileReference judgeExpanded(std::wstring_view text);
  // One candidate path: Present, Missing, or Unknown when the platform could not tell. With
  // fileOnly, a folder of that path counts as Missing.
  FileReference judgePath(std::wstring path, bool fileOnly);

  // The folders met while walking up from a missing path, and the parts cut at a blank: many
  // values name files of one missing folder or share a part, and each failed lookup reads a
  // folder.
  Probe probeFolder(const std::wstring& path);

  std::array<signed char, 26> fixed_{};  // per drive letter: 0 not asked yet, 1 fixed, -1 not
  std::unordered_map<std::wstring, Probe> folders_;
};

// The text with its environment variables expanded; nothing when the expansion fails. A
// variable that is not defined stays as it was written.
std::optional<std::wstring> expandEnvironment(std::wstring_view text);

// One judgement with a judge of its own.
FileReference judgeFileReference(std::string_view text);

// Whether the values below this key of the root are never judged: under the local machine,
// the SYSTEM, SAM, SECURITY and HARDWARE keys; under any root, the 32-bit view's subtrees
// (Wow6432Node). The path is below the root, key names joined by "\".
bool isUnjudgedRegistryPath(HKEY root, std::wstring_view path);

}  // namespace glenvask
