#include "device/DeviceWorker.h"

#include "device/Commands.h"
#include "device/ReportFrame.h"
#include "shell/Log.h"

DeviceWorker::DeviceWorker(DeviceManager& manager, DeviceSession& session, SettingsStore& store,
                           DeviceObserver& observer, ModelDefaults& model, Clock& clock,
                           DeviceSequences::TextLookup text)
    : CThreadBasic(clock),
      manager_(manager),
      session_(session),
      store_(store),
      observer_(observer),
      model_(model),
      clock_(clock),
      sequences_(manager, session, store, observer, model, clock, std::move(text)) {
  session_.SetModelLoader(&model_);
}

DeviceWorker::~DeviceWorker() { Join(); }

void DeviceWorker::AppendJob(int code) { jobs_.Append(code); }

void DeviceWorker::Step() {
  if (const auto code = jobs_.TakeFirst()) {
    RunJob(*code);
  } else if (session_.DevicePresent()) {
    PollNotifications();
  }
}

void DeviceWorker::RunJob(int code) {
  switch (code) {
    case kJobStart:
      session_.ReloadCatalog();
      sequences_.ConnectSequence(0);
      break;
    case kJobConnect: sequences_.ConnectSequence(1); break;
    case kJobReconnect: sequences_.ReconnectSequence(); break;
    case kJobReload: sequences_.ReloadSequence(); break;
    case kJobWriteProfile: sequences_.WriteProfile(); break;
    case kJobButtonFunctions: sequences_.WriteButtonFunctionsJob(); break;
    case kJobLighting: sequences_.WriteLighting(); break;
    case kJobDpiStages: sequences_.WriteDPIStages(); break;
    case kJobDpiColours: sequences_.WriteDPIColours(); break;
    case kJobReportRate: sequences_.WriteReportRate(); break;
    case kJobLiftOff: sequences_.WriteLiftOff(); break;
    case kJobPowerOptions: sequences_.WritePowerOptions(); break;
    case kJobDpiDefaults: sequences_.RestoreDPIDefaults(); break;
    case kJobFactoryRestore: sequences_.RestoreFactory(); break;
    case kJobCloseUpdateTip:
      clock_.Sleep(kUpdateTipPauseMs);
      observer_.CloseUpdateTip();
      clock_.Sleep(kUpdateTipPauseMs);
      break;
    default:
      break;  // codes without work are dropped
  }
}

void DeviceWorker::PollNotifications() {
  DeviceManager::InfoReply report{};
  int polledType = 0;
  manager_.PollInput(report, polledType);
  if (report[0] == 0) return;
  shell::Log("mouse notify data: %02X %02X %02X %02X %02X %02X", report[0], report[1], report[2], report[3],
             report[4], report[5]);
  if (report[0] == mouseproto::kDpiNotification) {
    OnDpiChange(report[1]);
  } else if (report[0] == mouseproto::kLinkNotification) {
    OnLinkChange(report, polledType);
  }
}

void DeviceWorker::OnDpiChange(uint8_t value) {
  const int count = value & 0x0F;
  const int stage = value >> 4;
  // A report that cannot describe this mouse's stages (noise on the line)
  // would otherwise end up in the profile and in the next DPI write.
  if (count < 1 || count > mouseproto::kDpiStageCount || stage >= count) {
    shell::Log("DPI report ignored: stage %d of %d", stage, count);
    return;
  }
  const int profile = sequences_.CurrentProfile();
  if (count != observer_.ShownStageCount()) {
    observer_.SelectStageCount(count);
    store_.SetConfigInt(profile, L"dpi_count", count);
  }
  if (stage != observer_.ShownStage()) {
    observer_.SelectStage(stage);
    store_.SetConfigInt(profile, L"dpi_index", stage);
    const int dpi = observer_.StageDpi(stage);
    observer_.MoveSliderToDpi(dpi);
    if (model_.Traits(session_.CurrentDeviceType()).show_dpitips) observer_.ShowDpiMessage(dpi);
  }
}

void DeviceWorker::OnLinkChange(const DeviceManager::InfoReply& report, int polledType) {
  shell::Log("上报dongle和设备的连接状态: %d", report[3]);
  observer_.ClosePopups();
  if (report[1] == 1) {
    if (!session_.Linked()) {
      session_.SetLinked(true);
      AppendJob(kJobConnect);
    }
  } else {
    session_.SetLinked(false);
    observer_.ShowDeviceState(kNoMouseTextId);
    observer_.SetDeviceState(polledType, 1, 0);
    manager_.SetOnline(polledType, 1, 0);
    manager_.CheckWireless();
    observer_.StopMacroRecording();
    observer_.ShowDeviceList(observer_.GetOnlineDevCount() > 0);
  }
  if (report[2] != 0) observer_.SetBatteryInfo(report[2], report[3]);
}
