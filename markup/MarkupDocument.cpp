#include "markup/MarkupDocument.h"

// Index
//   1. Character classes and index records
//   2. Impl: index blocks, links, tag scanning
//   3. Parsing (ParseText)
//   4. Navigation and attributes
//   5. Writing (AddElement, SetAttribute)
//   6. Files (LoadFile, SaveFile)

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <cwchar>
#include <unordered_map>

#include "markup/MarkupEncoding.h"
#include "markup/MarkupEntities.h"
#include "markup/MarkupLog.h"
#include "platform/Paths.h"

using markup::MarkupLog;

namespace {

// --- 1. Character classes and index records -------------------------------------

constexpr unsigned char kNameStartClass = 1;
constexpr unsigned char kNameCharClass = 2;

struct AsciiClasses {
  unsigned char bits[128] = {};
  constexpr AsciiClasses() {
    for (int c = 'a'; c <= 'z'; ++c) bits[c] = kNameStartClass | kNameCharClass;
    for (int c = 'A'; c <= 'Z'; ++c) bits[c] = kNameStartClass | kNameCharClass;
    for (int c = '0'; c <= '9'; ++c) bits[c] = kNameCharClass;
    bits[static_cast<int>('_')] = bits[static_cast<int>(':')] = kNameStartClass | kNameCharClass;
    bits[static_cast<int>('-')] = bits[static_cast<int>('.')] = kNameCharClass;
  }
};
constexpr AsciiClasses kAscii;

// The name characters of XML 1.0 (fifth edition) beyond ASCII.
bool IsWideNameStart(std::uint32_t c) {
  return (c >= 0xC0 && c <= 0xD6) || (c >= 0xD8 && c <= 0xF6) || (c >= 0xF8 && c <= 0x2FF) ||
         (c >= 0x370 && c <= 0x37D) || (c >= 0x37F && c <= 0x1FFF) || (c >= 0x200C && c <= 0x200D) ||
         (c >= 0x2070 && c <= 0x218F) || (c >= 0x2C00 && c <= 0x2FEF) || (c >= 0x3001 && c <= 0xD7FF) ||
         (c >= 0xF900 && c <= 0xFDCF) || (c >= 0xFDF0 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0xEFFFF);
}

bool IsWideNameChar(std::uint32_t c) {
  return IsWideNameStart(c) || c == 0xB7 || (c >= 0x300 && c <= 0x36F) || (c >= 0x203F && c <= 0x2040);
}

inline bool IsNameStart(wchar_t c) {
  const auto u = static_cast<std::uint32_t>(c);
  return u < 128 ? (kAscii.bits[u] & kNameStartClass) != 0 : IsWideNameStart(u);
}

inline bool IsNameChar(wchar_t c) {
  const auto u = static_cast<std::uint32_t>(c);
  return u < 128 ? (kAscii.bits[u] & kNameCharClass) != 0 : IsWideNameChar(u);
}

inline bool IsSpace(wchar_t c) { return c == L' ' || c == L'\n' || c == L'\r' || c == L'\t'; }

// First ch in [p, end), or nullptr. Markup is made of short runs (values,
// line breaks between tags), so a plain loop looks at the first characters
// before the vectorised search takes over for long ones.
inline const wchar_t* FindChar(const wchar_t* p, const wchar_t* end, wchar_t ch) {
  const wchar_t* const shortEnd = end - p > 32 ? p + 32 : end;
  for (; p < shortEnd; ++p) {
    if (*p == ch) return p;
  }
  return p < end ? std::wmemchr(p, ch, static_cast<std::size_t>(end - p)) : nullptr;
}

inline wchar_t FoldAscii(wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + 32) : c; }

bool NamesEqual(std::wstring_view a, std::wstring_view b, bool ignoreCase) {
  if (a.size() != b.size()) return false;
  if (!ignoreCase) {
    for (std::size_t i = 0; i < a.size(); ++i) {
      if (a[i] != b[i]) return false;
    }
    return true;
  }
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  }
  return true;
}

bool IsValidName(std::wstring_view name) {
  if (name.empty() || !IsNameStart(name[0])) return false;
  return std::all_of(name.begin() + 1, name.end(), IsNameChar);
}

// Search names end at white space or at one of the path characters.
std::wstring_view SearchName(std::wstring_view name) {
  std::size_t n = 0;
  while (n < name.size() && !IsSpace(name[n]) && name[n] != L'=' && name[n] != L'/' && name[n] != L'[' &&
         name[n] != L']') {
    ++n;
  }
  return name.substr(0, n);
}

constexpr std::uint32_t kBlockSize = 1u << 16;
constexpr std::uint32_t kStartTagMask = (1u << 22) - 1;  // also "too long to store"
constexpr std::uint32_t kEndTagMax = (1u << 10) - 1;     // also "too long to store"
// Offsets are 32-bit; a text must leave room for them.
constexpr std::size_t kMaxTextLength = 0xFFFFFF00u;

constexpr std::uint32_t kStateEmpty = 0x1;        // written as an empty-element tag
constexpr std::uint32_t kStateImplicitEnd = 0x2;  // ended without its end tag
constexpr std::uint32_t kStateIllFormed = 0x4;    // record 0 only

// One attribute as it stands in a start tag: offsets into the text.
struct AttributeSpan {
  std::size_t nameBegin = 0;
  std::size_t nameEnd = 0;
  std::size_t valueBegin = 0;
  std::size_t valueEnd = 0;
  wchar_t quote = 0;  // 0 when unquoted
};

// Walks the attributes of a start tag that begins at tagStart, looking at
// that tag only. After the last one, Close() is the offset of the tag's
// closing "/>" or ">".
class AttributeScanner {
 public:
  AttributeScanner(std::wstring_view text, std::size_t tagStart) : text_(text), pos_(tagStart + 1) {
    while (pos_ < text_.size() && IsNameChar(text_[pos_])) ++pos_;
  }

  bool Next(AttributeSpan& a) {
    const std::size_t n = text_.size();
    std::size_t p = pos_;
    while (p < n && IsSpace(text_[p])) ++p;
    close_ = p;
    if (p >= n || !IsNameStart(text_[p])) return false;
    a.nameBegin = p;
    while (p < n && IsNameChar(text_[p])) ++p;
    a.nameEnd = p;
    while (p < n && IsSpace(text_[p])) ++p;
    if (p >= n || text_[p] != L'=') return false;
    ++p;
    while (p < n && IsSpace(text_[p])) ++p;
    if (p < n && (text_[p] == L'"' || text_[p] == L'\'')) {
      a.quote = text_[p];
      a.valueBegin = p + 1;
      const wchar_t* const base = text_.data();
      const wchar_t* const close = FindChar(base + p + 1, base + n, a.quote);
      if (close == nullptr) return false;
      a.valueEnd = static_cast<std::size_t>(close - base);
      p = a.valueEnd + 1;
    } else {
      a.quote = 0;
      a.valueBegin = p;
      while (p < n && !IsSpace(text_[p]) && text_[p] != L'>') ++p;
      a.valueEnd = p;
    }
    pos_ = p;
    return true;
  }

  std::size_t Close() const { return close_; }
  // Offset behind the attribute last returned by Next.
  std::size_t Position() const { return pos_; }
  void Resume(std::size_t pos) { pos_ = pos; }

 private:
  std::wstring_view text_;
  std::size_t pos_;
  std::size_t close_ = 0;
};

std::wstring Escape(std::wstring_view value) {
  std::wstring out;
  out.reserve(value.size() + 8);
  for (wchar_t c : value) {
    switch (c) {
      case L'<': out += L"&lt;"; break;
      case L'&': out += L"&amp;"; break;
      case L'>': out += L"&gt;"; break;
      case L'\'': out += L"&apos;"; break;
      case L'"': out += L"&quot;"; break;
      default: out.push_back(c);
    }
  }
  return out;
}

// Counts of open elements by name. The parser only needs it once an end tag
// does not close the innermost element, which keeps the common path free of
// hashing while mismatched end tags in a hostile text stay linear.
struct NameHash {
  bool ignoreCase;
  std::size_t operator()(std::wstring_view s) const {
    std::size_t h = 1469598103934665603ull;
    for (wchar_t c : s) h = (h ^ static_cast<std::size_t>(ignoreCase ? FoldAscii(c) : c)) * 1099511628211ull;
    return h;
  }
};
struct NameEqual {
  bool ignoreCase;
  bool operator()(std::wstring_view a, std::wstring_view b) const { return NamesEqual(a, b, ignoreCase); }
};
using NameCounts = std::unordered_map<std::wstring_view, std::uint32_t, NameHash, NameEqual>;

}  // namespace

// --- 2. Impl -------------------------------------------------------------------------

struct MarkupDocument::Element {
  std::uint32_t start;       // offset of the start tag's "<"
  std::uint32_t length;      // whole element, end tag included
  std::uint32_t tagLengths;  // start tag (low 22 bits), end tag (high 10 bits)
  std::uint32_t state;       // kState* bits
  std::uint32_t parent;
  std::uint32_t firstChild;
  std::uint32_t next;
  std::uint32_t prev;  // the first child's prev is the last child
};

struct MarkupDocument::Impl {
  // Records live in blocks of 65,536; a record number is block << 16 | slot.
  // The first block grows as needed so that a small document stays small.
  std::vector<std::unique_ptr<Element[]>> blocks;
  std::uint32_t firstBlockCapacity = 0;
  std::uint32_t count = 0;
  // The cursor: record numbers, 0 for none (as parent, 0 is the document).
  std::uint32_t parent = 0;
  std::uint32_t current = 0;
  std::uint32_t child = 0;
  // The attribute last read, so that reading attributes in the order in
  // which they stand scans the start tag once. generation changes with
  // every parse or edit, which makes the remembered offset stale.
  std::uint64_t generation = 0;
  std::uint64_t lastGeneration = ~0ull;
  std::uint32_t lastRecord = 0;
  int lastIndex = 0;
  std::size_t lastOffset = 0;  // where the scan for that attribute starts

  bool HasLast() const { return lastGeneration == generation && lastRecord == current; }
  void Remember(int index, std::size_t offset) {
    lastGeneration = generation;
    lastRecord = current;
    lastIndex = index;
    lastOffset = offset;
  }

  Impl() { Reset(0, false); }

  Element& At(std::uint32_t r) { return blocks[r >> 16][r & 0xFFFF]; }
  const Element& At(std::uint32_t r) const { return blocks[r >> 16][r & 0xFFFF]; }

  std::uint32_t Add() {
    const std::uint32_t r = count;
    const std::uint32_t block = r >> 16;
    if (block == 0) {
      if (r >= firstBlockCapacity) {
        const std::uint32_t capacity = std::min(kBlockSize, std::max(64u, firstBlockCapacity * 2));
        auto grown = std::make_unique_for_overwrite<Element[]>(capacity);
        if (r > 0) std::memcpy(grown.get(), blocks[0].get(), sizeof(Element) * r);
        if (blocks.empty()) blocks.emplace_back();
        blocks[0] = std::move(grown);
        firstBlockCapacity = capacity;
      }
    } else if (block >= blocks.size()) {
      blocks.push_back(std::make_unique_for_overwrite<Element[]>(kBlockSize));
    }
    At(r) = Element{};
    ++count;
    return r;
  }

  // Empties the index down to the document record and clears the cursor.
  void Reset(std::size_t textLength, bool wellFormed) {
    ++generation;
    count = 0;
    parent = current = child = 0;
    Add();
    At(0).length = static_cast<std::uint32_t>(textLength);
    At(0).state = wellFormed ? 0 : kStateIllFormed;
  }

  void AppendChild(std::uint32_t parentRecord, std::uint32_t r) {
    Element& e = At(r);
    Element& p = At(parentRecord);
    e.parent = parentRecord;
    e.next = 0;
    if (p.firstChild == 0) {
      p.firstChild = r;
      e.prev = r;
    } else {
      Element& first = At(p.firstChild);
      const std::uint32_t last = first.prev;
      At(last).next = r;
      e.prev = last;
      first.prev = r;
    }
  }

  void InsertAfter(std::uint32_t sibling, std::uint32_t r) {
    Element& s = At(sibling);
    Element& e = At(r);
    e.parent = s.parent;
    e.prev = sibling;
    e.next = s.next;
    s.next = r;
    if (e.next != 0) {
      At(e.next).prev = r;
    } else {
      At(At(e.parent).firstChild).prev = r;
    }
  }

  std::wstring_view Name(const std::wstring& text, std::uint32_t r) const {
    const std::size_t begin = At(r).start + 1;
    std::size_t end = begin;
    while (end < text.size() && IsNameChar(text[end])) ++end;
    return std::wstring_view(text).substr(begin, end - begin);
  }

  std::size_t StartTagLength(const std::wstring& text, std::uint32_t r) const {
    const Element& e = At(r);
    const std::uint32_t stored = e.tagLengths & kStartTagMask;
    if (stored != kStartTagMask) return stored;
    // Too long to store: find the end of the tag again.
    AttributeScanner scan(text, e.start);
    AttributeSpan a;
    while (scan.Next(a)) {
    }
    const std::size_t close = scan.Close();
    return close - e.start + (close < text.size() && text[close] == L'/' ? 2 : 1);
  }

  void SetTagLengths(std::uint32_t r, std::size_t startTag, std::size_t endTag) {
    At(r).tagLengths = static_cast<std::uint32_t>(std::min<std::size_t>(startTag, kStartTagMask)) |
                       static_cast<std::uint32_t>(std::min<std::size_t>(endTag, kEndTagMax)) << 22;
  }

  std::size_t EndTagLength(const std::wstring& text, std::uint32_t r) const {
    const Element& e = At(r);
    const std::uint32_t stored = e.tagLengths >> 22;
    if (stored != kEndTagMax) return stored;
    // Too long to store: the end tag holds no "<", so it starts at the last one.
    const std::size_t end = e.start + e.length;
    const std::size_t open = std::wstring_view(text).substr(0, end).rfind(L'<');
    return open == std::wstring_view::npos ? 0 : end - open;
  }

  bool Parse(const std::wstring& text, bool ignoreCase, MarkupLog& log);
};

// --- 3. Parsing -------------------------------------------------------------------------

bool MarkupDocument::Impl::Parse(const std::wstring& text, bool ignoreCase, MarkupLog& log) {
  if (text.size() > kMaxTextLength) {
    Reset(0, false);
    log.Add("file_error", {{"msg", std::string_view("text too long")}, {"length", text.size()}});
    return false;
  }
  Reset(text.size(), false);

  struct OpenTag {
    std::uint32_t record;
    std::uint32_t nameLength;
  };
  std::vector<OpenTag> stack;
  std::unique_ptr<NameCounts> counts;
  std::uint32_t openParent = 0;
  bool sound = true;   // no lone end tag or unended start tag so far
  bool failed = false;  // a syntax error stopped the scan
  bool seenElement = false;
  bool seenDoctype = false;

  // The text always has a terminating zero behind its last character, so
  // the scan may look one character ahead without a bounds check; a zero is
  // no name character, no blank and no delimiter.
  const wchar_t* const base = text.data();
  const wchar_t* const end = base + text.size();
  const auto offsetOf = [base](const wchar_t* p) { return static_cast<std::uint64_t>(p - base); };
  const auto nameOf = [&](std::uint32_t r, std::uint32_t length) {
    return std::wstring_view(base + At(r).start + 1, length);
  };
  const auto syntax = [&](const char* event, const char* type, const wchar_t* at) {
    if (type != nullptr) {
      log.Add(event, {{"type", std::string_view(type)}, {"offset", offsetOf(at)}});
    } else {
      log.Add(event, {{"offset", offsetOf(at)}});
    }
    failed = true;
  };
  // A tag that stops where the text stops is unterminated; otherwise its
  // syntax is wrong.
  const auto broken = [&](const char* kind, const wchar_t* tag, const wchar_t* at) {
    syntax("unterminated_tag_syntax", at >= end ? kind : "tag", tag);
  };
  const auto closeTop = [&](const wchar_t* endOfTag, std::size_t endTagLength) {
    const OpenTag top = stack.back();
    Element& e = At(top.record);
    e.length = static_cast<std::uint32_t>(offsetOf(endOfTag) - e.start);
    e.tagLengths |= static_cast<std::uint32_t>(std::min<std::size_t>(endTagLength, kEndTagMax)) << 22;
    if (counts) --(*counts)[nameOf(top.record, top.nameLength)];
    stack.pop_back();
    openParent = stack.empty() ? 0 : stack.back().record;
  };

  const wchar_t* p = base;
  while (!failed) {
    p = FindChar(p, end, L'<');
    if (p == nullptr) break;
    const wchar_t c = p[1];

    if (IsNameStart(c)) {
      // Start tag: name, then attributes (name = quoted or bare value).
      const wchar_t* q = p + 2;
      while (IsNameChar(*q)) ++q;
      const auto nameLength = static_cast<std::uint32_t>(q - p - 1);
      bool empty = false;
      while (true) {
        const wchar_t* const before = q;
        while (IsSpace(*q)) ++q;
        wchar_t d = *q;
        if (d == L'>') {
          ++q;
          break;
        }
        if (d == L'/' && q[1] == L'>') {
          q += 2;
          empty = true;
          break;
        }
        if (q >= end || d == L'/' || q == before || !IsNameStart(d)) {
          broken("start_tag", p, d == L'/' ? q + 1 : q);
          break;
        }
        ++q;
        while (IsNameChar(*q)) ++q;
        while (IsSpace(*q)) ++q;
        if (*q != L'=') {
          broken("start_tag", p, q);
          break;
        }
        ++q;
        while (IsSpace(*q)) ++q;
        d = *q;
        if (d == L'"' || d == L'\'') {
          const wchar_t* close = FindChar(q + 1, end, d);
          if (close == nullptr) {
            broken("start_tag", p, end);
            break;
          }
          q = close + 1;
        } else if (q < end && d != L'>' && !IsSpace(d)) {
          while (q < end && !IsSpace(*q) && *q != L'>') ++q;
        } else {
          broken("start_tag", p, q);
          break;
        }
      }
      if (failed) break;
      if (count > kMaxElements) {  // record 0 is the document
        log.Add("element_limit", {{"count", count}, {"offset", offsetOf(p)}});
        failed = true;
        break;
      }
      const std::uint32_t r = Add();
      Element& e = At(r);
      e.start = static_cast<std::uint32_t>(offsetOf(p));
      e.tagLengths = static_cast<std::uint32_t>(std::min<std::size_t>(static_cast<std::size_t>(q - p), kStartTagMask));
      AppendChild(openParent, r);
      seenElement = true;
      if (empty) {
        e.state = kStateEmpty;
        e.length = static_cast<std::uint32_t>(q - p);
      } else {
        stack.push_back({r, nameLength});
        if (counts) ++(*counts)[std::wstring_view(p + 1, nameLength)];
        openParent = r;
      }
      p = q;
    } else if (c == L'/') {
      // End tag: it closes the nearest open element of the same name.
      const wchar_t* const name = p + 2;
      if (!IsNameStart(*name)) {
        if (name >= end) {
          syntax("unterminated_tag_syntax", "end_tag", p);
        } else {
          syntax("first_tag_syntax", nullptr, p);
        }
        break;
      }
      const wchar_t* q = name + 1;
      while (IsNameChar(*q)) ++q;
      const std::wstring_view endName(name, static_cast<std::size_t>(q - name));
      while (IsSpace(*q)) ++q;
      if (*q != L'>') {
        broken("end_tag", p, q);
        break;
      }
      ++q;
      const std::size_t endTagLength = static_cast<std::size_t>(q - p);
      if (!stack.empty() && NamesEqual(nameOf(stack.back().record, stack.back().nameLength), endName, ignoreCase)) {
        closeTop(q, endTagLength);
      } else {
        if (!counts && !stack.empty()) {
          counts = std::make_unique<NameCounts>(16, NameHash{ignoreCase}, NameEqual{ignoreCase});
          for (const OpenTag& t : stack) ++(*counts)[nameOf(t.record, t.nameLength)];
        }
        const auto found = counts ? counts->find(endName) : NameCounts::iterator{};
        if (!counts || found == counts->end() || found->second == 0) {
          log.Add("lone_end_tag", {{"tagname", endName}, {"offset", offsetOf(p)}});
          sound = false;
        } else {
          // The open elements above the match end here without end tags;
          // their children become their following siblings, so every one
          // of them ends up a child of the matched element.
          std::size_t m = stack.size() - 1;
          while (!NamesEqual(nameOf(stack[m].record, stack[m].nameLength), endName, ignoreCase)) --m;
          const std::uint32_t target = stack[m].record;
          for (std::size_t i = m + 1; i < stack.size(); ++i) {
            const std::uint32_t r = stack[i].record;
            Element& e = At(r);
            log.Add("unended_start_tag", {{"tagname", nameOf(r, stack[i].nameLength)}, {"offset", e.start}});
            e.state |= kStateImplicitEnd;
            e.length = static_cast<std::uint32_t>(StartTagLength(text, r));
            if (counts) --(*counts)[nameOf(r, stack[i].nameLength)];
            const std::uint32_t first = e.firstChild;
            if (first == 0) continue;
            const std::uint32_t last = At(first).prev;
            for (std::uint32_t k = first; k != 0; k = At(k).next) At(k).parent = target;
            // r is the last child of target: its children follow it there.
            e.firstChild = 0;
            e.next = first;
            At(first).prev = r;
            At(At(target).firstChild).prev = last;
          }
          sound = false;
          stack.resize(m + 1);
          closeTop(q, endTagLength);
        }
      }
      p = q;
    } else if (c == L'?') {
      // Processing instruction, up to "?>".
      if (!IsNameStart(p[2])) {
        if (p + 2 >= end) {
          syntax("unterminated_tag_syntax", "processing_instruction", p);
        } else {
          syntax("first_tag_syntax", nullptr, p);
        }
        break;
      }
      const std::size_t close = std::wstring_view(text).find(L"?>", offsetOf(p) + 2);
      if (close == std::wstring_view::npos) {
        syntax("unterminated_tag_syntax", "processing_instruction", p);
        break;
      }
      p = base + close + 2;
    } else if (c == L'!') {
      if (p[2] == L'-') {
        // Comment, up to "-->"; "--" may not stand inside it.
        if (p[3] != L'-') {
          syntax("comment_tag_syntax", nullptr, p);
          break;
        }
        const wchar_t* s = p + 4;
        while (true) {
          const wchar_t* dash = std::wmemchr(s, L'-', static_cast<std::size_t>(end - s));
          if (dash == nullptr) {
            syntax("unterminated_tag_syntax", "comment", p);
            break;
          }
          if (dash[1] == L'-') {
            if (dash[2] != L'>') {
              if (dash + 2 >= end) {
                syntax("unterminated_tag_syntax", "comment", p);
              } else {
                syntax("comment_tag_syntax", nullptr, p);
              }
              break;
            }
            p = dash + 3;
            break;
          }
          s = dash + 1;
        }
      } else if (p[2] == L'[') {
        // CDATA section, up to "]]>"; character data belongs inside the root.
        if (std::wstring_view(p, static_cast<std::size_t>(std::min<std::ptrdiff_t>(end - p, 9))) != L"<![CDATA[" ||
            openParent == 0) {
          syntax("cdata_section_syntax", nullptr, p);
          break;
        }
        const std::size_t close = std::wstring_view(text).find(L"]]>", offsetOf(p) + 9);
        if (close == std::wstring_view::npos) {
          syntax("unterminated_tag_syntax", "cdata_section", p);
          break;
        }
        p = base + close + 3;
      } else if (std::wstring_view(p, static_cast<std::size_t>(std::min<std::ptrdiff_t>(end - p, 9))) ==
                 L"<!DOCTYPE") {
        // Document type declaration: once, before the root, up to the ">"
        // outside quotes and outside its internal subset in brackets.
        if (seenElement || seenDoctype || !IsSpace(p[9])) {
          syntax("doctype_tag_syntax", nullptr, p);
          break;
        }
        seenDoctype = true;
        const wchar_t* q = p + 9;
        int depth = 0;
        wchar_t quote = 0;
        for (; q < end; ++q) {
          const wchar_t d = *q;
          if (quote != 0) {
            if (d == quote) quote = 0;
          } else if (d == L'"' || d == L'\'') {
            quote = d;
          } else if (d == L'[') {
            ++depth;
          } else if (d == L']') {
            depth = std::max(0, depth - 1);
          } else if (d == L'>' && depth == 0) {
            break;
          } else if (d == L'<' && depth > 0 && q[1] == L'!' && q[2] == L'-' && q[3] == L'-') {
            const std::size_t close = std::wstring_view(text).find(L"-->", offsetOf(q) + 4);
            if (close == std::wstring_view::npos) {
              q = end;
              break;
            }
            q = base + close + 2;
          }
        }
        if (q >= end) {
          syntax("unterminated_tag_syntax", "document_type", p);
          break;
        }
        p = q + 1;
      } else {
        syntax("exclamation_tag_syntax", nullptr, p);
        break;
      }
    } else {
      if (p + 1 >= end) {
        syntax("unterminated_tag_syntax", "tag", p);
      } else {
        syntax("first_tag_syntax", nullptr, p);
      }
      break;
    }
  }

  // Elements still open at the end of the text (or where a syntax error
  // stopped the scan) extend to the end.
  for (auto it = stack.rbegin(); it != stack.rend(); ++it) {
    Element& e = At(it->record);
    log.Add("unended_start_tag", {{"tagname", nameOf(it->record, it->nameLength)}, {"offset", e.start}});
    e.state |= kStateImplicitEnd;
    e.length = static_cast<std::uint32_t>(text.size() - e.start);
    sound = false;
  }

  std::size_t roots = 0;
  for (std::uint32_t r = At(0).firstChild; r != 0; r = At(r).next) {
    if (++roots == 2) {
      log.Add("root_has_sibling", {{"tagname", Name(text, r)}, {"offset", At(r).start}});
      break;
    }
  }
  if (roots == 0 && !failed) log.Add("no_root_element");
  const bool wellFormed = sound && !failed && roots == 1;
  At(0).state = wellFormed ? 0 : kStateIllFormed;
  return wellFormed;
}

// --- 4. Construction, navigation and attributes ---------------------------------------------

MarkupDocument::MarkupDocument() : impl_(std::make_unique<Impl>()) {}

MarkupDocument::~MarkupDocument() = default;

bool MarkupDocument::ParseText() {
  result_.clear();
  MarkupLog log(result_);
  return impl_->Parse(text_, (flags_ & MDF_IGNORECASE) != 0, log);
}

bool MarkupDocument::ParseText(std::wstring_view text) {
  std::wstring copy(text);  // the view may point into text_
  text_.swap(copy);
  return ParseText();
}

bool MarkupDocument::IsWellFormed() const {
  return (impl_->At(0).state & kStateIllFormed) == 0;
}

bool MarkupDocument::FindElement(std::wstring_view name) {
  Impl& m = *impl_;
  const std::wstring_view wanted = SearchName(name);
  const bool ignoreCase = (flags_ & MDF_IGNORECASE) != 0;
  std::uint32_t r = m.current != 0 ? m.At(m.current).next : m.At(m.parent).firstChild;
  for (; r != 0; r = m.At(r).next) {
    if (wanted.empty() || NamesEqual(m.Name(text_, r), wanted, ignoreCase)) {
      m.current = r;
      m.child = 0;
      return true;
    }
  }
  return false;
}

bool MarkupDocument::EnterElement() {
  Impl& m = *impl_;
  if (m.current == 0) return false;
  m.parent = m.current;
  m.current = 0;
  m.child = 0;
  return true;
}

bool MarkupDocument::LeaveElement() {
  Impl& m = *impl_;
  if (m.parent == 0) return false;
  m.child = m.current;
  m.current = m.parent;
  m.parent = m.At(m.parent).parent;
  return true;
}

std::wstring MarkupDocument::GetTagName() const {
  const Impl& m = *impl_;
  if (m.current == 0) return {};
  return std::wstring(m.Name(text_, m.current));
}

std::wstring MarkupDocument::GetAttribute(std::wstring_view name) const {
  Impl& m = *impl_;
  std::wstring value;
  if (m.current == 0 || name.empty()) return value;
  const bool ignoreCase = (flags_ & MDF_IGNORECASE) != 0;
  const std::wstring_view text(text_);
  const std::size_t start = m.At(m.current).start;
  const auto matches = [&](const AttributeSpan& a) {
    return NamesEqual(text.substr(a.nameBegin, a.nameEnd - a.nameBegin), name, ignoreCase);
  };
  AttributeSpan a;
  // Callers read attributes in the order in which they stand: try the one
  // read last and the one after it before scanning the whole tag.
  if (m.HasLast()) {
    AttributeScanner scan(text, start);
    scan.Resume(m.lastOffset);
    for (int k = 0; k < 2; ++k) {
      const std::size_t offset = scan.Position();
      if (!scan.Next(a)) break;
      if (matches(a)) {
        m.Remember(m.lastIndex + k, offset);
        markup::AppendDecoded(text.substr(a.valueBegin, a.valueEnd - a.valueBegin), value);
        return value;
      }
    }
  }
  AttributeScanner scan(text, start);
  for (int i = 0;; ++i) {
    const std::size_t offset = scan.Position();
    if (!scan.Next(a)) break;
    if (matches(a)) {
      m.Remember(i, offset);
      markup::AppendDecoded(text.substr(a.valueBegin, a.valueEnd - a.valueBegin), value);
      break;
    }
  }
  return value;
}

std::wstring MarkupDocument::GetAttributeName(int index) const {
  Impl& m = *impl_;
  if (m.current == 0 || index < 0) return {};
  AttributeScanner scan(text_, m.At(m.current).start);
  int i = 0;
  if (m.HasLast() && m.lastIndex <= index) {
    scan.Resume(m.lastOffset);
    i = m.lastIndex;
  }
  AttributeSpan a;
  for (;; ++i) {
    const std::size_t offset = scan.Position();
    if (!scan.Next(a)) break;
    if (i == index) {
      m.Remember(i, offset);
      return text_.substr(a.nameBegin, a.nameEnd - a.nameBegin);
    }
  }
  return {};
}

// --- 5. Writing -------------------------------------------------------------------------------

bool MarkupDocument::Splice(std::size_t pos, std::size_t count, std::wstring_view insert) {
  Impl& m = *impl_;
  if (text_.size() - count + insert.size() > kMaxTextLength) return false;
  const auto delta = static_cast<std::int64_t>(insert.size()) - static_cast<std::int64_t>(count);
  text_.replace(pos, count, insert);
  ++m.generation;
  // Records behind the change move; records around it grow or shrink.
  for (std::uint32_t r = 1; r < m.count; ++r) {
    Element& e = m.At(r);
    if (e.start >= pos + count) {
      e.start = static_cast<std::uint32_t>(e.start + delta);
    } else if (e.start + e.length > pos) {
      e.length = static_cast<std::uint32_t>(e.length + delta);
    }
  }
  m.At(0).length = static_cast<std::uint32_t>(text_.size());
  return true;
}

bool MarkupDocument::AddElement(std::wstring_view name) {
  Impl& m = *impl_;
  if (!IsValidName(name) || m.count > kMaxElements) return false;
  std::wstring tag = L"<";
  tag.append(name);
  tag += L"/>\r\n";
  const std::size_t tagLength = name.size() + 3;

  const auto afterLineBreak = [this](std::size_t pos) {
    if (pos + 1 < text_.size() && text_[pos] == L'\r' && text_[pos + 1] == L'\n') return pos + 2;
    if (pos < text_.size() && text_[pos] == L'\n') return pos + 1;
    return pos;
  };

  std::size_t start = 0;
  std::uint32_t linkAfter = 0;  // sibling to follow, or 0 to append to the parent
  const std::uint32_t parent = m.parent;
  const std::uint32_t lastChild = m.At(parent).firstChild != 0 ? m.At(m.At(parent).firstChild).prev : 0;
  if (m.current != 0 || lastChild != 0) {
    linkAfter = m.current != 0 ? m.current : lastChild;
    const Element& sibling = m.At(linkAfter);
    start = afterLineBreak(sibling.start + sibling.length);
    if (!Splice(start, 0, tag)) return false;
  } else if (parent == 0) {
    start = text_.size();
    if (!Splice(start, 0, tag)) return false;
  } else if (m.At(parent).state & kStateEmpty) {
    // Open the empty parent: "/>" becomes ">", line break, the new element
    // and the parent's end tag.
    const std::wstring parentName(m.Name(text_, parent));
    const std::size_t slash = m.At(parent).start + m.StartTagLength(text_, parent) - 2;
    std::wstring opened = L">\r\n" + tag + L"</" + parentName + L">";
    if (!Splice(slash, 2, opened)) return false;
    Element& p = m.At(parent);
    p.state &= ~kStateEmpty;
    const std::size_t startTag = slash + 1 - p.start;
    m.SetTagLengths(parent, startTag, parentName.size() + 3);
    start = slash + 3;
  } else {
    std::size_t pos = m.At(parent).start + m.At(parent).length - m.EndTagLength(text_, parent);
    if (pos > 0 && text_[pos - 1] != L'\n') {
      tag.insert(0, L"\r\n");
      if (!Splice(pos, 0, tag)) return false;
      start = pos + 2;
    } else {
      if (!Splice(pos, 0, tag)) return false;
      start = pos;
    }
  }

  const std::uint32_t r = m.Add();
  Element& e = m.At(r);
  e.start = static_cast<std::uint32_t>(start);
  e.length = static_cast<std::uint32_t>(tagLength);
  e.state = kStateEmpty;
  m.SetTagLengths(r, tagLength, 0);
  if (linkAfter != 0) {
    m.InsertAfter(linkAfter, r);
  } else {
    m.AppendChild(parent, r);
  }
  m.current = r;
  m.child = 0;
  return true;
}

bool MarkupDocument::SetAttribute(std::wstring_view name, std::wstring_view value) {
  Impl& m = *impl_;
  if (m.current == 0 || !IsValidName(name)) return false;
  const bool ignoreCase = (flags_ & MDF_IGNORECASE) != 0;
  const std::uint32_t r = m.current;
  const std::size_t oldTag = m.StartTagLength(text_, r);
  const std::size_t oldLength = text_.size();
  const std::wstring escaped = Escape(value);

  AttributeScanner scan(text_, m.At(r).start);
  AttributeSpan a;
  bool found = false;
  while (scan.Next(a)) {
    if (NamesEqual(std::wstring_view(text_).substr(a.nameBegin, a.nameEnd - a.nameBegin), name, ignoreCase)) {
      found = true;
      break;
    }
  }
  bool ok;
  if (found && a.quote != 0) {
    ok = Splice(a.valueBegin, a.valueEnd - a.valueBegin, escaped);
  } else if (found) {
    ok = Splice(a.valueBegin, a.valueEnd - a.valueBegin, L"\"" + escaped + L"\"");
  } else {
    std::wstring attribute = L" ";
    attribute.append(name);
    attribute += L"=\"" + escaped + L"\"";
    ok = Splice(scan.Close(), 0, attribute);
  }
  if (!ok) return false;
  const std::size_t newTag = oldTag + text_.size() - oldLength;
  m.SetTagLengths(r, newTag, m.At(r).tagLengths >> 22);
  return true;
}

// --- 6. Files ---------------------------------------------------------------------------------

namespace {

// Reads at most limit + 1 bytes, so that an oversized file or an endless
// device is noticed without reading it all.
bool ReadWholeFile(const std::filesystem::path& path, std::uintmax_t limit, std::string& bytes, MarkupLog& log) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    log.Add("file_error", {{"msg", std::string_view(std::strerror(errno))}});
    return false;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    log.Add("file_error", {{"msg", std::string_view(std::strerror(S_ISDIR(st.st_mode) ? EISDIR : errno))}});
    ::close(fd);
    return false;
  }
  if (S_ISREG(st.st_mode) && static_cast<std::uintmax_t>(st.st_size) > limit) {
    log.Add("file_error", {{"msg", std::string_view("file too large")},
                           {"length", static_cast<std::uint64_t>(st.st_size)}});
    ::close(fd);
    return false;
  }
  bytes.clear();
  if (S_ISREG(st.st_mode)) bytes.reserve(static_cast<std::size_t>(st.st_size));
  char buffer[65536];
  while (true) {
    const ssize_t n = ::read(fd, buffer, sizeof(buffer));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      log.Add("file_error", {{"msg", std::string_view(std::strerror(errno))}});
      ::close(fd);
      return false;
    }
    if (n == 0) break;
    bytes.append(buffer, static_cast<std::size_t>(n));
    if (bytes.size() > limit) {
      log.Add("file_error", {{"msg", std::string_view("file too large")}, {"length", bytes.size()}});
      ::close(fd);
      return false;
    }
  }
  ::close(fd);
  return true;
}

}  // namespace

bool MarkupDocument::LoadFile(const std::filesystem::path& path, std::wstring* resultLog, int* flags) {
  result_.clear();
  MarkupLog log(result_);
  int f = (flags != nullptr ? *flags : flags_) & ~(MDF_UTF16LEFILE | MDF_UTF8PREAMBLE | MDF_UTF16BEFILE);
  flags_ = f;
  std::string bytes;
  const bool read = ReadWholeFile(path, kMaxFileBytes, bytes, log);
  if (read) {
    text_ = markup::DecodeFileBytes(bytes, log, f);
    std::string().swap(bytes);
    flags_ = f;
    impl_->Parse(text_, (flags_ & MDF_IGNORECASE) != 0, log);
  } else {
    text_.clear();
    impl_->Reset(0, false);
  }
  if (flags != nullptr) *flags = f;
  if (resultLog != nullptr) *resultLog = result_;
  return read;
}

// Saving goes through the platform's durable whole-file write: a crash leaves
// the old file or the whole new one, never a mix.
bool MarkupDocument::SaveFile(const std::filesystem::path& path, std::wstring* resultLog, int* flags) {
  result_.clear();
  MarkupLog log(result_);
  const int f = flags != nullptr ? *flags : flags_;
  const std::string bytes = markup::EncodeFileBytes(text_, log, f);
  std::string error;
  const bool ok = platform::WriteFileAtomically(path, bytes, &error);
  if (!ok) log.Add("file_error", {{"msg", std::string_view(error)}});
  if (resultLog != nullptr) *resultLog = result_;
  return ok;
}
