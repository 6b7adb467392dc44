#include "toolkit/core/MListBox.h"

#include "toolkit/core/ControlRegistry.h"

namespace DUI {

QELT_REGISTER_CONTROL(L"MListBox", [](MObject* p, UINT id, CRect r, const wchar_t*, int v, int) -> MControl* {
  return new MListBox(p, id, r, v);
})

}  // namespace DUI
