#pragma once
// The program's icon: one drawing, written as the window and tray image of
// the skin (orvane.png), as the hicolor theme's PNG sizes and as SVG. The
// geometry lives in a 64-unit box and is scaled to each size, so the
// launcher, the window and the tray show the same picture.

#include <filesystem>
#include <span>
#include <string>

#include "platform/draw/Canvas.h"

namespace skin {

// The hicolor sizes the icon theme gets, in pixels.
std::span<const int> ProgramIconSizes();

// Draws the icon into the size x size box at (0,0).
void DrawProgramIcon(platform::Canvas& c, float size);

// The same drawing as an SVG document (viewBox 0 0 64 64).
std::string ProgramIconSvg();

// Writes <folder>/hicolor/NxN/apps/<name>.png for every size and
// <folder>/hicolor/scalable/apps/<name>.svg; false when a file cannot be
// written (the reason on standard error).
bool WriteProgramIconTheme(const std::filesystem::path& folder, const std::string& name);

}  // namespace skin
