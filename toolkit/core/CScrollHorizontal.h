#pragma once
// CScrollHorizontal: the horizontal scroll bar of a panel (id 2 in every panel).

#include "toolkit/core/MScroll.h"

namespace DUI {

class CScrollHorizontal : public MScroll {
 public:
  CScrollHorizontal(MObject* parent, UINT id, CRect rect, int visible);

 protected:
  const wchar_t* ThumbFile() const override { return L"img_scroll_h.png"; }
  UINT ThumbResourceId() const override;
};

}  // namespace DUI
