#include "update/FirmwareUpdateCheck.h"

#include "platform/Text.h"
#include "update/FirmwareVersion.h"

namespace update {

namespace {

std::string_view TrimBlanks(std::string_view text) {
  const char* blanks = " \t\r\n";
  const size_t first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

}  // namespace

FirmwareUpdateCheck::FirmwareUpdateCheck(UpdateObserver& observer) : observer_(observer) {
  httpOptions_.userAgent = "IIC2.0/PC 5.5.0000";
  httpOptions_.headers = {"Accept: */*", "Pragma: no-cache", "Cache-Control: no-cache"};
}

void FirmwareUpdateCheck::SetFirmwareAddress(const std::wstring& address) {
  std::lock_guard<std::mutex> lock(mutex_);
  firmwareAddress_ = address;
}

void FirmwareUpdateCheck::SetHttpOptions(const platform::HttpOptions& options) {
  const std::string agent = httpOptions_.userAgent;
  const std::vector<std::string> headers = httpOptions_.headers;
  httpOptions_ = options;
  if (httpOptions_.userAgent.empty()) httpOptions_.userAgent = agent;
  if (httpOptions_.headers.empty()) httpOptions_.headers = headers;
}

void FirmwareUpdateCheck::ShowFirmwareVersion(unsigned releaseNumber) {
  const std::wstring version = ReleaseVersionText(releaseNumber);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    localVersion_ = version;
  }
  observer_.OnFirmwareVersion(version);
}

int FirmwareUpdateCheck::HttpGetText(const std::wstring& url, std::wstring& text) {
  continue_ = true;
  const platform::HttpReply reply = platform::HttpGet(platform::ToUtf8(url), httpOptions_, &continue_);
  using Status = platform::HttpReply::Status;
  switch (reply.status) {
    case Status::NoSession:
      return 0;
    case Status::Cancelled:
      return -2;
    case Status::Failed:
    case Status::TooLarge:
      return -1;
    case Status::Ok:
      break;
  }
  text = platform::FromUtf8(TrimBlanks(reply.body));
  return continue_ ? 1 : -2;
}

void FirmwareUpdateCheck::CancelTransfer() { continue_ = false; }

void FirmwareUpdateCheck::CheckOnlineVersion() {
  std::wstring address;
  std::wstring local;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    serverVersion_.clear();
    address = firmwareAddress_;
    local = localVersion_;
  }
  std::wstring text;
  const int result = HttpGetText(address + L"/mouse/version", text);
  if (result != 1 || text.empty() || text.size() > 9) return;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    serverVersion_ = text;
  }
  if (local.empty()) return;
  if (CompareVersions(local, text) >= 1) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      updateState_ = 1;
    }
    observer_.OnUpdateAvailable(text);
    return;
  }
  {
    std::lock_guard<std::mutex> lock(mutex_);
    updateState_ = 2;
  }
  observer_.OnNoUpdate();
}

std::wstring FirmwareUpdateCheck::LocalVersion() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return localVersion_;
}

std::wstring FirmwareUpdateCheck::ServerVersion() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return serverVersion_;
}

int FirmwareUpdateCheck::UpdateState() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return updateState_;
}

}  // namespace update
