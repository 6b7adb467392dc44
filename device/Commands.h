#pragma once
// Requests and reply decoders for the mouse's setting groups.
//
// Index
//   command codes, frame lengths, which commands wait for a reply
//   report rate       0x02 write, 0x12 read
//   DPI stages        0x03 write, 0x13 read
//   DPI colours       0x04 write, 0x14 read
//   lift-off/sensor   0x06 write, 0x16 read
//   power options     0x07 write, 0x17 read
//   factory restore   0x0F
//   plain reads       0x11..0x17, 0x30
//   device info       0x30 reply
// Lighting (0x05/0x15), macros (0x08) and button functions (0x09) have their
// own headers: Lighting.h, MacroStream.h, KeySlots.h.
//
// The structs mirror the profile's settings keys by name, so a caller copies
// stored values in and decoded values out field by field. Every builder
// returns a sealed frame (checksum stored). Every decoder takes the reply
// buffer as read and returns nothing when the reply was not accepted (status
// not 0, a notification report) or is too short for its layout; the caller
// then leaves the stored values of that group untouched.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "device/DpiCodec.h"
#include "device/ReportFrame.h"

namespace mouseproto {

// --- Command codes ------------------------------------------------------------
inline constexpr std::uint8_t kCmdWriteReportRate = 0x02;
inline constexpr std::uint8_t kCmdWriteDpiStages = 0x03;
inline constexpr std::uint8_t kCmdWriteDpiColours = 0x04;
inline constexpr std::uint8_t kCmdWriteLighting = 0x05;
inline constexpr std::uint8_t kCmdWriteLiftOff = 0x06;
inline constexpr std::uint8_t kCmdWritePowerOptions = 0x07;
inline constexpr std::uint8_t kCmdWriteMacro = 0x08;
inline constexpr std::uint8_t kCmdWriteButtonFunctions = 0x09;
inline constexpr std::uint8_t kCmdRestoreFactory = 0x0F;
inline constexpr std::uint8_t kCmdReadDiscarded = 0x11;
inline constexpr std::uint8_t kCmdReadReportRate = 0x12;
inline constexpr std::uint8_t kCmdReadDpiStages = 0x13;
inline constexpr std::uint8_t kCmdReadDpiColours = 0x14;
inline constexpr std::uint8_t kCmdReadLighting = 0x15;
inline constexpr std::uint8_t kCmdReadLiftOff = 0x16;
inline constexpr std::uint8_t kCmdReadPowerOptions = 0x17;
inline constexpr std::uint8_t kCmdReadDeviceInfo = 0x30;

inline constexpr int kDpiStageCount = 6;

// 65 for lighting, lift-off and power writes, 33 for every other command.
std::size_t CommandFrameLength(std::uint8_t command);
// False for the three writes sent without waiting (0x02, 0x03, 0x04) and for
// codes that are not commands; true for every other command.
bool CommandWaitsForReply(std::uint8_t command);
// The read codes 0x11..0x17 and 0x30.
bool IsReadCommand(std::uint8_t command);

// --- Report rate ----------------------------------------------------------------
// Codes: 1 = 1000 Hz, 2 = 500, 4 = 250, 8 = 125, 16 = 2000, 32 = 4000, 64 = 8000.
bool IsReportRateCode(int code);
int ReportRateHz(int code);  // 0 for a value that is not a code

// `report_rate` (low 8 bits) in byte 5.
ReportFrame BuildReportRateRequest(int report_rate);
// The code from reply byte 4, to be stored in both `report_rate` and
// `report_rate_wireless`. A byte that is not a rate code rejects the reply.
std::optional<int> DecodeReportRateReply(std::span<const std::uint8_t> reply);

// --- DPI stages -----------------------------------------------------------------
struct DpiStages {
  int dpi_index = 1;                                 // selected stage, from 0
  int dpi_count = 6;                                 // stages in use
  std::array<int, kDpiStageCount> dpi_group_value{};  // dpi_group0_value..5
};

// Byte 6 = (dpi_index << 4) | dpi_count (4 bits each); from byte 7 each stage
// as two copies of its little-endian raw value. Values are clamped to the
// row's range, then encoded for the row's sensor.
ReportFrame BuildDpiStagesRequest(const DpiStages& stages, const SensorRow& row);

struct DpiStagesReply {
  int dpi_flag = 0;   // stage count as the device reports it
  int dpi_count = 0;  // the same number
  int dpi_index = 0;
  // Decoded stage values; a value below 50 is not to be stored (nullopt).
  std::array<std::optional<int>, kDpiStageCount> dpi_group_value{};
};
// Reply byte 4 = (index << 4) | count; stage 0 from bytes 7-8, stage i from
// bytes 5 + 4i and 6 + 4i. A count of 0 or above 6, or an index above 5,
// cannot describe this mouse's six stages and rejects the reply.
std::optional<DpiStagesReply> DecodeDpiStagesReply(std::span<const std::uint8_t> reply,
                                                   int sensor_code);

// --- DPI colours ----------------------------------------------------------------
// Six stored colours (dpi_group0_rgb..5) as red, green, blue from byte 5.
ReportFrame BuildDpiColoursRequest(const std::array<int, kDpiStageCount>& dpi_group_rgb);
// Stage i's colour from reply bytes 4 + 3i .. 6 + 3i.
std::optional<std::array<int, kDpiStageCount>> DecodeDpiColoursReply(
    std::span<const std::uint8_t> reply);

// --- Lift-off and sensor options ------------------------------------------------
inline constexpr int kSensorFlagBit3 = 0x08;  // sent in byte 6
inline constexpr int kSensorFlagBit2 = 0x04;  // sent in byte 7

struct LiftOffOptions {
  int liftoff_height = 1;  // 1 = 1.0 mm, 2 = 2.0 mm
  int sensor_flag = 0;
};
ReportFrame BuildLiftOffRequest(const LiftOffOptions& options);

struct LiftOffReply {
  int liftoff_height = 1;
  bool sensor_bit3 = false;  // sensor_flag bit 0x08
  bool sensor_bit2 = false;  // sensor_flag bit 0x04
  // The stored flag with bits 0x08 and 0x04 set or cleared as the mouse
  // reports them; the other option bits live only in the profile and stay.
  int MergeSensorFlag(int stored_sensor_flag) const;
};
// Byte 4 = lift-off code (0xFF reads as 1; codes other than 1, 2 and 0xFF
// reject the reply), byte 5 = 1 for bit 0x08, byte 6 = 1 for bit 0x04.
std::optional<LiftOffReply> DecodeLiftOffReply(std::span<const std::uint8_t> reply);

// --- Power options --------------------------------------------------------------
struct PowerOptions {
  int sleep_light = 5;
  int move_wakeup = 1;
  int move_closelight = 1;
  int button_respondtime = 8;
};
// Bytes 5..8 in the field order above, each the low 8 bits.
ReportFrame BuildPowerOptionsRequest(const PowerOptions& options);

struct PowerOptionsReply {
  int sleep_light = 0;         // byte 4
  int move_closelight = 0;     // byte 6
  int button_respondtime = 0;  // byte 7 (byte 5 is not read)
};
std::optional<PowerOptionsReply> DecodePowerOptionsReply(std::span<const std::uint8_t> reply);

// --- Factory restore and plain reads --------------------------------------------
// 0x0F with byte 5 = 0xFF.
ReportFrame BuildFactoryRestoreRequest();
// A read request for any read code (0x11..0x17, 0x30): no payload, checksum 0.
ReportFrame BuildReadRequest(std::uint8_t command);
// The reply of 0x11 carries nothing; only its status counts.
bool IsAcceptedReply(std::span<const std::uint8_t> reply);

// --- Device information (0x30) --------------------------------------------------
struct DeviceInfo {
  std::string device_id;   // bytes 4..7, four characters
  int sensor_code = 0;     // byte 10
  int max_rate = 0;        // byte 11: 0x10, 0x20, 0x40 or anything (1000 Hz)
  int charge_state = 0;    // byte 12: 1 = charging
  int battery_level = 0;   // byte 13, percent, limited to 100
  int link = 0;            // byte 14: 0 = the receiver's mouse is not connected

  // Number of report-rate choices: 0x10 -> 5, 0x20 -> 6, 0x40 -> 7, else 4.
  int ReportRateChoices() const;
  SensorRow Sensor() const { return SensorRowFor(sensor_code); }
};
std::optional<DeviceInfo> DecodeDeviceInfo(std::span<const std::uint8_t> reply);

}  // namespace mouseproto
