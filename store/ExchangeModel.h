#pragma once
// ExchangeModel: what a profile import needs to know about the current model,
// handed in as plain values by the caller (which reads them from the model
// description), so the store does not depend on the catalog.

#include <functional>
#include <vector>

struct ExchangeModel {
  // Key codes of the model's buttons (the "key_value" of its description).
  std::vector<int> buttons;
  // The model has lighting: its profile files carry "Lightitems".
  bool has_lighting = false;
  // Report-rate codes the model offers (1 = 1000 Hz, 2 = 500 Hz, ...).
  std::vector<int> report_rates;
  // Whether (macro_type, macro_value, macro_value2) is a row of the
  // button-function code table (mouseproto::IsButtonFunction). Without it
  // no assignment is accepted.
  std::function<bool(int type, int value, int value2)> is_button_function;
};
