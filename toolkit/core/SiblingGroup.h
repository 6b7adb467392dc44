#pragma once
// The sibling walk of grouped controls (radio buttons, grouped push
// buttons): the siblings of a control are its parent's interactive
// children, which for a control directly in a dialog are the dialog's
// top-level controls. Only siblings whose class name equals the control's
// own count, so groups of different kinds never touch each other, and
// controls in different parents never do either.

#include <functional>

#include "toolkit/core/MControl.h"

namespace DUI {

// Calls visit for every sibling of self (self excepted) that answers
// IsClass(self.GetClassNameW()).
void ForEachSameClassSibling(MControl& self, const std::function<void(MControl*)>& visit);

}  // namespace DUI
