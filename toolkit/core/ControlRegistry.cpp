#include "toolkit/core/ControlRegistry.h"

#include <cwchar>
#include <iterator>
#include <mutex>
#include <string>
#include <unordered_map>

namespace DUI {

namespace {

// Names the dialog factory accepts (43). Names of classes the system never
// builds stay in the list and yield null, as the factory always did.
const wchar_t* const kDialogNames[] = {
    L"CArea",         L"MText",        L"MPicture",      L"CPhotoFrame",   L"CSliderPicture",
    L"CGifPicture",   L"MProgress",    L"MSlider",       L"LightSlider",   L"DPISlider",
    L"MLevelCtrl",    L"MButton",      L"CImageButton",  L"CTextButton",   L"CCheckButton",
    L"CRadioButton",  L"CSelectButton", L"CColorButton", L"MSpinButton",   L"CSpinButton",
    L"CSwitchButton", L"CIconButton",  L"CTimerButton",  L"CHelpButton",   L"MEdit",
    L"MRichEdit",     L"MEditEx",      L"MComboBox",     L"MTabCtrl",      L"MTabLayout",
    L"MListBox",      L"DListBox",     L"MPalette",      L"CColorPalette", L"CColorSelect",
    L"CirclePalette", L"CComboBoxList", L"MenuItem",     L"TextCheckButton", L"CDeviceState",
    L"BatteryCtrl",   L"CDeviceList",  L"MProgress2",
};

// Names the panel factory accepts (57).
const wchar_t* const kPanelNames[] = {
    L"CArea",          L"MText",          L"MPicture",      L"CPhotoFrame",   L"CSliderPicture",
    L"CGifPicture",    L"MProgress",      L"MSlider",       L"LightSlider",   L"DPISlider",
    L"MLevelCtrl",     L"MButton",        L"CImageButton",  L"CTextButton",   L"CCheckButton",
    L"CRadioButton",   L"CSelectButton",  L"CColorButton",  L"MSpinButton",   L"CSpinButton",
    L"CSwitchButton",  L"CIconButton",    L"CTimerButton",  L"CHelpButton",   L"MEdit",
    L"MRichEdit",      L"MEditEx",        L"MComboBox",     L"MTabCtrl",      L"MTabLayout",
    L"MListBox",       L"MPalette",       L"CColorPalette", L"CColorSelect",  L"CirclePalette",
    L"MenuItem",       L"DListBox",       L"UpgradeButton", L"DownloadButton", L"MacroList",
    L"CRecordList",    L"DPIControl",     L"LongPressButton", L"MouseKeyCtrl", L"MouseCtrl",
    L"ColorButtonEx",  L"MComboBox2",     L"MButton2",      L"MButton3",      L"PaletteBar",
    L"NumberEdit",     L"NumberEdit2",    L"CDeviceList",   L"ReporteCtrl",   L"CRoundArea",
};

struct Registry {
  std::mutex lock;
  std::unordered_map<std::wstring, ControlConstructor> classes;
};

// A function-local static: registrations run during static initialisation of
// other translation units, in an order nobody controls.
Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

template <size_t N>
bool Listed(const wchar_t* const (&names)[N], const wchar_t* name) {
  for (const wchar_t* listed : names) {
    if (std::wcscmp(listed, name) == 0) return true;
  }
  return false;
}

}  // namespace

bool RegisterControlClass(const wchar_t* name, ControlConstructor make) {
  if (name == nullptr || make == nullptr) return false;
  Registry& registry = TheRegistry();
  std::lock_guard guard(registry.lock);
  registry.classes[name] = make;
  return true;
}

ControlConstructor FindControlClass(const wchar_t* name) {
  if (name == nullptr) return nullptr;
  Registry& registry = TheRegistry();
  std::lock_guard guard(registry.lock);
  const auto found = registry.classes.find(name);
  return found == registry.classes.end() ? nullptr : found->second;
}

bool FactoryAccepts(FactoryKind kind, const wchar_t* name) {
  if (name == nullptr) return false;
  return kind == FactoryKind::Dialog ? Listed(kDialogNames, name) : Listed(kPanelNames, name);
}

std::vector<const wchar_t*> FactoryNames(FactoryKind kind) {
  if (kind == FactoryKind::Dialog) return {std::begin(kDialogNames), std::end(kDialogNames)};
  return {std::begin(kPanelNames), std::end(kPanelNames)};
}

MControl* MakeRegisteredControl(FactoryKind kind, const wchar_t* name, MObject* parent, UINT id, CRect rect,
                                const wchar_t* title, int visible, int enabled) {
  if (!FactoryAccepts(kind, name)) return nullptr;
  const ControlConstructor make = FindControlClass(name);
  return make != nullptr ? make(parent, id, rect, title, visible, enabled) : nullptr;
}

}  // namespace DUI
