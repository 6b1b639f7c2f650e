// The real executable, headless: the texts over the match that stand on the
// picture with no panel behind them (the score line, the clock and the years
// of the score strip, the name lines at the foot of the screen) carry a dark
// shadow, so that they read on light pitches and hoardings in every
// edition's colouring. Captured frames of a 1958 history match (sepia) and
// of a Quick Start in colour are read back: every pixel of those texts has a
// dark pixel beside it on the shadow's side. With KORVENA_CAPTURE_DIR set
// the frames are kept in its strip_shadow/ folder to look at.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "e2e/history_save.h"
#include "support/captured_pictures.h"
#include "support/run_game.h"

namespace {

namespace fs = std::filesystem;
using Game = korvena_test::GameRunner;
using korvena_test::Picture;
using korvena_test::scriptKey;

// The two colours of those texts on the 16-bit screen: the score line and
// the clock white, the years and the name lines grey (200, 200, 200). The
// pitch lines (255, 250, 255) and every picture of the sepia edition miss
// both.
const std::uint16_t kWhite = korvena_test::To565(255, 255, 255);
const std::uint16_t kGrey = korvena_test::To565(200, 200, 200);

// Dark: each channel below 96 of 255. The shadow is black; where a glyph's
// soft edge lies over it, or its own soft edge over the picture, it is
// still darker than that.
bool Dark(std::uint16_t p) { return (p >> 11) < 12 && ((p >> 5) & 63) < 24 && (p & 31) < 12; }

// The rows of the score strip's texts and of the name lines.
struct Band {
  int y0, y1;
};
constexpr Band kStrip{16, 36}, kNameLines{430, 456};

// The strokes of the match font are up to three pixels wide and the shadow
// lies one pixel down and right of the text: every pixel of a text has a
// dark pixel at most four pixels to its right and below it. A text's pixels
// are those of its colour in the band's rows that hold a dozen of them (a
// lone pixel of a kit or a hoarding is not a text).
struct Faults {
  int cText = 0, cFaults = 0;
  std::vector<std::string> a;  // the first few
};

void TextsCheck(const Picture& f, std::uint16_t uColour, Band b, Faults* po) {
  for (int y = b.y0; y < b.y1 && y < f.height; y++) {
    int n = 0;
    for (int x = 0; x < f.width; x++) n += f.At(x, y) == uColour;
    if (n < 12) continue;
    for (int x = 0; x < f.width; x++) {
      if (f.At(x, y) != uColour) continue;
      po->cText++;
      bool bDark = false;
      for (int j = 0; j <= 4 && !bDark; j++)
        for (int i = 0; i <= 4 && !bDark; i++)
          bDark = (i || j) && x + i < f.width && y + j < f.height && Dark(f.At(x + i, y + j));
      if (bDark) continue;
      if (++po->cFaults <= 6) po->a.push_back("(" + std::to_string(x) + ", " + std::to_string(y) + ")");
    }
  }
}

// The faults of a frame's strip and name lines, as one line ("" for none).
std::string ShadowFaults(const Picture& f, int* pcWhite, int* pcGrey) {
  Faults oWhite, oGrey;
  TextsCheck(f, kWhite, kStrip, &oWhite);
  TextsCheck(f, kGrey, kStrip, &oGrey);
  TextsCheck(f, kGrey, kNameLines, &oGrey);
  *pcWhite = oWhite.cText;
  *pcGrey = oGrey.cText;
  if (oWhite.cFaults + oGrey.cFaults == 0) return "";
  std::string s = std::to_string(oWhite.cFaults) + " of " + std::to_string(oWhite.cText) + " white and " +
                  std::to_string(oGrey.cFaults) + " of " + std::to_string(oGrey.cText) +
                  " grey text pixels with no dark pixel beside them, the first at";
  for (const std::string& p : oWhite.a) s += " white " + p;
  for (const std::string& p : oGrey.a) s += " grey " + p;
  return s;
}

// Pixels greener than they are red: none in the sepia picture (the overlay's
// own colours aside).
int Greenish(const Picture& f) {
  int n = 0;
  for (int y = 0; y < f.height; y++)
    for (int x = 0; x < f.width; x++) {
      const std::uint16_t p = f.At(x, y);
      n += ((p >> 5) & 63) / 2 > (p >> 11) + 4;
    }
  return n;
}

struct StripShadow : Game {
  // The captures at the given steps, added to the script.
  std::string Captures(const std::vector<int>& aSteps) const {
    std::string s;
    for (int t : aSteps) s += std::to_string(t) + " capture " + Shot(t) + "\n";
    return s;
  }
  std::string Shot(int t) const { return home_.path() + "/strip" + std::to_string(t) + ".tga"; }

  // Reads each capture back and checks it; with KORVENA_CAPTURE_DIR set the
  // frame is kept there as <name><step>.tga.
  void Check(const std::vector<int>& aSteps, const std::string& name, bool bSepia) {
    for (int t : aSteps) {
      SCOPED_TRACE(name + " at step " + std::to_string(t));
      if (const char* pszDir = std::getenv("KORVENA_CAPTURE_DIR")) {
        std::error_code ec;
        fs::create_directories(fs::path(pszDir) / "strip_shadow", ec);
        fs::copy_file(Shot(t), fs::path(pszDir) / "strip_shadow" / (name + std::to_string(t) + ".tga"),
                      fs::copy_options::overwrite_existing, ec);
      }
      const Picture f = korvena_test::ReadTga(Shot(t));
      ASSERT_EQ(f.width, 640);
      ASSERT_EQ(f.height, 480);
      if (bSepia) EXPECT_LT(Greenish(f), 100) << "not the sepia picture";
      else EXPECT_GT(Greenish(f), 10000) << "not the colour picture";
      int cWhite = 0, cGrey = 0;
      EXPECT_EQ(ShadowFaults(f, &cWhite, &cGrey), "");
      // The score line and clock, the years and two name lines are there.
      EXPECT_GT(cWhite, 300);
      EXPECT_GT(cGrey, 300);
    }
  }
};

// A 1958 history loaded from the main menu, its first match (England against
// Denmark) kicked off: the strip from the kick-off into open play.
TEST_F(StripShadow, TheStripAndNameLinesHaveADarkShadowInA1958Match) {
  korvena_test::EnglandHistoryBuild(exe_);
  const fs::path folder = home_ / "share/korvena-football/savegame";
  fs::create_directories(folder);
  korvena_test::Write(folder / "England 1958  7.5.57.SAV", reinterpret_cast<const char*>(pcsave_abImage),
                      PCSAVE_IMAGE_SIZE);
  const std::vector<int> aSteps = {760, 850, 1000, 1100};
  std::string s = korvena_test::LoadAndPlayMatch() + scriptKey(700, "J") + scriptKey(750, "J");
  s += Captures(aSteps) + "1120 quit 0\n";
  const korvena_test::GameRun r = run(s);
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.err.find("Assertion failed"), std::string::npos) << r.err;
  Check(aSteps, "sepia", true);
}

// A Quick Start (Croatia 1998 against the USSR 1958: the home side's
// colours) kicked off: the strip in open play.
TEST_F(StripShadow, TheStripAndNameLinesHaveADarkShadowInAColourMatch) {
  const std::vector<int> aSteps = {810, 850, 890, 930};
  std::string s = scriptKey(100, "RIGHT") + scriptKey(110, "RETURN") + scriptKey(116, "LEFT") + scriptKey(122, "RETURN");
  s += scriptKey(700, "ESCAPE") + scriptKey(740, "ESCAPE") + scriptKey(770, "J");
  s += Captures(aSteps) + "950 quit 0\n";
  const korvena_test::GameRun r = run(s);
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.err.find("Assertion failed"), std::string::npos) << r.err;
  Check(aSteps, "colour", false);
}

}  // namespace
