// End to end: the program in a real window under Xvfb (SDL's X11 driver),
// driven with xdotool and read with "orvane --inspect". Keys pressed in the
// key page's combination field are captured by the window's key capture,
// named by the X keyboard layout, and keys the window would act on (Tab,
// Esc, F10) stay in the field. The program runs from a copy of its folder
// under another application name, so that it never meets an instance
// somebody else runs. Skipped, with the reason, when Xvfb or xdotool is
// missing.

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "TestEnv.h"
#include "tests/toolkit/XvfbSession.h"

namespace {

namespace fs = std::filesystem;

struct Shown {
  int x = 0, y = 0, w = 0, h = 0;
  bool visible = false;
  std::string text;
};

// The controls of the running instance by id (the first of an id in tree
// order), from one "--inspect" run; empty when no instance answered.
std::map<int, Shown> Inspect(const fs::path& program, const std::vector<std::string>& env) {
  xvfb::Child inspect({program.string(), "--inspect"}, env, true);
  std::map<int, Shown> controls;
  if (!inspect.Started()) return controls;
  inspect.WaitForLine("\x01", 10000);  // reads to the end
  inspect.Wait(5000);
  for (const std::string& line : inspect.Lines()) {
    const size_t id = line.find("id=");
    const size_t pos = line.find(" pos=");
    if (line.rfind("window", 0) == 0 || id == std::string::npos || pos == std::string::npos) continue;
    Shown s;
    if (std::sscanf(line.c_str() + pos, " pos=%d,%d size=%dx%d", &s.x, &s.y, &s.w, &s.h) != 4) continue;
    s.visible = line.find(" shown=1") != std::string::npos;
    const size_t text = line.find(" text=\"");
    if (text != std::string::npos) s.text = line.substr(text + 7, line.size() - text - 8);
    controls.emplace(std::atoi(line.c_str() + id + 3), s);
  }
  return controls;
}

// Polls until the control is shown (and, when given, shows the text).
bool WaitFor(const fs::path& program, const std::vector<std::string>& env, int id, const std::string* text,
             Shown& found) {
  for (int i = 0; i < 60; ++i) {
    const auto controls = Inspect(program, env);
    const auto it = controls.find(id);
    if (it != controls.end() && it->second.visible && (text == nullptr || it->second.text == *text)) {
      found = it->second;
      return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
  return false;
}

bool Click(const std::string& xdotool, const std::vector<std::string>& env, int x, int y) {
  return xvfb::RunAndWait(
      {xdotool, "mousemove", std::to_string(x), std::to_string(y), "sleep", "0.3", "click", "1", "sleep", "0.3"}, env);
}

// A copy of the program's folder whose catalog names the application
// differently.
fs::path ProgramCopy(const fs::path& into) {
  const fs::path bin = testenv::BinDir();
  fs::create_directories(into);
  for (const char* file : {"orvane", "libQelt.so.0"}) fs::copy_file(bin / file, into / file, fs::copy_options::overwrite_existing);
  for (const char* folder : {"device", "language", "skins"}) {
    fs::remove(into / folder);
    fs::create_directory_symlink(bin / folder, into / folder);
  }
  std::ifstream in(bin / "config.xml");
  std::stringstream xml;
  xml << in.rdbuf();
  std::string text = xml.str();
  const std::string caption = "caption=\"Orvane\"";
  const size_t at = text.find(caption);
  if (at != std::string::npos) text.replace(at, caption.size(), "caption=\"OrvaneKeyCapture" + std::to_string(getpid()) + "\"");
  std::ofstream(into / "config.xml") << text;
  return into / "orvane";
}

TEST(KeyCaptureEndToEnd, KeysPressedInTheCombinationFieldAreCapturedAndNamed) {
  const std::string xvfb = xvfb::FindProgram("Xvfb");
  const std::string xdotool = xvfb::FindProgram("xdotool");
  if (xvfb.empty() || xdotool.empty()) GTEST_SKIP() << "Xvfb or xdotool is not installed (scripts/install-deps.sh)";
  testenv::TempDir folder;
  const fs::path program = ProgramCopy(folder.Path() / "program");

  xvfb::Display display(xvfb, 1600, 1000);
  ASSERT_TRUE(display.Ready()) << "Xvfb did not start on " << display.Name();
  std::vector<std::string> env = display.Env();
  env.push_back("LANG=C.UTF-8");
  env.push_back("XDG_CONFIG_HOME=" + (folder.Path() / "config").string());
  env.push_back("XDG_DATA_HOME=" + (folder.Path() / "data").string());
  xvfb::Child app({program.string(), "--simulate"}, env, false);
  ASSERT_TRUE(app.Started());

  // The home page's mouse, then the key page's tab (the second, 70 high).
  Shown list, tabs, opener, field;
  const bool shown = WaitFor(program, env, 57, nullptr, list);
#if defined(__SANITIZE_THREAD__)
  if (!shown) GTEST_SKIP() << "the program opens no X11 window in a ThreadSanitizer build";
#endif
  ASSERT_TRUE(shown) << "the window did not show its device list";
  ASSERT_TRUE(Click(xdotool, env, list.x + list.w / 2, list.y + list.h / 2));
  ASSERT_TRUE(WaitFor(program, env, 48, nullptr, tabs));
  ASSERT_TRUE(Click(xdotool, env, tabs.x + 35, tabs.y + 105));
  ASSERT_TRUE(WaitFor(program, env, 85, nullptr, opener)) << "the key page did not open";
  ASSERT_TRUE(Click(xdotool, env, opener.x + opener.w / 2, opener.y + opener.h / 2));
  ASSERT_TRUE(WaitFor(program, env, 93, nullptr, field)) << "the key-combination panel did not open";
  ASSERT_TRUE(Click(xdotool, env, field.x + field.w / 2, field.y + field.h / 2));

  struct Key {
    const char* keysym;
    std::string shown;
  } keys[] = {
      {"a", "A"},
      {"KP_Home", "Num 7"},  // NumLock is off
      {"Tab", "Tab"},
      {"semicolon", ";"},
      {"KP_Enter", "Num Enter"},
      {"Escape", "Esc"},
      {"F10", "F10"},
  };
  for (const Key& k : keys) {
    SCOPED_TRACE(k.keysym);
    ASSERT_TRUE(xvfb::RunAndWait({xdotool, "key", k.keysym}, env));
    Shown now;
    EXPECT_TRUE(WaitFor(program, env, 93, &k.shown, now)) << "the field does not show " << k.shown;
  }
  // Still there: Esc closed nothing, F10 opened nothing.
  EXPECT_EQ(app.ExitCode(), -1);
}

}  // namespace
