#pragma once
// HidapiBackend: HidBackend on libhidapi-hidraw. The library is initialised
// with the backend and shut down when it goes away. Libraries older than
// 0.14 have no descriptor call; the descriptor then comes from the hidraw
// node itself.

#include "device/HidBackend.h"

class HidapiBackend : public HidBackend {
 public:
  HidapiBackend();
  ~HidapiBackend() override;
  HidapiBackend(const HidapiBackend&) = delete;
  HidapiBackend& operator=(const HidapiBackend&) = delete;

  // False when the library could not be initialised.
  bool Initialised() const { return initialised_; }

  bool Enumerate(std::vector<HidInterfaceInfo>& interfaces) override;
  HidDevice* Open(const std::string& path) override;
  int Write(HidDevice* device, const uint8_t* data, size_t length) override;
  int ReadTimeout(HidDevice* device, uint8_t* data, size_t length, int milliseconds) override;
  void Close(HidDevice* device) override;
  int GetReportDescriptor(HidDevice* device, uint8_t* data, size_t length) override;
  std::wstring LastError(HidDevice* device) override;

 private:
  bool initialised_ = false;
};
