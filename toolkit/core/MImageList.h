#pragma once
// MImageList: a strip of equally wide icons loaded from one skin image, drawn
// by index. Lists use one to show an icon before each item's text; the list
// does not own it.

#include <memory>

#include "toolkit/core/MRender.h"

namespace DUI {

class MImageList {
 public:
  MImageList() = default;
  MImageList(const MImageList&) = delete;
  MImageList& operator=(const MImageList&) = delete;

  // Loads the file from the skin folder as count icons side by side; false
  // (and an empty list) when it cannot be read.
  bool Create(const wchar_t* file, int count);
  // Takes an image already decoded (tests, generated icons).
  bool Create(std::unique_ptr<Image> image, int count);
  int GetImageCount() const { return m_count; }
  CSize GetImageSize() const { return CSize(m_width, m_height); }
  // Draws icon index stretched into dst; nothing for an index out of range.
  bool Draw(HDC dc, int index, const CRect& dst) const;

 private:
  std::unique_ptr<Image> m_image;
  int m_count = 0;
  int m_width = 0;
  int m_height = 0;
};

}  // namespace DUI
