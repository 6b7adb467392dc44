#include "catalog/ModelDescription.h"

#include "markup/MarkupDocument.h"
#include "platform/Paths.h"
#include "platform/Text.h"
#include "shell/Environment.h"
#include "store/SettingsStore.h"

namespace {

bool OpenMouse(MarkupDocument& doc, const std::filesystem::path& file) {
  if (file.empty() || !doc.LoadFile(file) || !doc.IsWellFormed()) return false;
  if (!doc.FindElement(L"mouse")) return false;
  return doc.EnterElement();
}

// Flags are numbers like every attribute: "1", " 1" and "01" all set them.
bool IsOne(const std::wstring& value) { return platform::WToI(value) == 1; }

int HexDigit(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  return -1;
}

ModelButton ReadButton(const MarkupDocument& doc) {
  ModelButton button;
  button.name = doc.GetAttribute(L"name");
  button.key_value = platform::WToI(doc.GetAttribute(L"key_value"));
  button.direction = platform::WToI(doc.GetAttribute(L"direction"));
  SplitButtonRect(doc.GetAttribute(L"rect"), button.a, button.b);
  button.func_type = platform::WToI(doc.GetAttribute(L"func_type"));
  button.func_value = platform::WToI(doc.GetAttribute(L"func_value"));
  button.func_desc = doc.GetAttribute(L"func_desc");
  return button;
}

}  // namespace

// --- ModelButton, ModelDescription ---------------------------------------------

int ModelButton::NameId() const { return platform::WToI(name); }
int ModelButton::FuncDescId() const { return platform::WToI(func_desc); }

KeyRecord ModelButton::DefaultKeyRecord() const {
  KeyRecord record;
  record.key_code = key_value;
  record.layout_value = key_value;
  record.layout_desc = name;
  record.macro_type = func_type;
  record.macro_value = func_value;
  record.macro_desc = func_desc;
  return record;
}

std::vector<KeyRecord> ModelDescription::DefaultKeyRecords() const {
  std::vector<KeyRecord> records;
  if (buttons)
    for (const ModelButton& button : *buttons) records.push_back(button.DefaultKeyRecord());
  return records;
}

std::array<bool, kLightEffectCount> ModelDescription::MergeEffects(
    const std::array<bool, kLightEffectCount>& previous) const {
  std::array<bool, kLightEffectCount> merged = previous;
  for (int k = 0; k < kLightEffectCount; ++k)
    if (effects[k]) merged[k] = *effects[k];
  return merged;
}

// --- Reading ------------------------------------------------------------------------

std::filesystem::path ModelDescriptionPath(const std::filesystem::path& programFolder, const std::wstring& deviceAttr) {
  if (!platform::IsSafeFolderName(deviceAttr)) return {};
  return programFolder / "device" / std::filesystem::path(platform::ToUtf8(deviceAttr + L".xml"));
}

void SplitButtonRect(const std::wstring& rect, ModelPoint& a, ModelPoint& b) {
  const std::size_t first = rect.find(L'#');
  const std::wstring rest = first == std::wstring::npos ? rect : rect.substr(first + 1);
  const std::size_t second = rest.find(L'#');
  const std::wstring tail = second == std::wstring::npos ? rest : rest.substr(second + 1);
  const int y = platform::WToI(tail);
  a = {platform::WToI(rect.substr(0, first)), y};
  b = {platform::WToI(rest.substr(0, second)), y};
}

std::optional<int> ParseModelColour(const std::wstring& text) {
  if (text.size() != 7 || text[0] != L'#') return std::nullopt;
  int rgb[3] = {};
  for (int i = 0; i < 3; ++i) {
    const int high = HexDigit(text[1 + 2 * i]);
    const int low = HexDigit(text[2 + 2 * i]);
    if (high < 0 || low < 0) return std::nullopt;
    rgb[i] = high * 16 + low;
  }
  return rgb[0] | rgb[1] << 8 | rgb[2] << 16;
}

std::optional<ModelDescription> ReadModelDescription(const std::filesystem::path& file) {
  MarkupDocument doc;
  if (!OpenMouse(doc, file)) return std::nullopt;

  ModelDescription model;
  if (doc.FindElement(L"image_file")) model.picture = doc.GetAttribute(L"mouse_img");
  if (doc.FindElement(L"menu")) model.lighting = IsOne(doc.GetAttribute(L"light"));
  if (doc.FindElement(L"custom")) {
    model.custom = ModelCustomFlags{IsOne(doc.GetAttribute(L"show_dpitips")), IsOne(doc.GetAttribute(L"show_savetips")),
                                    IsOne(doc.GetAttribute(L"show_lod")), IsOne(doc.GetAttribute(L"show_sensor"))};
  }
  if (doc.FindElement(L"firmware")) model.firmware_url = doc.GetAttribute(L"url");
  if (doc.FindElement(L"mouse_key")) {
    model.buttons.emplace();
    doc.EnterElement();
    while (doc.FindElement(L"key")) model.buttons->push_back(ReadButton(doc));
    doc.LeaveElement();
  }
  if (doc.FindElement(L"mouse_info")) {
    doc.EnterElement();
    // "light_info" may stand anywhere among the defaults: it is searched
    // from the first child of "mouse_info".
    if (doc.FindElement(L"light_info")) {
      doc.EnterElement();
      for (int k = 1; k <= kLightEffectCount; ++k) {
        if (doc.FindElement(L"light_" + std::to_wstring(k))) model.effects[k - 1] = IsOne(doc.GetAttribute(L"enable"));
      }
      doc.LeaveElement();
    }
    doc.LeaveElement();
  }
  return model;
}

// --- The model load -------------------------------------------------------------------

LoadedModel LoadModelData(int deviceType, const Catalog& catalog, SettingsStore& store,
                          const std::filesystem::path& programFolder) {
  LoadedModel loaded;
  loaded.device_type = deviceType;
  if (const CatalogEntry* entry = catalog.FindModel(deviceType)) {
    loaded.name = entry->name;
    loaded.device_attr = entry->device_attr;
  }
  loaded.database_opened = store.OpenForDeviceType(deviceType, [&](int) { return loaded.device_attr; });
  loaded.description = ReadModelDescription(ModelDescriptionPath(programFolder, loaded.device_attr));
  return loaded;
}

LoadedModel LoadModelData(const Catalog& catalog) {
  return LoadModelData(shell::ReadRegistryInt(L"DeviceType"), catalog, SettingsStore::GetInstance(),
                       shell::ProgramFolder());
}

// --- Model defaults ------------------------------------------------------------------

int ReportRateChoicesForCode(int code) {
  switch (code) {
    case 64:
      return 7;
    case 32:
      return 6;
    case 16:
      return 5;
    default:
      return 4;
  }
}

bool ApplyModelDefaults(SettingsStore& store, int profile, const std::filesystem::path& programFolder,
                        const std::wstring& deviceAttr, ModelDefaultsMode mode, int* reportRateChoices) {
  MarkupDocument doc;
  if (!OpenMouse(doc, ModelDescriptionPath(programFolder, deviceAttr))) return false;
  if (!doc.FindElement(L"mouse_info")) return false;
  doc.EnterElement();

  const auto write = [&](const std::wstring& key, const std::wstring& value) { store.SetConfigValue(profile, key, value); };
  if (doc.FindElement(L"dpi_info")) {
    write(L"dpi_index", doc.GetAttribute(L"default_dpi"));
    const std::wstring count = doc.GetAttribute(L"dpi_count");
    write(L"dpi_flag", count);
    write(L"dpi_count", count);
    doc.EnterElement();
    for (int k = 1; k <= 6; ++k) {
      if (!doc.FindElement(L"dpi_" + std::to_wstring(k))) continue;
      const std::wstring stage = std::to_wstring(k - 1);
      write(L"dpi_group" + stage + L"_value", doc.GetAttribute(L"value"));
      if (const auto colour = ParseModelColour(doc.GetAttribute(L"color")))
        write(L"dpi_group" + stage + L"_rgb", std::to_wstring(*colour));
    }
    doc.LeaveElement();
  }
  if (mode != ModelDefaultsMode::Full) return true;

  if (doc.FindElement(L"report_rate")) {
    const std::wstring rate = doc.GetAttribute(L"default_value");
    write(L"report_rate", rate);
    // The number of choices has to offer the default rate itself, so it is
    // derived from the code the same way the info reply's highest rate is.
    if (reportRateChoices) *reportRateChoices = ReportRateChoicesForCode(platform::WToI(rate));
  }
  for (const wchar_t* key : {L"sleep_light", L"move_wakeup", L"move_closelight"}) {
    if (doc.FindElement(key)) write(key, doc.GetAttribute(L"value"));
  }
  return true;
}

std::optional<std::wstring> ReadModelReportRateDefault(const std::filesystem::path& programFolder,
                                                       const std::wstring& deviceAttr) {
  MarkupDocument doc;
  if (!OpenMouse(doc, ModelDescriptionPath(programFolder, deviceAttr))) return std::nullopt;
  if (!doc.FindElement(L"mouse_info")) return std::nullopt;
  doc.EnterElement();
  if (!doc.FindElement(L"report_rate")) return std::nullopt;
  std::wstring rate = doc.GetAttribute(L"default_value");
  if (rate.empty()) return std::nullopt;
  return rate;
}
