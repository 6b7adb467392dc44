#include "toolkit/core/MObject.h"

#include <cwchar>

namespace DUI {

int MObject::IsClass(const wchar_t* name) {
  const wchar_t* mine = GetClassNameW();
  if (mine == nullptr || name == nullptr) return 0;
  return std::wcscmp(mine, name) == 0 ? 1 : 0;
}

LRESULT MObject::OnBaseMessage(UINT, UINT, WPARAM, LPARAM) { return 0; }

LRESULT MObject::OnControlUpdate(CRect, int, MControl*) { return 0; }

}  // namespace DUI
