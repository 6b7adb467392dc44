#pragma once
// CImageButton: a four-state button that is all picture. Column i is frame
// i of its strip at natural size in the top-left corner, with the icon
// strip (when set) over it, a little right of and above the centre. It
// draws no text; hover shows the hand cursor.

#include "toolkit/core/MButton.h"

namespace DUI {

class CImageButton : public MButton {
 public:
  CImageButton(MObject* parent, UINT id, CRect rect, const wchar_t* title, int visible, int enabled);

 protected:
  void RenderColumn(int i, int w, int h) override;
};

}  // namespace DUI
