#include "device/ButtonFunctionCheck.h"

#include "device/ButtonCodes.h"

namespace mouseproto {

bool IsButtonFunction(int macro_type, int macro_value, int macro_value2) {
  const auto isByte = [](int v) { return v >= 0 && v <= 0xFF; };
  switch (macro_type) {
    case kFnKeyboard:
      // A usage, modifier bits, or both; neither would be "no assignment".
      return isByte(macro_value) && isByte(macro_value2) && (macro_value != 0 || macro_value2 != 0);
    case kFnMacro:
      return macro_value > 0 && macro_value2 == 0;
    case kFnRepeat:
      // The entry carries both numbers as bytes; the page offers 5..255 clicks.
      return macro_value >= 5 && macro_value <= 0xFF && isByte(macro_value2);
    default:
      return macro_value2 == 0 && FindButtonCode(macro_type, macro_value) != nullptr;
  }
}

}  // namespace mouseproto
