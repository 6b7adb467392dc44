#pragma once
// UpdateNotice: the window side of the firmware version check, owned by the
// main window and used on its thread only.
//
//   ShowFirmwareVersion(release)  the mouse's version is known: the settings
//                                 page lines are reported (through post).
//   StartCheck()                  asks the server on a thread of its own, so
//                                 neither the window nor the device worker
//                                 waits for the HTTP exchange; the result
//                                 comes back through post, on the window
//                                 thread, as new lines and, when the server
//                                 names a newer version, as the offer call
//                                 (the main window posts itself 1692 with
//                                 wParam 2 and lParam 1 from it).
//   OfferUpdate(parent, ...)      the 1692 handler: asks "update?" and on yes
//                                 queues job 27 and shows UpdateTipDlg.
//
// A check still running when the next starts, or when the notice is
// destroyed, is cancelled and its result dropped; the next check follows on
// the same thread, so StartCheck never waits.

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "platform/http/HttpGet.h"
#include "toolkit/core/WinTypes.h"
#include "update/FirmwareUpdateCheck.h"
#include "update/UpdateObserver.h"

namespace ui {

class UpdateTipDlg;

// What the settings page shows (controls 242, 245, 248).
struct UpdateLines {
  std::wstring firmwareLine;  // text 551 and the local version ("V1.30")
  std::wstring stateLine;     // text 580, or text 582 and the server version
  bool updateButtonEnabled = false;
  int updateState = 0;        // 0 no check yet, 1 newer on the server, 2 not
};

class UpdateNotice {
 public:
  using Task = std::function<void()>;
  // Queues a task on the window thread, keeping order; called from the
  // window thread and from the check's thread.
  using Post = std::function<void(Task)>;
  using LinesChanged = std::function<void(const UpdateLines&)>;
  using Offer = std::function<void(const std::wstring& serverVersion)>;

  UpdateNotice(Post post, LinesChanged linesChanged, Offer offer);
  ~UpdateNotice();
  UpdateNotice(const UpdateNotice&) = delete;
  UpdateNotice& operator=(const UpdateNotice&) = delete;

  // The model description's firmware "url" ("" for none).
  void SetFirmwareAddress(const std::wstring& address);
  // Time-outs and reply cap; set them before the first StartCheck.
  void SetHttpOptions(const platform::HttpOptions& options);

  void ShowFirmwareVersion(int release);
  void StartCheck();
  // Waits for the running and queued checks (their results are posted).
  void WaitForCheck();

  const UpdateLines& Lines() const { return m_lines; }
  std::wstring ServerVersion() const { return m_check.ServerVersion(); }

  // "%s:V%s.%s, %s" with text 582, the server version and text 583.
  static std::wstring OfferText(const std::wstring& serverVersion);
  // Asks the user (yes/no box, caption text 551). On yes: queueJob27, then
  // runs tip modally centred on parent (unless tip is up already, which the
  // queued job then ends). Returns
  // the box's answer (1 yes, 2 no, 0 closed).
  static int OfferUpdate(HWND parent, const std::wstring& serverVersion, const std::function<void()>& queueJob27,
                         UpdateTipDlg& tip);

 private:
  class Relay;

  void CheckLoop();
  // A newer check is waiting: the running one's answer is stale.
  bool Superseded() const;

  // Tasks already queued hold the token; once the notice is gone they do
  // nothing. The check thread only copies the token, which never changes,
  // while the window thread resets m_alive.
  std::shared_ptr<bool> m_alive;
  const std::weak_ptr<bool> m_aliveToken;
  Post m_post;
  LinesChanged m_linesChanged;
  Offer m_offer;
  std::unique_ptr<Relay> m_relay;
  update::FirmwareUpdateCheck m_check;
  std::mutex m_checkMutex;  // guards m_running and the start of m_thread
  std::atomic<bool> m_pending{false};
  bool m_running = false;
  std::thread m_thread;
  UpdateLines m_lines;
};

}  // namespace ui
