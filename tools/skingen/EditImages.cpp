// Skin images of the edit family: the up and down halves of a number
// field's stepper, four frames each (normal, hover, pressed, disabled).

#include "SkinGroups.h"

namespace {

using namespace skin;
using platform::Brush;
using platform::Path;

// One stepper half: a quiet key with a small triangle pointing up or down.
void Stepper(Canvas& c, int s, RectF r, bool up) {
  const ARGB fill = s == Hover ? 0xFF2A3A4A : s == Pressed ? color::kAccentDark : 0xFF1E2A36;
  c.FillRoundRect(RectF{r.x + 1, r.y + 1, r.width - 2, r.height - 2}, 3, 3, Brush::SolidColor(fill));
  const ARGB glyph = s == Pressed ? color::kGlyphHot : SkinPainter::GlyphColour(s);
  const float cx = r.x + r.width / 2, cy = r.y + r.height / 2;
  const float half = 4, rise = 2.5f;
  Path arrow;
  arrow.MoveTo(cx - half, up ? cy + rise : cy - rise);
  arrow.LineTo(cx + half, up ? cy + rise : cy - rise);
  arrow.LineTo(cx, up ? cy - rise : cy + rise);
  arrow.Close();
  c.FillPath(arrow, Brush::SolidColor(glyph));
}

void DrawEditImages(SkinPainter& p) {
  p.Strip("img_spin_up.png", 18, 14, 4, [](Canvas& c, int s, RectF r) { Stepper(c, s, r, true); });
  p.Strip("img_spin_down.png", 18, 14, 4, [](Canvas& c, int s, RectF r) { Stepper(c, s, r, false); });
}

}  // namespace

REGISTER_SKIN_GROUP("edit", DrawEditImages)
