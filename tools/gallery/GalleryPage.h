#pragma once
// Gallery pages: each page is one file (GalleryPage<Name>.cpp) that builds
// its controls into the gallery dialog and registers itself by name, so
// `qelt_gallery --page NAME` opens it. The page "core" (the default) shows
// the toolkit core's texts, pictures and buttons.

#include <vector>

#include "toolkit/core/CRect.h"

class GalleryDialog;

struct GalleryPage {
  const char* name;
  const char* description;
  // Builds the page's controls into the dialog's client area.
  void (*build)(GalleryDialog& dlg, DUI::CRect client);
  // Optional: runs once the window is shown where it stays, before the
  // gallery prints "ready" (screenshot: before the picture is taken, so a
  // page can open its popups for it).
  void (*shown)(GalleryDialog& dlg, bool screenshot) = nullptr;
};

// Registers a page; returns true so it can initialise a static.
bool RegisterGalleryPage(GalleryPage page);
// Every registered page, sorted by name.
std::vector<GalleryPage> GalleryPages();
// The page of that name, or null.
const GalleryPage* FindGalleryPage(const char* name);

#define GALLERY_PAGE_CONCAT2(a, b) a##b
#define GALLERY_PAGE_CONCAT(a, b) GALLERY_PAGE_CONCAT2(a, b)
#define REGISTER_GALLERY_PAGE(NAME, DESCRIPTION, BUILD)                                      \
  namespace {                                                                                 \
  [[maybe_unused]] const bool GALLERY_PAGE_CONCAT(galleryPage_, __LINE__) =                  \
      RegisterGalleryPage(GalleryPage{NAME, DESCRIPTION, BUILD});                             \
  }
#define REGISTER_GALLERY_PAGE_SHOWN(NAME, DESCRIPTION, BUILD, SHOWN)                         \
  namespace {                                                                                 \
  [[maybe_unused]] const bool GALLERY_PAGE_CONCAT(galleryPage_, __LINE__) =                  \
      RegisterGalleryPage(GalleryPage{NAME, DESCRIPTION, BUILD, SHOWN});                      \
  }
