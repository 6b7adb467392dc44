// Images of the button family beyond those main.cpp draws (push buttons,
// check boxes, radio buttons and the two-frame progress strip stay there):
//
// | file | frames | frame size | use |
// |---|---|---|---|
// | img_progress_track.png | 1 | 60 x 10 | `MProgress` track image, 12-pixel ends |
// | img_progress_fill.png | 1 | 60 x 10 | `MProgress` fill image, 12-pixel ends |
// | img_switch.png | 4 | 44 x 22 | `CSwitchButton`: off, off hovered, on, disabled |

#include "SkinGroups.h"
#include "SkinPainter.h"

namespace {

using namespace skin;
using platform::Brush;
using platform::Canvas;
using platform::Pen;
using platform::RectF;

void ProgressImages(SkinPainter& p) {
  // Both ends are round within the 12 pixels the bar keeps unscaled.
  p.Single("img_progress_track.png", 60, 10, [](Canvas& c, RectF r) {
    const RectF body{r.x + 0.5f, r.y + 0.5f, r.width - 1, r.height - 1};
    c.FillRoundRect(body, 4.5f, 4.5f, Brush::SolidColor(color::kField));
    c.DrawRoundRect(body, 4.5f, 4.5f, Pen{color::kBorder, 1, {}});
  });
  p.Single("img_progress_fill.png", 60, 10, [](Canvas& c, RectF r) {
    const RectF body{r.x + 1, r.y + 1, r.width - 2, r.height - 2};
    c.FillRoundRect(body, 4, 4, Brush::Linear({0, r.y}, {0, r.y + r.height}, color::kAccentLight, color::kAccentDark));
    c.DrawLine({r.x + 5, r.y + 2.5f}, {r.x + r.width - 5, r.y + 2.5f}, Pen{0x50FFFFFF, 1, {}});
  });
}

void SwitchImage(SkinPainter& p) {
  // The switch shows its pressed frame while on, so frame 2 is "on".
  p.Strip("img_switch.png", 44, 22, 4, [](Canvas& c, int s, RectF r) {
    const bool on = s == Pressed;
    const RectF track{r.x + 1.5f, r.y + 2.5f, r.width - 3, r.height - 5};
    const float radius = track.height / 2;
    const ARGB fill = on ? color::kAccent : s == Disabled ? 0xFF131417 : color::kField;
    const ARGB border = on ? color::kAccentLight : s == Hover ? color::kBorderHigh
                        : s == Disabled ? 0xFF1E2024 : color::kBorder;
    c.FillRoundRect(track, radius, radius, Brush::SolidColor(fill));
    c.DrawRoundRect(track, radius, radius, Pen{border, 1, {}});
    const float d = r.height - 6;
    const float x = on ? r.x + r.width - 3 - d : r.x + 3;
    const ARGB knob = s == Disabled ? 0xFF3A3C40 : on || s == Hover ? color::kGlyphHot : color::kGlyph;
    c.FillEllipse(RectF{x, r.y + 3, d, d}, Brush::SolidColor(knob));
  });
}

void ButtonImages(SkinPainter& p) {
  ProgressImages(p);
  SwitchImage(p);
}

}  // namespace

REGISTER_SKIN_GROUP("buttons", ButtonImages)
