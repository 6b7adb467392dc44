#pragma once
// DeviceManager: the process-wide device object. It keeps the catalog's
// connection modes, opens and identifies the mice's vendor interfaces, and
// sends the protocol's reports to the interface that commands go to.
//
// Index
//   1. Report frame          Checksum, frame constants
//   2. Link                  GetActiveDevice, SendReport, ReadDeviceInfo
//   3. Mode table            AddModeEntry, IsSupported, ModeOf, TypeOf
//   4. Device list           EnumerateDevice, CloseAll, queries, SetOnline
//   5. Selection and rescan  open flag, selected type, Rescan
//
// Threads: reports, enumeration and rescans run on the worker thread, one at
// a time, and take no lock while they talk to a device. The device list, the
// cached active interface, the selection and the mode table are guarded by
// one lock, and a new device list is published in one step, so queries from
// the window thread see either the old list, no list, or the whole new one.

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "device/Clock.h"
#include "device/DeviceRecord.h"
#include "device/HidBackend.h"
#include "device/ModeEntry.h"
#include "device/ReportFrame.h"

class DeviceManager {
 public:
  // --- 1. Report frame ---------------------------------------------------------
  static constexpr size_t kFrameLength = mouseproto::kFrameLength;
  static constexpr size_t kLongFrameLength = mouseproto::kLongFrameLength;
  static constexpr size_t kChecksumOffset = mouseproto::kChecksumOffset;
  static constexpr int kReportPauseMs = 66;
  static constexpr int kReplyAttempts = 50;
  static constexpr int kReplyReadMs = 30;
  static constexpr int kInfoPauseMs = 20;
  static constexpr int kInfoAttempts = 2;
  static constexpr int kInfoReadMs = 10;
  static constexpr int kIdentifyRetryPauseMs = 500;
  static constexpr int kPollReadMs = 10;
  static constexpr int kLinkInfoRetryMs = 50;
  // A notification needs its kind and its state byte; shorter reports are
  // dropped by the poll.
  static constexpr size_t kNotificationLength = 2;

  // Low 8 bits of the sum of bytes 5 to 31 of a frame of at least 33 bytes
  // (mouseproto::FrameChecksum, the one checksum of the protocol).
  static uint8_t Checksum(const uint8_t* frame);

  using InfoReply = std::array<uint8_t, kInfoReplyLength>;

  DeviceManager(std::shared_ptr<HidBackend> backend, std::shared_ptr<Clock> clock);
  ~DeviceManager();
  DeviceManager(const DeviceManager&) = delete;
  DeviceManager& operator=(const DeviceManager&) = delete;

  // The process-wide object, made on first use with the real HID library and
  // the real clock unless ConfigureInstance chose others before.
  static DeviceManager& Instance();
  // Chooses what the process-wide object talks to (the simulated mice for a
  // demonstration run). False once Instance() has made the object.
  static bool ConfigureInstance(std::shared_ptr<HidBackend> backend, std::shared_ptr<Clock> clock);

  HidBackend& Backend() { return *backend_; }
  Clock& GetClock() { return *clock_; }

  // --- 2. Link -----------------------------------------------------------------
  // The handle commands go to: the first cable interface of the selected
  // type, else the first receiver interface of that type if its mouse is on
  // line. Cached until the list is rebuilt or the selection changes.
  HidDevice* GetActiveDevice();
  // Stores the checksum into frame[32], pauses, writes (padded with zeros to
  // the interface's output report length), and with waitForReply reads until
  // a report with status 0 comes; frame then holds it over the request.
  // Returns the length of that reply as read, 0 when none came; a request
  // sent without waiting returns 0. Decoders must look at that many bytes
  // only: the rest of the frame is what the request left there. sent, when
  // given, tells whether the request was written at all.
  int SendReport(uint8_t* frame, size_t length, bool waitForReply, bool* sent = nullptr);
  // Command 0x30 on one interface, reply into info. Only a reply that
  // carries the whole identity (bytes 0 to 14) with status 0 counts; a
  // notification or a short report is one failed read. Without a handle:
  // the stored info reply of the active interface.
  bool ReadDeviceInfo(InfoReply& info, HidDevice* handle);
  // The idle poll for the mouse's own reports. With an active interface:
  // one read of up to 65 bytes (10 ms), true when something came. Without
  // one: the receivers are read (33 bytes, 10 ms each) until one gives a
  // report; a link report there updates that receiver (online state, and
  // its identity when the mouse is back). The report is left in buffer and
  // deviceType names the interface's type, but the result is false.
  bool PollInput(InfoReply& buffer, int& deviceType);
  // Reads each on-line receiver of the selected type once; a link report
  // sets its online state to 1 (linked) or 2 (not linked).
  void CheckWireless();

  // --- 3. Mode table ------------------------------------------------------------
  void AddModeEntry(int vendorId, int productId, const std::wstring& name, int deviceType, int mode,
                    const std::wstring& devId);
  void ClearModeEntries();
  std::vector<ModeEntry> ModeEntries() const;
  bool IsSupported(int vendorId, int productId) const;
  int ModeOf(int vendorId, int productId) const;
  int TypeOf(int vendorId, int productId, const std::wstring& deviceId) const;

  // --- 4. Device list -----------------------------------------------------------
  // Opens every supported vendor interface, asks them who they are (only the
  // cable ones when a cable interface exists) and appends them to the list.
  void EnumerateDevice();
  // Closes every record when the open flag is 1, and clears the flag.
  void CloseAll();
  // For the selected type: 0 when a cable record exists, else 1 when a
  // receiver record exists, else -1 (also while no type is selected).
  int ConnectionKind() const;
  // Copies of the records of the selected type (all when it is 0), without
  // their handles. False when the copy is empty.
  bool ListRecords(std::vector<DeviceRecord>& records) const;
  bool ListOnlineRecords(std::vector<DeviceRecord>& records) const;
  bool ReleaseOf(int mode, int& release) const;
  bool IsPresent(int deviceType) const;
  void SetOnline(int deviceType, int mode, int state);
  // The online state of the record at a list position alone, as a link
  // report read from one receiver sets it. False without such a record.
  bool SetRecordOnline(size_t position, int state);
  size_t RecordCount() const;
  // Asks every record that has not identified itself yet (receivers skipped
  // while a cable interface exists, interfaces that did not answer) once
  // more, with the enumeration's retry. For the diagnostic listing. Returns
  // how many records gained a device type.
  int IdentifyRemaining();

  // --- 5. Selection and rescan ----------------------------------------------------
  int OpenFlag() const;
  void SetOpenFlag(int flag);
  int SelectedType() const;
  // Changing the selection clears the cached active interface.
  void SetSelectedType(int deviceType);
  void ClearActiveCache();
  // The device manager's part of a rescan: closes and rebuilds the list,
  // sets the open flag, returns every record, and selects storedType.
  std::vector<DeviceRecord> Rescan(int storedType);

 private:
  bool Identify(DeviceRecord& record, bool logDetails);
  // The output report length the interface's descriptor declares (with the
  // report-id byte), 0 when it declares none or has no descriptor.
  size_t ReadOutputLength(HidDevice* handle);
  // Writes a request padded to the handle's output report length; a failed
  // write is logged with the backend's error text.
  int WriteRequest(HidDevice* handle, const uint8_t* data, size_t length);
  // A read; a failed one (not a time-out) is logged with the error text,
  // for the idle poll only when the text differs from its last failure.
  int ReadReply(HidDevice* handle, uint8_t* data, size_t length, int milliseconds, bool poll = false);
  void ForgetHandle(HidDevice* handle);
  bool ListMatching(std::vector<DeviceRecord>& records, bool onlineOnly) const;
  int TypeOfLocked(int vendorId, int productId, const std::wstring& deviceId) const;

  std::shared_ptr<HidBackend> backend_;
  std::shared_ptr<Clock> clock_;

  mutable std::mutex lock_;
  std::vector<ModeEntry> modes_;
  std::vector<std::unique_ptr<DeviceRecord>> records_;
  int open_ = 0;
  int selectedType_ = 0;
  HidDevice* activeHandle_ = nullptr;
  DeviceRecord* activeRecord_ = nullptr;
  // Output report lengths of the open handles, read when they were opened.
  std::map<HidDevice*, size_t> outputLengths_;
  std::string lastPollError_;  // worker thread only
};

// The device id an info reply carries: bytes 4 to 7, one character each,
// ending early at a zero byte.
std::wstring DeviceIdFromInfo(const uint8_t* info);
