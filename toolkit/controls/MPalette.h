#pragma once
// MPalette: the colour picker of the lighting page and the colour dialog: a
// hue/lightness field (hue across, lightness down, full saturation) and a
// saturation bar for the current hue and lightness at its right.
//
// Values: hue 0 to 360, saturation 0 to 200 (200 = 100 %), lightness 20 to
// 200 when picked (SetSelectColor may store less). Colours are exchanged as
// COLORREF (0x00BBGGRR).
//
// Notifications: code 27 with wParam = the new colour when a press in the
// field or the bar changed it; code 27 with wParam 0 while the bar is
// dragged; code 2 with wParam = the colour on release (the final colour).

#include <memory>

#include "toolkit/core/MControlFont.h"

namespace DUI {

class MPalette : public MControlFont {
 public:
  static constexpr int kFieldColumns = 360;
  static constexpr int kRows = 200;
  static constexpr int kBarWidth = 16;

  MPalette(MObject* parent, UINT id, CRect rect, int visible);
  ~MPalette() override;

  // The colour of the current values.
  COLORREF GetSelectColor() const;
  // Takes the colour's hue, saturation and lightness and moves the thumb to
  // it; sends nothing.
  void SetSelectColor(COLORREF colour);
  int SetThumbImage(const wchar_t* file);
  void SetPalletHeight(int height);
  int GetPalletHeight() const { return m_fieldHeight; }

  int GetHue() const { return m_hue; }
  int GetSaturation() const { return m_saturation; }
  int GetLightness() const { return m_lightness; }
  CPoint GetThumbPoint() const { return m_thumb; }
  CRect GetFieldRect() const;
  CRect GetBarRect() const;

  // HSL (each 0 to 1) to COLORREF, each channel truncated to 0..255; and
  // back (hue, saturation, lightness 0 to 1).
  static COLORREF HslToColor(double h, double s, double l);
  static void ColorToHsl(COLORREF colour, double& h, double& s, double& l);

  void DrawControl(HDC& dc, CRect clip) override;
  int OnControlMouseMove(UINT flags, CPoint pt) override;
  int OnControlLButtonDown(UINT flags, CPoint pt) override;
  int OnControlLButtonUp(UINT flags, CPoint pt) override;
  int OnControlScroll(int kind, UINT down, CPoint pt) override;

 private:
  enum class Drag { None, Field, Bar };
  // Hue, lightness and the thumb from a point in the field.
  void PickInField(CPoint pt);
  void PickInBar(CPoint pt);
  // Repaints the saturation bar for the current hue and lightness.
  void RefreshBar();
  void BuildField();

  int m_hue = 180;
  int m_saturation = 200;
  int m_lightness = 120;
  int m_fieldHeight = 150;
  CPoint m_thumb;  // the picked point, from the field's top-left corner
  COLORREF m_lastColour = 0;
  Drag m_drag = Drag::None;
  std::unique_ptr<Image> m_field;  // 360 x 200
  std::unique_ptr<Image> m_bar;    // 16 x 200
  const Image* m_thumbImage = nullptr;
  int m_thumbWidth = 0;
  int m_thumbHeight = 0;
};

}  // namespace DUI
