#pragma once
// Skin image groups kept in files of their own (one per family of
// controls) register a drawing function here; main() runs every registered
// group after its own, in name order, so two files never fight over one
// list.

#include <vector>

#include "SkinPainter.h"

namespace skin {

struct SkinGroup {
  const char* name;
  void (*draw)(SkinPainter& painter);
};

bool RegisterSkinGroup(SkinGroup group);
std::vector<SkinGroup> SkinGroups();

}  // namespace skin

#define SKIN_GROUP_CONCAT2(a, b) a##b
#define SKIN_GROUP_CONCAT(a, b) SKIN_GROUP_CONCAT2(a, b)
#define REGISTER_SKIN_GROUP(NAME, DRAW)                                     \
  namespace {                                                               \
  [[maybe_unused]] const bool SKIN_GROUP_CONCAT(skinGroup_, __LINE__) =    \
      ::skin::RegisterSkinGroup(::skin::SkinGroup{NAME, DRAW});             \
  }
