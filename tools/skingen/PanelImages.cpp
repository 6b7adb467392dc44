// Skin images of panels, lists and tabs: the scroll thumbs, the list's row
// marks and the tab items.

#include "SkinGroups.h"

namespace {

using namespace skin;
using platform::Brush;

// One thumb frame: a rounded bar, brighter on hover, accent while dragged.
void Thumb(Canvas& c, int s, RectF r) {
  const ARGB fill = s == Hover ? 0xFF565C66 : s == Pressed ? color::kAccent : s == Disabled ? 0xFF25272B : 0xFF3A3F48;
  const float radius = (r.width < r.height ? r.width : r.height) / 2 - 1;
  c.FillRoundRect(RectF{r.x + 1, r.y + 1, r.width - 2, r.height - 2}, radius, radius, Brush::SolidColor(fill));
}

void DrawPanelImages(SkinPainter& p) {
  // The vertical thumb is drawn by the core group; the horizontal one is its
  // mirror, 40 x 8 per frame.
  p.Strip("img_scroll_h.png", 40, 8, 4, Thumb);
}

}  // namespace

REGISTER_SKIN_GROUP("panels", DrawPanelImages)
