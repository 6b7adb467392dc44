#include "markup/MarkupEncoding.h"

#include "platform/Text.h"

// Index
//   1. Encoding names and the declared encoding
//   2. iconv conversions (legacy charsets)
//   3. Reading: units, DecodeUtf8, DecodeFileBytes
//   4. Writing: encoders (EncodeFileBytes itself closes the file)

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>

namespace markup {

namespace {

constexpr wchar_t kReplacement = 0xFFFD;
// Bytes without a declaration that are not UTF-8 are read in the code page
// that Western desktop systems use for legacy text.
constexpr const char* kAnsiCharset = "WINDOWS-1252";
constexpr std::size_t kHeadBytes = 1024;

// --- 1. Encoding names and the declared encoding ----------------------------

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool IsCharsetChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
         c == '.' || c == ':';
}

std::string Upper(std::string_view name) {
  std::string out(name);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  }
  return out;
}

bool IsUtf8Name(std::string_view name) {
  const std::string u = Upper(name);
  return u == "UTF-8" || u == "UTF8";
}

// Encodings with 16- or 32-bit units cannot describe a file that was read as
// bytes (its zero bytes are gone by then); such a declaration is ignored.
bool IsWideName(std::string_view name) {
  const std::string u = Upper(name);
  for (const char* prefix : {"UTF-16", "UTF16", "UTF-32", "UTF32", "UCS-2", "UCS2", "UCS-4", "UCS4", "UNICODE"}) {
    if (u.rfind(prefix, 0) == 0) return true;
  }
  return false;
}

// Reads an encoding name that starts at pos (after "=" and optional quotes).
std::string ReadCharsetValue(std::string_view s, std::size_t pos) {
  while (pos < s.size() && IsSpace(s[pos])) ++pos;
  if (pos >= s.size() || s[pos] != '=') return {};
  ++pos;
  while (pos < s.size() && (IsSpace(s[pos]) || s[pos] == '"' || s[pos] == '\'')) ++pos;
  std::size_t end = pos;
  while (end < s.size() && IsCharsetChar(s[end]) && end - pos < 64) ++end;
  return std::string(s.substr(pos, end - pos));
}

std::string DeclaredEncodingNarrow(std::string_view head) {
  head = head.substr(0, std::min(head.size(), kHeadBytes));
  std::size_t start = 0;
  while (start < head.size() && IsSpace(head[start])) ++start;
  if (head.substr(start, 5) == "<?xml" && start + 5 < head.size() &&
      (IsSpace(head[start + 5]) || head[start + 5] == '?')) {
    const std::size_t close = head.find("?>", start);
    const std::string_view decl = head.substr(start, close == std::string_view::npos ? head.npos : close - start);
    for (std::size_t at = decl.find("encoding"); at != std::string_view::npos; at = decl.find("encoding", at + 1)) {
      if (at > 0 && IsSpace(decl[at - 1])) {
        std::string value = ReadCharsetValue(decl, at + 8);
        if (!value.empty()) return value;
      }
    }
    return {};
  }
  // An HTML head: the charset of a meta element, either the one inside the
  // content of http-equiv="Content-Type" or a charset attribute of its own.
  std::string lower(head);
  for (char& c : lower) c = LowerAscii(c);
  for (std::size_t meta = lower.find("<meta"); meta != std::string::npos; meta = lower.find("<meta", meta + 5)) {
    const std::size_t close = lower.find('>', meta);
    const std::string_view tag =
        std::string_view(lower).substr(meta, close == std::string::npos ? lower.npos : close - meta);
    const std::size_t at = tag.find("charset");
    if (at == std::string_view::npos) continue;
    // Positions in the lower-case copy are those of the head itself, and the
    // name is returned as written.
    std::string value = ReadCharsetValue(head, meta + at + 7);
    if (!value.empty()) return value;
  }
  return {};
}

// --- 2. iconv conversions ------------------------------------------------------

// Converts bytes in the named charset to wide text. False when iconv does not
// know the name. Bytes that do not belong to the charset become U+FFFD.
bool IconvToWide(const std::string& charset, std::string_view in, std::wstring& out, MarkupLog& log) {
  iconv_t cd = iconv_open("WCHAR_T", charset.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  out.clear();
  out.reserve(in.size());
  char* inp = const_cast<char*>(in.data());
  std::size_t inLeft = in.size();
  wchar_t buffer[4096];
  std::uint64_t invalid = 0;
  while (true) {
    char* outp = reinterpret_cast<char*>(buffer);
    std::size_t outLeft = sizeof(buffer);
    const std::size_t r = inLeft == 0 ? iconv(cd, nullptr, nullptr, &outp, &outLeft)
                                      : iconv(cd, &inp, &inLeft, &outp, &outLeft);
    const int err = errno;
    out.append(buffer, static_cast<std::size_t>(reinterpret_cast<wchar_t*>(outp) - buffer));
    if (r != static_cast<std::size_t>(-1)) {
      if (inLeft == 0) break;
      continue;
    }
    if (err == E2BIG) continue;
    if (err == EILSEQ && inLeft > 0) {
      out.push_back(kReplacement);
      ++inp;
      --inLeft;
      ++invalid;
      continue;
    }
    if (err == EINVAL) {
      log.Add("truncation_error", {{"encoding", std::string_view(charset)}, {"length", inLeft}});
      out.push_back(kReplacement);
    }
    break;
  }
  iconv_close(cd);
  if (invalid > 0) log.Add("conversion_loss", {{"encoding", std::string_view(charset)}, {"count", invalid}});
  return true;
}

// --- 3. Reading ----------------------------------------------------------------

enum class Units { kUtf16Le, kUtf16Be, kUtf32Le, kUtf32Be };

std::wstring DecodeUnits(std::string_view bytes, Units units, MarkupLog& log) {
  const std::size_t size = (units == Units::kUtf16Le || units == Units::kUtf16Be) ? 2 : 4;
  const bool big = units == Units::kUtf16Be || units == Units::kUtf32Be;
  const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t count = bytes.size() / size;
  if (bytes.size() % size != 0) log.Add("truncation_error", {{"length", bytes.size() % size}});
  if (big) log.Add("endian_swap");
  std::wstring out;
  out.reserve(count);
  std::uint64_t nulls = 0;
  auto unit = [&](std::size_t i) -> std::uint32_t {
    const unsigned char* p = b + i * size;
    if (size == 2) return big ? (p[0] << 8 | p[1]) : (p[1] << 8 | p[0]);
    return big ? (std::uint32_t{p[0]} << 24 | p[1] << 16 | p[2] << 8 | p[3])
               : (std::uint32_t{p[3]} << 24 | p[2] << 16 | p[1] << 8 | p[0]);
  };
  for (std::size_t i = 0; i < count; ++i) {
    std::uint32_t c = unit(i);
    if (c == 0) {
      ++nulls;
      continue;
    }
    if (size == 2 && c >= 0xD800 && c <= 0xDBFF && i + 1 < count) {
      const std::uint32_t low = unit(i + 1);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        out.push_back(static_cast<wchar_t>(0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00)));
        ++i;
        continue;
      }
    }
    if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) c = kReplacement;
    out.push_back(static_cast<wchar_t>(c));
  }
  if (nulls > 0) log.Add("nulls_removed", {{"count", nulls}});
  return out;
}

// --- 4. Writing ------------------------------------------------------------------

void PutUnit(std::string& out, std::uint32_t unit, bool big) {
  if (big) {
    out.push_back(static_cast<char>(unit >> 8));
    out.push_back(static_cast<char>(unit & 0xFF));
  } else {
    out.push_back(static_cast<char>(unit & 0xFF));
    out.push_back(static_cast<char>(unit >> 8));
  }
}

std::string EncodeUtf16(std::wstring_view text, bool big, std::uint64_t& lost) {
  std::string out;
  out.reserve(text.size() * 2 + 2);
  PutUnit(out, 0xFEFF, big);
  for (wchar_t wc : text) {
    auto c = static_cast<std::uint32_t>(wc);
    if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) {
      c = '?';
      ++lost;
    }
    if (c >= 0x10000) {
      PutUnit(out, 0xD800 + ((c - 0x10000) >> 10), big);
      PutUnit(out, 0xDC00 + ((c - 0x10000) & 0x3FF), big);
    } else {
      PutUnit(out, c, big);
    }
  }
  return out;
}

std::string EncodeUtf8(std::wstring_view text, bool preamble, std::uint64_t& lost) {
  std::string out;
  out.reserve(text.size() + 3);
  if (preamble) out += "\xEF\xBB\xBF";
  for (wchar_t wc : text) {
    auto c = static_cast<std::uint32_t>(wc);
    if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) {
      c = '?';
      ++lost;
    }
    platform::AppendUtf8(out, c);
  }
  return out;
}

// Converts wide text to the named charset; characters the charset lacks are
// written as '?' and counted. False when iconv does not know the name.
bool IconvFromWide(const std::string& charset, std::wstring_view text, std::string& out, std::uint64_t& lost) {
  iconv_t cd = iconv_open(charset.c_str(), "WCHAR_T");
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  out.clear();
  out.reserve(text.size() + 16);
  char* inp = reinterpret_cast<char*>(const_cast<wchar_t*>(text.data()));
  std::size_t inLeft = text.size() * sizeof(wchar_t);
  char buffer[16384];
  wchar_t question = L'?';
  while (true) {
    char* outp = buffer;
    std::size_t outLeft = sizeof(buffer);
    const std::size_t r = inLeft == 0 ? iconv(cd, nullptr, nullptr, &outp, &outLeft)
                                      : iconv(cd, &inp, &inLeft, &outp, &outLeft);
    const int err = errno;
    out.append(buffer, static_cast<std::size_t>(outp - buffer));
    if (r != static_cast<std::size_t>(-1)) {
      if (inLeft == 0) break;
      continue;
    }
    if (err == E2BIG) continue;
    if ((err == EILSEQ || err == EINVAL) && inLeft >= sizeof(wchar_t)) {
      ++lost;
      inp += sizeof(wchar_t);
      inLeft -= sizeof(wchar_t);
      char* qin = reinterpret_cast<char*>(&question);
      std::size_t qLeft = sizeof(wchar_t);
      char qbuf[16];
      char* qout = qbuf;
      std::size_t qOutLeft = sizeof(qbuf);
      if (iconv(cd, &qin, &qLeft, &qout, &qOutLeft) != static_cast<std::size_t>(-1)) {
        out.append(qbuf, static_cast<std::size_t>(qout - qbuf));
      }
      continue;
    }
    break;
  }
  iconv_close(cd);
  return true;
}

}  // namespace

std::string DeclaredEncoding(std::string_view head) { return DeclaredEncodingNarrow(head); }

std::string DeclaredEncoding(std::wstring_view head) {
  head = head.substr(0, std::min(head.size(), kHeadBytes));
  std::string narrow(head.size(), '?');
  for (std::size_t i = 0; i < head.size(); ++i) {
    if (head[i] > 0 && head[i] < 0x80) narrow[i] = static_cast<char>(head[i]);
  }
  return DeclaredEncodingNarrow(narrow);
}

// --- 3. Reading (continued): UTF-8 and whole files -------------------------------

bool DecodeUtf8(std::string_view bytes, std::wstring& out, bool& truncated) {
  truncated = false;
  out.resize(bytes.size());
  wchar_t* o = out.data();
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const unsigned char* const end = p + bytes.size();
  bool ok = true;
  while (p < end) {
    // Most markup is ASCII: copy it eight bytes at a time.
    while (end - p >= 8) {
      std::uint64_t word;
      std::memcpy(&word, p, 8);
      if (word & 0x8080808080808080ull) break;
      for (int k = 0; k < 8; ++k) o[k] = static_cast<wchar_t>(p[k]);
      o += 8;
      p += 8;
    }
    if (p >= end) break;
    const std::uint32_t b0 = *p;
    if (b0 < 0x80) {
      *o++ = static_cast<wchar_t>(b0);
      ++p;
      continue;
    }
    std::ptrdiff_t len = 0;
    std::uint32_t cp = 0;
    std::uint32_t min = 0;
    if ((b0 & 0xE0) == 0xC0) {
      len = 2; cp = b0 & 0x1F; min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
      len = 3; cp = b0 & 0x0F; min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
      len = 4; cp = b0 & 0x07; min = 0x10000;
    }
    bool good = len > 0;
    if (good && end - p < len) {
      // The text ends inside a sequence: it cannot be completed.
      bool continuation = true;
      for (const unsigned char* q = p + 1; q < end; ++q) continuation = continuation && (*q & 0xC0) == 0x80;
      if (continuation) {
        truncated = true;
        *o++ = kReplacement;
        ok = false;
        break;
      }
      good = false;
    }
    for (std::ptrdiff_t k = 1; good && k < len; ++k) {
      if ((p[k] & 0xC0) != 0x80) {
        good = false;
      } else {
        cp = (cp << 6) | (p[k] & 0x3F);
      }
    }
    if (good && (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))) good = false;
    if (good) {
      *o++ = static_cast<wchar_t>(cp);
      p += len;
    } else {
      *o++ = kReplacement;
      ok = false;
      ++p;
    }
  }
  out.resize(static_cast<std::size_t>(o - out.data()));
  return ok;
}

std::wstring DecodeFileBytes(std::string_view bytes, MarkupLog& log, int& flags) {
  const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t n = bytes.size();
  std::string encoding;
  // Byte-order marks. FF FE 00 00 is taken as UTF-32 before FF FE as UTF-16,
  // since a UTF-16 text never starts with a zero unit that matters.
  if (n >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) {
    flags |= 0x4;
    log.Add("bom", {{"encoding", std::string_view("UTF-8")}});
    bytes.remove_prefix(3);
    encoding = "UTF-8";
  } else if (n >= 4 && b[0] == 0xFF && b[1] == 0xFE && b[2] == 0 && b[3] == 0) {
    log.Add("bom", {{"encoding", std::string_view("UTF-32LE")}});
    return DecodeUnits(bytes.substr(4), Units::kUtf32Le, log);
  } else if (n >= 2 && b[0] == 0xFF && b[1] == 0xFE) {
    flags |= 0x1;
    log.Add("bom", {{"encoding", std::string_view("UTF-16LE")}});
    return DecodeUnits(bytes.substr(2), Units::kUtf16Le, log);
  } else if (n >= 4 && b[0] == 0 && b[1] == 0 && b[2] == 0xFE && b[3] == 0xFF) {
    log.Add("bom", {{"encoding", std::string_view("UTF-32BE")}});
    return DecodeUnits(bytes.substr(4), Units::kUtf32Be, log);
  } else if (n >= 2 && b[0] == 0xFE && b[1] == 0xFF) {
    flags |= 0x80;
    log.Add("bom", {{"encoding", std::string_view("UTF-16BE")}});
    return DecodeUnits(bytes.substr(2), Units::kUtf16Be, log);
  } else if (n >= 4) {
    // Without a mark, a document that starts with "<" in 16- or 32-bit
    // units still shows its encoding through the zero bytes around it.
    const char* detected = nullptr;
    Units units = Units::kUtf16Le;
    if (b[0] == '<' && b[1] == 0 && b[2] == 0 && b[3] == 0) {
      detected = "UTF-32LE"; units = Units::kUtf32Le;
    } else if (b[0] == 0 && b[1] == 0 && b[2] == 0 && b[3] == '<') {
      detected = "UTF-32BE"; units = Units::kUtf32Be;
    } else if (b[0] == '<' && b[1] == 0 && b[2] != 0 && b[3] == 0) {
      detected = "UTF-16LE"; units = Units::kUtf16Le;
    } else if (b[0] == 0 && b[1] == '<' && b[2] == 0 && b[3] != 0) {
      detected = "UTF-16BE"; units = Units::kUtf16Be;
    }
    if (detected) {
      log.Add("utf16_detection", {{"encoding", std::string_view(detected)}});
      return DecodeUnits(bytes, units, log);
    }
  }

  // An 8-bit file: zero bytes carry nothing and are dropped.
  std::string stripped;
  if (std::memchr(bytes.data(), 0, bytes.size()) != nullptr) {
    stripped.reserve(bytes.size());
    for (char c : bytes) {
      if (c != 0) stripped.push_back(c);
    }
    log.Add("nulls_removed", {{"count", static_cast<std::uint64_t>(bytes.size() - stripped.size())}});
    bytes = stripped;
  }

  if (encoding.empty()) {
    encoding = DeclaredEncodingNarrow(bytes);
    if (!encoding.empty() && IsWideName(encoding)) encoding.clear();
    if (encoding.empty() && !bytes.empty() && bytes[0] == '<') encoding = "UTF-8";
  }

  std::wstring out;
  if (!encoding.empty() && !IsUtf8Name(encoding)) {
    if (IconvToWide(encoding, bytes, out, log)) {
      log.Add("converted_to", {{"encoding", std::string_view(encoding)}});
      return out;
    }
    log.Add("unknown_encoding", {{"encoding", std::string_view(encoding)}});
    encoding.clear();
  }
  bool truncated = false;
  const bool valid = DecodeUtf8(bytes, out, truncated);
  if (encoding.empty()) {
    if (valid) {
      log.Add("utf8_detection", {{"encoding", std::string_view("UTF-8")}});
    } else {
      log.Add("utf8_detection", {{"encoding", std::string_view(kAnsiCharset)}});
      if (IconvToWide(kAnsiCharset, bytes, out, log)) {
        log.Add("converted_to", {{"encoding", std::string_view(kAnsiCharset)}});
      }
      return out;
    }
  } else if (truncated) {
    log.Add("truncation_error", {{"encoding", std::string_view("UTF-8")}});
  }
  log.Add("converted_to", {{"encoding", std::string_view("UTF-8")}});
  return out;
}

std::string EncodeFileBytes(std::wstring_view text, MarkupLog& log, int flags) {
  std::uint64_t lost = 0;
  std::string out;
  std::string encoding;
  if (flags & 0x1) {
    encoding = "UTF-16LE";
    out = EncodeUtf16(text, false, lost);
  } else if (flags & 0x80) {
    encoding = "UTF-16BE";
    out = EncodeUtf16(text, true, lost);
  } else {
    encoding = DeclaredEncoding(text);
    if (encoding.empty() || IsUtf8Name(encoding) || !IconvFromWide(encoding, text, out, lost)) {
      if (!encoding.empty() && !IsUtf8Name(encoding)) {
        log.Add("unknown_encoding", {{"encoding", std::string_view(encoding)}});
      }
      encoding = "UTF-8";
      out = EncodeUtf8(text, (flags & 0x4) != 0, lost);
    }
  }
  log.Add("converted_to", {{"encoding", std::string_view(encoding)}, {"length", out.size()}});
  if (lost > 0) log.Add("conversion_loss", {{"encoding", std::string_view(encoding)}, {"count", lost}});
  return out;
}

}  // namespace markup
