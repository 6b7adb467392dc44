#pragma once
// MProgress: a progress bar. It draws, in order of preference, a track and
// a fill image (each one frame, stretched with 12-pixel side borders), a
// two-frame strip (track, fill) 14 pixels high, or a built-in thin line
// with a 3-pixel bar in the accent colour; optionally the percentage above
// it. A running bar advances by one every third tick of the window's
// multimedia timer and wraps to 0 at the maximum. It sends nothing.
//
// The timer thread advances the bar while the window thread sets and
// paints it, so the values are atomic.

#include <atomic>

#include "toolkit/core/ImgResInfo.h"
#include "toolkit/core/MControlFont.h"

namespace DUI {

class MProgress : public MControlFont {
 public:
  MProgress(MObject* parent, UINT id, CRect rect, int visible, int enabled);

  // Enabled only: clamps to the maximum; a negative value changes nothing.
  // Returns the progress.
  int SetProgress(int progress);
  int GetProgress() const { return m_progress.load(); }
  // Enabled only: stores the running flag and, when 0 <= progress <=
  // maximum, the progress. Returns the running flag.
  int SetRun(int run, int progress);
  int IsRun() const { return m_running.load(); }
  // The maximum (100 by default); at least 1.
  void SetMaximum(int maximum);
  int GetMaximum() const { return m_maximum.load(); }
  void SetShowText(int show);
  void SetLineColor(Color colour);
  void SetBarColor(Color colour);

  // Track and fill images from the window's image cache, one frame each;
  // the resource forms read PNG resources of the program.
  bool SetBackGroundImage(CString file);
  bool SetBackGroundImage(UINT pngResource);
  bool SetForeGroundImage(CString file);
  bool SetForeGroundImage(UINT pngResource);

  void DrawControl(HDC& dc, CRect clip) override;
  int OnControlTimer() override;

  static constexpr int kBorder = 12;  // side borders of the image track
  static constexpr int kBarHeight = 14;  // height of the strip bar

 protected:
  struct Picture {
    const Image* image = nullptr;
    int width = 0;
    int height = 0;
  };
  bool LoadPicture(Picture& picture, const ImgResInfo* info);
  // Width of the filled part for the current progress.
  int FillWidth(int width) const;

  std::atomic<int> m_maximum{100};
  std::atomic<int> m_progress{0};
  std::atomic<int> m_running{0};
  std::atomic<int> m_ticks{0};
  int m_tickDivisor = 3;
  int m_showText = 0;
  Color m_lineColour{0x64050505};
  Color m_barColour;
  Picture m_track;
  Picture m_fill;
};

}  // namespace DUI
