#include "platform/UserValues.h"

#include <fstream>
#include <map>
#include <mutex>
#include <sstream>

#include "platform/Paths.h"
#include "platform/Text.h"

namespace platform {

namespace fs = std::filesystem;

namespace {

std::mutex g_lock;

// Values longer than this are cut when read, as a fixed read buffer would.
constexpr size_t kMaxValueChars = 127;
constexpr std::uintmax_t kMaxFileBytes = 64 * 1024;

std::map<std::wstring, std::wstring> Parse(const std::string& bytes) {
  std::map<std::wstring, std::wstring> values;
  std::istringstream in(bytes);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const auto eq = line.find('=');
    if (eq == std::string::npos || eq == 0) continue;
    values[FromUtf8(line.substr(0, eq))] = FromUtf8(line.substr(eq + 1));
  }
  return values;
}

std::optional<std::string> Slurp(const fs::path& file) {
  std::error_code ec;
  const auto size = fs::file_size(file, ec);
  if (ec || size > kMaxFileBytes) return std::nullopt;
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// Names and values are single-line text; line breaks and '=' in names would
// corrupt the file, so they are refused.
bool IsStorable(const std::wstring& name, const std::wstring& value) {
  if (name.empty()) return false;
  for (wchar_t c : name)
    if (c == L'=' || c == L'\n' || c == L'\r' || c == L'\0') return false;
  for (wchar_t c : value)
    if (c == L'\n' || c == L'\r' || c == L'\0') return false;
  return true;
}

}  // namespace

UserValues::UserValues(const std::wstring& keyName) {
  const fs::path root = UserConfigRoot();
  if (!root.empty() && IsSafeFolderName(keyName)) file_ = root / fs::path(ToUtf8(keyName)) / "values";
}

UserValues UserValues::AtFile(fs::path file) {
  UserValues key;
  key.file_ = std::move(file);
  return key;
}

bool UserValues::Exists() const {
  if (file_.empty()) return false;
  std::error_code ec;
  return fs::is_regular_file(file_, ec);
}

bool UserValues::Create() const {
  std::lock_guard lock(g_lock);
  if (file_.empty()) return false;
  std::error_code ec;
  if (fs::is_regular_file(file_, ec)) return true;
  if (!CreateFolderPath(file_.parent_path())) return false;
  return WriteFileAtomically(file_, {});
}

std::optional<std::wstring> UserValues::Read(const std::wstring& name) const {
  std::lock_guard lock(g_lock);
  if (file_.empty()) return std::nullopt;
  const auto bytes = Slurp(file_);
  if (!bytes) return std::nullopt;
  auto values = Parse(*bytes);
  const auto it = values.find(name);
  if (it == values.end()) return std::nullopt;
  std::wstring value = it->second;
  if (value.size() > kMaxValueChars) value.resize(kMaxValueChars);
  return value;
}

bool UserValues::Write(const std::wstring& name, const std::wstring& value) const {
  std::lock_guard lock(g_lock);
  if (file_.empty() || !IsStorable(name, value)) return false;
  std::error_code ec;
  if (!fs::is_regular_file(file_, ec)) return false;
  const auto bytes = Slurp(file_);
  if (!bytes) return false;
  auto values = Parse(*bytes);
  values[name] = value;
  std::string out;
  for (const auto& [k, v] : values) out += ToUtf8(k) + "=" + ToUtf8(v) + "\n";
  return WriteFileAtomically(file_, out);
}

}  // namespace platform
