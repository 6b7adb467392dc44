#pragma once
// MarkupLog: the result log that loading, saving and parsing fill. Each
// event is one empty element named after it, with its details as attributes,
// for example <unended_start_tag tagname="b" offset="12"/>. The log stops
// growing once it is longer than kLimit characters, so a hostile file cannot
// make it large.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

namespace markup {

class MarkupLog {
 public:
  static constexpr std::size_t kLimit = 999;

  // One attribute of a record: a name and either a text or a number.
  struct Field {
    Field(const char* n, std::wstring_view v) : name(n), text(v) {}
    Field(const char* n, std::string_view v) : name(n), narrow(v), isNarrow(true) {}
    Field(const char* n, std::uint64_t v) : name(n), number(v), isNumber(true) {}
    const char* name;
    std::wstring_view text;
    std::string_view narrow;
    std::uint64_t number = 0;
    bool isNarrow = false;
    bool isNumber = false;
  };

  explicit MarkupLog(std::wstring& target) : text_(target) {}

  void Add(const char* event, std::initializer_list<Field> fields = {});

 private:
  std::wstring& text_;
};

}  // namespace markup
