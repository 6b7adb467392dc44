#pragma once
// MPanel: a control that holds child controls, creates them by class name
// (its own factory), and scrolls them.
//
// Index
//   1. Factory (slots 43 to 45) and key release (slot 46)
//   2. Scrolling: virtual size, offsets, the two bars
//   3. Overrides: geometry, drawing, input, redraw requests, messages
//
// Coordinates. Children's rectangles are in content coordinates: window
// coordinates as they would be with the content not scrolled. The panel
// shows the content moved up and left by its scroll offsets: it draws its
// children (and its areas) into a buffer shifted by the offsets and clipped
// to the panel, hands them input points moved into content coordinates
// (OnMousePointChange), and maps their redraw requests back into window
// coordinates. Its own scroll bars, ids 1 and 2 in every panel, live in
// window coordinates and are drawn over the content.

#include <memory>

#include "toolkit/core/MControlFont.h"

namespace DUI {

class MScroll;
class CScrollVertical;
class CScrollHorizontal;

class MPanel : public MControlFont {
 public:
  static constexpr UINT kScrollVerticalId = 1;
  static constexpr UINT kScrollHorizontalId = 2;

  MPanel(MObject* parent, UINT id, CRect rect, int visible);
  ~MPanel() override;

  // --- 1. Factory ------------------------------------------------------------------
  // Builds a child of one of the names the panel factory accepts (null for
  // any other): appended to areas (kind 0) or controls (kind 1); when the
  // panel is attached to a window, the child is attached too.
  virtual MControl* CreateArea(const wchar_t* className, UINT id, CRect rect, const wchar_t* title, int visible,
                               int enabled);
  virtual MControl* CreateControl(UINT kind, MObject* parent, const wchar_t* className, UINT id, CRect rect,
                                  const wchar_t* title, int visible, int enabled);
  virtual MControl* CreateControl(const wchar_t* className, UINT id, CRect rect, const wchar_t* title, int visible,
                                  int enabled);
  virtual int OnControlKeyUp(UINT vk, UINT repeat, UINT modifiers);
  // Adopts a control built elsewhere as the factory would (a program's own
  // class, or a toolkit class the factory does not list).
  MControl* AttachControl(MControl* control, UINT kind);

  // --- 2. Scrolling ------------------------------------------------------------------
  // The panel's bars (null only while they are removed: the next layout
  // creates them again, so a panel whose children were all removed still
  // scrolls).
  CScrollVertical* GetScrollVertical();
  CScrollHorizontal* GetScrollHorizontal();
  // Removes and destroys every child except the two bars.
  void RemoveContent();
  // The content's size measured from the panel's top-left corner; 0 means
  // no scrolling in that direction. Shows each bar exactly when the content
  // does not fit.
  void SetVirtualHeight(int height);
  void SetVirtualWidth(int width);
  int GetVirtualHeight() const { return m_virtualHeight; }
  int GetVirtualWidth() const { return m_virtualWidth; }
  void SetEnableScroll(int enable);
  int GetEnableScroll() const { return m_enableScroll; }
  void SetScrollThickness(int thickness);
  int GetScrollThickness() const { return m_thickness; }
  // How far the content is scrolled now, in pixels (0, 0 when it fits or
  // scrolling is off).
  CPoint GetScrollOffset() const;
  // Whether the content is scrolled or scrollable in either direction.
  bool IsScrolling() const;
  // Content rectangle -> window rectangle, and back.
  CRect ContentToWindow(CRect rect) const;
  CPoint WindowToContent(CPoint pt) const;
  // Scrolls the least needed to show the content rectangle; 1 when moved.
  int EnsureVisible(CRect content);
  // The visible part of the panel in content coordinates.
  CRect GetViewRect() const;

  // --- 3. Overrides ----------------------------------------------------------------------
  LRESULT OnBaseMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
  LRESULT OnControlUpdate(CRect rect, int redraw, MControl* control) override;
  void InitControl(PaintManager* manager) override;
  void DrawControl(HDC& dc, CRect clip) override;
  int DrawSubControls(HDC& dc, CRect clip) override;
  void DrawAreas(HDC& dc, CRect clip) override;
  void SetUpdate(int valid, COLORREF colour = 0) override;
  int OnMousePointChange(CPoint& pt) override;
  LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
  void SetControlRect(CRect rect) override;
  int OnControlScroll(int kind, UINT down, CPoint pt) override;

 protected:
  // Places the bars along the right and bottom edges, shows each exactly
  // when the content does not fit and gives it the virtual size as range.
  void UpdateScrollBars();
  // The children's extent from the panel's corner (bars excluded).
  CSize ChildExtent();
  bool IsOwnBar(const MControl* control);
  // Creates whichever bar is missing.
  void EnsureBars();
  // A point over one of the visible bars.
  bool OverBar(CPoint pt);
  // The panel's background: its image (set with SetImage) as a nine-grid of
  // this corner size; 0 stretches it. Nothing without an image.
  void SetBackCorner(int corner) { m_backCorner = corner; }
  // Pixels the content is scrolled for a bar position, and back.
  static int OffsetFor(const MScroll* bar, int virtualSize, int viewSize);

  int m_enableScroll = 1;
  int m_thickness = 5;
  int m_virtualHeight = 0;
  int m_virtualWidth = 0;
  int m_backCorner = 8;

 private:
  // The buffer the scrolled content is drawn into, kept between paints.
  std::unique_ptr<MDC> m_contentDC;
};

}  // namespace DUI
