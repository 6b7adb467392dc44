#pragma once
// Internal to platform/draw: the per-thread Pango state behind Font.h and
// Canvas::DrawText. Includes Pango; never include it from a public header.

#include <pango/pangocairo.h>

#include <string_view>

#include "platform/draw/Font.h"

namespace platform::text {

// A layout for the text and font, owned by the per-thread cache (valid until
// the next call on this thread). width <= 0 means unbounded; wrap and
// ellipsis apply only with a width.
PangoLayout* GetLayout(std::wstring_view text, const FontSpec& font, float width, bool wrap,
                       bool ellipsis, PangoAlignment align);

}  // namespace platform::text
