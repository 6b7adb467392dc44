#pragma once
// MListBox: the plain list the factories also accept; it behaves as
// DListBox.

#include "toolkit/core/DListBox.h"

namespace DUI {

class MListBox : public DListBox {
 public:
  MListBox(MObject* parent, UINT id, CRect rect, int visible) : DListBox(parent, id, rect, visible) {}
};

}  // namespace DUI
