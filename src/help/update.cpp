#include "help/update.h"

#include <wininet.h>

#include <algorithm>
#include <optional>
#include <utility>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "base/pathtext.h"
#include "services/globals.h"
#include "services/registry.h"
#include "services/system.h"
#include "version.h"
#include "win/seams.h"
#include "win/unicode.h"

namespace glenvask {

namespace {

std::atomic<DWORD> g_timeoutMs{15000};

// The most body bytes that wait for the caller before the request waits in turn.
constexpr size_t kMaxPending = 16u << 20;
// The body bytes that wait before the caller is told of them: a notice per piece would cost
// more than the transfer on a fast line. (A window also takes what came on a timer of its own.)
constexpr size_t kNoticeBytes = 1u << 20;
// A read returns only once its buffer is full or the body has ended. Small reads show a slow
// transfer's progress as it comes; large ones cost far less per byte. Each read that comes
// back quickly doubles the next, one that waits long halves it.
constexpr DWORD kMinRead = 16u << 10, kMaxRead = 256u << 10;
constexpr ULONGLONG kQuickReadMs = 50, kSlowReadMs = 500;

// The Content-Length text as a number; -1 when it is not one.
std::int64_t parseLength(const std::wstring& text) {
  if (text.empty() || text.size() > 18) return -1;
  std::int64_t n = 0;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') return -1;
    n = n * 10 + (c - L'0');
  }
  return n;
}

}  // namespace

DWORD httpTimeoutMs() { return g_timeoutMs; }
void setHttpTimeoutMs(DWORD ms) { g_timeoutMs = ms ? ms : 1; }

std::string installedVersion() { return GLENVASK_VERSION_TEXT; }

struct HttpGet::Shared {
  std::mutex m;
  std::condition_variable roomFreed;
  KernelHandle arrived{CreateEventW(nullptr, FALSE, FALSE, nullptr)};
  State state = State::Running;
  bool answered = false;
  int status = 0;
  std::int64_t length = -1;
  std::int64_t received = 0;
  std::string pending;
  bool cancelled = false;
  HWND window = nullptr;
  UINT message = 0;
  bool posted = false;

  // Tells the caller that something new is in; call with the lock held.
  void signal() {
    SetEvent(arrived.get());
    if (window && !posted) posted = PostMessageW(window, message, 0, 0) != FALSE;
  }
  void end(State s) {
    std::lock_guard lock(m);
    if (state == State::Running) state = cancelled ? State::Failed : s;
    signal();
  }
};

namespace {

// The handles of one request, closed in order by the request's own thread.
struct Request {
  HINTERNET session = nullptr, connection = nullptr, request = nullptr;
  ~Request() {
    for (HINTERNET h : {request, connection, session})
      if (h) InternetCloseHandle(h);
  }
};

void setTimeouts(HINTERNET h, DWORD ms) {
  for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                       INTERNET_OPTION_RECEIVE_TIMEOUT, INTERNET_OPTION_DATA_SEND_TIMEOUT,
                       INTERNET_OPTION_DATA_RECEIVE_TIMEOUT})
    InternetSetOptionW(h, option, &ms, sizeof ms);
}

HttpGet::State fetch(HttpGet::Shared& s, const std::wstring& address, std::int64_t maxBytes,
                     DWORD timeout) {
  using State = HttpGet::State;
  wchar_t host[256] = {}, path[2048] = {}, extra[2048] = {};
  URL_COMPONENTSW parts{};
  parts.dwStructSize = sizeof parts;
  parts.lpszHostName = host;
  parts.dwHostNameLength = ARRAYSIZE(host);
  parts.lpszUrlPath = path;
  parts.dwUrlPathLength = ARRAYSIZE(path);
  parts.lpszExtraInfo = extra;
  parts.dwExtraInfoLength = ARRAYSIZE(extra);
  if (!InternetCrackUrlW(address.c_str(), 0, 0, &parts)) return State::Failed;
  if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS)
    return State::Failed;
  std::wstring target = std::wstring(path) + extra;
  if (target.empty()) target = L"/";

  Request r;
  r.session = InternetOpenW(L"Glenvask", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
  if (!r.session) return State::Failed;
  setTimeouts(r.session, timeout);
  r.connection =
      InternetConnectW(r.session, host, parts.nPort, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0);
  if (!r.connection) return State::Failed;
  DWORD flags = INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_RELOAD | INTERNET_FLAG_PRAGMA_NOCACHE |
                INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_UI |
                (parts.nScheme == INTERNET_SCHEME_HTTPS ? INTERNET_FLAG_SECURE : 0);
  r.request =
      HttpOpenRequestW(r.connection, L"GET", target.c_str(), nullptr, nullptr, nullptr, flags, 0);
  if (!r.request) return State::Failed;
  // The request keeps the timeouts it is given itself; those of its session do not reach it.
  setTimeouts(r.request, timeout);
  if (!HttpSendRequestW(r.request, nullptr, 0, nullptr, 0)) return State::Failed;

  DWORD status = 0, size = sizeof status;
  if (!HttpQueryInfoW(r.request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size,
                      nullptr))
    return State::Failed;
  wchar_t lengthText[64] = {};
  size = sizeof lengthText;
  std::int64_t length = -1;
  if (HttpQueryInfoW(r.request, HTTP_QUERY_CONTENT_LENGTH, lengthText, &size, nullptr))
    length = parseLength(lengthText);
  {
    std::lock_guard lock(s.m);
    s.answered = true;
    s.status = static_cast<int>(status);
    s.length = length;
    s.signal();
    if (s.cancelled) return State::Failed;
  }
  // Only a good reply's body is wanted, and none that is announced too long.
  if (status != 200) return State::Done;
  if (length > maxBytes) return State::Failed;

  std::string buffer(kMaxRead, '\0');
  DWORD want = kMinRead;
  for (;;) {
    DWORD got = 0;
    ULONGLONG start = GetTickCount64();
    if (!InternetReadFile(r.request, buffer.data(), want, &got)) return State::Failed;
    if (got == 0) return State::Done;
    ULONGLONG took = GetTickCount64() - start;
    if (took < kQuickReadMs && want < kMaxRead) want *= 2;
    if (took > kSlowReadMs && want > kMinRead) want /= 2;
    std::unique_lock lock(s.m);
    s.roomFreed.wait(lock, [&] { return s.cancelled || s.pending.size() < kMaxPending; });
    if (s.cancelled) return State::Failed;
    s.pending.append(buffer.data(), got);
    s.received += got;
    if (s.pending.size() >= kNoticeBytes) s.signal();
    if (s.received > maxBytes) return State::Failed;
  }
}

}  // namespace

HttpGet::HttpGet(const std::string& address, std::int64_t maxBytes)
    : s_(std::make_shared<Shared>()) {
  std::wstring a = wide(address);
  DWORD timeout = httpTimeoutMs();
  try {
    std::thread([s = s_, a, maxBytes, timeout] {
      s->end(fetch(*s, a, maxBytes, timeout));
    }).detach();
  } catch (...) {
    s_->end(State::Failed);  // no thread to be had
  }
}

HttpGet::~HttpGet() { cancel(); }

void HttpGet::notify(HWND window, UINT message) {
  std::lock_guard lock(s_->m);
  s_->window = window;
  s_->message = message;
  s_->posted = false;
  if (s_->answered || s_->state != State::Running) s_->signal();
}

HANDLE HttpGet::event() const { return s_->arrived.get(); }

HttpGet::State HttpGet::state() const {
  std::lock_guard lock(s_->m);
  return s_->state;
}

bool HttpGet::answered() const {
  std::lock_guard lock(s_->m);
  return s_->answered;
}

int HttpGet::status() const {
  std::lock_guard lock(s_->m);
  return s_->status;
}

std::int64_t HttpGet::length() const {
  std::lock_guard lock(s_->m);
  return s_->length;
}

std::int64_t HttpGet::received() const {
  std::lock_guard lock(s_->m);
  return s_->received;
}

void HttpGet::take(std::string& into) {
  into.clear();
  {
    std::lock_guard lock(s_->m);
    into.swap(s_->pending);
    s_->posted = false;
    // An end that came while a post was outstanding was not posted: the caller may have read
    // the state before it. Tell it again.
    if (s_->state != State::Running) s_->signal();
  }
  s_->roomFreed.notify_all();
}

void HttpGet::cancel() {
  {
    std::lock_guard lock(s_->m);
    s_->cancelled = true;
    s_->window = nullptr;
    s_->pending.clear();
    if (s_->state == State::Running) s_->state = State::Failed;
  }
  s_->roomFreed.notify_all();
}

namespace {

// One GET to its end: the body and the status, only when every announced byte came.
std::optional<std::pair<int, std::string>> fetchWhole(const std::string& address,
                                                      std::int64_t maxBytes, HANDLE cancel) {
  HttpGet get(address, maxBytes);
  ULONGLONG deadline = GetTickCount64() + 2ull * httpTimeoutMs();
  HANDLE events[] = {get.event(), cancel};
  DWORD count = cancel ? 2 : 1;
  while (get.state() == HttpGet::State::Running) {
    ULONGLONG now = GetTickCount64();
    DWORD wait = now >= deadline ? WAIT_TIMEOUT
                                 : WaitForMultipleObjects(count, events, FALSE,
                                                          static_cast<DWORD>(deadline - now));
    if (wait != WAIT_OBJECT_0) {  // cancelled, or past the deadline
      get.cancel();
      break;
    }
  }
  if (get.state() != HttpGet::State::Done) return std::nullopt;
  std::string body;
  get.take(body);
  std::int64_t length = get.length();
  // A body cut short reads as a clean end: only the whole of what was announced counts.
  if (length >= 0 && length != static_cast<std::int64_t>(body.size())) return std::nullopt;
  return std::pair{get.status(), std::move(body)};
}

}  // namespace

UpdateCheck checkForUpdates(HANDLE cancel) {
  UpdateCheck check;
  check.installed = installedVersion();
  std::optional<std::string> latest;
  if (auto reply =
          fetchWhole(std::string(kUpdateServer) + kLatestVersionPath, kMaxVersionReply, cancel))
    latest = latestVersionOf(reply->first, reply->second);
  check.verdict = compareVersions(check.installed, latest);
  const char* page = nullptr;
  switch (check.verdict) {
    case UpdateVerdict::Newer: page = kUpdatePagePath; break;
    case UpdateVerdict::Older: page = kBetaPagePath; break;
    case UpdateVerdict::Same: page = kNoUpdatePagePath; break;
    case UpdateVerdict::NoConnection: break;
  }
  if (page) {
    check.latest = *latest;
    check.page = std::string(kUpdateServer) + page;
    check.showDownload = check.verdict == UpdateVerdict::Newer;
    // The page itself, for the page view (which shows the web only from the cache, and this
    // check writes nothing there).
    if (auto reply = fetchWhole(check.page, kMaxUpdatePage, cancel); reply && reply->first == 200)
      check.pageHtml = std::move(reply->second);
  }
  return check;
}

struct UpdateCheckRun::Shared {
  std::mutex m;
  KernelHandle cancel{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  HWND window = nullptr;
  UINT message = 0;
  std::optional<UpdateCheck> result;
};

UpdateCheckRun::UpdateCheckRun(HWND window, UINT message) : s_(std::make_shared<Shared>()) {
  s_->window = window;
  s_->message = message;
  auto run = [s = s_] {
    UpdateCheck check = checkForUpdates(s->cancel.get());
    std::lock_guard lock(s->m);
    s->result = std::move(check);
    if (s->window) PostMessageW(s->window, s->message, 0, 0);
  };
  try {
    thread_ = std::thread(run);
  } catch (...) {  // no thread to be had: no connection, told as any result
    std::lock_guard lock(s_->m);
    s_->result = UpdateCheck{UpdateVerdict::NoConnection, installedVersion()};
    PostMessageW(window, message, 0, 0);
  }
}

UpdateCheckRun::~UpdateCheckRun() {
  {
    std::lock_guard lock(s_->m);
    s_->window = nullptr;
  }
  SetEvent(s_->cancel.get());
  if (thread_.joinable()) thread_.join();
}

std::optional<UpdateCheck> UpdateCheckRun::result() {
  std::lock_guard lock(s_->m);
  return s_->result;
}

void showUpdateConnectionMessage(HWND owner) {
  asker().messageBox(owner, kUpdateConnectionMessage, kAppTitle, MB_OK | MB_ICONEXCLAMATION);
}

std::string updateDownloadFolder() {
  return updateFolderOf(
      GetRegString(kHkeyCurrentUser,
                   "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders\\",
                   "Local AppData"),
      GetTempDir());
}

}  // namespace glenvask
