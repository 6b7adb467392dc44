#pragma once
// Where the program's files live on a Linux desktop: the executable's folder,
// the per-user data and config roots of the XDG base-directory rules, and
// folder creation. Everything returns absolute paths or an empty path when
// no safe place exists; nothing is ever built relative to the current folder.

#include <filesystem>
#include <string_view>

namespace platform {

// Folder of the running executable (/proc/self/exe).
std::filesystem::path ExecutableFolder();

// The user's home: $HOME when absolute, else the password database. Empty
// when neither gives an absolute path.
std::filesystem::path HomeFolder();

// $XDG_DATA_HOME when absolute, else ~/.local/share; empty when unknown.
std::filesystem::path UserDataRoot();

// $XDG_CONFIG_HOME when absolute, else ~/.config; empty when unknown.
std::filesystem::path UserConfigRoot();

// $XDG_RUNTIME_DIR when absolute, else empty.
std::filesystem::path UserRuntimeRoot();

// True when the name can stand as one folder name below a user root: not
// empty, no '/', no NUL, and not "." or "..".
bool IsSafeFolderName(std::wstring_view name);

// Creates the folder and every missing folder above it. Succeeds at once
// when it already is a folder. Refuses (false) an empty or relative path.
bool CreateFolderPath(const std::filesystem::path& path);

// Writes the bytes to the file so that a crash leaves either the old or the
// new content: a temporary file in the same folder, fsync, rename, fsync of
// the folder. False when any step fails; the old file is then untouched.
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

}  // namespace platform
