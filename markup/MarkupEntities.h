#pragma once
// Entity references in attribute values: the five XML entities, the HTML 4
// named character entities (names matched without regard to case) and
// decimal or hexadecimal character references. A reference that names no
// character, or lacks its closing semicolon, stays as written.

#include <cstddef>
#include <string>
#include <string_view>

namespace markup {

// Longest entity name that is looked up; longer names are left as written.
inline constexpr std::size_t kMaxEntityName = 9;

// Code point of a named entity ("amp", "eacute", "EACUTE"); false if unknown.
bool LookupEntity(std::wstring_view name, char32_t& code);

// Appends the value to out with every recognised reference decoded.
void AppendDecoded(std::wstring_view value, std::wstring& out);

}  // namespace markup
