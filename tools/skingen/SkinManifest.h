#pragma once
// The skin images the program's windows, pages and controls ask for, as
// their code names them (backslashes included), with the strip each one
// must be: frame count, and one frame's size where the control depends on
// it. The pictures of the models are not listed: the shipped model files
// name those (config.xml "image" and the model description's "mouse_img").
//
// The generator's drawing and this list are kept apart on purpose: the skin
// test loads every entry from the generated folder, so a name drawn under
// the wrong spelling, size or frame count fails there.

#include <span>

namespace skin {

struct SkinImageEntry {
  const wchar_t* name;  // relative to the skin folder, as the caller writes it
  int frames;           // frames side by side
  int frameWidth;       // 0: any width that the frame count divides
  int height;           // 0: any height
  const char* use;
};

std::span<const SkinImageEntry> SkinManifest();

}  // namespace skin
