#include "toolkit/core/PaintManager.h"

#include <chrono>
#include <cwchar>
#include <thread>

#include "platform/Text.h"
#include "platform/Paths.h"
#include "platform/window/Window.h"
#include "toolkit/core/ControlRegistry.h"
#include "toolkit/core/MDialog.h"
#include "toolkit/core/Manager.h"
#include "toolkit/core/TextEditor.h"
#include "toolkit/core/TooltipWnd.h"

namespace DUI {

namespace {

using Guard = std::lock_guard<std::recursive_mutex>;

// The manager's own window timer ids; 66 is stopped as soon as it fires.
constexpr UINT kOwnTimerIds[] = {66, 88, 99};
constexpr UINT kOwnTimer6553 = 6553;

bool IsOwnTimerId(UINT id) {
  for (UINT own : kOwnTimerIds) {
    if (own == id) return true;
  }
  return false;
}

uint32_t Premultiplied(COLORREF colour, BYTE alpha) {
  return platform::Premultiply(platform::ColorRefToArgb(colour, alpha));
}

}  // namespace

PaintManager::PaintManager() = default;

PaintManager::~PaintManager() {
  DestroyData();
  // Ticks must stop before this object goes; CMTimer's destructor is too late.
  CMTimer::KillTimer();
}

// --- 1. Life ------------------------------------------------------------------------------

void PaintManager::Init(HWND hwnd, MWindow* owner) {
  m_hwnd = hwnd;
  m_owner = owner;
  m_thread = std::this_thread::get_id();
  // Private fonts in the program folder, when they are there.
  const auto fontFolder = Manager::GetProgramFolder() / "font";
  const struct {
    const wchar_t* family;
    const char* file;
  } kFonts[] = {{L"Open Sans", "OpenSans-Regular.ttf"}, {L"Open Sans Semibold", "OpenSans-Semibold.ttf"}};
  for (const auto& f : kFonts) {
    const auto path = fontFolder / f.file;
    std::error_code ec;
    if (std::filesystem::exists(path, ec)) AddTempFont(f.family, platform::FromUtf8(path.string()).c_str());
  }
  AddGDITempFont(106, L"TTF");
  m_scrollV = 102;
  m_scrollH = 101;
  m_initialised = 1;
}

void PaintManager::DestroyData() {
  if (m_editor != nullptr) m_editor->Detach();
  m_editor = nullptr;
  m_timersSuspended = 0;
  KillMTimer();
  ClearTimers();
  {
    std::lock_guard guard(m_clientLock);
    m_clients.clear();
  }
  {
    std::lock_guard guard(m_noticeLock);
    m_notices.clear();
    m_tasks.clear();
  }
  if (m_tooltip) m_tooltip->DestroyWindow();
  m_tooltip.reset();
  m_tooltipOwner = 0;
  ClearAllControls();
  m_hover = nullptr;
  m_focus = nullptr;
  m_bkImage.reset();
  ClearImgResInfo();
  ClearTempFont();
  m_backDC.reset();
  m_backBuffer.reset();
  m_initialised = 0;
}

// --- 2. Controls --------------------------------------------------------------------------------

MControl* PaintManager::MakeControl(const wchar_t* className, MObject* parent, UINT id, CRect rect,
                                    const wchar_t* title, int visible, int enabled) {
  return MakeRegisteredControl(FactoryKind::Dialog, className, parent, id, rect, title, visible, enabled);
}

MControl* PaintManager::CreateControl(UINT kind, MObject* parent, const wchar_t* className, UINT id, CRect rect,
                                      const wchar_t* title, int visible, int enabled) {
  MControl* control = MakeControl(className, parent, id, rect, title, visible, enabled);
  return AttachControl(control, kind);
}

MControl* PaintManager::CreateArea(MObject* parent, const wchar_t* className, UINT id, CRect rect,
                                   const wchar_t* title, int visible, int enabled) {
  return CreateControl(0, parent, className, id, rect, title, visible, enabled);
}

MControl* PaintManager::CreateControl(MObject* parent, const wchar_t* className, UINT id, CRect rect,
                                      const wchar_t* title, int visible, int enabled) {
  return CreateControl(1, parent, className, id, rect, title, visible, enabled);
}

MControl* PaintManager::AttachControl(MControl* control, UINT kind) {
  if (control == nullptr) return nullptr;
  control->SetManager(this);
  if (kind == 0) {
    Guard guard(m_areasLock);
    m_areas.push_back(control);
  } else {
    Guard guard(m_controlsLock);
    m_controls.push_back(control);
  }
  return control;
}

MControl* PaintManager::GetControl(UINT id) {
  {
    Guard guard(m_controlsLock);
    for (MControl* c : m_controls) {
      if (c->GetControlID() == id) return c;
      if (MControl* found = c->GetControl(id)) return found;
    }
  }
  Guard guard(m_areasLock);
  for (MControl* c : m_areas) {
    if (c->GetControlID() == id) return c;
    if (MControl* found = c->GetControl(id)) return found;
  }
  return nullptr;
}

int PaintManager::RemoveControl(MControl* control) {
  if (control == nullptr) return 0;
  MControl* victim = nullptr;
  {
    Guard guard(m_controlsLock);
    for (size_t i = 0; i < m_controls.size(); ++i) {
      if (m_controls[i] == control) {
        victim = control;
        m_controls.erase(m_controls.begin() + std::ptrdiff_t(i));
        break;
      }
    }
  }
  if (victim == nullptr) {
    Guard guard(m_areasLock);
    for (size_t i = 0; i < m_areas.size(); ++i) {
      if (m_areas[i] == control) {
        victim = control;
        m_areas.erase(m_areas.begin() + std::ptrdiff_t(i));
        break;
      }
    }
  }
  if (victim == nullptr) return 0;
  Guard guard(m_controlsLock);
  delete victim;
  return 1;
}

void PaintManager::ClearAreaControls() {
  std::vector<MControl*> doomed;
  {
    Guard guard(m_areasLock);
    doomed.swap(m_areas);
  }
  Guard guard(m_controlsLock);
  for (MControl* c : doomed) delete c;
}

void PaintManager::ClearControls() {
  Guard guard(m_controlsLock);
  std::vector<MControl*> doomed;
  doomed.swap(m_controls);
  for (MControl* c : doomed) delete c;
}

void PaintManager::ClearAllControls() {
  ClearAreaControls();
  ClearControls();
}

void PaintManager::ForgetControl(MControl* control) {
  if (m_editor != nullptr && m_editor->GetHost() == control) m_editor->Detach();
  if (m_hover == control) m_hover = nullptr;
  if (m_focus == control) m_focus = nullptr;
  {
    std::lock_guard guard(m_clientLock);
    std::erase(m_clients, control);
  }
  {
    std::lock_guard guard(m_noticeLock);
    for (PendingNotice& n : m_notices) {
      if (n.control == control) n.control = nullptr;
    }
  }
  KillTimer(control);
}

// --- 3. Window state ------------------------------------------------------------------------------

void PaintManager::SetBackColor(COLORREF background, COLORREF border) {
  MRender::CheckAlphaColor(background);
  MRender::CheckAlphaColor(border);
  m_backColor = background;
  m_borderColor = border;
}

int PaintManager::LoadBKImage(CString file) {
  m_bkImage.reset();
  m_bkWidth = m_bkHeight = 0;
  m_bkImage.reset(MRender::LoadSkinImage(file));
  if (!m_bkImage) return 0;
  m_bkWidth = m_bkImage->Width();
  m_bkHeight = m_bkImage->Height();
  return 1;
}

int PaintManager::LoadBKImage(UINT resourceId, CString type) {
  m_bkImage.reset();
  m_bkWidth = m_bkHeight = 0;
  m_bkImage.reset(MRender::LoadImageFromIDResource(resourceId, type, Manager::GetInstance()));
  if (!m_bkImage) return 0;
  m_bkWidth = m_bkImage->Width();
  m_bkHeight = m_bkImage->Height();
  return 1;
}

void PaintManager::SetBackMode(enumBackMode mode, int frame) {
  m_backMode = mode;
  m_backFrame = frame;
}

void PaintManager::SetCapture() {
  if (m_hwnd == nullptr) return;
  platform::SetCapture(m_hwnd);
  m_captured = 1;
}

void PaintManager::ReleaseCapture() {
  if (m_captured) platform::ReleaseCapture();
  m_captured = 0;
}

CRect PaintManager::GetClientRect() const {
  RECT r{};
  if (m_hwnd != nullptr) platform::GetClientRect(m_hwnd, &r);
  return CRect(r);
}

CRect PaintManager::GetWindowRect() const {
  RECT r{};
  if (m_hwnd != nullptr) platform::GetWindowRect(m_hwnd, &r);
  return CRect(r);
}

CSize PaintManager::GetClientSize() const { return GetClientRect().Size(); }

MDialog* PaintManager::GetMDialog() const { return dynamic_cast<MDialog*>(m_owner); }

void PaintManager::SetCursor(HCURSOR cursor) {
  if (cursor != 0) platform::SetCursor(cursor);
}

LRESULT PaintManager::SendMessageW(UINT msg, WPARAM wParam, LPARAM lParam) {
  return m_hwnd != nullptr ? platform::SendMessage(m_hwnd, msg, wParam, lParam) : 0;
}

int PaintManager::PostMessageW(UINT msg, WPARAM wParam, LPARAM lParam) {
  return (m_hwnd != nullptr && platform::PostMessage(m_hwnd, msg, wParam, lParam)) ? 1 : 0;
}

// --- 4. Focus, hover and tooltip --------------------------------------------------------------------

void PaintManager::SetFocusControl(MControl* control) { m_focus = control; }

MControl* PaintManager::GetNextFocusableControl() {
  Guard guard(m_controlsLock);
  auto focusable = [](MControl* c) { return c->IsVisible() && c->IsEnabled() && c->IsTabStop(); };
  size_t start = 0;
  for (size_t i = 0; i < m_controls.size(); ++i) {
    if (m_controls[i] == m_focus) start = i + 1;
  }
  for (size_t i = start; i < m_controls.size(); ++i) {
    if (focusable(m_controls[i])) return m_controls[i];
  }
  for (MControl* c : m_controls) {
    if (focusable(c)) return c;
  }
  return nullptr;
}

MControl* PaintManager::GetPrevFocusableControl() {
  Guard guard(m_controlsLock);
  auto focusable = [](MControl* c) { return c->IsVisible() && c->IsEnabled() && c->IsTabStop(); };
  std::ptrdiff_t start = std::ptrdiff_t(m_controls.size()) - 1;
  for (size_t i = 0; i < m_controls.size(); ++i) {
    if (m_controls[i] == m_focus) start = std::ptrdiff_t(i) - 1;
  }
  for (std::ptrdiff_t i = start; i >= 0; --i) {
    if (focusable(m_controls[size_t(i)])) return m_controls[size_t(i)];
  }
  for (std::ptrdiff_t i = std::ptrdiff_t(m_controls.size()) - 1; i >= 0; --i) {
    if (focusable(m_controls[size_t(i)])) return m_controls[size_t(i)];
  }
  return nullptr;
}

void PaintManager::SetTooltip(const wchar_t* text, CRect) {
  if (text == nullptr || *text == 0) {
    if (m_tooltip) m_tooltip->Hide();
    return;
  }
  if (m_hwnd == nullptr) return;
  if (!m_tooltip) {
    m_tooltip = std::make_unique<TooltipWnd>();
    if (!m_tooltip->CreateTip(m_hwnd)) {
      m_tooltip.reset();
      return;
    }
  }
  POINT cursor{};
  platform::GetCursorPos(&cursor);
  m_tooltip->ShowTip(text, CPoint(cursor));
}

void PaintManager::ClearTooltip() {
  if (m_tooltip) m_tooltip->Hide();
  m_tooltipOwner = 0;
}

CString PaintManager::GetTooltipText() const {
  return (m_tooltip && m_tooltip->IsShown()) ? m_tooltip->GetText() : CString();
}

// --- 5. Timers ----------------------------------------------------------------------------------------

int PaintManager::SetTimer(MControl* control, UINT key, UINT elapse) {
  if (m_hwnd == nullptr || control == nullptr) return 0;
  std::lock_guard guard(m_timerLock);
  for (TimerRecord& r : m_timers) {
    if (r.hwnd == m_hwnd && r.control == control && r.key == key) {
      if (!r.killed) return 0;
      if (!m_timersSuspended && !platform::SetTimer(m_hwnd, r.systemId, elapse)) return 0;
      r.killed = 0;
      r.elapse = elapse;
      return 1;
    }
  }
  // Ids cycle through 0..239. The manager's own ids and ids that another
  // live record still holds are skipped, so two timers never share an id.
  auto inUse = [&](UINT id) {
    for (const TimerRecord& r : m_timers) {
      if (r.systemId == id) return true;
    }
    return IsOwnTimerId(id);
  };
  UINT id = (m_nextTimerId + 1) % 240;
  for (int tries = 0; tries < 240 && inUse(id); ++tries) id = (id + 1) % 240;
  if (inUse(id)) return 0;
  m_nextTimerId = id;
  if (!m_timersSuspended && !platform::SetTimer(m_hwnd, id, elapse)) return 0;
  m_timers.push_back(TimerRecord{m_hwnd, key, id, 0, control, elapse});
  return 1;
}

int PaintManager::KillTimer(MControl* control, UINT key) {
  std::lock_guard guard(m_timerLock);
  for (TimerRecord& r : m_timers) {
    if (r.hwnd == m_hwnd && r.control == control && r.key == key) {
      if (platform::IsWindow(r.hwnd)) platform::KillTimer(r.hwnd, r.systemId);
      r.killed = 1;
      return 1;
    }
  }
  return 0;
}

void PaintManager::KillTimer(MControl* control) {
  std::lock_guard guard(m_timerLock);
  for (auto it = m_timers.begin(); it != m_timers.end();) {
    if (it->control == control) {
      if (platform::IsWindow(it->hwnd)) platform::KillTimer(it->hwnd, it->systemId);
      it = m_timers.erase(it);
    } else {
      ++it;
    }
  }
}

void PaintManager::ClearTimers() {
  std::lock_guard guard(m_timerLock);
  for (const TimerRecord& r : m_timers) {
    if (platform::IsWindow(r.hwnd)) platform::KillTimer(r.hwnd, r.systemId);
  }
  m_timers.clear();
}

UINT PaintManager::GetTimerSystemId(MControl* control, UINT key) {
  std::lock_guard guard(m_timerLock);
  for (const TimerRecord& r : m_timers) {
    if (r.control == control && r.key == key) return r.systemId;
  }
  return 0;
}

void PaintManager::OnTimer(UINT id) {
  if (id == 66) {
    if (m_hwnd != nullptr) platform::KillTimer(m_hwnd, id);
    return;
  }
  if (IsOwnTimerId(id) || id == kOwnTimer6553) return;
  std::vector<MControl*> due;
  {
    std::lock_guard guard(m_timerLock);
    for (const TimerRecord& r : m_timers) {
      if (r.hwnd == m_hwnd && r.systemId == id && !r.killed) due.push_back(r.control);
    }
  }
  for (MControl* c : due) c->OnTimer();
}

UINT PaintManager::SetMTimer(UINT interval) {
  if (m_mtimerId != 0) CMTimer::KillTimer(m_mtimerId);
  m_mtimerId = CMTimer::SetTimer(interval, L"", 0);
  if (m_timersSuspended) PauseTimers();
  return m_mtimerId;
}

void PaintManager::SuspendTimers(int suspend) {
  if ((suspend != 0) == (m_timersSuspended != 0)) return;
  m_timersSuspended = suspend ? 1 : 0;
  {
    std::lock_guard guard(m_timerLock);
    for (const TimerRecord& r : m_timers) {
      if (r.killed || !platform::IsWindow(r.hwnd)) continue;
      if (suspend) platform::KillTimer(r.hwnd, r.systemId);
      else platform::SetTimer(r.hwnd, r.systemId, r.elapse);
    }
  }
  if (suspend) PauseTimers();
  else ResumeTimers();
}

void PaintManager::KillMTimer(UINT id) {
  CMTimer::KillTimer(id);
  if (id == m_mtimerId) m_mtimerId = 0;
}

void PaintManager::KillMTimer() {
  CMTimer::KillTimer();
  m_mtimerId = 0;
}

int PaintManager::AddMTimer(MControl* control) {
  std::lock_guard guard(m_clientLock);
  for (MControl* c : m_clients) {
    if (c == control) return 1;
  }
  m_clients.push_back(control);
  return 1;
}

int PaintManager::DeleteTimer(MControl* control) {
  std::lock_guard guard(m_clientLock);
  const size_t before = m_clients.size();
  std::erase(m_clients, control);
  return before != m_clients.size() ? 1 : 0;
}

bool PaintManager::AnyTimerClientAnimating() {
  std::lock_guard guard(m_clientLock);
  for (MControl* c : m_clients) {
    if (c->IsAnimating()) return true;
  }
  return false;
}

void PaintManager::OnMTimer(UINT id) {
  // The tick runs on the timer thread. It takes the controls lock so that
  // handlers never run beside painting or input, but gives up the tick
  // rather than wait long for it.
  // (Polled with try_lock: a timed lock is invisible to the thread checker.)
  std::unique_lock controls(m_controlsLock, std::try_to_lock);
  for (int i = 0; i < 10 && !controls.owns_lock(); ++i) {
    std::this_thread::sleep_for(std::chrono::microseconds(500));
    controls.try_lock();
  }
  if (!controls.owns_lock()) return;
  if (!m_initialised.load()) return;
  std::lock_guard clients(m_clientLock);
  for (MControl* c : m_clients) {
    if (c->IsRunTimer() && c->IsVisible() && c->IsParentVisible()) c->OnTimer();
  }
  (void)id;
}

bool PaintManager::IsWindowThread() const { return std::this_thread::get_id() == m_thread; }

int PaintManager::NotifyParent(MControl* control, UINT code, WPARAM wParam, LPARAM lParam) {
  if (control == nullptr) return 0;
  if (IsWindowThread()) {
    DeliverPendingNotices();
    control->SendMessageW(code, wParam, lParam);
    return 1;
  }
  if (!m_initialised.load() || m_hwnd == nullptr) return 0;
  {
    std::lock_guard guard(m_noticeLock);
    m_notices.push_back({control, code, wParam, lParam});
  }
  // One wake-up per notice; a wake-up that finds the queue already drained
  // by an earlier one does nothing.
  PostMessageW(WM_QELTNOTIFY, 0, 0);
  return 1;
}

int PaintManager::DeliverPendingNotices() {
  int delivered = 0;
  for (;;) {
    PendingNotice notice;
    {
      std::lock_guard guard(m_noticeLock);
      if (m_notices.empty()) break;
      notice = m_notices.front();
      m_notices.pop_front();
    }
    // Controls are destroyed on this thread only, so a control still named
    // here is alive for the whole call; a handler that destroys another
    // control clears that control's later notices before they are popped.
    if (notice.control == nullptr) continue;
    notice.control->SendMessageW(notice.code, notice.wParam, notice.lParam);
    ++delivered;
  }
  return delivered;
}

int PaintManager::RunPendingTasks() {
  // One at a time with the lock released, so a task may queue another.
  int ran = 0;
  for (;;) {
    std::function<void()> task;
    {
      std::lock_guard guard(m_noticeLock);
      if (m_tasks.empty()) break;
      task = std::move(m_tasks.front());
      m_tasks.pop_front();
    }
    task();
    ++ran;
  }
  return ran;
}

int PaintManager::PostTask(std::function<void()> task) {
  if (!task || !m_initialised.load() || m_hwnd == nullptr) return 0;
  {
    std::lock_guard guard(m_noticeLock);
    m_tasks.push_back(std::move(task));
  }
  PostMessageW(WM_QELTNOTIFY, 0, 0);
  return 1;
}

int PaintManager::GetPendingNoticeCount() {
  std::lock_guard guard(m_noticeLock);
  return int(m_notices.size());
}

// --- 6. Images and fonts ----------------------------------------------------------------------------------

const ImgResInfo* PaintManager::AddImgResInfo(const wchar_t* file, int count) {
  if (file == nullptr || count <= 0) return nullptr;
  std::lock_guard guard(m_imageLock);
  auto it = m_imagesByFile.find(file);
  if (it != m_imagesByFile.end()) return it->second.get();
  std::unique_ptr<Image> image(MRender::LoadSkinImage(file));
  if (!image) return nullptr;
  auto info = std::make_unique<ImgResInfo>();
  info->frameWidth = image->Width() / count;
  info->height = image->Height();
  info->count = count;
  info->file = file;
  info->image = std::move(image);
  const ImgResInfo* result = info.get();
  m_imagesByFile.emplace(file, std::move(info));
  return result;
}

const ImgResInfo* PaintManager::AddImgResInfo(UINT id, CString type, int count, int fromProgram) {
  if (count <= 0) return nullptr;
  std::lock_guard guard(m_imageLock);
  auto& map = fromProgram ? m_imagesByProgramRes : m_imagesByToolkitRes;
  auto key = std::make_pair(id, type);
  auto it = map.find(key);
  if (it != map.end()) return it->second.get();
  std::unique_ptr<Image> image(
      MRender::LoadImageFromIDResource(id, type, fromProgram ? Manager::GetInstance() : nullptr));
  if (!image) return nullptr;
  auto info = std::make_unique<ImgResInfo>();
  info->frameWidth = image->Width() / count;
  info->height = image->Height();
  info->count = count;
  info->resourceId = id;
  info->resourceType = type;
  info->image = std::move(image);
  const ImgResInfo* result = info.get();
  map.emplace(key, std::move(info));
  return result;
}

void PaintManager::ClearImgResInfo() {
  std::lock_guard guard(m_imageLock);
  m_imagesByFile.clear();
  m_imagesByProgramRes.clear();
  m_imagesByToolkitRes.clear();
}

FontFamily* PaintManager::AddTempFont(const wchar_t* name, const wchar_t* file) {
  if (name == nullptr || file == nullptr) return nullptr;
  const CString family = platform::AddApplicationFont(platform::ToUtf8(file));
  if (family.empty()) return nullptr;
  std::lock_guard guard(m_fontLock);
  auto& slot = m_fonts[name];
  slot = std::make_unique<FontFamily>(family);
  return slot.get();
}

FontFamily* PaintManager::AddTempFont(const wchar_t* name, UINT resourceId) {
  const CString path = MRender::GetResourcePath(resourceId, L"ttf");
  std::error_code ec;
  if (!std::filesystem::exists(platform::ToUtf8(path), ec)) return nullptr;
  return AddTempFont(name, path.c_str());
}

int PaintManager::AddGDITempFont(UINT resourceId, CString type) {
  // Fonts registered with the text engine serve both text paths, so this is
  // the same registration as AddTempFont; nothing is released per window.
  const CString path = MRender::GetResourcePath(resourceId, type);
  std::error_code ec;
  if (!std::filesystem::exists(platform::ToUtf8(path), ec)) return 0;
  return platform::AddApplicationFont(platform::ToUtf8(path)).empty() ? 0 : 1;
}

FontFamily* PaintManager::FindTempFont(const wchar_t* name) {
  if (name == nullptr) return nullptr;
  std::lock_guard guard(m_fontLock);
  auto it = m_fonts.find(name);
  if (it != m_fonts.end()) return it->second.get();
  if (!platform::FontFamilyExists(name)) return nullptr;
  auto& slot = m_fonts[name];
  slot = std::make_unique<FontFamily>(name);
  return slot.get();
}

void PaintManager::ClearTempFont() {
  std::lock_guard guard(m_fontLock);
  m_fonts.clear();
}

// --- 7. Messages and painting ------------------------------------------------------------------------------

UINT PaintManager::GetModifierCode() {
  UINT code = 0;
  if (platform::GetKeyState(VK_MENU) < 0) code |= 18;
  if (platform::GetKeyState(VK_CONTROL) < 0) code |= 17;
  if (platform::GetKeyState(VK_SHIFT) < 0) code |= 16;
  return code;
}

LRESULT PaintManager::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_PAINT:
      OnPaint();
      return 1;
    case WM_NCDESTROY:
      DestroyData();
      return 1;
    case WM_SHOWWINDOW:
      SuspendTimers(wParam == 0 ? 1 : 0);
      break;
    default:
      break;
  }
  // An open editor takes the keys, characters and its own presses before
  // any control, and closes on a press elsewhere or when the window goes.
  if (m_editor != nullptr && m_editor->OnWindowMessage(msg, wParam, lParam)) return 1;
  Guard guard(m_controlsLock);
  if (msg == WM_QELTNOTIFY) {
    // Under the controls lock, as input is: a handler never runs beside a
    // multimedia tick. Posted tasks run here only, never inside a handler
    // that happens to deliver the notices.
    DeliverPendingNotices();
    RunPendingTasks();
    return 1;
  }
  for (size_t i = 0; i < m_controls.size(); ++i) {
    if (m_controls[i]->OnWindowMessage(msg, wParam, lParam)) return 0;
  }
  const CPoint pt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
  const UINT flags = UINT(wParam);
  switch (msg) {
    case WM_GETMINMAXINFO:
      return OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
    case WM_NCACTIVATE:
      return OnNcActivate(int(wParam));
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      return OnKeyDown(UINT(wParam), lParam);
    case WM_KEYUP:
    case WM_SYSKEYUP:
      return 0;
    case WM_MOUSEMOVE:
      return OnMouseMove(flags, pt);
    case WM_MOUSELEAVE:
      return OnMouseLeave();
    case WM_LBUTTONDOWN:
      return OnLButtonDown(flags, pt);
    case WM_LBUTTONUP:
      return OnLButtonUp(flags, pt);
    case WM_LBUTTONDBLCLK:
      return OnLButtonDblClk(flags, pt);
    case WM_RBUTTONDOWN:
      return OnRButtonDown(flags, pt);
    case WM_RBUTTONUP:
      return OnRButtonUp(flags, pt);
    case WM_MOUSEWHEEL:
      return OnMouseWheel(GET_KEYSTATE_WPARAM(wParam), GET_WHEEL_DELTA_WPARAM(wParam), pt);
    case WM_TIMER:
      OnTimer(UINT(wParam));
      return 0;
    case WM_CREATE:
    case WM_DESTROY:
    case WM_SIZE:
    case WM_CHAR:
    case WM_RBUTTONDBLCLK:
    case WM_MOUSEHOVER:
      return 1;
    case WM_COMMAND:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      // Reflected to the child window that sent it (in-place editors).
      if (lParam != 0 && platform::IsWindow(reinterpret_cast<HWND>(lParam))) {
        return platform::SendMessage(reinterpret_cast<HWND>(lParam), msg + 0x2000, wParam, lParam);
      }
      return 0;
    default:
      return 0;
  }
}

int PaintManager::PreTranslateMessage(MSG* msg) {
  if (msg == nullptr) return 0;
  if ((msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN) && msg->wParam == VK_TAB) {
    const UINT mods = GetModifierCode();
    MControl* next = nullptr;
    if (mods == 0) next = GetNextFocusableControl();
    else if (mods == 16) next = GetPrevFocusableControl();
    if (next != nullptr && next != m_focus) {
      if (m_editor != nullptr) m_editor->Close();
      Guard guard(m_controlsLock);
      if (m_focus != nullptr) m_focus->SetControlFocus(0);
      next->SetControlFocus(1);
      m_focus = next;
      return 1;
    }
  }
  return 0;
}

LRESULT PaintManager::OnControlUpdate(CRect rect, int redraw, MControl* control) {
  if (redraw == 1 && control != nullptr) control->SetUpdate(0);
  // A page or panel hidden around an open editor closes it. Requests from
  // the multimedia timer's thread leave that to the window's thread.
  if (std::this_thread::get_id() == m_thread && m_editor != nullptr) m_editor->CheckHostShowing();
  if (!m_initialised.load()) return 0;
  CRect region = rect;
  bool met = false;
  // Later siblings that overlap cached a picture of what lay beneath them,
  // which is about to change.
  auto walk = [&](std::vector<MControl*>& v) {
    for (MControl* c : v) {
      if (c == control) {
        met = true;
      } else if (met && c->IsVisible() && c->GetRect().Intersects(rect)) {
        c->SetUpdate(0);
        region = region | c->GetRect();
      }
    }
  };
  {
    Guard guard(m_areasLock);
    walk(m_areas);
  }
  {
    Guard guard(m_controlsLock);
    walk(m_controls);
  }
  if (m_layered.load()) Invalidate();
  else InvalidateRect(region, 0);
  return 0;
}

void PaintManager::Invalidate() {
  if (m_hwnd != nullptr) platform::InvalidateRect(m_hwnd, nullptr);
}

void PaintManager::InvalidateRect(CRect rect, int) {
  if (m_hwnd == nullptr) return;
  if (m_layered.load()) {
    platform::InvalidateRect(m_hwnd, nullptr);
    return;
  }
  platform::InvalidateRect(m_hwnd, &rect);
}

int PaintManager::OnMouseMove(UINT flags, CPoint pt) {
  if (!m_tracking && m_hwnd != nullptr) {
    TRACKMOUSEEVENT tme;
    tme.dwFlags = TME_HOVER | TME_LEAVE;
    tme.hwndTrack = m_hwnd;
    tme.dwHoverTime = 400;
    m_tracking = platform::TrackMouseEvent(&tme) ? 1 : 0;
  }
  // A control hidden since the last move (the page a tab switch left) no
  // longer holds the pointer, even where its rectangle still lies.
  if (m_hover != nullptr && m_hover->IsVisible() && m_hover->PtInRect(pt) && m_hover->OnCheckMouseResponse(flags, pt) &&
      m_tracking) {
    m_hover->OnMouseMove(flags, pt);
    return 1;
  }
  ClearTooltip();
  if (m_pressInProgress) return 1;
  if (!m_tracking) {
    m_hover = nullptr;
    return 1;
  }
  MControl* hover = nullptr;
  for (size_t i = 0; i < m_controls.size(); ++i) {
    MControl* c = m_controls[i];
    c->OnMouseMove(flags, pt);
    if (c->IsVisible() && c->GetRresponse() && c->PtInRect(pt)) hover = c;
  }
  m_hover = hover;
  return 1;
}

int PaintManager::OnMouseLeave() {
  ClearTooltip();
  m_tracking = 0;
  if (!m_pressInProgress && m_hover != nullptr) {
    m_hover->OnMouseMove(0, CPoint(-1, -1));
    m_hover = nullptr;
  }
  return 1;
}

bool PaintManager::PressHover(UINT flags, CPoint pt, bool right) {
  // A press can arrive without a move before it (the window was just
  // activated, which forgets the hover control): find the control under the
  // point as a move would.
  if (m_hover == nullptr || !m_hover->IsVisible() || !m_hover->PtInRect(pt)) OnMouseMove(flags, pt);
  if (m_focus != m_hover) {
    if (m_focus != nullptr) m_focus->SetControlFocus(0);
    m_focus = nullptr;
  }
  if (m_hover == nullptr || !m_hover->IsVisible() || !m_hover->GetRresponse() || !m_hover->PtInRect(pt) ||
      !m_hover->OnCheckMouseResponse(flags, pt)) {
    return false;
  }
  (right ? m_rightPress : m_pressInProgress) = 1;
  m_focus = m_hover;
  MControl* pressed = m_hover;
  const int handled = right ? pressed->OnRButtonDown(flags, pt) : pressed->OnLButtonDown(flags, pt);
  if (!m_captured && m_hover == pressed && pressed->OnCheckMouseResponse(flags, pt)) {
    SetCapture();
    return true;
  }
  return handled != 0;
}

int PaintManager::OnLButtonDown(UINT flags, CPoint pt) {
  m_dblClkSeen = 0;
  if (PressHover(flags, pt, false)) return 1;
  // Free space in the caption moves the window.
  if (m_wndDrag && m_captionRect.PtInRect(pt) && m_hwnd != nullptr) {
    ReleaseCapture();
    platform::SendMessage(m_hwnd, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(pt.x, pt.y));
  }
  return 1;
}

int PaintManager::OnLButtonUp(UINT flags, CPoint pt) {
  ReleaseCapture();
  m_pressInProgress = 0;
  if (m_hover != nullptr && m_hover->IsVisible() && m_hover->GetRresponse()) {
    MControl* pressed = m_hover;
    // Also outside: that is how a control learns that its press ended there.
    pressed->OnLButtonUp(flags, pt);
    if (m_hover == pressed && !pressed->PtInRect(pt)) m_hover = nullptr;
  } else {
    m_hover = nullptr;
  }
  return 1;
}

int PaintManager::OnLButtonDblClk(UINT flags, CPoint pt) {
  m_dblClkSeen = 1;
  if (m_hover != nullptr && m_hover->IsVisible() && m_hover->GetRresponse()) {
    MControl* hover = m_hover;
    hover->OnLButtonDblClk(flags, pt);
    if (m_hover == hover && !hover->PtInRect(pt)) m_hover = nullptr;
  }
  return 1;
}

int PaintManager::OnRButtonDown(UINT flags, CPoint pt) {
  PressHover(flags, pt, true);
  return 1;
}

int PaintManager::OnRButtonUp(UINT flags, CPoint pt) {
  ReleaseCapture();
  m_rightPress = 0;
  if (m_hover != nullptr && m_hover->IsVisible() && m_hover->GetRresponse()) {
    MControl* pressed = m_hover;
    pressed->OnRButtonUp(flags, pt);
    if (m_hover == pressed && !pressed->PtInRect(pt)) m_hover = nullptr;
  } else {
    m_hover = nullptr;
  }
  return 1;
}

int PaintManager::OnMouseWheel(UINT, int delta, CPoint screenPt) {
  POINT p = screenPt;
  if (m_hwnd != nullptr) platform::ScreenToClient(m_hwnd, &p);
  const CPoint pt(p);
  const int notches = std::abs(delta / 120);
  const UINT down = (delta / 120 <= 0) ? 1 : 0;
  int handled = 0;
  for (int n = 0; n < notches; ++n) {
    if (m_hover != nullptr && m_hover->OnScroll(1, down, pt)) {
      handled = 1;
      continue;
    }
    for (size_t i = 0; i < m_controls.size(); ++i) {
      if (m_controls[i] != m_hover && m_controls[i]->OnScroll(1, down, pt)) {
        handled = 1;
        break;
      }
    }
  }
  return handled;
}

int PaintManager::OnNcActivate(int active) {
  m_active = active;
  if (!active) {
    m_tracking = 0;
    ReleaseCapture();
    m_dblClkSeen = 0;
    if (m_hover != nullptr) {
      if (m_pressInProgress) {
        m_pressInProgress = 0;
        m_hover->OnLButtonUp(0, CPoint(-1, -1));
      } else {
        m_hover->OnMouseMove(0, CPoint(-1, -1));
      }
    }
    m_pressInProgress = 0;
    m_hover = nullptr;
  }
  Invalidate();
  return 1;
}

int PaintManager::OnKeyDown(UINT vk, LPARAM) {
  const UINT mods = GetModifierCode();
  if (m_hover != nullptr && m_hover->OnKeyDown(vk, 1, mods)) return 1;
  // The hover control has had its turn; it does not get the key twice.
  for (size_t i = 0; i < m_controls.size(); ++i) {
    if (m_controls[i] != m_hover && m_controls[i]->OnKeyDown(vk, 1, mods)) break;
  }
  return 1;
}

int PaintManager::OnGetMinMaxInfo(MINMAXINFO* info) {
  if (info == nullptr) return 0;
  if (m_minSize.cx > 0) info->ptMinTrackSize.x = m_minSize.cx;
  if (m_minSize.cy > 0) info->ptMinTrackSize.y = m_minSize.cy;
  if (m_maxSize.cx > 0) info->ptMaxTrackSize.x = info->ptMaxSize.x = m_maxSize.cx;
  if (m_maxSize.cy > 0) info->ptMaxTrackSize.y = info->ptMaxSize.y = m_maxSize.cy;
  // A maximised window fills the work area of its monitor, never the panel.
  RECT work{0, 0, 1280, 720};
  platform::MonitorInfo mi;
  const int monitor = m_hwnd != nullptr ? platform::MonitorFromWindow(m_hwnd) : -1;
  if (monitor >= 0 && platform::GetMonitorInfo(monitor, &mi)) work = mi.workArea;
  else if (!platform::GetWorkArea(&work)) work = RECT{0, 0, 1280, 720};
  info->ptMaxSize.x = work.right - work.left;
  info->ptMaxSize.y = work.bottom - work.top;
  info->ptMaxPosition.x = work.left;
  info->ptMaxPosition.y = work.top;
  return 1;
}

void PaintManager::DrawBackImage(HDC dc, CRect client) {
  if (!m_bkImage) return;
  if (m_backMode == BackModeFrame) {
    MRender::DrawImageFrame(dc, m_bkImage.get(), client, 0, 0, m_bkWidth, m_bkHeight, m_backFrame);
  } else {
    MRender::DrawImage(dc, m_bkImage.get(), CRect(0, 0, m_bkWidth, m_bkHeight), 0, 0, m_bkWidth, m_bkHeight);
  }
}

void PaintManager::DrawControl(HDC dc, CRect clip) {
  {
    Guard guard(m_areasLock);
    for (size_t i = 0; i < m_areas.size(); ++i) m_areas[i]->Draw(dc, clip);
  }
  Guard guard(m_controlsLock);
  for (size_t i = 0; i < m_controls.size(); ++i) m_controls[i]->Draw(dc, clip);
}

void PaintManager::PaintInto(CRect area) {
  const CRect client = GetClientRect();
  if (client.IsRectEmpty()) return;
  // The back buffer is kept between paints and replaced on a size change.
  if (!m_backBuffer || m_backBuffer->Width() != client.Width() || m_backBuffer->Height() != client.Height()) {
    m_backDC.reset();
    m_backBuffer = std::make_unique<platform::Bitmap>(client.Width(), client.Height());
    m_backDC = std::make_unique<MDC>(*m_backBuffer);
    area = client;
  }
  const bool layered = m_layered.load() != 0;
  if (layered) area = client;
  HDC dc = m_backDC.get();
  platform::Bitmap& bmp = *m_backBuffer;
  if (layered) bmp.FillRaw(area, 0);
  if (m_bkImage) {
    // Clipped to the area: the rest of the kept buffer already holds the
    // controls of earlier paints.
    if (!layered) bmp.FillRaw(area, 0);
    dc->Canvas().Save();
    dc->Canvas().ClipRect(RECT(area));
    DrawBackImage(dc, client);
    dc->Canvas().Restore();
  } else {
    // Alpha 254: the background is opaque to the eye but told apart from
    // pixels drawn by controls.
    bmp.FillRaw(area & client, Premultiplied(m_borderColor, 254));
    CRect inner = client;
    inner.DeflateRect(1, 1);
    bmp.FillRaw(area & inner, Premultiplied(m_backColor, 254));
  }
  DrawControl(dc, layered ? client : area);
  if (layered) {
    // Pixels written without alpha (plain fills) are made opaque unless black.
    for (int y = area.top; y < area.bottom; ++y) {
      uint32_t* row = bmp.Row(y);
      for (int x = area.left; x < area.right; ++x) {
        if ((row[x] >> 24) == 0 && (row[x] & 0x00FFFFFF) != 0) row[x] |= 0xFF000000;
      }
    }
  }
}

void PaintManager::OnPaint() {
  if (m_hwnd == nullptr) return;
  const RECT update = platform::BeginPaint(m_hwnd);
  CRect area(update);
  if (platform::IsIconic(m_hwnd) || area.IsRectEmpty() || !m_initialised.load()) {
    platform::EndPaint(m_hwnd);
    return;
  }
  PaintInto(area);
  const bool layered = m_layered.load() != 0;
  if (layered) {
    // Per-pixel alpha where the display can blend windows; elsewhere the
    // platform shows the same pixels over opaque black (an opaque window).
    platform::SetWindowExStyle(m_hwnd, platform::GetWindowExStyle(m_hwnd) | WS_EX_LAYERED);
    platform::UpdateLayeredWindow(m_hwnd, *m_backBuffer);
  } else {
    platform::PresentBitmap(m_hwnd, *m_backBuffer, area & GetClientRect());
  }
  platform::EndPaint(m_hwnd);
  const int pause = Manager::GetPaintPause();
  if (pause > 0) std::this_thread::sleep_for(std::chrono::milliseconds(pause));
}

}  // namespace DUI
