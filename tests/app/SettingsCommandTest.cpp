// The command line's settings commands against the simulated mice (virtual
// clock): headless, where the process itself talks to the mouse, and with a
// running instance, whose window carries the command out. Refused commands
// change neither the store nor the mouse.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "TestEnv.h"
#include "app/ListCommand.h"
#include "app/SettingsCommandRun.h"
#include "app/SimulatedDemo.h"
#include "app/SingleInstance.h"
#include "app/Startup.h"
#include "device/Clock.h"
#include "device/DeviceWorker.h"
#include "device/simulator/SimulatedMiceFile.h"
#include "platform/window/Window.h"
#include "shell/Environment.h"
#include "shell/Log.h"
#include "store/SettingsStore.h"
#include "toolkit/core/Manager.h"
#include "toolkit/core/Notify.h"
#include "ui/DeviceMainDlg.h"
#include "ui/SettingsCommand.h"

namespace {

using mouseproto::MouseSettings;

// Output of one command.
struct Outcome {
  int code = 0;
  std::string out, err;
};

std::string ReadBack(std::FILE* f) {
  std::string text;
  std::rewind(f);
  char buffer[512];
  while (size_t n = std::fread(buffer, 1, sizeof buffer, f)) text.append(buffer, n);
  std::fclose(f);
  return text;
}

Outcome Command(std::vector<std::string> words, std::shared_ptr<Clock> clock) {
  std::vector<std::string> all = {"orvane"};
  all.insert(all.end(), words.begin(), words.end());
  std::vector<char*> argv;
  for (std::string& w : all) argv.push_back(w.data());
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  Outcome run;
  run.code = app::RunSettingsCommand(int(argv.size()), argv.data(), out, err, std::move(clock));
  run.out = ReadBack(out);
  run.err = ReadBack(err);
  return run;
}

std::string FileText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class SettingsCommandTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(platform::InitWindowSystem(platform::WindowBackend::Headless));
    DUI::Manager::SetPaintPause(0);
  }
  void SetUp() override {
    clock_ = std::make_shared<VirtualClock>();
    // As the program's start does, so the picked mouse is remembered.
    shell::CreateRegistryKey();
    app::PrepareDatabaseFolder(SettingsStore::GetInstance());
  }
  void TearDown() override { SettingsStore::GetInstance().CloseDatabase(); }

  // The simulated mice as the next run meets them.
  MouseSettings Saved() {
    app::SimulatedDemo demo(clock_, app::CatalogModes(), app::SimulatedDemo::DefaultStateFile());
    // Before the first pick the first mouse is the one the command takes.
    const int type = shell::ReadRegistryInt(L"DeviceType");
    if (type == 0) return demo.Bus()->Firmware(demo.Models().front().mouse).settings;
    for (const SimulatedModel& m : demo.Models()) {
      if (m.device_type == type) return demo.Bus()->Firmware(m.mouse).settings;
    }
    ADD_FAILURE() << "no simulated mouse of device type " << type;
    return {};
  }

  testenv::FreshUserFolders home_;
  std::shared_ptr<VirtualClock> clock_;
};

TEST_F(SettingsCommandTest, EachSettingIsStoredAndSentToTheSimulatedMouse) {
  struct Case {
    const char* set;
    std::function<bool(const MouseSettings&)> holds;
  } cases[] = {
      {"dpi=400,800,1600",
       [](const MouseSettings& s) {
         const auto v = s.DpiValues(17);
         return s.dpi_count == 3 && v[0] == 400 && v[1] == 800 && v[2] == 1600;
       }},
      {"count=4", [](const MouseSettings& s) { return s.dpi_count == 4; }},
      {"stage=3", [](const MouseSettings& s) { return s.dpi_index == 2; }},
      {"rate=1000", [](const MouseSettings& s) { return s.report_rate == 1; }},
      {"rate=250", [](const MouseSettings& s) { return s.report_rate == 4; }},
      {"liftoff=1", [](const MouseSettings& s) { return s.liftoff_height == 1; }},
      {"sensor=8", [](const MouseSettings& s) { return s.sensor_bit3 && !s.sensor_bit2; }},
      {"sleep=10", [](const MouseSettings& s) { return s.sleep_light == 10; }},
      {"closelight=0", [](const MouseSettings& s) { return s.move_closelight == 0; }},
      {"response=4", [](const MouseSettings& s) { return s.button_respondtime == 4; }},
      {"light=2", [](const MouseSettings& s) { return s.lighting.mode == 2; }},
      {"brightness=5", [](const MouseSettings& s) { return s.lighting.brightness == 5; }},
      {"speed=1", [](const MouseSettings& s) { return s.lighting.speed == 1 && s.lighting.mode == 2; }},
      {"brightness=7", [](const MouseSettings& s) { return s.lighting.brightness == 7 && s.lighting.mode == 2; }},
  };
  for (const Case& c : cases) {
    EXPECT_FALSE(c.holds(Saved())) << c.set << " holds before the command";
    const Outcome run = Command({"--simulate", "--set", c.set}, clock_);
    EXPECT_EQ(run.code, 0) << c.set << ": " << run.err;
    EXPECT_TRUE(run.err.empty()) << run.err;
    EXPECT_TRUE(c.holds(Saved())) << c.set << " did not reach the mouse; said: " << run.out;
  }
  // The store holds them too, in the current profile.
  SettingsStore& store = SettingsStore::GetInstance();
  const int profile = store.GetCurrentProfile();
  EXPECT_EQ(store.GetConfigInt(profile, L"report_rate"), 4);
  EXPECT_EQ(store.GetConfigInt(profile, L"dpi_count"), 4);
}

TEST_F(SettingsCommandTest, SeveralSettingsInOneRunAndTheListingOfTheNextRun) {
  const Outcome run = Command({"--simulate", "--set", "dpi=400,800,1600", "--set", "rate=1000"}, clock_);
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_NE(run.out.find("DPI stages 400, 800, 1600"), std::string::npos) << run.out;
  const MouseSettings s = Saved();
  EXPECT_EQ(s.dpi_count, 3);
  EXPECT_EQ(s.report_rate, 1);
  EXPECT_EQ(s.DpiValues(17)[2], 1600);

  // What `orvane --simulate --list` prints in the next run.
  ::testing::internal::CaptureStdout();
  EXPECT_EQ(app::RunListCommand(true), 0);
  const std::string listed = ::testing::internal::GetCapturedStdout();
  EXPECT_NE(listed.find("DPI stages: 400 #FF0000, 800 #00FF00, 1600 #0000FF"), std::string::npos) << listed;
  EXPECT_NE(listed.find("selected stage 2 of 3, report rate 1000 Hz"), std::string::npos) << listed;
}

TEST_F(SettingsCommandTest, ProfilesAndExchangeFiles) {
  testenv::TempDir files;
  const auto profileFile = files.Path() / "Game.xml";
  const auto macroFile = files.Path() / "macros.xml";

  // A profile never used before gets its light records with the switch.
  const Outcome lit = Command({"--simulate", "--profile", "2", "--set", "light=2", "--set", "brightness=4"}, clock_);
  ASSERT_EQ(lit.code, 0) << lit.err;
  EXPECT_EQ(SettingsStore::GetInstance().GetCurrentProfile(), 2);
  EXPECT_EQ(Saved().lighting.mode, 2);
  EXPECT_EQ(Saved().lighting.brightness, 4);
  EXPECT_EQ(Command({"--simulate", "--profile", "3", "--set", "light=7"}, clock_).code, 1);

  ASSERT_EQ(Command({"--simulate", "--set", "dpi=1200", "--export-profile", profileFile.string()}, clock_).code, 0);
  EXPECT_NE(FileText(profileFile).find("<profile>"), std::string::npos);
  EXPECT_NE(FileText(profileFile).find("dpi_count=\"1\""), std::string::npos) << FileText(profileFile);

  // Back to profile 1, then the file replaces its settings and its name.
  ASSERT_EQ(Command({"--simulate", "--profile", "1"}, clock_).code, 0);
  EXPECT_NE(Saved().dpi_count, 1);
  const Outcome imported = Command({"--simulate", "--import-profile", profileFile.string()}, clock_);
  ASSERT_EQ(imported.code, 0) << imported.err;
  std::wstring name;
  SettingsStore::GetInstance().GetProfileName(1, name);
  EXPECT_EQ(name, L"Game");
  EXPECT_EQ(Saved().dpi_count, 1);

  SettingsStore::GetInstance().AddMacro(L"Reload");
  std::vector<MacroRecord> macros;
  ASSERT_EQ(SettingsStore::GetInstance().ListMacros(macros), 1);
  ASSERT_EQ(Command({"--simulate", "--export-macros", macroFile.string()}, clock_).code, 0);
  ASSERT_EQ(Command({"--simulate", "--import-macros", macroFile.string()}, clock_).code, 0);
  EXPECT_EQ(SettingsStore::GetInstance().ListMacros(macros), 2);
}

TEST_F(SettingsCommandTest, RefusedCommandsChangeNothing) {
  testenv::TempDir files;
  const auto notProfile = files.Path() / "Macro.xml";
  std::ofstream(notProfile) << "<macro></macro>";
  // A first run makes the database and the state file.
  ASSERT_EQ(Command({"--simulate", "--set", "liftoff=1"}, clock_).code, 0);
  const std::string state = FileText(app::SimulatedDemo::DefaultStateFile());
  SettingsStore& store = SettingsStore::GetInstance();
  const auto storeText = [&] {
    std::string text;
    for (const wchar_t* key : {L"dpi_count", L"dpi_index", L"report_rate", L"liftoff_height", L"dpi_group0_value"})
      text += std::to_string(store.GetConfigInt(store.GetCurrentProfile(), key)) + ",";
    return text + std::to_string(store.GetCurrentProfile());
  };
  const std::string before = storeText();
  struct Case {
    std::vector<std::string> words;
    int code;
    const char* says;
  } cases[] = {
      {{"--set", "colour=3"}, 2, "unknown setting \"colour\""},
      {{"--set", "dpi"}, 2, "NAME=VALUE"},
      {{"--set", "dpi=400,,800"}, 2, "bad value for dpi"},
      {{"--set", "dpi=1,2,3,4,5,6,7"}, 2, "bad value for dpi"},
      {{"--set", "dpi=40"}, 2, "bad value for dpi"},
      {{"--set", "rate=300"}, 2, "bad value for rate"},
      {{"--set", "sensor=2"}, 2, "bad value for sensor"},
      {{"--set", "sleep=4"}, 2, "bad value for sleep"},
      {{"--set", "count=7"}, 2, "bad value for count"},
      {{"--set", "rate=1000", "--set", "rate=500"}, 2, "given twice"},
      {{"--profile", "x"}, 2, "--profile takes"},
      {{"--profile"}, 2, "needs a value"},
      {{"--frobnicate", "--set", "rate=1000"}, 2, "unknown option"},
      {{"--set", "rate=1000", "--profile", "9"}, 1, "no profile 9"},
      {{"--set", "rate=8000"}, 1, "offers the report rates"},
      {{"--set", "dpi=400,30000"}, 1, "sensor takes"},
      {{"--set", "count=2", "--set", "stage=3"}, 1, "beyond the 2 stages"},
      {{"--set", "dpi=400,800", "--set", "count=3"}, 1, "count says 3"},
      {{"--set", "light=15"}, 1, "no light mode 15"},
      {{"--set", "rate=1000", "--import-profile", notProfile.string()}, 1, "cannot import"},
      {{"--import-macros", (files.Path() / "none.xml").string()}, 1, "cannot import"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> words = {"--simulate"};
    words.insert(words.end(), c.words.begin(), c.words.end());
    const Outcome run = Command(words, clock_);
    EXPECT_EQ(run.code, c.code) << c.words[0] << " " << (c.words.size() > 1 ? c.words[1] : "");
    EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    EXPECT_TRUE(run.out.empty()) << run.out;
    if (!store.IsOpened()) app::PrepareDatabaseFolder(store);
    EXPECT_EQ(FileText(app::SimulatedDemo::DefaultStateFile()), state) << run.err;
  }
  // The store as it was (reopened as the next run would).
  ASSERT_EQ(Command({"--simulate", "--export-profile", (files.Path() / "p.xml").string()}, clock_).code, 0);
  EXPECT_EQ(storeText(), before);
}

TEST(SettingsRequestWords, RoundTripWithAbsolutePaths) {
  ui::SettingsRequest request;
  ASSERT_TRUE(ui::ParseSettingsRequest({"--simulate", "--profile", "3", "--set", "dpi=400,800", "--export-macros", "m.xml"},
                                       request, nullptr));
  EXPECT_TRUE(request.exportMacros.is_absolute());
  ui::SettingsRequest again;
  ASSERT_TRUE(ui::ParseSettingsRequest(request.Words(), again, nullptr));
  EXPECT_EQ(again.Words(), request.Words());
  EXPECT_EQ(*again.profile, 3);
  EXPECT_EQ(again.sets[0].values, (std::vector<int>{400, 800}));
}

// The running instance takes the command; this process never opens the
// mouse.
class RunningInstanceTest : public SettingsCommandTest {};

TEST_F(RunningInstanceTest, TheWindowCarriesTheCommandOut) {
  auto bus = std::make_shared<SimulatedHid>(clock_);
  const std::vector<SimulatedModel> models = PlugCatalogMice(*bus, app::CatalogModes());
  struct NoHost : ui::MainWindowHost {
    bool AddTray(const ui::TrayTexts&) override { return false; }
    void SetTrayTexts(const ui::TrayTexts&) override {}
    void RemoveTray() override {}
    bool TrayShown() const override { return false; }
    void Quit(int) override {}
    void OpenAddress(const std::wstring&) override {}
    void ShowAbout(HWND) override {}
  } host;
  ui::DeviceMainOptions options;
  options.backend = bus;
  options.clock = clock_;
  options.host = &host;
  options.startWorker = false;
  ui::DeviceMainDlg dlg(options);
  ASSERT_NE(dlg.CreateMain(0), nullptr);
  const auto runJobs = [&] {
    for (int guard = 0; guard < 64 && !dlg.Worker().Jobs().Empty(); ++guard) {
      dlg.Worker().Step();
      platform::PumpPendingMessages();
    }
  };
  platform::PumpPendingMessages();
  runJobs();
  dlg.OnMessage(ui::DeviceMainDlg::kDeviceList, DUI::CN_CLICK, 0, 0);
  dlg.AppendJob(DeviceWorker::kJobReload);
  runJobs();
  const int type = dlg.GetCurrentDeviceType();
  ASSERT_NE(type, 0);
  int mouse = -1;
  for (const SimulatedModel& m : models) mouse = m.device_type == type ? m.mouse : mouse;

  app::SingleInstance instance;
  ASSERT_TRUE(instance.Claim());
  instance.SetCommandWindow(&dlg);

  const auto send = [&](std::vector<std::string> words) {
    Outcome run;
    std::atomic<bool> done{false};
    std::thread client([&] {
      run = Command(words, clock_);
      done = true;
    });
    // The window thread answers while the client waits.
    while (!done) {
      platform::PumpPendingMessages();
      std::this_thread::yield();
    }
    client.join();
    return run;
  };

  const Outcome good = send({"--set", "dpi=500,1000", "--set", "rate=125"});
  EXPECT_EQ(good.code, 0) << good.err;
  EXPECT_NE(good.out.find("report rate 125 Hz"), std::string::npos) << good.out;
  // Stored first; the window's worker sends them.
  EXPECT_EQ(dlg.Store().GetConfigInt(dlg.GetCurrentProfile(), L"report_rate"), 8);
  EXPECT_FALSE(dlg.Worker().Jobs().Empty());
  runJobs();
  EXPECT_EQ(bus->Firmware(mouse).settings.report_rate, 8);
  EXPECT_EQ(bus->Firmware(mouse).settings.dpi_count, 2);
  // The headless path did not run: no state file was written.
  EXPECT_FALSE(std::filesystem::exists(app::SimulatedDemo::DefaultStateFile()));

  const Outcome refused = send({"--set", "stage=6", "--set", "count=2"});
  EXPECT_EQ(refused.code, 1);
  EXPECT_NE(refused.err.find("beyond the 2 stages"), std::string::npos) << refused.err;
  EXPECT_TRUE(dlg.Worker().Jobs().Empty());
  EXPECT_EQ(dlg.Store().GetConfigInt(dlg.GetCurrentProfile(), L"dpi_count"), 2);

  instance.SetCommandWindow(nullptr);
}

}  // namespace

namespace {

TEST(SimulatedDemoTest, ADamagedStateFileGivesFreshMiceAndALogLine) {
  testenv::FreshUserFolders home;
  const auto file = app::SimulatedDemo::DefaultStateFile();
  ASSERT_FALSE(file.empty());
  std::filesystem::create_directories(file.parent_path());
  static constexpr char kDamaged[] = "orvane simulated mice 1\nmouse 1\n\xff\xfe\0garbage";
  std::ofstream(file, std::ios::binary) << std::string(kDamaged, sizeof kDamaged - 1);
  std::vector<std::string> lines;
  shell::SetLogSink([&](const std::string& line) { lines.push_back(line); });
  auto clock = std::make_shared<VirtualClock>();
  {
    app::SimulatedDemo demo(clock, app::CatalogModes(), file);
    ASSERT_FALSE(demo.Models().empty());
    const MouseSettings s = demo.Bus()->Firmware(demo.Models().front().mouse).settings;
    EXPECT_EQ(s.dpi_count, 6);
    EXPECT_EQ(s.liftoff_height, 2);
  }
  shell::SetLogSink(nullptr);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find("factory settings"), std::string::npos) << lines[0];
}

}  // namespace
