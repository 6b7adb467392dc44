// Text measuring and fonts on Pango and fontconfig.
//
// Index
//   1. Per-thread state and the layout cache
//   2. Measuring
//   3. Application fonts and the CJK fallback

#include <fontconfig/fontconfig.h>
#include <pango/pangofc-fontmap.h>

#include <atomic>
#include <list>
#include <mutex>
#include <string>
#include <unordered_map>

#include "platform/Text.h"
#include "platform/draw/TextEngine.h"

namespace platform {

namespace {

std::atomic<int> g_fontGeneration{0};  // bumped when application fonts change
std::atomic<int> g_lcid{2052};

const char* CjkFallbackFamily() {
  switch (g_lcid.load()) {
    case 1028:
    case 3076:
    case 5124:
      return "Noto Sans CJK TC";
    case 1041:
      return "Noto Sans CJK JP";
    case 1042:
      return "Noto Sans CJK KR";
    default:
      return "Noto Sans CJK SC";
  }
}

// --- 1. Per-thread state and the layout cache ----------------------------------
// Pango objects are not thread-safe; each thread keeps its own context and a
// small cache of layouts, because shaping the same short captions again on
// every repaint costs more than the drawing itself.
class ThreadText {
 public:
  ThreadText() { Rebuild(); }
  ~ThreadText() {
    Clear();
    if (context_) g_object_unref(context_);
  }

  PangoContext* Context() {
    if (generation_ != g_fontGeneration.load()) Rebuild();
    return context_;
  }

  PangoLayout* Layout(std::wstring_view text, const FontSpec& font, float width, bool wrap,
                      bool ellipsis, PangoAlignment align) {
    PangoContext* ctx = Context();
    if (!(width > 0 && (wrap || ellipsis))) {
      width = 0;
      wrap = ellipsis = false;
      align = PANGO_ALIGN_LEFT;
    }
    std::string utf8 = ToUtf8(text);
    std::string key = utf8;
    key += '\x1f';
    key += ToUtf8(font.family);
    key += '\x1f' + std::to_string(font.pixelSize) + '/' + std::to_string(font.weight) + '/' +
           std::to_string(int(font.italic)) + std::to_string(int(font.underline)) +
           std::to_string(int(font.strikeout)) + '/' + std::to_string(width) + '/' +
           std::to_string(int(wrap)) + std::to_string(int(ellipsis)) + std::to_string(int(align)) +
           '/' + CjkFallbackFamily();
    auto it = index_.find(key);
    if (it != index_.end()) {
      lru_.splice(lru_.begin(), lru_, it->second);
      return it->second->second;
    }
    PangoLayout* layout = pango_layout_new(ctx);
    std::string families = ToUtf8(font.family) + "," + CjkFallbackFamily();
    PangoFontDescription* desc = pango_font_description_new();
    pango_font_description_set_family(desc, families.c_str());
    pango_font_description_set_absolute_size(desc, double(font.pixelSize) * PANGO_SCALE);
    pango_font_description_set_weight(desc, PangoWeight(font.weight));
    pango_font_description_set_style(desc, font.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    pango_layout_set_font_description(layout, desc);
    pango_font_description_free(desc);
    if (font.underline || font.strikeout) {
      PangoAttrList* attrs = pango_attr_list_new();
      if (font.underline) pango_attr_list_insert(attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
      if (font.strikeout) pango_attr_list_insert(attrs, pango_attr_strikethrough_new(TRUE));
      pango_layout_set_attributes(layout, attrs);
      pango_attr_list_unref(attrs);
    }
    if (width > 0 && (wrap || ellipsis)) {
      pango_layout_set_width(layout, int(width * PANGO_SCALE));
      pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
      if (ellipsis) pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
      if (ellipsis && !wrap) pango_layout_set_height(layout, -1);  // one line
      pango_layout_set_alignment(layout, align);
    }
    pango_layout_set_text(layout, utf8.c_str(), int(utf8.size()));
    lru_.emplace_front(key, layout);
    index_[key] = lru_.begin();
    while (lru_.size() > kCacheSize) {
      g_object_unref(lru_.back().second);
      index_.erase(lru_.back().first);
      lru_.pop_back();
    }
    return layout;
  }

 private:
  static constexpr size_t kCacheSize = 512;

  void Clear() {
    for (auto& e : lru_) g_object_unref(e.second);
    lru_.clear();
    index_.clear();
  }

  void Rebuild() {
    Clear();
    generation_ = g_fontGeneration.load();
    PangoFontMap* map = pango_cairo_font_map_get_default();
    if (PANGO_IS_FC_FONT_MAP(map)) pango_fc_font_map_config_changed(PANGO_FC_FONT_MAP(map));
    if (context_) g_object_unref(context_);
    context_ = pango_font_map_create_context(map);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
    // Unhinted metrics keep measured widths independent of the position.
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    pango_cairo_context_set_font_options(context_, options);
    cairo_font_options_destroy(options);
  }

  PangoContext* context_ = nullptr;
  int generation_ = -1;
  std::list<std::pair<std::string, PangoLayout*>> lru_;
  std::unordered_map<std::string, std::list<std::pair<std::string, PangoLayout*>>::iterator> index_;
};

ThreadText& Text() {
  thread_local ThreadText text;
  return text;
}

// Byte offset in the UTF-8 form of text of the character index.
int ByteOffset(std::wstring_view text, int index) {
  index = std::max(0, std::min(index, int(text.size())));
  return int(ToUtf8(text.substr(0, size_t(index))).size());
}

}  // namespace

namespace text {
PangoLayout* GetLayout(std::wstring_view text, const FontSpec& font, float width, bool wrap,
                       bool ellipsis, PangoAlignment align) {
  return Text().Layout(text, font, width, wrap, ellipsis, align);
}
}  // namespace text

// --- 2. Measuring ---------------------------------------------------------------
SizeF MeasureText(std::wstring_view text, const FontSpec& font, float maxWidth) {
  PangoLayout* layout =
      text::GetLayout(text, font, maxWidth, maxWidth > 0, false, PANGO_ALIGN_LEFT);
  PangoRectangle logical;
  pango_layout_get_extents(layout, nullptr, &logical);
  return SizeF{float(logical.width) / PANGO_SCALE, float(logical.height) / PANGO_SCALE};
}

FontMetrics GetFontMetrics(const FontSpec& font) {
  PangoLayout* layout = text::GetLayout(L"Ag", font, 0, false, false, PANGO_ALIGN_LEFT);
  PangoLayoutIter* iter = pango_layout_get_iter(layout);
  int baseline = pango_layout_iter_get_baseline(iter);
  pango_layout_iter_free(iter);
  PangoRectangle logical;
  pango_layout_get_extents(layout, nullptr, &logical);
  FontMetrics m;
  m.ascent = float(baseline) / PANGO_SCALE;
  m.height = float(logical.height) / PANGO_SCALE;
  m.descent = m.height - m.ascent;
  return m;
}

float TextCaretX(std::wstring_view text, const FontSpec& font, int index) {
  PangoLayout* layout = text::GetLayout(text, font, 0, false, false, PANGO_ALIGN_LEFT);
  PangoRectangle pos;
  pango_layout_index_to_pos(layout, ByteOffset(text, index), &pos);
  return float(pos.x) / PANGO_SCALE;
}

int TextIndexAtX(std::wstring_view text, const FontSpec& font, float x) {
  PangoLayout* layout = text::GetLayout(text, font, 0, false, false, PANGO_ALIGN_LEFT);
  int byteIndex = 0;
  int trailing = 0;
  PangoRectangle logical;
  pango_layout_get_extents(layout, nullptr, &logical);
  pango_layout_xy_to_index(layout, int(x * PANGO_SCALE), logical.height / 2, &byteIndex, &trailing);
  const char* utf8 = pango_layout_get_text(layout);
  int chars = int(g_utf8_pointer_to_offset(utf8, utf8 + byteIndex)) + trailing;
  return std::min(chars, int(text.size()));
}

namespace {

// Pango's break attributes of the text, one per character plus one.
std::vector<PangoLogAttr> LogAttrs(std::wstring_view text) {
  const std::string utf8 = ToUtf8(text);
  std::vector<PangoLogAttr> attrs(text.size() + 1);
  pango_get_log_attrs(utf8.c_str(), int(utf8.size()), -1, pango_language_get_default(), attrs.data(),
                      int(attrs.size()));
  return attrs;
}

}  // namespace

std::vector<int> TextCursorStops(std::wstring_view text) {
  std::vector<int> stops;
  const std::vector<PangoLogAttr> attrs = LogAttrs(text);
  for (size_t i = 0; i < attrs.size(); ++i) {
    if (i == 0 || i == text.size() || attrs[i].is_cursor_position) stops.push_back(int(i));
  }
  return stops;
}

std::vector<int> TextWordStops(std::wstring_view text) {
  std::vector<int> stops;
  const std::vector<PangoLogAttr> attrs = LogAttrs(text);
  for (size_t i = 0; i < attrs.size(); ++i) {
    if (i == 0 || i == text.size() || attrs[i].is_word_start || attrs[i].is_word_end) stops.push_back(int(i));
  }
  return stops;
}

bool CanRenderText(std::wstring_view text, const FontSpec& font) {
  PangoLayout* layout = text::GetLayout(text, font, 0, false, false, PANGO_ALIGN_LEFT);
  return pango_layout_get_unknown_glyphs_count(layout) == 0;
}

// --- 3. Application fonts and the CJK fallback -------------------------------------
std::wstring AddApplicationFont(const std::filesystem::path& file) {
  static std::mutex mutex;
  std::lock_guard lock(mutex);
  std::string path = file.string();
  FcConfig* config = FcConfigGetCurrent();
  if (!FcConfigAppFontAddFile(config, reinterpret_cast<const FcChar8*>(path.c_str()))) return {};
  std::wstring family;
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FILE, reinterpret_cast<const FcChar8*>(path.c_str()));
  FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, nullptr);
  FcFontSet* set = FcFontList(config, pattern, objects);
  if (set && set->nfont > 0) {
    FcChar8* name = nullptr;
    if (FcPatternGetString(set->fonts[0], FC_FAMILY, 0, &name) == FcResultMatch)
      family = FromUtf8(reinterpret_cast<const char*>(name));
  }
  if (set) FcFontSetDestroy(set);
  FcObjectSetDestroy(objects);
  FcPatternDestroy(pattern);
  g_fontGeneration.fetch_add(1);
  return family;
}

bool FontFamilyExists(std::wstring_view family) {
  std::string name = ToUtf8(family);
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
  FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, nullptr);
  FcFontSet* set = FcFontList(FcConfigGetCurrent(), pattern, objects);
  bool found = set && set->nfont > 0;
  if (set) FcFontSetDestroy(set);
  FcObjectSetDestroy(objects);
  FcPatternDestroy(pattern);
  return found;
}

void SetTextLanguage(int lcid) { g_lcid.store(lcid); }

}  // namespace platform
