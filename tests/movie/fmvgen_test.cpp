// The film generator: the same storyboard gives the same bytes, which the
// validator accepts; a damaged storyboard stops it naming the line; the
// match shots are the game's own scene, players in their kits.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/run_game.h"
#include "support/temp_dir.h"

namespace {

std::string Tool(const char* name) {
  const char* build = std::getenv("KORVENA_BUILD_DIR");
  return std::string(build ? build : ".") + "/tools/" + name;
}

std::string Generate(const std::string& board, const std::string& out, korvena_test::ToolRun* run,
                     const std::string& more = "") {
  const char* src = std::getenv("KORVENA_SOURCE_DIR");
  const char* build = std::getenv("KORVENA_BUILD_DIR");
  *run = korvena_test::runTool(Tool("fmvgen") + " --board " + board + " --out " + out +
                               " --font /usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf --narration " +
                               std::string(src ? src : ".") + "/assets/fmv/narration --work " +
                               out.substr(0, out.find_last_of('/')) + " --data " + (build ? build : ".") +
                               "/data" + more);
  std::ifstream in(out, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST(FilmGenerator, SameStoryboardSameBytesAndTheValidatorAgrees) {
  korvena_test::TempDir dir;
  dir.write("board.txt",
            "seed 5\nshot 1 ident text=OSTREL\nshot 1 volley night=1 fade=out\nshot 0.6 era year=1962\n"
            "cue 0 sting\ncue 0.5 crowd length=2\nnarrate 0.2 eng win\n");
  korvena_test::ToolRun a, b;
  const std::string first = Generate(dir / "board.txt", dir / "a.rpl", &a);
  const std::string second = Generate(dir / "board.txt", dir / "b.rpl", &b);
  ASSERT_EQ(a.exitCode, 0) << a.out;
  ASSERT_EQ(b.exitCode, 0) << b.out;
  EXPECT_EQ(first.size(), second.size());
  EXPECT_TRUE(first == second) << "two runs differ";
  const korvena_test::ToolRun check = korvena_test::runTool(Tool("korvena_fmvcheck") + " " + (dir / "a.rpl"));
  EXPECT_EQ(check.exitCode, 0) << check.out;
  EXPECT_NE(check.out.find("320 x 240, 39 frames at 15.000 fps, sound 22050 Hz precision 4"), std::string::npos)
      << check.out;
}

TEST(FilmGenerator, ADamagedStoryboardStopsNamingItsLine) {
  struct Case {
    const char* board;
    const char* line;
  };
  const Case cases[] = {
      {"seed 1\nshot 2 ident\nshot 2 sunset\n", "board.txt:3: unknown scene sunset"},
      {"shot two ident\n", "board.txt:1: shot needs a length"},
      {"shot 2 ident\n\n# fine\ncue 1 trumpet\n", "board.txt:4: unknown sound trumpet"},
      {"shot 2 era year=1960\n", "board.txt:1: no edition year"},
      {"shot 2 ident colour\n", "board.txt:1: \"colour\" is not key=value"},
      {"shot 2 ident tint=red\n", "board.txt:1: unknown key tint"},
      {"seed\n", "board.txt:1: seed needs one number"},
      {"shot 2 ident\nnarrate 1 eng\n", "board.txt:2: narrate needs"},
      {"film 3\n", "board.txt:1: unknown line"},
      {"# nothing\n", "board.txt: no shots"},
      {"shot 40 ident\nshot 40 ident\n", "board.txt: longer than a minute"},
      {"shot 2 ident\nnarrate 1 eng cheer\n", "eng.txt: no line cheer"},
      {"shot 2 ident\nnarrate 1 klingon win\n", "klingon.txt: cannot be read"},
  };
  for (const Case& c : cases) {
    korvena_test::TempDir dir;
    dir.write("board.txt", c.board);
    korvena_test::ToolRun r;
    Generate(dir / "board.txt", dir / "out.rpl", &r);
    EXPECT_EQ(r.exitCode, 1) << c.board;
    EXPECT_NE(r.out.find(c.line), std::string::npos) << c.board << "\n" << r.out;
    EXPECT_FALSE(std::ifstream(dir / "out.rpl").good()) << "a film was written for\n" << c.board;
  }
}

// A 24-bit TGA written by --look, top row first: rgb triples.
std::vector<uint8_t> ReadLook(const std::string& path, int* w, int* h) {
  std::ifstream in(path, std::ios::binary);
  const std::string b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (b.size() < 18) return {};
  *w = static_cast<uint8_t>(b[12]) | static_cast<uint8_t>(b[13]) << 8;
  *h = static_cast<uint8_t>(b[14]) | static_cast<uint8_t>(b[15]) << 8;
  if (b.size() != 18 + static_cast<size_t>(*w) * *h * 3) return {};
  std::vector<uint8_t> rgb;
  for (size_t i = 18; i + 2 < b.size(); i += 3)
    for (int k : {2, 1, 0}) rgb.push_back(static_cast<uint8_t>(b[i + k]));
  return rgb;
}

// Pixels of a colour lit or shaded (a multiple of it within a distance).
int Count(const std::vector<uint8_t>& rgb, const int c[3], int within) {
  int n = 0;
  const double cc = c[0] * c[0] + c[1] * c[1] + c[2] * c[2];
  for (size_t i = 0; i + 2 < rgb.size(); i += 3) {
    double f = (rgb[i] * c[0] + rgb[i + 1] * c[1] + rgb[i + 2] * c[2]) / cc;
    f = std::min(std::max(f, 0.5), 1.1);
    if (std::fabs(rgb[i] - f * c[0]) + std::fabs(rgb[i + 1] - f * c[1]) + std::fabs(rgb[i + 2] - f * c[2]) <= within) ++n;
  }
  return n;
}

// The teams walking out by day: both sides' shirts (the home side's yellow,
// the away side's blue) cover the frame in hundreds of pixels, a second
// later the lines have walked on, and without the data tree the match shot
// is refused.
TEST(FilmGenerator, TheMatchShotsShowTheGamesPlayersInTheirKits) {
  korvena_test::TempDir dir;
  dir.write("board.txt", "seed 2\nshot 2 walkout night=0 fade=none\n");
  korvena_test::ToolRun r;
  Generate(dir / "board.txt", dir / "a.rpl", &r, " --look " + (dir / ""));
  ASSERT_EQ(r.exitCode, 0) << r.out;
  int w = 0, h = 0, w1 = 0, h1 = 0;
  const std::vector<uint8_t> first = ReadLook(dir / "0.tga", &w, &h), later = ReadLook(dir / "1.tga", &w1, &h1);
  ASSERT_EQ(w, 320);
  ASSERT_EQ(h, 240);
  ASSERT_EQ(later.size(), first.size());
  const int yellow[3] = {245, 210, 25}, blue[3] = {25, 60, 175};
  EXPECT_GT(Count(first, yellow, 60), 600);
  EXPECT_GT(Count(first, blue, 60), 600);
  int moved = 0;
  for (size_t i = 0; i < first.size(); ++i) moved += std::abs(first[i] - later[i]) > 24 ? 1 : 0;
  EXPECT_GT(moved, 3000);

  korvena_test::ToolRun bare = korvena_test::runTool(
      Tool("fmvgen") + " --board " + (dir / "board.txt") + " --out " + (dir / "b.rpl") +
      " --font /usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf --work " + (dir / ""));
  EXPECT_EQ(bare.exitCode, 1);
  EXPECT_NE(bare.out.find("board.txt: its match shots need --data"), std::string::npos) << bare.out;
}

// The era shots are the game's scene too: in 1994 the away side's yellow
// shirts run on the pitch below the boards; the 1958 picture is sepia
// through and through yet far from flat.
TEST(FilmGenerator, TheEraShotsShowPlayersOfTheirEra) {
  korvena_test::TempDir dir;
  dir.write("board.txt", "seed 1\nshot 3 era year=1994 fade=none\nshot 2 era year=1958 fade=none\n");
  korvena_test::ToolRun r;
  Generate(dir / "board.txt", dir / "a.rpl", &r, " --look " + (dir / ""));
  ASSERT_EQ(r.exitCode, 0) << r.out;
  const int yellow[3] = {245, 210, 25};
  for (int second = 0; second < 3; ++second) {
    int w = 0, h = 0;
    std::vector<uint8_t> rgb = ReadLook(dir / (std::to_string(second) + ".tga"), &w, &h);
    ASSERT_EQ(rgb.size(), 320u * 240 * 3);
    rgb.erase(rgb.begin(), rgb.begin() + 40 * 320 * 3);
    EXPECT_GT(Count(rgb, yellow, 60), 50) << "second " << second;
  }
  for (int second = 3; second < 5; ++second) {
    int w = 0, h = 0;
    const std::vector<uint8_t> rgb = ReadLook(dir / (std::to_string(second) + ".tga"), &w, &h);
    ASSERT_EQ(rgb.size(), 320u * 240 * 3);
    double sum = 0, squares = 0, off = 0;
    for (size_t i = 0; i < rgb.size(); i += 3) {
      // The tint is 0.9098 : 0.8784 : 0.8196 of the luminance.
      off = std::max({off, std::fabs(rgb[i] - rgb[i + 2] * 0.9098 / 0.8196), std::fabs(rgb[i + 1] - rgb[i + 2] * 0.8784 / 0.8196)});
      sum += rgb[i + 2];
      squares += double(rgb[i + 2]) * rgb[i + 2];
    }
    const double n = rgb.size() / 3.0, spread = std::sqrt(squares / n - (sum / n) * (sum / n));
    EXPECT_LE(off, 2.0) << "second " << second;
    EXPECT_GT(spread, 15.0) << "second " << second;
  }
}

}  // namespace
