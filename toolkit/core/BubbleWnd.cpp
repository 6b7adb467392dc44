#include "toolkit/core/BubbleWnd.h"

#include <algorithm>
#include <cmath>

#include "platform/draw/Canvas.h"
#include "platform/window/Window.h"
#include "toolkit/core/Manager.h"

namespace DUI {

namespace {

constexpr int kPadX = 10;
constexpr int kPadY = 7;
constexpr ARGB kBack = 0xFF1D2025;
constexpr ARGB kText = 0xFFE6E8EB;

platform::FontSpec BubbleFont() {
  platform::FontSpec font;
  font.family = L"Open Sans";
  font.pixelSize = 12;
  return font;
}

}  // namespace

BubbleWnd::BubbleWnd() = default;

BubbleWnd::~BubbleWnd() = default;

bool BubbleWnd::CreateBubble(HWND owner) {
  return Create(owner, L"", WS_POPUP, WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, CRect(0, 0, 1, 1)) !=
         nullptr;
}

void BubbleWnd::ShowBubble(const CString& text, CPoint screenPt) {
  if (m_hWnd == nullptr) return;
  m_text = text;
  const platform::SizeF size = platform::MeasureText(text, BubbleFont(), float(kMaxWidth));
  const int w = int(std::ceil(std::min(size.width, float(kMaxWidth)))) + 2 * kPadX;
  const int h = int(std::ceil(size.height)) + 2 * kPadY;
  platform::SetWindowPos(m_hWnd, HWND_TOPMOST, screenPt.x, screenPt.y, w, h, SWP_NOACTIVATE);
  platform::ShowWindow(m_hWnd, SW_SHOWNA);
  platform::InvalidateRect(m_hWnd, nullptr);
  m_shown = true;
}

void BubbleWnd::Hide() {
  if (m_hWnd != nullptr && m_shown) platform::ShowWindow(m_hWnd, SW_HIDE);
  m_shown = false;
}

void BubbleWnd::Paint() {
  platform::BeginPaint(m_hWnd);
  const CRect client = GetClientRect();
  if (!client.IsRectEmpty()) {
    platform::Bitmap bmp(client.Width(), client.Height());
    platform::Canvas canvas(bmp);
    // A dark card with an accent edge, in the theme of the window it helps.
    canvas.FillRect(client, Manager::GetSelectColor().GetValue());
    CRect inner = client;
    inner.DeflateRect(1, 1);
    canvas.FillRect(inner, kBack);
    platform::TextFormat format;
    format.wrap = true;
    canvas.DrawText(m_text,
                    platform::RectF{float(kPadX), float(kPadY), float(client.Width() - 2 * kPadX),
                                    float(client.Height() - 2 * kPadY)},
                    BubbleFont(), kText, format);
    platform::PresentBitmap(m_hWnd, bmp, client);
  }
  platform::EndPaint(m_hWnd);
}

LRESULT BubbleWnd::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
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
