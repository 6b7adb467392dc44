#pragma once
// The toolkit's two colour forms. ARGB values (0xAARRGGBB) colour text, pens
// and fills; COLORREF values (0x00BBGGRR) colour window backgrounds, borders
// and swatches. Converting between them keeps red, green and blue.

#include <cstdint>

using BYTE = uint8_t;
using COLORREF = uint32_t;

constexpr COLORREF RGB(BYTE r, BYTE g, BYTE b) {
  return COLORREF(r) | (COLORREF(g) << 8) | (COLORREF(b) << 16);
}
constexpr BYTE GetRValue(COLORREF c) { return BYTE(c & 0xFF); }
constexpr BYTE GetGValue(COLORREF c) { return BYTE((c >> 8) & 0xFF); }
constexpr BYTE GetBValue(COLORREF c) { return BYTE((c >> 16) & 0xFF); }

namespace platform {

using ARGB = uint32_t;

constexpr ARGB MakeArgb(BYTE a, BYTE r, BYTE g, BYTE b) {
  return (ARGB(a) << 24) | (ARGB(r) << 16) | (ARGB(g) << 8) | ARGB(b);
}
constexpr BYTE ArgbA(ARGB c) { return BYTE(c >> 24); }
constexpr BYTE ArgbR(ARGB c) { return BYTE(c >> 16); }
constexpr BYTE ArgbG(ARGB c) { return BYTE(c >> 8); }
constexpr BYTE ArgbB(ARGB c) { return BYTE(c); }

// Drops alpha, keeps red, green and blue.
constexpr COLORREF ArgbToColorRef(ARGB c) { return RGB(ArgbR(c), ArgbG(c), ArgbB(c)); }
constexpr ARGB ColorRefToArgb(COLORREF c, BYTE alpha = 255) {
  return MakeArgb(alpha, GetRValue(c), GetGValue(c), GetBValue(c));
}

// Straight-alpha ARGB to the premultiplied form stored in bitmaps, and back.
ARGB Premultiply(ARGB straight);
ARGB Unpremultiply(ARGB premultiplied);

}  // namespace platform
