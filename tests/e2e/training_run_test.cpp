// The real executable, headless: a training session after a Quick Start in
// the same run, played by keyboard.
#include <gtest/gtest.h>

#include <string>

#include "support/captured_pictures.h"
#include "support/run_game.h"

namespace {

using Game = korvena_test::GameRunner;
using korvena_test::readFile;
using korvena_test::scriptKey;

// A Quick Start kicked off and quit, then a training session kicked off.
std::string TrainingAfterAQuickStart() { return korvena_test::scriptQuickStartThenTraining(); }

// The kick-off taker runs at the far goal and shoots (Space at step 2350)
// high and wide of its far post. There is no side to take a goal kick, so
// the ball out over the goal line is the training side's corner; its taker
// takes it and play goes on (the view does not stay on an empty stretch of
// the pitch).
TEST_F(Game, AShotWideInTrainingAfterAMatchGivesTheTrainingSideACornerAndPlayGoesOn) {
  const std::string log = home_ / "debug.txt", d = home_.path();
  env_["KORVENA_DEBUG_LOG"] = log;
  timeLimitSeconds_ = 400;
  std::string s = TrainingAfterAQuickStart();
  s += "2080 keydown RIGHT\n2355 keyup RIGHT\n" + scriptKey(2350, "SPACE");
  // The corner, waiting for its taker; J pressed and let go takes it.
  s += "2700 capture " + d + "/waiting.tga\n" + scriptKey(2710, "J") + "2800 capture " + d + "/taken.tga\n";
  s += "2810 quit 3\n";
  korvena_test::GameRun r = run(s);
  EXPECT_FALSE(r.timedOut);
  EXPECT_EQ(r.exitCode, 3) << r.err;
  EXPECT_EQ(r.err.find("Assertion failed"), std::string::npos) << r.err;
  const std::string d2 = readFile(log);
  // The session: the home side of Albania, kicking off.
  const std::size_t at = d2.find("kick-off: side 1", d2.find("match start: home 59"));
  ASSERT_NE(at, std::string::npos) << d2;
  const std::string session = d2.substr(at);
  EXPECT_NE(session.find("restart: corner, side 1, taker "), std::string::npos) << session;
  EXPECT_EQ(session.find("restart: goal kick"), std::string::npos) << session;
  const std::string waiting = readFile(d + "/waiting.tga");
  ASSERT_FALSE(waiting.empty());
  EXPECT_TRUE(readFile(d + "/taken.tga") != waiting) << "the view stayed where it was";
}

// The debug log of the training session that follows the Quick Start.
std::string SessionLog(const std::string& log) {
  const std::size_t at = log.find("kick-off: side 1", log.find("match start: home 59"));
  return at == std::string::npos ? std::string() : log.substr(at);
}

// A training session after a Quick Start, then the keys of the tail; the
// run ends cleanly and its session log is returned.
class TrainingRun : public Game {
 protected:
  std::string PlaySession(const std::string& tail) {
    const std::string log = home_ / "debug.txt";
    env_["KORVENA_DEBUG_LOG"] = log;
    timeLimitSeconds_ = 400;
    korvena_test::GameRun r = run(TrainingAfterAQuickStart() + tail);
    EXPECT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitCode, 3) << r.err;
    EXPECT_EQ(r.err.find("Assertion failed"), std::string::npos) << r.err;
    const std::string session = SessionLog(readFile(log));
    EXPECT_FALSE(session.empty()) << readFile(log);
    return session;
  }
};

// Select (Tab) with the controlled player in the penalty area his side
// defends stages a penalty at the far goal: the side's penalty taker steps
// up, the aim sweeps, and Space taken at this point of the sweep shoots wide;
// the ball out over the goal line is the training side's corner and play
// goes on. Before, the penalty had no taker and the session stood still.
TEST_F(TrainingRun, SelectInTheAreaTheTrainingSideDefendsStagesAPenaltyThatIsTaken) {
  const std::string session = PlaySession("2080 keydown LEFT\n2330 keyup LEFT\n" + scriptKey(2335, "TAB") +
                                          "2630 keydown SPACE\n2636 keyup SPACE\n3400 quit 3\n");
  const std::size_t taker = session.find("pen taker = ");
  ASSERT_NE(taker, std::string::npos) << session;
  EXPECT_NE(session.find("restart: corner, side 1, taker ", taker), std::string::npos) << session;
}

// Select elsewhere stages a free kick where the player stands: the players
// walk to their places, J held and let go takes it, and the shot wide of the
// far goal gives a corner. Before, the free kick was never set up and the
// session stood still with the kick keys doing nothing.
TEST_F(TrainingRun, SelectOutsideThePenaltyAreaInTrainingStagesAFreeKickThatIsTaken) {
  const std::string session = PlaySession("2080 keydown RIGHT\n2200 keyup RIGHT\n" + scriptKey(2205, "TAB") +
                                          "2500 keydown J\n2530 keyup J\n2780 quit 3\n");
  EXPECT_EQ(session.find("pen taker = "), std::string::npos) << session;
  EXPECT_NE(session.find("restart: corner, side 1, taker "), std::string::npos) << session;
}

// Escape at the training kick-off (the training side is the side in
// possession) opens the pause menu, as at every other kick-off; "Resume
// Match" (J, the helper's kick-off key) goes back to the kick-off, J then
// kicks off and the session plays on to the corner of a shot wide. Before,
// Escape did nothing until the ball was in play.
TEST_F(TrainingRun, EscapeAtTheTrainingKickOffPausesAndTheKickOffIsTakenAfterResuming) {
  const std::string d = home_.path();
  const std::string session =
      PlaySession("2035 capture " + d + "/before.tga\n" + scriptKey(2040, "ESCAPE") + "2046 capture " + d +
                  "/paused.tga\n" + scriptKey(2080, "J") + "2110 keydown RIGHT\n2395 keyup RIGHT\n" +
                  scriptKey(2390, "SPACE") + "2900 quit 3\n");
  // The menu's title strip shades to orange at its right end (about 100,
  // 50, 0 at x 400 to 440, y 202 to 212); neither the pitch, its lines nor
  // the stands show such a patch.
  auto orange = [](const korvena_test::Picture& p) {
    int n = 0;
    for (int y = 202; y <= 212; ++y)
      for (int x = 400; x <= 440; ++x) {
        const uint16_t c = p.At(x, y);
        const int r = (c >> 11) << 3, g = ((c >> 5) & 63) << 2, bl = (c & 31) << 3;
        n += r >= 50 && 10 * g < 6 * r && bl < 24;
      }
    return n;
  };
  const korvena_test::Picture before = korvena_test::ReadTga(d + "/before.tga");
  const korvena_test::Picture paused = korvena_test::ReadTga(d + "/paused.tga");
  ASSERT_EQ(before.width, 640);
  ASSERT_EQ(paused.width, 640);
  EXPECT_EQ(orange(before), 0);
  EXPECT_GT(orange(paused), 11 * 41 / 2) << "the pause menu did not open at the kick-off";
  EXPECT_NE(session.find("restart: corner, side 1, taker "), std::string::npos) << session;
}

}  // namespace
