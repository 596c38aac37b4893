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
inline constexpr const wchar_t* kHelpClass = L"GlenvaskHelp";
inline constexpr const wchar_t* kZipViewClass = L"GlenvaskZipInformation";
inline constexpr const wchar_t* kOverwriteClass = L"GlenvaskOverwriteConfirmation";
inline constexpr const wchar_t* kIeCacheClass = L"GlenvaskTemporaryInternetFiles";
inline constexpr const wchar_t* kFavoritesClass = L"GlenvaskFavorites";
inline constexpr const wchar_t* kCookiesClass = L"GlenvaskCookieInformation";
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
// The header's pictures: Options, Help and the three tab pages (Main, Tools, Updates).
inline constexpr int kMainPictureOptions = 1120;
inline constexpr int kMainPictureHelp = 1121;
inline constexpr int kMainTabMain = 1122;
inline constexpr int kMainTabTools = 1123;
inline constexpr int kMainTabUpdates = 1124;
// The Tools page's pictures.
inline constexpr int kMainPictureStartup = 1125;
inline constexpr int kMainPictureUninstall = 1126;
inline constexpr int kMainPictureFileAssociations = 1127;
inline constexpr int kMainPictureRegistry = 1128;
inline constexpr int kMainPictureInternetExplorer = 1129;
inline constexpr int kMainPicturePlugins = 1130;
// The Updates page.
inline constexpr int kMainDownload = 1131;
inline constexpr int kMainInstalledVersion = 1132;
inline constexpr int kMainLatestVersion = 1133;
inline constexpr int kMainUpdatePage = 1134;
inline constexpr int kMainPages = 1135;  // the page set the header pictures switch

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

// Help window.
inline constexpr int kHelpPage = 3500;
inline constexpr int kHelpBack = 3501;
inline constexpr int kHelpForward = 3502;
inline constexpr int kHelpClose = 3503;

// Detailed log.
inline constexpr int kLogHeading = 3300;
inline constexpr int kLogText = 3301;
inline constexpr int kLogStatus = 3302;
inline constexpr int kLogSave = 3303;
inline constexpr int kLogClose = 3304;

// Backups (4500-4999): the archive list of the Backups page with its buttons, the zip contents
// viewer, and the overwrite question of a restore.
inline constexpr int kBackupList = 4500;
inline constexpr int kBackupView = 4501;
inline constexpr int kBackupDelete = 4502;
inline constexpr int kBackupRestore = 4503;
inline constexpr int kZipViewList = 4510;
inline constexpr int kZipViewStatus = 4511;
inline constexpr int kOverwriteCaption = 4520;
inline constexpr int kOverwriteIcon = 4521;
inline constexpr int kOverwriteAllFiles = 4522;
inline constexpr int kOverwriteYes = 4523;
inline constexpr int kOverwriteNo = 4524;
inline constexpr int kOverwriteCancel = 4525;

// Plug-in editor, key generator and plug-in manager (5000-5499).
inline constexpr const wchar_t* kPluginEditorClass = L"GlenvaskPluginEditor";
inline constexpr const wchar_t* kKeygenClass = L"GlenvaskKeyGenerator";
inline constexpr const wchar_t* kPluginManagerClass = L"GlenvaskPluginManager";
inline constexpr int kPluginDescription = 5000;
inline constexpr int kPluginSave = 5001;
inline constexpr int kPluginClose = 5002;
inline constexpr int kPluginTabs = 5003;
inline constexpr int kPluginFilePath = 5010;
inline constexpr int kPluginFileBrowse = 5011;
inline constexpr int kPluginFileSpec = 5012;
inline constexpr int kPluginFileRecurse = 5013;
inline constexpr int kPluginFileDeleteSubfolders = 5014;
inline constexpr int kPluginFilesAdd = 5015;
inline constexpr int kPluginDriveList = 5016;
inline constexpr int kPluginFolderList = 5017;
inline constexpr int kPluginFileList = 5018;
inline constexpr int kPluginFileAddPicked = 5019;
inline constexpr int kPluginFilesList = 5020;
inline constexpr int kPluginFileRemove = 5021;
inline constexpr int kPluginFolderPath = 5022;
inline constexpr int kPluginRootBase = 5030;  // the seven root options, in the editor's order
inline constexpr int kPluginSubkey = 5037;
inline constexpr int kPluginValue = 5038;
inline constexpr int kPluginDeleteValue = 5039;
inline constexpr int kPluginEntireSubkey = 5040;
inline constexpr int kPluginDeleteAllSubkeys = 5041;
inline constexpr int kPluginRegistryAdd = 5042;
inline constexpr int kPluginGenerateSubkeys = 5043;
inline constexpr int kPluginGenerateValues = 5044;
inline constexpr int kPluginRegistryList = 5045;
inline constexpr int kPluginRegistryRemove = 5046;
inline constexpr int kPluginIniFileName = 5050;
inline constexpr int kPluginIniBrowse = 5051;
inline constexpr int kPluginIniSections = 5052;
inline constexpr int kPluginIniValues = 5053;
inline constexpr int kPluginIniEraseSection = 5054;
inline constexpr int kPluginIniAdd = 5055;
inline constexpr int kPluginIniList = 5056;
inline constexpr int kPluginIniRemove = 5057;
inline constexpr int kKeygenKeyValue = 5100;
inline constexpr int kKeygenFrom = 5101;
inline constexpr int kKeygenTo = 5102;
inline constexpr int kKeygenPad = 5103;
inline constexpr int kKeygenPadList = 5104;
inline constexpr int kKeygenGenerate = 5105;
inline constexpr int kKeygenClose = 5106;
inline constexpr int kManagerList = 5200;
inline constexpr int kManagerStatus = 5201;
inline constexpr int kManagerClose = 5202;
inline constexpr int kCmdPluginNew = 5210;
inline constexpr int kCmdPluginAdd = 5211;
inline constexpr int kCmdPluginEdit = 5212;
inline constexpr int kCmdPluginDelete = 5213;
inline constexpr int kCmdPluginProcess = 5214;
inline constexpr int kCmdPluginClose = 5215;
inline constexpr int kCmdPluginSelectAll = 5216;
inline constexpr int kCmdPluginDeselectAll = 5217;
inline constexpr int kCmdPluginCheckAll = 5218;
inline constexpr int kCmdPluginUncheckAll = 5219;
// Temporary Internet Files (the URL cache viewer): controls, then its menu commands.
inline constexpr int kCacheList = 7000;
inline constexpr int kCachePage = 7001;  // the page view that shows an entry
inline constexpr int kCacheDisplaying = 7002;
inline constexpr int kCacheStatus = 7003;
inline constexpr int kCacheAll = 7004;  // the four filters, in this order
inline constexpr int kCacheCookies = 7005;
inline constexpr int kCacheHistory = 7006;
inline constexpr int kCacheUrl = 7007;
inline constexpr int kCacheSelectAll = 7008;
inline constexpr int kCacheDeselectAll = 7009;
inline constexpr int kCacheView = 7010;
inline constexpr int kCacheRefresh = 7011;
inline constexpr int kCacheDeleteAll = 7012;
inline constexpr int kCacheDelete = 7013;
inline constexpr int kCacheClose = 7014;
inline constexpr int kCacheFrame = 7015;
inline constexpr int kCmdCacheDeleteAll = 7050;
inline constexpr int kCmdCacheDeleteSelected = 7051;
inline constexpr int kCmdCacheSelectAll = 7052;
inline constexpr int kCmdCacheDeselectAll = 7053;

// Favorites: controls, then its menu commands.
inline constexpr int kFavoritesList = 7100;
inline constexpr int kFavoritesTotal = 7101;
inline constexpr int kFavoritesHeading = 7102;
inline constexpr int kFavoritesSelectAll = 7103;
inline constexpr int kFavoritesDeselectAll = 7104;
inline constexpr int kFavoritesDelete = 7105;
inline constexpr int kFavoritesClose = 7106;
inline constexpr int kCmdFavoritesDeleteAll = 7150;
inline constexpr int kCmdFavoritesDeleteSelected = 7151;
inline constexpr int kCmdFavoritesProperties = 7152;
inline constexpr int kCmdFavoritesSelectAll = 7153;
inline constexpr int kCmdFavoritesDeselectAll = 7154;
inline constexpr int kCmdFavoritesExit = 7155;

// Cookie information (one cookie file's records).
inline constexpr int kCookiesList = 7200;
inline constexpr int kCookiesOk = 7201;
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

inline constexpr int kHelpFilesList = 6400;
inline constexpr int kHelpFilesStatus = 6401;
inline constexpr int kHelpFilesStop = 6402;
inline constexpr int kHelpFilesDelete = 6403;
inline constexpr int kHelpFilesClose = 6404;
inline constexpr int kHelpFilesHeading = 6405;
inline constexpr int kHelpFilesDeleteFiles = 6406;
inline constexpr int kHelpFilesEdit = 6407;
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
// About window and update download (7500-7999).
inline constexpr const wchar_t* kAboutClass = L"GlenvaskAbout";
inline constexpr const wchar_t* kOnlineUpdatesClass = L"GlenvaskOnlineUpdates";
inline constexpr int kAboutVersion = 7500;
inline constexpr int kAboutOK = 7501;
inline constexpr int kUpdateProgress = 7510;
inline constexpr int kUpdateStatus = 7511;
inline constexpr int kUpdateLocation = 7512;  // where the setup program was saved
inline constexpr int kUpdateCurrent = 7513;   // the progress line
inline constexpr int kUpdateTotal = 7514;     // the total size as size text
inline constexpr int kUpdateFileSize = 7515;  // the total in bytes
inline constexpr int kUpdateCopied = 7516;    // the bytes copied so far
inline constexpr int kUpdateInstall = 7517;
inline constexpr int kUpdateClose = 7518;

}  // namespace glenvask::ids
