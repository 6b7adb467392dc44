#include "app/SingleInstance.h"

#include "shell/AppNames.h"

namespace app {

SingleInstance::SingleInstance(platform::InstanceOptions options) : options_(std::move(options)) {}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::Claim() {
  const std::wstring name = shell::ApplicationName();
  if (lock_ == nullptr) lock_ = std::make_unique<platform::InstanceLock>(name, options_);
  if (lock_->TryClaim() == platform::InstanceLock::Claim::First) return true;
  platform::InstanceLock::SendActivate(name, options_);
  return false;
}

void SingleInstance::SetEvents(platform::InstanceEvents* events) {
  if (lock_ != nullptr) lock_->SetEvents(events);
}

bool IsQuitRequest(std::uint32_t message, std::int64_t lParam) {
  return message == platform::kQuitMessage && lParam == 610;
}

}  // namespace app
