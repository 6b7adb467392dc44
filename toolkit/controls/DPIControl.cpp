#include "toolkit/controls/DPIControl.h"

#include <string>

#include "toolkit/core/ControlRegistry.h"
#include "toolkit/core/MRender.h"
#include "toolkit/core/Manager.h"
#include "toolkit/core/PaintManager.h"
#include "toolkit/core/TextEditor.h"

namespace DUI {

QELT_REGISTER_CONTROL(L"DPIControl", [](MObject* p, UINT id, CRect r, const wchar_t*, int v, int e) -> MControl* {
  return new DPIControl(p, id, r, v, e);
})

namespace {

constexpr ARGB kCardColour = 0xFF231C14;
constexpr ARGB kLabelColour = 0xFF050505;
constexpr ARGB kSelectedValueColour = 0xFFFF1C14;
constexpr ARGB kValueColour = 0xFFFFFFFF;

// The hover look of a swatch: its colour lifted a quarter of the way to
// white, with a light rim.
Color HoverColour(ARGB base) {
  auto lift = [](unsigned c) { return c + (255 - c) / 4; };
  const unsigned r = lift((base >> 16) & 0xFF), g = lift((base >> 8) & 0xFF), b = lift(base & 0xFF);
  return Color(0xFF000000u | (r << 16) | (g << 8) | b);
}

}  // namespace

DPIControl::DPIControl(MObject* parent, UINT id, CRect rect, int visible, int)
    : MPanel(parent, id, rect, visible), m_highlight(Manager::GetSelectColor()) {
  m_enableScroll = 0;
  m_font.family = L"Arial";
  m_font.weight = 700;
}

DPIControl::~DPIControl() = default;

// --- 1. Stages ------------------------------------------------------------------------------

void DPIControl::Relayout() {
  std::lock_guard guard(m_itemsLock);
  const int h = m_rect.Height();
  for (size_t i = 0; i < m_items.size(); ++i) {
    const int x = 2 + kCardPitch * int(i);
    m_items[i].card = CRect(x - 2, 0, x - 2 + m_cardWidth, h);
    m_items[i].valueRect = CRect(x + 24, 51, x + 89, 71);
  }
}

int DPIControl::AddItem(int dpi, int colour) {
  int index;
  {
    std::lock_guard guard(m_itemsLock);
    m_items.push_back(Item{dpi, colour, CRect(), CRect()});
    index = int(m_items.size()) - 1;
  }
  Relayout();
  UpdateControl(1, 0);
  return index;
}

void DPIControl::ClearList() {
  CloseEdit();
  {
    std::lock_guard guard(m_itemsLock);
    m_items.clear();
  }
  m_hover = -1;
  m_selected = 0;
  UpdateControl(1, 0);
}

void DPIControl::SetDPIValue(int index, int dpi) {
  {
    std::lock_guard guard(m_itemsLock);
    if (index < 0 || index >= int(m_items.size())) return;
    m_items[size_t(index)].dpi = dpi;
  }
  UpdateControl(1, 0);
}

void DPIControl::SetDPIColorValue(int index, int colour) {
  {
    std::lock_guard guard(m_itemsLock);
    if (index < 0 || index >= int(m_items.size())) return;
    m_items[size_t(index)].colour = colour;
  }
  UpdateControl(1, 0);
}

int DPIControl::GetDPIValue(int index) {
  if (index < 0) return kValueBelow;
  std::lock_guard guard(m_itemsLock);
  if (index >= int(m_items.size())) return kValuePast;
  return m_items[size_t(index)].dpi;
}

int DPIControl::GetDPIColorValue(int index) {
  std::lock_guard guard(m_itemsLock);
  if (index < 0 || index >= int(m_items.size())) return 0;
  return m_items[size_t(index)].colour;
}

int DPIControl::GetItemCount() {
  std::lock_guard guard(m_itemsLock);
  return int(m_items.size());
}

CRect DPIControl::GetItemRect(int index) {
  std::lock_guard guard(m_itemsLock);
  if (index < 0 || index >= int(m_items.size())) return CRect();
  CRect r = m_items[size_t(index)].card;
  r.OffsetRect(m_rect.left, m_rect.top);
  return r;
}

CRect DPIControl::GetValueRect(int index) {
  std::lock_guard guard(m_itemsLock);
  if (index < 0 || index >= int(m_items.size())) return CRect();
  CRect r = m_items[size_t(index)].valueRect;
  r.OffsetRect(m_rect.left, m_rect.top);
  return r;
}

// --- 2. Selection and the value editor ---------------------------------------------------------

void DPIControl::SetSelectItem(int index) {
  CloseEdit();
  m_selected = index;
  UpdateControl(1, 0);
}

CString DPIControl::GetEditText() {
  if (IsEditing()) return m_editor->GetText();
  return m_editText;
}

void DPIControl::SetEditText(const wchar_t* text) {
  m_editText = text != nullptr ? text : L"";
  if (IsEditing()) m_editor->SetText(m_editText);
}

int DPIControl::IsEditing() const { return m_editor && m_editor->IsOpen() ? 1 : 0; }

void DPIControl::CloseEdit() {
  if (IsEditing()) m_editor->Close();
}

int DPIControl::OpenEdit(int index) {
  if (m_manager == nullptr || index < 0 || index >= GetItemCount()) return 0;
  if (IsEditing() && m_editItem == index) return 1;
  CloseEdit();
  if (!m_editor) {
    m_editor = std::make_unique<TextEditor>();
    m_editor->onChange = [this] { SendMessageW(CN_EDITCHANGE, 0, 0); };
    m_editor->onClose = [this] {
      const int edited = m_editItem;
      m_editItem = -1;
      // The page reads the typed text (GetEditText) when it hears of the
      // close, then snaps it and sets the stage's value.
      m_editText = m_editor->GetText();
      UpdateControl(1, 0);
      SendMessageW(CN_EDITEND, 0, LPARAM(edited));
    };
  }
  platform::FontSpec font = m_font;
  font.pixelSize = float(m_fontSize);
  m_editor->SetFont(font);
  m_editor->SetLimit(kEditLimit);
  m_editor->SetNumberOnly(1);
  m_editor->SetAlignment(1);
  m_editor->SetColors(Color(kValueColour), Color(kCardColour), Manager::GetSelectColor());
  const int dpi = GetDPIValue(index);
  m_editText = std::to_wstring(dpi);
  m_editItem = index;
  if (!m_editor->Open(this, GetValueRect(index), m_editText)) {
    m_editItem = -1;
    return 0;
  }
  UpdateControl(1, 0);
  SendMessageW(CN_EDITBEGIN, 0, LPARAM(index));
  return 1;
}

// --- 3. Geometry ----------------------------------------------------------------------------------

void DPIControl::SetControlRect(CRect rect) {
  MPanel::SetControlRect(rect);
  Relayout();
  if (IsEditing()) m_editor->SetRect(GetValueRect(m_editItem));
}

void DPIControl::SetControlVisible(int visible) {
  if (!visible) CloseEdit();
  MPanel::SetControlVisible(visible);
}

int DPIControl::ItemAt(CPoint pt) {
  std::lock_guard guard(m_itemsLock);
  const CPoint local(pt.x - m_rect.left, pt.y - m_rect.top);
  for (size_t i = 0; i < m_items.size(); ++i) {
    if (m_items[i].card.PtInRect(local)) return int(i);
  }
  return -1;
}

bool DPIControl::InColorArea(int index, CPoint pt) {
  const CRect card = GetItemRect(index);
  return card.PtInRect(pt) && pt.y < card.top + kColorAreaHeight;
}

bool DPIControl::InValueRect(int index, CPoint pt) { return GetValueRect(index).PtInRect(pt) != 0; }

void DPIControl::SetHover(int index) {
  if (index == m_hover) return;
  m_hover = index;
  UpdateControl(1, 0);
}

// --- 4. Overrides: drawing and input -----------------------------------------------------------------

void DPIControl::DrawCard(HDC dc, int index, const Item& item) {
  const int x = item.card.left + 2;
  const int h = m_rect.Height();
  const bool selected = index == m_selected;
  const Color swatch(MRender::ToARGB(COLORREF(item.colour)));
  if (index != m_hover) {
    MRender::DrawRoundRectange(dc, float(x - 1), 1.0f, 108.0f, float(h - 2), 10.0f,
                               selected ? m_highlight : Color(kCardColour), 2.0f, true, Color(kCardColour));
    MRender::DrawColor(dc, CRect(x, 2, x + 106, 2 + 45), swatch);
  } else {
    const Color lifted = HoverColour(swatch.GetValue());
    MRender::DrawColor(dc, CRect(x, 2, x + 106, 2 + 45), lifted);
    MRender::DrawRectangle(dc, CRect(x, 2, x + 106, 2 + 45), Color(0x80FFFFFF), 1.0f);
  }
  MRender::DrawColor(dc, CRect(x, 38, x + 106, h - 2), Color(kCardColour));
  platform::FontSpec font = m_font;
  font.pixelSize = float(m_fontSize);
  const bool editing = IsEditing() && m_editItem == index;
  if (!editing) {
    CRect value(x, 35, x + 110, h + 5);
    const std::wstring text = std::to_wstring(item.dpi);
    MRender::DrawTextARGB(dc, value, text.c_str(), Color(selected ? kSelectedValueColour : kValueColour), &font,
                          DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
  CRect label(x, 5, x + 110, 35);
  const std::wstring caption = L"DPI " + std::to_wstring(index + 1);
  MRender::DrawTextARGB(dc, label, caption.c_str(), Color(kLabelColour), &font,
                        DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void DPIControl::DrawControl(HDC& dc, CRect) {
  const int w = m_rect.Width(), h = m_rect.Height();
  if (w <= 0 || h <= 0) return;
  if (!m_update) {
    UpdateMemDC(dc, w, h);
    MRender::BitBlt(m_cacheDC, 0, 0, w, h, dc, m_rect.left, m_rect.top);
    std::lock_guard guard(m_itemsLock);
    for (size_t i = 0; i < m_items.size(); ++i) DrawCard(m_cacheDC, int(i), m_items[i]);
  }
  MRender::BitBlt(dc, m_rect.left, m_rect.top, w, h, m_cacheDC, 0, 0);
  if (IsEditing()) m_editor->Draw(dc);
}

int DPIControl::OnControlMouseMove(UINT, CPoint pt) {
  SetHover(ItemAt(pt));
  return m_rect.PtInRect(pt) ? 1 : 0;
}

int DPIControl::OnControlLButtonDown(UINT, CPoint pt) {
  // A press that skipped the move (the first event after the window gained
  // the pointer) still finds its card.
  SetHover(ItemAt(pt));
  const int index = m_hover;
  if (index < 0) return 0;
  SetCursorEx(L"hand");
  if (index != m_selected) CloseEdit();
  if (index != m_selected) {
    m_selected = index;
    UpdateControl(1, 0);
  }
  if (InColorArea(index, pt)) m_colorItem = index;
  if (InValueRect(index, pt)) OpenEdit(index);
  return 1;
}

int DPIControl::OnControlLButtonUp(UINT, CPoint pt) {
  SetCursorEx(L"arrow");
  const int index = m_hover;
  if (index < 0 || !GetItemRect(index).PtInRect(pt)) return 0;
  if (index != m_selected) {
    m_selected = index;
    UpdateControl(1, 0);
  }
  SendMessageW(InColorArea(index, pt) ? CN_SUBCLICK : CN_CLICK, 0, 0);
  return 1;
}

}  // namespace DUI
