// A local HTTP server for one test (tests/support/http_server.py, run with the system's
// python3): it listens on 127.0.0.1 only, and this process reaches it as its proxy for as long
// as the server object lives, so no request of the test leaves the machine. It stops when the
// object goes, and by itself after a bounded time.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "support/scripted.h"

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

  LocalHttpServer();
  ~LocalHttpServer();
  LocalHttpServer(const LocalHttpServer&) = delete;
  LocalHttpServer& operator=(const LocalHttpServer&) = delete;

  bool running() const { return port_ != 0; }
  // The reply to every request of this path (of any host), from now on.
  void route(const std::string& path, const Reply& reply);
  // The target of every request so far, in order ("http://host:80/path" through the proxy).
  std::vector<std::string> requests() const;

 private:
  void start();
  ScratchFolder folder_;
  std::vector<std::pair<std::string, std::string>> routes_;  // path, JSON of the reply
  int port_ = 0;
  int files_ = 0;
};

// The entries of the URL cache (cookies included) whose address holds the text.
std::vector<std::string> urlCacheEntriesWith(const std::string& text);

}  // namespace glenvask::test
