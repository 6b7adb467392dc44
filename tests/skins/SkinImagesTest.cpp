// The generated skin folder against what the program asks of it: every
// image the windows, pages and controls name (the generator's list) and
// every picture the shipped model files name loads through the toolkit,
// with strips whose frames divide the width, and each button callout of a
// model ends on its picture.

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "SkinManifest.h"
#include "TestEnv.h"
#include "catalog/Catalog.h"
#include "catalog/ModelDescription.h"
#include "platform/Text.h"
#include "platform/window/Headless.h"
#include "platform/window/Window.h"
#include "toolkit/core/ImgResInfo.h"
#include "toolkit/core/MDialog.h"
#include "toolkit/core/MRender.h"

namespace {

using DUI::CString;
using DUI::MRender;

// The design width the model descriptions' positions are given on.
constexpr int kDesignWidth = 1300;

std::string Utf8(const std::wstring& s) { return platform::ToUtf8(s); }

uint32_t Alpha(const platform::Bitmap& bmp, int x, int y) { return bmp.PixelAt(x, y) >> 24; }

bool HasVisiblePixel(const platform::Bitmap& bmp) {
  for (int y = 0; y < bmp.Height(); ++y)
    for (int x = 0; x < bmp.Width(); ++x)
      if (Alpha(bmp, x, y) != 0) return true;
  return false;
}

class SkinImages : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(platform::InitWindowSystem(platform::WindowBackend::Headless)); }
  void SetUp() override {
    NullCatalogSink sink;
    catalog_ = ReadDeviceList(testenv::BinDir(), testenv::BinDir() / "skins" / "theme1", sink, nullptr);
    ASSERT_GE(catalog_.models.size(), 3u);
  }
  Catalog catalog_;
};

TEST_F(SkinImages, EveryNamedImageLoadsThroughTheCacheWithItsFrames) {
  DUI::MDialog dlg;
  ASSERT_NE(dlg.Create(nullptr, L"skins", WS_POPUP, 0, DUI::CRect(0, 0, 200, 100)), nullptr);
  DUI::PaintManager* cache = dlg.GetPaintManager();
  std::set<std::wstring> names;
  for (const skin::SkinImageEntry& image : skin::SkinManifest()) {
    SCOPED_TRACE(Utf8(image.name));
    EXPECT_TRUE(names.insert(MRender::GetSkinFile(image.name)).second) << "listed twice";
    ASSERT_GE(image.frames, 1);
    const DUI::ImgResInfo* info = cache->AddImgResInfo(image.name, image.frames);
    ASSERT_NE(info, nullptr) << "missing or undecodable: " << Utf8(MRender::GetSkinFile(image.name));
    const int width = info->image->Width();
    EXPECT_EQ(width % image.frames, 0) << width << " pixels in " << image.frames << " frames";
    if (image.frameWidth) {
      EXPECT_EQ(info->frameWidth, image.frameWidth);
    }
    if (image.height) {
      EXPECT_EQ(info->height, image.height);
    }
    EXPECT_TRUE(HasVisiblePixel(info->image->FrameBitmap(0))) << "the image is empty";
  }
  dlg.DestroyWindow();
}

TEST_F(SkinImages, ModelPicturesLoadAndTheCalloutsEndOnThem) {
  std::vector<const platform::Bitmap*> pictures;
  std::vector<std::unique_ptr<DUI::Image>> keep;
  for (const CatalogEntry& model : catalog_.models) {
    SCOPED_TRACE(Utf8(model.device_attr));
    // The device list loads its picture from the full path the catalog builds.
    EXPECT_EQ(model.image_path.parent_path(), testenv::BinDir() / "skins" / "theme1" / "device");
    std::unique_ptr<DUI::Image> listPicture(MRender::LoadImageFromFile(platform::FromUtf8(model.image_path.string())));
    ASSERT_NE(listPicture, nullptr) << model.image_path;
    EXPECT_TRUE(HasVisiblePixel(listPicture->FrameBitmap(0)));

    // The key page loads "device\" + the description's picture by skin name.
    const auto description = ReadModelDescription(ModelDescriptionPath(testenv::BinDir(), model.device_attr));
    ASSERT_TRUE(description && description->picture && description->buttons);
    const CString name = L"device\\" + *description->picture;
    std::unique_ptr<DUI::Image> picture(MRender::LoadSkinImage(name));
    ASSERT_NE(picture, nullptr) << Utf8(MRender::GetSkinFile(name));
    const platform::Bitmap& bmp = picture->FrameBitmap(0);
    // A top view on a transparent ground, not an opaque block.
    for (const auto& [x, y] : {std::pair{0, 0}, {bmp.Width() - 1, 0}, {0, bmp.Height() - 1}, {bmp.Width() - 1, bmp.Height() - 1}})
      EXPECT_EQ(Alpha(bmp, x, y), 0u) << "corner " << x << "," << y;

    // Placed with its top at y 120 and its right edge 150 pixels left of
    // the design's right edge; the callout's anchor end is the end on the
    // picture (side 1: the first point, otherwise the second), and the
    // marker circle (6 pixels) around it must be on the mouse too.
    const int left = kDesignWidth - kModelPictureRightMargin - bmp.Width();
    for (const ModelButton& button : *description->buttons) {
      const ModelPoint anchor = button.direction == 1 ? button.a : button.b;
      SCOPED_TRACE("button " + std::to_string(button.key_value));
      const int px = anchor.x - left, py = anchor.y - kModelPictureTop;
      for (const auto& [dx, dy] : {std::pair{0, 0}, {-3, 0}, {3, 0}, {0, -3}, {0, 3}}) {
        const int x = px + dx, y = py + dy;
        ASSERT_TRUE(x >= 0 && y >= 0 && x < bmp.Width() && y < bmp.Height()) << x << "," << y << " is off the picture";
        EXPECT_EQ(Alpha(bmp, x, y), 255u) << "at " << x << "," << y << " of the picture";
      }
    }
    pictures.push_back(&bmp);
    keep.push_back(std::move(picture));
  }
  // Each model has a picture of its own.
  for (size_t i = 0; i < pictures.size(); ++i)
    for (size_t j = i + 1; j < pictures.size(); ++j) {
      const platform::Bitmap& a = *pictures[i];
      const platform::Bitmap& b = *pictures[j];
      bool same = a.Width() == b.Width() && a.Height() == b.Height();
      for (int y = 0; same && y < a.Height(); ++y)
        for (int x = 0; same && x < a.Width(); ++x) same = a.PixelAt(x, y) == b.PixelAt(x, y);
      EXPECT_FALSE(same) << "models " << i << " and " << j << " share one picture";
    }
}

}  // namespace
