#pragma once
// Where the program's files live on a Linux desktop: the executable's folder,
// the per-user data and config roots of the XDG base-directory rules, and
// folder creation. Everything returns absolute paths or an empty path when
// no safe place exists; nothing is ever built relative to the current folder.

#include <filesystem>
#include <string>
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
// whole new content: a temporary file beside the target, fsync, rename, and
// an fsync of the folder so that the rename itself is durable. A symbolic
// link is followed and the file it names is replaced, the link kept. An
// existing file keeps its permission bits; a new one gets 0666 less the
// umask. A folder, or a file the user may not write, is refused as a direct
// write would refuse it. False when any step fails, with the system's text
// for the failure in *error (when given); the old file is then untouched and
// no temporary file is left behind.
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes, std::string* error = nullptr);

}  // namespace platform
