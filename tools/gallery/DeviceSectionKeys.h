#pragma once
// The button map section of the gallery's device page: a mouse picture
// with its button callouts, the list of buttons with their functions, and a
// report-rate strip. Its control ids are 1300 to 1399.

#include "toolkit/core/CRect.h"

class GalleryDialog;

namespace gallery_keys {

// Ids a script or test can look the controls up by.
enum : unsigned {
  kSectionId = 1300,   // the panel that holds the section
  kMouseId = 1310,     // MouseCtrl
  kKeyListId = 1311,   // MouseKeyCtrl
  kReportId = 1312,    // ReporteCtrl
  kPictureId = 1320,   // the mouse picture beneath the callouts
  kStatusId = 1321,    // the line naming the picked button and rate
};

}  // namespace gallery_keys

// Builds the section into area (window coordinates); the callouts and the
// strip shrink to fit a smaller area.
void BuildKeysSection(GalleryDialog& dlg, DUI::CRect area);
