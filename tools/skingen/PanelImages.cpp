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

  // The list's edit icon, a pencil: normal, hover.
  p.Strip("img_list_edit.png", 20, 20, 2, [](Canvas& c, int f, RectF r) {
    const ARGB ink = f == 1 ? color::kGlyphHot : color::kGlyph;
    platform::Path body;
    body.MoveTo(r.x + 5, r.y + 13);
    body.LineTo(r.x + 13, r.y + 5);
    body.LineTo(r.x + 15, r.y + 7);
    body.LineTo(r.x + 7, r.y + 15);
    body.Close();
    c.FillPath(body, Brush::SolidColor(ink));
    platform::Path tip;
    tip.MoveTo(r.x + 5, r.y + 13);
    tip.LineTo(r.x + 7, r.y + 15);
    tip.LineTo(r.x + 4, r.y + 16);
    tip.Close();
    c.FillPath(tip, Brush::SolidColor(f == 1 ? color::kAccentLight : color::kAccent));
  });
}

}  // namespace

REGISTER_SKIN_GROUP("panels", DrawPanelImages)
