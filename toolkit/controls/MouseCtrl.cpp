#include "toolkit/controls/MouseCtrl.h"

#include <cmath>

#include "platform/draw/Canvas.h"
#include "toolkit/core/ControlRegistry.h"
#include "toolkit/core/Manager.h"

namespace DUI {

QELT_REGISTER_CONTROL(L"MouseCtrl", [](MObject* p, UINT id, CRect r, const wchar_t*, int v, int) -> MControl* {
  return new MouseCtrl(p, id, r, v);
})

namespace {

constexpr ARGB kLineColour = 0xFFFFFFFF;
// Text on the highlighted label box, which is light.
constexpr ARGB kHighlightText = 0xFF050505;
constexpr float kPenWidth = 2.0f;
constexpr float kDotDiameter = 6.0f;
constexpr int kBoxCorner = 6;

int Round(float v) { return int(std::lround(v)); }

}  // namespace

MouseCtrl::MouseCtrl(MObject* parent, UINT id, CRect rect, int visible) : ItemPanel(parent, id, rect, visible) {
  m_imageCount = 2;
}

MouseCtrl::~MouseCtrl() = default;

int MouseCtrl::AddItem(CString text, int keyValue, int side, CPoint a, CPoint b) {
  int index;
  {
    std::lock_guard guard(m_itemsLock);
    m_items.push_back(MouseCtrlItem{std::move(text), keyValue, side, a, b, CRect()});
    index = int(m_items.size()) - 1;
  }
  Changed();
  return index;
}

void MouseCtrl::DeleteAllItems() {
  {
    std::lock_guard guard(m_itemsLock);
    m_items.clear();
    ResetMarks();
  }
  Changed();
}

int MouseCtrl::GetItemCount() const {
  std::lock_guard guard(m_itemsLock);
  return int(m_items.size());
}

int MouseCtrl::GetItemKeyValue(int index) const {
  std::lock_guard guard(m_itemsLock);
  return (index >= 0 && index < int(m_items.size())) ? m_items[size_t(index)].keyValue : 0;
}

CString MouseCtrl::GetItemText(int index) const {
  std::lock_guard guard(m_itemsLock);
  return (index >= 0 && index < int(m_items.size())) ? m_items[size_t(index)].text : CString();
}

void MouseCtrl::SetItemText(int index, CString text) {
  {
    std::lock_guard guard(m_itemsLock);
    if (index < 0 || index >= int(m_items.size()) || m_items[size_t(index)].text == text) return;
    m_items[size_t(index)].text = std::move(text);
  }
  Changed();
}

CRect MouseCtrl::GetItemLabelRect(int index) const {
  std::lock_guard guard(m_itemsLock);
  return ItemHitRect(index);
}

CRect MouseCtrl::ItemHitRect(int index) const {
  return (index >= 0 && index < int(m_items.size())) ? m_items[size_t(index)].labelRect : CRect();
}

CRect MouseCtrl::LabelRectFor(int side, CPoint a, CPoint b, float s) {
  // A label on the right starts just past the line's second end, one on
  // the left ends just before its first end; both are 26 high around it.
  if (side == 1) {
    const float x = b.x * s, y = b.y * s;
    return CRect(Round(x + s), Round(y - 13 * s), Round(x + 67 * s), Round(y + 13 * s));
  }
  const float x = a.x * s, y = a.y * s;
  return CRect(Round(x - 67 * s), Round(y - 13 * s), Round(x - 3 * s), Round(y + 13 * s));
}

void MouseCtrl::DrawControl(HDC& dc, CRect) {
  const int w = m_rect.Width(), h = m_rect.Height();
  if (w <= 0 || h <= 0) return;
  if (!m_update) {
    UpdateMemDC(dc, w, h);
    // The picture beneath shows through everywhere but the callouts.
    MRender::BitBlt(m_cacheDC, 0, 0, w, h, dc, m_rect.left, m_rect.top);
    platform::Canvas& canvas = m_cacheDC->Canvas();
    const ARGB accent = Manager::m_select_color.GetValue();
    const bool twoFrames = m_image != nullptr && m_imageWidth > 0 && m_image->Width() >= 2 * m_imageWidth;
    std::lock_guard guard(m_itemsLock);
    const float s = m_scale;
    for (size_t i = 0; i < m_items.size(); ++i) {
      MouseCtrlItem& item = m_items[i];
      const bool lit = IsHighlighted(int(i));
      const ARGB colour = lit ? accent : kLineColour;
      const platform::Pen pen{colour, kPenWidth, {}};
      const platform::PointF a{item.a.x * s, item.a.y * s}, b{item.b.x * s, item.b.y * s};
      canvas.DrawLine(a, b, pen);
      // The dot marks the end on the mouse: the first end when the label is
      // on the right, the second when it is on the left.
      const platform::PointF dot = item.side == 1 ? platform::PointF{a.x - 5 * s, a.y - 3 * s}
                                                  : platform::PointF{b.x - s, b.y - 3 * s};
      canvas.DrawEllipse({dot.x, dot.y, kDotDiameter * s, kDotDiameter * s}, pen);
      item.labelRect = LabelRectFor(item.side, item.a, item.b, s);
      if (m_image != nullptr && m_imageWidth > 0) {
        const int frame = (lit && twoFrames) ? 1 : 0;
        MRender::DrawImageFrame(m_cacheDC, m_image, item.labelRect, frame * m_imageWidth, 0, m_imageWidth,
                                m_imageHeight, kBoxCorner);
      }
      CRect text = item.labelRect;
      MRender::DrawTextARGB(m_cacheDC, text, item.text.c_str(), lit ? Color(kHighlightText) : m_textColor,
                            GetGDIFont(), DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    }
  }
  MRender::BitBlt(dc, m_rect.left, m_rect.top, w, h, m_cacheDC, 0, 0);
}

}  // namespace DUI
