#include "store/ExchangeReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cwctype>
#include <initializer_list>
#include <optional>

#include "markup/MarkupDocument.h"
#include "markup/MarkupEncoding.h"
#include "markup/MarkupLog.h"
#include "platform/Text.h"

// Index
//   1. Values: numbers, names, errors
//   2. Files
//   3. Macro files
//   4. Profile files

namespace {

// --- 1. Values: numbers, names, errors -------------------------------------------

bool Fail(std::string* error, std::string reason) {
  if (error != nullptr) *error = std::move(reason);
  return false;
}

std::string Narrow(std::wstring_view text) { return platform::ToUtf8(text); }

// A message put together by appending. GCC 12 at -O3 takes
// `"literal" + std::string` for a copy of overlapping memory (a false
// -Wrestrict) and the optimised build stops on it.
std::string Join(std::initializer_list<std::string_view> pieces) {
  std::string text;
  for (std::string_view piece : pieces) text += piece;
  return text;
}

// A decimal number as the writers give it ("%d"): an optional minus sign and
// at most ten digits, nothing else, within the int range.
bool ParseDecimal(std::wstring_view text, int& out) {
  std::size_t i = 0;
  const bool negative = !text.empty() && text[0] == L'-';
  if (negative) ++i;
  if (i == text.size() || text.size() - i > 10) return false;
  long long value = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < L'0' || text[i] > L'9') return false;
    value = value * 10 + (text[i] - L'0');
  }
  if (negative) value = -value;
  if (value < INT_MIN || value > INT_MAX) return false;
  out = static_cast<int>(value);
  return true;
}

// Reads one integer attribute of the current element. An empty or missing
// attribute leaves out as it is; anything but a decimal number in [lo, hi]
// is an error naming the element and the attribute.
bool ReadInt(const MarkupDocument& doc, std::wstring_view name, int lo, int hi, std::optional<int>& out,
             std::string* error) {
  const std::wstring text = doc.GetAttribute(name);
  if (text.empty()) return true;
  int value = 0;
  if (!ParseDecimal(text, value) || value < lo || value > hi)
    return Fail(error, Join({"\"", Narrow(doc.GetTagName()), "\" has a bad \"", Narrow(name), "\": \"",
                             Narrow(text.substr(0, 32)), "\""}));
  out = value;
  return true;
}

// The same for a value that must be there.
bool ReadRequiredInt(const MarkupDocument& doc, std::wstring_view name, int lo, int hi, int& out, std::string* error) {
  std::optional<int> value;
  if (!ReadInt(doc, name, lo, hi, value, error)) return false;
  if (!value) return Fail(error, Join({"\"", Narrow(doc.GetTagName()), "\" lacks \"", Narrow(name), "\""}));
  out = *value;
  return true;
}

bool IsControl(wchar_t c) {
  return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029 || (c >= 0xD800 && c <= 0xDFFF);
}

// The root element's name, and the cursor inside it.
bool EnterRoot(MarkupDocument& doc, std::wstring_view root, std::string* error) {
  if (!doc.FindElement() || doc.GetTagName() != root)
    return Fail(error, "the root element is not \"" + Narrow(root) + "\"");
  doc.EnterElement();
  return true;
}

// --- 3. Macro files (helpers) -----------------------------------------------------

constexpr int kMaxPlayType = 3;
constexpr int kMaxPlayTimes = 999;
constexpr int kMaxDelayType = 2;
constexpr int kMaxFixedDelay = 10000;
constexpr int kEventTypeDelay = 1;
constexpr int kMaxEventType = 5;
constexpr int kMaxEventValue = 0xFFFF;

// The five attributes of "macroinfo" or "macro_item". Missing play settings
// are those of a new macro; a macro without a name is refused.
bool ReadMacroInfo(const MarkupDocument& doc, MacroRecord& macro, std::string* error) {
  macro = MacroRecord{};
  macro.name = ExchangeReader::CleanName(doc.GetAttribute(L"macro_name"));
  if (macro.name.empty()) return Fail(error, "a macro has no name");
  std::optional<int> playType, playTimes, delayType, delayTime;
  if (!ReadInt(doc, L"macro_type", 0, kMaxPlayType, playType, error) ||
      !ReadInt(doc, L"play_times", 0, kMaxPlayTimes, playTimes, error) ||
      !ReadInt(doc, L"delay_type", 0, kMaxDelayType, delayType, error) ||
      !ReadInt(doc, L"delay_time", 0, kMaxFixedDelay, delayTime, error))
    return false;
  macro.play_type = playType.value_or(0);
  macro.play_times = playTimes.value_or(1);
  macro.delay_type = delayType.value_or(1);
  macro.delay_time = delayTime.value_or(0);
  return true;
}

// Every "item" among the children of the current parent.
bool ReadMacroEvents(MarkupDocument& doc, std::vector<MacroEvent>& events, std::string* error) {
  while (doc.FindElement(L"item")) {
    if (events.size() == ExchangeReader::kMaxEventsPerMacro)
      return Fail(error, "a macro has more than " + std::to_string(ExchangeReader::kMaxEventsPerMacro) + " events");
    MacroEvent event;
    std::optional<int> index, value, stamp;
    if (!ReadRequiredInt(doc, L"type", 1, kMaxEventType, event.type, error) ||
        !ReadInt(doc, L"index", 0, kMaxEventValue, index, error) ||
        // A delay is milliseconds, which a recording may hold beyond what
        // the mouse takes (it gets them capped); keys and buttons are codes.
        !ReadInt(doc, L"value", 0, event.type == kEventTypeDelay ? INT_MAX : kMaxEventValue, value, error) ||
        !ReadInt(doc, L"timestamp", 0, INT_MAX, stamp, error))
      return false;
    // Events keep the positions the file gives them; one without a position
    // stands where it stands in the file.
    event.record_index = index.value_or(static_cast<int>(events.size()));
    event.value = value.value_or(0);
    event.delay_time = stamp.value_or(0);
    event.desc = ExchangeReader::CleanName(doc.GetAttribute(L"desc"), ExchangeReader::kMaxDescLength);
    events.push_back(std::move(event));
  }
  return true;
}

// --- 4. Profile files (helpers) ------------------------------------------------------

constexpr int kMaxDpiStages = 6;
constexpr int kMaxDpi = 0xFFFF;
constexpr int kMaxColour = 0xFFFFFF;
constexpr int kMaxByte = 0xFF;

// A setting read from an attribute into the list, in "%d" form.
bool ReadSetting(const MarkupDocument& doc, std::wstring_view attribute, const std::wstring& key, int lo, int hi,
                 ProfileFileData& out, std::string* error) {
  std::optional<int> value;
  if (!ReadInt(doc, attribute, lo, hi, value, error)) return false;
  if (value) out.settings.emplace_back(key, platform::IntToWString(*value));
  return true;
}

bool ReadKeyItems(MarkupDocument& doc, const ExchangeModel& model, ProfileFileData& out, std::string* error) {
  std::vector<int> seen;
  std::size_t count = 0;
  while (doc.FindElement(L"item")) {
    if (++count > ExchangeReader::kMaxKeyItems) return Fail(error, "too many button assignments");
    KeyRecord key;
    std::optional<int> type, value, value2, value3;
    if (!ReadRequiredInt(doc, L"key_code", 0, INT_MAX, key.key_code, error) ||
        !ReadInt(doc, L"macro_type", 0, INT_MAX, type, error) ||
        !ReadInt(doc, L"macro_value", INT_MIN, INT_MAX, value, error) ||
        !ReadInt(doc, L"macro_value2", INT_MIN, INT_MAX, value2, error) ||
        !ReadInt(doc, L"macro_value3", INT_MIN, INT_MAX, value3, error))
      return false;
    if (std::find(model.buttons.begin(), model.buttons.end(), key.key_code) == model.buttons.end())
      return Fail(error, "button " + std::to_string(key.key_code) + " is not a button of this model");
    if (std::find(seen.begin(), seen.end(), key.key_code) != seen.end())
      return Fail(error, "button " + std::to_string(key.key_code) + " is assigned twice");
    seen.push_back(key.key_code);
    key.macro_type = type.value_or(0);
    key.macro_value = value.value_or(0);
    key.macro_value2 = value2.value_or(0);
    key.macro_value3 = value3.value_or(0);
    key.macro_desc = ExchangeReader::CleanName(doc.GetAttribute(L"macro_desc"), ExchangeReader::kMaxDescLength);
    // Both values 0 is the model's default function, whatever the type says.
    if (key.macro_value == 0 && key.macro_value2 == 0) continue;
    if (!model.is_button_function || !model.is_button_function(key.macro_type, key.macro_value, key.macro_value2))
      return Fail(error, "button " + std::to_string(key.key_code) + " has an unknown function " +
                             std::to_string(key.macro_type) + "/" + std::to_string(key.macro_value) + "/" +
                             std::to_string(key.macro_value2));
    out.keys.push_back(std::move(key));
  }
  return true;
}

bool ReadLightItems(MarkupDocument& doc, ProfileFileData& out, std::string* error) {
  static const wchar_t* const kColours[7] = {L"color_value1", L"color_value2", L"color_value3", L"color_value4",
                                             L"color_value5", L"color_value6", L"color_value7"};
  while (doc.FindElement(L"item")) {
    if (out.lights.size() == ExchangeReader::kMaxLightItems) return Fail(error, "too many light items");
    LightFileItem item;
    if (!ReadRequiredInt(doc, L"light_mode", 0, kMaxByte, item.mode, error) ||
        !ReadInt(doc, L"brightness", 0, kMaxByte, item.brightness, error) ||
        !ReadInt(doc, L"speed", 0, kMaxByte, item.speed, error) ||
        !ReadInt(doc, L"direction", 0, kMaxByte, item.direction, error) ||
        !ReadInt(doc, L"colorful", 0, kMaxByte, item.colorful, error) ||
        !ReadInt(doc, L"colorindex", 0, kMaxByte, item.colorindex, error))
      return false;
    for (int i = 0; i < 7; ++i)
      if (!ReadInt(doc, kColours[i], 0, kMaxColour, item.color_value[i], error)) return false;
    for (const LightFileItem& other : out.lights)
      if (other.mode == item.mode) return Fail(error, "light mode " + std::to_string(item.mode) + " stands twice");
    out.lights.push_back(item);
  }
  return true;
}

bool ReadDpi(MarkupDocument& doc, ProfileFileData& out, std::string* error) {
  std::optional<int> flag, index, count;
  if (!ReadInt(doc, L"dpi_flag", 1, kMaxDpiStages, flag, error) ||
      !ReadInt(doc, L"dpi_index", 0, kMaxDpiStages - 1, index, error) ||
      !ReadInt(doc, L"dpi_count", 1, kMaxDpiStages, count, error))
    return false;
  // The selected stage must be one of the stages in use; against the stored
  // count when the file gives none (the importer checks that one).
  if (index && count && *index >= *count)
    return Fail(error, "the selected DPI stage " + std::to_string(*index) + " is not below the stage count " +
                           std::to_string(*count));
  if (flag) out.settings.emplace_back(L"dpi_flag", platform::IntToWString(*flag));
  if (index) out.settings.emplace_back(L"dpi_index", platform::IntToWString(*index));
  if (count) out.settings.emplace_back(L"dpi_count", platform::IntToWString(*count));
  doc.EnterElement();
  for (int k = 1; k <= kMaxDpiStages; ++k) {
    if (!doc.FindElement(L"DPI" + std::to_wstring(k))) continue;
    const std::wstring stage = L"dpi_group" + std::to_wstring(k - 1);
    if (!ReadSetting(doc, L"value", stage + L"_value", 1, kMaxDpi, out, error) ||
        !ReadSetting(doc, L"color", stage + L"_rgb", 0, kMaxColour, out, error))
      return false;
  }
  doc.LeaveElement();
  return true;
}

struct MouseSetting {
  const wchar_t* name;
  int hi;  // values run from 0; report_rate is checked against the model instead
};
constexpr MouseSetting kMouseSettings[] = {
    {L"button_respondtime", kMaxByte}, {L"report_rate", 0},        {L"sensor_flag", kMaxByte},
    {L"liftoff_height", kMaxByte},     {L"scroll_flag", kMaxByte}, {L"e-sports_flag", kMaxByte},
    {L"sleep_light", kMaxByte},        {L"move_wakeup", 1},        {L"move_closelight", 1},
};

bool ReadMouse(MarkupDocument& doc, const ExchangeModel& model, ProfileFileData& out, std::string* error) {
  doc.EnterElement();
  for (const MouseSetting& s : kMouseSettings) {
    if (!doc.FindElement(s.name)) continue;
    if (std::wstring_view(s.name) == L"report_rate") {
      std::optional<int> rate;
      if (!ReadInt(doc, L"value", INT_MIN, INT_MAX, rate, error)) return false;
      if (!rate) continue;
      if (std::find(model.report_rates.begin(), model.report_rates.end(), *rate) == model.report_rates.end())
        return Fail(error, "report rate " + std::to_string(*rate) + " is not one of this model's");
      out.settings.emplace_back(s.name, platform::IntToWString(*rate));
    } else if (!ReadSetting(doc, L"value", s.name, 0, s.hi, out, error)) {
      return false;
    }
  }
  doc.LeaveElement();
  return true;
}

}  // namespace

// --- 1. Limits and names ---------------------------------------------------------------

std::wstring ExchangeReader::CleanName(std::wstring_view name, std::size_t maxLength) {
  std::wstring out;
  for (wchar_t c : name)
    if (!IsControl(c)) out += c;
  const auto blank = [](wchar_t c) { return c == L' ' || c == 0x3000 || c == 0xA0; };
  std::size_t start = 0;
  while (start < out.size() && blank(out[start])) ++start;
  out.erase(0, start);
  // Cut before trimming the end, so a cut name never ends in a blank (which
  // the next read would trim, and the name would not come back the same).
  if (out.size() > maxLength) out.resize(maxLength);
  while (!out.empty() && blank(out.back())) out.pop_back();
  return out;
}

std::wstring ExchangeReader::ProfileNameFromPath(const std::filesystem::path& path) {
  std::wstring name = platform::FromUtf8(path.filename().string());
  if (name.size() >= 4) {
    std::wstring tail = name.substr(name.size() - 4);
    for (wchar_t& c : tail) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    if (tail == L".xml") name.resize(name.size() - 4);
  }
  return CleanName(name);
}

// --- 2. Files ----------------------------------------------------------------------------

bool ExchangeReader::LoadDocument(const std::filesystem::path& path, MarkupDocument& doc, std::string* error) {
  // Non-blocking, so that a named pipe or a device picked by mistake is
  // refused instead of waited on; only a regular file is read.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return Fail(error, "the file cannot be read");
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return Fail(error, "not a regular file");
  }
  // One byte more than the cap tells an oversized file without trusting a
  // size the file may change while it is read.
  std::string bytes(kMaxFileBytes + 1, '\0');
  std::size_t n = 0;
  bool readError = false;
  while (n < bytes.size()) {
    const ssize_t got = ::read(fd, bytes.data() + n, bytes.size() - n);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) readError = true;
    if (got <= 0) break;
    n += static_cast<std::size_t>(got);
  }
  ::close(fd);
  if (readError) return Fail(error, "the file cannot be read");
  if (n == 0) return Fail(error, "the file is empty");
  if (n > kMaxFileBytes) return Fail(error, "the file is larger than " + std::to_string(kMaxFileBytes) + " bytes");
  bytes.resize(n);
  std::wstring log;
  markup::MarkupLog markupLog(log);
  int flags = 0;
  const std::wstring text = markup::DecodeFileBytes(bytes, markupLog, flags);
  if (!doc.ParseText(text)) return Fail(error, "the file is not well-formed XML");
  return true;
}

// --- 3. Macro files -----------------------------------------------------------------------

bool ExchangeReader::ReadMacroFile(const std::filesystem::path& path, MacroFileEntry& out, std::string* error) {
  out = MacroFileEntry{};
  MarkupDocument doc;
  if (!LoadDocument(path, doc, error) || !EnterRoot(doc, L"macro", error)) return false;
  if (doc.FindElement(L"macro_item")) return Fail(error, "the file holds all macros, not one");
  if (!doc.FindElement(L"macroinfo")) return Fail(error, "the file has no \"macroinfo\"");
  if (!ReadMacroInfo(doc, out.macro, error)) return false;
  if (doc.FindElement(L"macroitems")) {
    doc.EnterElement();
    if (!ReadMacroEvents(doc, out.events, error)) return false;
    doc.LeaveElement();
  }
  return true;
}

bool ExchangeReader::ReadAllMacrosFile(const std::filesystem::path& path, std::vector<MacroFileEntry>& out,
                                       std::string* error) {
  out.clear();
  MarkupDocument doc;
  if (!LoadDocument(path, doc, error) || !EnterRoot(doc, L"macro", error)) return false;
  if (doc.FindElement(L"macroinfo")) return Fail(error, "the file holds one macro, not all");
  while (doc.FindElement(L"macro_item")) {
    if (out.size() == kMaxMacros)
      return Fail(error, "the file has more than " + std::to_string(kMaxMacros) + " macros");
    MacroFileEntry entry;
    if (!ReadMacroInfo(doc, entry.macro, error)) return false;
    doc.EnterElement();
    if (doc.FindElement(L"record_item")) {
      doc.EnterElement();
      if (!ReadMacroEvents(doc, entry.events, error)) return false;
      doc.LeaveElement();
    }
    doc.LeaveElement();
    out.push_back(std::move(entry));
  }
  return true;
}

// --- 4. Profile files ------------------------------------------------------------------------

bool ExchangeReader::ReadProfileFile(const std::filesystem::path& path, const ExchangeModel& model,
                                     ProfileFileData& out, std::string* error) {
  out = ProfileFileData{};
  MarkupDocument doc;
  if (!LoadDocument(path, doc, error) || !EnterRoot(doc, L"profile", error)) return false;
  // Without "profileinfo" the parts are searched among the children of the root.
  if (doc.FindElement(L"profileinfo")) doc.EnterElement();

  if (doc.FindElement(L"keyitems")) {
    doc.EnterElement();
    if (!ReadKeyItems(doc, model, out, error)) return false;
    doc.LeaveElement();
  }
  // A file made for a model with lighting keeps its "Lightitems" to itself
  // when the current model has none.
  if (model.has_lighting && doc.FindElement(L"Lightitems")) {
    out.has_lights = true;
    if (!ReadInt(doc, L"lightmode", 0, kMaxByte, out.light_mode, error)) return false;
    doc.EnterElement();
    if (!ReadLightItems(doc, out, error)) return false;
    doc.LeaveElement();
  }
  if (doc.FindElement(L"Mouse_DPI") && !ReadDpi(doc, out, error)) return false;
  if (doc.FindElement(L"Mouse") && !ReadMouse(doc, model, out, error)) return false;
  return true;
}
