#include "shell/Localisation.h"

#include <sys/stat.h>

#include <atomic>
#include <cstdlib>
#include <map>
#include <mutex>
#include <optional>
#include <unordered_map>

#include "platform/IniFile.h"
#include "platform/Text.h"
#include "shell/AppNames.h"
#include "shell/Environment.h"
#include "shell/LanguageSet.h"

namespace shell {

namespace fs = std::filesystem;

namespace {

std::atomic<int> g_current{kLangEnglish};

std::mutex g_handlerLock;
LanguageChangedHandler g_handler;

// What identifies one version of a file: a rewrite changes the size or the
// times, a replacement by rename changes the inode.
struct FileStamp {
  dev_t dev = 0;
  ino_t ino = 0;
  off_t size = 0;
  timespec mtime{};
  timespec ctime{};
  bool operator==(const FileStamp& o) const {
    return dev == o.dev && ino == o.ino && size == o.size && mtime.tv_sec == o.mtime.tv_sec &&
           mtime.tv_nsec == o.mtime.tv_nsec && ctime.tv_sec == o.ctime.tv_sec && ctime.tv_nsec == o.ctime.tv_nsec;
  }
};

std::optional<FileStamp> Stamp(const fs::path& file) {
  struct stat st {};
  if (::stat(file.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  return FileStamp{st.st_dev, st.st_ino, st.st_size, st.st_mtim, st.st_ctim};
}

// One parsed language file. The texts of section "LAN" are also kept by
// number, so the common lookup is one stat and one hash probe.
struct CachedFile {
  FileStamp stamp;
  platform::IniFile ini;
  std::unordered_map<int, std::wstring> lan;
};

std::mutex g_cacheLock;
std::map<int, fs::path> g_files;          // language id -> file, guarded by g_cacheLock
std::map<fs::path, CachedFile> g_cache;   // guarded by g_cacheLock
std::optional<fs::path> g_folder;         // guarded by g_cacheLock

fs::path LanguageFolderLocked() {
  if (!g_folder) g_folder = ProgramFolder() / "language";
  return *g_folder;
}

const fs::path& LanguageFileLocked(int id) {
  auto it = g_files.find(id);
  if (it == g_files.end()) it = g_files.emplace(id, LanguageFolderLocked() / (std::to_string(id) + ".lan")).first;
  return it->second;
}

// A language file that is neither UTF-16 with a mark nor UTF-8 is read in
// the legacy code page its language used.
const char* LegacyCharset(int id) {
  switch (id) {
    case kLangChineseSimplified: return "CP936";
    case kLangChineseTraditional: return "CP950";
    case kLangJapanese: return "CP932";
    case kLangKorean: return "CP949";
    case kLangUkrainian: return "CP1251";
    default: return "CP1252";
  }
}

bool IsLanSection(std::wstring_view section) {
  if (section.size() != 3) return false;
  for (size_t i = 0; i < 3; ++i)
    if ((section[i] | 0x20) != L"lan"[i]) return false;
  return true;
}

}  // namespace

int CurrentLanguage() { return g_current.load(std::memory_order_relaxed); }

int LanguageIdFromLocale(std::string_view locale) {
  // "ll_CC.charset@modifier": language, then the optional territory or script.
  const size_t cut = locale.find_first_of(".@");
  const std::string_view name = locale.substr(0, cut);
  const size_t sep = name.find_first_of("_-");
  const std::string_view lang = name.substr(0, sep);
  const std::string_view region = sep == std::string_view::npos ? std::string_view() : name.substr(sep + 1);
  if (lang == "zh") {
    if (region == "TW" || region == "HK" || region == "MO" || region == "Hant") return kLangChineseTraditional;
    return kLangChineseSimplified;
  }
  if (lang == "en") return kLangEnglish;
  if (lang == "ja") return kLangJapanese;
  if (lang == "ko") return kLangKorean;
  if (lang == "uk") return kLangUkrainian;
  return 0;
}

int UserInterfaceLanguage() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return LanguageIdFromLocale(value);
  }
  return 0;
}

int ChooseLanguage() {
  int taken = 0;
  if (!RegistryKeyExists()) {
    if (!CreateRegistryKey()) {
      // Without a key nothing can be stored: use the installed Chinese or
      // English for this run only.
      taken = LanguageSet::Contains(kLangChineseSimplified) ? kLangChineseSimplified : kLangEnglish;
      g_current.store(taken);
      return taken;
    }
  } else {
    std::wstring text;
    if (ReadRegistryText(L"LCID", text)) taken = platform::WToI(text);
  }
  if (taken == 0) {
    const int ui = UserInterfaceLanguage();
    taken = ui != 0 && LanguageSet::Contains(ui) ? ui : kLangEnglish;
    WriteRegistryInt(L"LCID", taken);
  }
  if (!LanguageSet::Contains(taken)) {
    taken = kLangEnglish;
    WriteRegistryInt(L"LCID", taken);
  }
  g_current.store(taken);
  return taken;
}

void SetLanguageChangedHandler(LanguageChangedHandler handler) {
  std::lock_guard lock(g_handlerLock);
  g_handler = std::move(handler);
}

void SetLanguage(int id) {
  g_current.store(id);
  WriteRegistryInt(L"LCID", id);
  const std::wstring face = kDefaultFontName;
  SetFontName(face);
  LanguageChangedHandler handler;
  {
    std::lock_guard lock(g_handlerLock);
    handler = g_handler;
  }
  if (handler) handler(face);
}

fs::path LanguageFile(int id) {
  std::lock_guard lock(g_cacheLock);
  return LanguageFileLocked(id);
}

std::wstring GetText(int id, std::wstring_view section) { return GetLanguageText(CurrentLanguage(), id, section); }

std::wstring GetLanguageText(int language, int id, std::wstring_view section) {
  std::lock_guard lock(g_cacheLock);
  const fs::path& file = LanguageFileLocked(language);
  const auto stamp = Stamp(file);
  if (!stamp) {
    g_cache.erase(file);
    return {};
  }
  auto it = g_cache.find(file);
  if (it == g_cache.end() || !(it->second.stamp == *stamp)) {
    CachedFile entry;
    entry.stamp = *stamp;
    if (!entry.ini.Load(file, LegacyCharset(language))) {
      g_cache.erase(file);
      return {};
    }
    for (const auto& [key, text] : entry.ini.Section(L"LAN")) {
      // Only keys that are plain decimal ids, as "%d" formats them.
      if (key.empty() || key.size() > 9 || key.find_first_not_of(L"0123456789") != std::wstring::npos) continue;
      if (key.size() > 1 && key[0] == L'0') continue;
      std::wstring value = text.size() > platform::IniFile::kDefaultMaxChars
                               ? text.substr(0, platform::IniFile::kDefaultMaxChars)
                               : text;
      entry.lan.emplace(platform::WToI(key), std::move(value));
    }
    it = g_cache.insert_or_assign(file, std::move(entry)).first;
  }
  if (IsLanSection(section)) {
    const auto text = it->second.lan.find(id);
    return text == it->second.lan.end() ? std::wstring() : text->second;
  }
  return it->second.ini.Get(section, std::to_wstring(id));
}

void ClearTextCache() {
  std::lock_guard lock(g_cacheLock);
  g_cache.clear();
}

void SetLanguageFolder(const fs::path& folder) {
  std::lock_guard lock(g_cacheLock);
  g_cache.clear();
  g_files.clear();
  if (folder.empty()) g_folder.reset();
  else g_folder = folder;
}

}  // namespace shell
