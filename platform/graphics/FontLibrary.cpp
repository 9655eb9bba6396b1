#include "platform/graphics/FontLibrary.h"

#include <cairo-ft.h>
#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <strings.h>

#include <mutex>
#include <unordered_map>

#include "platform/core/RuntimeError.h"

namespace tmr {

namespace {
const cairo_user_data_key_t kFaceKey{};

void DoneFace(void* face) { FT_Done_Face(static_cast<FT_Face>(face)); }
}  // namespace

struct FontLibrary::Face {
  std::unordered_map<uint32_t, bool> drawable;  // code point -> has a glyph that draws
  std::string file;
  FT_Face ft = nullptr;
  cairo_font_face_t* cairo = nullptr;
  ~Face() {
    // The cairo face owns the FreeType face from here on (see DoneFace).
    if (cairo) cairo_font_face_destroy(cairo);
  }
};

struct FontLibrary::Session {
  FT_Library ft = nullptr;
  Session() {
    if (FT_Init_FreeType(&ft) != 0) throw RuntimeError("The font engine could not start");
  }
  ~Session() {
    // The drawing library keeps recently used faces in caches of its own, shared by the whole
    // process: empty them first, so that no face outlives the FreeType library it came from.
    cairo_debug_reset_static_data();
    FT_Done_FreeType(ft);
  }
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;
};

std::shared_ptr<FontLibrary::Session> FontLibrary::joinSession() {
  static std::mutex mutex;
  static std::weak_ptr<Session> current;
  std::lock_guard lock(mutex);
  auto session = current.lock();
  if (!session) {
    session = std::make_shared<Session>();
    current = session;
  }
  return session;
}

FontLibrary::FontLibrary(Runtime&) : FontLibrary() {}

FontLibrary::FontLibrary() : session_(joinSession()), ft_(session_->ft) {}

FontLibrary::~FontLibrary() { faces_.clear(); }

FontLibrary::Face& FontLibrary::face(const Font& font) {
  auto key = std::make_pair(font.family(), font.bold());
  if (auto it = faces_.find(key); it != faces_.end()) return *it->second;

  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(font.family().c_str()));
  FcPatternAddInteger(pattern, FC_WEIGHT, font.bold() ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  std::string file;
  bool sameFamily = false;
  if (match) {
    FcChar8* f = nullptr;
    if (FcPatternGetString(match, FC_FILE, 0, &f) == FcResultMatch) file = reinterpret_cast<const char*>(f);
    FcChar8* fam = nullptr;
    for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &fam) == FcResultMatch; ++i) {
      if (strcasecmp(reinterpret_cast<const char*>(fam), font.family().c_str()) == 0) sameFamily = true;
    }
    FcPatternDestroy(match);
  }
  // fontconfig answers with some other font rather than none: that would draw the wrong glyphs.
  if (file.empty() || !sameFamily)
    throw RuntimeError("Font not installed: " + font.family() + " (scripts/setup installs the fonts)");

  auto face = std::make_unique<Face>();
  face->file = file;
  if (FT_New_Face(static_cast<FT_Library>(ft_), file.c_str(), 0, &face->ft) != 0)
    throw RuntimeError("Cannot read the font file " + file);
  face->cairo = cairo_ft_font_face_create_for_ft_face(face->ft, 0);
  if (cairo_font_face_set_user_data(face->cairo, &kFaceKey, face->ft, DoneFace) != CAIRO_STATUS_SUCCESS) {
    cairo_font_face_destroy(face->cairo);
    FT_Done_Face(face->ft);
    face->cairo = nullptr;
    throw RuntimeError("Cannot use the font file " + file);
  }
  auto& ref = *face;
  faces_.emplace(key, std::move(face));
  return ref;
}

std::string FontLibrary::fileOf(const Font& font) { return face(font).file; }

bool FontLibrary::hasGlyph(const Font& font, uint32_t codePoint) {
  Face& f = face(font);
  if (auto it = f.drawable.find(codePoint); it != f.drawable.end()) return it->second;
  // Icon fonts map letters to empty glyphs (their ligature names are spelled with them): a
  // glyph without an outline that encloses anything only counts for a blank.
  bool has = false;
  if (FT_UInt index = FT_Get_Char_Index(f.ft, codePoint); index != 0) {
    bool blank = codePoint == ' ' || codePoint == 0xA0 || (codePoint >= 0x2000 && codePoint <= 0x200B);
    has = blank || (FT_Load_Glyph(f.ft, index, FT_LOAD_NO_SCALE) == 0 &&
                    (f.ft->glyph->format != FT_GLYPH_FORMAT_OUTLINE || f.ft->glyph->outline.n_points >= 3));
  }
  f.drawable.emplace(codePoint, has);
  return has;
}

void* FontLibrary::cairoFace(const Font& font) { return face(font).cairo; }

}  // namespace tmr

// GCC says AddressSanitizer is on with __SANITIZE_ADDRESS__, clang 14 only through __has_feature.
#if defined(__SANITIZE_ADDRESS__)
#define TMR_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TMR_ADDRESS_SANITIZER 1
#endif
#endif
#if defined(TMR_ADDRESS_SANITIZER)
// fontconfig keeps a few blocks of its first initialisation for the life of the process (freed
// only by FcFini, which would pull the configuration from under every other user): not ours to
// report.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
#endif
