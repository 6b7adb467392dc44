// skingen: draws the images of skins/theme1/ into the folder given on the
// command line. Every image is listed here with its size and frame count;
// strips run normal, hover, pressed, disabled (check boxes and radio buttons:
// the four unchecked states, then the four checked ones).
//
// Index
//   1. Glyphs
//   2. Buttons and fields
//   3. Check boxes, radio buttons, sliders, bars
//   4. Panels, backgrounds, lists, tabs
//   5. Pictures (logo, device card)
//
// The icon/ folder, the device controls and the model pictures under
// device/ are drawn by the groups of IconSkins.cpp, DeviceControlSkins.cpp
// and DevicePictures.cpp.

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <numbers>
#include <string_view>
#include <vector>

#include "ProgramIcon.h"
#include "SkinGroups.h"
#include "SkinPainter.h"

using namespace skin;
using platform::ARGB;
using platform::Brush;
using platform::Canvas;
using platform::FontSpec;
using platform::HAlign;
using platform::Path;
using platform::Pen;
using platform::PointF;
using platform::RectF;
using platform::TextFormat;
using platform::VAlign;

namespace {

// --- 1. Glyphs ------------------------------------------------------------------
// Each glyph is drawn centred in the frame box with the state's colour.
using Glyph = void (*)(Canvas&, RectF, ARGB);

PointF Centre(RectF r) { return PointF{r.x + r.width / 2, r.y + r.height / 2}; }

void GlyphClose(Canvas& c, RectF r, ARGB col) {
  PointF m = Centre(r);
  float s = std::min(r.width, r.height) * 0.2f;
  c.DrawLine({m.x - s, m.y - s}, {m.x + s, m.y + s}, Pen{col, 1.6f, {}});
  c.DrawLine({m.x + s, m.y - s}, {m.x - s, m.y + s}, Pen{col, 1.6f, {}});
}

void GlyphMinimise(Canvas& c, RectF r, ARGB col) {
  PointF m = Centre(r);
  float s = std::min(r.width, r.height) * 0.22f;
  c.DrawLine({m.x - s, m.y + 0.5f}, {m.x + s, m.y + 0.5f}, Pen{col, 1.6f, {}});
}

void GlyphMaximise(Canvas& c, RectF r, ARGB col) {
  PointF m = Centre(r);
  float s = std::min(r.width, r.height) * 0.2f;
  c.DrawRect(RectF{m.x - s, m.y - s, 2 * s, 2 * s}, Pen{col, 1.4f, {}});
}

void GlyphRestore(Canvas& c, RectF r, ARGB col) {
  PointF m = Centre(r);
  float s = std::min(r.width, r.height) * 0.16f;
  c.DrawRect(RectF{m.x - s - 2, m.y - s + 2, 2 * s, 2 * s}, Pen{col, 1.4f, {}});
  Path back;
  back.MoveTo(m.x - s + 1, m.y - s - 1);
  back.LineTo(m.x + s + 2, m.y - s - 1);
  back.LineTo(m.x + s + 2, m.y + s - 2);
  c.DrawPath(back, Pen{col, 1.4f, {}});
}

void GlyphSetting(Canvas& c, RectF r, ARGB col) {
  PointF m = Centre(r);
  float outer = std::min(r.width, r.height) * 0.28f;
  for (int i = 0; i < 8; ++i) {
    double a = i * std::numbers::pi / 4;
    c.DrawLine({m.x + float(std::cos(a)) * outer * 0.6f, m.y + float(std::sin(a)) * outer * 0.6f},
               {m.x + float(std::cos(a)) * outer, m.y + float(std::sin(a)) * outer}, Pen{col, 2.2f, {}});
  }
  c.DrawEllipse(RectF{m.x - outer * 0.62f, m.y - outer * 0.62f, outer * 1.24f, outer * 1.24f}, Pen{col, 1.6f, {}});
  c.FillEllipse(RectF{m.x - 1.5f, m.y - 1.5f, 3, 3}, Brush::SolidColor(col));
}

void GlyphReset(Canvas& c, RectF r, ARGB col) {
  PointF m = Centre(r);
  float s = std::min(r.width, r.height) * 0.26f;
  Path arc;
  arc.ArcTo(RectF{m.x - s, m.y - s, 2 * s, 2 * s}, -60, 300);
  c.DrawPath(arc, Pen{col, 1.6f, {}});
  // Arrow head at the arc's start.
  float ax = m.x + s * 0.5f, ay = m.y - s * 0.87f;
  Path head;
  head.MoveTo(ax + 3.5f, ay - 3);
  head.LineTo(ax + 0.5f, ay + 1.5f);
  head.LineTo(ax - 3.5f, ay - 2);
  c.DrawPath(head, Pen{col, 1.6f, {}});
}

void GlyphMore(Canvas& c, RectF r, ARGB col) {
  PointF m = Centre(r);
  for (int i = -1; i <= 1; ++i) c.FillEllipse(RectF{m.x + i * 5.0f - 1.5f, m.y - 1.5f, 3, 3}, Brush::SolidColor(col));
}

void Chevron(Canvas& c, RectF r, ARGB col, float dx, float dy) {
  PointF m = Centre(r);
  float s = std::min(r.width, r.height) * 0.16f;
  Path p;
  p.MoveTo(m.x - s * dy - s * dx, m.y - s * dx - s * dy);
  p.LineTo(m.x + s * dx, m.y + s * dy);
  p.MoveTo(m.x + s * dx, m.y + s * dy);
  p.LineTo(m.x + s * dy - s * dx, m.y + s * dx - s * dy);
  c.DrawPath(p, Pen{col, 1.8f, {}});
}

void GlyphPrevious(Canvas& c, RectF r, ARGB col) { Chevron(c, r, col, -1, 0); }
void GlyphNext(Canvas& c, RectF r, ARGB col) { Chevron(c, r, col, 1, 0); }
void GlyphUp(Canvas& c, RectF r, ARGB col) { Chevron(c, r, col, 0, -1); }
void GlyphDown(Canvas& c, RectF r, ARGB col) { Chevron(c, r, col, 0, 1); }

void GlyphReturn(Canvas& c, RectF r, ARGB col) {
  PointF m = Centre(r);
  float s = std::min(r.width, r.height) * 0.24f;
  c.DrawLine({m.x - s, m.y}, {m.x + s, m.y}, Pen{col, 1.8f, {}});
  Path head;
  head.MoveTo(m.x - s + s * 0.7f, m.y - s * 0.7f);
  head.LineTo(m.x - s, m.y);
  head.LineTo(m.x - s + s * 0.7f, m.y + s * 0.7f);
  c.DrawPath(head, Pen{col, 1.8f, {}});
}

void GlyphHelp(Canvas& c, RectF r, ARGB col) {
  c.DrawEllipse(RectF{r.x + 2.5f, r.y + 2.5f, r.width - 5, r.height - 5}, Pen{col, 1.2f, {}});
  FontSpec f;
  f.pixelSize = r.height * 0.55f;
  f.weight = 700;
  f.family = L"Open Sans";
  c.DrawText(L"?", r, f, col, TextFormat{HAlign::Center, VAlign::Center});
}

// An icon button strip: background by state, glyph in the state's colour.
void IconStrip(SkinPainter& p, const char* name, int size, Glyph glyph, bool closeIsRed = false) {
  p.Strip(name, size, size, 4, [&](Canvas& c, int s, RectF r) {
    if (closeIsRed && (s == Hover || s == Pressed)) {
      c.FillRoundRect(RectF{r.x + 1.5f, r.y + 1.5f, r.width - 3, r.height - 3}, 4, 4,
                      Brush::SolidColor(s == Hover ? color::kAccent : color::kAccentDark));
    } else {
      SkinPainter::IconBackground(c, r, s);
    }
    glyph(c, r, SkinPainter::GlyphColour(s));
  });
}

// --- 2. Buttons and fields ----------------------------------------------------------
void Buttons(SkinPainter& p) {
  p.Strip("img_button.png", 120, 36, 4, [](Canvas& c, int s, RectF r) { SkinPainter::ButtonBody(c, r, s, 5, false); });
  p.Strip("img_button_accent.png", 120, 36, 4,
          [](Canvas& c, int s, RectF r) { SkinPainter::ButtonBody(c, r, s, 5, true); });
  // Modifier keys and toggles: the pressed frame doubles as "selected".
  p.Strip("img_button2.png", 80, 32, 4, [](Canvas& c, int s, RectF r) { SkinPainter::ButtonBody(c, r, s, 4, false); });
  IconStrip(p, "sysbtn_close.png", 30, GlyphClose, true);
  IconStrip(p, "sysbtn_min.png", 30, GlyphMinimise);
  IconStrip(p, "sysbtn_maximize.png", 30, GlyphMaximise);
  IconStrip(p, "sysbtn_restore.png", 30, GlyphRestore);
  IconStrip(p, "sysbtn_setting.png", 30, GlyphSetting);
  IconStrip(p, "btn_close.png", 24, GlyphClose, true);
  IconStrip(p, "btn_reset.png", 24, GlyphReset);
  IconStrip(p, "btn_more.png", 24, GlyphMore);
  IconStrip(p, "img_return.png", 32, GlyphReturn);
  // The help button shows one frame in every state.
  p.Single("img_help.png", 20, 20, [](Canvas& c, RectF r) { GlyphHelp(c, r, color::kGlyph); });
  IconStrip(p, "img_btn_pre.png", 24, GlyphPrevious);
  IconStrip(p, "img_btn_next.png", 24, GlyphNext);
  IconStrip(p, "img_recorditem_up.png", 24, GlyphUp);
  IconStrip(p, "img_recorditem_down.png", 24, GlyphDown);
  p.Strip("img_edit.png", 60, 30, 4, [](Canvas& c, int s, RectF r) { SkinPainter::Field(c, r, s, 4); });
  // The arrow sits in the right 35 pixels, the combo box's right border,
  // behind a thin divider.
  p.Strip("img_combobox.png", 120, 30, 4, [](Canvas& c, int s, RectF r) {
    SkinPainter::Field(c, r, s, 4);
    c.DrawLine({r.x + r.width - 34.5f, r.y + 7}, {r.x + r.width - 34.5f, r.y + r.height - 7},
               Pen{s == Disabled ? 0xFF1E2024 : color::kBorder, 1, {}});
    GlyphDown(c, RectF{r.x + r.width - 34, r.y, 34, r.height}, SkinPainter::GlyphColour(s));
  });
}

// --- 3. Check boxes, radio buttons, sliders, bars ---------------------------------------
void Toggles(SkinPainter& p) {
  auto box = [](Canvas& c, int frame, RectF r, bool round) {
    const int s = frame % 4;
    const bool checked = frame >= 4;
    RectF b{r.x + 1.5f, r.y + 1.5f, r.width - 3, r.height - 3};
    float radius = round ? b.width / 2 : 3.5f;
    ARGB fill = s == Pressed ? 0xFF2A2E35 : s == Disabled ? 0xFF121316 : color::kField;
    ARGB border = s == Hover ? color::kAccent : s == Disabled ? 0xFF25272B : 0xFF4A4F58;
    if (checked && !round) {
      fill = s == Hover ? color::kAccentLight : s == Pressed ? color::kAccentDark : s == Disabled ? 0xFF3A3C40 : color::kAccent;
      border = fill;
    }
    if (checked && round) border = s == Disabled ? 0xFF3A3C40 : color::kAccent;
    c.FillRoundRect(b, radius, radius, Brush::SolidColor(fill));
    c.DrawRoundRect(b, radius, radius, Pen{border, 1.2f, {}});
    if (!checked) return;
    ARGB mark = s == Disabled ? 0xFF6A6D72 : 0xFFFFFFFF;
    if (round) {
      ARGB dot = s == Disabled ? 0xFF6A6D72 : s == Hover ? color::kAccentLight : color::kAccent;
      float d = b.width * 0.46f;
      c.FillEllipse(RectF{b.x + (b.width - d) / 2, b.y + (b.height - d) / 2, d, d}, Brush::SolidColor(dot));
      return;
    }
    Path tick;
    tick.MoveTo(b.x + b.width * 0.22f, b.y + b.height * 0.52f);
    tick.LineTo(b.x + b.width * 0.42f, b.y + b.height * 0.72f);
    tick.LineTo(b.x + b.width * 0.78f, b.y + b.height * 0.30f);
    c.DrawPath(tick, Pen{mark, 2, {}});
  };
  p.Strip("btn_checkbox.png", 18, 18, 8, [&](Canvas& c, int f, RectF r) { box(c, f, r, false); });
  p.Strip("btn_radiobox.png", 18, 18, 8, [&](Canvas& c, int f, RectF r) { box(c, f, r, true); });
  // Two frames: track, fill. The slider thumbs are drawn with the device
  // controls (DeviceControlSkins.cpp).
  auto bar = [](Canvas& c, int f, RectF r) {
    float radius = r.height / 2;
    if (f == 0)
      c.FillRoundRect(r, radius, radius, Brush::SolidColor(0xFF23262C));
    else
      c.FillRoundRect(r, radius, radius, Brush::Linear({r.x, 0}, {r.x + r.width, 0}, color::kAccentDark, color::kAccent));
  };
  p.Strip("img_dpi_track.png", 40, 12, 2, bar);
  p.Strip("img_progress.png", 40, 14, 2, bar);
}

// --- 4. Panels, backgrounds, lists, tabs -------------------------------------------------
void Panels(SkinPainter& p) {
  p.Single("main_bkg.png", 240, 240, [](Canvas& c, RectF r) {
    c.FillRect(r, Brush::Linear({0, 0}, {0, r.height}, 0xFF15171B, color::kWindow));
    c.DrawRect(RectF{0.5f, 0.5f, r.width - 1, r.height - 1}, Pen{color::kBorder, 1, {}});
    c.FillRect(RectF{1, 1, r.width - 2, 2}, Brush::SolidColor(color::kAccent));
  });
  // A page frame for the four-border nine-grid 10, 50, 260, 10: a caption
  // band in the top 50 pixels whose right 260 pixels carry a fading accent
  // rule; the columns between x 10 and 60 are uniform so they stretch.
  p.Single("img_area_bkg.png", 320, 100, [](Canvas& c, RectF r) {
    SkinPainter::Panel(c, r, 8, 0xF01A1C21, 0xF013151A, color::kBorder);
    c.FillRect(RectF{1, 1, r.width - 2, 48}, Brush::Linear({0, 1}, {0, 49}, 0x0CFFFFFF, 0x00FFFFFF));
    c.DrawLine({1, 49.5f}, {r.width - 1, 49.5f}, Pen{0xFF23262C, 1, {}});
    c.FillRect(RectF{r.width - 240, 48.5f, 230, 1.5f},
               Brush::Linear({r.width - 240, 0}, {r.width - 10, 0}, 0x00FA373E, 0xB0FA373E));
  });
  // The caption and footer bands of the main window and the captions of
  // the page frames: the same band may be stretched across the whole
  // window or drawn as a nine-grid, so it has square corners and only
  // horizontal features (a highlight under the top edge, a dark rule and a
  // faint accent rule along the bottom).
  p.Single("img_area_caption.png", 80, 36, [](Canvas& c, RectF r) {
    c.FillRect(r, Brush::Linear({0, 0}, {0, r.height}, color::kPanelHigh, color::kPanel));
    c.FillRect(RectF{r.x, r.y, r.width, 1}, Brush::SolidColor(0x1CFFFFFF));
    c.FillRect(RectF{r.x, r.y + r.height - 2, r.width, 1}, Brush::SolidColor(color::kBorder));
    c.FillRect(RectF{r.x, r.y + r.height - 1, r.width, 1}, Brush::SolidColor(0x40FA373E));
  });
  p.Single("img_area_content.png", 80, 80,
           [](Canvas& c, RectF r) { SkinPainter::Panel(c, r, 6, 0xFF111317, 0xFF0E1013, 0xFF1F2227); });
  p.Single("img_area.png", 80, 80, [](Canvas& c, RectF r) {
    SkinPainter::Panel(c, r, 8, color::kPanelHigh, color::kPanel, color::kBorder);
    c.FillRect(RectF{r.x + 10, r.y + 0.5f, r.width - 20, 1.5f}, Brush::SolidColor(0xC0FA373E));
  });
  p.Single("img_area2.png", 100, 100,
           [](Canvas& c, RectF r) { SkinPainter::Panel(c, r, 12, 0xFF181A1F, 0xFF111317, 0xFF2E323A); });
  p.Single("img_area3.png", 80, 80, [](Canvas& c, RectF r) {
    c.FillRoundRect(RectF{r.x + 0.5f, r.y + 0.5f, r.width - 1, r.height - 1}, 8, 8, Brush::SolidColor(0xFF111317));
    c.DrawRoundRect(RectF{r.x + 1.5f, r.y + 1.5f, r.width - 3, r.height - 3}, 8, 8, Pen{0xFF3A3F48, 1, {4, 3}});
  });
  p.Single("img_eventcaption.png", 200, 30,
           [](Canvas& c, RectF r) { SkinPainter::Panel(c, r, 4, 0xFF23272D, 0xFF1A1D22, color::kBorder); });
  p.Single("bk_prompt.png", 120, 120, [](Canvas& c, RectF r) {
    SkinPainter::Panel(c, r, 10, 0xFF1A1C21, 0xFF121418, 0x80FA373E);
    c.FillRect(RectF{r.x + 12, r.y + 1, r.width - 24, 2}, Brush::SolidColor(color::kAccent));
  });
  // A layered window's background: rounded, with per-pixel alpha.
  p.Single("img_upgrade_bkg.png", 400, 120, [](Canvas& c, RectF r) {
    c.FillRoundRect(r, 12, 12, Brush::SolidColor(0x60000000));
    SkinPainter::Panel(c, RectF{r.x + 3, r.y + 3, r.width - 6, r.height - 6}, 10, 0xF01C1F24, 0xF0121418, 0xC0FA373E);
  });
  // List rows are stretched over the whole row, so they carry only
  // horizontal features: a flat fill with a separator, or the accent tint
  // between two accent rules.
  p.Strip("img_list_bkg.png", 60, 36, 2, [](Canvas& c, int f, RectF r) {
    if (f == 0) {
      c.FillRect(r, Brush::Linear({0, 0}, {0, r.height}, 0xFF13151A, 0xFF101215));
      c.FillRect(RectF{r.x, r.y + r.height - 1, r.width, 1}, Brush::SolidColor(0xFF1F2227));
    } else {
      c.FillRect(r, Brush::Linear({0, 0}, {0, r.height}, 0x60FA373E, 0x38FA373E));
      c.FillRect(RectF{r.x, r.y, r.width, 1}, Brush::SolidColor(0xA0FA373E));
      c.FillRect(RectF{r.x, r.y + r.height - 1, r.width, 1}, Brush::SolidColor(0xA0FA373E));
    }
  });
  p.Single("img_combobox_bkg.png", 60, 60,
           [](Canvas& c, RectF r) { SkinPainter::Panel(c, r, 4, 0xFF191B20, 0xFF15171B, 0xFF33373F); });
  p.Single("img_tab_bkg.png", 70, 420, [](Canvas& c, RectF r) {
    c.FillRect(r, Brush::Linear({0, 0}, {r.width, 0}, 0xFF101215, 0xFF0D0F11));
    c.DrawLine({r.width - 0.5f, 0}, {r.width - 0.5f, r.height}, Pen{color::kBorder, 1, {}});
  });
  p.Strip("img_tabitem_bkg.png", 70, 70, 4, [](Canvas& c, int s, RectF r) {
    if (s == Hover) c.FillRect(r, Brush::SolidColor(0x14FFFFFF));
    if (s == Pressed) {
      c.FillRect(r, Brush::Linear({0, 0}, {r.width, 0}, 0x50FA373E, 0x08FA373E));
      c.FillRect(RectF{0, 8, 3, r.height - 16}, Brush::SolidColor(color::kAccent));
    }
  });
}

// --- 5. Pictures (logo, device) -------------------------------------------------------------
void Pictures(SkinPainter& p) {
  p.Single("logo.png", 260, 40, [](Canvas& c, RectF r) {
    // A double chevron mark followed by the word mark.
    for (int i = 0; i < 2; ++i) {
      Path mark;
      float x = 6 + i * 11.0f;
      mark.MoveTo(x, 8);
      mark.LineTo(x + 12, 20);
      mark.LineTo(x, 32);
      mark.LineTo(x + 6, 32);
      mark.LineTo(x + 18, 20);
      mark.LineTo(x + 6, 8);
      mark.Close();
      c.FillPath(mark, Brush::SolidColor(i == 0 ? color::kAccentDark : color::kAccent));
    }
    FontSpec f;
    f.family = L"Open Sans";
    f.weight = 700;
    f.pixelSize = 24;
    c.DrawText(L"ORVANE", RectF{44, r.y, r.width - 44, r.height}, f, 0xFFF2F3F5,
               TextFormat{HAlign::Left, VAlign::Center});
  });
  // The device list's card: the model's own picture is drawn over it, so
  // it holds no mouse of its own; nine-grid corner 12.
  p.Single("area_device.png", 120, 120, [](Canvas& c, RectF r) {
    SkinPainter::Panel(c, r, 12, 0xFF1A1D22, 0xFF101215, color::kBorder);
    c.FillRect(RectF{r.x + 12, r.y + 0.5f, r.width - 24, 1.5f}, Brush::SolidColor(0x90FA373E));
  });
  // A generic mouse, for previews that have no model picture.
  p.Single("img_mouse_preview.png", 360, 420, [](Canvas& c, RectF r) {
    c.FillEllipse(RectF{r.width / 2 - 150, r.height - 70, 300, 50}, Brush::SolidColor(0x28FA373E));
    SkinPainter::DeviceTopView(c, RectF{r.width / 2 - 110, 20, 220, 370}, true);
  });
}

}  // namespace

int main(int argc, char** argv) {
  // "skingen --icons <folder> <name>": the program icon as an icon theme
  // (hicolor sizes and SVG) for the launcher.
  if (argc == 4 && std::string_view(argv[1]) == "--icons")
    return WriteProgramIconTheme(argv[2], argv[3]) ? 0 : 1;
  if (argc != 2) {
    std::fprintf(stderr, "usage: skingen <output folder>\n       skingen --icons <folder> <icon name>\n");
    return 2;
  }
  std::filesystem::path folder(argv[1]);
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (ec) {
    std::fprintf(stderr, "skingen: cannot create %s: %s\n", folder.string().c_str(), ec.message().c_str());
    return 1;
  }
  // Start from a folder without images, so that an image the generator no
  // longer draws (or draws under another name) cannot linger from an
  // earlier run and hide a missing file from the skin test.
  std::vector<std::filesystem::path> stale;
  for (auto it = std::filesystem::recursive_directory_iterator(folder, ec);
       !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
    if (it->is_regular_file(ec) && it->path().extension() == ".png") stale.push_back(it->path());
  }
  for (const auto& file : stale) std::filesystem::remove(file, ec);
  SkinPainter painter(folder);
  Buttons(painter);
  Toggles(painter);
  Panels(painter);
  Pictures(painter);
  for (const SkinGroup& group : SkinGroups()) group.draw(painter);
  std::printf("skingen: %d images written to %s\n", painter.Written(), folder.string().c_str());
  return painter.Failed() ? 1 : 0;
}
