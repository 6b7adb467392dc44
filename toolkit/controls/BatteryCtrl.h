#pragma once
// BatteryCtrl: the battery gauge. The background image (SetImage) is drawn
// at the control's origin, the fill image from the gauge's inner origin
// (4, 4) cut to the level, and while charging the charging mark beside the
// gauge, centred vertically; the level in per cent follows when the control
// is wide enough for it.
//
// While charging, the window's multimedia timer animates the fill: every
// 5th tick the shown level grows by 2 and starts again from 0 once it has
// reached the real level. The control must be registered with AddMTimer;
// it wants the timer only while charging (IsAnimating).
// The timer thread advances the animation while the window thread sets and
// paints the gauge, so the values are atomic.

#include <atomic>

#include "toolkit/core/MControlFont.h"

namespace DUI {

class BatteryCtrl : public MControlFont {
 public:
  static constexpr int kInnerX = 4;
  static constexpr int kInnerY = 4;
  static constexpr int kTickDivisor = 5;
  static constexpr int kAnimationStep = 2;

  BatteryCtrl(MObject* parent, UINT id, CRect rect, int visible, int enabled);

  // Stores both and redraws when either changed; nothing otherwise. Any
  // nonzero charging value means charging.
  void SetBatteryInfo(int level, int charging);
  int GetLevel() const { return m_level.load(); }
  int GetCharging() const { return m_charging.load(); }
  // The level the fill shows now: the animated one while charging.
  int GetShownLevel() const;
  int GetAnimatedLevel() const { return m_animated.load(); }
  // The fill image and the charging mark, from the skin folder; 1 when
  // both loaded.
  int SetBatteryIcon(const wchar_t* fill, const wchar_t* charging);

  void DrawControl(HDC& dc, CRect clip) override;
  int OnControlTimer() override;
  // The fill moves only while charging.
  bool IsAnimating() const override { return m_charging.load() != 0; }

 private:
  struct Picture {
    const Image* image = nullptr;
    int width = 0;
    int height = 0;
  };
  bool Load(Picture& picture, const wchar_t* file);

  std::atomic<int> m_level{100};
  std::atomic<int> m_charging{0};
  std::atomic<int> m_animated{0};
  std::atomic<int> m_ticks{0};
  Picture m_fill;
  Picture m_charge;
};

}  // namespace DUI
