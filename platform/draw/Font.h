#pragma once
// Fonts and text measuring (Pango over fontconfig). Families are matched by
// name ("Open Sans Semibold" is the Open Sans Semi-Bold face); characters
// the family lacks fall back to the CJK family of the current language
// (Noto Sans CJK SC, TC, JP or KR). Sizes are pixels.
//
// Text objects are per thread; every call may be made from any thread.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/draw/Geometry.h"

namespace platform {

struct FontSpec {
  std::wstring family = L"Open Sans Semibold";
  float pixelSize = 14.0f;
  int weight = 400;  // 400 regular, 600 semi-bold, 700 bold
  bool italic = false;
  bool underline = false;
  bool strikeout = false;
};

struct FontMetrics {
  float ascent = 0;
  float descent = 0;
  float height = 0;  // line height
};

// Width and height of the text's logical extent (one line unless maxWidth > 0,
// where it wraps at that width). Widths are not rounded.
SizeF MeasureText(std::wstring_view text, const FontSpec& font, float maxWidth = 0);
FontMetrics GetFontMetrics(const FontSpec& font);
// Caret support for edit fields: x offset of the caret before character
// index (0..size), and the character index nearest to x on a single line.
float TextCaretX(std::wstring_view text, const FontSpec& font, int index);
int TextIndexAtX(std::wstring_view text, const FontSpec& font, float x);
// Where a caret may stand in the text: the grapheme cluster boundaries, as
// ascending character indices from 0 to size (a base letter with its
// combining marks, or an emoji sequence, is one step).
std::vector<int> TextCursorStops(std::wstring_view text);
// The character indices where words start and end, ascending (for moving
// and selecting by word).
std::vector<int> TextWordStops(std::wstring_view text);

// True when every character of the text has a glyph in the family or its
// fallbacks (nothing would be drawn as a missing-glyph box).
bool CanRenderText(std::wstring_view text, const FontSpec& font);

// Registers a font file for this process (fontconfig application font) and
// returns its first family name, or an empty string when the file is not a
// usable font.
std::wstring AddApplicationFont(const std::filesystem::path& file);
// True when fontconfig knows a family of exactly this name (case-insensitive).
bool FontFamilyExists(std::wstring_view family);
// The language whose CJK glyph style the fallback uses: a Windows LCID
// (2052 SC, 1028 and 3076 TC, 1041 JP, 1042 KR). Others keep SC.
void SetTextLanguage(int lcid);

}  // namespace platform
