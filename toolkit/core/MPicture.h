#pragma once
// MPicture: shows the first frame of an image it owns, by one of six show
// modes: natural size placed by the alignment, tiled, stretched, nine-grid
// with one corner size, nine-grid with four border widths, or a source
// rectangle stretched over the control.

#include <memory>

#include "toolkit/core/MControlFont.h"

namespace DUI {

enum enumShowMode {
  ShowModeNormal = 0,
  ShowModeTile = 1,
  ShowModeStretch = 2,
  ShowModeFrame = 3,
  ShowModeFrameMID = 4,
  ShowModeSource = 5,
};

class MPicture : public MControlFont {
 public:
  MPicture(MObject* parent, UINT id, CRect rect, int visible, int enabled);
  ~MPicture() override;

  int SetImage(const wchar_t* file, int count) override;
  int SetImage(UINT resourceId, CString resourceType, int count) override;
  using MControlFont::SetImage;

  int SetShowMode(enumShowMode mode, int frame);
  int SetShowModeMID(int left, int top, int right, int bottom);
  void SetSourceRect(CRect source);
  enumShowMode GetShowMode() const { return m_showMode; }

  void DrawControl(HDC& dc, CRect clip) override;

 private:
  void AfterLoad(std::unique_ptr<Image> image, int count);
  void Render(HDC dc, int w, int h);

  std::unique_ptr<Image> m_ownImage;
  enumShowMode m_showMode = ShowModeNormal;
  int m_frameSize = 4;
  int m_borderLeft = 0;
  int m_borderTop = 0;
  int m_borderRight = 0;
  int m_borderBottom = 0;
  CRect m_sourceRect;
};

}  // namespace DUI
