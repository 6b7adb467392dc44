#pragma once
// Per-user values: a small key of named text values, the program's stand-in
// for a registry key under the user's hive. The key is one file,
// $XDG_CONFIG_HOME/<key name>/values, in UTF-8 lines "name=value"; the key
// exists exactly when that file exists. Every change rewrites the file
// atomically, so a crash never leaves it half written.
//
// Safe to call from several threads; calls are serialised.

#include <filesystem>
#include <optional>
#include <string>

namespace platform {

class UserValues {
 public:
  // The key named keyName (the application name) under the config root.
  // An unsafe or empty name, or no config root, makes a key that never
  // exists and can never be created.
  explicit UserValues(const std::wstring& keyName);
  // A key stored in an explicit file.
  static UserValues AtFile(std::filesystem::path file);

  bool Exists() const;
  // Creates the key (an empty file, with its folder) when it is missing.
  bool Create() const;
  // The value's text, or nothing when the key or the value is missing.
  std::optional<std::wstring> Read(const std::wstring& name) const;
  // Sets the value. Does not create the key: false when the key is missing.
  bool Write(const std::wstring& name, const std::wstring& value) const;

  const std::filesystem::path& File() const { return file_; }

 private:
  UserValues() = default;
  std::filesystem::path file_;
};

}  // namespace platform
