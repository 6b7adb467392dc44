#pragma once
// A small HTTP server on 127.0.0.1 for the version check tests: it answers
// every request with the scripted reply and records the request lines.

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace services_test {

struct HttpScript {
  int status = 200;
  std::string body;
  bool sendLength = true;  // Content-Length, else the end of the body is the close
  bool silent = false;     // read the request and never answer
};

class LocalHttpServer {
 public:
  explicit LocalHttpServer(HttpScript script);
  ~LocalHttpServer();
  LocalHttpServer(const LocalHttpServer&) = delete;
  LocalHttpServer& operator=(const LocalHttpServer&) = delete;

  // "http://127.0.0.1:<port>", empty when the server could not start.
  std::string Address() const;
  std::vector<std::string> RequestLines();
  // True once a request arrived (its line is recorded).
  bool Requested();

 private:
  void Run();
  void Serve(int fd);

  HttpScript script_;
  int listenFd_ = -1;
  int wakeFd_ = -1;
  int port_ = 0;
  std::mutex mutex_;
  std::vector<std::string> requests_;
  std::thread thread_;
};

}  // namespace services_test
