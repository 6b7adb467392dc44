#pragma once
// Text helpers shared by every layer: the one place where UTF-8 and wide
// strings are converted, and the lenient number readers whose rules the
// stored values rely on (missing or bad text reads 0).
//
// Wide strings hold one code point per unit (wchar_t is 32-bit on Linux).

#include <string>
#include <string_view>

namespace platform {

// UTF-8 to wide. Invalid or truncated sequences become U+FFFD; never throws.
std::wstring FromUtf8(std::string_view utf8);

// Wide to UTF-8. Code points that cannot be encoded (surrogates, values above
// U+10FFFF) become U+FFFD.
std::string ToUtf8(std::wstring_view wide);

// Appends one code point as UTF-8. The caller makes sure it is encodable
// (not a surrogate, at most U+10FFFF).
void AppendUtf8(std::string& out, char32_t cp);

// True when the bytes are well-formed UTF-8 (no overlongs, no surrogates).
bool IsValidUtf8(std::string_view bytes);

// Reads a decimal integer the way _wtoi does: optional leading white space,
// an optional sign, then digits up to the first non-digit. No digits gives 0;
// values outside the int range saturate.
int WToI(std::wstring_view text);

// Reads an integer in the given base the way wcstol does (base 16 accepts an
// optional 0x prefix). No digits gives 0; overflow saturates to the long range.
long WcsToL(std::wstring_view text, int base);

// printf-style "%d" of an int as a wide string.
std::wstring IntToWString(int value);

}  // namespace platform
