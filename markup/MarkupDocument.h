#pragma once
// MarkupDocument: the one XML class of the program. It keeps the document as
// one wide text plus a flat index of the elements in that text, and navigates
// with a cursor of three positions (parent, current, child) instead of a
// node tree. Every XML file the program reads or writes goes through it.
//
// Nothing here throws; failures are reported by the boolean results and
// recorded in the result log. A document belongs to one thread at a time:
// even the const readers remember where they last read.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class MarkupDocument {
 public:
  // Document flags, passed in and out of LoadFile and SaveFile.
  enum Flags : int {
    MDF_UTF16LEFILE = 0x1,
    MDF_UTF8PREAMBLE = 0x4,
    MDF_IGNORECASE = 0x8,
    MDF_READFILE = 0x10,
    MDF_WRITEFILE = 0x20,
    MDF_APPENDFILE = 0x40,
    MDF_UTF16BEFILE = 0x80,
  };

  // Files larger than this are refused by LoadFile (logged as "file_error").
  static constexpr std::uintmax_t kMaxFileBytes = 64u * 1024u * 1024u;
  // A text with more elements than this is not indexed (ParseText fails with
  // "element_limit"), which bounds the index at 128 MiB.
  static constexpr std::uint32_t kMaxElements = 1u << 22;

  MarkupDocument();
  ~MarkupDocument();
  MarkupDocument(const MarkupDocument&) = delete;
  MarkupDocument& operator=(const MarkupDocument&) = delete;

  // Reads the whole file (encoding rules: byte-order mark, declared encoding,
  // UTF-8 detection, legacy 8-bit charsets) and parses it. True when the file
  // was read; the well-formed verdict is IsWellFormed().
  bool LoadFile(const std::filesystem::path& path, std::wstring* resultLog = nullptr, int* flags = nullptr);

  // Re-parses the current text, or replaces it first. Rebuilds the index and
  // clears the cursor. Returns the well-formed verdict.
  bool ParseText();
  bool ParseText(std::wstring_view text);

  bool FindElement(std::wstring_view name = {});
  bool EnterElement();
  bool LeaveElement();
  std::wstring GetAttribute(std::wstring_view name) const;
  // Tag name of the current element; empty without one.
  std::wstring GetTagName() const;

  bool AddElement(std::wstring_view name);
  bool SetAttribute(std::wstring_view name, std::wstring_view value);

  bool SaveFile(const std::filesystem::path& path, std::wstring* resultLog = nullptr, int* flags = nullptr);

  // Name of the attribute at the given position (from 0) in the current
  // element's start tag; empty past the last one or without a current element.
  std::wstring GetAttributeName(int index) const;

  const std::wstring& GetText() const { return text_; }
  bool IsWellFormed() const;
  // The result log of the last LoadFile, ParseText or SaveFile.
  const std::wstring& GetResult() const { return result_; }

 private:
  struct Element;  // one record of the flat index
  struct Impl;     // the index, the cursor and the parser

  // Inserts (or replaces count characters with) the given text at pos and
  // moves every record behind it; false when the text would grow too long.
  bool Splice(std::size_t pos, std::size_t count, std::wstring_view insert);

  std::wstring text_;
  std::wstring result_;
  int flags_ = 0;
  std::unique_ptr<Impl> impl_;
};
