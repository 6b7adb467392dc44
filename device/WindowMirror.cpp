#include "device/WindowMirror.h"

std::vector<int> WindowMirror::OnlineTypes() const {
  std::vector<int> online;
  for (const Listed& d : devices) {
    if (d.wired > 0 || d.wireless > 0) online.push_back(d.type);
  }
  return online;
}

int WindowMirror::OnlineCount() const { return int(OnlineTypes().size()); }

int WindowMirror::SelectedType() const {
  const std::vector<int> online = OnlineTypes();
  if (online.empty()) return 0;
  const int index = select < 0 || select >= int(online.size()) ? 0 : select;
  return online[std::size_t(index)];
}

void WindowMirror::ClampSelection() {
  if (select >= OnlineCount()) select = 0;
}

void WindowMirror::SetAllStates(int state) {
  for (Listed& d : devices) d.wired = d.wireless = state;
  ClampSelection();
}

void WindowMirror::SetState(int type, int mode, int online) {
  Listed* found = nullptr;
  for (Listed& d : devices) {
    if (d.type == type) found = &d;
  }
  if (found == nullptr) {
    if (listKnown) return;
    devices.push_back(Listed{type, 0, 0});
    found = &devices.back();
  }
  if (mode == 0) found->wired = online;
  else if (mode == 1) found->wireless = online;
  ClampSelection();
}

void WindowMirror::Select(int type) {
  const std::vector<int> online = OnlineTypes();
  select = online.empty() ? -1 : 0;
  for (std::size_t i = 0; i < online.size(); ++i) {
    if (online[i] == type) {
      select = int(i);
      break;
    }
  }
}

void WindowMirror::SetStageDpi(int index, int dpi) {
  if (index >= 0 && index < kStages) stageDpi[std::size_t(index)] = dpi;
}
