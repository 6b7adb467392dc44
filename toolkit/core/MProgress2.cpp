#include "toolkit/core/MProgress2.h"

#include "toolkit/core/ControlRegistry.h"

namespace DUI {

QELT_REGISTER_CONTROL(L"MProgress2", [](MObject* p, UINT id, CRect r, const wchar_t*, int v, int e) -> MControl* {
  return new MProgress2(p, id, r, v, e);
})

MProgress2::MProgress2(MObject* parent, UINT id, CRect rect, int visible, int enabled)
    : MProgress(parent, id, rect, visible, enabled) {
  m_runTimer = 1;
  m_running = 1;
}

}  // namespace DUI
