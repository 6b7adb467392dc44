#pragma once
// LightPage: the lighting page (container 54): the light modes of the
// current profile, and for the shown mode its brightness, speed and
// colours. Each mode's settings are one light record of (profile, mode);
// every change is written into the record first, then job 8 sends it to the
// mouse and the save tip shows.
//
// What the page shows for a mode follows the record's config_func: 0x01
// the brightness group, 0x02 the speed group, 0x10 the colour picker
// (palette, preview, R/G/B fields and presets), 0x800 the seven colour
// slots. Without the picker the slider groups take the picker's place.

#include "store/LightRecord.h"
#include "toolkit/core/WinTypes.h"
#include "ui/DevicePage.h"

namespace DUI {
class MPicture;
class MText;
class MComboBox;
class CImageButton;
class LightSlider;
class CColorButton;
class MPalette;
class CArea;
class MEdit;
class MControl;
}  // namespace DUI

namespace ui {

class LightPage : public DevicePage {
 public:
  // --- Ids of the page's controls ---------------------------------------------------------
  enum : DUI::UINT {
    kFrame = 192, kCaptionBand = 193, kCaption = 194, kModeFrame = 195, kModeLabel = 196, kModeList = 197,
    kColourFrame = 198, kSliderFrame = 199, kResetLabel = 200, kReset = 201,
    kBrightnessCaption = 202, kBrightnessLabel = 203, kBrightness = 204,
    kSpeedCaption = 205, kSpeedLabel = 206, kSpeed = 207,
    kPresetLabel = 208, kPresets = 209,  // 209 to 216
    kSlotLabel = 217, kSlots = 218,      // 218 to 224
    kColourText = 225, kPalette = 226, kPreview = 227,
    kComponentLabels = 228,  // 228 to 230
    kComponents = 231,       // 231 to 233: red, green, blue
  };
  static constexpr int kPresetCount = 8;
  static constexpr int kSlotCount = 7;
  // Where the colour area starts on the page (before the window's scale).
  static constexpr int kColourAreaX = 230;
  static constexpr int kColourAreaY = 80;

  using DevicePage::DevicePage;

  void Build() override;
  void Layout(DUI::CRect rect, float scale) override;
  bool OnNotify(DUI::UINT id, DUI::UINT code, DUI::WPARAM wParam, DUI::LPARAM lParam) override;
  void RefreshTexts() override;
  void OnModelShown() override;
  void OnProfileChanged() override;
  void RefreshLighting() override;

  // Displays the record of (current profile, mode).
  void ShowMode(int mode);
  // The mode and layout bits the page shows now.
  int GetShownMode() const { return m_mode; }
  int GetShownConfig() const { return m_config; }

  // The labels: brightness as a percentage of the 0 to 4 scale, speed as a
  // number; moving marks the speed label of a slider in motion.
  static std::wstring BrightnessText(int value);
  static std::wstring SpeedText(int value, bool moving);

 private:
  void ApplyColour(DUI::COLORREF colour);
  void ShowComponents(DUI::COLORREF colour);
  void ShowPreview(DUI::COLORREF colour);
  void ComponentEdited(int component);
  void SliderReleased(bool brightness);
  void ResetLighting();
  void Changed();
  // Fills the mode list from the store and shows the profile's mode.
  void ShowStoredLighting();
  void PlaceGroups();
  void ShowGroup(std::initializer_list<DUI::MControl*> controls, bool shown);

  DUI::MPicture* m_frames[5] = {};  // 192, 193, 195, 198, 199
  DUI::MText* m_caption = nullptr;
  DUI::MText* m_modeLabel = nullptr;
  DUI::MComboBox* m_modeList = nullptr;
  DUI::MText* m_resetLabel = nullptr;
  DUI::CImageButton* m_reset = nullptr;
  DUI::MText* m_brightnessCaption = nullptr;
  DUI::MText* m_brightnessLabel = nullptr;
  DUI::LightSlider* m_brightness = nullptr;
  DUI::MText* m_speedCaption = nullptr;
  DUI::MText* m_speedLabel = nullptr;
  DUI::LightSlider* m_speed = nullptr;
  DUI::MText* m_presetLabel = nullptr;
  DUI::CColorButton* m_presets[kPresetCount] = {};
  DUI::MText* m_slotLabel = nullptr;
  DUI::CColorButton* m_slots[kSlotCount] = {};
  DUI::MText* m_colourText = nullptr;
  DUI::MPalette* m_palette = nullptr;
  DUI::CArea* m_preview = nullptr;
  DUI::MText* m_componentLabels[3] = {};
  DUI::MEdit* m_components[3] = {};

  DUI::CRect m_rect;
  float m_scale = 1.0f;
  int m_mode = -1;
  int m_config = 0;
  bool m_showing = false;  // the page itself is writing the fields
};

}  // namespace ui
