#pragma once
// Sections that several gallery pages share: each builds one group of
// controls into a rectangle of the gallery dialog.

#include "toolkit/core/CRect.h"

class GalleryDialog;

// Combo boxes: a short list, a 12-item list that scrolls, a disabled one
// and one along the bottom edge of the area (ids 601 to 604).
void BuildComboSection(GalleryDialog& dlg, DUI::CRect area);
// A button (id 610) that opens a popup menu with icons, a separator, a
// checked and a disabled item; the choice is printed ("menu item=N").
void BuildMenuSection(GalleryDialog& dlg, DUI::CRect area);

// Ids of the section's controls, for pages and scripts.
constexpr unsigned kGalleryReportRateCombo = 601;
constexpr unsigned kGalleryProfileCombo = 602;
constexpr unsigned kGalleryDisabledCombo = 603;
constexpr unsigned kGalleryLanguageCombo = 604;
constexpr unsigned kGalleryMenuButton = 610;
