#pragma once
// CScrollVertical: the vertical scroll bar of a panel (id 1 in every panel).

#include "toolkit/core/MScroll.h"

namespace DUI {

class CScrollVertical : public MScroll {
 public:
  CScrollVertical(MObject* parent, UINT id, CRect rect, int visible);

 protected:
  const wchar_t* ThumbFile() const override { return L"img_scroll_v.png"; }
  UINT ThumbResourceId() const override;
};

}  // namespace DUI
