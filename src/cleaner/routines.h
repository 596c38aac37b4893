// The thirty category routines, one per check box. The run calls them from its table in the
// cleaning order (cleaner/run.cpp); a single-category run calls one. Each opens its step in the
// main window's frame (beginStep or startOperation), does its work inside the window's error
// trap, writes its log line and ends with stopOperation(""). The three drive scans also take
// whether they run alone, which decides how their finds are reviewed.
#pragma once

namespace glenvask {

class MainWindow;

// Folders and files.
void CleanRecycleBin(MainWindow& w);
void CleanActiveSetupTemp(MainWindow& w);
void CleanIndexer(MainWindow& w);
void CleanUserFolders(MainWindow& w);
void CleanUserFiles(MainWindow& w);
void CleanUnnecessaryFiles(MainWindow& w, bool single);
void CleanRecentDocs(MainWindow& w);
void CleanPrinter(MainWindow& w);
void CleanMemDump(MainWindow& w);
void CleanTempFiles(MainWindow& w);
void CleanEmptyFiles(MainWindow& w, bool single);
void CleanShortcuts(MainWindow& w, bool single);
// Miscellaneous.
void CleanPlugins(MainWindow& w);
void CleanOfficeHistory(MainWindow& w);
void CleanClipboard(MainWindow& w);
void CleanRunMRU(MainWindow& w);
void CleanInstallMRU(MainWindow& w);
void CleanFindHistory(MainWindow& w);
// Internet Explorer.
void CleanCache(MainWindow& w);
void CleanCookies(MainWindow& w);
void CleanTypedURL(MainWindow& w);
void CleanOffline(MainWindow& w);
void CleanHistory(MainWindow& w);
void CleanActiveX(MainWindow& w);
// Firefox.
void CleanMozillaCache(MainWindow& w);
void CleanMozillaCookies(MainWindow& w);
void CleanMozillaForms(MainWindow& w);
void CleanMozillaPasswords(MainWindow& w);
void CleanMozillaHistory(MainWindow& w);
void CleanMozillaDownloads(MainWindow& w);

}  // namespace glenvask
