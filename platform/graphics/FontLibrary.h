#pragma once
// The fonts of the platform (a runtime service): finds each family's font file through
// fontconfig, loads it with FreeType once, and answers which characters it has. Text is drawn
// and measured through CairoText and TextMeasurer. A family that is not installed is an error
// naming it.
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "platform/graphics/Font.h"

namespace tmr {

class Runtime;

class FontLibrary {
 public:
  // The largest size, in pixels per em, at which text is measured or drawn through the drawing
  // library: larger text is worked at this size and scaled. The font engine refuses sizes past
  // 65535 pixels per em, and the drawing library then fails the face for good (every size of it
  // measures and draws nothing from then on) and keeps it past the end of the session, where
  // ending the session aborts the process.
  static constexpr double kLargestEngineSize = 16384;

  explicit FontLibrary(Runtime&);
  FontLibrary();
  ~FontLibrary();
  FontLibrary(const FontLibrary&) = delete;
  FontLibrary& operator=(const FontLibrary&) = delete;

  // The font file that draws the font's family and weight.
  std::string fileOf(const Font& font);
  // Whether the font's family has a glyph that draws the code point (an empty glyph counts only
  // for a blank).
  bool hasGlyph(const Font& font, uint32_t codePoint);
  // The face as the drawing library takes it (a cairo_font_face_t*), owned by the library.
  void* cairoFace(const Font& font);

 private:
  struct Face;
  Face& face(const Font& font);

  // The FreeType library and the drawing library's font caches are process-wide: every font
  // library of the process shares one session, ended when the last of them goes.
  struct Session;
  static std::shared_ptr<Session> joinSession();

  std::shared_ptr<Session> session_;
  void* ft_ = nullptr;  // FT_Library, the session's
  std::map<std::pair<std::string, bool>, std::unique_ptr<Face>> faces_;
};

}  // namespace tmr
