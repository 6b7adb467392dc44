// Images of the device list and the colour controls: the connection mode
// mark shown beside the battery of the selected device, and the thumb of
// the colour palette.
//
// Index
//   1. Connection mode  (2 frames: wired, wireless)
//   2. Palette thumb    (1 frame)

#include "SkinGroups.h"
#include "SkinPainter.h"

namespace {

using namespace skin;
using platform::Brush;
using platform::Canvas;
using platform::Path;
using platform::Pen;
using platform::PointF;
using platform::RectF;

// --- 1. Connection mode ----------------------------------------------------------------
// 24 x 24 glyphs in the light glyph colour: a cable ending in its plug for
// the wired link, three arcs over a dot for the wireless one.
void ConnectionMode(SkinPainter& p) {
  p.Strip("icon/icon_devmode.png", 24, 24, 2, [](Canvas& c, int f, RectF) {
    const Pen pen{color::kGlyph, 1.8f, {}};
    if (f == 0) {
      Path cable;
      cable.MoveTo(12, 23);
      cable.CurveTo(12, 19, 6, 19, 6, 15);
      cable.LineTo(6, 13);
      c.DrawPath(cable, pen);
      c.FillRoundRect(RectF{2.5f, 6, 7, 7.5f}, 1.5f, 1.5f, Brush::SolidColor(color::kGlyph));
      c.FillRect(RectF{3.8f, 2, 1.4f, 4.5f}, Brush::SolidColor(color::kGlyph));
      c.FillRect(RectF{6.8f, 2, 1.4f, 4.5f}, Brush::SolidColor(color::kGlyph));
      c.DrawLine(PointF{14, 8}, PointF{21, 8}, Pen{color::kPositive, 1.6f, {}});
      c.DrawLine(PointF{14, 12}, PointF{21, 12}, Pen{color::kPositive, 1.6f, {}});
    } else {
      c.FillEllipse(RectF{10, 17, 4, 4}, Brush::SolidColor(color::kGlyph));
      for (int i = 0; i < 3; ++i) {
        const float r = 5.0f + 4.0f * float(i);
        Path arc;
        arc.ArcTo(RectF{12 - r, 19 - r, 2 * r, 2 * r}, 225, 90);
        c.DrawPath(arc, pen);
      }
    }
  });
}

// --- 2. Palette thumb ------------------------------------------------------------------------
// A ring that stays visible over any colour of the field: white inside a
// dark edge, hollow so the picked colour shows through.
void PaletteThumb(SkinPainter& p) {
  p.Single("img_palette_thumb.png", 14, 14, [](Canvas& c, RectF) {
    c.DrawEllipse(RectF{1.5f, 1.5f, 11, 11}, Pen{0xE0101215, 3, {}});
    c.DrawEllipse(RectF{1.5f, 1.5f, 11, 11}, Pen{0xFFFFFFFF, 1.5f, {}});
  });
}

void DrawDeviceStateSkins(SkinPainter& p) {
  ConnectionMode(p);
  PaletteThumb(p);
}

}  // namespace

REGISTER_SKIN_GROUP("device-state", DrawDeviceStateSkins)
