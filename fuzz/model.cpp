// libFuzzer target for the model-description reader: the input is written
// as a device/<attr>.xml file and read with ReadModelDescription, and what
// comes out is used as the model load uses it (default key records, merged
// light effects). The button rectangle and colour parsers get the input as
// text directly.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "catalog/ModelDescription.h"
#include "platform/Text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string path = "/tmp/fuzz_model_" + std::to_string(::getpid()) + ".xml";
  const std::string bytes(reinterpret_cast<const char*>(data), size);

  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    if (const auto model = ReadModelDescription(path)) {
      const auto records = model->DefaultKeyRecords();
      if (records.size() != (model->buttons ? model->buttons->size() : 0)) __builtin_trap();
      for (std::size_t i = 0; i < records.size(); ++i) {
        const ModelButton& button = (*model->buttons)[i];
        if (records[i].key_code != button.key_value || records[i].macro_desc != button.func_desc) __builtin_trap();
        (void)button.NameId();
        (void)button.FuncDescId();
      }
      std::array<bool, kLightEffectCount> previous{};
      previous.fill(true);
      const auto merged = model->MergeEffects(previous);
      for (int k = 0; k < kLightEffectCount; ++k)
        if (merged[k] != model->effects[k].value_or(true)) __builtin_trap();
    }
  }

  const std::wstring text = platform::FromUtf8(bytes);
  ModelPoint a, b;
  SplitButtonRect(text, a, b);
  if (a.y != b.y) __builtin_trap();
  if (const auto colour = ParseModelColour(text)) {
    if (*colour < 0 || *colour > 0xFFFFFF) __builtin_trap();
  }
  return 0;
}
