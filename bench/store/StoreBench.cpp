// Settings store and text lookup speed.
//
// (a) SetConfigValue followed by GetConfigValue on one open store.
// (b) The two hundred GetText lookups that building the main window performs,
//     cold (parsing the file first) and warm (the cache checked by one stat
//     per lookup), beside the floor of reading the file once with the INI
//     reader and taking the same two hundred values from it.
//
// The figures after the benchmark table are measured side by side in this
// run; the last line is the warm lookup rate. Goal: a window's texts in
// under 1 ms warm.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/IniFile.h"
#include "shell/Localisation.h"
#include "shell/TextIds.h"
#include "store/SettingsStore.h"

namespace fs = std::filesystem;

namespace {

constexpr int kWindowLookups = 200;

fs::path g_dbFolder;

int WindowId(int i) {
  const auto ids = shell::TextIds();
  return ids[static_cast<size_t>(i) % ids.size()];
}

void LookUpWindowTexts() {
  for (int i = 0; i < kWindowLookups; ++i) benchmark::DoNotOptimize(shell::GetText(WindowId(i)));
}

void ReadFileOnce() {
  platform::IniFile ini;
  ini.Load(shell::LanguageFile(shell::CurrentLanguage()));
  for (int i = 0; i < kWindowLookups; ++i) benchmark::DoNotOptimize(ini.Get(L"LAN", std::to_wstring(WindowId(i))));
}

SettingsStore& BenchStore() {
  static SettingsStore store;
  static bool ready = [] {
    store.OpenDatabase(g_dbFolder, L"bench");
    store.EnsureProfiles(L"Profile", nullptr);
    return true;
  }();
  (void)ready;
  return store;
}

void SetThenGet(SettingsStore& store, int i) {
  std::wstring value;
  store.SetConfigValue(1, L"dpi_group1_value", std::to_wstring(i));
  store.GetConfigValue(1, L"dpi_group1_value", value);
  benchmark::DoNotOptimize(value);
}

void BM_SetThenGetConfigValue(benchmark::State& state) {
  SettingsStore& store = BenchStore();
  int i = 0;
  for (auto _ : state) SetThenGet(store, ++i);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SetThenGetConfigValue);

void BM_WindowTextsCold(benchmark::State& state) {
  for (auto _ : state) {
    shell::ClearTextCache();
    LookUpWindowTexts();
  }
  state.SetItemsProcessed(state.iterations() * kWindowLookups);
}
BENCHMARK(BM_WindowTextsCold);

void BM_WindowTextsWarm(benchmark::State& state) {
  LookUpWindowTexts();
  for (auto _ : state) LookUpWindowTexts();
  state.SetItemsProcessed(state.iterations() * kWindowLookups);
}
BENCHMARK(BM_WindowTextsWarm);

void BM_IniReaderReadOnce(benchmark::State& state) {
  for (auto _ : state) ReadFileOnce();
  state.SetItemsProcessed(state.iterations() * kWindowLookups);
}
BENCHMARK(BM_IniReaderReadOnce);

// Mean seconds per call of f over at least 0.3 s.
template <typename F>
double SecondsPerCall(F f) {
  using Clock = std::chrono::steady_clock;
  long calls = 0;
  const auto start = Clock::now();
  auto now = start;
  while (now - start < std::chrono::milliseconds(300)) {
    for (int k = 0; k < 10; ++k) f();
    calls += 10;
    now = Clock::now();
  }
  return std::chrono::duration<double>(now - start).count() / static_cast<double>(calls);
}

}  // namespace

int main(int argc, char** argv) {
  // A private home, so the benchmark never touches the user's files.
  std::string tmpl = (fs::temp_directory_path() / "orvane-bench-XXXXXX").string();
  if (::mkdtemp(tmpl.data()) == nullptr) return 1;
  const fs::path root = tmpl;
  ::setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
  ::setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
  g_dbFolder = root / "db";
  fs::create_directories(g_dbFolder);

  shell::SetLanguage(shell::kLangEnglish);
  if (!fs::exists(shell::LanguageFile(shell::kLangEnglish))) {
    std::fprintf(stderr, "no language file at %s\n", shell::LanguageFile(shell::kLangEnglish).c_str());
    return 1;
  }

  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();

  int i = 0;
  const double setGet = SecondsPerCall([&] { SetThenGet(BenchStore(), ++i); });
  const double cold = SecondsPerCall([] {
    shell::ClearTextCache();
    LookUpWindowTexts();
  });
  const double warm = SecondsPerCall(LookUpWindowTexts);
  const double once = SecondsPerCall(ReadFileOnce);
  std::printf("set+get config value pairs per second: %.0f\n", 1.0 / setGet);
  std::printf("window texts (%d lookups): cold %.1f us, warm %.1f us, INI reader read once %.1f us\n",
              kWindowLookups, cold * 1e6, warm * 1e6, once * 1e6);
  std::printf("gettext warm lookups per second: %.0f\n", kWindowLookups / warm);
  std::error_code ec;
  fs::remove_all(root, ec);
  return 0;
}
