// Skin images of panels, lists and tabs: the scroll thumbs, the list's row
// marks and the tab items.

#include "SkinGroups.h"

namespace {

using namespace skin;
using platform::Brush;

// One thumb frame: a rounded bar that stands out from the dark track,
// brighter on hover, accent while dragged.
void Thumb(Canvas& c, int s, RectF r) {
  const ARGB fill = s == Hover ? 0xFF8A919C : s == Pressed ? color::kAccent : s == Disabled ? 0xFF2A2D32 : 0xFF60666F;
  const float radius = (r.width < r.height ? r.width : r.height) / 2 - 1;
  c.FillRoundRect(RectF{r.x + 1, r.y + 1, r.width - 2, r.height - 2}, radius, radius, Brush::SolidColor(fill));
}

void DrawPanelImages(SkinPainter& p) {
  // Scroll thumbs: 8 x 40 upright, 40 x 8 lying, per frame.
  p.Strip("img_scroll_v.png", 8, 40, 4, Thumb);
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

  // Tab icons, 32 x 32 per frame: normal, hover, selected. Each glyph has a
  // solid square at its centre in the state's colour.
  auto tabColour = [](int f) { return f == 2 ? color::kAccent : f == 1 ? color::kGlyphHot : color::kGlyph; };
  p.Strip("img_tab_keys.png", 32, 32, 3, [&](Canvas& c, int f, RectF r) {
    // A mouse seen from above: body outline, the two buttons' split.
    const ARGB ink = tabColour(f);
    c.DrawRoundRect(RectF{r.x + 8.5f, r.y + 3.5f, 15, 25}, 7.5f, 7.5f, platform::Pen{ink, 2, {}});
    c.DrawLine({r.x + 16, r.y + 4}, {r.x + 16, r.y + 12}, platform::Pen{ink, 2, {}});
    c.FillRect(RectF{r.x + 14, r.y + 14, 4, 4}, Brush::SolidColor(ink));
  });
  p.Strip("img_tab_macro.png", 32, 32, 3, [&](Canvas& c, int f, RectF r) {
    // A keyboard key with a play mark.
    const ARGB ink = tabColour(f);
    c.DrawRoundRect(RectF{r.x + 4.5f, r.y + 7.5f, 23, 17}, 3, 3, platform::Pen{ink, 2, {}});
    c.FillRect(RectF{r.x + 14, r.y + 14, 4, 4}, Brush::SolidColor(ink));
  });
  p.Strip("img_tab_dpi.png", 32, 32, 3, [&](Canvas& c, int f, RectF r) {
    // A gauge: an arc with a needle.
    const ARGB ink = tabColour(f);
    platform::Path arc;
    arc.ArcTo(RectF{r.x + 4, r.y + 6, 24, 24}, 180, 180);
    c.DrawPath(arc, platform::Pen{ink, 2, {}});
    c.DrawLine({r.x + 16, r.y + 18}, {r.x + 23, r.y + 10}, platform::Pen{ink, 2, {}});
    c.FillRect(RectF{r.x + 14, r.y + 14, 4, 4}, Brush::SolidColor(ink));
  });
  p.Strip("img_tab_light.png", 32, 32, 3, [&](Canvas& c, int f, RectF r) {
    // A light: a ring of rays around a centre.
    const ARGB ink = tabColour(f);
    c.DrawEllipse(RectF{r.x + 9, r.y + 9, 14, 14}, platform::Pen{ink, 2, {}});
    for (int i = 0; i < 4; ++i) {
      const float dx = i % 2 == 0 ? 0.0f : (i == 1 ? 12.0f : -12.0f);
      const float dy = i % 2 == 1 ? 0.0f : (i == 0 ? -12.0f : 12.0f);
      c.DrawLine({r.x + 16 + dx * 0.75f, r.y + 16 + dy * 0.75f}, {r.x + 16 + dx, r.y + 16 + dy},
                 platform::Pen{ink, 2, {}});
    }
    c.FillRect(RectF{r.x + 14, r.y + 14, 4, 4}, Brush::SolidColor(ink));
  });
  // A tab's extra button: a small cross, normal and hover.
  p.Strip("img_tab_button.png", 14, 14, 2, [](Canvas& c, int f, RectF r) {
    if (f == 1) c.FillEllipse(r, Brush::SolidColor(0x40FFFFFF));
    const platform::Pen pen{f == 1 ? color::kGlyphHot : color::kGlyph, 1.5f, {}};
    c.DrawLine({r.x + 4, r.y + 4}, {r.x + 10, r.y + 10}, pen);
    c.DrawLine({r.x + 10, r.y + 4}, {r.x + 4, r.y + 10}, pen);
  });
}

}  // namespace

REGISTER_SKIN_GROUP("panels", DrawPanelImages)
