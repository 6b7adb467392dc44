#pragma once
// The DPI section of the gallery's device pages: six sensitivity stages
// with their colours in a DPIControl and the DPISlider beneath, wired
// together as the program's DPI page wires them (a stage's value moves the
// slider, the slider sets the selected stage's value, a typed value is
// snapped to a step of 50 within 50..26000, a swatch click steps the
// stage to the next colour).

#include "toolkit/core/CRect.h"
#include "toolkit/core/WinTypes.h"

class GalleryDialog;

namespace gallery_dpi {

constexpr DUI::UINT kPanelId = 1510;
constexpr DUI::UINT kCaptionId = 1511;
constexpr DUI::UINT kStagesId = 1516;
constexpr DUI::UINT kSliderId = 1517;
constexpr DUI::UINT kValueTextId = 1518;

// DPI for a slider value and back: a step of 50 per position, 50..26000.
int DpiForProgress(int progress);
int ProgressForDpi(int dpi);
// A typed value snapped down to a step of 50 within 50..26000.
int SnapTypedDpi(int typed);

}  // namespace gallery_dpi

// Builds the section into area (about 860 x 240 or more).
void BuildDpiSection(GalleryDialog& dlg, DUI::CRect area);
// Lets the section's controls work together; call it from the page's
// notification hook with every notification. True when it was the section's.
bool HandleDpiSectionNotify(GalleryDialog& dlg, DUI::UINT id, DUI::UINT code, DUI::WPARAM wParam,
                            DUI::LPARAM lParam);
