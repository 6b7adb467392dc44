#pragma once
// SettingsCommand: the command line's settings commands, done the way the
// pages do them: each value is stored in the current profile first, then
// the job that sends it is queued.
//
//   --profile N                      switch to profile N (its id, 1..)
//   --set NAME=VALUE[,VALUE...]      one setting (may be given several times):
//       dpi=V1[,V2..V6]   the DPI stages, which also sets the stage count
//       count=N           stage count 1..6        stage=N   selected stage 1..count
//       rate=HZ           report rate (125 .. 1000, and what the mouse offers above)
//       liftoff=1|2       lift-off distance in mm
//       sensor=BITS       sensor options, a sum of 4, 8 and 16
//       sleep=MIN         1, 2, 3, 5, 10, 20 or 30    wakeup=0|1    closelight=0|1
//       response=MS       button response time 0..20
//       light=MODE        light mode of the model     brightness=0..15   speed=0..15
//   --export-profile FILE, --import-profile FILE, --export-macros FILE, --import-macros FILE
//
// Parsing checks what can be checked without the mouse (names, numbers,
// fixed ranges); Apply checks the rest against the mouse and the model (the
// sensor's DPI range, the report rates offered, the profile and the light
// mode exist, the files to import are sound) before anything is stored, so
// a refused command changes nothing.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace ui {

class DeviceMainDlg;

struct SettingsRequest {
  struct Assignment {
    std::string name;
    std::vector<int> values;
  };
  std::optional<int> profile;
  std::vector<Assignment> sets;
  std::filesystem::path exportProfile, importProfile, exportMacros, importMacros;

  bool Empty() const;
  // The request as command-line words (paths as given), to hand it on.
  std::vector<std::string> Words() const;
};

struct CommandOutcome {
  int exitCode = 0;     // 0 done, 1 refused by the mouse or model, 2 bad command line
  std::string message;  // lines for the user, each ending in '\n'
};

// True when the words hold one of the settings options.
bool IsSettingsCommand(const std::vector<std::string>& words);

// Reads the settings options; "--simulate" and "-hide" are allowed beside
// them. False with *error for an unknown option, a missing or doubled
// value, an unknown setting or a value out of its fixed range. File paths
// are made absolute (from the current folder).
bool ParseSettingsRequest(const std::vector<std::string>& words, SettingsRequest& out, std::string* error);

// Window thread. Checks the request against the connected mouse and its
// model, then stores and queues.
CommandOutcome ApplySettingsRequest(DeviceMainDlg& dlg, const SettingsRequest& request);

}  // namespace ui
