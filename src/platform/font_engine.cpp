// Faces are looked up in fontconfig once per (face name, bold, italic) and opened once per
// pixel size. Every Font made from the same request shares that size's face and glyph cache, so the
// controls' habit of creating a font for each paint costs a map look-up, not a file open.
#include "platform/font_engine.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <array>
#include <filesystem>
#include <limits>
#include <map>
#include <mutex>
#include <optional>
#include <tuple>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/text.h"

namespace ce::fonts {
namespace {

constexpr int32_t kDefaultCellHeight = 12;
// No screen is taller than this; the clamp bounds glyph bitmaps whatever height a caller asks.
constexpr int32_t kMaxPixelHeight = 1024;
constexpr int32_t kBoldWeight = 600;
// Strikes nobody holds are dropped once the cache grows past this many.
constexpr size_t kStrikeCacheSoftLimit = 48;

// Smoothing without horizontal hinting keeps the glyphs' own spacing, which at 11 to 13 pixels
// looks even where full hinting bunches letters ("d ays"); outlines only, because embedded
// bitmaps are bilevel and would break the smoothing at exactly the sizes the program uses.
constexpr FT_Int32 kLoadFlags = FT_LOAD_TARGET_LIGHT | FT_LOAD_NO_BITMAP;

int64_t RoundDiv(int64_t num, int64_t den) {  // den > 0, num >= 0
  return (2 * num + den) / (2 * den);
}

// ---- FreeType ---------------------------------------------------------------------------------

// Opening and closing faces must be serialised on the library; loading glyphs need only be
// serialised per face.
class Library {
 public:
  Library() {
    if (FT_Init_FreeType(&library_) != 0) library_ = nullptr;
  }
  ~Library() {
    if (library_ != nullptr) FT_Done_FreeType(library_);
  }
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;

  FT_Library get() const { return library_; }
  std::mutex& mutex() { return mutex_; }

 private:
  FT_Library library_ = nullptr;
  std::mutex mutex_;
};

class FaceHandle {
 public:
  FaceHandle() = default;
  FaceHandle(std::shared_ptr<Library> library, FT_Face face)
      : library_(std::move(library)), face_(face) {}
  ~FaceHandle() {
    if (face_ != nullptr) {
      std::lock_guard lock(library_->mutex());
      FT_Done_Face(face_);
    }
  }
  FaceHandle(FaceHandle&& other) noexcept
      : library_(std::move(other.library_)), face_(std::exchange(other.face_, nullptr)) {}
  FaceHandle& operator=(FaceHandle&&) = delete;

  static std::optional<FaceHandle> Open(std::shared_ptr<Library> library, const std::string& path,
                                        int index) {
    FT_Face face = nullptr;
    {
      std::lock_guard lock(library->mutex());
      if (library->get() == nullptr || FT_New_Face(library->get(), path.c_str(), index, &face) != 0)
        return std::nullopt;
    }
    return std::optional<FaceHandle>(std::in_place, std::move(library), face);
  }

  FT_Face get() const { return face_; }

 private:
  std::shared_ptr<Library> library_;
  FT_Face face_ = nullptr;
};

// ---- Face resolution --------------------------------------------------------------------------

struct FaceFile {
  std::string path;
  int index = 0;
  bool synthetic_bold = false;    // bold was asked for and the family has no bold face
  bool synthetic_italic = false;  // the same for italic
};

struct PatternDeleter {
  void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using Pattern = std::unique_ptr<FcPattern, PatternDeleter>;

const FcChar8* Fc(const char* text) {
  return reinterpret_cast<const FcChar8*>(text);
}

// Debian's fonts-wine (and Wine's own installs) keep their fonts out of fontconfig's paths.
constexpr std::array<const char*, 5> kWineFontDirs = {
    "/usr/share/wine/fonts", "/usr/local/share/wine/fonts", "/opt/wine-stable/share/wine/fonts",
    "/opt/wine-staging/share/wine/fonts", "/opt/wine-devel/share/wine/fonts"};

// An explicit family must come back as that family: fontconfig answers every query with
// something, and the fallback order is ours to decide.
class Resolver {
 public:
  Resolver() : config_(FcInitLoadConfigAndFonts()) {}
  ~Resolver() {
    if (config_ != nullptr) FcConfigDestroy(config_);
  }
  Resolver(const Resolver&) = delete;
  Resolver& operator=(const Resolver&) = delete;

  // The faces to try, best first, for a face name as the program spells it.
  std::vector<FaceFile> Candidates(const std::u16string& face, bool bold, bool italic) {
    const std::string name = Normalised(face);
    std::vector<FaceFile> out;
    auto add = [&](std::optional<FaceFile> file) {
      if (!file) return;
      for (const FaceFile& f : out)
        if (f.path == file->path && f.index == file->index) return;
      out.push_back(std::move(*file));
    };
    if (name == "courier new") {
      add(Exact("Liberation Mono", bold, italic));
      add(Exact("DejaVu Sans Mono", bold, italic));
      add(Generic("monospace", bold, italic));
      return out;
    }
    if (!name.empty() && name != "system" && name != "tahoma") add(Exact(name, bold, italic));
    add(Tahoma(bold, italic));
    add(Exact("DejaVu Sans", bold, italic));
    add(Generic("sans-serif", bold, italic));
    return out;
  }

 private:
  static std::string Normalised(const std::u16string& face) {
    std::string name = ToUtf8(face);
    const size_t first = name.find_first_not_of(' ');
    const size_t last = name.find_last_not_of(' ');
    name = first == std::string::npos ? std::string() : name.substr(first, last - first + 1);
    for (char& c : name)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return name;
  }

  std::optional<FaceFile> Tahoma(bool bold, bool italic) {
    if (auto file = Exact("Tahoma", bold, italic)) return file;
    if (wine_added_) return std::nullopt;
    wine_added_ = true;
    bool added = false;
    for (const char* dir : kWineFontDirs) {
      for (const char* name : {"tahoma.ttf", "tahomabd.ttf"}) {
        const std::string path = std::string(dir) + "/" + name;
        std::error_code error;
        if (std::filesystem::is_regular_file(path, error))
          added |= FcConfigAppFontAddFile(config_, Fc(path.c_str())) == FcTrue;
      }
      if (added) break;
    }
    return added ? Exact("Tahoma", bold, italic) : std::nullopt;
  }

  std::optional<FaceFile> Exact(const std::string& family, bool bold, bool italic) {
    return Match(family.c_str(), true, bold, italic);
  }
  std::optional<FaceFile> Generic(const char* family, bool bold, bool italic) {
    return Match(family, false, bold, italic);
  }

  std::optional<FaceFile> Match(const char* family, bool exact, bool bold, bool italic) {
    if (config_ == nullptr) return std::nullopt;
    Pattern pattern(FcPatternCreate());
    if (!pattern) return std::nullopt;
    FcPatternAddString(pattern.get(), FC_FAMILY, Fc(family));
    // Light weights are drawn with the regular face, as the handheld did; fontconfig would
    // otherwise pick the extra-light cuts some families carry.
    FcPatternAddInteger(pattern.get(), FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern.get(), FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddInteger(pattern.get(), FC_WIDTH, FC_WIDTH_NORMAL);
    FcPatternAddBool(pattern.get(), FC_OUTLINE, FcTrue);
    FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
    if (!FcConfigSubstitute(config_, pattern.get(), FcMatchPattern)) return std::nullopt;
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    Pattern match(FcFontMatch(config_, pattern.get(), &result));
    if (!match || result != FcResultMatch) return std::nullopt;

    if (exact && !HasFamily(match.get(), family)) return std::nullopt;
    FcBool outline = FcFalse;
    if (FcPatternGetBool(match.get(), FC_OUTLINE, 0, &outline) != FcResultMatch || !outline)
      return std::nullopt;
    FcChar8* file = nullptr;
    if (FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch) return std::nullopt;
    int index = 0;
    FcPatternGetInteger(match.get(), FC_INDEX, 0, &index);
    int weight = FC_WEIGHT_REGULAR;
    FcPatternGetInteger(match.get(), FC_WEIGHT, 0, &weight);
    int slant = FC_SLANT_ROMAN;
    FcPatternGetInteger(match.get(), FC_SLANT, 0, &slant);

    FaceFile face;
    face.path = reinterpret_cast<const char*>(file);
    face.index = index;
    // fontconfig's own synthesis rules may already have marked a regular face as bold (and
    // given it the bold weight) or slanted a roman one with a matrix; we do the synthesis.
    FcBool embolden = FcFalse;
    FcPatternGetBool(match.get(), FC_EMBOLDEN, 0, &embolden);
    FcMatrix* matrix = nullptr;
    const bool slanted = FcPatternGetMatrix(match.get(), FC_MATRIX, 0, &matrix) == FcResultMatch;
    face.synthetic_bold = bold && (embolden || weight < FC_WEIGHT_DEMIBOLD);
    face.synthetic_italic = italic && (slanted || slant == FC_SLANT_ROMAN);
    return face;
  }

  static bool HasFamily(FcPattern* match, const char* family) {
    FcChar8* name = nullptr;
    for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &name) == FcResultMatch; ++i)
      if (FcStrCmpIgnoreCase(name, Fc(family)) == 0) return true;
    return false;
  }

  FcConfig* config_ = nullptr;
  bool wine_added_ = false;
};

// ---- One face at one size, with its glyph cache -------------------------------------------

struct Glyph {
  int32_t advance = 0;
  int32_t left = 0;  // from the pen to the bitmap's left edge
  int32_t top = 0;   // from the baseline up to the bitmap's top edge
  uint32_t width = 0;
  uint32_t rows = 0;
  size_t offset = 0;  // of the coverage bytes in the strike's pool
  bool loaded = false;
};

struct Metrics {
  int32_t ascent = 0;
  int32_t descent = 0;
  int32_t em = 0;
  int32_t average_width = 0;
  int32_t max_width = 0;
};

// The face's line box in font units, as Windows sizes TrueType cells: usWinAscent and
// usWinDescent when the face fills them in, else the horizontal header's.
std::pair<int64_t, int64_t> DesignAscentDescent(FT_Face face) {
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  if (os2 != nullptr && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0)
    return {os2->usWinAscent, os2->usWinDescent};
  if (face->ascender - face->descender > 0)
    return {std::max<int64_t>(0, face->ascender), std::max<int64_t>(0, -face->descender)};
  return {face->units_per_EM * 4 / 5, face->units_per_EM / 5};
}

// Wine's Tahoma Bold carries its bold designs only as embedded bitmaps: its outlines keep the
// regular face's stems, and smoothed they would read as regular text. A bold face whose "l" is
// no thicker than a regular face's stem gets thickened.
bool BoldOutlinesLookRegular(FT_Face face) {
  const FT_UInt index = FT_Get_Char_Index(face, 'l');
  if (index == 0 || FT_Load_Glyph(face, index, FT_LOAD_NO_SCALE | FT_LOAD_NO_BITMAP) != 0 ||
      face->glyph->format != FT_GLYPH_FORMAT_OUTLINE)
    return false;
  FT_BBox box{};
  FT_Outline_Get_CBox(&face->glyph->outline, &box);
  return (box.xMax - box.xMin) * 100 < static_cast<FT_Pos>(face->units_per_EM) * 13;
}

class Strike {
 public:
  static std::shared_ptr<Strike> Open(const std::shared_ptr<Library>& library, const FaceFile& file,
                                      bool bold, int32_t height) {
    auto face = FaceHandle::Open(library, file.path, file.index);
    if (!face || face->get()->units_per_EM == 0 || !FT_IS_SCALABLE(face->get())) return nullptr;
    auto strike = std::make_shared<Strike>(std::move(*face), file);
    if (!strike->SetSize(bold, height)) return nullptr;
    return strike;
  }

  Strike(FaceHandle face, const FaceFile& file) : face_(std::move(face)), file_(file) {}

  const std::string& path() const { return file_.path; }
  const Metrics& metrics() const { return metrics_; }
  std::mutex& mutex() { return mutex_; }

  // The caller holds mutex(). The reference and Coverage() stay valid until the next call.
  const Glyph& Get(char32_t c) {
    if (c < low_.size()) {
      Glyph& glyph = low_[c];
      if (!glyph.loaded) glyph = Load(c);
      return glyph;
    }
    auto it = high_.find(c);
    if (it == high_.end()) it = high_.emplace(c, Load(c)).first;
    return it->second;
  }
  const uint8_t* Coverage(const Glyph& glyph) const { return pool_.data() + glyph.offset; }

 private:
  bool SetSize(bool bold, int32_t height) {
    FT_Face face = face_.get();
    const int64_t units = face->units_per_EM;
    const auto [design_ascent, design_descent] = DesignAscentDescent(face);
    int64_t em = 0;
    if (height > 0) {
      // A whole-pixel em, as GDI uses, keeps hinting and advances steady; the cell is then
      // exactly the height asked for, with the rounding taken up by the descent.
      const int64_t design_cell = std::max<int64_t>(1, design_ascent + design_descent);
      em = std::max<int64_t>(1, RoundDiv(height * units, design_cell));
      metrics_.ascent =
          static_cast<int32_t>(std::clamp<int64_t>(RoundDiv(design_ascent * em, units), 0, height));
      metrics_.descent = height - metrics_.ascent;
    } else {
      em = -static_cast<int64_t>(height);
      metrics_.ascent = static_cast<int32_t>(RoundDiv(design_ascent * em, units));
      metrics_.descent = static_cast<int32_t>(RoundDiv(design_descent * em, units));
    }
    metrics_.em = static_cast<int32_t>(em);
    if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(em)) != 0) return false;

    if (file_.synthetic_bold) {
      // As GDI simulates bold: a pixel wider per glyph on screen-sized text (and a pixel more
      // for every further 24 pixels of em), the advance growing with it.
      embolden_x_ = 64 * std::max<FT_Pos>(1, (em + 12) / 24);
      extra_advance_ = static_cast<int32_t>(embolden_x_ / 64);
    } else if (bold && BoldOutlinesLookRegular(face)) {
      // Brings the stems to a bold face's weight; the advances are already the bold ones.
      embolden_x_ = std::max<FT_Pos>(16, em * 64 * 7 / 100);
      embolden_y_ = embolden_x_ / 3;
    }

    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 != nullptr && os2->version != 0xFFFF && os2->xAvgCharWidth > 0)
      metrics_.average_width =
          static_cast<int32_t>(RoundDiv(os2->xAvgCharWidth * em, units)) + extra_advance_;
    else
      metrics_.average_width = Get('x').advance;
    metrics_.max_width =
        static_cast<int32_t>((face->max_advance_width * em + units - 1) / units) + extra_advance_;
    return true;
  }

  Glyph Load(char32_t c) {
    Glyph glyph;
    glyph.loaded = true;
    FT_Face face = face_.get();
    // A character the face lacks draws its .notdef, as the handheld drew its default box.
    const FT_UInt index = FT_Get_Char_Index(face, c);
    if (FT_Load_Glyph(face, index, kLoadFlags) != 0) return glyph;
    FT_GlyphSlot slot = face->glyph;
    if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
      if (embolden_x_ != 0 || embolden_y_ != 0)
        FT_Outline_EmboldenXY(&slot->outline, embolden_x_, embolden_y_);
      if (file_.synthetic_italic) FT_GlyphSlot_Oblique(slot);
    }
    glyph.advance = static_cast<int32_t>((slot->advance.x + 32) >> 6) + extra_advance_;
    if (slot->format != FT_GLYPH_FORMAT_BITMAP && FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0)
      return glyph;

    const FT_Bitmap& bitmap = slot->bitmap;
    const bool gray = bitmap.pixel_mode == FT_PIXEL_MODE_GRAY && bitmap.num_grays == 256;
    const bool mono = bitmap.pixel_mode == FT_PIXEL_MODE_MONO;
    if ((!gray && !mono) || bitmap.width == 0 || bitmap.rows == 0) return glyph;
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.width = bitmap.width;
    glyph.rows = bitmap.rows;
    glyph.offset = pool_.size();
    pool_.resize(pool_.size() + size_t{bitmap.width} * bitmap.rows);
    uint8_t* out = pool_.data() + glyph.offset;
    // A negative pitch stores the rows bottom first; either way the pitch steps one row down.
    const unsigned char* row =
        bitmap.pitch >= 0 ? bitmap.buffer
                          : bitmap.buffer + static_cast<ptrdiff_t>(bitmap.rows - 1) * -bitmap.pitch;
    for (uint32_t r = 0; r < bitmap.rows; ++r, row += bitmap.pitch, out += bitmap.width) {
      if (gray) {
        std::copy_n(row, bitmap.width, out);
      } else {
        for (uint32_t i = 0; i < bitmap.width; ++i)
          out[i] = (row[i / 8] & (0x80 >> (i % 8))) != 0 ? 255 : 0;
      }
    }
    return glyph;
  }

  FaceHandle face_;
  FaceFile file_;
  Metrics metrics_;
  FT_Pos embolden_x_ = 0;
  FT_Pos embolden_y_ = 0;
  int32_t extra_advance_ = 0;
  std::mutex mutex_;
  std::array<Glyph, 0x250> low_{};  // Latin, the program's own alphabet, looked up directly
  std::unordered_map<char32_t, Glyph> high_;
  std::vector<uint8_t> pool_;
};

// ---- The shared engine -----------------------------------------------------------------------

int32_t NormalisedHeight(int32_t height) {
  if (height == 0) return kDefaultCellHeight;
  if (height > 0) return std::min(height, kMaxPixelHeight);
  return -static_cast<int32_t>(std::min<int64_t>(-static_cast<int64_t>(height), kMaxPixelHeight));
}

class Engine {
 public:
  static Engine& Get() {
    static Engine engine;
    return engine;
  }

  std::shared_ptr<Strike> StrikeFor(const FontSpec& request) {
    const bool bold = request.weight >= kBoldWeight;
    const int32_t height = NormalisedHeight(request.height);
    std::lock_guard lock(mutex_);
    auto [resolved, fresh] =
        candidates_.try_emplace(std::make_tuple(request.face, bold, request.italic));
    if (fresh) resolved->second = resolver_.Candidates(request.face, bold, request.italic);
    for (const FaceFile& file : resolved->second) {
      const auto key = std::make_tuple(file.path, file.index, file.synthetic_bold,
                                       file.synthetic_italic, bold, height);
      if (auto it = strikes_.find(key); it != strikes_.end()) return it->second;
      if (auto strike = Strike::Open(library_, file, bold, height)) {
        if (strikes_.size() >= kStrikeCacheSoftLimit) DropUnused();
        strikes_.emplace(key, strike);
        return strike;
      }
    }
    return nullptr;
  }

 private:
  Engine() : library_(std::make_shared<Library>()) {}

  void DropUnused() {
    std::erase_if(strikes_, [](const auto& entry) { return entry.second.use_count() == 1; });
  }

  std::mutex mutex_;
  std::shared_ptr<Library> library_;
  Resolver resolver_;
  std::map<std::tuple<std::u16string, bool, bool>, std::vector<FaceFile>> candidates_;
  std::map<std::tuple<std::string, int, bool, bool, bool, int32_t>, std::shared_ptr<Strike>>
      strikes_;
};

// ---- Drawing ---------------------------------------------------------------------------------

// Calls `f` with each character of the text, a surrogate pair as one; control characters are
// neither drawn nor advanced over.
template <typename F>
void ForEachCharacter(std::u16string_view text, F&& f) {
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    }
    if (c < 0x20) continue;
    f(c);
  }
}

// dst + (src - dst) * coverage / 255 per channel, rounded to nearest: coverage 0 leaves the
// pixel alone and 255 gives exactly the colour.
inline uint32_t Div255(uint32_t v) {
  return (v + 128 + ((v + 128) >> 8)) >> 8;
}

inline uint16_t Blend(uint16_t dst, uint16_t src, uint32_t coverage) {
  const uint32_t keep = 255 - coverage;
  const uint32_t r = Div255((dst >> 11) * keep + (src >> 11) * coverage);
  const uint32_t g = Div255(((dst >> 5) & 0x3F) * keep + ((src >> 5) & 0x3F) * coverage);
  const uint32_t b = Div255((dst & 0x1F) * keep + (src & 0x1F) * coverage);
  return static_cast<uint16_t>((r << 11) | (g << 5) | b);
}

inline void Put(uint16_t& pixel, uint16_t colour, uint8_t coverage) {
  if (coverage == 255)
    pixel = colour;
  else if (coverage != 0)
    pixel = Blend(pixel, colour, coverage);
}

// A glyph's box on the surface, in 64 bits so that a pen far off the surface cannot wrap.
struct Box {
  int64_t left, top, right, bottom;
};

std::optional<RECT> Clipped(const Box& box, const RECT& clip) {
  const int64_t left = std::max<int64_t>(box.left, clip.left);
  const int64_t top = std::max<int64_t>(box.top, clip.top);
  const int64_t right = std::min<int64_t>(box.right, clip.right);
  const int64_t bottom = std::min<int64_t>(box.bottom, clip.bottom);
  if (left >= right || top >= bottom) return std::nullopt;
  return RECT{static_cast<int32_t>(left), static_cast<int32_t>(top), static_cast<int32_t>(right),
              static_cast<int32_t>(bottom)};
}

uint16_t* Row(const Surface& surface, int32_t y) {
  return reinterpret_cast<uint16_t*>(reinterpret_cast<uint8_t*>(surface.pixels) +
                                     static_cast<ptrdiff_t>(y) * surface.stride);
}

class FontImpl final : public Font {
 public:
  FontImpl(const FontSpec& request, std::shared_ptr<Strike> strike)
      : spec_(request),
        strike_(std::move(strike)),
        turned_(((request.escapement % 3600) + 3600) % 3600 == 900) {}

  const std::string& File() const override { return strike_->path(); }
  const FontSpec& Spec() const override { return spec_; }
  int32_t CellHeight() const override { return Ascent() + Descent(); }
  int32_t Ascent() const override { return strike_->metrics().ascent; }
  int32_t Descent() const override { return strike_->metrics().descent; }
  int32_t InternalLeading() const override { return CellHeight() - strike_->metrics().em; }
  int32_t AverageWidth() const override { return strike_->metrics().average_width; }
  int32_t MaxWidth() const override { return strike_->metrics().max_width; }

  int32_t Advance(std::u16string_view text) const override {
    std::lock_guard lock(strike_->mutex());
    int64_t pen = 0;
    ForEachCharacter(text, [&](char32_t c) { pen += strike_->Get(c).advance; });
    return static_cast<int32_t>(std::min<int64_t>(pen, std::numeric_limits<int32_t>::max()));
  }

  void Draw(const Surface& surface, std::span<const RECT> clip, int32_t x, int32_t y,
            std::u16string_view text, uint16_t colour) const override {
    if (surface.pixels == nullptr || surface.width <= 0 || surface.height <= 0 ||
        surface.stride % 2 != 0 || surface.stride / 2 < surface.width)
      return;
    const RECT bounds{0, 0, surface.width, surface.height};
    const int32_t ascent = Ascent();
    const int32_t cell = CellHeight();
    std::lock_guard lock(strike_->mutex());
    int64_t pen = 0;
    ForEachCharacter(text, [&](char32_t c) {
      const Glyph& glyph = strike_->Get(c);
      if (glyph.width != 0) {
        const uint8_t* coverage = strike_->Coverage(glyph);
        // Unturned, the glyph's bitmap sits at (pen + left, ascent - top) in the cell. Turned,
        // the cell point (u, v) lands on (x + v, y - u): bitmap rows become columns from the
        // left, and bitmap columns run upwards from y.
        const int64_t u = pen + glyph.left;
        const int64_t v = int64_t{ascent} - glyph.top;
        const Box box = turned_ ? Box{x + v, y - u - glyph.width, x + v + glyph.rows, y - u}
                                : Box{x + u, y + v, x + u + glyph.width, y + v + glyph.rows};
        // As on Windows, ink above the ascent or below the descent is cut off, so a line's
        // descenders never spill into the line below.
        Box inked = box;
        if (turned_) {
          inked.left = std::max<int64_t>(box.left, x);
          inked.right = std::min<int64_t>(box.right, int64_t{x} + cell);
        } else {
          inked.top = std::max<int64_t>(box.top, y);
          inked.bottom = std::min<int64_t>(box.bottom, int64_t{y} + cell);
        }
        for (const RECT& r : clip) {
          const auto area = Clipped(inked, Intersect(r, bounds));
          if (!area) continue;
          if (turned_)
            BlitTurned(surface, *area, box, glyph.width, coverage, colour);
          else
            Blit(surface, *area, box, glyph.width, coverage, colour);
        }
      }
      pen += glyph.advance;
    });
  }

 private:
  static void Blit(const Surface& surface, const RECT& area, const Box& box, uint32_t width,
                   const uint8_t* coverage, uint16_t colour) {
    for (int32_t py = area.top; py < area.bottom; ++py) {
      const uint8_t* src = coverage + (py - box.top) * width + (area.left - box.left);
      uint16_t* dst = Row(surface, py) + area.left;
      for (int32_t n = area.right - area.left; n > 0; --n) Put(*dst++, colour, *src++);
    }
  }

  // Surface column x shows bitmap row (x - box.left); surface row y shows bitmap column
  // (box.bottom - 1 - y).
  static void BlitTurned(const Surface& surface, const RECT& area, const Box& box, uint32_t width,
                         const uint8_t* coverage, uint16_t colour) {
    for (int32_t py = area.top; py < area.bottom; ++py) {
      const uint8_t* src = coverage + (area.left - box.left) * width + (box.bottom - 1 - py);
      uint16_t* dst = Row(surface, py) + area.left;
      for (int32_t n = area.right - area.left; n > 0; --n, src += width) Put(*dst++, colour, *src);
    }
  }

  FontSpec spec_;
  std::shared_ptr<Strike> strike_;
  bool turned_;
};

}  // namespace

std::unique_ptr<Font> Font::Open(const FontSpec& request) {
  auto strike = Engine::Get().StrikeFor(request);
  if (!strike) return nullptr;
  return std::make_unique<FontImpl>(request, std::move(strike));
}

}  // namespace ce::fonts
