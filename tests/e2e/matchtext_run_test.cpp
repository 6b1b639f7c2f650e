// The real executable, headless: a Quick Start match's score strip before
// the kick-off and in open play, and the pause menu over it. The captured
// frames are read back: the strip's texts (home year, score line, away year,
// clock) stand apart with background columns between them, and the pause
// menu's items lie inside its frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/run_game.h"

namespace {

using Game = korvena_test::GameRunner;
using korvena_test::readFile;
using korvena_test::scriptKey;

// A captured frame: width, height and rows top first, 3 bytes (r, g, b) a pixel.
struct Frame {
  int w = 0, h = 0;
  std::vector<std::uint8_t> rgb;
  const std::uint8_t* at(int x, int y) const { return &rgb[3 * (static_cast<size_t>(y) * w + x)]; }
};

// Reads an uncompressed true-colour .tga as the capture writes it.
Frame Load(const std::string& path) {
  const std::string b = readFile(path);
  Frame f;
  if (b.size() < 18 || b[2] != 2) return f;
  const auto u8 = [&](size_t i) { return static_cast<std::uint8_t>(b[i]); };
  const int w = u8(12) | u8(13) << 8, h = u8(14) | u8(15) << 8, bpp = u8(16) / 8;
  const bool bTopFirst = (u8(17) & 0x20) != 0;
  const size_t at = 18 + u8(0);
  if (bpp < 3 || b.size() < at + static_cast<size_t>(w) * h * bpp) return f;
  f.w = w;
  f.h = h;
  f.rgb.resize(static_cast<size_t>(w) * h * 3);
  for (int y = 0; y < h; y++)
    for (int x = 0; x < w; x++) {
      const size_t s = at + (static_cast<size_t>(bTopFirst ? y : h - 1 - y) * w + x) * bpp;
      std::uint8_t* d = &f.rgb[3 * (static_cast<size_t>(y) * w + x)];
      d[0] = u8(s + 2);
      d[1] = u8(s + 1);
      d[2] = u8(s);
    }
  return f;
}

// The texts over the match are drawn in two flat colours: the years and the
// pause menu's items in grey, the score line and the clock in white. Pitch
// lines and advertising boards are blended and never land exactly on them.
bool White(const std::uint8_t* p) { return p[0] >= 250 && p[1] >= 250 && p[2] >= 250; }
bool Grey(const std::uint8_t* p) {
  return p[0] >= 200 && p[0] <= 210 && p[1] >= 197 && p[1] <= 207 && p[2] >= 200 && p[2] <= 210;
}
// The pause menu's title bar: an orange gradient with no blue in it.
bool Orange(const std::uint8_t* p) { return p[2] <= 8 && p[0] > p[1] && p[0] >= 24; }

// The columns of the score strip (the text line at the top of the screen)
// that hold at least two pixels of a kind.
std::vector<int> StripColumns(const Frame& f, bool (*kind)(const std::uint8_t*)) {
  std::vector<int> a;
  for (int x = 0; x < f.w; x++) {
    int c = 0;
    for (int y = 8; y < 28; y++) c += kind(f.at(x, y)) ? 1 : 0;
    if (c >= 2) a.push_back(x);
  }
  return a;
}

// Runs of columns no more than a glyph's inner gap apart, as "x0-x1" items.
std::string Runs(const std::vector<int>& a) {
  std::string s;
  for (size_t i = 0; i < a.size(); i++) {
    if (i == 0 || a[i] - a[i - 1] > 10) s += (s.empty() ? "" : ", ") + std::to_string(a[i]) + "-";
    if (i + 1 == a.size() || a[i + 1] - a[i] > 10) s += std::to_string(a[i]);
  }
  return s;
}

// The faults of a frame's score strip: a year (grey) must stand at least
// 8 background columns from the score line and the clock (white), else the
// two read as one ("USS58R").
std::vector<std::string> StripFaults(const Frame& f) {
  const std::vector<int> aWhite = StripColumns(f, White), aGrey = StripColumns(f, Grey);
  std::vector<std::string> a;
  if (aWhite.empty() || aGrey.empty()) a.push_back("no score line or no years on the strip");
  for (int g : aGrey)
    for (int w : aWhite)
      if (std::abs(g - w) < 8) {
        a.push_back("year at x " + std::to_string(g) + " runs into the score line or clock at x " + std::to_string(w) +
                    " (years " + Runs(aGrey) + "; line and clock " + Runs(aWhite) + ")");
        return a;
      }
  return a;
}

// The faults of a frame with the pause menu: no grey text pixel from the
// title bar down to the foot of the menu lies in the two cells beside the
// columns of the frame's title bar (a text that leaves the frame crosses its
// edge; players on the pitch further off may wear grey).
std::vector<std::string> MenuFaults(const Frame& f) {
  constexpr int kOut = 32;
  int x0 = f.w, x1 = -1, yTitle = -1, yBar = -1;
  for (int y = 0; y < f.h; y++) {
    std::vector<int> a;
    for (int x = 0; x < f.w; x++)
      if (Orange(f.at(x, y))) a.push_back(x);
    if (a.size() < 100) continue;  // the highlighted item is orange too, but narrower than any frame
    if (yTitle < 0) yTitle = y;
    yBar = y;
    x0 = std::min(x0, a.front());
    x1 = std::max(x1, a.back());
  }
  std::vector<std::string> a;
  if (yTitle < 0) return {"no title bar"};
  int cText = 0;
  for (int y = std::max(0, yTitle - 12); y < std::min(f.h, yBar + 160); y++)
    for (int x = std::max(0, x0 - kOut); x < std::min(f.w, x1 + 1 + kOut); x++)
      if (Grey(f.at(x, y))) {
        cText++;
        if ((x < x0 || x > x1) && a.size() < 4)
          a.push_back("text at (" + std::to_string(x) + ", " + std::to_string(y) + ") outside the frame's columns " +
                      std::to_string(x0) + "-" + std::to_string(x1));
      }
  if (cText < 200) a.push_back("the menu's items were not found");
  return a;
}

std::string Lines(const std::vector<std::string>& a) {
  std::string s;
  for (const std::string& l : a) s += l + "\n";
  return s;
}

// Quick Start (Croatia against the USSR): the team names make a score line
// that reaches past the middle of the screen. The strip is captured four
// times in play (it shows from the kick-off), the pause menu once before the
// kick-off and once in play.
TEST_F(Game, TheScoreStripAndThePauseMenuKeepTheirTextsApartInAQuickStart) {
  const std::string d = home_.path();
  std::string s = scriptKey(100, "RIGHT") + scriptKey(110, "RETURN") + scriptKey(116, "LEFT") + scriptKey(122, "RETURN");
  s += scriptKey(700, "ESCAPE") + "720 capture " + d + "/menu0.tga\n" + scriptKey(740, "ESCAPE");
  s += scriptKey(770, "J");
  for (int i = 1; i <= 4; i++) s += std::to_string(770 + 40 * i) + " capture " + d + "/strip" + std::to_string(i) + ".tga\n";
  s += scriptKey(940, "ESCAPE") + "960 capture " + d + "/menu1.tga\n";
  s += "990 quit 0\n";
  const korvena_test::GameRun r = run(s);
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.err.find("Assertion failed"), std::string::npos) << r.err;
  for (int i = 1; i <= 4; i++) {
    const Frame f = Load(d + "/strip" + std::to_string(i) + ".tga");
    ASSERT_EQ(f.w, 640) << "strip" << i;
    EXPECT_EQ(Lines(StripFaults(f)), "") << "strip" << i;
  }
  for (int i = 0; i <= 1; i++) {
    const Frame f = Load(d + "/menu" + std::to_string(i) + ".tga");
    ASSERT_EQ(f.w, 640) << "menu" << i;
    EXPECT_EQ(Lines(MenuFaults(f)), "") << "menu" << i;
  }
}

}  // namespace
