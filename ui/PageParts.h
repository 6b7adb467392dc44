#pragma once
// PageParts: the pieces the configuration pages are built from (framed
// areas with a caption and a help button, captions in the page's look), the
// write-job queueing the pages share, and the text lookup.
//
// Index
//   Add / Frame / Backdrop / Caption   controls created into a page container
//   TextWidth / PlaceAfter             help buttons that follow their caption's text
//   QueueWriteJob                      a settings write job, queued once per burst

#include <string>
#include <utility>

#include "toolkit/core/CRect.h"
#include "toolkit/core/Color.h"
#include "toolkit/core/MPanel.h"
#include "toolkit/core/MPicture.h"
#include "toolkit/core/WinTypes.h"

namespace DUI {
class MControlFont;
class MPicture;
class MText;
}  // namespace DUI

namespace ui {

class DeviceMainDlg;

namespace page {

// The colours the pages draw their texts in.
inline constexpr DUI::ARGB kCaptionColour = 0xFFFFFFFF;
inline constexpr DUI::ARGB kLabelColour = 0xFFC8D2DC;

// Creates a control as a child of the page container.
template <typename T, typename... Args>
T* Add(DUI::MPanel& panel, Args&&... args) {
  T* control = new T(&panel, std::forward<Args>(args)...);
  panel.AttachControl(control, 1);
  return control;
}

// A stretched nine-grid picture (border in pixels of the image).
DUI::MPicture* Frame(DUI::MPanel& panel, DUI::UINT id, const wchar_t* image, int border);
// An opaque fill in the window's background colour: the page hides what the
// window shows beneath its pages (the model's picture), also between its
// framed areas.
DUI::MPicture* Backdrop(DUI::MPanel& panel, DUI::UINT id);
// A single-line text, left aligned and vertically centred.
DUI::MText* Caption(DUI::MPanel& panel, DUI::UINT id, int fontWidth, DUI::ARGB colour);

// A control made by the toolkit's factory under its class name, as a child
// of the page container, placed later by the page's layout.
template <typename T>
T* Make(DUI::MPanel& panel, const wchar_t* className, DUI::UINT id, const wchar_t* title = nullptr) {
  return dynamic_cast<T*>(panel.CreateControl(className, id, DUI::CRect(), title, 1, 1));
}
// A skin picture drawn in the given show mode (frame: the border or frame).
DUI::MPicture* MakeFrame(DUI::MPanel& panel, DUI::UINT id, const wchar_t* image, DUI::enumShowMode mode, int frame);
// A left-aligned, vertically centred text of the given colour and size.
DUI::MText* MakeText(DUI::MPanel& panel, DUI::UINT id, DUI::Color colour, int size);

// The width the control's title takes in its font, in pixels.
int TextWidth(DUI::MControlFont& control);
// Moves follower (kept at its size) to just right of the caption's text,
// vertically centred on the caption.
void PlaceAfter(DUI::MControlFont& caption, DUI::MControl& follower, int gap);

// Queues a settings write job. The write jobs send what the store holds when
// they run, so a job of the same code still waiting behind the last job of
// another kind will send this change too, and is not queued again: a burst
// of edits costs one report per group, not one per edit.
void QueueWriteJob(DeviceMainDlg& dlg, int code);

std::wstring Text(int id);

}  // namespace page
}  // namespace ui
