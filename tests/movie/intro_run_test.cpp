// The real executable, headless, with the build's films: the four start-up
// films show and sound, then the menu music and bank; the history intro's
// film plays and hands over; idle at the menu, the attract film plays and a
// key brings the menu back.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/run_game.h"

namespace {

using Game = korvena_test::GameRunner;

// The pixels of a captured TGA (after its 18-byte header).
std::vector<uint8_t> Pixels(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<uint8_t> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return b.size() > 18 ? std::vector<uint8_t>(b.begin() + 18, b.end()) : std::vector<uint8_t>();
}

bool Black(const std::vector<uint8_t>& px) {
  for (uint8_t v : px)
    if (v > 24) return false;
  return true;
}

const char* const kFrontEndBank = "audio bank=effects file=WN32\\FRONTEND.KBB sounds=";

// The "audio-state" block printed at the n-th request.
std::string StateBlock(const std::string& out, int n) {
  std::size_t at = 0;
  for (int i = 0; i <= n; ++i) {
    at = out.find("audio device=", at);
    if (at == std::string::npos) return "";
    if (i < n) ++at;
  }
  const std::size_t next = out.find("audio device=", at + 1);
  return out.substr(at, next == std::string::npos ? std::string::npos : next - at);
}

TEST_F(Game, TheFourStartUpFilmsShowWithTheirSoundAndTheMenuMusicFollows) {
  // The films last 5, 5, 30 and 45 seconds at 15 frames a second, one a step.
  const char* const shots[] = {"ident1.tga", "ident2.tga", "title.tga", "montage.tga"};
  const int steps[] = {50, 125, 300, 900};
  std::string s;
  for (int i = 0; i < 4; ++i)
    s += std::to_string(steps[i]) + " capture " + (home_ / shots[i]) + "\n" + std::to_string(steps[i]) +
         " audio-state\n";
  s += "1320 audio-state\n1330 quit 0\n";
  timeLimitSeconds_ = 300;
  korvena_test::GameRun r = runWithIntro(s);
  ASSERT_EQ(r.exitCode, 0) << r.err;
  std::vector<std::vector<uint8_t>> px;
  for (const char* shot : shots) {
    px.push_back(Pixels(home_ / shot));
    ASSERT_FALSE(px.back().empty()) << shot;
    EXPECT_FALSE(Black(px.back())) << shot;
  }
  for (size_t i = 0; i < px.size(); ++i)
    for (size_t j = i + 1; j < px.size(); ++j) EXPECT_NE(px[i], px[j]) << shots[i] << " and " << shots[j];
  for (int i = 0; i < 4; ++i) {
    const std::string block = StateBlock(r.out, i);
    EXPECT_NE(block.find("rate=22050"), std::string::npos) << "film " << i << ":\n" << block;
    EXPECT_NE(block.find("loop=1"), std::string::npos) << block;
    EXPECT_EQ(block.find("audio bank="), std::string::npos) << block;  // the library is down during a film
  }
  const std::string menu = StateBlock(r.out, 4);
  EXPECT_EQ(menu.find("audio voice="), std::string::npos) << menu;
  EXPECT_NE(menu.find("track=7 playing=1"), std::string::npos) << menu;
  EXPECT_NE(menu.find(kFrontEndBank), std::string::npos) << menu;
}

TEST_F(Game, IdleAtTheMenuTheAttractFilmPlaysAndAKeyBringsTheMenuBack) {
  // 1500 idle frames bring the demo match, which ends by itself near step
  // 2825; 1500 more bring the montage (mode 83, film 204) near step 4325,
  // 675 frames long. Start (the space bar) released leaves it at once: the
  // menu, its music and its bank are back long before the film's end.
  const std::string menu = home_ / "menu.tga", film = home_ / "attract.tga", back = home_ / "back.tga";
  std::string s = "1000 capture " + menu + "\n1000 audio-state\n";
  s += "4600 capture " + film + "\n4600 audio-state\n4650 keydown SPACE\n4652 keyup SPACE\n";
  s += "4800 capture " + back + "\n4800 audio-state\n4810 quit 0\n";
  timeLimitSeconds_ = 600;  // a whole demo match of the sanitized game on a loaded machine
  korvena_test::GameRun r = run(s);
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const std::vector<uint8_t> before = Pixels(menu), during = Pixels(film), after = Pixels(back);
  ASSERT_FALSE(during.empty());
  EXPECT_FALSE(Black(during));
  EXPECT_NE(during, before);
  EXPECT_NE(during, after);
  EXPECT_EQ(before.size(), after.size());
  const std::string idle = StateBlock(r.out, 0), playing = StateBlock(r.out, 1), again = StateBlock(r.out, 2);
  EXPECT_NE(idle.find(kFrontEndBank), std::string::npos) << idle;
  EXPECT_NE(playing.find("rate=22050"), std::string::npos) << playing;
  EXPECT_NE(playing.find("audio cd=closed"), std::string::npos) << playing;
  EXPECT_EQ(playing.find("audio bank="), std::string::npos) << playing;
  EXPECT_EQ(again.find("audio voice="), std::string::npos) << again;
  EXPECT_NE(again.find("track=7 playing=1"), std::string::npos) << again;
  EXPECT_NE(again.find(kFrontEndBank), std::string::npos) << again;
}

TEST_F(Game, HistoryPlaysItsShortFilmThenHandsOver) {
  // Escape held past the films, the menu by step 10: History is one row down.
  std::string s = korvena_test::kSkipIntro;
  s += "20 keydown DOWN\n22 keyup DOWN\n26 keydown RETURN\n28 keyup RETURN\n";
  s += "100 audio-state\n100 capture " + (home_ / "film.tga") + "\n";
  s += "300 audio-state\n310 quit 0\n";
  korvena_test::GameRun r = runWithIntro(s);
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(StateBlock(r.out, 0).find("rate=22050"), std::string::npos) << r.out;
  EXPECT_FALSE(Black(Pixels(home_ / "film.tga")));
  EXPECT_EQ(StateBlock(r.out, 1).find("audio voice="), std::string::npos) << StateBlock(r.out, 1);
}

TEST_F(Game, WithoutASoundDeviceTheStartUpAndHistoryFilmsPlaySilently) {
  env_["KORVENA_AUDIO_DEVICE"] = "none";
  // The first two start-up films (5 seconds each at 15 frames a second, one
  // a step); Escape held leaves the chain for the menu, whose History plays
  // its intro film.
  std::string s = "30 capture " + (home_ / "ident1a.tga") + "\n40 capture " + (home_ / "ident1b.tga") + "\n";
  s += "40 audio-state\n125 capture " + (home_ / "ident2.tga") + "\n";
  s += "130 keydown ESCAPE\n132 keyup ESCAPE\n";
  s += "150 keydown DOWN\n152 keyup DOWN\n156 keydown RETURN\n158 keyup RETURN\n";
  s += "230 capture " + (home_ / "history.tga") + "\n240 quit 0\n";
  timeLimitSeconds_ = 300;
  korvena_test::GameRun r = runWithIntro(s);
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const std::string state = StateBlock(r.out, 0);
  EXPECT_NE(state.find("audio device=closed"), std::string::npos) << state;
  EXPECT_EQ(state.find("audio voice="), std::string::npos) << state;
  const std::vector<uint8_t> a = Pixels(home_ / "ident1a.tga"), b = Pixels(home_ / "ident1b.tga");
  const std::vector<uint8_t> c = Pixels(home_ / "ident2.tga"), h = Pixels(home_ / "history.tga");
  ASSERT_FALSE(a.empty());
  ASSERT_FALSE(c.empty());
  ASSERT_FALSE(h.empty());
  EXPECT_FALSE(Black(a));
  EXPECT_NE(a, b) << "the film moves on between its frames";
  EXPECT_FALSE(Black(c));
  EXPECT_NE(a, c) << "the second film follows the first";
  EXPECT_FALSE(Black(h));
}

}  // namespace
