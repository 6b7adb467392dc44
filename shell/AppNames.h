#pragma once
// The program's two process-wide names: the application name, which names
// the per-user values, the data folder, the single-instance lock and the
// main window, and the face of the program's default font. Start-up sets the
// application name from the catalog before anything uses it; app/ hands both
// to the toolkit. Safe from any thread.

#include <string>

namespace shell {

// The application name until the catalog names another.
inline constexpr const wchar_t* kDefaultApplicationName = L"Velmora";
// The default font face, and the face a language change switches to.
inline constexpr const wchar_t* kDefaultFontName = L"Open Sans Semibold";

std::wstring ApplicationName();
void SetApplicationName(const std::wstring& name);

std::wstring FontName();
void SetFontName(const std::wstring& name);

}  // namespace shell
