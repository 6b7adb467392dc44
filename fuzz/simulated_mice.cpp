// libFuzzer target for the demo's simulated-mice state file. A text the
// reader accepts must write back to the same text and read again the same;
// a refused text must leave nothing behind.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "device/simulator/SimulatedMiceFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  SimulatedMiceFile::Entries entries;
  std::string error;
  if (!SimulatedMiceFile::Parse(text, entries, &error)) {
    if (!entries.empty() || error.empty()) std::abort();
    return 0;
  }
  const std::string written = SimulatedMiceFile::Format(entries);
  SimulatedMiceFile::Entries again;
  if (!SimulatedMiceFile::Parse(written, again, &error)) std::abort();
  if (SimulatedMiceFile::Format(again) != written || again.size() != entries.size()) std::abort();
  return 0;
}
