#include "store/ExchangeWriter.h"

#include <vector>

#include "markup/MarkupDocument.h"
#include "platform/Text.h"
#include "store/SettingsStore.h"

// Index
//   1. Pieces shared by the layouts
//   2. Macro files
//   3. Profile files

namespace {

// --- 1. Pieces shared by the layouts -----------------------------------------------

constexpr wchar_t kDeclaration[] = L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";

std::wstring Num(int value) { return platform::IntToWString(value); }

void SetMacroInfo(MarkupDocument& doc, const std::wstring& name, const MacroRecord& macro) {
  doc.SetAttribute(L"macro_name", name);
  doc.SetAttribute(L"macro_type", Num(macro.play_type));
  doc.SetAttribute(L"play_times", Num(macro.play_times));
  doc.SetAttribute(L"delay_type", Num(macro.delay_type));
  doc.SetAttribute(L"delay_time", Num(macro.delay_time));
}

// One "item" per event, in ascending record_index (the order the store lists
// them in), inside the current parent.
void AddEvents(MarkupDocument& doc, const std::vector<MacroEvent>& events) {
  for (const MacroEvent& event : events) {
    doc.AddElement(L"item");
    doc.SetAttribute(L"desc", event.desc);
    doc.SetAttribute(L"index", Num(event.record_index));
    doc.SetAttribute(L"type", Num(event.type));
    doc.SetAttribute(L"value", Num(event.value));
    doc.SetAttribute(L"timestamp", Num(event.delay_time));
  }
}

bool Save(const std::optional<std::wstring>& text, const std::filesystem::path& path) {
  if (!text) return false;
  MarkupDocument doc;
  doc.ParseText(*text);
  return doc.SaveFile(path);
}

}  // namespace

// --- 2. Macro files -------------------------------------------------------------------

std::optional<std::wstring> ExchangeWriter::BuildMacro(int macroId, const std::wstring& shownName) {
  MacroRecord macro;
  if (!store_.GetMacro(macroId, macro)) return std::nullopt;
  std::vector<MacroEvent> events;
  store_.ListMacroEvents(macroId, events);
  MarkupDocument doc;
  doc.ParseText(kDeclaration);
  doc.AddElement(L"macro");
  doc.EnterElement();
  doc.AddElement(L"macroinfo");
  SetMacroInfo(doc, shownName, macro);
  doc.AddElement(L"macroitems");
  doc.EnterElement();
  AddEvents(doc, events);
  doc.LeaveElement();
  doc.LeaveElement();
  return doc.GetText();
}

std::optional<std::wstring> ExchangeWriter::BuildAllMacros() {
  if (!store_.IsOpened()) return std::nullopt;
  std::vector<MacroRecord> macros;
  store_.ListMacros(macros);
  MarkupDocument doc;
  doc.ParseText(kDeclaration);
  doc.AddElement(L"macro");
  doc.EnterElement();
  for (const MacroRecord& macro : macros) {
    doc.AddElement(L"macro_item");
    SetMacroInfo(doc, macro.name, macro);
    std::vector<MacroEvent> events;
    if (store_.ListMacroEvents(macro.macro_id, events) == 0) continue;
    doc.EnterElement();
    doc.AddElement(L"record_item");
    doc.EnterElement();
    AddEvents(doc, events);
    doc.LeaveElement();
    doc.LeaveElement();
  }
  doc.LeaveElement();
  return doc.GetText();
}

bool ExchangeWriter::ExportMacro(int macroId, const std::wstring& shownName, const std::filesystem::path& path) {
  return Save(BuildMacro(macroId, shownName), path);
}

bool ExchangeWriter::ExportAllMacros(const std::filesystem::path& path) { return Save(BuildAllMacros(), path); }

// --- 3. Profile files ----------------------------------------------------------------------

std::optional<std::wstring> ExchangeWriter::BuildProfile(int profile, const std::wstring& shownName,
                                                          bool hasLighting) {
  std::wstring storedName;
  if (!store_.GetProfileName(profile, storedName)) return std::nullopt;
  // A setting missing from the store is written as an empty value.
  const auto setting = [&](const wchar_t* key) {
    std::wstring value;
    store_.GetConfigValue(profile, key, value);
    return value;
  };
  MarkupDocument doc;
  doc.ParseText(kDeclaration);
  doc.AddElement(L"profile");
  doc.EnterElement();
  doc.AddElement(L"profileinfo");
  doc.SetAttribute(L"name", shownName);
  doc.EnterElement();

  doc.AddElement(L"keyitems");
  doc.EnterElement();
  std::vector<KeyRecord> keys;
  store_.ListKeyRecords(profile, keys);
  for (const KeyRecord& key : keys) {
    doc.AddElement(L"item");
    doc.SetAttribute(L"key_code", Num(key.key_code));
    doc.SetAttribute(L"macro_type", Num(key.macro_type));
    doc.SetAttribute(L"macro_value", Num(key.macro_value));
    doc.SetAttribute(L"macro_value2", Num(key.macro_value2));
    doc.SetAttribute(L"macro_value3", Num(key.macro_value3));
    doc.SetAttribute(L"macro_desc", key.macro_desc);
  }
  doc.LeaveElement();

  if (hasLighting) {
    doc.AddElement(L"Lightitems");
    doc.SetAttribute(L"lightmode", Num(store_.GetCurrentLightMode(profile)));
    doc.EnterElement();
    std::vector<LightRecord> lights;
    store_.ListLights(profile, lights);
    for (const LightRecord& light : lights) {
      doc.AddElement(L"item");
      doc.SetAttribute(L"light_mode", Num(light.mode));
      doc.SetAttribute(L"brightness", Num(light.brightness));
      doc.SetAttribute(L"speed", Num(light.speed));
      doc.SetAttribute(L"direction", Num(light.direction));
      doc.SetAttribute(L"colorful", Num(light.colorful));
      doc.SetAttribute(L"colorindex", Num(light.colorindex));
      for (int i = 0; i < 7; ++i) doc.SetAttribute(L"color_value" + Num(i + 1), Num(light.color_value[i]));
    }
    doc.LeaveElement();
  }

  doc.AddElement(L"Mouse_DPI");
  doc.SetAttribute(L"dpi_flag", setting(L"dpi_flag"));
  doc.SetAttribute(L"dpi_index", setting(L"dpi_index"));
  doc.SetAttribute(L"dpi_count", setting(L"dpi_count"));
  doc.EnterElement();
  for (int k = 1; k <= 6; ++k) {
    const std::wstring stage = L"dpi_group" + Num(k - 1);
    doc.AddElement(L"DPI" + Num(k));
    doc.SetAttribute(L"value", setting((stage + L"_value").c_str()));
    doc.SetAttribute(L"color", setting((stage + L"_rgb").c_str()));
  }
  doc.LeaveElement();

  doc.AddElement(L"Mouse");
  doc.EnterElement();
  for (const wchar_t* name : {L"button_respondtime", L"report_rate", L"sensor_flag", L"liftoff_height", L"scroll_flag",
                              L"e-sports_flag", L"sleep_light", L"move_wakeup", L"move_closelight"}) {
    doc.AddElement(name);
    doc.SetAttribute(L"value", setting(name));
  }
  doc.LeaveElement();
  doc.LeaveElement();
  doc.LeaveElement();
  return doc.GetText();
}

bool ExchangeWriter::ExportProfile(int profile, const std::wstring& shownName, bool hasLighting,
                                   const std::filesystem::path& path) {
  return Save(BuildProfile(profile, shownName, hasLighting), path);
}
