#pragma once
// FirmwareUpdateCheck: the mouse's firmware version and the question to the
// model's web endpoint whether a newer one exists.
//
// ShowFirmwareVersion and CheckOnlineVersion run on the worker thread; the
// getters may be called from any thread. Every HTTP exchange is bounded by
// the connect and total time-outs and the reply cap of the options, so a
// silent server never holds the worker for long.

#include <atomic>
#include <mutex>
#include <string>

#include "platform/http/HttpGet.h"
#include "update/UpdateObserver.h"

namespace update {

class FirmwareUpdateCheck {
 public:
  explicit FirmwareUpdateCheck(UpdateObserver& observer);

  // The "url" of the model description's "firmware" element ("" for none).
  void SetFirmwareAddress(const std::wstring& address);
  // Time-outs and reply cap (5 s, 10 s and 64 KiB unless changed).
  void SetHttpOptions(const platform::HttpOptions& options);

  // Takes the release number of the connected interface as the local version
  // and reports it.
  void ShowFirmwareVersion(unsigned releaseNumber);

  // Asks <firmware address>/mouse/version and reports a newer version or
  // none. No answer, an error or a reply of 10 characters or more ends the
  // check silently with an empty server version.
  void CheckOnlineVersion();

  // GET of the address: 1 with the reply in text, 0 when no HTTP session can
  // start, -1 when the address cannot be fetched (no connection, time-out,
  // error status, reply over the cap), -2 when CancelTransfer was called
  // during the transfer. The reply is read as UTF-8 with blanks around it
  // removed.
  int HttpGetText(const std::wstring& url, std::wstring& text);

  // Clears the continue flag: a running transfer stops soon and its
  // HttpGetText returns -2. The next HttpGetText sets the flag again.
  void CancelTransfer();

  std::wstring LocalVersion() const;
  std::wstring ServerVersion() const;
  // 0 before any check, 1 when the server's version is newer, 2 otherwise.
  int UpdateState() const;

 private:
  UpdateObserver& observer_;
  platform::HttpOptions httpOptions_;
  std::atomic<bool> continue_{true};

  mutable std::mutex mutex_;  // guards the fields below
  std::wstring firmwareAddress_;
  std::wstring localVersion_;
  std::wstring serverVersion_ = L"130";
  int updateState_ = 0;
};

}  // namespace update
