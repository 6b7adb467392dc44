#pragma once
// LightSlider: a small stepped slider for the brightness and speed levels
// of the lighting page. Each of the range + 1 values owns an equal slice of
// the track; the thumb (20 x 20 by default, its image strip: normal, hover,
// dragging, disabled) sits at the value's place.
//
// Notifications: code 8 with wParam = minimum + position whenever a press
// or a drag moves the thumb, code 2 on release.
//
// While dragging, the window's multimedia timer also steps the thumb to the
// cursor at most every 60 ms, so it follows even when move events are
// sparse. The tick only decides that a step is due; the step itself (and
// its code 8) runs on the window thread, so a page handler never runs on
// the timer thread.

#include <atomic>
#include <cstdint>

#include "toolkit/core/MControlFont.h"

namespace DUI {

class LightSlider : public MControlFont {
 public:
  // The private window message that carries a due drag step to the window
  // thread; lParam is the slider.
  static constexpr UINT kStepMessage = 0x0400 + 0x1A5;
  static constexpr uint64_t kStepInterval = 60;  // ms between timer steps

  LightSlider(MObject* parent, UINT id, CRect rect, int visible, int enabled);

  // position = min(range, value - minimum), stored when 0 <= position <=
  // range and different (with a redraw). Returns the position.
  int SetProgress(int value);
  // minimum + position.
  int GetProgress() const { return m_minimum + m_position.load(); }
  int GetPosition() const { return m_position.load(); }
  void SetMinProgress(int minimum);
  int GetMinProgress() const { return m_minimum; }
  // The range (number of steps above the minimum); at least 1.
  void SetMaxProgress(int range);
  int GetMaxProgress() const { return m_range; }
  void SetScale(float scale);
  void SetShowText(int show);
  int SetThumbImage(const wchar_t* file);
  int GetState() const { return m_state; }
  bool IsDragging() const { return m_dragging.load(); }
  // The timer matters only while the thumb follows the pointer.
  bool IsAnimating() const override { return m_dragging.load(); }

  // The track in window coordinates, and the thumb rectangle for the
  // current position.
  CRect GetTrackRect() const;
  CRect GetThumbRect() const;
  // The position a pointer at window x maps to.
  int PositionAt(int x) const;

  void DrawControl(HDC& dc, CRect clip) override;
  int OnControlMouseMove(UINT flags, CPoint pt) override;
  int OnControlLButtonDown(UINT flags, CPoint pt) override;
  int OnControlLButtonUp(UINT flags, CPoint pt) override;
  int OnControlScroll(int kind, UINT down, CPoint pt) override;
  int OnControlTimer() override;
  LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

  // The drag step: moves the thumb to the cursor. Window thread only.
  void StepToCursor();

 private:
  // Moves the thumb to window x; sends code 8 when the position changed.
  void MoveThumbTo(int x);
  void SetState(int state);
  int ThumbWidth() const;

  std::atomic<int> m_position{0};
  int m_minimum = 0;
  int m_range = 10;
  float m_scale = 1.0f;
  int m_state = 0;  // 0 normal, 1 hover, 2 dragging
  int m_showText = 0;
  std::atomic<bool> m_dragging{false};
  std::atomic<bool> m_stepPosted{false};
  std::atomic<uint64_t> m_lastStep{0};
  const Image* m_thumb = nullptr;
  int m_thumbWidth = 0;
  int m_thumbHeight = 0;
};

}  // namespace DUI
