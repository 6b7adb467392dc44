#pragma once
// FontFamily: one family of a window's font collection, resolved to the
// name the text engine knows it by.

#include "toolkit/core/WinTypes.h"

namespace DUI {

class FontFamily {
 public:
  explicit FontFamily(CString name) : m_name(std::move(name)) {}
  const CString& GetFamilyName() const { return m_name; }

 private:
  CString m_name;
};

}  // namespace DUI
