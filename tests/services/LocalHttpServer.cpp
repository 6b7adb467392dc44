#include "LocalHttpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>

namespace services_test {

LocalHttpServer::LocalHttpServer(HttpScript script) : script_(std::move(script)) {
  listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  wakeFd_ = ::eventfd(0, EFD_CLOEXEC);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = 0;
  socklen_t len = sizeof addr;
  if (listenFd_ < 0 || wakeFd_ < 0 || ::bind(listenFd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
      ::listen(listenFd_, 8) != 0 || ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
    return;
  }
  port_ = ntohs(addr.sin_port);
  thread_ = std::thread([this] { Run(); });
}

LocalHttpServer::~LocalHttpServer() {
  if (thread_.joinable()) {
    const std::uint64_t one = 1;
    [[maybe_unused]] ssize_t n = ::write(wakeFd_, &one, sizeof one);
    thread_.join();
  }
  if (listenFd_ >= 0) ::close(listenFd_);
  if (wakeFd_ >= 0) ::close(wakeFd_);
}

std::string LocalHttpServer::Address() const {
  return port_ == 0 ? std::string() : "http://127.0.0.1:" + std::to_string(port_);
}

std::vector<std::string> LocalHttpServer::RequestLines() {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

bool LocalHttpServer::Requested() { return !RequestLines().empty(); }

void LocalHttpServer::Run() {
  for (int i = 0; i < 64; ++i) {  // a test makes a handful of requests
    pollfd fds[2] = {{listenFd_, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
    if (::poll(fds, 2, 30000) <= 0 || fds[1].revents != 0) return;
    const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) continue;
    Serve(fd);
    ::close(fd);
  }
}

void LocalHttpServer::Serve(int fd) {
  timeval tv{5, 0};
  ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
  ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
  std::string request;
  char buffer[1024];
  while (request.find("\r\n\r\n") == std::string::npos && request.size() < 16384) {
    const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
    if (n <= 0) return;
    request.append(buffer, static_cast<size_t>(n));
  }
  {
    std::lock_guard<std::mutex> lock(mutex_);
    requests_.push_back(request.substr(0, request.find("\r\n")));
  }
  if (script_.silent) {
    pollfd wake{wakeFd_, POLLIN, 0};
    ::poll(&wake, 1, 30000);  // until the test ends (bounded)
    return;
  }
  std::string head = "HTTP/1.1 " + std::to_string(script_.status) + " X\r\nContent-Type: text/plain\r\n";
  if (script_.sendLength) head += "Content-Length: " + std::to_string(script_.body.size()) + "\r\n";
  head += "Connection: close\r\n\r\n";
  const std::string all = head + script_.body;
  size_t done = 0;
  while (done < all.size()) {
    const ssize_t n = ::send(fd, all.data() + done, all.size() - done, MSG_NOSIGNAL);
    if (n <= 0) return;  // the client stopped reading
    done += static_cast<size_t>(n);
  }
}

}  // namespace services_test
