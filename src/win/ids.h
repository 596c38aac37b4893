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
inline constexpr const wchar_t* kOptionsClass = L"GlenvaskOptions";

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

// Options window: the page strip and the buttons below it, then each page's controls.
inline constexpr int kOptionsTabs = 4000;
inline constexpr int kOptionsAccept = 4001;
inline constexpr int kOptionsCancel = 4002;
inline constexpr int kOptionsHelp = 4003;
// General.
inline constexpr int kOptStartWithWindows = 4010;
inline constexpr int kOptCleanStartup = 4011;
inline constexpr int kOptAutoClean = 4012;
inline constexpr int kOptAutoCleanDuration = 4013;
inline constexpr int kOptAutoCleanUnit = 4014;
inline constexpr int kOptRecycleBin = 4015;
inline constexpr int kOptDelete = 4016;
inline constexpr int kOptWipe = 4017;
inline constexpr int kOptZip = 4018;
inline constexpr int kOptExtraSecurity = 4019;
inline constexpr int kOptRename = 4020;
inline constexpr int kOptGeneralBackup = 4021;
inline constexpr int kOptBrowseBackup = 4022;
inline constexpr int kOptProtectEmpty = 4023;
inline constexpr int kOptProtectDead = 4024;
inline constexpr int kOptTipBox = 4025;
// Search.
inline constexpr int kOptSearchDrives = 4040;
inline constexpr int kOptSearchFileReference = 4041;
inline constexpr int kOptSearchPathReference = 4042;
inline constexpr int kOptSearchDateReference = 4043;
inline constexpr int kOptSearchFirstDate = 4044;
inline constexpr int kOptSearchSecondDate = 4045;
inline constexpr int kOptSearchSize = 4046;
inline constexpr int kOptSearchSizeEquals = 4047;
inline constexpr int kOptSearchSizeAtLeast = 4048;
inline constexpr int kOptSearchSizeAtMost = 4049;
inline constexpr int kOptSearchSizeText = 4050;
inline constexpr int kOptSearchReadOnly = 4051;
inline constexpr int kOptSearchHidden = 4052;
inline constexpr int kOptSearchSystem = 4053;
// Ignore folders.
inline constexpr int kOptIgnoreFolders = 4070;
inline constexpr int kOptIgnoreFolderText = 4071;
inline constexpr int kOptIgnoreFolderAdd = 4072;
inline constexpr int kOptIgnoreFolderRemove = 4073;
inline constexpr int kOptIgnoreFolderBrowse = 4074;
inline constexpr int kOptIgnoreFolderExplore = 4075;
// Ignore files: names, then extensions.
inline constexpr int kOptIgnoreNames = 4090;
inline constexpr int kOptIgnoreNameAdd = 4091;
inline constexpr int kOptIgnoreNameRemove = 4092;
inline constexpr int kOptIgnoreNameDefaults = 4093;
inline constexpr int kOptIgnoreExtensions = 4094;
inline constexpr int kOptIgnoreExtensionText = 4095;
inline constexpr int kOptIgnoreExtensionAdd = 4096;
inline constexpr int kOptIgnoreExtensionRemove = 4097;
inline constexpr int kOptIgnoreExtensionDefaults = 4098;
// Unnecessary files.
inline constexpr int kOptUnnecessaryList = 4110;
inline constexpr int kOptUnnecessaryType = 4111;
inline constexpr int kOptUnnecessaryDescription = 4112;
inline constexpr int kOptUnnecessaryAdd = 4113;
inline constexpr int kOptUnnecessaryRemove = 4114;
inline constexpr int kOptUnnecessaryBrowse = 4115;
inline constexpr int kOptUnnecessaryDefaults = 4116;
// User-defined folders.
inline constexpr int kOptUserFolders = 4130;
inline constexpr int kOptUserFolderText = 4131;
inline constexpr int kOptUserFolderAdd = 4132;
inline constexpr int kOptUserFolderRemove = 4133;
inline constexpr int kOptUserFolderBrowse = 4134;
inline constexpr int kOptUserFolderExplore = 4135;
inline constexpr int kOptUserFolderDefaults = 4136;
// User-defined files.
inline constexpr int kOptUserFiles = 4150;
inline constexpr int kOptUserFileText = 4151;
inline constexpr int kOptUserFileAdd = 4152;
inline constexpr int kOptUserFileRemove = 4153;
inline constexpr int kOptUserFileBrowse = 4154;
// Cookies.
inline constexpr int kOptCookieFolder = 4170;
inline constexpr int kOptCurrentCookies = 4171;
inline constexpr int kOptKeepCookies = 4172;
inline constexpr int kOptCookieAdd = 4173;
inline constexpr int kOptCookieRemove = 4174;
inline constexpr int kOptCookieClear = 4175;
inline constexpr int kOptCookieRefresh = 4176;
inline constexpr int kOptCookieView = 4177;
inline constexpr int kOptCookieDelete = 4178;
// Backups: the folder and the restore rule (the archive list has ids of its own).
inline constexpr int kOptBackupFolder = 4200;
inline constexpr int kOptBackupBrowse = 4201;
inline constexpr int kOptBackupAlways = 4202;
inline constexpr int kOptBackupNewer = 4203;
inline constexpr int kOptBackupPrompt = 4204;
inline constexpr int kOptBackupNever = 4205;

}  // namespace glenvask::ids
