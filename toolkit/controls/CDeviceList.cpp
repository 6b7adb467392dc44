#include "toolkit/controls/CDeviceList.h"

#include <algorithm>
#include <string>

#include "toolkit/core/ControlRegistry.h"
#include "toolkit/core/ImgResInfo.h"
#include "toolkit/core/Manager.h"
#include "toolkit/core/PaintManager.h"

// Index
//   1. Devices and their states
//   2. Online list and selection
//   3. Images
//   4. Input and messages
//   5. Drawing

namespace DUI {

QELT_REGISTER_CONTROL(L"CDeviceList", [](MObject* p, UINT id, CRect r, const wchar_t*, int v, int e) -> MControl* {
  return new CDeviceList(p, id, r, v, e);
})

namespace {
constexpr int kMargin = 14;
constexpr int kNameHeight = 26;
constexpr int kLineHeight = 20;
constexpr int kRowHeight = 24;     // battery and connection mode
constexpr int kInnerX = 4, kInnerY = 4;  // of the battery gauge
constexpr ARGB kSecondaryText = 0xFFA0A8B4;
}  // namespace

CDeviceList::CDeviceList(MObject* parent, UINT id, CRect rect, int visible, int)
    : MPanel(parent, id, rect, visible) {
  SetBackCorner(12);
}

CDeviceList::~CDeviceList() = default;

void CDeviceList::Redraw() { UpdateControl(1, 0); }

// --- 1. Devices and their states ---------------------------------------------------------------

int CDeviceList::AddDevice(CString name, int key, CString picture) {
  auto device = std::make_unique<Device>();
  device->name = std::move(name);
  device->key = key;
  device->picture.reset(MRender::LoadImageFromFile(picture));
  if (device->picture) {
    device->pictureWidth = device->picture->Width();
    device->pictureHeight = device->picture->Height();
  }
  int last = 0;
  {
    std::lock_guard guard(m_listLock);
    m_devices.push_back(std::move(device));
    last = int(m_devices.size()) - 1;
  }
  Redraw();
  return last;
}

void CDeviceList::ClearList() {
  {
    std::lock_guard guard(m_listLock);
    m_online.clear();
    m_devices.clear();
    m_hover = -1;
  }
  Redraw();
}

CDeviceList::Device* CDeviceList::FindDevice(int key) {
  for (auto& d : m_devices) {
    if (d->key == key) return d.get();
  }
  return nullptr;
}

void CDeviceList::SetDeviceState(int key, int which, int value) {
  {
    std::lock_guard guard(m_listLock);
    if (Device* d = FindDevice(key)) {
      if (which == 0) d->state0 = value;
      else if (which == 1) d->state1 = value;
    }
  }
  Redraw();
}

void CDeviceList::SetAllDeviceState(int value) {
  {
    std::lock_guard guard(m_listLock);
    for (auto& d : m_devices) d->state0 = d->state1 = value;
  }
  Redraw();
}

void CDeviceList::SetDeviceBattery(int key, int charging, int level) {
  {
    std::lock_guard guard(m_listLock);
    if (Device* d = FindDevice(key)) {
      d->charging = charging;
      d->battery = level;
    }
  }
  Redraw();
}

void CDeviceList::SetDeviceVersion(int key, int version) {
  {
    std::lock_guard guard(m_listLock);
    if (Device* d = FindDevice(key)) d->version = version;
  }
  Redraw();
}

int CDeviceList::GetDeviceState(int key, int which) {
  std::lock_guard guard(m_listLock);
  const Device* d = FindDevice(key);
  if (d == nullptr) return -1;
  return which == 0 ? d->state0 : d->state1;
}

int CDeviceList::GetItemDeviceType(int index) {
  std::lock_guard guard(m_listLock);
  if (index < 0 || index >= int(m_devices.size())) return -1;
  return m_devices[size_t(index)]->key;
}

int CDeviceList::GetItemCount() {
  std::lock_guard guard(m_listLock);
  return int(m_devices.size());
}

// --- 2. Online list and selection ----------------------------------------------------------------

int CDeviceList::GetOnlineDevCount() {
  std::lock_guard guard(m_listLock);
  m_online.clear();
  for (auto& d : m_devices) {
    if (d->state0 > 0 || d->state1 > 0) m_online.push_back(d.get());
  }
  // A selection past the end would name no device: the list got shorter.
  if (m_select >= int(m_online.size())) m_select = 0;
  if (m_hover >= int(m_online.size())) m_hover = -1;
  return int(m_online.size());
}

void CDeviceList::SetSelectDevice(int key) {
  {
    std::lock_guard guard(m_listLock);
    m_select = m_online.empty() ? -1 : 0;
    for (size_t i = 0; i < m_online.size(); ++i) {
      if (m_online[i]->key == key) {
        m_select = int(i);
        break;
      }
    }
  }
  Redraw();
}

int CDeviceList::GetSelectDevice() {
  std::lock_guard guard(m_listLock);
  if (m_select < 0) m_select = 0;
  if (m_online.empty()) return 0;
  if (m_select >= int(m_online.size())) m_select = 0;
  return m_online[size_t(m_select)]->key;
}

void CDeviceList::SetSelectIndex(int step) {
  {
    std::lock_guard guard(m_listLock);
    const int count = int(m_online.size());
    // With nothing online there is nothing to step through.
    if (count > 0) {
      int next = m_select + step;
      if (next < 0) next = count - 1;
      else if (next >= count) next = 0;
      m_select = next;
    }
  }
  Redraw();
}

void CDeviceList::SetSelectItem(int index) {
  {
    std::lock_guard guard(m_listLock);
    m_select = index;
  }
  Redraw();
}

void CDeviceList::SetVersionDesc(CString caption) {
  m_versionDesc = std::move(caption);
  Redraw();
}

// --- 3. Images --------------------------------------------------------------------------------------

bool CDeviceList::Load(Picture& picture, const wchar_t* file, int count) {
  if (m_manager == nullptr || file == nullptr) return false;
  const ImgResInfo* info = m_manager->AddImgResInfo(file, count);
  if (info == nullptr || !info->image) return false;
  picture.image = info->image.get();
  picture.width = info->frameWidth;
  picture.height = info->height;
  Redraw();
  return true;
}

int CDeviceList::SetBatteryBkg(const wchar_t* file) { return Load(m_batteryBkg, file, 1) ? 1 : 0; }

int CDeviceList::SetBatteryIcon(const wchar_t* fill, const wchar_t* charging) {
  const bool a = Load(m_batteryFill, fill, 1);
  const bool b = Load(m_batteryCharge, charging, 1);
  return a && b ? 1 : 0;
}

int CDeviceList::SetDevModeImage(CString file) { return Load(m_modeImage, file.c_str(), 2) ? 1 : 0; }

// --- 4. Input and messages ---------------------------------------------------------------------------

void CDeviceList::LayoutItems() {
  std::lock_guard guard(m_listLock);
  for (auto& d : m_devices) d->rect.SetRectEmpty();
  if (m_select >= 0 && m_select < int(m_online.size())) m_online[size_t(m_select)]->rect = m_rect;
}

CRect CDeviceList::GetShownRect() {
  LayoutItems();
  std::lock_guard guard(m_listLock);
  if (m_select >= 0 && m_select < int(m_online.size())) return m_online[size_t(m_select)]->rect;
  return CRect();
}

int CDeviceList::OnControlMouseMove(UINT, CPoint pt) {
  LayoutItems();
  int hover = -1;
  {
    std::lock_guard guard(m_listLock);
    for (size_t i = 0; i < m_online.size(); ++i) {
      if (m_online[i]->rect.PtInRect(pt)) hover = int(i);
    }
  }
  if (hover != m_hover) {
    m_hover = hover;
    UpdateControl(0, 0);
  }
  return m_rect.PtInRect(pt) ? 1 : 0;
}

int CDeviceList::OnControlLButtonUp(UINT, CPoint pt) {
  LayoutItems();
  bool hit = false;
  {
    std::lock_guard guard(m_listLock);
    if (m_hover >= 0 && m_hover < int(m_online.size()) && m_online[size_t(m_hover)]->rect.PtInRect(pt)) {
      m_select = m_hover;
      hit = true;
    }
  }
  if (!hit) return 0;
  Redraw();
  SendMessageW(CN_CLICK, 0, 0);
  return 1;
}

LRESULT CDeviceList::OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) {
  if ((id == kScrollVerticalId || id == kScrollHorizontalId) && code == CN_SCROLL) Redraw();
  return MPanel::OnMessage(id, code, wParam, lParam);
}

// --- 5. Drawing ------------------------------------------------------------------------------------------

void CDeviceList::DrawControl(HDC& dc, CRect clip) {
  MPanel::DrawControl(dc, clip);
  // The list draws straight into the target (it has no cache); the flag
  // still tells a redraw request from a painted state.
  m_update = 1;
  LayoutItems();
  std::lock_guard guard(m_listLock);
  if (m_select < 0 || m_select >= int(m_online.size())) return;
  const Device& device = *m_online[size_t(m_select)];
  DrawDevice(dc, device);
  if (m_hover == m_select) {
    MRender::DrawRoundRectange(dc, m_rect.left + 1.0f, m_rect.top + 1.0f, m_rect.Width() - 2.0f,
                               m_rect.Height() - 2.0f, 12.0f, Manager::GetSelectColor(), 1.5f, false, Color(0));
  }
}

void CDeviceList::DrawBattery(HDC dc, const Device& device, int x, int y) {
  if (m_batteryBkg.image != nullptr) {
    MRender::DrawImage(dc, m_batteryBkg.image, CRect(x, y, x + m_batteryBkg.width, y + m_batteryBkg.height), 0, 0,
                       m_batteryBkg.width, m_batteryBkg.height);
  }
  const int level = std::clamp(device.battery, 0, 100);
  if (m_batteryFill.image != nullptr && level > 0) {
    const int fw = m_batteryFill.width * level / 100;
    if (fw > 0) {
      MRender::DrawImage(dc, m_batteryFill.image,
                         CRect(x + kInnerX, y + kInnerY, x + kInnerX + fw, y + kInnerY + m_batteryFill.height), 0, 0,
                         fw, m_batteryFill.height);
    }
  }
  int cx = x + m_batteryBkg.width + 2;
  if (device.charging != 0 && m_batteryCharge.image != nullptr) {
    const int cy = y + (m_batteryBkg.height - m_batteryCharge.height) / 2;
    MRender::DrawImage(dc, m_batteryCharge.image, CRect(cx, cy, cx + m_batteryCharge.width, cy + m_batteryCharge.height),
                       0, 0, m_batteryCharge.width, m_batteryCharge.height);
    cx += m_batteryCharge.width + 2;
  }
  platform::FontSpec font = FontSpecFor();
  font.pixelSize = 13;
  CRect text(cx + 4, y, cx + 48, y + std::max(m_batteryBkg.height, kLineHeight));
  MRender::DrawTextARGB(dc, text, (std::to_wstring(level) + L"%").c_str(), Color(kSecondaryText), &font,
                        DT_LEFT | DT_VCENTER | DT_SINGLELINE);
}

void CDeviceList::DrawDevice(HDC dc, const Device& device) {
  const CRect r = m_rect;
  const bool card = r.Height() >= r.Width();
  // The picture's box and the text column, by layout.
  CRect pictureBox, textBox;
  if (card) {
    pictureBox = CRect(r.left + kMargin, r.top + kMargin, r.right - kMargin,
                       std::max(r.top + kMargin, r.bottom - kMargin - kNameHeight - kLineHeight - kRowHeight - 8));
    textBox = CRect(r.left + kMargin, pictureBox.bottom + 4, r.right - kMargin, r.bottom - kMargin);
  } else {
    const int split = r.left + r.Width() * 45 / 100;
    pictureBox = CRect(r.left + kMargin, r.top + kMargin, split, r.bottom - kMargin);
    const int textHeight = kNameHeight + kLineHeight + kRowHeight + 8;
    const int top = r.top + (r.Height() - textHeight) / 2;
    textBox = CRect(split + kMargin, top, r.right - kMargin, top + textHeight);
  }
  if (device.picture && device.pictureWidth > 0 && device.pictureHeight > 0 && !pictureBox.IsRectEmpty()) {
    const float fit = std::min({kFactor, float(pictureBox.Width()) / device.pictureWidth,
                                float(pictureBox.Height()) / device.pictureHeight});
    const int pw = int(device.pictureWidth * fit), ph = int(device.pictureHeight * fit);
    const int px = pictureBox.left + (pictureBox.Width() - pw) / 2;
    const int py = pictureBox.top + (pictureBox.Height() - ph) / 2;
    MRender::DrawImage(dc, device.picture.get(), CRect(px, py, px + pw, py + ph), 0, 0, device.pictureWidth,
                       device.pictureHeight);
  }
  const UINT align = card ? DT_CENTER : DT_LEFT;
  platform::FontSpec nameFont = FontSpecFor();
  nameFont.pixelSize = 17;
  CRect nameRect(textBox.left, textBox.top, textBox.right, textBox.top + kNameHeight);
  MRender::DrawTextARGB(dc, nameRect, device.name.c_str(), m_textColor, &nameFont,
                        align | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
  platform::FontSpec smallFont = FontSpecFor();
  smallFont.pixelSize = 13;
  CRect versionRect(textBox.left, nameRect.bottom, textBox.right, nameRect.bottom + kLineHeight);
  const CString version = m_versionDesc + L" " + std::to_wstring(device.version);
  MRender::DrawTextARGB(dc, versionRect, version.c_str(), Color(kSecondaryText), &smallFont,
                        align | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
  // The bottom row: connection mode, then the battery when it reports.
  const bool battery = device.battery > 0 || device.charging != 0;
  const int batteryWidth = battery && m_batteryBkg.image != nullptr
                               ? m_batteryBkg.width + 2 + (device.charging ? m_batteryCharge.width + 2 : 0) + 44
                               : 0;
  const int modeWidth = m_modeImage.image != nullptr ? m_modeImage.width + 8 : 0;
  const int rowWidth = modeWidth + batteryWidth;
  int x = card ? textBox.left + (textBox.Width() - rowWidth) / 2 : textBox.left;
  const int rowTop = versionRect.bottom + 6;
  if (m_modeImage.image != nullptr) {
    const int frame = device.state0 > 0 ? 0 : 1;
    const int y = rowTop + (kRowHeight - m_modeImage.height) / 2;
    MRender::DrawImage(dc, m_modeImage.image, CRect(x, y, x + m_modeImage.width, y + m_modeImage.height),
                       frame * m_modeImage.width, 0, m_modeImage.width, m_modeImage.height);
    x += modeWidth;
  }
  if (battery && m_batteryBkg.image != nullptr) {
    DrawBattery(dc, device, x, rowTop + (kRowHeight - m_batteryBkg.height) / 2);
  }
}

}  // namespace DUI
