// The store under stress: a writer process killed in the middle of a stream
// of writes, and two threads sharing one store.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <thread>
#include <vector>

#include "StoreTestSupport.h"

using storetest::QueryOne;
using storetest::StoreFixture;

namespace {

class DurabilityTest : public StoreFixture {};

std::vector<MacroEvent> ThreeEvents(int n) {
  std::vector<MacroEvent> events(3);
  for (int i = 0; i < 3; ++i) {
    events[i].type = i == 1 ? 1 : 2 + i / 2;
    events[i].value = n + i;
    events[i].desc = L"event " + std::to_wstring(n);
  }
  return events;
}

}  // namespace

// Every write whose call returned before the kill is in the file, and the
// file is intact.
TEST_F(DurabilityTest, KilledWriterLosesNoReturnedWrite) {
  ASSERT_TRUE(Open());
  ASSERT_EQ(store_.AddProfile(ProfileRecord{0, L"p", 0, L"", 0}), 1);
  store_.CloseDatabase();

  int fds[2];
  ASSERT_EQ(::pipe(fds), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // The writer: one macro with three events and one setting per step,
    // each step reported once its calls have returned.
    ::close(fds[0]);
    SettingsStore store;
    if (!store.OpenDatabase(Folder(), L"veyra_air")) ::_exit(2);
    for (int i = 1; i < 1000000; ++i) {
      const int id = store.AddMacro(L"m" + std::to_wstring(i));
      if (id != i || !store.SaveMacroEvents(id, ThreeEvents(i)) || !store.SetConfigInt(1, L"dpi_group0_value", i))
        ::_exit(3);
      if (::write(fds[1], &i, sizeof i) != static_cast<ssize_t>(sizeof i)) ::_exit(4);
    }
    ::_exit(0);
  }
  ::close(fds[1]);
  int last = 0;
  int value = 0;
  while (last < 300 && ::read(fds[0], &value, sizeof value) == static_cast<ssize_t>(sizeof value)) last = value;
  ::kill(child, SIGKILL);
  int status = 0;
  ::waitpid(child, &status, 0);
  while (::read(fds[0], &value, sizeof value) == static_cast<ssize_t>(sizeof value)) last = value;
  ::close(fds[0]);
  ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself with status " << WEXITSTATUS(status);
  ASSERT_GE(last, 300);

  // The program opens the file again as it would after a crash.
  ASSERT_TRUE(Open());
  EXPECT_EQ(QueryOne(File(), "PRAGMA integrity_check"), "ok");
  const std::string n = std::to_string(last);
  EXPECT_EQ(QueryOne(File(), ("SELECT count(*) FROM t_macro_data WHERE macro_id <= " + n +
                              " AND name = 'm' || macro_id").c_str()),
            n);
  EXPECT_EQ(QueryOne(File(), ("SELECT count(*) FROM t_macrorecord WHERE macro_id <= " + n).c_str()),
            std::to_string(3 * last));
  EXPECT_GE(store_.GetConfigInt(1, L"dpi_group0_value"), last);
  std::vector<MacroEvent> events;
  EXPECT_EQ(store_.ListMacroEvents(last, events), 3);
}

// Two threads, as the window and worker threads use the store: each checks
// its own reads while the other writes, and the file is consistent at the end.
TEST_F(DurabilityTest, TwoThreadsShareOneStore) {
  ASSERT_TRUE(Open());
  ASSERT_EQ(store_.EnsureProfiles(L"Profile", nullptr), 1);
  constexpr int kSteps = 200;
  int settingsErrors = 0;
  int macroErrors = 0;

  std::thread settings([&] {
    for (int i = 1; i <= kSteps; ++i) {
      if (!store_.SetConfigInt(1, L"dpi_group0_value", i) || store_.GetConfigInt(1, L"dpi_group0_value") != i)
        ++settingsErrors;
      const int profile = i % 4 + 1;
      if (!store_.SetCurrentProfile(profile) || store_.GetCurrentProfile() != profile) ++settingsErrors;
      KeyRecord key;
      key.profile = 1;
      key.key_code = i % 5;
      key.macro_type = 1;
      key.macro_value = i;
      KeyRecord read;
      if (store_.SaveKeyRecord(key) <= 0 || !store_.GetKeyRecord(1, i % 5, read) || read.macro_value != i)
        ++settingsErrors;
      std::vector<ProfileRecord> profiles;
      if (store_.ListProfiles(profiles) != 4) ++settingsErrors;
    }
  });
  std::thread macros([&] {
    for (int i = 1; i <= kSteps; ++i) {
      const int id = store_.AddMacro(L"macro " + std::to_wstring(i));
      std::vector<MacroEvent> events;
      if (id <= 0 || !store_.SaveMacroEvents(id, ThreeEvents(i)) || store_.ListMacroEvents(id, events) != 3)
        ++macroErrors;
      if (i % 10 == 0 && !store_.DeleteMacro(id - 1)) ++macroErrors;
      LightRecord light;
      light.profile = 2;
      light.mode = i % 8;
      if (i % 8 == 0) store_.DeleteLights(2);
      if (store_.AddLight(light) <= 0 || !store_.SetCurrentLightMode(2, light.mode) ||
          store_.GetCurrentLightMode(2) != light.mode)
        ++macroErrors;
    }
  });
  settings.join();
  macros.join();

  EXPECT_EQ(settingsErrors, 0);
  EXPECT_EQ(macroErrors, 0);
  EXPECT_EQ(QueryOne(File(), "PRAGMA integrity_check"), "ok");
  std::vector<MacroRecord> list;
  EXPECT_EQ(store_.ListMacros(list), kSteps - kSteps / 10);
  for (const MacroRecord& m : list) {
    std::vector<MacroEvent> events;
    EXPECT_EQ(store_.ListMacroEvents(m.macro_id, events), 3) << m.macro_id;
  }
  EXPECT_EQ(QueryOne(File(), "SELECT count(*) FROM t_macrorecord"), std::to_string(3 * (kSteps - kSteps / 10)));
  EXPECT_EQ(QueryOne(File(), "SELECT count(*) FROM t_profile_data WHERE status = 1"), "1");
  EXPECT_EQ(QueryOne(File(), "SELECT count(*) FROM t_key_macro_data"), "5");
  EXPECT_EQ(store_.GetConfigInt(1, L"dpi_group0_value"), kSteps);
}
