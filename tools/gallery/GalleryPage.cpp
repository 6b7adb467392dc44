#include "tools/gallery/GalleryPage.h"

#include <algorithm>
#include <cstring>

namespace {

std::vector<GalleryPage>& Pages() {
  static std::vector<GalleryPage> pages;
  return pages;
}

}  // namespace

bool RegisterGalleryPage(GalleryPage page) {
  Pages().push_back(page);
  return true;
}

std::vector<GalleryPage> GalleryPages() {
  std::vector<GalleryPage> sorted = Pages();
  std::sort(sorted.begin(), sorted.end(),
            [](const GalleryPage& a, const GalleryPage& b) { return std::strcmp(a.name, b.name) < 0; });
  return sorted;
}

const GalleryPage* FindGalleryPage(const char* name) {
  for (const GalleryPage& page : Pages()) {
    if (std::strcmp(page.name, name) == 0) return &page;
  }
  return nullptr;
}
