#pragma once
// DownloadButton: a push button with the MButton behaviour; the program builds none, so it
// adds nothing of its own.

#include "toolkit/core/MButton.h"

namespace DUI {

class DownloadButton : public MButton {
 public:
  DownloadButton(MObject* parent, UINT id, CRect rect, const wchar_t* title, int visible, int enabled);
};

}  // namespace DUI
