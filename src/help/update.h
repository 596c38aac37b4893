// The online update: an HTTP GET that never holds the window, the check of the latest version
// on the update server, and where the update's setup program is saved.
//
// Requests go through WinINet with the system's proxy settings, write nothing into the URL
// cache (which the program itself cleans), send and keep no cookies, and give up when the
// server is silent for longer than the timeout.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "base/updates.h"

namespace glenvask {

// The update server (its host is ours to choose) and the fixed paths on it.
inline constexpr const char* kUpdateServer = "http://www.orlenta.com";
inline constexpr const char* kLatestVersionPath = "/updates/quenmark/latest.txt";
inline constexpr const char* kUpdatePagePath = "/updates/quenmark/update_v6.htm";
inline constexpr const char* kBetaPagePath = "/updates/quenmark/beta.htm";
inline constexpr const char* kNoUpdatePagePath = "/updates/quenmark/noupdate_v6.htm";
inline constexpr const char* kSetupPath = "/frennick.exe";
inline constexpr const char* kSetupInfoPath = "/frennick_info.htm";

inline constexpr const char* kUpdateConnectionMessage =
    "Tarvella was unable to connect to the update server (Orlenta).\nPlease try again later.";

// The longest reply of the latest version that is read; a longer one is no version.
inline constexpr std::int64_t kMaxVersionReply = 1024;

// How long a request waits for the server to connect, accept or send anything (15 s); the
// check of the latest version gives up after twice that in all. Tests shorten it.
DWORD httpTimeoutMs();
void setHttpTimeoutMs(DWORD ms);

// The installed version: major, minor and revision joined by dots ("6.0.3").
std::string installedVersion();

// One HTTP GET on a thread of its own, started by the constructor. The caller takes the body
// in pieces on its own thread, told by event() and, when it asks, by a message posted to a
// window: when the answer comes, when a megabyte is waiting, and when the request ends (what
// came in between is there for any take). Cancelling (or destroying the object) leaves the
// request to end by itself within the timeout; it then touches nothing of the caller's.
class HttpGet {
 public:
  enum class State {
    Running,
    Done,    // the server ended the body (compare received() with length(): it may be short)
    Failed,  // no answer, an error, silence past the timeout, more than maxBytes, or cancelled
  };

  HttpGet(const std::string& address, std::int64_t maxBytes);
  ~HttpGet();
  HttpGet(const HttpGet&) = delete;
  HttpGet& operator=(const HttpGet&) = delete;

  // Posts the message to the window with each notice, one post at a time: the next follows
  // once take() has been called.
  void notify(HWND window, UINT message);
  HANDLE event() const;  // auto-reset, set with each notice

  State state() const;
  bool answered() const;        // the status and headers are in
  int status() const;           // 0 until answered
  std::int64_t length() const;  // the announced Content-Length; -1 when none
  std::int64_t received() const;
  // The body bytes that arrived since the last take, in place of what `into` held (its room
  // goes back to the request, so a long transfer does not allocate per piece). Read state()
  // first: once it is no longer Running, one take gets everything that is left.
  void take(std::string& into);
  void cancel();

  struct Shared;

 private:
  std::shared_ptr<Shared> s_;
};

// What the check of the latest version found, for the Updates page to show.
struct UpdateCheck {
  UpdateVerdict verdict = UpdateVerdict::NoConnection;
  std::string installed;      // the installed version
  std::string latest;         // the version the server names; "" with no connection
  std::string page;           // the address of the page to show; "" with no connection
  bool showDownload = false;  // only with a newer version
  std::string pageHtml;       // that page's body; "" when it could not be fetched whole
};

// The longest update page the check takes.
inline constexpr std::int64_t kMaxUpdatePage = 1 << 20;

// Reads the latest version from the update server and compares it with the installed one.
// Only a complete reply with status 200 whose body, trimmed of blanks and line ends, is a
// version text counts; anything else is no connection. It waits for the server: call it on a
// thread that no window needs. `cancel` (an event, when given) ends the wait at once, with
// no connection.
UpdateCheck checkForUpdates(HANDLE cancel = nullptr);

// The check above on a thread of its own, started by the constructor: the window is posted
// `message` once when the check has ended (never after the object has gone), and result()
// then gives what it found. The destructor stops the check at once and joins the thread, so
// nothing of it outlives the object; destroy the object before its window goes.
class UpdateCheckRun {
 public:
  UpdateCheckRun(HWND window, UINT message);
  ~UpdateCheckRun();
  UpdateCheckRun(const UpdateCheckRun&) = delete;
  UpdateCheckRun& operator=(const UpdateCheckRun&) = delete;

  // What the check found; nothing while it runs.
  std::optional<UpdateCheck> result();

 private:
  struct Shared;
  std::shared_ptr<Shared> s_;
  std::thread thread_;
};

// "Tarvella was unable to connect to the update server (Orlenta)." and "Please try again
// later.", with the exclamation icon.
void showUpdateConnectionMessage(HWND owner);

// The folder the setup program is saved in: the user's "Local AppData" folder (as the shell
// folders in the registry name it) followed by "\Temp\"; the user's temporary folder when that
// value is missing or is no usable folder.
std::string updateDownloadFolder();

}  // namespace glenvask
