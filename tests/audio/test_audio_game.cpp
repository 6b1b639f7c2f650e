// The whole game, headless: the script's audio-state prints the device, the
// voices and the CD, and audio-capture writes the mix of a span as WAV.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "support/run_game.h"

namespace {

using Game = korvena_test::GameRunner;

TEST_F(Game, AudioStateAndCaptureInAWholeRun) {
  std::string capture = home_ / "menu.wav";
  korvena_test::GameRun r = run(
      "2 audio-capture \"" + capture + "\" 300\n"
      "3 audio-state\n"
      "120 audio-state\n"
      "121 quit 3\n");
  ASSERT_FALSE(r.timedOut);
  EXPECT_EQ(r.exitCode, 3) << r.err;
  // Two reports, each with the device line and the CD line.
  size_t first = r.out.find("audio device=");
  ASSERT_NE(first, std::string::npos) << r.out;
  EXPECT_NE(r.out.find("audio device=", first + 1), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("audio cd="), std::string::npos) << r.out;
  // 300 ms of 22050 Hz stereo 16-bit.
  std::vector<uint8_t> wav = korvena_test::readBytes(capture);
  ASSERT_EQ(wav.size(), 44u + 6615u * 4u) << r.err;
  EXPECT_EQ(std::memcmp(wav.data(), "RIFF", 4), 0);
  EXPECT_EQ(wav[22], 2);
  EXPECT_EQ(wav[24] | (wav[25] << 8), 22050);
}

TEST_F(Game, TheMenusPlayTheirMusicAndSounds) {
  std::string capture = home_ / "menu-sound.wav";
  std::string states;
  for (int f = 311; f <= 330; ++f) states += std::to_string(f) + " audio-state\n";
  korvena_test::GameRun r = run(
      "300 audio-state\n"
      "310 keydown DOWN\n"
      "312 keyup DOWN\n" + states +
      "331 audio-capture \"" + capture + "\" 500\n"
      "360 quit 3\n");
  ASSERT_FALSE(r.timedOut);
  EXPECT_EQ(r.exitCode, 3) << r.err;
  // The menu music: track 7, playing.
  EXPECT_NE(r.out.find("track=7 playing=1"), std::string::npos) << r.out;
  // Before the key the menus are silent; the move plays sound 0 of the
  // front-end bank, once, at the effects volume.
  size_t before = r.out.find("audio device=open voices=0");
  ASSERT_NE(before, std::string::npos) << r.out;
  size_t after = r.out.find("audio device=open voices=1", before);
  ASSERT_NE(after, std::string::npos) << r.out << r.err;
  EXPECT_NE(r.out.find("audio voice=", after), std::string::npos) << r.out;
  // The capture holds the music: not silent.
  std::vector<uint8_t> wav = korvena_test::readBytes(capture);
  ASSERT_GT(wav.size(), 44u);
  int peak = 0;
  for (size_t i = 44; i + 1 < wav.size(); i += 2) peak = std::max(peak, std::abs(static_cast<int16_t>(wav[i] | (wav[i + 1] << 8))));
  EXPECT_GT(peak, 1000);
}

// Left at the main menu the game plays its demo match, and the match sounds:
// a crowd track replaces the menu music, the crowd's voices play, and the mix
// is loud.
TEST_F(Game, TheDemoMatchMakesSound) {
  std::string capture = home_ / "match.wav";
  std::string script;
  for (int f = 1600; f <= 3000; f += 20) script += std::to_string(f) + " audio-state\n";
  script += "2600 audio-capture \"" + capture + "\" 3000\n3100 quit 3\n";
  korvena_test::GameRun r = run(script);
  ASSERT_FALSE(r.timedOut);
  EXPECT_EQ(r.exitCode, 3) << r.err;
  // The CD plays a crowd track (2 to 6), not the menu's 7.
  bool bCrowdTrack = false;
  int iMostVoices = 0;
  for (size_t at = r.out.find("audio "); at != std::string::npos; at = r.out.find("audio ", at + 1)) {
    const size_t end = r.out.find('\n', at);
    const std::string line = r.out.substr(at, end - at);
    const size_t t = line.find(" track=");
    if (line.rfind("audio cd=", 0) == 0 && t != std::string::npos && line.find("playing=1") != std::string::npos) {
      const int iTrack = std::atoi(line.c_str() + t + 7);
      if (iTrack >= 2 && iTrack <= 6) bCrowdTrack = true;
    }
    const size_t v = line.find(" voices=");
    if (line.rfind("audio device=", 0) == 0 && v != std::string::npos)
      iMostVoices = std::max(iMostVoices, std::atoi(line.c_str() + v + 8));
  }
  EXPECT_TRUE(bCrowdTrack) << r.out;
  EXPECT_GE(iMostVoices, 1) << r.out;
  std::vector<uint8_t> wav = korvena_test::readBytes(capture);
  ASSERT_GT(wav.size(), 44u) << r.err;
  int peak = 0;
  for (size_t i = 44; i + 1 < wav.size(); i += 2) peak = std::max(peak, std::abs(static_cast<int16_t>(wav[i] | (wav[i + 1] << 8))));
  EXPECT_GT(peak, 1000);
}

TEST_F(Game, BadAudioCommandsAreRefusedWithTheirLine) {
  korvena_test::GameRun r = run("1 audio-capture out.wav\n");
  EXPECT_NE(r.exitCode, 0);
  EXPECT_NE(r.err.find("line 1"), std::string::npos) << r.err;
  r = run("1 audio-capture out.wav 0\n");
  EXPECT_NE(r.exitCode, 0);
  EXPECT_NE(r.err.find("audio-capture expects a path and 1 to 600000 milliseconds"), std::string::npos) << r.err;
  r = run("1 audio-state now\n");
  EXPECT_NE(r.exitCode, 0);
}

}  // namespace
