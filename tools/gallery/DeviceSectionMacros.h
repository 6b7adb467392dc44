#pragma once
// The macro lists of the device page: a MacroList of stored macros and a
// CRecordList with the events of the selected one, in a panel of their own
// that makes them work together (choose a macro to see its events, rename
// one with a double click, edit a delay with a double click on its row).

#include "toolkit/core/CRect.h"

class GalleryDialog;

void BuildMacrosSection(GalleryDialog& dlg, DUI::CRect area);

// Ids of the section's controls, for pages and scripts.
constexpr unsigned kGalleryMacrosPanel = 1300;
constexpr unsigned kGalleryMacroList = 1356;
constexpr unsigned kGalleryRecordList = 1366;
