#include "toolkit/core/MControlFont.h"

#include "toolkit/core/Manager.h"
#include "toolkit/core/PaintManager.h"

namespace DUI {

MControlFont::MControlFont(MObject* parent, UINT id, CRect rect, const wchar_t* title, int visible, int enabled,
                           int mouseResponse)
    : MControl(parent, id, rect, visible, enabled, mouseResponse),
      m_title(title != nullptr ? title : L""),
      m_fontName(Manager::GetFontName()),
      m_fontSize(Manager::GetFontWidth()) {}

MControlFont::~MControlFont() = default;

void MControlFont::SetTextFont(CString name) { m_fontName = std::move(name); }

void MControlFont::SetTextColor(Color colour) {
  m_textColor = colour;
  m_textBrush = colour;
}

int MControlFont::SetImage(UINT resourceId, CString resourceType, int count) {
  if (m_manager == nullptr) return 0;
  const ImgResInfo* info = m_manager->AddImgResInfo(resourceId, resourceType, count, 1);
  if (info == nullptr) return 0;
  m_image = info->image.get();
  m_imageWidth = info->frameWidth;
  m_imageHeight = info->height;
  m_imageCount = count;
  m_imagePath.clear();
  if (m_visible) UpdateControl(1, 0);
  return 1;
}

int MControlFont::SetImage(const wchar_t* file, int count) {
  if (m_manager == nullptr || file == nullptr) return 0;
  const ImgResInfo* info = m_manager->AddImgResInfo(file, count);
  if (info == nullptr) return 0;
  m_image = info->image.get();
  m_imageWidth = info->frameWidth;
  m_imageHeight = info->height;
  m_imageCount = count;
  m_imagePath = file;
  if (m_visible) UpdateControl(1, 0);
  return 1;
}

void MControlFont::SetControlTitle(const wchar_t* title) { m_title = title != nullptr ? title : L""; }

CString MControlFont::GetControlTitle() { return m_title; }

void MControlFont::SetTitle(const wchar_t* title) {
  ClearGDIFont();
  SetControlTitle(title);
  if (m_visible && m_parent != nullptr) m_parent->OnControlUpdate(m_rect, 1, this);
}

void MControlFont::SetAlignment(UINT horizontal) { SetAlignment(horizontal, m_vAlign); }

void MControlFont::SetVAlignment(UINT vertical) { SetAlignment(m_hAlign, vertical); }

void MControlFont::SetAlignment(UINT horizontal, UINT vertical) {
  if (horizontal == m_hAlign && vertical == m_vAlign) return;
  m_hAlign = horizontal;
  m_vAlign = vertical;
  if (m_visible) UpdateControl(1, 0);
}

void MControlFont::GetAlignment(UINT& horizontal, UINT& vertical) const {
  horizontal = m_hAlign;
  vertical = m_vAlign;
}

void MControlFont::SetFont(const wchar_t* name, int size, int style) {
  if (name != nullptr) m_fontName = name;
  m_fontSize = size;
  m_fontStyle = style;
  ClearGDIFont();
}

void MControlFont::SetFontName(CString name) {
  m_fontName = std::move(name);
  ClearGDIFont();
}

void MControlFont::SetFontWidth(int size) {
  m_fontSize = size;
  ClearGDIFont();
}

void MControlFont::SetFontStyle(int style) {
  m_fontStyle = style;
  ClearGDIFont();
}

FontFamily* MControlFont::GetFontFamily(const wchar_t* name) {
  if (m_manager == nullptr || name == nullptr) return nullptr;
  m_fontFamily = m_manager->FindTempFont(name);
  return m_fontFamily;
}

platform::FontSpec MControlFont::FontSpecFor() const {
  platform::FontSpec fontSpec;
  fontSpec.family = m_fontName.substr(0, 32);
  fontSpec.pixelSize = float(m_fontSize);
  fontSpec.weight = (m_fontStyle & FontStyleBold) ? 700 : 400;
  fontSpec.italic = (m_fontStyle & FontStyleItalic) != 0;
  fontSpec.underline = (m_fontStyle & FontStyleUnderline) != 0;
  return fontSpec;
}

HFONT MControlFont::GetGDIFont() {
  if (!m_gdiFont) m_gdiFont = FontSpecFor();
  return &*m_gdiFont;
}

void MControlFont::ClearGDIFont() { m_gdiFont.reset(); }

void MControlFont::DrawControlText(HDC dc, CRect rect, const CString& text, Color colour, bool multiLine) {
  if (dc == nullptr || text.empty()) return;
  if (m_gdiText) {
    if (!multiLine) {
      MRender::DrawTextARGB(dc, rect, text.c_str(), colour, GetGDIFont(),
                            m_hAlign | m_vAlign | DT_SINGLELINE | DT_WORD_ELLIPSIS);
      return;
    }
    // A multi-line text is measured first and drawn in a box of its own
    // height centred vertically in the control.
    CRect measure(0, 0, rect.Width(), 0);
    const int height = MRender::DrawTextARGB(dc, measure, text.c_str(), colour, GetGDIFont(),
                                             DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL);
    CRect box(rect.left, rect.top + (rect.Height() - height) / 2, rect.right, 0);
    box.bottom = box.top + height;
    MRender::DrawTextARGB(dc, box, text.c_str(), colour, GetGDIFont(), m_hAlign | DT_WORDBREAK | DT_EDITCONTROL);
    return;
  }
  if (m_manager != nullptr) GetFontFamily(m_fontName.c_str());
  platform::FontSpec fontSpec = FontSpecFor();
  if (m_fontFamily != nullptr) fontSpec.family = m_fontFamily->GetFamilyName();
  platform::TextFormat format;
  format.hAlign = m_hAlign == 1 ? platform::HAlign::Center : m_hAlign == 2 ? platform::HAlign::Right
                                                                            : platform::HAlign::Left;
  format.vAlign = m_vAlign == 4 ? platform::VAlign::Center : m_vAlign == 8 ? platform::VAlign::Bottom
                                                                            : platform::VAlign::Top;
  format.wrap = multiLine;
  platform::Canvas& canvas = dc->Canvas();
  canvas.Save();
  canvas.ClipRect(RECT(rect));
  canvas.DrawText(text, platform::RectF::FromRect(rect), fontSpec, colour.GetValue(), format);
  canvas.Restore();
}

}  // namespace DUI
