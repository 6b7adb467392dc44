#include "shell/Environment.h"

#include <system_error>

#include "platform/Paths.h"
#include "platform/Text.h"
#include "platform/UserValues.h"
#include "shell/AppNames.h"

namespace shell {

namespace fs = std::filesystem;

namespace {

platform::UserValues AppKey() { return platform::UserValues(ApplicationName()); }

}  // namespace

fs::path ProgramFolder() {
  const fs::path exe = platform::ExecutableFolder();
  std::error_code ec;
  if (!exe.empty() && !fs::exists(exe / "config.xml", ec)) {
    const fs::path installed = exe.parent_path() / "share" / "orvane";
    if (fs::exists(installed / "config.xml", ec)) return installed;
  }
  return exe;
}

fs::path DataFolder() {
  const fs::path root = platform::UserDataRoot();
  const std::wstring name = ApplicationName();
  if (root.empty() || !platform::IsSafeFolderName(name)) return {};
  const std::wstring folder = name + L" Files";
  return root / fs::path(platform::ToUtf8(folder));
}

fs::path DatabaseFolder() {
  const fs::path data = DataFolder();
  return data.empty() ? fs::path() : data / "db";
}

bool CreateFolderPath(const fs::path& path) { return platform::CreateFolderPath(path); }

bool RegistryKeyExists() { return AppKey().Exists(); }

bool CreateRegistryKey() { return AppKey().Create(); }

bool ReadRegistryText(const std::wstring& name, std::wstring& text) {
  auto value = AppKey().Read(name);
  if (!value) return false;
  text = *value;
  return true;
}

bool WriteRegistryText(const std::wstring& name, const std::wstring& text) { return AppKey().Write(name, text); }

int ReadRegistryInt(const std::wstring& name) {
  const platform::UserValues key = AppKey();
  if (!key.Exists()) {
    if (name != L"DeviceType") key.Create();
    return 0;
  }
  const auto value = key.Read(name);
  return value ? platform::WToI(*value) : 0;
}

bool WriteRegistryInt(const std::wstring& name, int value) {
  return AppKey().Write(name, platform::IntToWString(value));
}

int ScaleFromDpi(int dpi) {
  if (dpi <= 96) return 100;
  switch (dpi) {
    case 120: return 125;
    case 144: return 150;
    case 168: return 175;
    case 192: return 200;
    default: return 100;
  }
}

bool NeedsDpiAwareness(int screenWidth, int screenHeight, int effectiveDpi) {
  if (screenWidth < 1400 || screenHeight < 800) return true;
  return screenWidth == 1920 && screenHeight == 1080 && ScaleFromDpi(effectiveDpi) > 125;
}

}  // namespace shell
