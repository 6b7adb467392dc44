#pragma once
// The program's places and per-user values: the program folder with the
// installed data, the per-user data folder named after the application, the
// per-user integer values, and the start-up DPI decision.

#include <filesystem>
#include <string>

namespace shell {

// Folder of the installed data (config.xml, language/, device/, skins/): the
// executable's folder, or <prefix>/share/orvane/ for an installed build
// whose executable folder holds no config.xml.
std::filesystem::path ProgramFolder();

// Per-user data folder: <data root>/<application name> Files/. Empty when no
// absolute data root exists or the application name cannot name a folder, so
// that nothing is ever written relative to the current folder.
std::filesystem::path DataFolder();

// Folder of the settings databases: DataFolder()/db, empty when DataFolder is.
std::filesystem::path DatabaseFolder();

// Creates a folder and every missing folder above it; refuses relative paths.
bool CreateFolderPath(const std::filesystem::path& path);

// Per-user integer values of the application key ("LCID", "DeviceType",
// "autorun_minimize", "exit_mode"). Reading a missing key creates it and
// reads 0, except "DeviceType", which never creates the key. A missing value
// or bad text reads 0. Writing does not create the key.
int ReadRegistryInt(const std::wstring& name);
bool WriteRegistryInt(const std::wstring& name, int value);

// True when the application key exists.
bool RegistryKeyExists();
// Creates the application key; true when it exists afterwards.
bool CreateRegistryKey();
// Reads a value's text; false when the key or value is missing.
bool ReadRegistryText(const std::wstring& name, std::wstring& text);
bool WriteRegistryText(const std::wstring& name, const std::wstring& text);

// Monitor scale from the effective horizontal DPI: 96 or less gives 100,
// 120 gives 125, 144/168/192 give 150/175/200; any other value gives 100.
int ScaleFromDpi(int dpi);

// Start-up's DPI decision: the process handles DPI itself when the primary
// screen is narrower than 1400 or lower than 800 pixels, or is exactly
// 1920 x 1080 at a scale above 125 %.
bool NeedsDpiAwareness(int screenWidth, int screenHeight, int effectiveDpi);

}  // namespace shell
