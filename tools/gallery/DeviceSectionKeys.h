#pragma once
// The button map section of the gallery's device page: a mouse picture
// with its button callouts, the list of buttons with their functions, and a
// report-rate strip. Its control ids are 1400 to 1499.

#include "toolkit/core/CRect.h"

class GalleryDialog;

namespace gallery_keys {

// Ids a script or test can look the controls up by.
enum : unsigned {
  kSectionId = 1400,   // the panel that holds the section
  kMouseId = 1410,     // MouseCtrl
  kKeyListId = 1411,   // MouseKeyCtrl
  kReportId = 1412,    // ReporteCtrl
  kPictureId = 1420,   // the mouse picture beneath the callouts
  kStatusId = 1421,    // the line naming the picked button and rate
};

}  // namespace gallery_keys

// Builds the section into area (window coordinates); the callouts and the
// strip shrink to fit a smaller area.
void BuildKeysSection(GalleryDialog& dlg, DUI::CRect area);
