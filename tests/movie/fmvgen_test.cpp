// The film generator: the same storyboard gives the same bytes, which the
// validator accepts; a damaged storyboard stops it naming the line.
#include <gtest/gtest.h>

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

std::string Generate(const std::string& board, const std::string& out, korvena_test::ToolRun* run) {
  const char* src = std::getenv("KORVENA_SOURCE_DIR");
  *run = korvena_test::runTool(Tool("fmvgen") + " --board " + board + " --out " + out +
                               " --font /usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf --narration " +
                               std::string(src ? src : ".") + "/assets/fmv/narration --work " +
                               out.substr(0, out.find_last_of('/')));
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

}  // namespace
