// Every character of every language's texts and team names has a glyph of
// its own in every font that draws them: the front end's two fonts and the
// match's fonts (software sheets and the hardware renderers' TGA copies). A
// glyph is its own when it has ink and differs from every other character's
// drawn in that font, and an accented letter shows its mark beyond its
// plain letter's ink: a letter whose accent the font's rows cut ("É" drawn
// as "E") fails.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "display/qdl.h"
#include "display/qdl_draw.h"
#include "display/qdl_text.h"
#include "frontend_env.h"
#include "shell/texts_data.h"

namespace {

// The characters of every text table in every language, with a text that
// uses each (for the failure message).
std::map<unsigned char, std::string> UsedCharacters() {
  std::map<unsigned char, std::string> m;
  const auto Add = [&](const char* psz) {
    for (const char* p = psz; p != nullptr && *p != '\0'; ++p) {
      const auto c = static_cast<unsigned char>(*p);
      if (c >= 32 && c != '|') m.emplace(c, psz);  // '|' parts a text's forms
    }
  };
  for (int l = 0; l < TEXT_LANGUAGE_MAX; ++l) {
    for (int i = 0; i < IDS_FE_MAX; ++i) Add(festr_apszStrings[l][i]);
    for (int i = 0; i < IDS_GLOBAL_MAX; ++i) Add(glstr_apszStrings[l][i]);
    for (int i = 0; i < IDS_INGAME_MAX; ++i) Add(gstatso_apszStrings[l][i]);
    for (int i = 0; i < VIDEOTEST_TEXT_MAX; ++i) Add(pcmain_apszVideoTestTexts[l][i]);
    for (int i = 0; i < TLA_MAX; ++i)
      for (int f = 0; f < 4; ++f) Add(tlastr_apszRows[l][i][f]);
  }
  for (int i = 0; i < TM_MAX; ++i) Add(festr_apszTMNames[i]);
  return m;
}

constexpr int kSize = 64;

// The pixels a character leaves on a cleared surface.
std::vector<std::uint16_t> Drawn(QDLSurface* s, QDLFont* f, unsigned char c) {
  QDLFillRect(s, nullptr, 0, 0);
  const char sz[2] = {static_cast<char>(c), '\0'};
  QDLPrintText(s, f, 4, 4, 0xFFFF, 0, QDLLAYOUT_PLAIN, QDLSTYLE_SOLID | QDLSTYLE_ALPHAMAP, sz);
  std::vector<std::uint16_t> v;
  for (int y = 0; y < s->height; ++y) {
    const auto* row = reinterpret_cast<const std::uint16_t*>(s->pixels + y * s->pitch);
    v.insert(v.end(), row, row + s->width);
  }
  return v;
}

// The ink of a drawing, in whole pixels of ink.
int Ink(const std::vector<std::uint16_t>& v) {
  int n = 0;
  for (std::uint16_t p : v) n += (p >> 5) & 63;  // green of 5-6-5
  return n / 63;
}

// The ink one drawing has where another has less, in whole pixels of ink.
int InkBeyond(const std::vector<std::uint16_t>& v, const std::vector<std::uint16_t>& other) {
  int n = 0;
  for (size_t i = 0; i < v.size(); ++i) {
    const int a = (v[i] >> 5) & 63, b = (other[i] >> 5) & 63;
    n += a > b ? a - b : 0;
  }
  return n / 63;
}

// The accented letters of Windows-1252 with their plain letter. The
// accented i of the lower case has none here: its mark stands where the dot
// was.
struct Accented {
  unsigned char c, plain;
};
std::vector<Accented> AccentedLetters() {
  std::vector<Accented> v = {{0x8A, 'S'}, {0x8E, 'Z'}, {0x9A, 's'}, {0x9E, 'z'}, {0x9F, 'Y'}, {0xC7, 'C'},
                             {0xD1, 'N'}, {0xDD, 'Y'}, {0xE7, 'c'}, {0xF1, 'n'}, {0xFD, 'y'}, {0xFF, 'y'}};
  const char* const groups[] = {"A\xC0\xC1\xC2\xC3\xC4\xC5", "E\xC8\xC9\xCA\xCB", "I\xCC\xCD\xCE\xCF",
                                "O\xD2\xD3\xD4\xD5\xD6",   "U\xD9\xDA\xDB\xDC", "a\xE0\xE1\xE2\xE3\xE4\xE5",
                                "e\xE8\xE9\xEA\xEB",         "o\xF2\xF3\xF4\xF5\xF6", "u\xF9\xFA\xFB\xFC"};
  for (const char* g : groups)
    for (const char* p = g + 1; *p; ++p)
      v.push_back({static_cast<unsigned char>(*p), static_cast<unsigned char>(g[0])});
  return v;
}

TEST(TextGlyphs, EveryCharacterOfEveryLanguageHasAGlyphOfItsOwnInEveryFont) {
  const std::map<unsigned char, std::string> used = UsedCharacters();
  ASSERT_TRUE(used.count(0xC9));  // "É", in the French names and texts
  QDLSurface* s = QDLSurfaceCreate(kSize, kSize, 16, QDLCREATE_MEMORY);
  ASSERT_NE(s, nullptr);
  for (const char* sheet : {"SWfont18pt.bmp", "SW24pt.bmp", "SWfont3a3.bmp", "font3a3.tga", "24pt.tga"}) {
    SCOPED_TRACE(sheet);
    const std::string path = (FrontEndBuildData() / "textures" / "Fonts" / sheet).string();
    QDLFont* f = QDLFontCreateFromSheet(path.c_str(), 3, 0, 0);
    ASSERT_NE(f, nullptr);
    // Ink for every character but the blanks, none drawn as another.
    std::map<std::vector<std::uint16_t>, unsigned char> seen;
    for (const auto& [c, text] : used) {
      if (c == ' ' || c == 0xA0) continue;
      const std::vector<std::uint16_t> v = Drawn(s, f, c);
      EXPECT_GT(Ink(v), 0) << "no ink for code " << int{c} << " of \"" << text << "\"";
      const auto [it, bNew] = seen.emplace(v, c);
      EXPECT_TRUE(bNew) << "code " << int{c} << " of \"" << text << "\" is drawn as code " << int{it->second};
    }
    // An accented letter shows its mark: two pixels of ink at least where
    // its plain letter has none (a cut accent leaves one at most).
    for (const Accented& a : AccentedLetters()) {
      if (!used.count(a.c)) continue;
      EXPECT_GE(InkBeyond(Drawn(s, f, a.c), Drawn(s, f, a.plain)), 2)
          << "code " << int{a.c} << " of \"" << used.at(a.c) << "\" has lost its mark";
    }
    QDLFontFree(f);
  }
  QDLSurfaceFree(s);
}

// A font's glyphs come out alike however far the display's dither generator
// has run before the font is loaded: its greys are the alpha its texts are
// drawn with, stored as they are (dithered, a glyph's edges changed with
// whatever pictures had been loaded before it).
TEST(TextGlyphs, AFontsGlyphsDoNotDependOnTheDitherBeforeIt) {
  QDLSurface* s = QDLSurfaceCreate(kSize, kSize, 16, QDLCREATE_MEMORY);
  ASSERT_NE(s, nullptr);
  for (const char* sheet : {"SWfont3a3.bmp", "font3a3.tga", "SWfont18pt.bmp"}) {
    SCOPED_TRACE(sheet);
    const std::string path = (FrontEndBuildData() / "textures" / "Fonts" / sheet).string();
    QDLRandomSeed(1);
    QDLFont* a = QDLFontCreateFromSheet(path.c_str(), 3, 0, 0);
    QDLRandomSeed(48271);
    QDLFont* b = QDLFontCreateFromSheet(path.c_str(), 3, 0, 0);
    ASSERT_TRUE(a != nullptr && b != nullptr);
    int cDiffer = 0;
    for (int c = 33; c < 256; ++c) {
      const auto uc = static_cast<unsigned char>(c);
      cDiffer += Drawn(s, a, uc) != Drawn(s, b, uc);
    }
    EXPECT_EQ(cDiffer, 0) << "glyphs drawn differently";
    QDLFontFree(a);
    QDLFontFree(b);
  }
  QDLRandomSeed(9431459);  // the generator's seed at start-up
  QDLSurfaceFree(s);
}

}  // namespace
