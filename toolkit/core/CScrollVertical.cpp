#include "toolkit/core/CScrollVertical.h"

#include "toolkit/core/PaintManager.h"

namespace DUI {

CScrollVertical::CScrollVertical(MObject* parent, UINT id, CRect rect, int visible)
    : MScroll(parent, id, rect, visible, true) {}

UINT CScrollVertical::ThumbResourceId() const { return m_manager != nullptr ? m_manager->GetScrollVID() : 0; }

}  // namespace DUI
