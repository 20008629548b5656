#include "local_http_server_win.h"

#include <ws2tcpip.h>

namespace kelvane::testing {

namespace {

struct WinsockStarted {
  WinsockStarted() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
  }
};

void startWinsock() { static WinsockStarted started; }

SOCKET listenOnLoopback(int& port) {
  startWinsock();
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  if (s == INVALID_SOCKET || bind(s, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
      listen(s, 8) != 0) {
    if (s != INVALID_SOCKET) closesocket(s);
    return INVALID_SOCKET;
  }
  int length = sizeof(address);
  getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
  port = ntohs(address.sin_port);
  return s;
}

}  // namespace

LocalHttpServer::LocalHttpServer(std::map<std::string, HttpAnswer> answers) : answers_(std::move(answers)) {
  listener_ = listenOnLoopback(port_);
  thread_ = std::thread([this] { serve(); });
}

LocalHttpServer::~LocalHttpServer() {
  stop_ = true;
  thread_.join();
  releaseSilent();
  if (listener_ != INVALID_SOCKET) closesocket(listener_);
}

std::string LocalHttpServer::url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

int LocalHttpServer::requests(const std::string& path) {
  std::lock_guard lock(mutex_);
  return requests_[path];
}

void LocalHttpServer::releaseSilent() {
  std::lock_guard lock(mutex_);
  for (SOCKET s : silent_) closesocket(s);
  silent_.clear();
}

std::string LocalHttpServer::closedPortUrl() {
  int port = 0;
  const SOCKET s = listenOnLoopback(port);
  closesocket(s);
  return "http://127.0.0.1:" + std::to_string(port) + "/ver/curr_ver.txt";
}

void LocalHttpServer::serve() {
  const DWORD deadline = GetTickCount() + 60000;
  while (!stop_ && listener_ != INVALID_SOCKET && static_cast<LONG>(GetTickCount() - deadline) < 0) {
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(listener_, &readable);
    timeval wait{0, 100000};
    if (select(0, &readable, nullptr, nullptr, &wait) <= 0) continue;
    const SOCKET client = accept(listener_, nullptr, nullptr);
    if (client != INVALID_SOCKET) answer(client);
  }
}

void LocalHttpServer::answer(SOCKET client) {
  std::string request;
  char buffer[1024];
  while (request.find("\r\n\r\n") == std::string::npos && request.size() < 16384) {
    const int got = recv(client, buffer, sizeof(buffer), 0);
    if (got <= 0) break;
    request.append(buffer, static_cast<std::size_t>(got));
  }
  const auto pathStart = request.find(' ') + 1;
  const std::string path = request.substr(pathStart, request.find(' ', pathStart) - pathStart);
  {
    std::lock_guard lock(mutex_);
    ++requests_[path];
    if (path == "/silent") {
      silent_.push_back(client);
      return;
    }
  }
  const auto found = answers_.find(path);
  const HttpAnswer reply = found != answers_.end() ? found->second : HttpAnswer{404, "<html>Not Found</html>"};
  const std::string response = "HTTP/1.1 " + std::to_string(reply.status) + " X\r\nContent-Type: text/plain\r\n" +
                               "Content-Length: " + std::to_string(reply.body.size()) +
                               "\r\nConnection: close\r\n\r\n" + reply.body;
  send(client, response.data(), static_cast<int>(response.size()), 0);
  shutdown(client, SD_SEND);
  closesocket(client);
}

}  // namespace kelvane::testing
