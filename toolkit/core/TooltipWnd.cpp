#include "toolkit/core/TooltipWnd.h"

#include <algorithm>
#include <cmath>

#include "platform/draw/Canvas.h"
#include "platform/window/Window.h"
#include "toolkit/core/Manager.h"

namespace DUI {

namespace {

constexpr int kPadX = 6;
constexpr int kPadY = 4;

platform::FontSpec TipFont() {
  platform::FontSpec font;
  font.family = L"Open Sans";
  font.pixelSize = 12;
  return font;
}

}  // namespace

TooltipWnd::TooltipWnd() = default;

TooltipWnd::~TooltipWnd() = default;

bool TooltipWnd::CreateTip(HWND owner) {
  return Create(owner, L"", WS_POPUP, WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, CRect(0, 0, 1, 1)) !=
         nullptr;
}

void TooltipWnd::ShowTip(const CString& text, CPoint screenPt) {
  if (m_hWnd == nullptr) return;
  m_text = text;
  const platform::SizeF size = platform::MeasureText(text, TipFont(), float(kMaxWidth));
  const int w = int(std::ceil(std::min(size.width, float(kMaxWidth)))) + 2 * kPadX;
  const int h = int(std::ceil(size.height)) + 2 * kPadY;
  platform::SetWindowPos(m_hWnd, HWND_TOPMOST, screenPt.x + 12, screenPt.y + 20, w, h, SWP_NOACTIVATE);
  platform::ShowWindow(m_hWnd, SW_SHOWNA);
  platform::InvalidateRect(m_hWnd, nullptr);
  m_shown = true;
}

void TooltipWnd::Hide() {
  if (m_hWnd != nullptr && m_shown) platform::ShowWindow(m_hWnd, SW_HIDE);
  m_shown = false;
  m_text.clear();
}

void TooltipWnd::Paint() {
  platform::BeginPaint(m_hWnd);
  const CRect client = GetClientRect();
  if (!client.IsRectEmpty()) {
    platform::Bitmap bmp(client.Width(), client.Height());
    platform::Canvas canvas(bmp);
    canvas.FillRect(client, platform::ColorRefToArgb(0x767676));
    CRect inner = client;
    inner.DeflateRect(1, 1);
    canvas.FillRect(inner, platform::ColorRefToArgb(kBackColor));
    platform::TextFormat format;
    format.wrap = true;
    canvas.DrawText(m_text,
                    platform::RectF{float(kPadX), float(kPadY), float(client.Width() - 2 * kPadX),
                                    float(client.Height() - 2 * kPadY)},
                    TipFont(), 0xFF323232, format);
    platform::PresentBitmap(m_hWnd, bmp, client);
  }
  platform::EndPaint(m_hWnd);
}

LRESULT TooltipWnd::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    default:
      return MWindow::OnWindowMessage(msg, wParam, lParam);
  }
}

}  // namespace DUI
