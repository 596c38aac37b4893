// The fixed names by which another process finds and drives the program's windows: the class
// of every window, the id of every menu command, and the ids of the controls that have no
// caption to be found by. Ids are unique across the program, so a command posted to the wrong
// window does nothing. A released value never changes: tests and users' scripts rely on them.
//
// The end-to-end tests read this file (each "kName = value;" line), so keep one definition a
// line, every value written out.
#pragma once

namespace glenvask::ids {

// Window classes.
inline constexpr const wchar_t* kMainWindowClass = L"GlenvaskMainWindow";
inline constexpr const wchar_t* kReviewListClass = L"GlenvaskReviewList";
inline constexpr const wchar_t* kSummaryClass = L"GlenvaskCleanupSummary";
inline constexpr const wchar_t* kLogDetailsClass = L"GlenvaskDetailedLog";

// Main window: the thirty category check boxes are kCategoryBase + their index in the order of
// chkItems.txt (cleaner/categories.h).
inline constexpr int kCategoryBase = 1000;
inline constexpr int kMainConfirmBox = 1100;  // "Don't ask me for file deletion confirmation"
inline constexpr int kMainHiddenCheck1 = 1101;
inline constexpr int kMainStatus = 1102;
inline constexpr int kMainProgress = 1103;
inline constexpr int kMainCleanDate = 1104;
inline constexpr int kMainVersion = 1105;
inline constexpr int kMainTip = 1106;
inline constexpr int kMainTipTitle = 1107;
inline constexpr int kMainClean = 1108;
inline constexpr int kMainStop = 1109;
inline constexpr int kMainExit = 1110;
inline constexpr int kMainCaptionFoldersFiles = 1111;  // the four group captions, in this order
inline constexpr int kMainCaptionMisc = 1112;
inline constexpr int kMainCaptionInternet = 1113;
inline constexpr int kMainCaptionFirefox = 1114;
inline constexpr int kMainMarkBase = 1200;  // the five hidden section marks

// Main window menu commands.
inline constexpr int kCmdClean = 2000;
inline constexpr int kCmdOptions = 2001;
inline constexpr int kCmdPowerOff = 2002;
inline constexpr int kCmdRestart = 2003;
inline constexpr int kCmdLogOff = 2004;
inline constexpr int kCmdShutdown = 2005;
inline constexpr int kCmdForceShutdown = 2006;
inline constexpr int kCmdExit = 2007;
inline constexpr int kCmdProcessPlugins = 2008;
inline constexpr int kCmdManagePlugins = 2009;
inline constexpr int kCmdStartupPrograms = 2010;
inline constexpr int kCmdUninstall = 2011;
inline constexpr int kCmdFileAssociations = 2012;
inline constexpr int kCmdOrphanedDlls = 2013;
inline constexpr int kCmdOrphanedFilePaths = 2014;
inline constexpr int kCmdOrphanedHelpFiles = 2015;
inline constexpr int kCmdOrphanedAppPaths = 2016;
inline constexpr int kCmdOrphanedActiveX = 2017;
inline constexpr int kCmdIeFavorites = 2018;
inline constexpr int kCmdIeCache = 2019;
inline constexpr int kCmdInternetOptions = 2020;
inline constexpr int kCmdHelpContents = 2021;
inline constexpr int kCmdAbout = 2022;

// Review list: controls, then its menu commands.
inline constexpr int kReviewList = 3000;
inline constexpr int kReviewTotal = 3001;
inline constexpr int kReviewRedNote = 3002;
inline constexpr int kReviewTitle = 3003;
inline constexpr int kReviewDelete = 3004;
inline constexpr int kReviewSelectAll = 3005;
inline constexpr int kReviewDeselectAll = 3006;
inline constexpr int kReviewClose = 3007;
inline constexpr int kCmdReviewDeleteAll = 3100;
inline constexpr int kCmdReviewDeleteSelected = 3101;
inline constexpr int kCmdReviewProperties = 3102;
inline constexpr int kCmdReviewSelectAll = 3103;
inline constexpr int kCmdReviewDeselectAll = 3104;
inline constexpr int kCmdReviewAbort = 3105;
inline constexpr int kCmdReviewExit = 3106;

// Cleanup summary.
inline constexpr int kSummaryHeading = 3200;
inline constexpr int kSummaryFiles = 3201;  // files deleted
inline constexpr int kSummarySpace = 3202;  // space gained
inline constexpr int kSummaryViewDetails = 3204;
inline constexpr int kSummaryClose = 3205;
inline constexpr int kSummaryExit = 3206;
inline constexpr int kSummaryStateBase = 3210;  // the five section states ("Cleaned"...)

// Detailed log.
inline constexpr int kLogHeading = 3300;
inline constexpr int kLogText = 3301;
inline constexpr int kLogStatus = 3302;
inline constexpr int kLogSave = 3303;
inline constexpr int kLogClose = 3304;

// System and registry tools (startup programs, uninstall entries, the reference scanners, file
// associations) and their edit dialogs: classes, then each window's controls.
inline constexpr const wchar_t* kStartupClass = L"GlenvaskStartupPrograms";
inline constexpr const wchar_t* kUninstallClass = L"GlenvaskUninstallPrograms";
inline constexpr const wchar_t* kEditUninstallClass = L"GlenvaskEditUninstall";
inline constexpr const wchar_t* kOrphanedDllClass = L"GlenvaskOrphanedDlls";
inline constexpr const wchar_t* kInvalidFileClass = L"GlenvaskInvalidFileReferences";
inline constexpr const wchar_t* kInvalidAppPathClass = L"GlenvaskInvalidAppPaths";
inline constexpr const wchar_t* kEditAppPathClass = L"GlenvaskEditAppPath";
inline constexpr const wchar_t* kInvalidHelpClass = L"GlenvaskInvalidHelpFiles";
inline constexpr const wchar_t* kEditHelpClass = L"GlenvaskEditHelpPath";
inline constexpr const wchar_t* kInvalidActiveXClass = L"GlenvaskInvalidActiveX";
inline constexpr const wchar_t* kFileAssocClass = L"GlenvaskFileAssociations";
inline constexpr const wchar_t* kEditFileAssocClass = L"GlenvaskEditFileAssociation";

// Startup programs.
inline constexpr int kStartupList = 6000;
inline constexpr int kStartupStatus = 6001;
inline constexpr int kStartupDelete = 6002;
inline constexpr int kStartupClose = 6003;
inline constexpr int kStartupHeading = 6004;

// Uninstall programs and the edit of an uninstall command.
inline constexpr int kUninstallList = 6020;
inline constexpr int kUninstallStatus = 6021;
inline constexpr int kUninstallStart = 6022;
inline constexpr int kUninstallEdit = 6023;
inline constexpr int kUninstallDelete = 6024;
inline constexpr int kUninstallClose = 6025;
inline constexpr int kUninstallHeading = 6026;
inline constexpr int kEditUninstallName = 6040;
inline constexpr int kEditUninstallText = 6041;
inline constexpr int kEditUninstallSave = 6042;
inline constexpr int kEditUninstallClose = 6043;

// The reference scanners share one layout; each has its block: list, status, Stop, Delete,
// Close, heading, the box that deletes the file too, Edit, progress.
inline constexpr int kDllList = 6100;
inline constexpr int kDllStatus = 6101;
inline constexpr int kDllStop = 6102;
inline constexpr int kDllDelete = 6103;
inline constexpr int kDllClose = 6104;
inline constexpr int kDllHeading = 6105;
inline constexpr int kDllDeleteFiles = 6106;
inline constexpr int kDllProgress = 6108;

inline constexpr int kInvalidFileList = 6200;
inline constexpr int kInvalidFileStatus = 6201;
inline constexpr int kInvalidFileStop = 6202;
inline constexpr int kInvalidFileDelete = 6203;
inline constexpr int kInvalidFileClose = 6204;
inline constexpr int kInvalidFileHeading = 6205;
inline constexpr int kInvalidFileKey = 6210;
inline constexpr int kInvalidFileValue = 6211;
inline constexpr int kInvalidFilePath = 6212;

inline constexpr int kAppPathList = 6300;
inline constexpr int kAppPathStatus = 6301;
inline constexpr int kAppPathStop = 6302;
inline constexpr int kAppPathDelete = 6303;
inline constexpr int kAppPathClose = 6304;
inline constexpr int kAppPathHeading = 6305;
inline constexpr int kAppPathDeleteFiles = 6306;
inline constexpr int kAppPathEdit = 6307;
inline constexpr int kEditAppPathName = 6340;
inline constexpr int kEditAppPathText = 6341;
inline constexpr int kEditAppPathBrowse = 6342;
inline constexpr int kEditAppPathSave = 6343;
inline constexpr int kEditAppPathClose = 6344;

inline constexpr int kHelpList = 6400;
inline constexpr int kHelpStatus = 6401;
inline constexpr int kHelpStop = 6402;
inline constexpr int kHelpDelete = 6403;
inline constexpr int kHelpClose = 6404;
inline constexpr int kHelpHeading = 6405;
inline constexpr int kHelpDeleteFiles = 6406;
inline constexpr int kHelpEdit = 6407;
inline constexpr int kEditHelpName = 6440;
inline constexpr int kEditHelpText = 6441;
inline constexpr int kEditHelpBrowse = 6442;
inline constexpr int kEditHelpSave = 6443;
inline constexpr int kEditHelpClose = 6444;

inline constexpr int kActiveXList = 6500;
inline constexpr int kActiveXStatus = 6501;
inline constexpr int kActiveXStop = 6502;
inline constexpr int kActiveXDelete = 6503;
inline constexpr int kActiveXClose = 6504;
inline constexpr int kActiveXHeading = 6505;

// File associations and the edit of an open command.
inline constexpr int kFileAssocList = 6600;
inline constexpr int kFileAssocStatus = 6601;
inline constexpr int kFileAssocEdit = 6602;
inline constexpr int kFileAssocDelete = 6603;
inline constexpr int kFileAssocClose = 6604;
inline constexpr int kFileAssocHeading = 6605;
inline constexpr int kEditFileAssocExtension = 6640;
inline constexpr int kEditFileAssocDescription = 6641;
inline constexpr int kEditFileAssocText = 6642;
inline constexpr int kEditFileAssocSave = 6643;
inline constexpr int kEditFileAssocClose = 6644;

}  // namespace glenvask::ids
