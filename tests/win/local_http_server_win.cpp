#include "local_http_server_win.h"

#include <ws2tcpip.h>

#include <algorithm>

namespace kelvane::testing {

namespace {

constexpr DWORD kDripIntervalMs = 100;

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

std::string response(const HttpAnswer& reply, std::size_t contentLength) {
  std::string head = "HTTP/1.1 " + std::to_string(reply.status) + " X\r\nContent-Type: text/plain\r\n";
  if (!reply.location.empty()) head += "Location: " + reply.location + "\r\n";
  return head + "Content-Length: " + std::to_string(contentLength) + "\r\nConnection: close\r\n\r\n";
}

// True when the peer has closed the connection (or reset it); data it sends is dropped.
bool peerClosed(SOCKET s) {
  char buffer[256];
  return recv(s, buffer, sizeof(buffer), 0) <= 0;
}

}  // namespace

LocalHttpServer::LocalHttpServer(std::map<std::string, HttpAnswer> answers) : answers_(std::move(answers)) {
  listener_ = listenOnLoopback(port_);
  thread_ = std::thread([this] { serve(); });
}

LocalHttpServer::~LocalHttpServer() {
  stop_ = true;
  thread_.join();
  for (const Held& held : held_) closesocket(held.socket);
  if (listener_ != INVALID_SOCKET) closesocket(listener_);
}

std::string LocalHttpServer::url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

int LocalHttpServer::requests(const std::string& path) {
  std::lock_guard lock(mutex_);
  return requests_[path];
}

void LocalHttpServer::releaseSilent() { releaseSilent_ = true; }

int LocalHttpServer::closedByClient() {
  std::lock_guard lock(mutex_);
  return closedByClient_;
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
    for (const Held& held : held_) FD_SET(held.socket, &readable);
    timeval wait{0, 20000};
    if (select(0, &readable, nullptr, nullptr, &wait) > 0) {
      // A held connection turns readable only when the client closes it.
      const auto closed = std::remove_if(held_.begin(), held_.end(), [&](const Held& held) {
        if (!FD_ISSET(held.socket, &readable) || !peerClosed(held.socket)) return false;
        closesocket(held.socket);
        std::lock_guard lock(mutex_);
        ++closedByClient_;
        return true;
      });
      held_.erase(closed, held_.end());
      if (FD_ISSET(listener_, &readable)) {
        const SOCKET client = accept(listener_, nullptr, nullptr);
        if (client != INVALID_SOCKET) answer(client);
      }
    }
    serveHeld();
  }
}

void LocalHttpServer::serveHeld() {
  const bool release = releaseSilent_.exchange(false);
  const DWORD now = GetTickCount();
  const auto ended = std::remove_if(held_.begin(), held_.end(), [&](Held& held) {
    if (held.unsent.empty()) {
      if (release) closesocket(held.socket);
      return release;
    }
    if (static_cast<LONG>(now - held.nextByte) < 0) return false;
    send(held.socket, held.unsent.data(), 1, 0);
    held.unsent.erase(0, 1);
    held.nextByte = now + kDripIntervalMs;
    return false;
  });
  held_.erase(ended, held_.end());
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
  }
  if (path == "/silent") {
    held_.push_back({client, "", 0});
    return;
  }
  if (path == "/drip") {
    // The head at once, then a body far longer than any version file, a byte at a time.
    const std::size_t bodySize = 100000;
    const std::string head = response({}, bodySize);
    send(client, head.data(), static_cast<int>(head.size()), 0);
    held_.push_back({client, std::string(bodySize, ';'), GetTickCount()});
    return;
  }
  const auto found = answers_.find(path);
  const HttpAnswer reply = found != answers_.end() ? found->second : HttpAnswer{404, "<html>Not Found</html>"};
  const std::string whole = response(reply, reply.body.size()) + reply.body;
  send(client, whole.data(), static_cast<int>(whole.size()), 0);
  shutdown(client, SD_SEND);
  closesocket(client);
}

}  // namespace kelvane::testing
