// The thirty cleaning categories of the main window: their check boxes, captions, groups,
// the order in which chkItems.txt keeps them, and the right-click menu's texts.
#pragma once

#include <array>
#include <cstddef>

namespace glenvask {

enum class Group { FoldersAndFiles, Miscellaneous, InternetExplorer, Firefox };
enum class Mark { FoFi, Misc, IE, FF, PLG };

struct Category {
  const char* box;          // the check box's name
  const char* caption;
  Group group;
  int row, column;          // place in its group, from 1
  const char* menuCaption;  // the right-click menu item
  const char* tag;          // names the routine a single-category run calls
  Mark mark;                // the section mark a single-category run sets
  bool inGroupToggle;       // toggled by its group's caption
};

inline constexpr std::size_t kCategoryCount = 30;

// In the order of chkItems.txt.
inline constexpr std::array<Category, kCategoryCount> kCategories{{
    {"chkRecycleBin", "Recycle bin", Group::FoldersAndFiles, 1, 1, "Clean Recycle Bin", "CleanRecycleBin", Mark::FoFi, true},
    {"chkUserDefinedFolders", "User-defined folders", Group::FoldersAndFiles, 4, 1, "Clean User-defined folders", "CleanUserFolders", Mark::FoFi, true},
    {"chkActiveSetup", "Active setup temp folders", Group::FoldersAndFiles, 2, 1, "Clean Active setup temporary folders", "ActiveSetupClean", Mark::FoFi, true},
    {"chkIndexer", "Content indexer folder", Group::FoldersAndFiles, 3, 1, "Clean Content indexer folder", "CleanIndexer", Mark::FoFi, true},
    {"chkRunMRU", "Windows run history", Group::Miscellaneous, 2, 2, "Clean Windows run history", "CleanRunMRU", Mark::Misc, true},
    {"chkUserDefinedFiles", "User-defined files", Group::FoldersAndFiles, 1, 2, "Clean User-defined files", "CleanUserFiles", Mark::FoFi, true},
    {"chkUnNecessaryFiles", "Unnecessary files", Group::FoldersAndFiles, 2, 2, "Clean Unnecessary files", "CleanUnnecessaryFiles", Mark::FoFi, true},
    {"chkEmptyFiles", "Empty (zero-byte) files", Group::FoldersAndFiles, 3, 3, "Clean Empty (zero-byte) files", "CleanEmptyFiles", Mark::FoFi, false},
    {"chkDeadShortcut", "Dead (shortcut) links", Group::FoldersAndFiles, 4, 3, "Clean Dead (shortcut) links", "CleanShortcuts", Mark::FoFi, false},
    {"chkRecentDocument", "Recent documents", Group::FoldersAndFiles, 3, 2, "Clean Recent documents", "CleanRecentDocs", Mark::FoFi, true},
    {"chkPrinter", "Residual printer files", Group::FoldersAndFiles, 4, 2, "Clean Residual printer files", "CleanPrinter", Mark::FoFi, true},
    {"chkDump", "Memory dump files", Group::FoldersAndFiles, 1, 3, "Clean Memory dump files", "CleanMemDump", Mark::FoFi, true},
    {"chkHistory", "History", Group::InternetExplorer, 1, 3, "Clean History", "CleanHistory", Mark::IE, true},
    {"chkCache", "Temporary Internet files", Group::InternetExplorer, 1, 1, "Clean Temporary Internet Files (Cache)", "CleanCache", Mark::IE, true},
    {"chkCookies", "Cookies", Group::InternetExplorer, 2, 1, "Clean Cookies", "CleanCookies", Mark::IE, true},
    {"chkURLHistory", "Typed URLs", Group::InternetExplorer, 1, 2, "Clean Typed URLs", "CleanTypedURL", Mark::IE, true},
    {"chkActiveX", "Downloaded ActiveX && OCX", Group::InternetExplorer, 2, 3, "Clean Downloaded ActiveX && OCX", "CleanActiveX", Mark::IE, true},
    {"chkOffline", "Offline web pages", Group::InternetExplorer, 2, 2, "Clean Offline web pages", "CleanOffline", Mark::IE, true},
    {"chkClipBoard", "Windows clipboard", Group::Miscellaneous, 1, 2, "Clean Windows clipboard", "CleanClipboard", Mark::Misc, true},
    {"chkOffice", "MS Office history", Group::Miscellaneous, 2, 1, "Clean MS Office history", "CleanOfficeHistory", Mark::Misc, true},
    {"chkPlugins", "Plugins", Group::Miscellaneous, 1, 1, "Clean Plugins", "CleanPlugins", Mark::PLG, true},
    {"chkTemp", "Temporary files", Group::FoldersAndFiles, 2, 3, "Clean Temporary files", "CleanTempFiles", Mark::FoFi, true},
    {"chkFindHistory", "Windows find history", Group::Miscellaneous, 2, 3, "Clean Windows find history", "CleanFindHistory", Mark::Misc, true},
    {"chkInstallFrom", "Install from history", Group::Miscellaneous, 1, 3, "Clean Install from history", "CleanInstallMRU", Mark::Misc, true},
    {"chkCleanMozillaDownloads", "Download manager history", Group::Firefox, 2, 3, "Clean Download manager history", "CleanMozillaDownloads", Mark::FF, true},
    {"chkCleanMozillaCache", "Cache", Group::Firefox, 1, 1, "Clean Cache", "CleanMozillaCache", Mark::FF, true},
    {"chkCleanMozillaPasswords", "Saved passwords", Group::Firefox, 2, 2, "Clean Saved passwords", "CleanMozillaPasswords", Mark::FF, true},
    {"chkCleanMozillaForms", "Saved form information", Group::Firefox, 1, 2, "Clean Saved form information", "CleanMozillaForms", Mark::FF, true},
    {"chkCleanMozillaCookies", "Cookies", Group::Firefox, 2, 1, "Clean Cookies", "CleanMozillaCookies", Mark::FF, true},
    {"chkCleanMozillaHistory", "History", Group::Firefox, 1, 3, "Clean History", "CleanMozillaHistory", Mark::FF, true},
}};

// The index in kCategories of a check box, or kCategoryCount when there is none.
constexpr std::size_t categoryIndex(const char* box) {
  for (std::size_t i = 0; i < kCategoryCount; ++i) {
    const char* a = kCategories[i].box;
    const char* b = box;
    while (*a && *a == *b) ++a, ++b;
    if (*a == *b) return i;
  }
  return kCategoryCount;
}

}  // namespace glenvask
