#pragma once
// Color: an ARGB colour 0xAARRGGBB, the form used for text, pens and fills.
// Window backgrounds, borders and swatches use COLORREF 0x00BBGGRR instead;
// converting between the two keeps red, green and blue.

#include "toolkit/core/WinTypes.h"

namespace DUI {

using ARGB = uint32_t;

class Color {
 public:
  constexpr Color() = default;
  constexpr Color(ARGB argb) : argb_(argb) {}
  constexpr Color(BYTE a, BYTE r, BYTE g, BYTE b)
      : argb_((static_cast<ARGB>(a) << 24) | (static_cast<ARGB>(r) << 16) |
              (static_cast<ARGB>(g) << 8) | b) {}
  constexpr Color(BYTE r, BYTE g, BYTE b) : Color(255, r, g, b) {}

  constexpr ARGB GetValue() const { return argb_; }
  constexpr void SetValue(ARGB argb) { argb_ = argb; }
  constexpr BYTE GetA() const { return static_cast<BYTE>(argb_ >> 24); }
  constexpr BYTE GetR() const { return static_cast<BYTE>(argb_ >> 16); }
  constexpr BYTE GetG() const { return static_cast<BYTE>(argb_ >> 8); }
  constexpr BYTE GetB() const { return static_cast<BYTE>(argb_); }

  // Drops alpha: 0x00BBGGRR.
  constexpr COLORREF ToCOLORREF() const { return RGB(GetR(), GetG(), GetB()); }
  constexpr void SetFromCOLORREF(COLORREF c) {
    argb_ = Color(255, GetRValue(c), GetGValue(c), GetBValue(c)).argb_;
  }
  static constexpr Color FromCOLORREF(COLORREF c, BYTE alpha = 255) {
    return Color(alpha, GetRValue(c), GetGValue(c), GetBValue(c));
  }

  constexpr bool operator==(const Color& o) const { return argb_ == o.argb_; }
  constexpr bool operator!=(const Color& o) const { return argb_ != o.argb_; }

 private:
  ARGB argb_ = 0xFF000000;
};

}  // namespace DUI
