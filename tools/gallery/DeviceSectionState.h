#pragma once
// The device list, battery and colour controls of the gallery's device
// page: two mice in the device list (one wired, one wireless and
// charging) with the arrows that step between them, the battery gauge and
// the connection-state label, the colour palette with its preview, preset
// and slot swatches, and the brightness and speed sliders. The controls
// work together: picking a colour fills the preview and the ticked slot,
// the sliders name their values, the arrows and the charging button move
// the list and the gauge.
//
// The section lives in one panel of its own over `area` and handles its
// controls' notifications there before passing them on to the dialog, so
// it needs no notification hook. Control ids 700 to 799.

#include "toolkit/core/CRect.h"

class GalleryDialog;

void BuildStateSection(GalleryDialog& dlg, DUI::CRect area);
