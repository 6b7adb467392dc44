#include "device/DefaultLights.h"

#include <mutex>

#include "store/SettingsStore.h"

namespace {

struct EffectShape {
  const wchar_t* name;
  int config_func;  // 0x01 brightness, 0x02 speed, 0x10 colour picker, 0x800 colour slots
  int name_text_id;
};

// In the order of kModelLightEffectModes: modes 1, 2, 3, 4, 5, 6, 9, 0.
constexpr EffectShape kEffects[kModelLightEffects] = {
    {L"流光", 3, 280},   {L"呼吸", 0x813, 281}, {L"常亮", 0x11, 282},      {L"霓虹", 2, 283},
    {L"跑马", 3, 284},   {L"混彩常亮", 1, 285}, {L"七彩波浪", 3, 286}, {L"关闭", 0, 287},
};

// Red, green, blue, cyan, yellow, magenta, white; red in the low byte.
constexpr int kColours[7] = {255, 65280, 16711680, 16776960, 65535, 16711935, 16777215};
// From mode 3 on the first colour is this one instead.
constexpr int kLaterFirstColour = 16711920;
constexpr int kFirstModeOfLaterColour = 2;  // effect index of mode 3

constexpr int kStartBrightness = 4;
constexpr int kStartSpeed = 2;
constexpr int kModeAfterCreation = 1;

}  // namespace

LightRecord DefaultLightRecord(int profile, int effect) {
  LightRecord record;
  if (effect < 0 || effect >= kModelLightEffects) return record;
  const EffectShape& shape = kEffects[effect];
  record.profile = profile;
  record.name = shape.name;
  record.mode = kModelLightEffectModes[effect];
  record.brightness = kStartBrightness;
  record.speed = kStartSpeed;
  record.direction = 0;
  record.colorful = 1;
  record.colorindex = 0;
  for (int i = 0; i < 7; ++i) record.color_value[i] = kColours[i];
  if (effect >= kFirstModeOfLaterColour) record.color_value[0] = kLaterFirstColour;
  record.config_func = shape.config_func;
  record.reserved = shape.name_text_id;
  record.status = 0;
  return record;
}

int CreateDefaultLights(SettingsStore& store, int profile, const LightEffects& effects) {
  // The worker and the lighting page both make missing records; the check
  // and the inserts are one step, so the two never add a profile's records
  // twice.
  static std::mutex creating;
  std::lock_guard<std::mutex> hold(creating);
  if (store.CountLights(profile) != 0) return 0;
  int added = 0;
  for (int effect = 0; effect < kModelLightEffects; ++effect) {
    if (!effects[effect]) continue;
    if (store.AddLight(DefaultLightRecord(profile, effect)) != 0) ++added;
  }
  store.SetCurrentLightMode(profile, kModeAfterCreation);
  return added;
}
