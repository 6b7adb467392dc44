#include "toolkit/core/MImageList.h"

namespace DUI {

bool MImageList::Create(const wchar_t* file, int count) {
  if (file == nullptr) return false;
  return Create(std::unique_ptr<Image>(MRender::LoadImageFromFile(MRender::GetSkinFolder() + file)), count);
}

bool MImageList::Create(std::unique_ptr<Image> image, int count) {
  m_image.reset();
  m_count = m_width = m_height = 0;
  if (!image || count <= 0 || image->Width() < count) return false;
  m_image = std::move(image);
  m_count = count;
  m_width = m_image->Width() / count;
  m_height = m_image->Height();
  return true;
}

bool MImageList::Draw(HDC dc, int index, const CRect& dst) const {
  if (!m_image || index < 0 || index >= m_count) return false;
  MRender::DrawImage(dc, m_image.get(), dst, index * m_width, 0, m_width, m_height);
  return true;
}

}  // namespace DUI
