#pragma once
// Conversions between the bytes of an XML file and the wide text that
// MarkupDocument keeps: byte-order marks, the declared encoding (XML
// declaration or HTML meta charset), UTF-8 detection and the legacy 8-bit
// charsets, whose names are those glibc's iconv knows (compared without
// regard to case).

#include <string>
#include <string_view>

#include "markup/MarkupLog.h"

namespace markup {

// The encoding a document head declares: the "encoding" of a leading XML
// declaration or, in an HTML head, the meta charset. Empty when none.
std::string DeclaredEncoding(std::string_view head);
std::string DeclaredEncoding(std::wstring_view head);

// Turns the bytes of a file into wide text. flags receives the byte-order
// mark bits of MarkupDocument (UTF-8 0x4, UTF-16LE 0x1, UTF-16BE 0x80).
std::wstring DecodeFileBytes(std::string_view bytes, MarkupLog& log, int& flags);

// Turns wide text into the bytes of a file in the encoding its declaration
// names (UTF-8 when none or unknown). flags selects a byte-order mark.
std::string EncodeFileBytes(std::wstring_view text, MarkupLog& log, int flags);

// Decodes UTF-8; malformed sequences become U+FFFD. Returns false when a
// sequence was malformed; truncated is set when the text ends inside one.
bool DecodeUtf8(std::string_view bytes, std::wstring& out, bool& truncated);

}  // namespace markup
