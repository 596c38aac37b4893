// The update download: fetches the setup program from the update server into the user's
// local Temp folder with its progress, then Install closes the program and starts the setup.
//
// The download is written to a temporary file of its own, made new, and takes the setup
// program's name only when it is complete: every byte the server announced (a length above 0)
// has arrived with status 200, and the file begins as an executable does. Anything else (an
// HTTP error, a missing length, a body cut short, silence past the timeout, Cancel) leaves no
// file behind and Install disabled. The window stays live throughout.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "review/framed.h"
#include "help/update.h"
#include "win/controls.h"
#include "win/handle.h"
#include "win/ids.h"
#include "win/seams.h"

namespace glenvask {

// The largest setup program that is fetched; a longer announcement is refused.
inline constexpr std::int64_t kMaxSetupBytes = std::int64_t{1} << 30;

inline constexpr const char* kDownloadingText = "Downloading Update...";
inline constexpr const char* kDownloadDoneText = "Downloading Update...Done.";
inline constexpr const char* kDownloadFailedText = "Downloading Update...Failed.";
inline constexpr const char* kCannotSaveMessage = "The update cannot be saved in the folder ";
inline constexpr const char* kInstallQuestion =
    "Before installing this update, Tarvella must be closed.\r\n"
    "Do you want to close Tarvella and continue?";
inline constexpr const char* kInstallTitle = "Online Updates";
inline constexpr const char* kLaunchFailedMessage =
    "There was an error while trying to automatically launch the update file. Please download "
    "the update from our website at:";

// Made hidden by load(); the download starts once it shows.
class OnlineUpdatesWindow : public FramedDialog {
 public:
  OnlineUpdatesWindow();

  void Timer1_Timer();  // starts the download, once the window shows
  void cmdClose_Click();
  void cmdInstall_Click();

  // Where the setup program goes; "" (the default) is updateDownloadFolder().
  std::string downloadFolder;
  // The address of the setup program.
  std::string downloadAddress = std::string(kUpdateServer) + kSetupPath;

  bool downloading() const { return get_ != nullptr; }

  ProgressBar ProgressBar1;
  Label lblStatus, Label3, Label2, lblCurrent, Label5, StatLab1, StatLab2, Label1;
  Button cmdInstall, cmdClose;

 protected:
  const wchar_t* className() const override { return ids::kOnlineUpdatesClass; }
  bool onCreate() override;
  void onCommand(int id, int code, HWND ctl) override;
  void onTimer(UINT_PTR id) override;
  void onDestroy() override;
  std::optional<LRESULT> onMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  // Takes what has arrived: writes it, shows the progress, and ends the download when the
  // transfer has ended.
  void Inet1_StateChanged();
  bool startDownload();
  void showProgress();
  // Ends the download: the file takes its name, or the transfer and its file are dropped.
  void finish(bool complete);
  // Drops the download and tells why: the connection message, or, when the fault is here
  // (the folder, the disk), that the update cannot be saved.
  void failed(bool here = false);
  void discard();

  std::unique_ptr<HttpGet> get_;
  FileHandle file_;
  bool started_ = false;
  std::string savedFolder_, tempPath_, savedPath_;
  std::int64_t total_ = -1, copied_ = 0;
  std::string head_;   // the first bytes of the file
  std::string piece_;  // what arrived last; its room goes back and forth with the request
  ULONGLONG shownAt_ = 0;
};

// The one update download window; makes it when it does not exist.
OnlineUpdatesWindow& frmOnlineUpdates2();

}  // namespace glenvask
