#include "ui/SettingsCommand.h"

// Index
//   1. The settings and their fixed ranges
//   2. Parsing
//   3. Checks against the mouse and the model
//   4. Storing and queueing

#include <algorithm>
#include <charconv>
#include <cstring>
#include <set>

#include "device/Commands.h"
#include "device/DefaultLights.h"
#include "device/DeviceManager.h"
#include "device/DeviceSequences.h"
#include "device/DeviceWorker.h"
#include "device/DpiCodec.h"
#include "device/ProfileMapping.h"
#include "platform/Text.h"
#include "store/ExchangeImporter.h"
#include "store/ExchangeReader.h"
#include "store/ExchangeRecords.h"
#include "store/ExchangeWriter.h"
#include "store/SettingsStore.h"
#include "ui/DeviceMainDlg.h"
#include "ui/ProfileExchange.h"

namespace ui {

namespace {

// --- 1. The settings and their fixed ranges ---------------------------------------------------

struct SettingRule {
  const char* name;
  int minCount;
  int maxCount;
  int low;
  int high;
  const char* help;
};
constexpr SettingRule kSettings[] = {
    {"dpi", 1, 6, 50, 30000, "1 to 6 DPI values (50 to 30000), separated by commas"},
    {"count", 1, 1, 1, 6, "a stage count from 1 to 6"},
    {"stage", 1, 1, 1, 6, "a stage from 1 to 6"},
    {"rate", 1, 1, 125, 8000, "a report rate in Hz: 125, 250, 500, 1000, 2000, 4000 or 8000"},
    {"liftoff", 1, 1, 1, 2, "1 or 2 (mm)"},
    {"sensor", 1, 1, 0, 28, "a sum of 4, 8 and 16"},
    {"sleep", 1, 1, 1, 30, "1, 2, 3, 5, 10, 20 or 30 (minutes)"},
    {"wakeup", 1, 1, 0, 1, "0 or 1"},
    {"closelight", 1, 1, 0, 1, "0 or 1"},
    {"response", 1, 1, 0, 20, "0 to 20 (ms)"},
    {"light", 1, 1, 0, 15, "a light mode number"},
    {"brightness", 1, 1, 0, 15, "0 to 15"},
    {"speed", 1, 1, 0, 15, "0 to 15"},
};

const SettingRule* FindRule(std::string_view name) {
  for (const SettingRule& rule : kSettings) {
    if (name == rule.name) return &rule;
  }
  return nullptr;
}

constexpr int kSleepChoices[] = {1, 2, 3, 5, 10, 20, 30};

int RateCode(int hz) {
  for (int code : {8, 4, 2, 1, 16, 32, 64}) {
    if (mouseproto::ReportRateHz(code) == hz) return code;
  }
  return 0;
}

bool ParseInt(std::string_view text, int& value) {
  if (text.empty()) return false;
  auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && ptr == text.data() + text.size();
}

struct FileOption {
  const char* name;
  std::filesystem::path SettingsRequest::*field;
};
constexpr FileOption kFileOptions[] = {
    {"--export-profile", &SettingsRequest::exportProfile},
    {"--import-profile", &SettingsRequest::importProfile},
    {"--export-macros", &SettingsRequest::exportMacros},
    {"--import-macros", &SettingsRequest::importMacros},
};

bool IsSettingsWord(std::string_view word) {
  if (word == "--profile" || word == "--set") return true;
  for (const FileOption& option : kFileOptions) {
    if (word == option.name) return true;
  }
  return false;
}

}  // namespace

bool SettingsRequest::Empty() const {
  return !profile && sets.empty() && exportProfile.empty() && importProfile.empty() && exportMacros.empty() &&
         importMacros.empty();
}

std::vector<std::string> SettingsRequest::Words() const {
  std::vector<std::string> words;
  if (profile) {
    words.push_back("--profile");
    words.push_back(std::to_string(*profile));
  }
  for (const Assignment& set : sets) {
    std::string text = set.name + "=";
    for (size_t i = 0; i < set.values.size(); ++i) text += (i == 0 ? "" : ",") + std::to_string(set.values[i]);
    words.push_back("--set");
    words.push_back(text);
  }
  for (const FileOption& option : kFileOptions) {
    const std::filesystem::path& path = this->*(option.field);
    if (path.empty()) continue;
    words.push_back(option.name);
    words.push_back(path.string());
  }
  return words;
}

// --- 2. Parsing ----------------------------------------------------------------------------

bool IsSettingsCommand(const std::vector<std::string>& words) {
  return std::any_of(words.begin(), words.end(), [](const std::string& w) { return IsSettingsWord(w); });
}

bool ParseSettingsRequest(const std::vector<std::string>& words, SettingsRequest& out, std::string* error) {
  out = SettingsRequest();
  const auto fail = [&](const std::string& why) {
    if (error != nullptr) *error = why;
    out = SettingsRequest();
    return false;
  };
  std::set<std::string> seen;
  for (size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (word == "--simulate" || word == "-hide") continue;
    if (!IsSettingsWord(word)) return fail("unknown option \"" + word + "\" (see --help)");
    if (i + 1 >= words.size()) return fail(word + " needs a value");
    const std::string& value = words[++i];
    if (word == "--profile") {
      int profile = 0;
      if (out.profile) return fail("--profile is given twice");
      if (!ParseInt(value, profile) || profile < 1) return fail("--profile takes a profile number (1, 2, ...), not \"" + value + "\"");
      out.profile = profile;
      continue;
    }
    if (word == "--set") {
      const size_t eq = value.find('=');
      if (eq == std::string::npos || eq == 0) return fail("--set takes NAME=VALUE, not \"" + value + "\"");
      const std::string name = value.substr(0, eq);
      const SettingRule* rule = FindRule(name);
      if (rule == nullptr) {
        std::string names;
        for (const SettingRule& r : kSettings) names += std::string(names.empty() ? "" : ", ") + r.name;
        return fail("unknown setting \"" + name + "\"; the settings are " + names);
      }
      if (!seen.insert(name).second) return fail("the setting \"" + name + "\" is given twice");
      SettingsRequest::Assignment set;
      set.name = name;
      std::string_view rest = std::string_view(value).substr(eq + 1);
      for (;;) {
        const size_t comma = rest.find(',');
        int number = 0;
        if (!ParseInt(rest.substr(0, comma), number) || number < rule->low || number > rule->high) {
          return fail("bad value for " + name + " (\"" + value.substr(eq + 1) + "\"): it takes " + rule->help);
        }
        set.values.push_back(number);
        if (comma == std::string_view::npos) break;
        rest.remove_prefix(comma + 1);
      }
      if (int(set.values.size()) < rule->minCount || int(set.values.size()) > rule->maxCount) {
        return fail("bad value for " + name + ": it takes " + rule->help);
      }
      const int v = set.values.front();
      if (name == "rate" && RateCode(v) == 0) return fail("bad value for rate (" + std::to_string(v) + "): it takes " + rule->help);
      if (name == "sensor" && (v & ~0x1C) != 0) return fail("bad value for sensor (" + std::to_string(v) + "): it takes " + rule->help);
      if (name == "sleep" && std::find(std::begin(kSleepChoices), std::end(kSleepChoices), v) == std::end(kSleepChoices)) {
        return fail("bad value for sleep (" + std::to_string(v) + "): it takes " + rule->help);
      }
      out.sets.push_back(std::move(set));
      continue;
    }
    for (const FileOption& option : kFileOptions) {
      if (word != option.name) continue;
      std::filesystem::path& path = out.*(option.field);
      if (!path.empty()) return fail(word + " is given twice");
      if (value.empty()) return fail(word + " needs a file name");
      std::error_code ec;
      path = std::filesystem::absolute(value, ec);
      if (ec) return fail("cannot use the file name \"" + value + "\"");
    }
  }
  if (out.Empty()) return fail("nothing to do");
  return true;
}

// --- 3. Checks against the mouse and the model ---------------------------------------------------

namespace {

const SettingsRequest::Assignment* Find(const SettingsRequest& request, const char* name) {
  for (const SettingsRequest::Assignment& set : request.sets) {
    if (set.name == name) return &set;
  }
  return nullptr;
}

bool ProfileExists(SettingsStore& store, int profile) {
  std::vector<ProfileRecord> profiles;
  store.ListProfiles(profiles);
  return std::any_of(profiles.begin(), profiles.end(), [&](const ProfileRecord& p) { return p.profile == profile; });
}

std::string Refused(CommandOutcome& outcome, const std::string& why) {
  outcome.exitCode = 1;
  outcome.message = why + "; nothing was changed\n";
  return outcome.message;
}

}  // namespace

CommandOutcome ApplySettingsRequest(DeviceMainDlg& dlg, const SettingsRequest& request) {
  CommandOutcome outcome;
  SettingsStore& store = dlg.Store();
  DeviceSequences& sequences = dlg.Worker().Sequences();
  if (dlg.GetCurrentDeviceType() == 0 || !store.IsOpened()) {
    Refused(outcome, "no supported mouse is connected");
    return outcome;
  }
  const bool sends = request.profile || !request.sets.empty() || !request.importProfile.empty() ||
                     !request.importMacros.empty();
  if (sends && dlg.Manager().ConnectionKind() == -1) {
    Refused(outcome, "the mouse does not answer");
    return outcome;
  }
  if (request.profile && !ProfileExists(store, *request.profile)) {
    Refused(outcome, "there is no profile " + std::to_string(*request.profile));
    return outcome;
  }
  const ExchangeModel model = ProfileExchange::CurrentModel(dlg);
  if (!request.importProfile.empty()) {
    ProfileFileData data;
    std::string why;
    if (!ExchangeReader::ReadProfileFile(request.importProfile, model, data, &why)) {
      Refused(outcome, "cannot import " + request.importProfile.string() + ": " + why);
      return outcome;
    }
  }
  if (!request.importMacros.empty()) {
    std::vector<MacroFileEntry> entries;
    std::string why;
    if (!ExchangeReader::ReadAllMacrosFile(request.importMacros, entries, &why)) {
      Refused(outcome, "cannot import " + request.importMacros.string() + ": " + why);
      return outcome;
    }
  }

  // The settings' final values, checked together (a stage must lie within
  // the count the same command sets).
  const int profile = request.profile.value_or(dlg.GetCurrentProfile());
  const mouseproto::SensorRow sensor = sequences.Sensor();
  const auto* dpi = Find(request, "dpi");
  const auto* count = Find(request, "count");
  const auto* stage = Find(request, "stage");
  const auto* rate = Find(request, "rate");
  const auto* light = Find(request, "light");
  if (dpi != nullptr && count != nullptr && count->values[0] != int(dpi->values.size())) {
    Refused(outcome, "dpi gives " + std::to_string(dpi->values.size()) + " stages but count says " +
                         std::to_string(count->values[0]));
    return outcome;
  }
  std::vector<int> stages;
  if (dpi != nullptr) {
    for (int value : dpi->values) {
      if (value < sensor.min_dpi || value > sensor.max_dpi) {
        Refused(outcome, "the mouse's sensor takes " + std::to_string(sensor.min_dpi) + " to " +
                             std::to_string(sensor.max_dpi) + " DPI, not " + std::to_string(value));
        return outcome;
      }
      stages.push_back(mouseproto::SnapTypedDpi(sensor, value));
    }
  }
  const int stageCount = dpi != nullptr ? int(stages.size())
                         : count != nullptr ? count->values[0]
                                            : store.GetConfigInt(profile, L"dpi_count");
  if (stage != nullptr && stage->values[0] > stageCount) {
    Refused(outcome, "stage " + std::to_string(stage->values[0]) + " is beyond the " + std::to_string(stageCount) +
                         " stages");
    return outcome;
  }
  if (rate != nullptr &&
      std::find(model.report_rates.begin(), model.report_rates.end(), RateCode(rate->values[0])) == model.report_rates.end()) {
    std::string offered;
    for (int code : model.report_rates) offered += (offered.empty() ? "" : ", ") + std::to_string(mouseproto::ReportRateHz(code));
    Refused(outcome, "the mouse offers the report rates " + offered + " Hz, not " + std::to_string(rate->values[0]));
    return outcome;
  }
  const bool lighting = light != nullptr || Find(request, "brightness") != nullptr || Find(request, "speed") != nullptr;
  // Without light=, brightness and speed are those of the profile's current mode.
  // (a profile without light records gets mode 1 as its current one).
  const int lightMode = light != nullptr                    ? light->values[0]
                        : store.CountLights(profile) == 0 ? 1
                                                          : store.GetCurrentLightMode(profile);
  LightRecord lightRecord;
  if (lighting) {
    if (!dlg.GetLighting()) {
      Refused(outcome, "this mouse has no lighting");
      return outcome;
    }
    // A profile that was never current has no light records yet; they are
    // made when it is used, from the modes the model offers.
    bool offered = false;
    const LightEffects effects = dlg.GetLightEffects();
    for (int i = 0; i < kModelLightEffects; ++i) offered = offered || (effects[i] && kModelLightEffectModes[i] == lightMode);
    if (store.CountLights(profile) == 0 ? !offered : !store.GetLight(profile, lightMode, lightRecord)) {
      Refused(outcome, "this mouse has no light mode " + std::to_string(lightMode));
      return outcome;
    }
  }

  // --- 4. Storing and queueing ---------------------------------------------------------------
  std::string& said = outcome.message;
  bool wholeProfile = false;
  if (request.profile) {
    dlg.SwitchProfile(*request.profile, false);
    wholeProfile = true;
    said += "profile " + std::to_string(*request.profile) + " (" + platform::ToUtf8(dlg.ProfileLabel()) + ") is current\n";
  }
  if (!request.importProfile.empty()) {
    std::string why;
    if (!dlg.Exchange().ImportProfile(request.importProfile, &why, false)) {
      outcome.exitCode = 1;
      said += "cannot import " + request.importProfile.string() + ": " + why + "\n";
      return outcome;
    }
    wholeProfile = true;
    said += "profile imported as \"" + platform::ToUtf8(dlg.ProfileLabel()) + "\"\n";
  }
  if (!request.importMacros.empty()) {
    ExchangeImporter importer(store);
    const MacroImportResult result = importer.ImportMacros(request.importMacros);
    if (!result.ok) {
      outcome.exitCode = 1;
      said += "cannot import " + request.importMacros.string() + ": " + result.error + "\n";
      return outcome;
    }
    dlg.RefreshMacroPage();
    dlg.RefreshKeyPage();
    said += std::to_string(result.added.size()) + " macro(s) imported\n";
  }

  std::vector<int> jobs;
  const auto queue = [&](int job) {
    if (std::find(jobs.begin(), jobs.end(), job) == jobs.end()) jobs.push_back(job);
  };
  for (const SettingsRequest::Assignment& set : request.sets) {
    const int v = set.values[0];
    const std::string& name = set.name;
    if (name == "dpi") {
      for (size_t i = 0; i < stages.size(); ++i) {
        store.SetConfigInt(profile, ProfileMapping::StageValueKey(int(i)), stages[i]);
      }
      store.SetConfigInt(profile, L"dpi_count", int(stages.size()));
      std::string shown;
      for (int s : stages) shown += (shown.empty() ? "" : ", ") + std::to_string(s);
      said += "DPI stages " + shown + "\n";
    } else if (name == "count") {
      store.SetConfigInt(profile, L"dpi_count", v);
      said += "stage count " + std::to_string(v) + "\n";
    } else if (name == "stage") {
      store.SetConfigInt(profile, L"dpi_index", v - 1);
      said += "stage " + std::to_string(v) + " selected\n";
    } else if (name == "rate") {
      store.SetConfigInt(profile, L"report_rate", RateCode(v));
      queue(DeviceWorker::kJobReportRate);
      said += "report rate " + std::to_string(v) + " Hz\n";
      continue;
    } else if (name == "liftoff" || name == "sensor") {
      store.SetConfigInt(profile, name == "liftoff" ? L"liftoff_height" : L"sensor_flag", v);
      queue(DeviceWorker::kJobLiftOff);
      said += (name == "liftoff" ? "lift-off " + std::to_string(v) + " mm\n" : "sensor options " + std::to_string(v) + "\n");
      continue;
    } else if (name == "sleep" || name == "wakeup" || name == "closelight" || name == "response") {
      const wchar_t* key = name == "sleep" ? L"sleep_light" : name == "wakeup" ? L"move_wakeup"
                           : name == "closelight" ? L"move_closelight" : L"button_respondtime";
      store.SetConfigInt(profile, key, v);
      queue(DeviceWorker::kJobPowerOptions);
      said += name + " " + std::to_string(v) + "\n";
      continue;
    } else {
      continue;  // the lighting, below
    }
    queue(DeviceWorker::kJobDpiStages);
  }
  // The selected stage stays within the stages there are.
  if ((dpi != nullptr || count != nullptr) && stage == nullptr && store.GetConfigInt(profile, L"dpi_index") >= stageCount) {
    store.SetConfigInt(profile, L"dpi_index", stageCount - 1);
  }
  if (lighting) {
    if (store.CountLights(profile) == 0) {
      CreateDefaultLights(store, profile, dlg.GetLightEffects());
      store.GetLight(profile, lightMode, lightRecord);
    }
    if (const auto* b = Find(request, "brightness")) lightRecord.brightness = b->values[0];
    if (const auto* s = Find(request, "speed")) lightRecord.speed = s->values[0];
    store.UpdateLight(lightMode, lightRecord);
    store.SetCurrentLightMode(profile, lightMode);
    sequences.SetLightMode(lightMode);
    queue(DeviceWorker::kJobLighting);
    said += "light mode " + std::to_string(lightMode) + ", brightness " + std::to_string(lightRecord.brightness) +
            ", speed " + std::to_string(lightRecord.speed) + "\n";
  }
  if (!request.sets.empty()) {
    // The pages show what was stored.
    dlg.RefreshDPI();
    if (lighting) dlg.RefreshLighting();
  }
  // Everything is stored now; the writes follow. The whole profile's write
  // carries every single setting.
  if (wholeProfile) {
    dlg.AppendJob(DeviceWorker::kJobWriteProfile);
  } else {
    for (int job : jobs) dlg.AppendJob(job);
  }

  if (!request.exportProfile.empty()) {
    std::string why;
    if (!dlg.Exchange().ExportProfile(request.exportProfile, &why)) {
      outcome.exitCode = 1;
      said += why + "\n";
      return outcome;
    }
    said += "profile written to " + request.exportProfile.string() + "\n";
  }
  if (!request.exportMacros.empty()) {
    ExchangeWriter writer(store);
    if (!writer.ExportAllMacros(request.exportMacros)) {
      outcome.exitCode = 1;
      said += "cannot write " + request.exportMacros.string() + "\n";
      return outcome;
    }
    said += "macros written to " + request.exportMacros.string() + "\n";
  }
  return outcome;
}

}  // namespace ui
