#pragma once
// The catalog file config.xml: installed languages, the application name,
// the supported models with their connection modes, and the software
// section (version and web addresses).
//
// Two readers: the early read at start-up (languages and name) and the full
// read at main window initialisation (models and modes). Both return what
// they read and set nothing global: start-up hands the languages and the name
// to the program's services. The full read also reports what it finds through
// CatalogSink, which the main window implements over its device list control
// and the device manager.

#include <filesystem>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

struct CatalogEntry {
  std::wstring name;
  int device_type = 0;
  std::wstring device_attr;
  std::filesystem::path image_path;  // skin folder + "device/" + image
  int mode = 0;                      // 0 = cable, 1 = 2.4 GHz receiver
  int vid = 0;
  int pid = 0;
  std::wstring dev_id;
};

// What the full read tells the window and the device manager.
class CatalogSink {
 public:
  virtual ~CatalogSink() = default;
  // Device list control.
  virtual void ClearList() = 0;
  virtual void AddDevice(const std::wstring& name, int deviceType, const std::filesystem::path& image) = 0;
  // Device manager's mode table.
  virtual void ClearModeTable() = 0;
  virtual void AddModeEntry(int vid, int pid, const std::wstring& name, int deviceType, int mode,
                            const std::wstring& devId) = 0;
  // Title of the main window's two version labels ("%s: v%s" with text 17).
  virtual void SetVersionTitle(const std::wstring& title) = 0;
};

// A sink for runs without a window (command-line listings, the start-up
// summary): the full read's window-side calls have no receiver there.
class NullCatalogSink : public CatalogSink {
 public:
  void ClearList() override {}
  void AddDevice(const std::wstring&, int, const std::filesystem::path&) override {}
  void ClearModeTable() override {}
  void AddModeEntry(int, int, const std::wstring&, int, int, const std::wstring&) override {}
  void SetVersionTitle(const std::wstring&) override {}
};

struct Catalog {
  std::vector<CatalogEntry> models;  // one per "mouse", file order
  std::vector<CatalogEntry> modes;   // one per "mode", file order
  std::wstring version;
  std::wstring website;
  std::wstring feedback;
  std::wstring qa;

  // First model with the device type, or nullptr.
  const CatalogEntry* FindModel(int deviceType) const;
};

// What the early read found.
struct CatalogStart {
  std::set<int> languages;             // the "lan" values of "language.info"
  std::optional<std::wstring> caption;  // "software"/"caption" when "software" was found (may be empty)
};

// Early read: the installed languages and the application name. A missing or
// ill-formed file gives no languages and no caption.
CatalogStart ReadLanguagesAndName(const std::filesystem::path& programFolder);

// Full read. textLookup gives the text of an id in the current language (for
// the version caption). skinFolder is where model images live ("device/").
Catalog ReadDeviceList(const std::filesystem::path& programFolder, const std::filesystem::path& skinFolder,
                       CatalogSink& sink, const std::function<std::wstring(int)>& textLookup);
