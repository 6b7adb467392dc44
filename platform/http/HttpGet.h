#pragma once
// One HTTP GET with a connect time-out, a total time-out and a size cap, so
// that a silent or hostile server can never hold the caller for long or fill
// its memory. Nothing throws; the reply says what happened.

#include <atomic>
#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

namespace platform {

struct HttpOptions {
  std::chrono::milliseconds connectTimeout{5000};
  std::chrono::milliseconds totalTimeout{10000};
  std::size_t maxBytes = 64 * 1024;
  std::string userAgent;
  std::vector<std::string> headers;  // "Name: value"
};

struct HttpReply {
  enum class Status {
    Ok,         // a 2xx answer within the limits; body holds it
    NoSession,  // the HTTP library could not start
    Failed,     // no connection, time-out, an error status or a bad address
    TooLarge,   // the body passed maxBytes; the transfer was stopped
    Cancelled,  // *keepGoing turned false during the transfer
  };
  Status status = Status::Failed;
  long httpCode = 0;
  std::string body;
  std::string error;  // for the log
};

// Fetches the address (http or https only; at most three redirects). When
// keepGoing is given, the transfer stops soon after it turns false.
HttpReply HttpGet(const std::string& url, const HttpOptions& options, const std::atomic<bool>* keepGoing = nullptr);

}  // namespace platform
