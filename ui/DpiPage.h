#pragma once
// DpiPage: the DPI page (container 52): the stages of the current profile
// with their values and colours, the slider of the selected stage, the
// number of stages in use and the model's defaults.
//
// The profile is the source of truth: every change is stored in the current
// profile first and then sent by a write job (9 stages, 10 colours, 18 the
// model's defaults), which reads the store when it runs.
//
// Index
//   1. Building and layout
//   2. The worker's updates (the shown stage count and stage)
//   3. Handlers
//   4. Helpers

#include <optional>
#include <string>

#include "device/DpiCodec.h"
#include "ui/DevicePage.h"

namespace DUI {
class CHelpButton;
class CImageButton;
class DPIControl;
class DPISlider;
class MButton;
class MComboBox;
class MPicture;
class MText;
}  // namespace DUI

namespace ui {

class DpiPage : public DevicePage {
 public:
  enum : DUI::UINT {
    kBackdrop = 108, kBackground = 109, kCaptionBand = 110, kCaption = 111, kContent = 112,
    kStagesCaption = 113, kStagesHelp = 114, kReset = 115, kStages = 116, kSlider = 117, kApply = 118,
    kCountText = 119, kCount = 120,
  };
  static constexpr int kMaxStages = 6;

  using DevicePage::DevicePage;

  // --- 1. Building and layout ---------------------------------------------------------
  void Build() override;
  void Layout(DUI::CRect rect, float scale) override;
  bool OnNotify(DUI::UINT id, DUI::UINT code, DUI::WPARAM wParam, DUI::LPARAM lParam) override;
  void RefreshTexts() override;
  void OnModelShown() override { RefreshDPI(); }
  void OnProfileChanged() override { RefreshDPI(); }

  // --- 2. The worker's updates ----------------------------------------------------------
  void RefreshDPI() override;
  void SetSensorRow(const mouseproto::SensorRow& row) override;
  bool ShownStageCount(int& count) override;
  bool ShownStage(int& stage) override;
  bool StageDpi(int stage, int& dpi) override;
  void SelectStageCount(int count) override;
  void SelectStage(int stage) override;
  void SetStage(int stage, int dpi, int colour) override;
  void MoveSliderToDpi(int dpi) override;

  // --- State for the tests -------------------------------------------------------------
  DUI::DPIControl* Stages() const { return m_stages; }
  DUI::DPISlider* Slider() const { return m_slider; }
  DUI::MComboBox* StageCount() const { return m_count; }
  DUI::CImageButton* ResetButton() const { return m_reset; }
  const mouseproto::SensorRow& Row() const { return m_row; }

 private:
  // --- 3. Handlers ------------------------------------------------------------------------
  void OnStageSelected();
  void OnColourClicked();
  void OnEditBegin(int stage);
  void OnEditEnd(int stage);
  void OnSliderMoved(int progress);
  void OnSliderReleased();
  void OnCountPicked();
  void OnReset();

  // --- 4. Helpers -----------------------------------------------------------------------------
  // Rebuilds the stage cards for the count the combo box shows.
  void RedrawStages();
  // Makes stage the shown one; true when it was not.
  bool MakeShown(int stage);
  void ShowDpiMessage(int dpi);
  void Save(const std::wstring& key, int value);
  int Load(const std::wstring& key);
  int Profile() const;

  DUI::MPicture* m_backdrop = nullptr;
  DUI::MPicture* m_background = nullptr;
  DUI::MPicture* m_captionBand = nullptr;
  DUI::MText* m_caption = nullptr;
  DUI::MPicture* m_content = nullptr;
  DUI::MText* m_stagesCaption = nullptr;
  DUI::CHelpButton* m_stagesHelp = nullptr;
  DUI::CImageButton* m_reset = nullptr;
  DUI::DPIControl* m_stages = nullptr;
  DUI::DPISlider* m_slider = nullptr;
  DUI::MButton* m_apply = nullptr;
  DUI::MText* m_countText = nullptr;
  DUI::MComboBox* m_count = nullptr;

  mouseproto::SensorRow m_row = mouseproto::DefaultSensorRow();
  int m_shownCount = kMaxStages;
  int m_shownStage = 0;
  // A drag stores every step; its release sends the last one.
  bool m_sliderMoved = false;
  bool m_redrawing = false;
};

}  // namespace ui
