#pragma once
// DPISlider: the wide slider on which the DPI value of the selected stage
// is set, with a tick scale and two end labels. Its value is minimum +
// position (1 to 521 by default); the page maps values to DPI. A drag or a
// click that moves the thumb sends code 8 with the new value, the release
// code 2. While a drag is held the multimedia timer re-reads the pointer
// every 60 ms, so the thumb follows even when moves are sparse; that step
// runs on the timer thread and hands its notification to the window thread.
//
// Index
//   1. Value and range
//   2. Look: labels, images, scale
//   3. Overrides: drawing, input, timer
//   4. Fields

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>

#include "toolkit/core/MControlFont.h"
#include "toolkit/core/MRender.h"

namespace DUI {

class DPISlider : public MControlFont {
 public:
  static constexpr int kDragStepMs = 60;
  static constexpr int kTickCount = 43;

  enum State { StateNormal = 0, StateHover = 1, StateDragging = 2 };

  DPISlider(MObject* parent, UINT id, CRect rect, int visible, int enabled);
  ~DPISlider() override;

  // --- 1. Value and range -------------------------------------------------------------
  // position = min(range, value - minimum); stored (with a redraw) when it
  // lies in 0..range and differs. No notification. Returns that position,
  // also when it was rejected.
  int SetProgress(int value);
  int GetProgress();
  void SetMinProgress(int minimum);
  int GetMinProgress() const { return m_minimum; }
  // The number of positions above the minimum; the position is kept within.
  void SetMaxProgress(int range);
  int GetMaxProgress() const { return m_range; }
  int GetPosition();
  State GetState() const { return State(m_state.load()); }
  int IsDragging() const { return m_dragging.load() ? 1 : 0; }
  // The thumb in window coordinates.
  CRect GetThumbRect();
  // The track relative to the control, at the current scale.
  CRect GetTrackRect();

  // --- 2. Look ---------------------------------------------------------------------------
  // Scale of the drawing geometry in percent (100: as designed): track,
  // ticks, labels and the thumb's height move with it.
  void SetScale(int percent);
  void SetScaleValue(float scale);
  float GetScaleValue() const { return m_scale; }
  void SetDPIDesc(CString low, CString high);
  CString GetLowDesc() const { return m_lowLabel; }
  CString GetHighDesc() const { return m_highLabel; }
  // The background, from the skin folder, owned; 1 on success.
  int SetBkgImage(const wchar_t* file);

  // --- 3. Overrides ------------------------------------------------------------------------
  void InitControl(PaintManager* manager) override;
  void DrawControl(HDC& dc, CRect clip) override;
  int OnControlMouseMove(UINT flags, CPoint pt) override;
  int OnControlLButtonDown(UINT flags, CPoint pt) override;
  int OnControlLButtonUp(UINT flags, CPoint pt) override;
  int OnControlScroll(int kind, UINT down, CPoint pt) override;
  int OnControlTimer() override;
  // The thumb follows the pointer on the timer only while dragged.
  bool IsAnimating() const override { return m_dragging.load(); }

 private:
  CRect ScaledTrack() const;
  void RecomputeThumb();
  // Moves the thumb to a window x; code 8 when the position changed.
  void MoveThumbTo(int x);
  bool OnThumb(CPoint pt);
  void SetState(int state);

  // --- 4. Fields -------------------------------------------------------------------------------
  std::recursive_mutex m_lock;  // position and thumb: window and timer threads
  int m_position = 0;
  int m_minimum = 1;
  int m_range = 520;
  CRect m_track{80, 30, 836, 60};
  CSize m_thumbSize{16, 13};
  CRect m_thumb;
  std::atomic<int> m_state{StateNormal};
  std::atomic<bool> m_dragging{false};
  std::atomic<uint64_t> m_lastDrag{0};
  float m_scale = 1.0f;
  CString m_lowLabel = L"100";
  CString m_highLabel = L"26000";
  std::unique_ptr<Image> m_bkgImage;
  int m_bkgWidth = 0;
  int m_bkgHeight = 0;
};

}  // namespace DUI
