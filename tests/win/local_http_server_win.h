#pragma once
// A small HTTP server on 127.0.0.1 for the version-check tests: each path answers with a fixed
// status, body and (for redirects) location. Two paths hold their connection: "/silent" takes
// it and never answers until released; "/drip" sends a 200 answer one byte every 100 ms. The
// server notices when a client closes a held connection, so a test can see a check give up.
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
  std::string location;  // sent as "Location:" when not empty
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
  // Held connections ("/silent", "/drip") the client has closed so far.
  int closedByClient();

  // An address on 127.0.0.1 where nothing listens.
  static std::string closedPortUrl();

 private:
  struct Held {
    SOCKET socket;
    std::string unsent;  // what a drip has still to send
    DWORD nextByte;
  };
  void serve();
  void answer(SOCKET client);
  void serveHeld();

  std::map<std::string, HttpAnswer> answers_;
  SOCKET listener_ = INVALID_SOCKET;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::atomic<bool> releaseSilent_{false};
  std::mutex mutex_;
  std::map<std::string, int> requests_;
  int closedByClient_ = 0;
  std::vector<Held> held_;  // only the server's thread touches these sockets
  std::thread thread_;
};

}  // namespace kelvane::testing
