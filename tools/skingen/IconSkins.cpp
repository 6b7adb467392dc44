// The icon/ folder: tab icons, button icons, the battery gauge and the event
// icons of the macro list. Icons are line drawings on a transparent ground
// in the state's glyph colour, so they sit on any button or panel.
//
// Index
//   1. Tab icons          (3 frames: normal, hover, selected)
//   2. Button icons       (4 frames: normal, hover, pressed, disabled)
//   3. Battery gauge
//   4. Event icons        (8 frames: other, key, mouse, delay; each normal, selected)
//   5. Program icon       (window and tray, beside the folder: orvane.png)

#include <cmath>
#include <numbers>

#include "ProgramIcon.h"
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

using IconGlyph = void (*)(Canvas&, RectF, ARGB);

Pen Stroke(ARGB colour, float width = 1.8f) { return Pen{colour, width, {}}; }

// --- 1. Tab icons --------------------------------------------------------------------
// Drawn in a 32 x 32 box; the selected frame is in the accent colour.
ARGB TabColour(int frame) { return frame == 2 ? color::kAccent : frame == 1 ? color::kGlyphHot : color::kGlyph; }

void TabHome(Canvas& c, RectF, ARGB col) {
  Path roof;
  roof.MoveTo(5, 15);
  roof.LineTo(16, 6);
  roof.LineTo(27, 15);
  c.DrawPath(roof, Stroke(col, 2.2f));
  Path house;
  house.MoveTo(8.5f, 13);
  house.LineTo(8.5f, 26);
  house.LineTo(23.5f, 26);
  house.LineTo(23.5f, 13);
  c.DrawPath(house, Stroke(col));
  c.FillRoundRect(RectF{13.5f, 18, 5, 8}, 1, 1, Brush::SolidColor(col));
}

// A mouse outline seen from above, its left button filled.
void MouseOutline(Canvas& c, RectF box, ARGB col, float width, bool leftFilled) {
  const float r = box.width / 2;
  c.DrawRoundRect(box, r, r, Stroke(col, width));
  const float cx = box.x + r;
  const float split = box.y + box.height * 0.42f;
  c.DrawLine({cx, box.y + 1}, {cx, split}, Stroke(col, width * 0.8f));
  c.DrawLine({box.x + 1, split}, {box.x + box.width - 1, split}, Stroke(col, width * 0.8f));
  if (leftFilled) {
    Path left;
    left.MoveTo(cx - 1.2f, split - 1.2f);
    left.LineTo(box.x + width + 0.2f, split - 1.2f);
    left.LineTo(box.x + width + 0.2f, box.y + r);
    left.ArcTo(RectF{box.x + width, box.y + width, 2 * (r - width), 2 * (r - width)}, 180, 90);
    left.LineTo(cx - 1.2f, box.y + width + 0.2f);
    left.Close();
    c.FillPath(left, Brush::SolidColor(col));
  }
}

void TabMouseKey(Canvas& c, RectF, ARGB col) { MouseOutline(c, RectF{9.5f, 4.5f, 13, 23}, col, 1.8f, true); }

// A dial with its needle turned up: sensitivity.
void TabMouseDpi(Canvas& c, RectF, ARGB col) {
  Path arc;
  arc.ArcTo(RectF{5, 7, 22, 22}, 150, 240);
  c.DrawPath(arc, Stroke(col, 2));
  for (int i = 0; i <= 4; ++i) {
    const double a = (150 + i * 60) * std::numbers::pi / 180;
    const float ca = float(std::cos(a)), sa = float(std::sin(a));
    c.DrawLine({16 + ca * 7.5f, 18 + sa * 7.5f}, {16 + ca * 9.5f, 18 + sa * 9.5f}, Stroke(col, 1.4f));
  }
  c.DrawLine({16, 18}, {21.5f, 11.5f}, Stroke(col, 2.2f));
  c.FillEllipse(RectF{13.5f, 15.5f, 5, 5}, Brush::SolidColor(col));
}

// A list of steps with a play mark: a recorded sequence.
void TabMacro(Canvas& c, RectF, ARGB col) {
  for (int i = 0; i < 3; ++i) {
    const float y = 9.5f + i * 6.5f;
    c.FillEllipse(RectF{5, y - 1.5f, 3, 3}, Brush::SolidColor(col));
    c.DrawLine({11, y}, {i == 2 ? 17.0f : 22.0f, y}, Stroke(col));
  }
  Path play;
  play.MoveTo(20, 19);
  play.LineTo(28, 23.5f);
  play.LineTo(20, 28);
  play.Close();
  c.FillPath(play, Brush::SolidColor(col));
}

// A glowing point with rays: lighting.
void TabLight(Canvas& c, RectF, ARGB col) {
  c.DrawEllipse(RectF{10.5f, 10.5f, 11, 11}, Stroke(col, 2));
  c.FillEllipse(RectF{14, 14, 4, 4}, Brush::SolidColor(col));
  for (int i = 0; i < 8; ++i) {
    const double a = i * std::numbers::pi / 4;
    const float ca = float(std::cos(a)), sa = float(std::sin(a));
    const float inner = 8.5f, outer = i % 2 ? 11.0f : 12.5f;
    c.DrawLine({16 + ca * inner, 16 + sa * inner}, {16 + ca * outer, 16 + sa * outer}, Stroke(col, 1.8f));
  }
}

// Three sliders: the performance settings.
void TabMouseSet(Canvas& c, RectF, ARGB col) {
  const float knobs[3] = {20, 11, 17};
  for (int i = 0; i < 3; ++i) {
    const float y = 9 + i * 7.0f;
    c.DrawLine({5, y}, {27, y}, Stroke(col, 1.6f));
    c.FillRoundRect(RectF{knobs[i] - 2.5f, y - 3.5f, 5, 7}, 1.5f, 1.5f, Brush::SolidColor(col));
  }
}

void TabIcon(SkinPainter& p, const char* name, IconGlyph glyph) {
  p.Strip(name, 32, 32, 3, [&](Canvas& c, int f, RectF r) {
    if (f == 2) {
      // The selected icon stands in a soft accent halo.
      c.FillEllipse(RectF{2, 2, 28, 28}, Brush::SolidColor(0x1FFA373E));
    }
    glyph(c, r, TabColour(f));
  });
}

// --- 2. Button icons ----------------------------------------------------------------------
// 16 x 16, drawn over a button body, so no background of their own.
void ArrowUp(Canvas& c, RectF, ARGB col) {
  Path p;
  p.MoveTo(3.5f, 10.5f);
  p.LineTo(8, 5.5f);
  p.LineTo(12.5f, 10.5f);
  c.DrawPath(p, Stroke(col, 2));
}

ARGB RecordColour(int state) {
  switch (state) {
    case Hover:
      return color::kAccentLight;
    case Pressed:
      return color::kAccentDark;
    case Disabled:
      return color::kGlyphOff;
    default:
      return color::kAccent;
  }
}

void Record(Canvas& c, int state) {
  c.DrawEllipse(RectF{1.5f, 1.5f, 13, 13}, Stroke(state == Disabled ? color::kGlyphOff : 0xCCFFFFFF, 1.2f));
  c.FillEllipse(RectF{4, 4, 8, 8}, Brush::SolidColor(RecordColour(state)));
}

void StopRecord(Canvas& c, int state) {
  c.DrawEllipse(RectF{1.5f, 1.5f, 13, 13}, Stroke(RecordColour(state), 1.4f));
  c.FillRoundRect(RectF{5, 5, 6, 6}, 1, 1, Brush::SolidColor(state == Disabled ? color::kGlyphOff : color::kGlyphHot));
}

// A screen with a pointer on it: the desktop's own mouse settings (no
// maker's mark, just the idea).
void SystemMouse(Canvas& c, RectF) {
  c.FillRoundRect(RectF{3.5f, 5.5f, 25, 17}, 2, 2, Brush::Linear({0, 5}, {0, 23}, 0xFF2C3037, 0xFF1B1E23));
  c.DrawRoundRect(RectF{3.5f, 5.5f, 25, 17}, 2, 2, Stroke(color::kGlyph, 1.4f));
  c.DrawLine({16, 22.5f}, {16, 26}, Stroke(color::kGlyph, 1.6f));
  c.DrawLine({10, 26.5f}, {22, 26.5f}, Stroke(color::kGlyph, 1.6f));
  Path pointer;
  pointer.MoveTo(13, 9);
  pointer.LineTo(13, 20);
  pointer.LineTo(15.6f, 17.6f);
  pointer.LineTo(17.4f, 21.4f);
  pointer.LineTo(19, 20.6f);
  pointer.LineTo(17.3f, 16.9f);
  pointer.LineTo(20.8f, 16.6f);
  pointer.Close();
  c.FillPath(pointer, Brush::SolidColor(color::kGlyphHot));
  c.DrawPath(pointer, Pen{color::kAccent, 1, {}});
}

// --- 3. Battery gauge ---------------------------------------------------------------------
// Outline 42 x 22 (body 38 wide, contact 4); the level strip (30 x 14) is
// drawn at (4, 4) and cut to the level, the charging mark beside it.
void Battery(SkinPainter& p) {
  p.Single("icon/icon_battery_bkg.png", 42, 22, [](Canvas& c, RectF) {
    const RectF body{0.75f, 0.75f, 37.5f, 20.5f};
    c.FillRoundRect(body, 4, 4, Brush::SolidColor(0xFF0F1114));
    c.DrawRoundRect(body, 4, 4, Stroke(color::kGlyph, 1.5f));
    c.FillRoundRect(RectF{38.5f, 7, 3.5f, 8}, 1.5f, 1.5f, Brush::SolidColor(color::kGlyph));
    // The inner track the level strip covers.
    c.FillRoundRect(RectF{4, 4, 30, 14}, 2, 2, Brush::SolidColor(0xFF1B1E23));
  });
  p.Single("icon/icon_batteryvalue.png", 30, 14, [](Canvas& c, RectF r) {
    c.FillRoundRect(r, 2, 2, Brush::Linear({0, 0}, {0, r.height}, color::kPositive, color::kPositiveDark));
    c.FillRect(RectF{1, 1.5f, r.width - 2, 2}, Brush::SolidColor(0x40FFFFFF));
  });
  p.Single("icon/icon_charge.png", 12, 18, [](Canvas& c, RectF) {
    Path bolt;
    bolt.MoveTo(7.5f, 0.8f);
    bolt.LineTo(1.2f, 10.2f);
    bolt.LineTo(5.6f, 10.2f);
    bolt.LineTo(4.2f, 17.2f);
    bolt.LineTo(10.8f, 7.4f);
    bolt.LineTo(6.4f, 7.4f);
    bolt.Close();
    c.FillPath(bolt, Brush::Linear({0, 0}, {0, 18}, 0xFFFFE08A, color::kCharge));
    c.DrawPath(bolt, Pen{0xFF7A5200, 0.8f, {}});
  });
}

// --- 4. Event icons -----------------------------------------------------------------------
// 20 x 20 frames, in pairs: 0/1 other events, 2/3 key press and release,
// 4/5 mouse button press and release, 6/7 delays. The selected frame of a
// pair is brighter and carries the accent.
void EventOther(Canvas& c, ARGB col, ARGB accent) {
  Path diamond;
  diamond.MoveTo(10, 3.5f);
  diamond.LineTo(16.5f, 10);
  diamond.LineTo(10, 16.5f);
  diamond.LineTo(3.5f, 10);
  diamond.Close();
  c.DrawPath(diamond, Stroke(col, 1.6f));
  c.FillEllipse(RectF{8, 8, 4, 4}, Brush::SolidColor(accent));
}

// A key cap seen slightly from above: the cap's rim, its top face raised
// towards the back, and a letter on it.
void EventKey(Canvas& c, ARGB col, ARGB accent) {
  c.DrawRoundRect(RectF{2.5f, 2.5f, 15, 15}, 3, 3, Stroke(col, 1.4f));
  c.DrawRoundRect(RectF{5, 4.2f, 10, 9.6f}, 2, 2, Stroke(col, 1));
  c.DrawLine({3.4f, 16.6f}, {5.4f, 13.6f}, Stroke(col, 1));
  c.DrawLine({16.6f, 16.6f}, {14.6f, 13.6f}, Stroke(col, 1));
  Path letter;
  letter.MoveTo(7.6f, 11.6f);
  letter.LineTo(10, 6.2f);
  letter.LineTo(12.4f, 11.6f);
  letter.MoveTo(8.5f, 9.8f);
  letter.LineTo(11.5f, 9.8f);
  c.DrawPath(letter, Stroke(accent, 1.3f));
}

void EventMouse(Canvas& c, ARGB col, ARGB accent) {
  MouseOutline(c, RectF{5.5f, 2.5f, 9, 15}, col, 1.4f, false);
  c.FillRoundRect(RectF{9.3f, 4.2f, 1.4f, 3}, 0.7f, 0.7f, Brush::SolidColor(accent));
}

void EventDelay(Canvas& c, ARGB col, ARGB accent) {
  c.DrawEllipse(RectF{3, 3, 14, 14}, Stroke(col, 1.5f));
  c.DrawLine({10, 10}, {10, 5.8f}, Stroke(col, 1.5f));
  c.DrawLine({10, 10}, {13.2f, 11.6f}, Stroke(accent, 1.5f));
}

void EventIcons(SkinPainter& p) {
  p.Strip("icon/icon_list.png", 20, 20, 8, [](Canvas& c, int f, RectF) {
    const bool selected = f % 2 == 1;
    const ARGB col = selected ? color::kGlyphHot : color::kGlyph;
    const ARGB accent = selected ? color::kAccentLight : color::kAccent;
    switch (f / 2) {
      case 0:
        EventOther(c, col, accent);
        break;
      case 1:
        EventKey(c, col, accent);
        break;
      case 2:
        EventMouse(c, col, accent);
        break;
      default:
        EventDelay(c, col, accent);
        break;
    }
  });
}

// --- 5. Program icon ----------------------------------------------------------------------
// The same drawing as the launcher's icon theme (ProgramIcon.h).
void ProgramIcon(SkinPainter& p) {
  p.Single("orvane.png", 64, 64, [](Canvas& c, RectF r) { DrawProgramIcon(c, r.width); });
}

void DrawIcons(SkinPainter& p) {
  TabIcon(p, "icon/tab_home.png", TabHome);
  TabIcon(p, "icon/tab_mousekey.png", TabMouseKey);
  TabIcon(p, "icon/tab_mousedpi.png", TabMouseDpi);
  TabIcon(p, "icon/tab_macro.png", TabMacro);
  TabIcon(p, "icon/tab_light.png", TabLight);
  TabIcon(p, "icon/tab_mouseset.png", TabMouseSet);

  p.Strip("icon/icon_arrow_up.png", 16, 16, 4,
          [](Canvas& c, int s, RectF r) { ArrowUp(c, r, SkinPainter::GlyphColour(s)); });
  p.Strip("icon/icon_rec.png", 16, 16, 4, [](Canvas& c, int s, RectF) { Record(c, s); });
  p.Strip("icon/icon_stop_rec.png", 16, 16, 4, [](Canvas& c, int s, RectF) { StopRecord(c, s); });
  p.Single("icon/icon_windows.png", 32, 32, SystemMouse);

  Battery(p);
  EventIcons(p);
  ProgramIcon(p);
}

}  // namespace

REGISTER_SKIN_GROUP("icons", DrawIcons)
