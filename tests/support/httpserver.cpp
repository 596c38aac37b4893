#include "support/httpserver.h"

#include <gtest/gtest.h>
#include <wininet.h>

#include "base/text.h"
#include "services/settings.h"
#include "win/unicode.h"

namespace glenvask::test {

namespace {

std::string unixPathOf(const std::string& path) {
  using UnixName = char*(CDECL*)(const wchar_t*);
  auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (!unixName) return "";
  char* u = unixName(wide(path).c_str());
  std::string s = u ? u : "";
  if (u) HeapFree(GetProcessHeap(), 0, u);
  return s;
}

std::string number(double v) {
  char buf[32];
  snprintf(buf, sizeof buf, "%.3f", v);
  return buf;
}

}  // namespace

LocalHttpServer::LocalHttpServer() : folder_("http-" + currentTestName()) { start(); }

void LocalHttpServer::start() {
  // The script lies beside this file.
  std::string script = __FILE__;
  script = script.substr(0, script.find_last_of("/\\") + 1) + "http_server.py";
  std::string here = unixPathOf(folder_.path());
  ASSERT_FALSE(here.empty()) << "no Unix path for " << folder_.path();
  folder_.write("routes.json", "{}");
  std::wstring cmd = wide("python3 \"" + script + "\" \"" + here + "\" 100");
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(CreateProcessW(L"\\\\?\\unix\\usr\\bin\\python3", cmd.data(), nullptr, nullptr, FALSE,
                             0, nullptr, nullptr, &si, &pi))
      << "cannot start the local HTTP server";
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  for (int i = 0; i < 1000 && !folder_.exists("port.txt"); ++i) Sleep(10);
  auto port = parseInteger(folder_.read("port.txt"));
  ASSERT_TRUE(port && *port > 0) << "the local HTTP server did not start";
  port_ = static_cast<int>(*port);
  // Every request of this process goes to the server, whatever its host.
  SetEnvironmentVariableW(L"http_proxy", wide("http://127.0.0.1:" + std::to_string(port_)).c_str());
  SetEnvironmentVariableW(L"no_proxy", nullptr);
  SetEnvironmentVariableW(L"NO_PROXY", nullptr);
}

LocalHttpServer::~LocalHttpServer() {
  SetEnvironmentVariableW(L"http_proxy", nullptr);
  if (!running()) return;
  folder_.write("stop", "");
  Sleep(120);  // the server looks for it every 50 ms; its folder goes next
}

void LocalHttpServer::route(const std::string& path, const Reply& reply) {
  std::string file = "body-" + std::to_string(++files_) + ".bin";
  folder_.write(file, reply.body);
  std::string json =
      "{\"status\": " + std::to_string(reply.status) + ", \"file\": \"" + file +
      "\", \"length\": " +
      (!reply.length       ? std::string("null")
       : *reply.length < 0 ? std::to_string(reply.body.size())
                           : std::to_string(*reply.length)) +
      ", \"send\": " + std::to_string(reply.send < 0 ? reply.body.size() : reply.send) +
      ", \"stall_before\": " + number(reply.stallBefore) +
      ", \"stall_after\": " + number(reply.stallAfter) + "}";
  bool replaced = false;
  for (auto& [p, j] : routes_)
    if (p == path) {
      j = json;
      replaced = true;
    }
  if (!replaced) routes_.emplace_back(path, json);
  std::string all = "{";
  for (size_t i = 0; i < routes_.size(); ++i)
    all += (i ? ", \"" : "\"") + routes_[i].first + "\": " + routes_[i].second;
  all += "}";
  // Written aside and renamed, so the server never reads half a file.
  folder_.write("routes.tmp", all);
  MoveFileExW(wide(folder_.file("routes.tmp")).c_str(), wide(folder_.file("routes.json")).c_str(),
              MOVEFILE_REPLACE_EXISTING);
}

std::vector<std::string> LocalHttpServer::requests() const {
  if (!folder_.exists("requests.log")) return {};
  std::vector<std::string> out;
  for (const auto& line : split(folder_.read("requests.log"), '\n'))
    if (!line.empty()) out.push_back(line);
  return out;
}

std::vector<std::string> urlCacheEntriesWith(const std::string& text) {
  std::vector<std::string> found;
  std::vector<BYTE> buffer(64 * 1024);
  DWORD size = static_cast<DWORD>(buffer.size());
  auto* entry = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW*>(buffer.data());
  HANDLE find = FindFirstUrlCacheEntryW(nullptr, entry, &size);
  while (find) {
    std::string url = entry->lpszSourceUrlName ? utf8(entry->lpszSourceUrlName) : "";
    if (toLower(url).find(toLower(text)) != std::string::npos) found.push_back(url);
    size = static_cast<DWORD>(buffer.size());
    if (!FindNextUrlCacheEntryW(find, entry, &size)) break;
  }
  if (find) FindCloseUrlCache(find);
  return found;
}

}  // namespace glenvask::test
