// Images of the popup menu and the combo box's drop-down: the menu's
// background, its item band (normal, hover, disabled), its check mark, and
// three small 4-frame item icons the gallery's menu shows. The combo box
// itself (img_combobox.png) and its list background (img_combobox_bkg.png)
// are drawn with the other fields in main.cpp.
//
// | file | frames | frame size | use |
// | img_menu_bkg.png | 1 | 60 x 60 | `MenuWnd` background, nine-grid 6 |
// | img_menu_item.png | 3 | 60 x 25 | `MenuItem` band: normal, hover, disabled; nine-grid 4 |
// | img_menu_check.png | 2 | 12 x 12 | `MenuItem` check mark: unchecked, checked |
// | img_menu_rename.png, img_menu_copy.png, img_menu_delete.png | 4 | 16 x 16 | item icons |

#include "SkinGroups.h"
#include "SkinPainter.h"

using namespace skin;
using platform::Brush;
using platform::Canvas;
using platform::Path;
using platform::Pen;
using platform::RectF;

namespace {

ARGB IconColour(int state) {
  return state == Disabled ? color::kGlyphOff : state == Normal ? color::kGlyph : color::kGlyphHot;
}

void Pencil(Canvas& c, RectF r, ARGB col) {
  Path body;
  body.MoveTo(r.x + 3, r.y + r.height - 3);
  body.LineTo(r.x + 4, r.y + r.height - 6);
  body.LineTo(r.x + r.width - 5, r.y + 3);
  body.LineTo(r.x + r.width - 3, r.y + 5);
  body.LineTo(r.x + 6, r.y + r.height - 4);
  body.Close();
  c.DrawPath(body, Pen{col, 1.3f, {}});
}

void Copy(Canvas& c, RectF r, ARGB col) {
  c.DrawRoundRect(RectF{r.x + 2.5f, r.y + 2.5f, 8, 9}, 1.5f, 1.5f, Pen{col, 1.2f, {}});
  c.FillRoundRect(RectF{r.x + 5.5f, r.y + 5.5f, 8, 9}, 1.5f, 1.5f, Brush::SolidColor(color::kPanel));
  c.DrawRoundRect(RectF{r.x + 5.5f, r.y + 5.5f, 8, 9}, 1.5f, 1.5f, Pen{col, 1.2f, {}});
}

void Bin(Canvas& c, RectF r, ARGB col) {
  c.DrawLine({r.x + 3, r.y + 4.5f}, {r.x + r.width - 3, r.y + 4.5f}, Pen{col, 1.3f, {}});
  c.DrawLine({r.x + 6.5f, r.y + 2.5f}, {r.x + r.width - 6.5f, r.y + 2.5f}, Pen{col, 1.3f, {}});
  Path can;
  can.MoveTo(r.x + 4.5f, r.y + 5);
  can.LineTo(r.x + 5.5f, r.y + r.height - 2.5f);
  can.LineTo(r.x + r.width - 5.5f, r.y + r.height - 2.5f);
  can.LineTo(r.x + r.width - 4.5f, r.y + 5);
  c.DrawPath(can, Pen{col, 1.3f, {}});
}

void DrawPopupImages(SkinPainter& p) {
  p.Single("img_menu_bkg.png", 60, 60, [](Canvas& c, RectF r) {
    SkinPainter::Panel(c, r, 6, 0xFF1B1E23, 0xFF15171B, 0xFF33373F);
  });
  p.Strip("img_menu_item.png", 60, 25, 3, [](Canvas& c, int s, RectF r) {
    if (s != 1) return;
    RectF band{r.x + 1, r.y + 1, r.width - 2, r.height - 2};
    c.FillRoundRect(band, 4, 4, Brush::Linear({r.x, 0}, {r.x + r.width, 0}, 0x66FA373E, 0x1AFA373E));
    c.FillRoundRect(RectF{r.x + 1, r.y + 5, 3, r.height - 10}, 1.5f, 1.5f, Brush::SolidColor(color::kAccent));
  });
  p.Strip("img_menu_check.png", 12, 12, 2, [](Canvas& c, int s, RectF r) {
    if (s == 0) return;
    Path tick;
    tick.MoveTo(r.x + 1.5f, r.y + 6);
    tick.LineTo(r.x + 4.5f, r.y + 9.5f);
    tick.LineTo(r.x + 10.5f, r.y + 2.5f);
    c.DrawPath(tick, Pen{color::kAccent, 2, {}});
  });
  p.Strip("img_menu_rename.png", 16, 16, 4, [](Canvas& c, int s, RectF r) { Pencil(c, r, IconColour(s)); });
  p.Strip("img_menu_copy.png", 16, 16, 4, [](Canvas& c, int s, RectF r) { Copy(c, r, IconColour(s)); });
  p.Strip("img_menu_delete.png", 16, 16, 4, [](Canvas& c, int s, RectF r) {
    Bin(c, r, s == Hover || s == Pressed ? color::kAccentLight : IconColour(s));
  });
}

}  // namespace

REGISTER_SKIN_GROUP("popups", DrawPopupImages)
