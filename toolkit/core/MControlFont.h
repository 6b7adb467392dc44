#pragma once
// MControlFont: a control with a text, a font and one image strip. Most
// concrete controls derive from it.

#include <optional>

#include "platform/draw/Font.h"
#include "toolkit/core/Color.h"
#include "toolkit/core/FontFamily.h"
#include "toolkit/core/MControl.h"
#include "toolkit/core/MRender.h"

namespace DUI {

// Font style bits.
enum FontStyle : int {
  FontStyleRegular = 0,
  FontStyleBold = 1,
  FontStyleItalic = 2,
  FontStyleUnderline = 4,
};

class MControlFont : public MControl {
 public:
  MControlFont(MObject* parent, UINT id, CRect rect, const wchar_t* title, int visible, int enabled,
               int mouseResponse);
  ~MControlFont() override;

  // Virtual slots 37 to 42.
  virtual void SetTextFont(CString name);
  virtual void SetTextColor(Color colour);
  virtual int SetImage(UINT resourceId, CString resourceType, int count);
  virtual int SetImage(const wchar_t* file, int count);
  virtual void SetControlTitle(const wchar_t* title);
  virtual CString GetControlTitle();

  void SetTitle(const wchar_t* title);
  CString GetTitle() { return GetControlTitle(); }
  void SetAlignment(UINT horizontal);
  void SetVAlignment(UINT vertical);
  void SetAlignment(UINT horizontal, UINT vertical);
  void GetAlignment(UINT& horizontal, UINT& vertical) const;

  void SetFont(const wchar_t* name, int size, int style);
  void SetFontName(CString name);
  void SetFontWidth(int size);
  void SetFontStyle(int style);
  int GetFontStyle() const { return m_fontStyle; }
  CString GetTextFont() const { return m_fontName; }
  int GetFontWidth() const { return m_fontSize; }
  Color GetTextColor() const { return m_textColor; }
  void SetTextRenderingHint(int hint) { m_renderingHint = hint; }
  int GetTextRenderingHint() const { return m_renderingHint; }
  // The family of that name from the window's private fonts, or null.
  FontFamily* GetFontFamily(const wchar_t* name);
  // The control's font, built once and cached until name, size, style or
  // title change.
  HFONT GetGDIFont();
  void ClearGDIFont();
  void SetGDIText(int gdi) { m_gdiText = gdi; }
  int GetGDIText() const { return m_gdiText; }

  void SetImageCount(int count) { m_imageCount = count; }
  CSize GetImageSize() const { return CSize(m_imageWidth, m_imageHeight); }
  CString GetImagePath() const { return m_imagePath; }
  const Image* GetImage() const { return m_image; }
  int GetImageCount() const { return m_imageCount; }

  // Draws text in rect of dc with the control's font and alignment: GDI
  // style (single line with ellipsis, or word-wrapped and centred) when the
  // GDI-text flag is set, else one line clipped to the rect (or wrapped when
  // multiLine).
  void DrawControlText(HDC dc, CRect rect, const CString& text, Color colour, bool multiLine = false);
  // The font as the text engine takes it.
  platform::FontSpec FontSpecFor() const;

 protected:
  CString m_title;
  CString m_fontName;
  int m_fontSize = 14;
  Color m_textColor{0xFFFFFFFF};
  Color m_textBrush{0xFFFFFFFF};  // the solid brush of the text colour
  int m_fontStyle = FontStyleRegular;
  FontFamily* m_fontFamily = nullptr;
  UINT m_hAlign = 0;
  UINT m_vAlign = 4;
  int m_renderingHint = 5;
  std::optional<platform::FontSpec> m_gdiFont;
  int m_gdiText = 0;
  const Image* m_image = nullptr;  // shared from the window's image cache
  int m_imageWidth = 0;
  int m_imageHeight = 0;
  int m_imageCount = 4;
  CString m_imagePath;
};

}  // namespace DUI
