// Device contexts over the frame buffer, GDI objects, fills, text and copies from bitmap
// sections.
#include "platform/gdi.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/window_internal.h"

namespace ce {

namespace {

using internal::Window;

struct GdiObject {
  enum class Kind { kBrush, kFont, kBitmap } kind;
  bool stock = false;
  COLORREF colour = 0;  // brushes; CLR_INVALID for the null brush
  std::unique_ptr<fonts::Font> font;
  LOGFONT logfont{};
  int32_t width = 0, height = 0, stride = 0;  // bitmaps
  std::unique_ptr<uint16_t[]> pixels;
};

struct DeviceContext {
  HWND window = nullptr;
  bool memory = false;
  GdiObject* bitmap = nullptr;         // memory contexts
  int32_t origin_x = 0, origin_y = 0;  // frame-buffer position of the client's (0, 0)
  std::vector<RECT> clip;              // frame-buffer coordinates
  COLORREF text_colour = RGB(0, 0, 0);
  COLORREF bk_colour = RGB(255, 255, 255);
  int bk_mode = OPAQUE;
  HFONT font = nullptr;
};

std::unordered_map<uintptr_t, std::unique_ptr<GdiObject>>& Objects() {
  static std::unordered_map<uintptr_t, std::unique_ptr<GdiObject>> objects;
  return objects;
}
uintptr_t& NextObject() {
  static uintptr_t next = 0x5000;
  return next;
}

HGDIOBJ Add(std::unique_ptr<GdiObject> object) {
  const uintptr_t id = NextObject()++;
  Objects().emplace(id, std::move(object));
  return reinterpret_cast<HGDIOBJ>(id);
}

GdiObject* Get(HGDIOBJ handle) {
  auto it = Objects().find(reinterpret_cast<uintptr_t>(handle));
  return it == Objects().end() ? nullptr : it->second.get();
}

std::unordered_map<uintptr_t, std::unique_ptr<DeviceContext>>& Contexts() {
  static std::unordered_map<uintptr_t, std::unique_ptr<DeviceContext>> contexts;
  return contexts;
}

DeviceContext* Dc(HDC handle) {
  auto it = Contexts().find(reinterpret_cast<uintptr_t>(handle));
  return it == Contexts().end() ? nullptr : it->second.get();
}

HDC NewDc(std::unique_ptr<DeviceContext> dc) {
  static uintptr_t next = 0x9000;
  const uintptr_t id = next++;
  Contexts().emplace(id, std::move(dc));
  return reinterpret_cast<HDC>(id);
}

HGDIOBJ Stock(int which) {
  static std::map<int, HGDIOBJ> stock;
  auto it = stock.find(which);
  if (it != stock.end()) return it->second;
  auto object = std::make_unique<GdiObject>();
  object->stock = true;
  if (which == SYSTEM_FONT) {
    object->kind = GdiObject::Kind::kFont;
    object->logfont.lfHeight = 13;
    object->logfont.lfWeight = 400;
    std::char_traits<char16_t>::copy(object->logfont.lfFaceName, u"Tahoma", 7);
    object->font = fonts::Font::Open({u"Tahoma", 13, 400, false, 0});
  } else {
    object->kind = GdiObject::Kind::kBrush;
    static const COLORREF colours[] = {RGB(255, 255, 255), RGB(192, 192, 192), RGB(128, 128, 128),
                                       RGB(64, 64, 64),    RGB(0, 0, 0),       CLR_INVALID};
    object->colour = which >= 0 && which <= NULL_BRUSH ? colours[which] : CLR_INVALID;
  }
  const HGDIOBJ handle = Add(std::move(object));
  stock[which] = handle;
  return handle;
}

// The pixels a context draws into.
fonts::Surface Target(const DeviceContext& dc) {
  if (dc.memory) {
    if (dc.bitmap == nullptr) return {};
    return {dc.bitmap->pixels.get(), dc.bitmap->width, dc.bitmap->height, dc.bitmap->stride};
  }
  return internal::FrameSurface();
}

std::vector<RECT> ClipFor(const DeviceContext& dc, const RECT& area) {
  if (dc.memory) {
    const fonts::Surface s = Target(dc);
    const RECT r = Intersect(area, {0, 0, s.width, s.height});
    return r.Empty() ? std::vector<RECT>{} : std::vector<RECT>{r};
  }
  return internal::IntersectAll(dc.clip, area);
}

void MarkDirty(const DeviceContext& dc, const RECT& area) {
  if (dc.memory) return;
  internal::Frame().dirty = Union(internal::Frame().dirty, area);
}

void FillArea(DeviceContext& dc, const RECT& area_client, uint16_t pixel) {
  const fonts::Surface s = Target(dc);
  if (s.pixels == nullptr) return;
  const RECT area = Offset(area_client, dc.origin_x, dc.origin_y);
  for (const RECT& r : ClipFor(dc, area)) {
    for (int32_t y = r.top; y < r.bottom; ++y) {
      uint16_t* row = reinterpret_cast<uint16_t*>(reinterpret_cast<uint8_t*>(s.pixels) +
                                                  static_cast<ptrdiff_t>(y) * s.stride);
      std::fill(row + r.left, row + r.right, pixel);
    }
    MarkDirty(dc, r);
  }
}

fonts::Font* FontFor(const DeviceContext& dc) {
  fonts::Font* font = internal::FontOf(dc.font);
  return font != nullptr ? font : internal::DefaultFont();
}

}  // namespace

namespace internal {

FrameBuffer& Frame() {
  static FrameBuffer frame;
  return frame;
}

fonts::Surface FrameSurface() {
  FrameBuffer& f = Frame();
  if (f.pixels.empty()) return {};
  return {f.pixels.data(), kScreenWidth, kFrameHeight, kScreenWidth * 2};
}

std::vector<RECT> Subtract(const std::vector<RECT>& from, const RECT& hole) {
  std::vector<RECT> out;
  for (const RECT& r : from) {
    const RECT cut = Intersect(r, hole);
    if (cut.Empty()) {
      out.push_back(r);
      continue;
    }
    if (r.top < cut.top) out.push_back({r.left, r.top, r.right, cut.top});
    if (cut.bottom < r.bottom) out.push_back({r.left, cut.bottom, r.right, r.bottom});
    if (r.left < cut.left) out.push_back({r.left, cut.top, cut.left, cut.bottom});
    if (cut.right < r.right) out.push_back({cut.right, cut.top, r.right, cut.bottom});
  }
  return out;
}

std::vector<RECT> IntersectAll(const std::vector<RECT>& parts, const RECT& with) {
  std::vector<RECT> out;
  for (const RECT& r : parts) {
    const RECT i = Intersect(r, with);
    if (!i.Empty()) out.push_back(i);
  }
  return out;
}

std::vector<RECT> VisibleParts(const Window& w, const RECT& area, bool include_frame) {
  if (!Visible(w)) return {};
  RECT bounds = Intersect(area, include_frame ? w.rect : w.client);
  for (const Window* p = w.parent ? Find(w.parent) : nullptr; p != nullptr;
       p = p->parent ? Find(p->parent) : nullptr) {
    bounds = Intersect(bounds, p->client);
  }
  bounds = Intersect(bounds, {0, 0, kScreenWidth, kFrameHeight});
  if (bounds.Empty()) return {};
  std::vector<RECT> parts{bounds};
  // As on the handheld, every window clips its children, WS_CLIPCHILDREN or not: a screen that
  // repaints its picture, or redraws it outside a paint, never draws over its controls.
  {
    for (HWND c : w.children) {
      const Window* child = Find(c);
      if (child != nullptr && (child->style & WS_VISIBLE)) parts = Subtract(parts, child->rect);
    }
  }
  // Everything stacked above this window or above any of its ancestors hides it.
  const Window* node = &w;
  while (node != nullptr) {
    const std::vector<HWND>& siblings =
        node->parent != nullptr ? Find(node->parent)->children : TopLevelWindows();
    auto it = std::find(siblings.begin(), siblings.end(), node->handle);
    if (it != siblings.end()) {
      for (++it; it != siblings.end(); ++it) {
        const Window* above = Find(*it);
        if (above != nullptr && (above->style & WS_VISIBLE)) parts = Subtract(parts, above->rect);
      }
    }
    node = node->parent != nullptr ? Find(node->parent) : nullptr;
  }
  return parts;
}

fonts::Font* DefaultFont() {
  return Get(Stock(SYSTEM_FONT))->font.get();
}

fonts::Font* FontOf(HFONT handle) {
  GdiObject* object = Get(handle);
  if (object == nullptr || object->kind != GdiObject::Kind::kFont) return nullptr;
  return object->font.get();
}

void DrawFrame(const Window& w) {
  // Caption bars: the program's plum with white bold text, a 1-pixel ink border round it all.
  std::vector<RECT> parts = VisibleParts(w, w.rect, true);
  parts = Subtract(parts, w.client);
  if (parts.empty()) return;
  fonts::Surface s = FrameSurface();
  auto fill = [&](const RECT& area, uint16_t pixel) {
    for (const RECT& r : IntersectAll(parts, area)) {
      for (int32_t y = r.top; y < r.bottom; ++y) {
        std::fill_n(&s.pixels[static_cast<size_t>(y) * kScreenWidth + r.left], r.Width(), pixel);
      }
    }
  };
  const uint16_t ink = ColorTo565(RGB(0, 24, 66));
  fill(w.rect, ink);
  const RECT bar{w.rect.left + 1, w.rect.top + 1, w.rect.right - 1, w.rect.top + kCaptionHeight};
  fill(bar, ColorTo565(RGB(112, 64, 146)));
  static std::unique_ptr<fonts::Font> caption_font =
      fonts::Font::Open({u"Tahoma", 13, 700, false, 0});
  if (caption_font != nullptr) {
    const int32_t y = bar.top + (bar.Height() - caption_font->CellHeight()) / 2;
    caption_font->Draw(s, parts, bar.left + 5, y, w.text, 0xFFFF);
  }
  Frame().dirty = Union(Frame().dirty, w.rect);
}

}  // namespace internal

uint16_t ColorTo565(COLORREF c) {
  const unsigned r = (GetRValue(c) * 31u + 127u) / 255u;
  const unsigned g = (GetGValue(c) * 63u + 127u) / 255u;
  const unsigned b = (GetBValue(c) * 31u + 127u) / 255u;
  return static_cast<uint16_t>((r << 11) | (g << 5) | b);
}

HDC GetDC(HWND window) {
  auto dc = std::make_unique<DeviceContext>();
  dc->window = window;
  if (window == nullptr) {
    dc->clip = {{0, 0, kScreenWidth, kFrameHeight}};
  } else {
    Window* w = internal::Find(window);
    if (w == nullptr) return nullptr;
    dc->origin_x = w->client.left;
    dc->origin_y = w->client.top;
    dc->clip = internal::VisibleParts(*w, w->client);
  }
  return NewDc(std::move(dc));
}

int ReleaseDC(HWND, HDC dc) {
  return Contexts().erase(reinterpret_cast<uintptr_t>(dc)) ? 1 : 0;
}

HDC BeginPaint(HWND window, PAINTSTRUCT* paint) {
  Window* w = internal::Find(window);
  if (w == nullptr || paint == nullptr) return nullptr;
  const RECT invalid = w->invalid;
  const bool erase = w->erase;
  w->invalid = {};
  w->erase = false;
  HDC dc = GetDC(window);
  DeviceContext* d = Dc(dc);
  d->clip = internal::IntersectAll(d->clip, Offset(invalid, d->origin_x, d->origin_y));
  paint->hdc = dc;
  paint->rcPaint = invalid;
  paint->fErase = FALSE;
  if (erase)
    paint->fErase =
        SendMessage(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) ? FALSE : TRUE;
  return dc;
}

BOOL EndPaint(HWND window, const PAINTSTRUCT* paint) {
  if (paint == nullptr) return FALSE;
  ReleaseDC(window, paint->hdc);
  return TRUE;
}

HDC CreateCompatibleDC(HDC) {
  auto dc = std::make_unique<DeviceContext>();
  dc->memory = true;
  return NewDc(std::move(dc));
}

BOOL DeleteDC(HDC dc) {
  return Contexts().erase(reinterpret_cast<uintptr_t>(dc)) ? TRUE : FALSE;
}

HBRUSH CreateSolidBrush(COLORREF colour) {
  auto object = std::make_unique<GdiObject>();
  object->kind = GdiObject::Kind::kBrush;
  object->colour = colour & 0xFFFFFF;
  return Add(std::move(object));
}

HGDIOBJ GetStockObject(int which) {
  return Stock(which);
}

BOOL DeleteObject(HGDIOBJ handle) {
  GdiObject* object = Get(handle);
  if (object == nullptr || object->stock) return FALSE;
  // A context still holding it would draw with freed memory.
  for (auto& [id, dc] : Contexts()) {
    if (dc->font == handle) dc->font = nullptr;
    if (dc->bitmap == object) dc->bitmap = nullptr;
  }
  Objects().erase(reinterpret_cast<uintptr_t>(handle));
  return TRUE;
}

HGDIOBJ SelectObject(HDC handle, HGDIOBJ object_handle) {
  DeviceContext* dc = Dc(handle);
  GdiObject* object = Get(object_handle);
  if (dc == nullptr || object == nullptr) return nullptr;
  if (object->kind == GdiObject::Kind::kFont) {
    const HGDIOBJ old = dc->font != nullptr ? dc->font : Stock(SYSTEM_FONT);
    dc->font = object_handle;
    return old;
  }
  if (object->kind == GdiObject::Kind::kBitmap && dc->memory) {
    HGDIOBJ old = nullptr;
    for (auto& [id, o] : Objects()) {
      if (o.get() == dc->bitmap) old = reinterpret_cast<HGDIOBJ>(id);
    }
    dc->bitmap = object;
    return old != nullptr ? old : object_handle;
  }
  return nullptr;
}

COLORREF GetBrushColor(HBRUSH brush) {
  GdiObject* object = Get(brush);
  if (object == nullptr || object->kind != GdiObject::Kind::kBrush) return CLR_INVALID;
  return object->colour;
}

int FillRect(HDC handle, const RECT* rect, HBRUSH brush) {
  DeviceContext* dc = Dc(handle);
  const COLORREF colour = GetBrushColor(brush);
  if (dc == nullptr || rect == nullptr || colour == CLR_INVALID) return 0;
  FillArea(*dc, *rect, ColorTo565(colour));
  return 1;
}

int FrameRect(HDC handle, const RECT* rect, HBRUSH brush) {
  DeviceContext* dc = Dc(handle);
  const COLORREF colour = GetBrushColor(brush);
  if (dc == nullptr || rect == nullptr || colour == CLR_INVALID || rect->Empty()) return 0;
  const RECT& r = *rect;
  const uint16_t pixel = ColorTo565(colour);
  FillArea(*dc, {r.left, r.top, r.right, r.top + 1}, pixel);
  FillArea(*dc, {r.left, r.bottom - 1, r.right, r.bottom}, pixel);
  FillArea(*dc, {r.left, r.top, r.left + 1, r.bottom}, pixel);
  FillArea(*dc, {r.right - 1, r.top, r.right, r.bottom}, pixel);
  return 1;
}

void FillSolidRect(HDC handle, const RECT& rect, COLORREF colour) {
  if (DeviceContext* dc = Dc(handle)) FillArea(*dc, rect, ColorTo565(colour));
}

void DrawHorizontalLine(HDC handle, int32_t x, int32_t y, int32_t length, COLORREF colour) {
  FillSolidRect(handle, {x, y, x + length, y + 1}, colour);
}

void DrawVerticalLine(HDC handle, int32_t x, int32_t y, int32_t length, COLORREF colour) {
  FillSolidRect(handle, {x, y, x + 1, y + length}, colour);
}

HFONT CreateFontIndirect(const LOGFONT* logfont) {
  if (logfont == nullptr) return nullptr;
  fonts::FontSpec request;
  request.face = logfont->lfFaceName;
  request.height = logfont->lfHeight;
  request.weight = logfont->lfWeight == 0 ? 400 : logfont->lfWeight;
  request.italic = logfont->lfItalic != 0;
  request.escapement = logfont->lfEscapement;
  auto font = fonts::Font::Open(request);
  if (font == nullptr) return nullptr;
  auto object = std::make_unique<GdiObject>();
  object->kind = GdiObject::Kind::kFont;
  object->logfont = *logfont;
  object->font = std::move(font);
  return Add(std::move(object));
}

BOOL GetTextMetrics(HDC handle, TEXTMETRIC* metrics) {
  DeviceContext* dc = Dc(handle);
  if (dc == nullptr || metrics == nullptr) return FALSE;
  fonts::Font* font = FontFor(*dc);
  if (font == nullptr) return FALSE;
  metrics->tmHeight = font->CellHeight();
  metrics->tmAscent = font->Ascent();
  metrics->tmDescent = font->Descent();
  metrics->tmInternalLeading = font->InternalLeading();
  metrics->tmExternalLeading = 0;
  metrics->tmAveCharWidth = font->AverageWidth();
  metrics->tmMaxCharWidth = font->MaxWidth();
  metrics->tmWeight = font->Spec().weight;
  return TRUE;
}

COLORREF SetTextColor(HDC handle, COLORREF colour) {
  DeviceContext* dc = Dc(handle);
  if (dc == nullptr) return CLR_INVALID;
  return std::exchange(dc->text_colour, colour);
}

COLORREF GetTextColor(HDC handle) {
  DeviceContext* dc = Dc(handle);
  return dc != nullptr ? dc->text_colour : CLR_INVALID;
}

COLORREF SetBkColor(HDC handle, COLORREF colour) {
  DeviceContext* dc = Dc(handle);
  if (dc == nullptr) return CLR_INVALID;
  return std::exchange(dc->bk_colour, colour);
}

int SetBkMode(HDC handle, int mode) {
  DeviceContext* dc = Dc(handle);
  if (dc == nullptr || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
  return std::exchange(dc->bk_mode, mode);
}

int GetBkMode(HDC handle) {
  DeviceContext* dc = Dc(handle);
  return dc != nullptr ? dc->bk_mode : 0;
}

BOOL ExtTextOut(HDC handle, int32_t x, int32_t y, UINT options, const RECT* rect,
                const char16_t* text, UINT count, const int*) {
  DeviceContext* dc = Dc(handle);
  if (dc == nullptr) return FALSE;
  fonts::Font* font = FontFor(*dc);
  if (options & ETO_OPAQUE && rect != nullptr) FillArea(*dc, *rect, ColorTo565(dc->bk_colour));
  if (text == nullptr || count == 0 || font == nullptr) return TRUE;
  const std::u16string_view view(text, count);
  const bool turned = font->Spec().escapement == 900;
  const int32_t advance = font->Advance(view);
  RECT box = turned ? RECT{x, y - advance, x + font->CellHeight(), y}
                    : RECT{x, y, x + advance, y + font->CellHeight()};
  if (dc->bk_mode == OPAQUE && !(options & ETO_OPAQUE)) {
    FillArea(*dc, box, ColorTo565(dc->bk_colour));
  }
  std::vector<RECT> clip = ClipFor(*dc, Offset(box, dc->origin_x, dc->origin_y));
  if ((options & ETO_CLIPPED) && rect != nullptr) {
    clip = internal::IntersectAll(clip, Offset(*rect, dc->origin_x, dc->origin_y));
  }
  if (clip.empty()) return TRUE;
  font->Draw(Target(*dc), clip, x + dc->origin_x, y + dc->origin_y, view,
             ColorTo565(dc->text_colour));
  for (const RECT& r : clip) MarkDirty(*dc, r);
  return TRUE;
}

BOOL GetTextExtentPoint32(HDC handle, const char16_t* text, int count, SIZE* size) {
  DeviceContext* dc = Dc(handle);
  if (dc == nullptr || size == nullptr) return FALSE;
  fonts::Font* font = FontFor(*dc);
  if (font == nullptr) return FALSE;
  const std::u16string_view view(text != nullptr ? text : u"", text != nullptr ? count : 0);
  *size = {font->Advance(view), font->CellHeight()};
  return TRUE;
}

namespace {

// Splits text into the lines DrawText shows: at line feeds, and with word breaking at the
// last blank that keeps a line within `width` (a word longer than the width is cut).
std::vector<std::u16string_view> BreakLines(std::u16string_view text, const fonts::Font& font,
                                            int32_t width, bool word_break) {
  std::vector<std::u16string_view> lines;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(u'\n', start);
    if (end == std::u16string_view::npos) end = text.size();
    std::u16string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == u'\r') line.remove_suffix(1);
    while (word_break && !line.empty() && font.Advance(line) > width) {
      size_t cut = line.size();
      while (cut > 0 && font.Advance(line.substr(0, cut)) > width) --cut;
      size_t blank = line.substr(0, cut + 1).find_last_of(u' ');
      size_t take =
          blank != std::u16string_view::npos && blank > 0 ? blank : std::max<size_t>(cut, 1);
      lines.push_back(line.substr(0, take));
      line.remove_prefix(take);
      while (!line.empty() && line.front() == u' ') line.remove_prefix(1);
    }
    lines.push_back(line);
    if (end == text.size()) break;
    start = end + 1;
  }
  return lines;
}

}  // namespace

int DrawText(HDC handle, const char16_t* text, int count, RECT* rect, UINT format) {
  DeviceContext* dc = Dc(handle);
  if (dc == nullptr || text == nullptr || rect == nullptr) return 0;
  fonts::Font* font = FontFor(*dc);
  if (font == nullptr) return 0;
  std::u16string_view view =
      count < 0 ? std::u16string_view(text) : std::u16string_view(text, count);
  const bool single = (format & DT_SINGLELINE) != 0;
  std::vector<std::u16string_view> lines;
  if (single) {
    lines.push_back(view);
  } else {
    lines = BreakLines(view, *font, rect->Width(), (format & DT_WORDBREAK) != 0);
  }
  const int32_t line_height = font->CellHeight();
  const int32_t total = line_height * static_cast<int32_t>(lines.size());
  if (format & DT_CALCRECT) {
    int32_t widest = 0;
    for (auto line : lines) widest = std::max(widest, font->Advance(line));
    rect->right = rect->left + widest;
    rect->bottom = rect->top + total;
    return total;
  }
  int32_t y = rect->top;
  if (single && (format & DT_VCENTER)) y = rect->top + (rect->Height() - line_height) / 2;
  if (single && (format & DT_BOTTOM)) y = rect->bottom - line_height;
  for (auto line : lines) {
    const int32_t width = font->Advance(line);
    int32_t x = rect->left;
    if (format & DT_CENTER) x = rect->left + (rect->Width() - width) / 2;
    if (format & DT_RIGHT) x = rect->right - width;
    ExtTextOut(handle, x, y, (format & DT_NOCLIP) ? 0 : ETO_CLIPPED, rect, line.data(),
               static_cast<UINT>(line.size()), nullptr);
    y += line_height;
  }
  return total;
}

HBITMAP CreateDIBSection565(int32_t width, int32_t height, uint16_t** pixels, int32_t* stride) {
  if (width <= 0 || height <= 0 || width > 65535 || height > 65535) return nullptr;
  auto object = std::make_unique<GdiObject>();
  object->kind = GdiObject::Kind::kBitmap;
  object->width = width;
  object->height = height;
  object->stride = ((width * 2) + 3) & ~3;
  const size_t count = static_cast<size_t>(object->stride / 2) * static_cast<size_t>(height);
  object->pixels.reset(new (std::nothrow) uint16_t[count]());
  if (object->pixels == nullptr) return nullptr;
  if (pixels != nullptr) *pixels = object->pixels.get();
  if (stride != nullptr) *stride = object->stride;
  return Add(std::move(object));
}

BOOL BitBlt(HDC destination, int32_t x, int32_t y, int32_t width, int32_t height, HDC source,
            int32_t source_x, int32_t source_y, DWORD) {
  DeviceContext* to = Dc(destination);
  DeviceContext* from = Dc(source);
  if (to == nullptr || from == nullptr) return FALSE;
  const fonts::Surface src = Target(*from);
  const fonts::Surface dst = Target(*to);
  if (src.pixels == nullptr || dst.pixels == nullptr) return FALSE;
  // The part of the source that exists, moved to where it lands.
  RECT wanted{source_x + from->origin_x, source_y + from->origin_y,
              source_x + from->origin_x + width, source_y + from->origin_y + height};
  wanted = Intersect(wanted, {0, 0, src.width, src.height});
  const int32_t dx = x + to->origin_x - (source_x + from->origin_x);
  const int32_t dy = y + to->origin_y - (source_y + from->origin_y);
  for (const RECT& r : ClipFor(*to, Offset(wanted, dx, dy))) {
    for (int32_t row = r.top; row < r.bottom; ++row) {
      const auto* in =
          reinterpret_cast<const uint16_t*>(reinterpret_cast<const uint8_t*>(src.pixels) +
                                            static_cast<ptrdiff_t>(row - dy) * src.stride);
      auto* out = reinterpret_cast<uint16_t*>(reinterpret_cast<uint8_t*>(dst.pixels) +
                                              static_cast<ptrdiff_t>(row) * dst.stride);
      std::memmove(out + r.left, in + (r.left - dx), static_cast<size_t>(r.Width()) * 2);
    }
    MarkDirty(*to, r);
  }
  return TRUE;
}

}  // namespace ce
