#pragma once
// A small HTTP server on 127.0.0.1 for the version-check tests: each path answers with a fixed
// status and body; "/silent" takes the connection and never answers until the server stops.
// It runs on its own thread, counts the requests per path, and stops by itself after a minute.

#include <winsock2.h>
#include <windows.h>

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kelvane::testing {

struct HttpAnswer {
  int status = 200;
  std::string body;
};

class LocalHttpServer {
 public:
  explicit LocalHttpServer(std::map<std::string, HttpAnswer> answers);
  ~LocalHttpServer();
  LocalHttpServer(const LocalHttpServer&) = delete;
  LocalHttpServer& operator=(const LocalHttpServer&) = delete;

  std::string url(const std::string& path) const;
  int requests(const std::string& path);
  // Closes the connections held by "/silent".
  void releaseSilent();

  // An address on 127.0.0.1 where nothing listens.
  static std::string closedPortUrl();

 private:
  void serve();
  void answer(SOCKET client);

  std::map<std::string, HttpAnswer> answers_;
  SOCKET listener_ = INVALID_SOCKET;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::map<std::string, int> requests_;
  std::vector<SOCKET> silent_;
  std::thread thread_;
};

}  // namespace kelvane::testing
