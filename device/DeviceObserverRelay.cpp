#include "device/DeviceObserverRelay.h"

// --- Posting and publishing ---------------------------------------------------------------

void DeviceObserverRelay::Tell(Task task, Change change) {
  std::lock_guard<std::recursive_mutex> order(postLock_);
  const std::uint64_t number = ++posted_;
  if (change) {
    std::lock_guard<std::mutex> hold(stateLock_);
    pending_.emplace_back(number, std::move(change));
  }
  post_([this, number, task = std::move(task)] {
    task();
    {
      std::lock_guard<std::mutex> hold(stateLock_);
      applied_ = number;
    }
    Publish();
  });
}

void DeviceObserverRelay::Publish() {
  WindowMirror state;
  std::uint64_t upTo = 0;
  {
    // The changes the window has run are in its state now; the list as they
    // built it stays for a window that publishes none. They stay pending
    // until the new state replaces the old, so a query meanwhile still sees
    // them.
    std::lock_guard<std::mutex> hold(stateLock_);
    state = published_;
    upTo = applied_;
    for (const auto& [number, change] : pending_) {
      if (number <= upTo) change(state);
    }
  }
  if (snapshot_) {
    snapshot_(state);
  } else {
    state.stageCount = window_.ShownStageCount();
    state.stage = window_.ShownStage();
    for (int i = 0; i < WindowMirror::kStages; ++i) state.stageDpi[size_t(i)] = window_.StageDpi(i);
  }
  std::lock_guard<std::mutex> hold(stateLock_);
  published_ = std::move(state);
  while (!pending_.empty() && pending_.front().first <= upTo) pending_.pop_front();
}

WindowMirror DeviceObserverRelay::Current() {
  std::lock_guard<std::mutex> hold(stateLock_);
  WindowMirror state = published_;
  for (const auto& [number, change] : pending_) change(state);
  return state;
}

WindowMirror DeviceObserverRelay::Answer() {
  if (std::this_thread::get_id() == windowThread_) Publish();
  return Current();
}

// --- Calls that change the mirrored state ---------------------------------------------------

void DeviceObserverRelay::SetAllDeviceState(int state) {
  Tell([=, this] { window_.SetAllDeviceState(state); }, [=](WindowMirror& m) { m.SetAllStates(state); });
}

void DeviceObserverRelay::SetDeviceState(int type, int mode, int online) {
  Tell([=, this] { window_.SetDeviceState(type, mode, online); },
       [=](WindowMirror& m) { m.SetState(type, mode, online); });
}

void DeviceObserverRelay::SetSelectDevice(int type) {
  Tell([=, this] { window_.SetSelectDevice(type); }, [=](WindowMirror& m) { m.Select(type); });
}

int DeviceObserverRelay::StageDpi(int stage) {
  if (stage < 0 || stage >= WindowMirror::kStages) return 0;
  return Answer().stageDpi[size_t(stage)];
}

void DeviceObserverRelay::SelectStageCount(int count) {
  Tell([=, this] { window_.SelectStageCount(count); }, [=](WindowMirror& m) { m.stageCount = count; });
}

void DeviceObserverRelay::SelectStage(int stage) {
  Tell([=, this] { window_.SelectStage(stage); }, [=](WindowMirror& m) { m.stage = stage; });
}

void DeviceObserverRelay::SetStage(int stage, int dpi, int colour) {
  Tell([=, this] { window_.SetStage(stage, dpi, colour); }, [=](WindowMirror& m) { m.SetStageDpi(stage, dpi); });
}
