#pragma once
// The firmware version texts: how a release number becomes a version text,
// how a version text is shown, and how two versions compare.

#include <string>
#include <string_view>

namespace update {

// The release number of the connected interface in upper-case hexadecimal
// without leading zeros: 0x0130 gives "130".
std::wstring ReleaseVersionText(unsigned releaseNumber);

// "V", the first character, a point and the last two characters: "130" is
// shown as "V1.30". Shorter texts keep the same rule ("5" gives "V5.5");
// an empty text gives "".
std::wstring VersionDisplayText(std::wstring_view version);

// Splits both texts at "." and compares part by part as numbers (the _wtoi
// rules). Different numbers of parts: 2 (the server's counts as newer).
// Otherwise, at the first differing pair, -1 when the local part is larger
// and 1 when the server's is; 0 when all parts are equal.
int CompareVersions(std::wstring_view local, std::wstring_view server);

}  // namespace update
