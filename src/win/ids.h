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
inline constexpr const wchar_t* kEditDialogClass =
    L"GlenvaskEditDialog";  // every small edit dialog

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

// Small edit dialogs: the fields and their labels, in order; OK and Cancel are IDOK and IDCANCEL.
inline constexpr int kEditDialogFieldBase = 3400;
inline constexpr int kEditDialogLabelBase = 3450;

// Detailed log.
inline constexpr int kLogHeading = 3300;
inline constexpr int kLogText = 3301;
inline constexpr int kLogStatus = 3302;
inline constexpr int kLogSave = 3303;
inline constexpr int kLogClose = 3304;

// About window and update download (7500-7999).
inline constexpr const wchar_t* kAboutClass = L"GlenvaskAbout";
inline constexpr const wchar_t* kOnlineUpdatesClass = L"GlenvaskOnlineUpdates";
inline constexpr int kAboutVersion = 7500;
inline constexpr int kAboutOK = 7501;
inline constexpr int kUpdateProgress = 7510;
inline constexpr int kUpdateStatus = 7511;
inline constexpr int kUpdateLocation = 7512;   // where the setup program was saved
inline constexpr int kUpdateCurrent = 7513;    // the progress line
inline constexpr int kUpdateTotal = 7514;      // the total size as size text
inline constexpr int kUpdateFileSize = 7515;   // the total in bytes
inline constexpr int kUpdateCopied = 7516;     // the bytes copied so far
inline constexpr int kUpdateInstall = 7517;
inline constexpr int kUpdateClose = 7518;

}  // namespace glenvask::ids
