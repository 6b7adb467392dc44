#include "catalog/Catalog.h"

#include "markup/MarkupDocument.h"
#include "platform/Text.h"

namespace {

bool LoadWellFormed(MarkupDocument& doc, const std::filesystem::path& file) {
  return doc.LoadFile(file) && doc.IsWellFormed();
}

// Formats "%s: v%s".
std::wstring VersionTitle(const std::wstring& caption, const std::wstring& version) {
  return caption + L": v" + version;
}

}  // namespace

const CatalogEntry* Catalog::FindModel(int deviceType) const {
  for (const auto& m : models)
    if (m.device_type == deviceType) return &m;
  return nullptr;
}

CatalogStart ReadLanguagesAndName(const std::filesystem::path& programFolder) {
  CatalogStart start;
  MarkupDocument doc;
  if (!LoadWellFormed(doc, programFolder / "config.xml")) return start;
  if (!doc.FindElement(L"config")) return start;
  doc.EnterElement();
  if (doc.FindElement(L"language.info")) {
    doc.EnterElement();
    while (doc.FindElement(L"lan")) start.languages.insert(platform::WToI(doc.GetAttribute(L"value")));
    doc.LeaveElement();
  }
  if (doc.FindElement(L"software")) start.caption = doc.GetAttribute(L"caption");
  return start;
}

Catalog ReadDeviceList(const std::filesystem::path& programFolder, const std::filesystem::path& skinFolder,
                       CatalogSink& sink, const std::function<std::wstring(int)>& textLookup) {
  Catalog catalog;
  sink.ClearList();
  sink.ClearModeTable();

  MarkupDocument doc;
  if (!LoadWellFormed(doc, programFolder / "config.xml")) return catalog;
  if (!doc.FindElement(L"config")) return catalog;
  doc.EnterElement();

  if (doc.FindElement(L"device")) {
    doc.EnterElement();
    while (doc.FindElement(L"mouse")) {
      CatalogEntry entry;
      entry.name = doc.GetAttribute(L"name");
      entry.device_type = platform::WToI(doc.GetAttribute(L"device_type"));
      entry.device_attr = doc.GetAttribute(L"device_attr");
      entry.image_path = skinFolder / "device" / platform::ToUtf8(doc.GetAttribute(L"image"));
      catalog.models.push_back(entry);
      sink.AddDevice(entry.name, entry.device_type, entry.image_path);

      doc.EnterElement();
      while (doc.FindElement(L"mode")) {
        CatalogEntry mode = entry;
        mode.mode = platform::WToI(doc.GetAttribute(L"value"));
        mode.vid = static_cast<int>(platform::WcsToL(doc.GetAttribute(L"vid"), 16));
        mode.pid = static_cast<int>(platform::WcsToL(doc.GetAttribute(L"pid"), 16));
        mode.dev_id = doc.GetAttribute(L"dev_id");
        catalog.modes.push_back(mode);
        sink.AddModeEntry(mode.vid, mode.pid, std::wstring(), mode.device_type, mode.mode, mode.dev_id);
      }
      doc.LeaveElement();
    }
    doc.LeaveElement();
  }

  if (doc.FindElement(L"software")) {
    catalog.version = doc.GetAttribute(L"version");
    sink.SetVersionTitle(VersionTitle(textLookup ? textLookup(17) : std::wstring(), catalog.version));
    doc.EnterElement();
    if (doc.FindElement(L"website")) catalog.website = doc.GetAttribute(L"url");
    if (doc.FindElement(L"feedback")) catalog.feedback = doc.GetAttribute(L"url");
    if (doc.FindElement(L"qa")) catalog.qa = doc.GetAttribute(L"url");
  }
  return catalog;
}
