#pragma once
// The table through which the factories build controls by class name.
//
// Each control class registers its factory name with a constructor, from its
// own .cpp file (QELT_REGISTER_CONTROL). The dialog and panel factories keep
// their own lists of the names they accept and look the constructor up here,
// so the toolkit's core never includes the classes built on top of it, and
// the device controls and the program can add classes without an upward
// include. A name a factory accepts but that no class has registered yields
// null, as an unknown name does.

#include <vector>

#include "toolkit/core/CRect.h"
#include "toolkit/core/WinTypes.h"

namespace DUI {

class MControl;
class MObject;

using ControlConstructor = MControl* (*)(MObject* parent, UINT id, CRect rect, const wchar_t* title,
                                          int visible, int enabled);

// Which factory is asking: the dialog's (Part of MDialog/PaintManager) or a
// panel's. Each accepts its own set of names.
enum class FactoryKind { Dialog, Panel };

// Registers `make` under `name`; a later registration of the same name
// replaces the earlier one (a program may replace a toolkit class). Returns
// true so it can initialise a static. `name` must outlive the program (a
// string literal).
bool RegisterControlClass(const wchar_t* name, ControlConstructor make);

// The registered constructor of `name`, or null.
ControlConstructor FindControlClass(const wchar_t* name);

// Whether the factory of `kind` accepts `name` at all.
bool FactoryAccepts(FactoryKind kind, const wchar_t* name);

// Every name the factory of `kind` accepts, in its order.
std::vector<const wchar_t*> FactoryNames(FactoryKind kind);

// Builds a control for the factory of `kind`: null for a name that factory
// does not accept or that no class has registered.
MControl* MakeRegisteredControl(FactoryKind kind, const wchar_t* name, MObject* parent, UINT id, CRect rect,
                                const wchar_t* title, int visible, int enabled);

}  // namespace DUI

#define QELT_REGISTRY_CONCAT2(a, b) a##b
#define QELT_REGISTRY_CONCAT(a, b) QELT_REGISTRY_CONCAT2(a, b)

// QELT_REGISTER_CONTROL(L"MText", [](MObject* p, UINT id, CRect r, const wchar_t* t, int v, int e)
//                                     -> MControl* { return new MText(p, id, r, t, v, e); });
// Place it at namespace scope in the class's .cpp file.
#define QELT_REGISTER_CONTROL(NAME, MAKE)                                                  \
  namespace {                                                                              \
  [[maybe_unused]] const bool QELT_REGISTRY_CONCAT(qeltRegistered_, __LINE__) =            \
      ::DUI::RegisterControlClass(NAME, MAKE);                                              \
  }
