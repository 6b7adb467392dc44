#include "ui/UpdateNotice.h"

#include "platform/ThreadName.h"
#include "shell/Localisation.h"
#include "ui/ShowMessage.h"
#include "ui/UpdateTipDlg.h"
#include "update/FirmwareVersion.h"

namespace ui {

// Receives the check's reports on the thread that makes them and hands each
// to the window thread, where the notice's lines change.
class UpdateNotice::Relay : public update::UpdateObserver {
 public:
  explicit Relay(UpdateNotice& notice) : m_notice(notice) {}

  void OnFirmwareVersion(const std::wstring& localVersion) override {
    Tell([localVersion](UpdateNotice& n) {
      n.m_lines.firmwareLine = shell::GetText(551) + L": " + update::VersionDisplayText(localVersion);
      n.m_lines.stateLine = shell::GetText(580);
      n.m_lines.updateButtonEnabled = true;
      if (n.m_linesChanged) n.m_linesChanged(n.m_lines);
    });
  }
  void OnUpdateAvailable(const std::wstring& serverVersion) override {
    if (m_notice.Superseded()) return;
    Tell([serverVersion](UpdateNotice& n) {
      n.m_lines.updateState = 1;
      n.m_lines.stateLine = shell::GetText(582) + L": " + update::VersionDisplayText(serverVersion);
      n.m_lines.updateButtonEnabled = true;
      if (n.m_linesChanged) n.m_linesChanged(n.m_lines);
      if (n.m_offer) n.m_offer(serverVersion);
    });
  }
  void OnNoUpdate() override {
    if (m_notice.Superseded()) return;
    Tell([](UpdateNotice& n) {
      n.m_lines.updateState = 2;
      n.m_lines.stateLine = shell::GetText(580);
      n.m_lines.updateButtonEnabled = false;
      if (n.m_linesChanged) n.m_linesChanged(n.m_lines);
    });
  }

 private:
  void Tell(std::function<void(UpdateNotice&)> change) {
    // The task may run after the notice is gone: it then does nothing.
    std::weak_ptr<bool> alive = m_notice.m_aliveToken;
    UpdateNotice* notice = &m_notice;
    m_notice.m_post([alive, notice, change = std::move(change)] {
      if (alive.lock()) change(*notice);
    });
  }

  UpdateNotice& m_notice;
};

UpdateNotice::UpdateNotice(Post post, LinesChanged linesChanged, Offer offer)
    : m_alive(std::make_shared<bool>(true)),
      m_aliveToken(m_alive),
      m_post(std::move(post)),
      m_linesChanged(std::move(linesChanged)),
      m_offer(std::move(offer)),
      m_relay(std::make_unique<Relay>(*this)),
      m_check(*m_relay) {}

UpdateNotice::~UpdateNotice() {
  m_alive.reset();
  m_pending = false;
  m_check.CancelTransfer();
  if (m_thread.joinable()) m_thread.join();
}

void UpdateNotice::SetFirmwareAddress(const std::wstring& address) { m_check.SetFirmwareAddress(address); }

void UpdateNotice::SetHttpOptions(const platform::HttpOptions& options) { m_check.SetHttpOptions(options); }

void UpdateNotice::ShowFirmwareVersion(int release) { m_check.ShowFirmwareVersion(unsigned(release)); }

void UpdateNotice::StartCheck() {
  std::lock_guard<std::mutex> lock(m_checkMutex);
  m_pending = true;
  if (m_running) {
    // A check of an earlier connection: its answer no longer matters. The
    // running thread makes the new check when it ends; the window thread
    // never waits for an HTTP exchange.
    m_check.CancelTransfer();
    return;
  }
  if (m_thread.joinable()) m_thread.join();  // ended: its loop has returned
  m_running = true;
  m_thread = std::thread([this] {
    platform::NameThisThread("update-check");
    CheckLoop();
  });
}

void UpdateNotice::CheckLoop() {
  for (;;) {
    {
      std::lock_guard<std::mutex> lock(m_checkMutex);
      if (!m_pending) {
        m_running = false;
        return;
      }
      m_pending = false;
    }
    m_check.CheckOnlineVersion();
  }
}

bool UpdateNotice::Superseded() const { return m_pending.load(); }

void UpdateNotice::WaitForCheck() {
  if (m_thread.joinable()) m_thread.join();
}

std::wstring UpdateNotice::OfferText(const std::wstring& serverVersion) {
  // "%s:V%s.%s, %s": VersionDisplayText gives the "V", the first character,
  // the point and the last two characters.
  return shell::GetText(582) + L":" + update::VersionDisplayText(serverVersion) + L", " + shell::GetText(583);
}

int UpdateNotice::OfferUpdate(HWND parent, const std::wstring& serverVersion,
                              const std::function<void()>& queueJob27, UpdateTipDlg& tip) {
  const std::wstring text = OfferText(serverVersion);
  const std::wstring caption = shell::GetText(551);
  const int answer = ShowMessage(text.c_str(), parent, caption.c_str(), 4);
  if (answer != 1) return answer;
  if (queueJob27) queueJob27();
  // A tip still up from an earlier offer is inside its own modal loop below
  // this call: the job just queued ends it, and a second one is not nested.
  if (!tip.IsOpen()) tip.Run(parent);
  return answer;
}

}  // namespace ui
