#include "toolkit/core/SiblingGroup.h"

#include <cwchar>
#include <mutex>
#include <vector>

#include "toolkit/core/MDialog.h"

namespace DUI {

void ForEachSameClassSibling(MControl& self, const std::function<void(MControl*)>& visit) {
  MObject* parent = self.GetParantObject();
  if (parent == nullptr) return;
  std::vector<MControl*> siblings;
  const wchar_t* parentName = parent->GetClassNameW();
  if (parentName != nullptr && std::wcscmp(parentName, L"MDialog") == 0) {
    // The dialog's control list only changes on the window thread, which
    // is the thread that walks it here.
    if (auto* dialog = dynamic_cast<MDialog*>(parent)) siblings = *dialog->GetControls();
  } else if (auto* control = dynamic_cast<MControl*>(parent)) {
    std::lock_guard guard(control->ControlsLock());
    siblings = *control->GetControls();
  }
  const wchar_t* name = self.GetClassNameW();
  for (MControl* sibling : siblings) {
    if (sibling != &self && sibling->IsClass(name)) visit(sibling);
  }
}

}  // namespace DUI
