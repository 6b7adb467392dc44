#include "device/simulator/SimulatedFirmware.h"

#include "device/Commands.h"

std::optional<std::vector<uint8_t>> SimulatedFirmware::Handle(mouseproto::MouseState& mouse, bool linked,
                                                              bool receiverAnswers, std::span<const uint8_t> request) {
  mouse.identity.link = linked ? 1 : 0;
  if (linked) return mouseproto::CommandResponder::ApplyRequest(mouse, request);
  const bool infoRequest = request.size() > 1 && request[1] == mouseproto::kCmdReadDeviceInfo;
  if (receiverAnswers && infoRequest) return mouseproto::CommandResponder::ApplyRequest(mouse, request);
  return std::nullopt;
}

std::vector<uint8_t> SimulatedFirmware::LinkReport(const mouseproto::MouseState& mouse, bool linked) {
  std::vector<uint8_t> report(mouseproto::kReplyLength, 0);
  report[0] = mouseproto::kLinkNotification;
  report[1] = linked ? 1 : 0;
  report[2] = static_cast<uint8_t>(mouse.identity.battery_level);
  report[3] = mouse.identity.charge_state == 1 ? 1 : 0;
  return report;
}

std::vector<uint8_t> SimulatedFirmware::DpiReport(const mouseproto::MouseState& mouse) {
  std::vector<uint8_t> report(mouseproto::kReplyLength, 0);
  report[0] = mouseproto::kDpiNotification;
  report[1] = static_cast<uint8_t>(((mouse.settings.dpi_index & 0x0F) << 4) | (mouse.settings.dpi_count & 0x0F));
  return report;
}
