// Images of the mouse-specific controls: the label box of the button map's
// callouts and the thumbs of the DPI and light sliders.
//
// Index
//   1. Button label box   (2 frames: normal, hovered or selected)
//   2. Slider thumbs      (4 frames: normal, hover, dragging, disabled)

#include "SkinGroups.h"
#include "SkinPainter.h"

namespace {

using namespace skin;
using platform::ARGB;
using platform::Brush;
using platform::Canvas;
using platform::Path;
using platform::Pen;
using platform::PointF;
using platform::RectF;

// --- 1. Button label box -------------------------------------------------------------
// 66 x 26, stretched as a nine-grid with corner 6 over the label. The
// highlighted frame is light enough for the dark label text drawn on it.
void LabelBox(SkinPainter& p) {
  p.Strip("img_key_bkg.png", 66, 26, 2, [](Canvas& c, int f, RectF r) {
    const RectF box{r.x + 0.5f, r.y + 0.5f, r.width - 1, r.height - 1};
    if (f == 0) {
      c.FillRoundRect(box, 5, 5, Brush::Linear({0, 0}, {0, r.height}, 0xF0262A31, 0xF01A1D22));
      c.DrawRoundRect(box, 5, 5, Pen{color::kBorderHigh, 1, {}});
      c.DrawLine(PointF{6, 1.5f}, PointF{r.width - 6, 1.5f}, Pen{0x1CFFFFFF, 1, {}});
    } else {
      c.FillRoundRect(box, 5, 5, Brush::Linear({0, 0}, {0, r.height}, color::kAccentLight, color::kAccent));
      c.DrawRoundRect(box, 5, 5, Pen{0xFFFF9A9E, 1, {}});
      c.DrawLine(PointF{6, 1.5f}, PointF{r.width - 6, 1.5f}, Pen{0x50FFFFFF, 1, {}});
    }
  });
}

// --- 2. Slider thumbs -----------------------------------------------------------------------
// The DPI thumb (16 x 13) stands under the tick scale and points up at it.
void DpiThumb(SkinPainter& p) {
  p.Strip("img_dpi_bar.png", 16, 13, 4, [](Canvas& c, int s, RectF) {
    Path body;
    body.MoveTo(8, 0.6f);
    body.LineTo(15.2f, 5.4f);
    body.LineTo(15.2f, 10.4f);
    body.CurveTo(15.2f, 11.6f, 14.4f, 12.4f, 13.2f, 12.4f);
    body.LineTo(2.8f, 12.4f);
    body.CurveTo(1.6f, 12.4f, 0.8f, 11.6f, 0.8f, 10.4f);
    body.LineTo(0.8f, 5.4f);
    body.Close();
    ARGB top = 0xFFF2F3F5, bottom = 0xFFC9CCD2, edge = 0xFF8A8F98, core = color::kAccent;
    if (s == Hover) {
      top = 0xFFFFFFFF;
      bottom = 0xFFE4E6EA;
      edge = color::kAccentLight;
    } else if (s == Pressed) {
      top = color::kAccentLight;
      bottom = color::kAccent;
      edge = 0xFFFFB0B3;
      core = 0xFFFFFFFF;
    } else if (s == Disabled) {
      top = 0xFF3A3C40;
      bottom = 0xFF2C2E32;
      edge = 0xFF25272B;
      core = 0xFF4D5158;
    }
    c.FillPath(body, Brush::Linear({0, 0}, {0, 13}, top, bottom));
    c.DrawPath(body, Pen{edge, 1, {}});
    c.FillRoundRect(RectF{6.5f, 6, 3, 4.5f}, 1, 1, Brush::SolidColor(core));
  });
}

// The light slider's round thumb (20 x 20).
void LightThumb(SkinPainter& p) {
  p.Strip("img_slider_bar.png", 20, 20, 4, [](Canvas& c, int s, RectF r) {
    if (s == Hover || s == Pressed) c.FillEllipse(r, Brush::SolidColor(0x30FA373E));
    const RectF ring{r.x + 2.5f, r.y + 2.5f, r.width - 5, r.height - 5};
    const ARGB fill = s == Disabled ? 0xFF3A3C40 : s == Pressed ? color::kAccentLight : 0xFFF2F3F5;
    c.FillEllipse(ring, Brush::SolidColor(fill));
    c.DrawEllipse(ring, Pen{s == Disabled ? 0xFF25272B : 0x60000000, 1, {}});
    const RectF core{ring.x + 4, ring.y + 4, ring.width - 8, ring.height - 8};
    c.FillEllipse(core, Brush::SolidColor(s == Disabled ? 0xFF25272B : s == Pressed ? 0xFFFFFFFF : color::kAccent));
  });
}

void DrawDeviceControls(SkinPainter& p) {
  LabelBox(p);
  DpiThumb(p);
  LightThumb(p);
}

}  // namespace

REGISTER_SKIN_GROUP("device_controls", DrawDeviceControls)
