// The movie player on the virtual clock and the headless mixer: pacing and
// catch-up, the sound handed to the voice, and what each start and stop
// leaves behind (audio library, menu sounds, priority, streamer handles,
// voice).
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "audio/audio_services.h"
#include "audio/qal.h"
#include "audio/sound.h"
#include "frontend/frontend_services.h"
#include "frontend/pcfmv.h"
#include "frontend/frontend_env.h"
#include "platform/audio.h"
#include "platform/headless.h"
#include "platform/movie_streamer.h"
#include "platform/paths.h"
#include "shell/pcinstall.h"
#include "test_films.h"

namespace {

namespace fs = std::filesystem;

constexpr uint64_t kFrameNs = 66666667;  // 15 frames a second

void WriteFilm(const char* name, const std::vector<uint8_t>& bytes) {
  const fs::path dir = FrontEndTestRoot() / "data" / "fmv";
  fs::create_directories(dir);
  std::ofstream(dir / name, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                    static_cast<std::streamsize>(bytes.size()));
}

class Player : public ::testing::Test {
 protected:
  void SetUp() override {
    std::snprintf(pcinstall_szFmvPath, PCINSTALL_PATH_SIZE, "..\\data\\fmv\\");
    std::snprintf(pcinstall_szSoundPath, PCINSTALL_PATH_SIZE, "..\\data\\sound\\");
    // The menu sounds of the build's data tree.
    const fs::path bank = FrontEndTestRoot() / "data" / "sound" / "WN32";
    fs::create_directories(bank);
    fs::copy_file(FrontEndBuildData() / "sound" / "WN32" / "FRONTEND.KBB", bank / "FRONTEND.KBB",
                  fs::copy_options::overwrite_existing);
    fs::remove_all(FrontEndTestRoot() / "data" / "fmv");
    // As the front-end start leaves it.
    ASSERT_GE(QALInit(nullptr, 1048576, 1024), 0);
    qal_bStarted = 1;
    pcsound_FrontEndBank();
    pcfmv_TargetInit();
    platform::processPrioritySet(platform::kPriorityNormal);
  }
  void TearDown() override {
    pcfmv_Stop();
    sfx_FreeAllBanks();
    if (qal_bStarted) QALShutdown();
    qal_bStarted = 0;
    EXPECT_EQ(Streamer_OpenHandleCount(), 0);
  }
  // One front-end frame as the front-end run paces it, then a frame's time.
  static void Frame() {
    if (pcfmv_bPlaying) {
      pcfmv_FrameShow(1);
      while (pcfmv_bPlaying && pcfmv_CurrentFrameGet() < pcfmv_ExpectedFrameGet()) pcfmv_FrameShow(1);
      pcfmv_StreamPump();
    }
    platform::headlessAdvanceClock(kFrameNs);
  }
};

TEST_F(Player, FramesFollowTheFilmsRateAndCatchUpAfterAStalledClock) {
  WriteFilm("quorrel.rpl", test_films::Film(32, 24, 60, 4));
  ASSERT_EQ(pcfmv_PlayById(171), 1);
  EXPECT_FLOAT_EQ(pcfmv_FrameRateGet(), 15.0f);
  for (int i = 1; i <= 10; ++i) {
    Frame();
    EXPECT_EQ(pcfmv_CurrentFrameGet(), i);
  }
  platform::headlessAdvanceClock(1000000000);  // a second without frames
  Frame();
  // 1666 ms after the first frame a 15 fps film is at frame 24: caught up.
  EXPECT_EQ(pcfmv_CurrentFrameGet(), 24);
  for (int i = 0; i < 60 && pcfmv_bPlaying; ++i) Frame();
  EXPECT_EQ(pcfmv_IsIdle(), 1);
  EXPECT_FLOAT_EQ(pcfmv_FrameRateGet(), 25.0f);
  EXPECT_EQ(pcfmv_CurrentFrameGet(), 0);
}

TEST_F(Player, TheVoiceGetsTheFilmsSoundInPlayOrderNoHalfLostOrWrittenTwice) {
  constexpr uint32_t kFrames = 75;  // 5 s: 110250 samples, thirteen and a half halves
  WriteFilm("ostrellogo.rpl", test_films::Film(16, 16, kFrames, 16));
  ASSERT_EQ(pcfmv_PlayById(172), 1);
  ASSERT_NE(pcfmv_o.uVoice, 0u);
  std::vector<int16_t> written;
  bool fresh[2] = {false, false};
  auto record = [&](int half) {
    const int16_t* p = reinterpret_cast<const int16_t*>(pcfmv_o.apbHalf[half]);
    written.insert(written.end(), p, p + PCFMV_HALF_BYTES / 2);
    fresh[half] = true;
    uint32_t cursor = 0;
    platform::voicePosition(pcfmv_o.uVoice, &cursor);
    if (platform::voiceIsPlaying(pcfmv_o.uVoice)) {
      EXPECT_NE(static_cast<int>(cursor / PCFMV_HALF_BYTES), half) << "a half filled while it plays";
    }
  };
  record(1);  // filled before the first frame; the voice starts in the silent first half
  int last = pcfmv_o.iLastFilled, playing = 0;
  for (int step = 0; step < 120 && pcfmv_bPlaying; ++step) {
    pcfmv_FrameShow(1);
    if (pcfmv_o.iLastFilled != last) record(last = pcfmv_o.iLastFilled);
    pcfmv_StreamPump();
    if (pcfmv_o.iLastFilled != last) record(last = pcfmv_o.iLastFilled);
    platform::headlessAdvanceClock(kFrameNs);
    uint32_t cursor = 0;
    platform::voicePosition(pcfmv_o.uVoice, &cursor);
    const int now = static_cast<int>(cursor / PCFMV_HALF_BYTES);
    if (now != playing) {
      EXPECT_TRUE(fresh[now]) << "the voice entered half " << now << " before it was filled again";
      fresh[now] = false;
      playing = now;
    }
  }
  ASSERT_GE(written.size(), kFrames * 1470u);
  std::vector<int16_t> expect = test_films::Tone(kFrames * 1470, 0, 22050);
  expect.resize(written.size(), 0);
  EXPECT_TRUE(written == expect) << "the halves differ from the film's sound";
  const uint32_t voice = pcfmv_o.uVoice;
  pcfmv_Stop();
  EXPECT_FALSE(platform::voiceValid(voice));
}

// What a start or stop leaves behind.
struct After {
  int32_t playing, open, priority, audioStarted, handles, voice, menuSounds;
  bool operator==(const After&) const = default;
};
std::ostream& operator<<(std::ostream& os, const After& a) {
  return os << "{playing " << a.playing << ", open " << a.open << ", priority " << a.priority << ", audio "
            << a.audioStarted << ", handles " << a.handles << ", voice " << a.voice << ", menu sounds "
            << a.menuSounds << "}";
}
After Now() {
  return {pcfmv_bPlaying,
          pcfmv_o.bOpen,
          static_cast<int32_t>(platform::processPriorityGet()),
          qal_bStarted,
          Streamer_OpenHandleCount(),
          pcfmv_o.uVoice != 0 && platform::voiceValid(pcfmv_o.uVoice),
          pcsound_oEffects.soundCount > 0};
}

TEST_F(Player, StartsAndStops) {
  const After kIdle{0, 0, 32, 1, 0, 0, 1};
  const After kPlaying{1, 1, 128, 0, 3, 1, 0};
  struct Row {
    const char* what;
    std::function<void()> act;
    After after;
  };
  std::vector<uint8_t> damaged = test_films::Film(16, 16, 6, 4);
  damaged[damaged.size() / 2] ^= 0x10;
  const Row rows[] = {
      {"an id with no row plays nothing and raises nothing",
       [] { EXPECT_EQ(pcfmv_PlayById(169), 0); }, kIdle},
      {"a missing file fails the start and brings the menus' audio back",
       [] { EXPECT_EQ(pcfmv_PlayById(180), 0); }, kIdle},
      {"a damaged header fails the start",
       [] {
         WriteFilm("qualfra.rpl", std::vector<uint8_t>(100, 7));
         EXPECT_EQ(pcfmv_PlayById(181), 0);
       },
       kIdle},
      {"a film plays", [] { EXPECT_EQ(pcfmv_PlayById(171), 1); }, kPlaying},
      {"a film without sound opens no voice",
       [] {
         WriteFilm("winjap.rpl", test_films::Film(16, 16, 3, 0));
         EXPECT_EQ(pcfmv_PlayById(175), 1);
       },
       {1, 1, 128, 0, 2, 0, 0}},
      {"a start while another plays closes the first",
       [] {
         EXPECT_EQ(pcfmv_PlayById(171), 1);
         const uint32_t first = pcfmv_o.uVoice;
         EXPECT_EQ(pcfmv_PlayById(172), 1);
         EXPECT_FALSE(platform::voiceValid(first));
       },
       kPlaying},
      {"and its stop gives back the priority from before both",
       [] {
         EXPECT_EQ(pcfmv_PlayById(171), 1);
         EXPECT_EQ(pcfmv_PlayById(172), 1);
         pcfmv_Stop();
       },
       kIdle},
      {"a film that ends by itself stays open until stopped",
       [] {
         EXPECT_EQ(pcfmv_PlayById(172), 1);
         for (int i = 0; i < 40 && pcfmv_bPlaying; ++i) Frame();
       },
       {0, 1, 128, 0, 3, 1, 0}},
      {"the stop after the end closes it",
       [] {
         EXPECT_EQ(pcfmv_PlayById(172), 1);
         for (int i = 0; i < 40 && pcfmv_bPlaying; ++i) Frame();
         pcfmv_Stop();
       },
       kIdle},
      {"a damaged frame stops the film",
       [] {
         EXPECT_EQ(pcfmv_PlayById(170), 1);
         int32_t stopped = 0;
         for (int i = 0; i < 10 && pcfmv_bPlaying; ++i) stopped |= pcfmv_FrameShow(1);
         EXPECT_EQ(stopped, 1);
       },
       kIdle},
      {"an id with no row while a film plays keeps it and its priority",
       [] {
         EXPECT_EQ(pcfmv_PlayById(171), 1);
         EXPECT_EQ(pcfmv_PlayById(182), 0);
       },
       kPlaying},
  };
  for (const Row& row : rows) {
    WriteFilm("quorrel.rpl", test_films::Film(32, 24, 40, 4));
    WriteFilm("ostrellogo.rpl", test_films::Film(16, 16, 12, 16));
    WriteFilm("korvenaintn.rpl", damaged);
    row.act();
    EXPECT_EQ(Now(), row.after) << row.what;
    pcfmv_Stop();
    EXPECT_EQ(Now(), kIdle) << row.what << ", then stopped";
  }
}

// A film that ends before its last frame says which film and where it
// stopped: cut short after the frames it holds whole, or at a damaged
// frame. A whole film says nothing.
TEST_F(Player, AFilmCutShortOrDamagedSaysWhichAndWhereItStopped) {
  const std::vector<uint8_t> whole = test_films::Film(16, 16, 40, 4);
  WriteFilm("quorrel.rpl", std::vector<uint8_t>(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(whole.size() / 2)));
  std::vector<uint8_t> damaged = test_films::Film(16, 16, 6, 4);
  damaged[damaged.size() / 2] ^= 0x10;
  WriteFilm("korvenaintn.rpl", damaged);
  WriteFilm("ostrellogo.rpl", test_films::Film(16, 16, 12, 16));
  // Plays the film frame by frame to its end: the frames shown before the
  // frame that ended it, and what was said meanwhile.
  const auto play = [](int32_t iId, std::string* pPath, std::string* pErr) {
    EXPECT_EQ(pcfmv_PlayById(iId), 1);
    *pPath = platform::resolvePath(pcfmv_o.szPath);
    testing::internal::CaptureStderr();
    int32_t iShown = 0;
    for (int i = 0; i < 100 && pcfmv_bPlaying; ++i) {
      iShown = pcfmv_CurrentFrameGet();
      pcfmv_FrameShow(1);
    }
    *pErr = testing::internal::GetCapturedStderr();
    pcfmv_Stop();
    return iShown;
  };
  std::string path, err;
  const int32_t iCut = play(171, &path, &err);
  EXPECT_GT(iCut, 0);
  EXPECT_LT(iCut, 40);
  EXPECT_EQ(err, "pcfmv: the film " + path + " is cut short: it stopped after frame " + std::to_string(iCut) +
                     " of 40\n");
  EXPECT_NE(path.find("quorrel.rpl"), std::string::npos) << path;
  const int32_t iDamaged = play(170, &path, &err);
  EXPECT_LT(iDamaged, 6);
  EXPECT_EQ(err, "pcfmv: the film " + path + " is damaged: it stopped at frame " + std::to_string(iDamaged + 1) +
                     " of 6, after " + std::to_string(iDamaged) + " shown\n");
  EXPECT_NE(path.find("korvenaintn.rpl"), std::string::npos) << path;
  EXPECT_EQ(play(172, &path, &err), 12);
  EXPECT_EQ(err, "");
}

TEST_F(Player, StopWhenIdleLeavesThePriorityAlone) {
  platform::processPrioritySet(64);
  pcfmv_Stop();
  EXPECT_EQ(platform::processPriorityGet(), 64u);
  EXPECT_EQ(qal_bStarted, 1);
}

}  // namespace
