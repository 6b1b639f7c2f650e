// The SDL audio output on SDL's dummy audio driver: it opens, mixes voices and
// a CD range on SDL's own thread, and closes without leaks.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "audio/qal.h"
#include "platform/audio.h"
#include "platform/clock.h"
#include "platform/platform.h"

namespace {

using namespace platform;

class SdlAudio : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    std::string why;
    ASSERT_TRUE(init(BackendKind::Sdl, &why)) << why;
  }
  void TearDown() override {
    shutdown();
    unsetenv("SDL_VIDEODRIVER");
    unsetenv("SDL_AUDIODRIVER");
  }
};

TEST_F(SdlAudio, OpensPlaysOnItsOwnThreadAndCloses) {
  for (int round = 0; round < 2; ++round) {
    ASSERT_TRUE(audioOpen());
    AudioCaps caps = audioCaps();
    EXPECT_EQ(caps.freeHardwareBuffers, 0u);  // every voice is mixed in software
    std::vector<int16_t> pcm(2205, 3000);     // 0.1 s
    VoiceHandle once = voiceCreate(pcm.data(), 4410, 16, 22050, true);
    VoiceHandle loop = voiceDuplicate(once);
    ASSERT_NE(once, 0u);
    ASSERT_NE(loop, 0u);
    ASSERT_TRUE(voicePlay(once, false));
    ASSERT_TRUE(voicePlay(loop, true));
    // The one-shot ends by itself while the loop goes on.
    uint64_t limit = nowNs() + 5 * kNanosecondsPerSecond;
    while (voiceIsPlaying(once) && nowNs() < limit) sleepMs(5);
    EXPECT_FALSE(voiceIsPlaying(once));
    EXPECT_TRUE(voiceIsPlaying(loop));
    // Changes while it plays: volume, pan, frequency, a release.
    EXPECT_TRUE(voiceSetVolume(loop, -1200));
    EXPECT_TRUE(voiceSetPan(loop, 3000));
    EXPECT_TRUE(voiceSetFrequency(loop, 44100));
    voiceRelease(once);
    sleepMs(20);
    EXPECT_TRUE(voiceIsPlaying(loop));
    audioClose();
    EXPECT_FALSE(voiceValid(loop));
  }
}

TEST_F(SdlAudio, VoicesComeAndGoWhileTheAudioThreadMixes) {
  ASSERT_TRUE(audioOpen());
  std::vector<int16_t> pcm(512, 1000);
  std::vector<VoiceHandle> loops;
  uint32_t seed = 1;
  auto next = [&]() { return seed = seed * 1103515245u + 12345u; };
  uint64_t until = nowNs() + kNanosecondsPerSecond / 2;
  int rounds = 0;
  // A freed slot waits for the audio thread's next pass; on a busy machine
  // that thread may not run while every slot waits, so a voice is asked for
  // again until a pass has freed some (for two seconds at most).
  auto made = [](auto make) {
    VoiceHandle h = make();
    for (int wait = 0; h == 0 && wait < 2000; ++wait) {
      sleepMs(1);
      h = make();
    }
    return h;
  };
  while (nowNs() < until || rounds < 200) {
    ++rounds;
    // Short-lived voices: made, played, changed and dropped at once, so that
    // slots are freed while the audio thread may be mixing them.
    const uint32_t bytes = static_cast<uint32_t>(next() % 1000 + 2), rate = 8000 + next() % 40000;
    VoiceHandle v = made([&] { return voiceCreate(pcm.data(), bytes, 16, rate, true); });
    ASSERT_NE(v, 0u);
    voicePlay(v, next() % 2 == 0);
    VoiceHandle d = made([&] { return voiceDuplicate(v); });
    ASSERT_NE(d, 0u);
    voicePlay(d, false);
    voiceSetPan(v, static_cast<int32_t>(next() % 20001) - 10000);
    voiceRelease(v);
    if (next() % 3 == 0) {
      voicePlay(d, true);
      loops.push_back(d);
    } else {
      voiceRelease(d);
    }
    if (loops.size() > 40) {
      voiceRelease(loops.front());
      loops.erase(loops.begin());
    }
  }
  sleepMs(30);
  for (VoiceHandle h : loops) EXPECT_TRUE(voiceIsLooping(h));  // no pass of an old voice stopped a new one
  audioClose();
}

TEST_F(SdlAudio, TheLibraryRunsOverIt) {
  ASSERT_EQ(QALInit(nullptr, 1048576, 1024), QAL_OK);
  EXPECT_EQ(qal_oState.slotCount, 0);  // no hardware buffers: no voice slots
  auto* s = new QALSample;
  std::vector<uint8_t> pcm(1000, 128);
  ASSERT_EQ(QALSampleCreate(s, pcm.data(), 1000, 1, 8, 11025), 1);
  EXPECT_EQ(s->flags, QAL_SAMPLE_SOFTWARE | QAL_SAMPLE_LOADED);
  EXPECT_EQ(qal_oState.budgetRemaining, 1048576u - 1000u);
  EXPECT_EQ(QALSamplePlay(s), QAL_OK);
  EXPECT_EQ(QALShutdown(), QAL_OK);
  EXPECT_EQ(QALSampleFree(s), QAL_OK);  // after shut-down: harmless
}

TEST_F(SdlAudio, WithoutAnAudioDeviceTheLibraryStaysClosed) {
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  EXPECT_FALSE(audioOpen());
  EXPECT_EQ(QALInit(nullptr, 1048576, 1024), QAL_ERROR);
  EXPECT_FALSE(qal_oState.open);
  EXPECT_EQ(QALShutdown(), QAL_ERROR);
  auto* s = new QALSample;
  uint8_t pcm[4] = {};
  EXPECT_EQ(QALSampleCreate(s, pcm, 4, 1, 8, 22050), 0);  // nothing to make it on: silence
  delete s;
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  EXPECT_TRUE(audioOpen());
  audioClose();
}

// What a piece of code writes on the process's stderr (the file descriptor,
// so that what libraries under SDL print is caught too).
class StderrCapture {
 public:
  StderrCapture() {
    std::fflush(stderr);
    file_ = std::tmpfile();
    saved_ = dup(STDERR_FILENO);
    if (file_ != nullptr) dup2(fileno(file_), STDERR_FILENO);
  }
  ~StderrCapture() {
    if (saved_ >= 0) end();
    if (file_ != nullptr) std::fclose(file_);
  }
  // Restores stderr and returns what was written.
  std::string end() {
    std::fflush(stderr);
    if (saved_ >= 0) {
      dup2(saved_, STDERR_FILENO);
      close(saved_);
      saved_ = -1;
    }
    std::string text;
    if (file_ == nullptr) return text;
    std::rewind(file_);
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file_)) > 0;) text.append(buffer, n);
    return text;
  }

 private:
  FILE* file_ = nullptr;
  int saved_ = -1;
};

// With no sound device every try to open one fails (the films and the sound
// library each try); the game says once, in one line, that it runs silent,
// and what the sound libraries print while SDL looks for a device does not
// reach the terminal. Here SDL is sent to a device that does not exist (on
// ALSA each try used to print eight lines).
TEST_F(SdlAudio, WithoutASoundDeviceTheGameSaysOnceInOneLineThatItRunsSilent) {
  setenv("SDL_AUDIODRIVER", "alsa", 1);
  setenv("AUDIODEV", "hw:99,99", 1);
  StderrCapture capture;
  for (int i = 0; i < 4; ++i) EXPECT_FALSE(audioOpen());
  EXPECT_EQ(QALInit(nullptr, 1048576, 1024), QAL_ERROR);
  const std::string err = capture.end();
  unsetenv("AUDIODEV");
  EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
  EXPECT_NE(err.find("Korvena Football: no sound device"), std::string::npos) << err;
  EXPECT_NE(err.find("the game runs silent\n"), std::string::npos) << err;
  // A device found later still opens.
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  EXPECT_TRUE(audioOpen());
  audioClose();
}

// Said once for each start of the platform: a new start says it again.
TEST_F(SdlAudio, EachStartOfThePlatformSaysOnceThatItRunsSilent) {
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  for (int round = 0; round < 2; ++round) {
    StderrCapture capture;
    EXPECT_FALSE(audioOpen());
    EXPECT_FALSE(audioOpen());
    const std::string err = capture.end();
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_NE(err.find("the game runs silent"), std::string::npos) << err;
    shutdown();
    std::string why;
    ASSERT_TRUE(init(BackendKind::Sdl, &why)) << why;
  }
}

}  // namespace
