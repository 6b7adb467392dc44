#include "toolkit/core/MPicture.h"

#include <algorithm>

#include "toolkit/core/ControlRegistry.h"

namespace DUI {

QELT_REGISTER_CONTROL(L"MPicture", [](MObject* p, UINT id, CRect r, const wchar_t*, int v, int e) -> MControl* {
  return new MPicture(p, id, r, v, e);
})
// Framed, sliding and animated pictures are plain pictures here: nothing in
// the program uses them, and a picture shows a frame, a strip or a GIF's
// first frame alike.
QELT_REGISTER_CONTROL(L"CPhotoFrame", [](MObject* p, UINT id, CRect r, const wchar_t*, int v, int e) -> MControl* {
  return new MPicture(p, id, r, v, e);
})
QELT_REGISTER_CONTROL(L"CSliderPicture", [](MObject* p, UINT id, CRect r, const wchar_t*, int v, int e) -> MControl* {
  return new MPicture(p, id, r, v, e);
})
QELT_REGISTER_CONTROL(L"CGifPicture", [](MObject* p, UINT id, CRect r, const wchar_t*, int v, int e) -> MControl* {
  return new MPicture(p, id, r, v, e);
})

MPicture::MPicture(MObject* parent, UINT id, CRect rect, int visible, int enabled)
    : MControlFont(parent, id, rect, nullptr, visible, enabled, 1) {
  m_imageCount = 1;
}

MPicture::~MPicture() = default;

void MPicture::AfterLoad(std::unique_ptr<Image> image, int count) {
  m_ownImage = std::move(image);
  m_image = m_ownImage.get();
  m_imageCount = count;
  m_imageWidth = m_ownImage && count > 0 ? m_ownImage->Width() / count : 0;
  m_imageHeight = m_ownImage ? m_ownImage->Height() : 0;
  // Also after a failed load: the picture then shows nothing.
  if (m_visible) UpdateControl(1, 0);
}

int MPicture::SetImage(const wchar_t* file, int count) {
  if (file == nullptr || count <= 0) return 0;
  std::unique_ptr<Image> image(MRender::LoadSkinImage(file));
  const int ok = image ? 1 : 0;
  m_imagePath = file;
  AfterLoad(std::move(image), count);
  return ok;
}

int MPicture::SetImage(UINT resourceId, CString resourceType, int count) {
  if (count <= 0) return 0;
  std::unique_ptr<Image> image(MRender::LoadImageFromIDResource(resourceId, resourceType, nullptr));
  const int ok = image ? 1 : 0;
  m_imagePath.clear();
  AfterLoad(std::move(image), count);
  return ok;
}

int MPicture::SetShowMode(enumShowMode mode, int frame) {
  if (mode == m_showMode && (mode != ShowModeFrame || frame == m_frameSize)) return 0;
  m_showMode = mode;
  m_frameSize = frame;
  if (m_visible) UpdateControl(1, 0);
  return 1;
}

int MPicture::SetShowModeMID(int left, int top, int right, int bottom) {
  m_borderLeft = left;
  m_borderTop = top;
  m_borderRight = right;
  m_borderBottom = bottom;
  m_showMode = ShowModeFrameMID;
  if (m_visible) UpdateControl(1, 0);
  return 1;
}

void MPicture::SetSourceRect(CRect source) {
  m_sourceRect = source;
  if (m_visible && m_showMode == ShowModeSource) UpdateControl(1, 0);
}

void MPicture::Render(HDC dc, int w, int h) {
  if (m_image == nullptr || m_imageWidth <= 0 || m_imageHeight <= 0) return;
  const int fw = m_imageWidth, fh = m_imageHeight;
  switch (m_showMode) {
    case ShowModeNormal: {
      const int x = m_hAlign == 0 ? 0 : m_hAlign == 2 ? w - fw : (w - fw) / 2;
      const int y = m_vAlign == 0 ? 0 : m_vAlign == 8 ? h - fh : (h - fh) / 2;
      MRender::DrawImage(dc, m_image, CRect(x, y, x + fw, y + fh), 0, 0, fw, fh);
      break;
    }
    case ShowModeTile:
      // The last column and row are cut to what is left.
      for (int y = 0; y < h; y += fh) {
        for (int x = 0; x < w; x += fw) {
          const int cw = std::min(fw, w - x), ch = std::min(fh, h - y);
          MRender::DrawImage(dc, m_image, CRect(x, y, x + cw, y + ch), 0, 0, cw, ch);
        }
      }
      break;
    case ShowModeStretch:
      MRender::DrawImage(dc, m_image, CRect(0, 0, w, h), 0, 0, fw, fh);
      break;
    case ShowModeFrame:
      MRender::DrawImageFrame(dc, m_image, CRect(0, 0, w, h), 0, 0, fw, fh, m_frameSize);
      break;
    case ShowModeFrameMID:
      MRender::DrawImageFrameMID(dc, m_image, CRect(0, 0, w, h), 0, 0, fw, fh, m_borderLeft, m_borderTop,
                                 m_borderRight, m_borderBottom);
      break;
    case ShowModeSource:
      MRender::DrawImage(dc, m_image, CRect(0, 0, w, h), m_sourceRect.left, m_sourceRect.top,
                         m_sourceRect.Width(), m_sourceRect.Height());
      break;
  }
}

void MPicture::DrawControl(HDC& dc, CRect) {
  const int w = m_rect.Width(), h = m_rect.Height();
  if (w <= 0 || h <= 0) return;
  if (!m_update) {
    UpdateMemDC(dc, w, h);
    MRender::BitBlt(m_cacheDC, 0, 0, w, h, dc, m_rect.left, m_rect.top);
    Render(m_cacheDC, w, h);
  }
  MRender::BitBlt(dc, m_rect.left, m_rect.top, w, h, m_cacheDC, 0, 0);
}

}  // namespace DUI
