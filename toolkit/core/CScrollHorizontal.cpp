#include "toolkit/core/CScrollHorizontal.h"

#include "toolkit/core/PaintManager.h"

namespace DUI {

CScrollHorizontal::CScrollHorizontal(MObject* parent, UINT id, CRect rect, int visible)
    : MScroll(parent, id, rect, visible, false) {}

UINT CScrollHorizontal::ThumbResourceId() const { return m_manager != nullptr ? m_manager->GetScrollHID() : 0; }

}  // namespace DUI
