#include "help/frmOnlineUpdates2.h"

#include <commctrl.h>

#include "base/pathtext.h"
#include "base/sizes.h"
#include "services/globals.h"
#include "services/host.h"
#include "win/pump.h"
#include "win/unicode.h"

namespace glenvask {

namespace {

constexpr int kWidth = 420, kHeight = 170;
// Takes what has come while the transfer gathers its next notice, and shows the progress.
constexpr UINT_PTR kTakeTimer = 2;
constexpr UINT kTakeEveryMs = 100;
constexpr UINT kArrived = WM_APP + 1;  // the transfer has something new
// Starts the download once the window shows: a posted message comes sooner than the shortest
// timer would.
constexpr UINT kTimer1 = WM_APP + 2;
constexpr ULONGLONG kShowEveryMs = 50;

}  // namespace

OnlineUpdatesWindow& frmOnlineUpdates2() { return loadedInstance<OnlineUpdatesWindow>(); }

OnlineUpdatesWindow::OnlineUpdatesWindow() : FramedDialog("Online Updates", kWidth, kHeight) {}

bool OnlineUpdatesWindow::onCreate() {
  const ControlSpec specs[] = {
      label("Label1", -1, "Status:", 12, 12, 70, 18),
      label("lblStatus", ids::kUpdateStatus, kDownloadingText, 84, 12, kWidth - 96, 18),
      {"ProgressBar1", PROGRESS_CLASSW, ids::kUpdateProgress, "", 12, 38, kWidth - 24, 18, 0},
      label("lblCurrent", ids::kUpdateCurrent, "0.00 KB of 0 MB copied", 12, 64, kWidth - 24, 18),
      label("Label3", -1, "Saved to:", 12, 92, 70, 18),
      label("Label2", ids::kUpdateLocation, "Location", 84, 92, kWidth - 96, 18, SS_PATHELLIPSIS),
      label("Label5", ids::kUpdateTotal, "", 12, 118, 80, 18),
      label("StatLab1", ids::kUpdateFileSize, "filesize", 96, 118, 80, 18),
      label("StatLab2", ids::kUpdateCopied, "currentsize", 180, 118, 80, 18),
      button("cmdInstall", ids::kUpdateInstall, "&Install", kWidth - 200, kHeight - 36, 90, 26),
      button("cmdClose", ids::kUpdateClose, "&Cancel", kWidth - 102, kHeight - 36, 90, 26,
             BS_DEFPUSHBUTTON),
  };
  addControls(specs);
  ProgressBar1.bind(*this, "ProgressBar1");
  lblStatus.bind(*this, "lblStatus");
  Label3.bind(*this, "Label3");
  Label2.bind(*this, "Label2");
  lblCurrent.bind(*this, "lblCurrent");
  Label5.bind(*this, "Label5");
  StatLab1.bind(*this, "StatLab1");
  StatLab2.bind(*this, "StatLab2");
  Label1.bind(*this, "Label1");
  cmdInstall.bind(*this, "cmdInstall");
  cmdClose.bind(*this, "cmdClose");
  // The byte counts are kept for the progress line, not shown.
  for (Label* hidden : {&Label5, &StatLab1, &StatLab2}) hidden->setVisible(false);
  cmdInstall.setEnabled(false);
  ProgressBar1.setRange(0, 100);
  total_ = -1;
  copied_ = 0;
  head_.clear();
  started_ = false;
  shownAt_ = 0;
  savedPath_.clear();
  return true;
}

void OnlineUpdatesWindow::onTimer(UINT_PTR id) {
  if (id != kTakeTimer || !get_) return;
  Inet1_StateChanged();
  if (get_) showProgress();
}

void OnlineUpdatesWindow::Timer1_Timer() {
  if (started_) return;
  started_ = true;
  if (!startDownload()) failed(true);
}

bool OnlineUpdatesWindow::startDownload() {
  std::string folder = downloadFolder.empty() ? updateDownloadFolder() : downloadFolder;
  while (!folder.empty() && folder.back() == '\\') folder.pop_back();
  savedFolder_ = folder;
  std::string name = fileNameOfAddress(downloadAddress);
  if (folder.empty() || name.empty() || name.find('\\') != std::string::npos ||
      !isUsablePathLength(folder + "\\" + name) || !isUsablePathLength(folder + "\\updXXXX.tmp"))
    return false;
  // A new profile has no Temp folder yet.
  std::wstring wfolder = wide(folder);
  CreateDirectoryW(wfolder.c_str(), nullptr);
  wchar_t temp[MAX_PATH] = {};
  if (!GetTempFileNameW(wfolder.c_str(), L"upd", 0, temp)) return false;  // made new
  tempPath_ = utf8(temp);
  file_.reset(CreateFileW(temp, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL,
                          nullptr));
  if (!file_) return false;
  savedPath_ = folder + "\\" + name;
  get_ = std::make_unique<HttpGet>(downloadAddress, kMaxSetupBytes);
  get_->notify(hwnd(), kArrived);
  SetTimer(hwnd(), kTakeTimer, kTakeEveryMs, nullptr);
  return true;
}

std::optional<LRESULT> OnlineUpdatesWindow::onMessage(UINT msg, WPARAM wp, LPARAM) {
  switch (msg) {
    case WM_SHOWWINDOW:
      if (wp && !started_) PostMessageW(hwnd(), kTimer1, 0, 0);
      return std::nullopt;
    case kTimer1: Timer1_Timer(); return 0;
    case kArrived: Inet1_StateChanged(); return 0;
    default: return std::nullopt;
  }
}

void OnlineUpdatesWindow::Inet1_StateChanged() {
  if (!get_) return;
  HttpGet::State state = get_->state();  // before take(): see HttpGet
  if (total_ < 0 && get_->answered()) {
    std::int64_t length = get_->length();
    // Only a good reply of a known length is a setup program.
    if (get_->status() != 200 || length <= 0 || length > kMaxSetupBytes) return failed();
    total_ = length;
    StatLab1.setText(std::to_string(total_));
    Label5.setText(FormatFileSize(static_cast<double>(total_), 2, true));
  }
  std::string& data = piece_;
  get_->take(data);
  if (!data.empty()) {
    if (total_ < 0 || copied_ + static_cast<std::int64_t>(data.size()) > total_) return failed();
    DWORD written = 0;
    if (!WriteFile(file_.get(), data.data(), static_cast<DWORD>(data.size()), &written, nullptr) ||
        written != data.size())
      return failed(true);
    if (head_.size() < 2) head_ += data.substr(0, 2 - head_.size());
    copied_ += static_cast<std::int64_t>(data.size());
  }
  if (state == HttpGet::State::Done) return finish(total_ > 0 && copied_ == total_);
  if (state == HttpGet::State::Failed) return failed();
  if (GetTickCount64() - shownAt_ >= kShowEveryMs) showProgress();
}

void OnlineUpdatesWindow::showProgress() {
  StatLab2.setText(std::to_string(copied_));
  ProgressBar1.setValue(downloadPercent(copied_, total_));
  lblCurrent.setText(downloadProgressText(copied_, total_, Label5.text()));
  shownAt_ = GetTickCount64();
}

void OnlineUpdatesWindow::finish(bool complete) {
  showProgress();
  KillTimer(hwnd(), kTakeTimer);
  get_.reset();
  file_.reset();
  // Only a whole program takes the setup program's name, replacing an older download.
  bool ok = complete && head_ == "MZ";
  if (ok) {
    std::wstring saved = wide(savedPath_);
    DWORD attrs = GetFileAttributesW(saved.c_str());
    if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_READONLY))
      SetFileAttributesW(saved.c_str(), attrs & ~FILE_ATTRIBUTE_READONLY);
    ok = MoveFileExW(wide(tempPath_).c_str(), saved.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
  }
  if (!ok) return failed(complete && head_ == "MZ");
  tempPath_.clear();
  lblStatus.setText(kDownloadDoneText);
  cmdInstall.setEnabled(true);
  cmdClose.setText("&Close");
  Label2.setText(savedPath_);
}

void OnlineUpdatesWindow::failed(bool here) {
  discard();
  lblStatus.setText(kDownloadFailedText);
  cmdClose.setText("&Close");
  if (here)
    asker().messageBox(hwnd(), kCannotSaveMessage + savedFolder_ + ".", kAppTitle,
                       MB_OK | MB_ICONEXCLAMATION);
  else
    showUpdateConnectionMessage(hwnd());
}

void OnlineUpdatesWindow::discard() {
  if (get_) get_->cancel();
  get_.reset();
  if (hwnd()) KillTimer(hwnd(), kTakeTimer);
  file_.reset();
  if (!tempPath_.empty()) DeleteFileW(wide(tempPath_).c_str());
  tempPath_.clear();
}

void OnlineUpdatesWindow::cmdClose_Click() {
  discard();
  dismiss();
}

void OnlineUpdatesWindow::cmdInstall_Click() {
  if (!cmdInstall.enabled()) return;
  int answer = asker().messageBox(hwnd(), kInstallQuestion, kInstallTitle,
                                  MB_YESNO | MB_DEFBUTTON2 | MB_ICONQUESTION);
  if (answer != IDYES) return;
  if (!outside().startProcess("\"" + Label2.text() + "\"")) {
    asker().messageBox(hwnd(),
                       std::string(kLaunchFailedMessage) + "\r\n" + kUpdateServer + kSetupInfoPath,
                       kAppTitle, MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  EventPump::dispatchPending();
  dismiss();
  cleaningHost().endProgram();
}

void OnlineUpdatesWindow::onCommand(int id, int, HWND) {
  switch (id) {
    case ids::kUpdateInstall: cmdInstall_Click(); break;
    case ids::kUpdateClose: cmdClose_Click(); break;
    case IDCANCEL: close(); break;  // Esc
    default: break;
  }
}

void OnlineUpdatesWindow::onDestroy() {
  discard();
  for (Control* c : std::initializer_list<Control*>{&ProgressBar1, &lblStatus, &Label3, &Label2,
                                                    &lblCurrent, &Label5, &StatLab1, &StatLab2,
                                                    &Label1, &cmdInstall, &cmdClose})
    c->attach(nullptr);
}

}  // namespace glenvask
