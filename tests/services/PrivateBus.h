#pragma once
// A private session bus (dbus-daemon) for one test, and a thread that serves
// a fake D-Bus service on it.

#include <sys/types.h>

#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "TestEnv.h"

struct sd_bus;

namespace services_test {

class PrivateBus {
 public:
  PrivateBus();
  ~PrivateBus();
  PrivateBus(const PrivateBus&) = delete;
  PrivateBus& operator=(const PrivateBus&) = delete;

  // Empty when the bus runs; else why not (for GTEST_SKIP).
  const std::string& Problem() const { return problem_; }
  const std::string& Address() const { return address_; }

 private:
  testenv::TempDir dir_;
  pid_t pid_ = -1;
  std::string address_;
  std::string problem_;
};

// Connects to the bus, runs setup on a thread of its own and then serves
// method calls there until it is destroyed or disconnected.
class BusService {
 public:
  BusService(const std::string& address, std::function<bool(sd_bus*)> setup);
  ~BusService();
  BusService(const BusService&) = delete;
  BusService& operator=(const BusService&) = delete;

  // Waits (bounded) for the setup; true when it succeeded.
  bool WaitReady();
  // Runs the function on the service's thread (for signals it sends).
  void Post(std::function<void(sd_bus*)> fn);
  // Leaves the bus at once: the service vanishes for everyone.
  void Disconnect();

 private:
  void Run(std::string address, std::function<bool(sd_bus*)> setup);

  std::mutex mutex_;
  std::deque<std::function<void(sd_bus*)>> posted_;
  int ready_ = 0;  // 0 waiting, 1 ready, -1 failed
  bool stop_ = false;
  bool disconnect_ = false;
  int wakeFd_ = -1;
  std::thread thread_;
};

// A client connection for the test thread itself; closed by the destructor.
class BusClient {
 public:
  explicit BusClient(const std::string& address);
  ~BusClient();
  sd_bus* Get() const { return bus_; }
  bool NameHasOwner(const char* name);

 private:
  sd_bus* bus_ = nullptr;
};

}  // namespace services_test
