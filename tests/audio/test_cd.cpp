// CD audio over a disc of WAV tracks made here: the track table in MSF
// positions, selection, play ranges on the virtual clock, the time left, the
// auxiliary volume with its balance, the fade and what the mixer hears.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "audio/qal.h"
#include "platform/audio.h"
#include "platform/clock.h"
#include "platform/headless.h"
#include "support/headless_env.h"
#include "support/temp_dir.h"

namespace {

constexpr uint32_t kSamplesPerFrame = 294;

std::filesystem::path discFolder() { return korvena_test::HeadlessRoot() / "data" / "cdaudio"; }

void writeWav(const std::filesystem::path& path, const std::vector<int16_t>& mono) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  auto le = [&](uint32_t v, int n) {
    for (int i = 0; i < n; ++i) out.put(static_cast<char>((v >> (8 * i)) & 0xFF));
  };
  uint32_t data = static_cast<uint32_t>(mono.size() * 2);
  out.write("RIFF", 4);
  le(36 + data, 4);
  out.write("WAVEfmt ", 8);
  le(16, 4);
  le(1, 2);
  le(1, 2);
  le(22050, 4);
  le(44100, 4);
  le(2, 2);
  le(16, 2);
  out.write("data", 4);
  le(data, 4);
  for (int16_t s : mono) le(static_cast<uint16_t>(s), 2);
}

// Track n (2..) holds samples of the value n * 100 so that what plays tells
// which track it is, and lasts a little over 1 + n/10 seconds.
uint32_t trackSamples(int n) { return 22050 + static_cast<uint32_t>(n) * 2205 + 37; }

class Cd : public ::testing::Test {
 protected:
  void makeDisc(int lastTrack) {
    std::filesystem::remove_all(discFolder());
    std::filesystem::create_directories(discFolder());
    for (int n = 2; n <= lastTrack; ++n) {
      char name[32];
      std::snprintf(name, sizeof name, "track%02d.wav", n);
      writeWav(discFolder() / name, std::vector<int16_t>(trackSamples(n), static_cast<int16_t>(n * 100)));
    }
  }
  void TearDown() override {
    QALShutdown();
    std::filesystem::remove_all(discFolder());
  }
  // Advances the clock by a little over `frames` CD frames.
  void playFrames(uint32_t frames) {
    platform::headlessAdvanceClock((static_cast<uint64_t>(frames) * kSamplesPerFrame + 10) * 1'000'000'000ull / 22050 + 1);
  }
  korvena_test::TempDir dir_;
};

TEST_F(Cd, ADiscOf35TracksOffers30AndTheLastPlaysOnToTheEnd) {
  makeDisc(35);
  ASSERT_EQ(QALInit(nullptr, 1048576, 1024), QAL_OK);
  ASSERT_EQ(qal_bCDOpened, 1);
  EXPECT_EQ(qal_oCD.firstTrack, 1);
  EXPECT_EQ(qal_oCD.lastTrack, 30);
  // Track 1 is the two-second data track; the others follow by their lengths.
  uint32_t frame = 0;
  for (int n = 1; n <= 35; ++n) {
    if (n <= 30) {
      EXPECT_EQ(qal_oCD.start[n - 1], QALCDFramesToMsf(frame)) << n;
    }
    frame += n == 1 ? 150 : trackSamples(n) / kSamplesPerFrame;
  }
  EXPECT_EQ(qal_oCD.start[1], 0x000200u);  // 00:02:00
  EXPECT_EQ(qal_oCD.start[30], QALCDFramesToMsf(frame));  // the disc's length
  ASSERT_EQ(QALCDSelectTrack(30), QAL_OK);
  EXPECT_EQ(qal_oCD.to, QALCDFramesToMsf(frame));
  // Out of range: refused, the selection kept.
  ASSERT_EQ(QALCDSelectTrack(5), QAL_OK);
  uint32_t from = qal_oCD.from, to = qal_oCD.to;
  for (int bad : {0, -1, 31, 35}) {
    EXPECT_EQ(QALCDSelectTrack(bad), QAL_ERROR) << bad;
    EXPECT_EQ(qal_oCD.selected, 5);
    EXPECT_EQ(qal_oCD.from, from);
    EXPECT_EQ(qal_oCD.to, to);
  }
  EXPECT_EQ(QALCDMsfToFrames(to) - QALCDMsfToFrames(from), trackSamples(5) / kSamplesPerFrame);
}

TEST_F(Cd, TimeLeftIsExactAndPlayStopsAtTheRangeEnd) {
  makeDisc(7);
  ASSERT_EQ(QALInit(nullptr, 1048576, 1024), QAL_OK);
  ASSERT_EQ(QALCDSelectTrack(3), QAL_OK);
  const uint32_t length = trackSamples(3) / kSamplesPerFrame;  // 97 frames: 1 s 22 frames
  ASSERT_EQ(length, 97u);
  auto msf = [](int m, int s, int f) { return m * 65536 + s * 256 + f; };
  EXPECT_EQ(QALCDGetTimeLeft(), msf(0, 1, 22));
  ASSERT_EQ(QALCDPlay(), QAL_OK);
  EXPECT_EQ(QALCDIsPlaying(), 1);
  playFrames(10);
  EXPECT_EQ(QALCDGetTimeLeft(), msf(0, 1, 12));
  playFrames(40);  // borrows a second: 0 s 47 f
  EXPECT_EQ(QALCDGetTimeLeft(), msf(0, 0, 47));
  EXPECT_TRUE(platform::cdIsPlaying());
  playFrames(100);
  EXPECT_FALSE(platform::cdIsPlaying());
  EXPECT_EQ(QALCDGetTimeLeft(), 0);
  EXPECT_EQ(platform::cdPosition(), QALCDMsfToFrames(qal_oCD.start[2]) + length);
  ASSERT_EQ(QALCDStop(), QAL_OK);
  EXPECT_EQ(QALCDIsPlaying(), 0);
  EXPECT_EQ(qal_oCD.position, qal_oCD.from);
}

TEST_F(Cd, MinutesSecondsAndFramesBorrow) {
  // A long track: 3 minutes 30 seconds.
  std::filesystem::remove_all(discFolder());
  std::filesystem::create_directories(discFolder());
  writeWav(discFolder() / "track02.wav", std::vector<int16_t>(210 * 22050, 5));
  ASSERT_EQ(QALInit(nullptr, 1048576, 1024), QAL_OK);
  ASSERT_EQ(QALCDSelectTrack(2), QAL_OK);
  EXPECT_EQ(QALCDGetTimeLeft(), 3 * 65536 + 30 * 256);
  ASSERT_EQ(QALCDPlay(), QAL_OK);
  playFrames((3 * 60 + 25) * 75 + 65);  // 4 s 10 f left
  EXPECT_EQ(QALCDGetTimeLeft(), 0x040A);
  EXPECT_GE(QALCDGetTimeLeft(), 1024);  // not yet under 4 seconds
  playFrames(11);
  EXPECT_EQ(QALCDGetTimeLeft(), 3 * 256 + 74);  // under 4 seconds now
  EXPECT_EQ(QALCDPause(), QAL_OK);
  uint32_t paused = qal_oCD.position;
  playFrames(30);
  EXPECT_EQ(QALCDGetTimeLeft(), 3 * 256 + 74);
  EXPECT_EQ(QALCDResume(), QAL_OK);
  EXPECT_EQ(QALCDMsfToFrames(paused), platform::cdPosition());
  playFrames(75);
  EXPECT_EQ(QALCDGetTimeLeft(), 2 * 256 + 74);
  EXPECT_EQ(QALCDRewind(), QAL_OK);
  EXPECT_EQ(QALCDGetTimeLeft(), 3 * 65536 + 30 * 256);
}

TEST_F(Cd, VolumeAndBalancePerChannelAndRestoredAtClose) {
  makeDisc(3);
  platform::cdSetAuxVolume(0x60006000u);  // as the desktop left it
  ASSERT_EQ(QALInit(nullptr, 1048576, 1024), QAL_OK);
  EXPECT_EQ(QALCDGetVolume(), 0x3000);
  EXPECT_EQ(qal_oCD.savedVolume, 0x3000);
  struct {
    int32_t volume, balance;
    uint32_t left, right;
  } cases[] = {
      {20000, 32768, 20000, 20000}, {20000, 16384, 20000, 3616}, {20000, 49152, 3616, 20000},
      {20000, 0, 20000, 0},         {20000, 65535, 0, 20000},    {20000, 32769, 19999, 20000},
      {32767, 32768, 32767, 32767}, {0, 40000, 0, 0},            {40000, 32768, 32767, 32767},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(QALCDSetBalance(c.balance), QAL_OK);
    ASSERT_EQ(QALCDSetVolume(c.volume), QAL_OK);
    uint32_t aux = platform::cdAuxVolume();
    EXPECT_EQ(aux & 0xFFFF, c.left * 2) << c.volume << " " << c.balance;
    EXPECT_EQ(aux >> 16, c.right * 2) << c.volume << " " << c.balance;
    EXPECT_EQ(QALCDGetBalance(), c.balance);
  }
  QALCDSetBalance(32768);
  // The CD's gain in the mix: half volume, about half the level, left only.
  QALCDSetBalance(65535);
  QALCDSetVolume(32767);
  ASSERT_EQ(QALCDSelectTrack(2), QAL_OK);
  ASSERT_EQ(QALCDPlay(), QAL_OK);
  std::vector<int16_t> mix(2 * 100);
  ASSERT_TRUE(platform::audioHeadlessMix(mix.data(), 100));
  EXPECT_EQ(mix[0], 0);    // left lowered to nothing
  EXPECT_EQ(mix[1], 200);  // track 2's samples, at full gain
  QALCDSetBalance(32768);
  QALCDSetVolume(16383);
  ASSERT_TRUE(platform::audioHeadlessMix(mix.data(), 100));
  EXPECT_EQ(mix[0], 99);
  EXPECT_EQ(mix[1], 99);
  QALShutdown();
  EXPECT_EQ(platform::cdAuxVolume(), 0x60006000u);
  EXPECT_EQ(qal_bCDOpened, 0);
  platform::cdSetAuxVolume(0xFFFFFFFFu);
}

TEST_F(Cd, TheFadeStepsOnTheTimerAndNeverOvershoots) {
  makeDisc(3);
  ASSERT_EQ(QALInit(nullptr, 1048576, 1024), QAL_OK);
  ASSERT_EQ(QALCDFade(30000, 1000, 725), QAL_OK);  // 14.5 ticks: the last one stops at 1000
  std::vector<uint32_t> seen;
  for (int i = 0; i < 20; ++i) {
    platform::headlessAdvanceClock(50'000'000);
    seen.push_back(platform::cdAuxVolume() & 0xFFFF);
  }
  for (size_t i = 0; i < seen.size(); ++i) {
    EXPECT_GE(seen[i], 2000u) << i;
    if (i) {
      EXPECT_LE(seen[i], seen[i - 1]) << i;
    }
  }
  EXPECT_EQ(seen[0], 2u * 28000u);
  EXPECT_EQ(seen.back(), 2000u);
  EXPECT_EQ(QALCDFade(0, 500, 0), QAL_OK);  // no length: at once
  EXPECT_EQ(platform::cdAuxVolume() & 0xFFFF, 1000u);
  platform::cdSetAuxVolume(0xFFFFFFFFu);
}

TEST_F(Cd, TheMixerPlaysTheSelectedTrack) {
  makeDisc(4);
  platform::cdSetAuxVolume(0xFFFFFFFFu);
  ASSERT_EQ(QALInit(nullptr, 1048576, 1024), QAL_OK);
  ASSERT_EQ(QALCDSelectTrack(3), QAL_OK);
  ASSERT_EQ(QALCDPlay(), QAL_OK);
  std::string path = dir_ / "cd.wav";
  ASSERT_TRUE(platform::audioHeadlessCapture(path, 2000));
  platform::headlessAdvanceClock(2'100'000'000ull);
  std::vector<uint8_t> wav = korvena_test::readBytes(path);
  ASSERT_EQ(wav.size(), 44u + 44100u * 4u);
  size_t trackFrames = trackSamples(3) / kSamplesPerFrame * kSamplesPerFrame;
  for (size_t i = 0; i < 44100; i += 7) {
    int16_t left = static_cast<int16_t>(wav[44 + i * 4] | (wav[45 + i * 4] << 8));
    ASSERT_EQ(left, i < trackFrames ? 300 : 0) << i;  // track 3 only, then silence at its end
  }
  std::string state = platform::audioStateText();
  EXPECT_NE(state.find("audio cd=open tracks=4 track=4 playing=0"), std::string::npos) << state;
}

// A missing, empty or damaged track keeps its number as two seconds of
// silence; the tracks after it are on the disc and play.
TEST_F(Cd, AnUnreadableTrackIsLeftOutAndTheOthersPlay) {
  for (int kind = 0; kind < 3; ++kind) {
    SCOPED_TRACE(kind);
    makeDisc(5);
    if (kind == 0) std::filesystem::remove(discFolder() / "track02.wav");
    if (kind == 1) std::ofstream(discFolder() / "track02.wav", std::ios::trunc);
    if (kind == 2) std::ofstream(discFolder() / "track02.wav", std::ios::trunc) << "RIFF\x10\0\0\0WAVEjunk";
    ASSERT_EQ(QALInit(nullptr, 1048576, 1024), QAL_OK);
    ASSERT_EQ(qal_bCDOpened, 1);
    EXPECT_EQ(qal_oCD.lastTrack, 5);
    EXPECT_EQ(qal_oCD.start[2], QALCDFramesToMsf(150 + 150));  // track 3 after the silent track 2
    ASSERT_EQ(QALCDSelectTrack(4), QAL_OK);
    EXPECT_EQ(QALCDMsfToFrames(qal_oCD.to) - QALCDMsfToFrames(qal_oCD.from), trackSamples(4) / kSamplesPerFrame);
    ASSERT_EQ(QALCDPlay(), QAL_OK);
    EXPECT_EQ(QALCDIsPlaying(), 1);
    QALShutdown();
  }
}

TEST_F(Cd, NoDiscNoCd) {
  std::filesystem::remove_all(discFolder());
  ASSERT_EQ(QALInit(nullptr, 1048576, 1024), QAL_OK);
  EXPECT_EQ(qal_bCDOpened, 0);
  EXPECT_EQ(QALCDSelectTrack(2), QAL_ERROR);
  EXPECT_EQ(QALCDPlay(), QAL_OK);  // returns at once; nothing plays
  EXPECT_EQ(QALCDIsPlaying(), 0);
  EXPECT_EQ(QALCDStop(), QAL_OK);
  EXPECT_EQ(QALCDGetTimeLeft(), QAL_ERROR);
  EXPECT_NE(platform::audioStateText().find("audio cd=closed"), std::string::npos);
}

}  // namespace
