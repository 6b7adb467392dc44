// WindowMirror: the device list's rules as the worker's queries see them,
// one row per sequence of changes with the answers after it.

#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include "device/WindowMirror.h"

namespace devicetest {
namespace {

using Change = std::function<void(WindowMirror&)>;

WindowMirror Listed(std::vector<int> types, bool known) {
  WindowMirror m;
  m.listKnown = known;
  for (int t : types) m.devices.push_back({t, 0, 0});
  return m;
}

TEST(WindowMirrorTest, OnlineCountAndSelectionFollowTheListsRules) {
  struct Case {
    const char* name;
    WindowMirror start;
    std::vector<Change> changes;
    int online;
    int selected;
  } cases[] = {
      {"nothing online", Listed({1, 2, 3}, true), {}, 0, 0},
      {"either mode counts", Listed({1, 2, 3}, true),
       {[](WindowMirror& m) { m.SetState(3, 0, 1); }, [](WindowMirror& m) { m.SetState(1, 1, 1); }}, 2, 1},
      {"select an online one", Listed({1, 2, 3}, true),
       {[](WindowMirror& m) { m.SetState(1, 0, 1); }, [](WindowMirror& m) { m.SetState(3, 0, 1); },
        [](WindowMirror& m) { m.Select(3); }},
       2, 3},
      {"selecting one that is off selects the first", Listed({1, 2, 3}, true),
       {[](WindowMirror& m) { m.SetState(2, 0, 1); }, [](WindowMirror& m) { m.SetState(3, 1, 1); },
        [](WindowMirror& m) { m.Select(1); }},
       2, 2},
      {"a shorter list takes the selection back to the first", Listed({1, 2, 3}, true),
       {[](WindowMirror& m) { m.SetState(1, 0, 1); }, [](WindowMirror& m) { m.SetState(3, 0, 1); },
        [](WindowMirror& m) { m.Select(3); }, [](WindowMirror& m) { m.SetState(1, 0, 0); }},
       1, 3},
      {"all off", Listed({1, 2}, true),
       {[](WindowMirror& m) { m.SetState(1, 0, 1); }, [](WindowMirror& m) { m.SetAllStates(0); }}, 0, 0},
      {"a type the window does not list is dropped", Listed({1}, true),
       {[](WindowMirror& m) { m.SetState(9, 0, 1); }}, 0, 0},
      {"without a published list a type appears", Listed({}, false),
       {[](WindowMirror& m) { m.SetState(9, 1, 1); }, [](WindowMirror& m) { m.SetState(4, 0, 1); }}, 2, 9},
  };
  for (const Case& c : cases) {
    WindowMirror m = c.start;
    for (const Change& change : c.changes) change(m);
    EXPECT_EQ(m.OnlineCount(), c.online) << c.name;
    EXPECT_EQ(m.SelectedType(), c.selected) << c.name;
  }
}

TEST(WindowMirrorTest, StageValuesOutsideTheStagesAreDropped) {
  WindowMirror m;
  m.SetStageDpi(2, 3200);
  m.SetStageDpi(-1, 100);
  m.SetStageDpi(WindowMirror::kStages, 100);
  EXPECT_EQ(m.stageDpi[2], 3200);
  int others = 0;
  for (int v : m.stageDpi) others += v == 100 ? 1 : 0;
  EXPECT_EQ(others, 0);
}

}  // namespace
}  // namespace devicetest
