// CD audio over a disc of WAV tracks made here: the track table in MSF
// positions, selection, play ranges on the virtual clock, the time left, the
// auxiliary volume with its balance, the fade and what the mixer hears.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "audio/qal.h"
#include "platform/audio.h"
#include "platform/clock.h"
#include "platform/headless.h"
#include "platform/paths.h"
#include "support/headless_env.h"
#include "support/temp_dir.h"

namespace {

constexpr uint32_t kSamplesPerFrame = 294;

std::filesystem::path discFolder() { return korvena_test::HeadlessRoot() / "data" / "cdaudio"; }

// A disc track: its format and samples, and where the disc puts it.
struct ModelTrack {
  int channels, bits;
  uint32_t rate;
  std::vector<int16_t> raw;  // interleaved, 8-bit values as stored (0..255)
  uint32_t startFrame = 0, frames = 0;
};

void writeWavOf(const std::filesystem::path& path, const ModelTrack& t) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  auto le = [&](uint32_t v, int n) {
    for (int i = 0; i < n; ++i) out.put(static_cast<char>((v >> (8 * i)) & 0xFF));
  };
  const uint32_t bytes = static_cast<uint32_t>(t.raw.size() * (t.bits / 8));
  const uint32_t block = static_cast<uint32_t>(t.channels * t.bits / 8);
  out.write("RIFF", 4);
  le(36 + bytes, 4);
  out.write("WAVEfmt ", 8);
  le(16, 4);
  le(1, 2);
  le(static_cast<uint32_t>(t.channels), 2);
  le(t.rate, 4);
  le(t.rate * block, 4);
  le(block, 2);
  le(static_cast<uint32_t>(t.bits), 2);
  out.write("data", 4);
  le(bytes, 4);
  for (int16_t v : t.raw) le(static_cast<uint16_t>(v), t.bits / 8);
}

void writeWav(const std::filesystem::path& path, const std::vector<int16_t>& mono) {
  writeWavOf(path, ModelTrack{1, 16, 22050, mono});
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

// The sample the disc holds at output position p (stereo, channel ch).
int16_t modelSample(const std::vector<ModelTrack>& disc, uint64_t p, int ch) {
  for (const ModelTrack& t : disc) {
    const uint64_t first = static_cast<uint64_t>(t.startFrame) * kSamplesPerFrame;
    if (p < first || p >= first + static_cast<uint64_t>(t.frames) * kSamplesPerFrame) continue;
    if (t.raw.empty()) return 0;  // the data track
    const uint64_t src = (p - first) * t.rate / 22050;
    if (src >= t.raw.size() / static_cast<size_t>(t.channels)) return 0;
    const int16_t v = t.raw[src * static_cast<uint64_t>(t.channels) + (t.channels == 2 ? ch : 0)];
    return t.bits == 8 ? static_cast<int16_t>((v - 128) * 256) : v;
  }
  return 0;
}

// Tracks of every format the disc takes (8 and 16 bits, mono and stereo,
// slower and faster than the output), each sample telling its place; every
// range played, alone or inside a range played before it, is what a plain
// model of the disc says sample by sample.
TEST_F(Cd, EveryRangePlaysTheDiscAsTheModelSays) {
  std::filesystem::remove_all(discFolder());
  std::filesystem::create_directories(discFolder());
  std::vector<ModelTrack> disc = {{1, 16, 22050, {}}};  // track 1: the data track
  disc[0].frames = 150;
  const ModelTrack formats[] = {{1, 16, 22050, {}}, {2, 8, 11025, {}}, {2, 16, 44100, {}}, {1, 8, 8000, {}},
                                {1, 16, 32000, {}}};
  uint32_t at = 150;
  for (size_t n = 0; n < std::size(formats); ++n) {
    ModelTrack t = formats[n];
    const size_t count = (t.rate * (7 + n) / 10 + 13 * n) * static_cast<size_t>(t.channels);  // 0.7 s and up
    for (size_t i = 0; i < count; ++i)
      t.raw.push_back(t.bits == 8 ? static_cast<int16_t>((i * 7 + n * 31) % 256)
                                  : static_cast<int16_t>(static_cast<int32_t>(i * 37 + n * 1000) % 65536 - 32768));
    char name[32];
    std::snprintf(name, sizeof name, "track%02zu.wav", n + 2);
    writeWavOf(discFolder() / name, t);
    const uint64_t outFrames = t.raw.size() / static_cast<size_t>(t.channels) * 22050 / t.rate;
    t.frames = static_cast<uint32_t>(outFrames / kSamplesPerFrame);
    t.startFrame = at;
    at += t.frames;
    disc.push_back(t);
  }
  ASSERT_TRUE(platform::audioOpen());
  ASSERT_TRUE(platform::cdOpen());
  ASSERT_EQ(platform::cdDiscLength(), at);
  for (size_t n = 1; n < disc.size(); ++n) ASSERT_EQ(platform::cdTrackStart(static_cast<int>(n) + 1), disc[n].startFrame);
  platform::cdSetAuxVolume(0xFFFFFFFFu);  // full volume passes every sample unchanged
  const uint32_t t3 = disc[2].startFrame, t4 = disc[3].startFrame, t5 = disc[4].startFrame;
  // Each range is loaded afresh unless a range before it holds it.
  const std::pair<uint32_t, uint32_t> ranges[] = {
      {t3 + 5, t3 + 9},                // inside a track
      {t4 - 3, t5 + 2},                // across a whole track into the next
      {t4 + 1, t4 + 2},                // inside the range before, from what it loaded
      {t5 + 1, t5 + 3},                // inside a track whose rate is no multiple of 75
      {t3, t3 + 1},                    // the first frame of a track
      {at - 5, at},                    // to the disc's end
      {140, disc[1].startFrame + 3},   // from the data track into the first audio track
      {0, at},                         // the whole disc
      {t5 + 4, t5 + 7},                // inside the whole disc, from what it loaded
      {disc[5].startFrame - 2, at},    // the last two tracks' meeting to the end
  };
  for (const auto& [from, to] : ranges) {
    SCOPED_TRACE(testing::Message() << "frames " << from << ".." << to);
    ASSERT_TRUE(platform::cdPlay(from, to));
    const uint32_t count = (to - from) * kSamplesPerFrame;
    std::vector<int16_t> mix(2 * (count + 10), 1);
    ASSERT_TRUE(platform::audioHeadlessMix(mix.data(), count + 10));
    for (uint32_t k = 0; k < count; ++k) {
      const uint64_t p = static_cast<uint64_t>(from) * kSamplesPerFrame + k;
      ASSERT_EQ(mix[2 * k], modelSample(disc, p, 0)) << "sample " << k;
      ASSERT_EQ(mix[2 * k + 1], modelSample(disc, p, 1)) << "sample " << k;
    }
    for (uint32_t k = count; k < count + 10; ++k) ASSERT_EQ(mix[2 * k], 0) << "past the range's end";
    EXPECT_FALSE(platform::cdIsPlaying());
  }
  platform::cdClose();
  platform::audioClose();
}

// The disc's folder is looked up once, but the disc follows it: a folder
// spelt anew (names match without regard to case) and a game folder moved
// elsewhere are found at the next opening.
TEST_F(Cd, TheDiscFollowsItsFolderWhenItIsRespeltOrTheGameMoves) {
  makeDisc(3);
  ASSERT_TRUE(platform::audioOpen());
  ASSERT_TRUE(platform::cdOpen());
  EXPECT_EQ(platform::cdTrackCount(), 3);
  platform::cdClose();
  makeDisc(6);
  std::filesystem::rename(discFolder(), discFolder().parent_path() / "CDAudio");
  ASSERT_TRUE(platform::cdOpen());
  EXPECT_EQ(platform::cdTrackCount(), 6);
  platform::cdClose();
  std::filesystem::rename(discFolder().parent_path() / "CDAudio", discFolder());
  // Another game folder with a disc of four tracks, then back.
  const std::filesystem::path other = dir_ / "game";
  std::filesystem::create_directories(other / "bin");
  std::filesystem::create_directories(other / "Data" / "CDAUDIO");
  for (int n = 2; n <= 4; ++n)
    writeWav(other / "Data" / "CDAUDIO" / ("TRACK0" + std::to_string(n) + ".WAV"), std::vector<int16_t>(trackSamples(n), 1));
  platform::setExecutableDir((other / "bin").string());
  const bool moved = platform::cdOpen();
  const int movedTracks = platform::cdTrackCount();
  platform::cdClose();
  platform::setExecutableDir((korvena_test::HeadlessRoot() / "bin").string());
  ASSERT_TRUE(moved);
  EXPECT_EQ(movedTracks, 4);
  ASSERT_TRUE(platform::cdOpen());
  EXPECT_EQ(platform::cdTrackCount(), 6);
  platform::cdClose();
  platform::audioClose();
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
