#include "device/simulator/SimulatedMiceFile.h"

// Index
//   1. Writing the text
//   2. Reading the text
//   3. The file

#include <charconv>
#include <fstream>
#include <map>
#include <sstream>

#include "platform/Paths.h"

namespace {

constexpr std::string_view kHeader = "orvane simulated mice 1";
constexpr std::size_t kMaxFileBytes = 1u << 20;
constexpr int kMaxMacroEvents = 4096;

// The single-number settings, with the range a firmware would accept.
struct IntField {
  const char* key;
  int mouseproto::MouseSettings::*field;
  int low;
  int high;
};
constexpr IntField kIntFields[] = {
    {"report_rate", &mouseproto::MouseSettings::report_rate, 0, 255},
    {"dpi_index", &mouseproto::MouseSettings::dpi_index, 0, 5},
    {"dpi_count", &mouseproto::MouseSettings::dpi_count, 1, 6},
    {"liftoff_height", &mouseproto::MouseSettings::liftoff_height, 0, 255},
    {"sleep_light", &mouseproto::MouseSettings::sleep_light, 0, 255},
    {"move_wakeup", &mouseproto::MouseSettings::move_wakeup, 0, 255},
    {"move_closelight", &mouseproto::MouseSettings::move_closelight, 0, 255},
    {"button_respondtime", &mouseproto::MouseSettings::button_respondtime, 0, 255},
};

// Reads at most limit bytes; false when the file cannot be read or is longer.
bool ReadCapped(const std::filesystem::path& path, std::string& text, std::size_t limit, std::string* error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    if (error != nullptr) *error = "cannot open it";
    return false;
  }
  text.assign(limit + 1, '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  if (in.bad()) {
    if (error != nullptr) *error = "read error";
    return false;
  }
  text.resize(static_cast<std::size_t>(in.gcount()));
  if (text.size() > limit) {
    if (error != nullptr) *error = "longer than " + std::to_string(limit) + " bytes";
    return false;
  }
  return true;
}

}  // namespace

// --- 1. Writing the text -------------------------------------------------------------

std::string SimulatedMiceFile::Format(const Entries& entries) {
  std::ostringstream out;
  out << kHeader << '\n';
  for (const auto& [deviceType, s] : entries) {
    out << "mouse " << deviceType << '\n';
    for (const IntField& f : kIntFields) out << f.key << ' ' << s.*(f.field) << '\n';
    out << "sensor_bits " << (s.sensor_bit3 ? 1 : 0) << ' ' << (s.sensor_bit2 ? 1 : 0) << '\n';
    out << "dpi_raw";
    for (int v : s.dpi_raw) out << ' ' << v;
    out << "\ndpi_rgb";
    for (int v : s.dpi_rgb) out << ' ' << v;
    out << "\nkey_slots";
    for (int k = 0; k < mouseproto::kKeySlotCount; ++k) {
      for (std::uint8_t b : s.key_slots.Slot(k)) out << ' ' << int(b);
    }
    out << '\n';
    for (const auto& [keyCode, events] : s.macros) {
      out << "macro " << keyCode << ' ' << events.size();
      for (const mouseproto::MacroWireEvent& e : events) out << ' ' << int(e.code) << ' ' << e.delay << ' ' << int(e.data);
      out << '\n';
    }
    out << "light " << s.lighting.mode << ' ' << s.lighting.brightness << ' ' << s.lighting.speed;
    for (int c : s.lighting.colours) out << ' ' << c;
    out << "\nend\n";
  }
  return out.str();
}

// --- 2. Reading the text -------------------------------------------------------------

namespace {

class LineReader {
 public:
  explicit LineReader(std::string_view line) : rest_(line) {}

  bool Word(std::string_view& word) {
    while (!rest_.empty() && rest_.front() == ' ') rest_.remove_prefix(1);
    if (rest_.empty()) return false;
    const std::size_t end = rest_.find(' ');
    word = rest_.substr(0, end);
    rest_.remove_prefix(end == std::string_view::npos ? rest_.size() : end);
    return true;
  }
  bool Int(int& value, int low, int high) {
    std::string_view word;
    if (!Word(word)) return false;
    auto [ptr, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    return ec == std::errc() && ptr == word.data() + word.size() && value >= low && value <= high;
  }
  bool AtEnd() {
    std::string_view word;
    return !Word(word);
  }

 private:
  std::string_view rest_;
};

bool ParseSetting(std::string_view key, LineReader& in, mouseproto::MouseSettings& s) {
  for (const IntField& f : kIntFields) {
    if (key == f.key) return in.Int(s.*(f.field), f.low, f.high);
  }
  if (key == "sensor_bits") {
    int bit3 = 0, bit2 = 0;
    if (!in.Int(bit3, 0, 1) || !in.Int(bit2, 0, 1)) return false;
    s.sensor_bit3 = bit3 != 0;
    s.sensor_bit2 = bit2 != 0;
    return true;
  }
  if (key == "dpi_raw" || key == "dpi_rgb") {
    std::array<int, 6>& values = key == "dpi_raw" ? s.dpi_raw : s.dpi_rgb;
    const int high = key == "dpi_raw" ? 0xFFFF : 0xFFFFFF;
    for (int& v : values) {
      if (!in.Int(v, 0, high)) return false;
    }
    return true;
  }
  if (key == "key_slots") {
    for (int k = 0; k < mouseproto::kKeySlotCount; ++k) {
      mouseproto::SlotBytes slot{};
      for (std::uint8_t& b : slot) {
        int v = 0;
        if (!in.Int(v, 0, 255)) return false;
        b = static_cast<std::uint8_t>(v);
      }
      s.key_slots.SetSlot(k, slot);
    }
    return true;
  }
  if (key == "macro") {
    int keyCode = 0, count = 0;
    if (!in.Int(keyCode, 0, 255) || !in.Int(count, 0, kMaxMacroEvents)) return false;
    if (s.macros.count(keyCode) != 0) return false;
    std::vector<mouseproto::MacroWireEvent>& events = s.macros[keyCode];
    for (int i = 0; i < count; ++i) {
      int code = 0, delay = 0, data = 0;
      if (!in.Int(code, 0, 255) || !in.Int(delay, 0, 65535) || !in.Int(data, 0, 255)) return false;
      events.push_back({static_cast<std::uint8_t>(code), delay, static_cast<std::uint8_t>(data)});
    }
    return true;
  }
  if (key == "light") {
    if (!in.Int(s.lighting.mode, 0, 255) || !in.Int(s.lighting.brightness, 0, 255) ||
        !in.Int(s.lighting.speed, 0, 255)) {
      return false;
    }
    for (int& c : s.lighting.colours) {
      if (!in.Int(c, 0, 0xFFFFFF)) return false;
    }
    return true;
  }
  return false;
}

}  // namespace

bool SimulatedMiceFile::Parse(std::string_view text, Entries& out, std::string* error) {
  out.clear();
  const auto fail = [&](int line, const std::string& why) {
    out.clear();
    if (error != nullptr) *error = "line " + std::to_string(line) + ": " + why;
    return false;
  };
  int number = 0;
  bool inMouse = false;
  bool headerSeen = false;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    if (end == std::string_view::npos) return fail(number + 1, "the file ends inside a line");
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end + 1);
    ++number;
    if (!headerSeen) {
      if (line != kHeader) return fail(number, "not a simulated mice file");
      headerSeen = true;
      continue;
    }
    LineReader in(line);
    std::string_view key;
    if (!in.Word(key)) return fail(number, "empty line");
    if (!inMouse) {
      int deviceType = 0;
      if (key != "mouse" || !in.Int(deviceType, 0, 0xFFFF) || !in.AtEnd()) return fail(number, "a mouse block expected");
      for (const auto& entry : out) {
        if (entry.first == deviceType) return fail(number, "the device type stands twice");
      }
      out.emplace_back(deviceType, mouseproto::MouseSettings{});
      inMouse = true;
      continue;
    }
    if (key == "end") {
      if (!in.AtEnd()) return fail(number, "text after end");
      inMouse = false;
      continue;
    }
    if (!ParseSetting(key, in, out.back().second) || !in.AtEnd()) {
      return fail(number, "bad setting \"" + std::string(key) + "\"");
    }
  }
  if (!headerSeen) return fail(1, "empty file");
  if (inMouse) return fail(number, "the last mouse block has no end");
  return true;
}

// --- 3. The file ---------------------------------------------------------------------

bool SimulatedMiceFile::Load(SimulatedHid& bus, const std::vector<SimulatedModel>& models, std::string* error) {
  std::error_code ec;
  if (!std::filesystem::exists(path_, ec)) {
    // Fresh mice are written only once something changes them.
    Entries fresh;
    for (const SimulatedModel& model : models) fresh.emplace_back(model.device_type, bus.Firmware(model.mouse).settings);
    std::lock_guard<std::mutex> hold(lock_);
    written_ = Format(fresh);
    return true;
  }
  std::string text;
  std::string readError;
  if (!ReadCapped(path_, text, kMaxFileBytes, &readError)) {
    if (error != nullptr) *error = "cannot read " + path_.string() + ": " + readError;
    return false;
  }
  Entries entries;
  std::string parseError;
  if (!Parse(text, entries, &parseError)) {
    if (error != nullptr) *error = path_.string() + ", " + parseError;
    return false;
  }
  for (const SimulatedModel& model : models) {
    for (const auto& entry : entries) {
      if (entry.first != model.device_type) continue;
      bus.UpdateFirmware(model.mouse, [&](mouseproto::MouseState& state) {
        state.settings = entry.second;
        state.assembly = {};
      });
    }
  }
  std::lock_guard<std::mutex> hold(lock_);
  written_ = std::move(text);
  return true;
}

bool SimulatedMiceFile::SaveIfChanged(const SimulatedHid& bus, const std::vector<SimulatedModel>& models,
                                      std::string* error) {
  Entries entries;
  for (const SimulatedModel& model : models) entries.emplace_back(model.device_type, bus.Firmware(model.mouse).settings);
  const std::string text = Format(entries);
  std::lock_guard<std::mutex> hold(lock_);
  if (text == written_) return true;
  std::error_code ec;
  std::filesystem::create_directories(path_.parent_path(), ec);
  if (!platform::WriteFileAtomically(path_, text, error)) return false;
  written_ = text;
  return true;
}
