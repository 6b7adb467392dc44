#pragma once
// PaintManager: the per-window engine of a dialog. It owns the window's
// top-level controls, routes mouse and keyboard messages to them with the
// hover, press, capture and focus state, turns redraw requests into
// invalidation, paints through an off-screen buffer, runs window timers and
// the multimedia timer of animated controls, keeps the image cache and the
// private fonts, and shows the tooltip.
//
// Index
//   1. Life: Init, DestroyData
//   2. Controls: factory, lookup, removal
//   3. Window state: colours, sizes, caption, capture, layered
//   4. Focus, hover and tooltip
//   5. Timers
//   6. Images and fonts
//   7. Messages and painting
//   8. Fields
//
// Locking. The top-level controls lock is held while a message is routed,
// while the window paints and while a multimedia tick runs, so a control's
// timer handler never runs beside its paint or its input handling. The
// tick only waits a few milliseconds for it and skips a tick it cannot get,
// so stopping a timer from a locked handler cannot deadlock.

#include <atomic>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/draw/Bitmap.h"
#include "toolkit/core/CMTimer.h"
#include "toolkit/core/FontFamily.h"
#include "toolkit/core/ImgResInfo.h"
#include "toolkit/core/MControl.h"

namespace DUI {

class MWindow;
class MDialog;
class TooltipWnd;
class TextEditor;

enum enumBackMode { BackModeNormal = 0, BackModeFrame = 1 };

// The private message that wakes the window thread to deliver notifications
// queued from other threads (PaintManager::NotifyParent).
constexpr UINT WM_QELTNOTIFY = WM_APP + 0x0513;

class PaintManager : public CMTimer {
 public:
  PaintManager();
  ~PaintManager() override;

  // --- 1. Life ---------------------------------------------------------------------
  void Init(HWND hwnd, MWindow* owner);
  void DestroyData();
  int IsInitialised() const { return m_initialised.load(); }

  // --- 2. Controls -------------------------------------------------------------------
  // Creates a control by class name (exact); null for a name the toolkit does
  // not build. kind 0 appends it to areas, 1 to controls.
  MControl* CreateControl(UINT kind, MObject* parent, const wchar_t* className, UINT id, CRect rect,
                          const wchar_t* title, int visible, int enabled);
  MControl* CreateArea(MObject* parent, const wchar_t* className, UINT id, CRect rect, const wchar_t* title,
                       int visible, int enabled);
  MControl* CreateControl(MObject* parent, const wchar_t* className, UINT id, CRect rect, const wchar_t* title,
                          int visible, int enabled);
  // Attaches a control built elsewhere (a program's own control class) as
  // the factory does: manager set, InitControl, appended and owned.
  MControl* AttachControl(MControl* control, UINT kind);
  MControl* GetControl(UINT id);
  int RemoveControl(MControl* control);
  void ClearAllControls();
  void ClearAreaControls();
  void ClearControls();
  std::vector<MControl*>* GetControls() { return &m_controls; }
  std::vector<MControl*>* GetAreas() { return &m_areas; }
  std::recursive_mutex& ControlsLock() { return m_controlsLock; }
  std::recursive_mutex& AreasLock() { return m_areasLock; }
  // Forgets every plain pointer to a control that is being destroyed.
  void ForgetControl(MControl* control);

  // --- 3. Window state -----------------------------------------------------------------
  // Background and border colours (COLORREF) used without a background
  // image; pure black is kept as 0x000001 so it stays opaque.
  void SetBackColor(COLORREF background, COLORREF border);
  COLORREF GetBackColor() const { return m_backColor; }
  COLORREF GetBorderColor() const { return m_borderColor; }
  int LoadBKImage(CString file);
  int LoadBKImage(UINT resourceId, CString type);
  void SetBackMode(enumBackMode mode, int frame);
  void SetCaptionRect(CRect rect) { m_captionRect = rect; }
  CRect GetCaptionRect() const { return m_captionRect; }
  void SetWindowMaxSize(int w, int h) { m_maxSize = CSize(w, h); }
  void GetWindowManSize(int& w, int& h) const { w = m_maxSize.cx; h = m_maxSize.cy; }
  void SetWindowMixSize(int w, int h) { m_minSize = CSize(w, h); }
  void GetWindowMinSize(int& w, int& h) const { w = m_minSize.cx; h = m_minSize.cy; }
  void SetLayeredWindow(int layered) { m_layered = layered; }
  int IsLayered() const { return m_layered.load(); }
  void EnableWndDrag(int enable) { m_wndDrag = enable; }
  void SetCapture();
  void ReleaseCapture();
  int IsCaptured() const { return m_captured; }
  HWND GetPaintWnd() const { return m_hwnd; }
  HDC GetPaintDC() { return m_backDC.get(); }
  CRect GetClientRect() const;
  CRect GetWindowRect() const;
  CSize GetClientSize() const;
  void SetDefaultEnabledColor(COLORREF c) { m_disabledColor = c; }
  COLORREF GetDefaultEnabledColor() const { return m_disabledColor; }
  void SetScrollResID(UINT vertical, UINT horizontal) { m_scrollV = vertical; m_scrollH = horizontal; }
  UINT GetScrollVID() const { return m_scrollV; }
  UINT GetScrollHID() const { return m_scrollH; }
  MWindow* GetOwner() const { return m_owner; }
  MDialog* GetMDialog() const;
  int IsWindowActive() const { return m_active; }
  void SetCursor(HCURSOR cursor);
  LRESULT SendMessageW(UINT msg, WPARAM wParam, LPARAM lParam);
  int PostMessageW(UINT msg, WPARAM wParam, LPARAM lParam);

  // --- 4. Focus, hover and tooltip ------------------------------------------------------
  void SetFocusControl(MControl* control);
  MControl* GetFocusControl() const { return m_focus; }
  MControl* GetHoverControl() const { return m_hover; }
  MControl* GetNextFocusableControl();
  MControl* GetPrevFocusableControl();
  int IsPressInProgress() const { return m_pressInProgress; }
  void SetTooltip(const wchar_t* text, CRect rect);
  void ClearTooltip();
  UINT GetTooltipOwner() const { return m_tooltipOwner; }
  void SetTooltipOwner(UINT id) { m_tooltipOwner = id; }
  TooltipWnd* GetToolTipWnd() const { return m_tooltip.get(); }
  CString GetTooltipText() const;
  // The text editor open in this window, which sees every message first
  // (TextEditor.h); null when none is open.
  void SetOpenEditor(TextEditor* editor) { m_editor = editor; }
  TextEditor* GetOpenEditor() const { return m_editor; }

  // --- 5. Timers -------------------------------------------------------------------------
  // Window timers of controls; system ids are drawn from a counter that
  // starts at 4096, so the first is 17, and wraps within 0..239.
  int SetTimer(MControl* control, UINT key, UINT elapse);
  int KillTimer(MControl* control, UINT key);
  void KillTimer(MControl* control);
  void ClearTimers();
  // The system id of a control's timer, 0 when none (tests and diagnostics).
  UINT GetTimerSystemId(MControl* control, UINT key);
  // While the window is hidden its control timers and multimedia timer are
  // stopped (they keep their records and periods) and start again when it
  // is shown, so a hidden window costs no wake-ups.
  void SuspendTimers(int suspend);
  int AreTimersSuspended() const { return m_timersSuspended; }
  UINT SetMTimer(UINT interval);
  void KillMTimer(UINT id);
  void KillMTimer();
  int AddMTimer(MControl* control);
  int DeleteTimer(MControl* control);
  // Whether any control registered with AddMTimer animates now: a window
  // runs its multimedia timer only while one does.
  bool AnyTimerClientAnimating();
  void OnMTimer(UINT id) override;
  void OnTimer(UINT id);

  // Notifications from other threads. A control's parent is only ever
  // called on the window thread: there NotifyParent sends at once (after
  // any notices still queued, so their order holds); from another thread
  // (a step of the multimedia timer) it queues the notice and wakes the
  // window with WM_QELTNOTIFY. A queued notice of a control destroyed
  // before delivery is dropped. Returns 1 when sent or queued.
  int NotifyParent(MControl* control, UINT code, WPARAM wParam, LPARAM lParam);
  // Delivers the queued notices in order (window thread); returns how many.
  int DeliverPendingNotices();
  int GetPendingNoticeCount();
  bool IsWindowThread() const;
  // Runs task on the window thread, after the notices queued before it, and
  // returns at once (1 when queued, 0 when the window is not up). A task
  // still queued when the window goes is dropped unrun.
  int PostTask(std::function<void()> task);

  // --- 6. Images and fonts -----------------------------------------------------------------
  const ImgResInfo* AddImgResInfo(const wchar_t* file, int count);
  const ImgResInfo* AddImgResInfo(UINT id, CString type, int count, int fromProgram = 1);
  void ClearImgResInfo();
  FontFamily* AddTempFont(const wchar_t* name, const wchar_t* file);
  FontFamily* AddTempFont(const wchar_t* name, UINT resourceId);
  int AddGDITempFont(UINT resourceId, CString type);
  FontFamily* FindTempFont(const wchar_t* name);
  void ClearTempFont();

  // --- 7. Messages and painting --------------------------------------------------------------
  LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  int PreTranslateMessage(MSG* msg);
  LRESULT OnControlUpdate(CRect rect, int redraw, MControl* control);
  void Invalidate();
  void InvalidateRect(CRect rect, int erase);
  // The modifier code of the keys held now: Alt 18, Ctrl 17, Shift 16, OR-ed.
  static UINT GetModifierCode();

  int OnMouseMove(UINT flags, CPoint pt);
  int OnMouseLeave();
  int OnLButtonDown(UINT flags, CPoint pt);
  int OnLButtonUp(UINT flags, CPoint pt);
  int OnLButtonDblClk(UINT flags, CPoint pt);
  int OnRButtonDown(UINT flags, CPoint pt);
  int OnRButtonUp(UINT flags, CPoint pt);
  int OnMouseWheel(UINT flags, int delta, CPoint screenPt);
  int OnNcActivate(int active);
  int OnKeyDown(UINT vk, LPARAM lParam);
  int OnGetMinMaxInfo(MINMAXINFO* info);
  void OnPaint();
  // Paints the rectangle into the back buffer as a paint cycle does (steps
  // 2 to 5), without presenting. The benchmark measures this.
  void PaintInto(CRect area);

 private:
  // The shared part of a press: the hover control under the point, focus,
  // the press itself and capture. True when a control took the press.
  bool PressHover(UINT flags, CPoint pt, bool right);
  void DrawBackImage(HDC dc, CRect client);
  void DrawControl(HDC dc, CRect clip);
  MControl* MakeControl(const wchar_t* className, MObject* parent, UINT id, CRect rect, const wchar_t* title,
                        int visible, int enabled);

  // Runs the posted tasks in order (window thread, WM_QELTNOTIFY only).
  int RunPendingTasks();

  struct PendingNotice {
    MControl* control = nullptr;  // null once the control is destroyed
    UINT code = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
  };

  struct TimerRecord {
    HWND hwnd = nullptr;
    UINT key = 0;
    UINT systemId = 0;
    int killed = 0;
    MControl* control = nullptr;
    UINT elapse = 0;
  };

  // --- 8. Fields ---------------------------------------------------------------------------------
  MWindow* m_owner = nullptr;
  std::atomic<int> m_initialised{0};
  HWND m_hwnd = nullptr;
  std::unique_ptr<platform::Bitmap> m_backBuffer;
  std::unique_ptr<MDC> m_backDC;
  COLORREF m_backColor = 0x0C0B0A;
  COLORREF m_borderColor = 0x1950FF;
  CRect m_captionRect;
  CSize m_maxSize;
  CSize m_minSize;
  std::atomic<int> m_layered{0};
  std::unique_ptr<Image> m_bkImage;
  int m_bkWidth = 0;
  int m_bkHeight = 0;
  enumBackMode m_backMode = BackModeNormal;
  int m_backFrame = 4;
  CString m_fontName = L"Open Sans Semibold";
  UINT m_nextTimerId = 4096;
  UINT m_mtimerId = 0;
  int m_active = 0;
  int m_tracking = 0;
  int m_pressInProgress = 0;
  int m_dblClkSeen = 0;
  int m_rightPress = 0;
  int m_captured = 0;
  int m_wndDrag = 1;
  UINT m_scrollV = 0;
  UINT m_scrollH = 0;
  COLORREF m_disabledColor = 0x808080;
  MControl* m_hover = nullptr;
  MControl* m_focus = nullptr;
  UINT m_tooltipOwner = 0;
  std::unique_ptr<TooltipWnd> m_tooltip;
  TextEditor* m_editor = nullptr;
  std::thread::id m_thread;  // the window's thread, from Init
  int m_timersSuspended = 0;
  std::vector<MControl*> m_areas;
  std::vector<MControl*> m_controls;
  std::recursive_mutex m_areasLock;
  std::recursive_mutex m_controlsLock;
  std::vector<MControl*> m_clients;
  std::recursive_mutex m_clientLock;
  std::vector<TimerRecord> m_timers;
  std::recursive_mutex m_timerLock;
  std::deque<PendingNotice> m_notices;
  std::deque<std::function<void()>> m_tasks;  // under m_noticeLock
  std::mutex m_noticeLock;
  std::map<CString, std::unique_ptr<ImgResInfo>> m_imagesByFile;
  std::map<std::pair<UINT, CString>, std::unique_ptr<ImgResInfo>> m_imagesByProgramRes;
  std::map<std::pair<UINT, CString>, std::unique_ptr<ImgResInfo>> m_imagesByToolkitRes;
  std::mutex m_imageLock;
  std::map<CString, std::unique_ptr<FontFamily>> m_fonts;
  std::mutex m_fontLock;
};

}  // namespace DUI
