#pragma once
// MScroll: the scroll bar of a panel, the common part of CScrollVertical and
// CScrollHorizontal. It keeps a position in 0..maximum range, draws a thumb
// image from the skin (4 frames: normal, hover, pressed, disabled) and lets
// the user drag the thumb, notifying CN_SCROLL with the new position.
//
// Geometry along the bar: the track is the bar's length minus its thickness
// at each end; the thumb's length follows the page size, and its start is
// position / maximum of the free track.

#include "toolkit/core/MControlFont.h"

namespace DUI {

class MScroll : public MControlFont {
 public:
  MScroll(MObject* parent, UINT id, CRect rect, int visible, bool vertical);

  void SetScrollMaxRange(int max);
  int GetScrollMaxRange() const { return m_max; }
  // Clamped to 0..maximum; redraws the bar and the panel that owns it when
  // the position changes. Sends nothing: only the user's drag notifies.
  void SetScrollCurrentPos(int pos);
  int GetScrollCurrentPos() const { return m_pos; }
  // page 0 means automatic (the bar's own length); step is what one wheel
  // notch or ScrollRow(1) moves.
  void SetScrollSize(int page, int step);
  void SetScrollInfo(int max, int pos, int page, int step);
  // Moves by rows x step, clamped; 1 when the position changed.
  int ScrollRow(int rows);
  // 1 while the user drags the thumb.
  int IsChangeing() const { return m_changing; }

  int GetScrollStep() const { return m_step; }
  // The page size in effect (the automatic one when the page is 0).
  int GetScrollPageSize() const;
  bool IsVertical() const { return m_vertical; }
  // The thumb in window coordinates; empty when there is nothing to scroll.
  CRect GetThumbRect() const;
  // The frame drawn now: 0 normal, 1 hover, 2 pressed, 3 disabled.
  int GetThumbState() const;

  void InitControl(PaintManager* manager) override;
  void DrawControl(HDC& dc, CRect clip) override;
  int OnControlMouseMove(UINT flags, CPoint pt) override;
  int OnControlLButtonDown(UINT flags, CPoint pt) override;
  int OnControlLButtonUp(UINT flags, CPoint pt) override;

 protected:
  // The skin file used when the window names no thumb resource.
  virtual const wchar_t* ThumbFile() const = 0;
  // The window's thumb resource id for this direction (0: none).
  virtual UINT ThumbResourceId() const = 0;

 private:
  int Length() const { return m_vertical ? m_rect.Height() : m_rect.Width(); }
  int Thickness() const { return m_vertical ? m_rect.Width() : m_rect.Height(); }
  int Along(CPoint pt) const { return m_vertical ? pt.y : pt.x; }
  int TrackStart() const { return (m_vertical ? m_rect.top : m_rect.left) + Thickness(); }
  int TrackLength() const { return Length() - 2 * Thickness(); }
  int ThumbLength() const;
  // Moves the thumb so that it starts at 'start' (window coordinate along
  // the bar) and notifies when the position changed.
  void DragTo(int start);
  void PositionChanged();
  void SetHover(int hover);

  bool m_vertical;
  int m_max = 1000;
  int m_pos = 0;
  int m_page = 0;
  int m_step = 10;
  int m_changing = 0;
  int m_hover = 0;
  int m_grab = 0;  // where in the thumb the drag took hold
};

}  // namespace DUI
