#pragma once
// Sections that several gallery pages share: each builds one group of
// controls into a rectangle of the gallery dialog.

#include "toolkit/core/CRect.h"

class GalleryDialog;

// Combo boxes: two short lists, a disabled one, two grouped ones in a panel
// (621, 622) and, along the bottom edge of the area, a 12-item list that
// scrolls (ids 601 to 604).
void BuildComboSection(GalleryDialog& dlg, DUI::CRect area);
// A button (id 610) that opens a popup menu with icons, a separator, a
// checked and a disabled item; the choice is printed ("menu item=N").
void BuildMenuSection(GalleryDialog& dlg, DUI::CRect area);

// Ids of the section's controls, for pages and scripts.
constexpr unsigned kGalleryReportRateCombo = 601;
constexpr unsigned kGalleryDisabledCombo = 603;
constexpr unsigned kGalleryLanguageCombo = 602;
constexpr unsigned kGalleryProfileCombo = 604;  // at the bottom edge
constexpr unsigned kGalleryGroupedCombo = 621;  // and 622
constexpr unsigned kGalleryMenuButton = 610;
