// A local HTTP server for one test (tests/support/http_server.py, run with the system's
// python3): it listens on 127.0.0.1 only, and this process reaches it as its proxy for as long
// as the server object lives, so no request of the test leaves the machine. It stops when the
// object goes, and by itself after a bounded time.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/text.h"
#include "services/settings.h"
#include "services/urlcache.h"
#include "support/scripted.h"
#include "win/unicode.h"

namespace glenvask::test {

class LocalHttpServer {
 public:
  struct Reply {
    int status = 200;
    std::string body;
    // The announced Content-Length: the body's size unless given; nullopt announces none (the
    // body then ends with the connection).
    std::optional<std::int64_t> length = -1;
    std::int64_t send = -1;  // the bytes of the body sent before the connection closes; all
    double stallBefore = 0;  // seconds of silence before the reply
    double stallAfter = 0;   // and after the bytes sent
  };

  LocalHttpServer() : folder_("http-" + currentTestName()) { start(); }
  ~LocalHttpServer() {
    SetEnvironmentVariableW(L"http_proxy", nullptr);
    if (!running()) return;
    folder_.write("stop", "");
    Sleep(120);  // the server looks for it every 50 ms; its folder goes next
  }
  LocalHttpServer(const LocalHttpServer&) = delete;

  bool running() const { return port_ != 0; }
  // The reply to every request of this path (of any host), from now on.
  void route(const std::string& path, const Reply& reply) {
    std::string file = "body-" + std::to_string(++files_) + ".bin";
    folder_.write(file, reply.body);
    auto size = static_cast<std::int64_t>(reply.body.size());
    std::string length =
        reply.length ? std::to_string(*reply.length < 0 ? size : *reply.length) : "null";
    char json[256];
    snprintf(json, sizeof json,
             R"({"status": %d, "file": "%s", "length": %s, "send": %s, "stall_before": %.3f, )"
             R"("stall_after": %.3f})",
             reply.status, file.c_str(), length.c_str(),
             std::to_string(reply.send < 0 ? size : reply.send).c_str(), reply.stallBefore,
             reply.stallAfter);
    auto known =
        std::find_if(routes_.begin(), routes_.end(), [&](auto& r) { return r.first == path; });
    if (known == routes_.end()) known = routes_.emplace(routes_.end(), path, json);
    known->second = json;
    std::string all;
    for (const auto& [p, j] : routes_) all += (all.empty() ? "{\"" : ", \"") + p + "\": " + j;
    all += "}";
    // Written aside and renamed, so the server never reads half a file.
    folder_.write("routes.tmp", all);
    MoveFileExW(wide(folder_.file("routes.tmp")).c_str(), wide(folder_.file("routes.json")).c_str(),
                MOVEFILE_REPLACE_EXISTING);
  }
  // The target of every request so far, in order ("http://host:80/path" through the proxy).
  std::vector<std::string> requests() const {
    std::vector<std::string> out;
    if (folder_.exists("requests.log"))
      for (const auto& line : split(folder_.read("requests.log"), '\n'))
        if (!line.empty()) out.push_back(line);
    return out;
  }

 private:
  void start() {
    std::string script = __FILE__;  // the script lies beside this file
    script = script.substr(0, script.find_last_of("/\\") + 1) + "http_server.py";
    std::string here = unixPath(folder_.path());
    ASSERT_FALSE(here.empty()) << "no Unix path for " << folder_.path();
    folder_.write("routes.json", "{}");
    ASSERT_TRUE(runUnix("/usr/bin/python3", "\"" + script + "\" \"" + here + "\" 100"))
        << "cannot start the local HTTP server";
    for (int i = 0; i < 1000 && !folder_.exists("port.txt"); ++i) Sleep(10);
    auto port = parseInteger(folder_.read("port.txt"));
    ASSERT_TRUE(port && *port > 0) << "the local HTTP server did not start";
    port_ = static_cast<int>(*port);
    // Every request of this process goes to the server, whatever its host.
    SetEnvironmentVariableW(L"http_proxy",
                            wide("http://127.0.0.1:" + std::to_string(port_)).c_str());
    SetEnvironmentVariableW(L"no_proxy", nullptr);
    SetEnvironmentVariableW(L"NO_PROXY", nullptr);
  }
  ScratchFolder folder_;
  std::vector<std::pair<std::string, std::string>> routes_;  // path, JSON of the reply
  int port_ = 0;
  int files_ = 0;
};

// The entries of the URL cache (cookies included) whose address holds the text.
inline std::vector<std::string> urlCacheEntriesWith(const std::string& text) {
  std::vector<std::string> found;
  ForEachUrlCacheEntry([&](const UrlCacheEntry& e) {
    if (std::string url = utf8(e.url); toLower(url).find(toLower(text)) != std::string::npos)
      found.push_back(url);
  });
  return found;
}

}  // namespace glenvask::test
