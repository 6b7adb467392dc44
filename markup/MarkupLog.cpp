#include "markup/MarkupLog.h"

namespace markup {

namespace {

// Values longer than this are cut: the log is a diagnostic, not a copy.
constexpr std::size_t kMaxValue = 100;

void AppendEscaped(std::wstring& out, wchar_t c) {
  switch (c) {
    case L'<': out += L"&lt;"; break;
    case L'>': out += L"&gt;"; break;
    case L'&': out += L"&amp;"; break;
    case L'"': out += L"&quot;"; break;
    default:
      // Control characters would make the log itself ill-formed.
      out.push_back(c < 0x20 ? L'?' : c);
  }
}

}  // namespace

void MarkupLog::Add(const char* event, std::initializer_list<Field> fields) {
  if (text_.size() > kLimit) return;
  text_.push_back(L'<');
  for (const char* p = event; *p; ++p) text_.push_back(static_cast<wchar_t>(*p));
  for (const Field& f : fields) {
    text_.push_back(L' ');
    for (const char* p = f.name; *p; ++p) text_.push_back(static_cast<wchar_t>(*p));
    text_ += L"=\"";
    if (f.isNumber) {
      text_ += std::to_wstring(f.number);
    } else if (f.isNarrow) {
      for (std::size_t i = 0; i < f.narrow.size() && i < kMaxValue; ++i) {
        AppendEscaped(text_, static_cast<wchar_t>(static_cast<unsigned char>(f.narrow[i])));
      }
    } else {
      for (std::size_t i = 0; i < f.text.size() && i < kMaxValue; ++i) AppendEscaped(text_, f.text[i]);
    }
    text_.push_back(L'"');
  }
  text_ += L"/>";
}

}  // namespace markup
