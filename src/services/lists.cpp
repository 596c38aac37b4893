#include "services/lists.h"

#include <optional>

#include "base/lists.h"
#include "services/paths.h"
#include "services/settings.h"
#include "win/regional.h"
#include "win/unicode.h"

namespace glenvask {

namespace {

// The text of a file beside the executable; nothing when it is missing or unreadable.
std::optional<std::string> readAppFile(const char* name) {
  std::string path = appFile(name);
  if (!fileExists(path)) return std::nullopt;
  auto bytes = readFileBytes(path);
  if (!bytes) return std::nullopt;
  return fromFileText(*bytes);
}

// The user's copy, else the default copy.
std::optional<std::string> readWithDefault(const char* name, const char* defaultName) {
  if (fileExists(appFile(name))) return readAppFile(name);
  return readAppFile(defaultName);
}

}  // namespace

void LoadSearchOptions() {
  // A missing srch.txt gives the defaults; a damaged line keeps what its options were.
  SearchOptions o{};
  if (fileExists(appFile(kSearchOptionsFile))) {
    o = searchOptions;
    if (auto text = readAppFile(kSearchOptionsFile))
      applySearchOptions(*text, o, userRegionalFormat());
  }
  searchOptions = o;
}

void LoadIFIList() {
  arrIgnoreFiles.clear();
  if (auto text = readWithDefault(kIgnoreFilesFile, kDefIgnoreFilesFile))
    arrIgnoreFiles = parseListFile(*text);
}

void LoadIEList() {
  arrIgnoreExt.clear();
  if (auto text = readAppFile(kIgnoreExtFile)) arrIgnoreExt = parseListFile(*text);
}

void LoadUDIFOList() {
  arrIgnoreFolders.clear();
  if (auto text = readAppFile(kIgnoreFoldersFile)) arrIgnoreFolders = parseListFile(*text);
}

void LoadUNFIList() {
  arrUnnecessary.clear();
  if (auto text = readWithDefault(kUnnecessaryFile, kDefUnnecessaryFile))
    arrUnnecessary = unnecessaryPatterns(*text);
}

void LoadScanLists() {
  LoadIFIList();
  LoadUDIFOList();
  LoadIEList();
  LoadUNFIList();
  LoadSearchOptions();
}

std::vector<std::string> SearchDrives(bool* srchExists) {
  std::vector<std::string> roots;
  bool exists = fileExists(appFile(kSearchOptionsFile));
  if (srchExists) *srchExists = exists;
  if (!exists) return roots;
  auto text = readAppFile(kSearchOptionsFile);
  if (!text) return roots;
  auto lines = splitLines(*text);
  if (lines.empty()) return roots;
  for (char letter : srchDriveLetters(lines[0])) roots.push_back(std::string(1, letter) + ":\\");
  return roots;
}

}  // namespace glenvask
