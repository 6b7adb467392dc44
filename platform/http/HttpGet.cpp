#include "platform/http/HttpGet.h"

#include <curl/curl.h>

#include <mutex>

namespace platform {

namespace {

struct Transfer {
  const HttpOptions* options;
  const std::atomic<bool>* keepGoing;
  std::string body;
  bool tooLarge = false;
};

size_t OnData(char* data, size_t size, size_t count, void* user) {
  auto* t = static_cast<Transfer*>(user);
  const size_t bytes = size * count;
  if (t->body.size() + bytes > t->options->maxBytes) {
    t->tooLarge = true;
    return 0;  // makes curl stop with a write error
  }
  t->body.append(data, bytes);
  return bytes;
}

int OnProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  auto* t = static_cast<Transfer*>(user);
  return (t->keepGoing != nullptr && !t->keepGoing->load()) ? 1 : 0;
}

bool StartCurl() {
  static std::once_flag once;
  static bool ok = false;
  std::call_once(once, [] { ok = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK; });
  return ok;
}

}  // namespace

HttpReply HttpGet(const std::string& url, const HttpOptions& options, const std::atomic<bool>* keepGoing) {
  HttpReply reply;
  CURL* curl = StartCurl() ? curl_easy_init() : nullptr;
  if (curl == nullptr) {
    reply.status = HttpReply::Status::NoSession;
    reply.error = "the HTTP library could not start";
    return reply;
  }
  Transfer transfer{&options, keepGoing, {}, false};
  curl_slist* headers = nullptr;
  for (const std::string& h : options.headers) headers = curl_slist_append(headers, h.c_str());

  char errorText[CURL_ERROR_SIZE] = {};
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 3L);
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);  // time-outs without SIGALRM, safe in threads
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(options.connectTimeout.count()));
  curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, static_cast<long>(options.totalTimeout.count()));
  curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(options.maxBytes));
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, OnData);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &transfer);
  curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, OnProgress);
  curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &transfer);
  curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorText);
  if (!options.userAgent.empty()) curl_easy_setopt(curl, CURLOPT_USERAGENT, options.userAgent.c_str());
  if (headers != nullptr) curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);

  const CURLcode code = curl_easy_perform(curl);
  curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &reply.httpCode);
  curl_slist_free_all(headers);
  curl_easy_cleanup(curl);

  if (code == CURLE_ABORTED_BY_CALLBACK) {
    reply.status = HttpReply::Status::Cancelled;
    reply.error = "cancelled";
  } else if (transfer.tooLarge || code == CURLE_FILESIZE_EXCEEDED) {
    reply.status = HttpReply::Status::TooLarge;
    reply.error = "reply larger than " + std::to_string(options.maxBytes) + " bytes";
  } else if (code != CURLE_OK) {
    reply.status = HttpReply::Status::Failed;
    reply.error = errorText[0] != '\0' ? errorText : curl_easy_strerror(code);
  } else if (reply.httpCode < 200 || reply.httpCode > 299) {
    // curl succeeds on any status; an error page is no answer.
    reply.status = HttpReply::Status::Failed;
    reply.error = "HTTP status " + std::to_string(reply.httpCode);
  } else {
    reply.status = HttpReply::Status::Ok;
    reply.body = std::move(transfer.body);
  }
  return reply;
}

}  // namespace platform
