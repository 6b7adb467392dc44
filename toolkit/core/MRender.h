#pragma once
// MRender: the static drawing helpers of the toolkit. Every control draws
// through these (and the canvas of an MDC); they are the only place where
// the toolkit's drawing vocabulary meets the platform's canvas.
//
// Index
//   1. Images
//   2. Drawing targets and copies
//   3. Fills, text and colours
//   4. Nine-grids and transitions
//   5. Shapes and measuring

#include <memory>

#include "platform/draw/Font.h"
#include "platform/draw/Image.h"
#include "toolkit/core/Color.h"
#include "toolkit/core/MDC.h"

namespace DUI {

using Image = platform::Image;
using HICON = platform::Image*;
// A text font as the toolkit hands it around (the GDI font of a control).
using HFONT = const platform::FontSpec*;

// DrawText format flags (the values GDI used).
constexpr UINT DT_LEFT = 0x0;
constexpr UINT DT_CENTER = 0x1;
constexpr UINT DT_RIGHT = 0x2;
constexpr UINT DT_TOP = 0x0;
constexpr UINT DT_VCENTER = 0x4;
constexpr UINT DT_BOTTOM = 0x8;
constexpr UINT DT_WORDBREAK = 0x10;
constexpr UINT DT_SINGLELINE = 0x20;
constexpr UINT DT_CALCRECT = 0x400;
constexpr UINT DT_EDITCONTROL = 0x2000;
constexpr UINT DT_END_ELLIPSIS = 0x8000;
constexpr UINT DT_WORD_ELLIPSIS = 0x40000;

class MRender {
 public:
  // --- 1. Images -------------------------------------------------------------------
  // Decoded image from a full path; null when unreadable. The caller owns it.
  static Image* LoadImageFromFile(CString path);
  // A width x height thumbnail (the image's own size when both are 0).
  static Image* LoadImageFromFileEx(CString path, int width, int height);
  // Module resources are files named "<id>.<type>" in the folder "resources"
  // of the program folder (type lower-cased); null when absent.
  static Image* LoadImageFromIDResource(UINT id, CString type, void* module);
  // Window icons are plain image files on this platform.
  static HICON LoadIconFromFile(CString path);
  // The skin folder: "skins/<theme>/" in the program folder
  // (Manager::GetProgramFolder), computed anew on every call.
  static CString GetSkinFolder();
  // The full path of the skin image named `name`, the one place where skin
  // names become files. Names are relative to the skin folder and may be
  // written with either separator ("icon\\battery.png" and "icon/battery.png"
  // name the same file); repeated separators and "." steps are dropped. A
  // name that is empty, names a folder or climbs out of the skin folder
  // ("..") gives an empty path, which loads nothing.
  static CString GetSkinFile(const CString& name);
  // Loads a skin image by name (GetSkinFile); null when missing or unreadable.
  static Image* LoadSkinImage(const CString& name);
  static CString GetResourcePath(UINT id, CString type);

  // --- 2. Drawing targets and copies -------------------------------------------------
  // A new owned ARGB32 target; bits receives its pixels (rows top-down).
  static HDC CreateARGB32Bitmap(HDC dc, int width, int height, BYTE** bits);
  static HDC CreateCompatibleDC(HDC dc, int width, int height);
  static void DeleteDC(HDC& dc);
  // Copies pixels (alpha included) from src at (sx, sy) to dst at (x, y).
  static void BitBlt(HDC dst, int x, int y, int cx, int cy, HDC src, int sx, int sy);
  // Blends src over dst with a constant alpha (0-255), scaling when the
  // sizes differ.
  static void AlphaBlend(HDC dst, int x, int y, int cx, int cy, HDC src, int sx, int sy, int sw, int sh,
                         BYTE alpha);

  // --- 3. Fills, text and colours -----------------------------------------------------
  static void FillSolidRect(HDC& dc, const RECT* rect, COLORREF colour);
  static void FillSolidRect(HDC& dc, int x, int y, int cx, int cy, COLORREF colour);
  // Fills with an ARGB colour, replacing the pixels (alpha included).
  static void FillRectRaw(HDC dc, const RECT& rect, Color colour);
  // Draws text with the DT_ flags; returns the text height (0 for null text).
  // DT_CALCRECT only measures, setting rect's bottom (and right when single
  // line).
  static int DrawTextW(HDC dc, CRect& rect, const wchar_t* text, COLORREF colour, HFONT font, UINT format);
  // The same with an ARGB colour.
  static int DrawTextARGB(HDC dc, CRect& rect, const wchar_t* text, Color colour, HFONT font, UINT format);
  // Pure black becomes 0x000001 so that it is not taken for a transparent
  // pixel of the back buffer.
  static void CheckAlphaColor(COLORREF& colour);
  static ARGB ToARGB(COLORREF colour, BYTE alpha = 255);

  // --- 4. Nine-grids and transitions --------------------------------------------------------
  // Draws frame (sx, sy, sw, sh) of the image's first bitmap over dst with
  // corners of size corner kept unscaled.
  static void DrawImageFrame(HDC dc, const Image* image, const CRect& dst, int sx, int sy, int sw, int sh,
                             int corner);
  static void DrawImageFrameMID(HDC dc, const Image* image, const CRect& dst, int sx, int sy, int sw, int sh,
                                int left, int top, int right, int bottom);
  // Draws (sx, sy, sw, sh) of the image stretched into dst.
  static void DrawImage(HDC dc, const Image* image, const CRect& dst, int sx, int sy, int sw, int sh,
                        BYTE alpha = 255);
  static int DrawVerticalTransition(HDC& dst, HDC& src, const CRect& dstRect, const CRect& srcRect, int from,
                                    int to);
  static int DrawHorizontalTransition(HDC& dst, HDC& src, const CRect& dstRect, const CRect& srcRect, int from,
                                      int to);

  // --- 5. Shapes and measuring -----------------------------------------------------------------
  static void DrawRoundRectange(HDC dc, float x, float y, float w, float h, float r, Color pen, float penWidth,
                                bool fill, Color fillColour);
  static void DrawRoundRectange(HDC dc, float x, float y, float w, float h, float r, Color pen, float penWidth,
                                Color fillColour);
  static void DrawRoundRectange(HDC dc, float x, float y, float w, float h, float r, Color colour);
  static void DrawRectangle(HDC dc, const CRect& rect, Color colour, float penWidth);
  static void DrawGradient(HDC dc, const CRect& rect, Color from, Color to, bool vertical);
  static void DrawColor(HDC dc, const CRect& rect, Color colour);
  // Width rounded up; height = line height truncated plus 4 when it had a
  // fraction, else plus 1.
  static CSize GetTextBounds(const platform::FontSpec& font, const CString& text, int maxWidth = 0);
  // Where a cx x cy item goes in a width x height box at (0, 0).
  static CPoint GetOriginPoint(int width, int height, int cx, int cy, UINT hAlign, UINT vAlign);
  static CPoint GetOriginPoint(CRect rect, int itemWidth, int itemHeight, UINT hAlign, UINT vAlign);
  static bool SaveBitmapToFile(HDC dc, CString path);
};

}  // namespace DUI
