#pragma once
// ImgResInfo: one entry of a window's image cache. The cache owns the
// image; controls keep the plain pointer, frame width, height and count.

#include <memory>

#include "toolkit/core/MRender.h"

namespace DUI {

struct ImgResInfo {
  std::unique_ptr<Image> image;
  int frameWidth = 0;  // image width / frame count of the first request
  int height = 0;
  int count = 1;
  CString file;  // relative name in the skin folder, or empty
  UINT resourceId = 0;
  CString resourceType;
};

}  // namespace DUI
