// The platform mixer on the headless backend: voices mixed against a plain
// reference mix, positions moving with the virtual clock, duplicates, streams'
// writable buffers, and the capture of a span as a WAV file.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "platform/audio.h"
#include "platform/clock.h"
#include "platform/headless.h"
#include "support/temp_dir.h"

namespace {

using namespace platform;

struct RefVoice {
  std::vector<int16_t> samples;  // as 16-bit values
  uint32_t rate;
  int32_t volume;
  int32_t pan;
  bool loop;
};

// The mix a listener expects: linear interpolation between neighbours at the
// voice's rate, gains of 10^(dB/20) with the pan lowering the other side.
void referenceMix(const std::vector<RefVoice>& voices, uint32_t frames, std::vector<double>* out) {
  out->assign(frames * 2, 0.0);
  for (const RefVoice& v : voices) {
    double left = v.volume - (v.pan > 0 ? v.pan : 0);
    double right = v.volume + (v.pan < 0 ? v.pan : 0);
    double gl = std::pow(10.0, left / 2000.0), gr = std::pow(10.0, right / 2000.0);
    size_t n = v.samples.size();
    for (uint32_t k = 0; k < frames; ++k) {
      double p = static_cast<double>(k) * v.rate / kAudioOutputRate;
      if (v.loop) p = std::fmod(p, static_cast<double>(n));
      if (p >= n) break;
      size_t i = static_cast<size_t>(p);
      double s0 = v.samples[i];
      double s1 = i + 1 < n ? v.samples[i + 1] : (v.loop ? v.samples[0] : s0);
      double s = s0 + (s1 - s0) * (p - static_cast<double>(i));
      (*out)[2 * k] += s * gl;
      (*out)[2 * k + 1] += s * gr;
    }
  }
}

class Mixer : public ::testing::Test {
 protected:
  void SetUp() override {
    audioHeadlessSetHardwareBuffers(0);
    ASSERT_TRUE(audioOpen());
  }
  void TearDown() override { audioClose(); }
};

std::vector<uint8_t> bytesOf16(const std::vector<int16_t>& s) {
  std::vector<uint8_t> b(s.size() * 2);
  for (size_t i = 0; i < s.size(); ++i) {
    b[2 * i] = static_cast<uint8_t>(s[i] & 0xFF);
    b[2 * i + 1] = static_cast<uint8_t>((s[i] >> 8) & 0xFF);
  }
  return b;
}

TEST_F(Mixer, KnownVoicesMixAsTheReferenceWithinOneStep) {
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> sample(-20000, 20000);
  struct Case {
    int bits;
    uint32_t rate;
    int32_t volume, pan;
    bool loop;
    size_t length;
  };
  // Single voices: every scale on its own, then mixtures.
  const std::vector<std::vector<Case>> cases = {
      {{16, 22050, 0, 0, false, 400}},
      {{16, 11025, -600, 0, false, 300}},
      {{16, 44100, 0, 2500, false, 900}},
      {{16, 30000, -2048, -3000, true, 97}},
      {{8, 8000, 0, 0, false, 200}},
      {{8, 22050, -100, 10000, true, 50}},
      {{16, 22050, -10000, 0, false, 100}},
      {{16, 11025, -300, -1000, true, 131}, {8, 16000, -900, 700, false, 333}, {16, 48000, 0, 0, false, 777}},
  };
  for (size_t c = 0; c < cases.size(); ++c) {
    std::vector<RefVoice> ref;
    std::vector<VoiceHandle> handles;
    for (const Case& k : cases[c]) {
      RefVoice r{{}, k.rate, k.volume, k.pan, k.loop};
      std::vector<uint8_t> bytes;
      for (size_t i = 0; i < k.length; ++i) {
        if (k.bits == 8) {
          uint8_t u = static_cast<uint8_t>(std::uniform_int_distribution<int>(0, 255)(rng));
          bytes.push_back(u);
          r.samples.push_back(static_cast<int16_t>((u - 128) * 256));
        } else {
          r.samples.push_back(static_cast<int16_t>(sample(rng)));
        }
      }
      if (k.bits == 16) bytes = bytesOf16(r.samples);
      VoiceHandle h = voiceCreate(bytes.data(), static_cast<uint32_t>(bytes.size()), k.bits, k.rate, true);
      ASSERT_NE(h, 0u);
      ASSERT_TRUE(voiceSetVolume(h, k.volume));
      ASSERT_TRUE(voiceSetPan(h, k.pan));
      handles.push_back(h);
      ref.push_back(r);
    }
    for (size_t i = 0; i < handles.size(); ++i) ASSERT_TRUE(voicePlay(handles[i], ref[i].loop));
    const uint32_t frames = 2000;
    std::vector<int16_t> mix(frames * 2);
    ASSERT_TRUE(audioHeadlessMix(mix.data(), frames));
    std::vector<double> expect;
    referenceMix(ref, frames, &expect);
    double tolerance = 0.5 * static_cast<double>(ref.size()) + 0.6;
    for (uint32_t i = 0; i < frames * 2; ++i)
      ASSERT_NEAR(mix[i], expect[i], tolerance) << "case " << c << " value " << i;
    for (VoiceHandle h : handles) voiceRelease(h);
  }
}

TEST_F(Mixer, OneShotsEndOnTheVirtualClockAndLoopsWrap) {
  std::vector<int16_t> pcm(2205, 1000);  // 0.1 s at 22050 Hz
  std::vector<uint8_t> bytes = bytesOf16(pcm);
  VoiceHandle once = voiceCreate(bytes.data(), 4410, 16, 22050, true);
  VoiceHandle loop = voiceCreate(bytes.data(), 4410, 16, 11025, true);
  ASSERT_TRUE(voicePlay(once, false));
  ASSERT_TRUE(voicePlay(loop, true));
  headlessAdvanceClock(50'000'000);  // 50 ms
  uint32_t pos = 0;
  ASSERT_TRUE(voicePosition(once, &pos));
  EXPECT_NEAR(pos, 2205, 4);  // half way, in bytes
  EXPECT_TRUE(voiceIsPlaying(once));
  headlessAdvanceClock(60'000'000);
  EXPECT_FALSE(voiceIsPlaying(once));
  ASSERT_TRUE(voicePosition(once, &pos));
  EXPECT_EQ(pos, 0u);  // a finished one-shot rewinds
  // The loop at half rate: 110 ms = 1212.75 samples, 0.55 of the buffer.
  ASSERT_TRUE(voicePosition(loop, &pos));
  EXPECT_NEAR(pos, 2 * 1212, 4);
  headlessAdvanceClock(1'000'000'000);
  EXPECT_TRUE(voiceIsPlaying(loop));
  EXPECT_TRUE(voiceIsLooping(loop));
  ASSERT_TRUE(voicePosition(loop, &pos));
  EXPECT_NEAR(pos, 2 * ((1212 + 11025) % 2205), 4);
  // The playing list shows only the loop.
  std::vector<VoiceState> playing = audioPlayingVoices();
  ASSERT_EQ(playing.size(), 1u);
  EXPECT_EQ(playing[0].handle, loop);
  EXPECT_EQ(playing[0].rate, 11025u);
  EXPECT_TRUE(playing[0].looping);
  voiceRelease(once);
  voiceRelease(loop);
}

uint64_t framesAt(uint64_t ns) {
  return (ns / 1000000000ull) * kAudioOutputRate + (ns % 1000000000ull) * kAudioOutputRate / 1000000000ull;
}

TEST_F(Mixer, MovingWithoutOutputReachesTheSamePositionsAsMixing) {
  std::vector<int16_t> pcm(1001, 5);
  std::vector<uint8_t> bytes = bytesOf16(pcm);
  for (uint32_t rate : {100u, 7919u, 22050u, 44100u, 100000u}) {
    for (uint64_t span : {1'000'000ull, 45'351'473ull, 150'000'000ull}) {
      for (bool loop : {false, true}) {
        VoiceHandle a = voiceCreate(bytes.data(), 2002, 16, rate, true);
        VoiceHandle b = voiceCreate(bytes.data(), 2002, 16, rate, true);
        uint64_t t0 = nowNs();
        ASSERT_TRUE(voicePlay(a, loop));  // moves with the clock, without output
        headlessAdvanceClock(span);
        ASSERT_TRUE(voiceStop(a));
        uint64_t frames = framesAt(t0 + span) - framesAt(t0);
        ASSERT_TRUE(voicePlay(b, loop));  // moves by mixing the same frames
        std::vector<int16_t> out(2 * frames + 2);
        ASSERT_TRUE(audioHeadlessMix(out.data(), static_cast<uint32_t>(frames)));
        voiceStop(b);
        uint32_t pa = 0, pb = 0;
        voicePosition(a, &pa);
        voicePosition(b, &pb);
        EXPECT_EQ(pa, pb) << "rate " << rate << " span " << span << " loop " << loop;
        voiceRelease(a);
        voiceRelease(b);
      }
    }
  }
}

TEST_F(Mixer, HandlesGoStaleOnReleaseAndClose) {
  int16_t pcm[4] = {1, 2, 3, 4};
  VoiceHandle a = voiceCreate(pcm, 8, 16, 22050, true);
  VoiceHandle b = voiceDuplicate(a);
  ASSERT_NE(b, 0u);
  voiceRelease(a);
  EXPECT_FALSE(voiceValid(a));
  EXPECT_FALSE(voicePlay(a, false));
  EXPECT_TRUE(voiceValid(b));  // the PCM stays for the duplicate
  EXPECT_EQ(voiceByteCount(b), 8u);
  VoiceHandle c = voiceCreate(pcm, 8, 16, 22050, true);  // may reuse a's slot
  EXPECT_NE(c, a);
  EXPECT_FALSE(voiceSetVolume(a, -100));
  audioClose();
  EXPECT_FALSE(voiceValid(b));
  EXPECT_FALSE(voiceValid(c));
  ASSERT_TRUE(audioOpen());
  EXPECT_FALSE(voiceValid(b));
  // Bad formats and ranges are refused.
  EXPECT_EQ(voiceCreate(pcm, 8, 12, 22050, true), 0u);
  EXPECT_EQ(voiceCreate(pcm, 8, 16, 99, true), 0u);
  EXPECT_EQ(voiceCreate(pcm, 8, 16, 100001, true), 0u);
  VoiceHandle d = voiceCreate(pcm, 8, 16, 100, true);
  ASSERT_NE(d, 0u);
  EXPECT_FALSE(voiceSetVolume(d, 1));
  EXPECT_FALSE(voiceSetVolume(d, -10001));
  EXPECT_FALSE(voiceSetPan(d, 10001));
  EXPECT_FALSE(voiceSetFrequency(d, 99));
  EXPECT_TRUE(voiceSetFrequency(d, 100000));
  voiceRelease(d);
}

TEST_F(Mixer, HardwareBuffersAreCountedAndReturned) {
  audioClose();
  audioHeadlessSetHardwareBuffers(2);
  ASSERT_TRUE(audioOpen());
  EXPECT_EQ(audioCaps().freeHardwareBuffers, 2u);
  int16_t pcm[2] = {0, 0};
  VoiceHandle a = voiceCreate(pcm, 4, 16, 22050, false);
  EXPECT_TRUE(voiceInHardware(a));
  VoiceHandle b = voiceDuplicate(a);
  EXPECT_TRUE(voiceInHardware(b));
  EXPECT_EQ(audioCaps().freeHardwareBuffers, 0u);
  EXPECT_EQ(voiceDuplicate(a), 0u);  // no hardware buffer left for a third
  VoiceHandle s = voiceCreate(pcm, 4, 16, 22050, false);
  EXPECT_FALSE(voiceInHardware(s));
  voiceRelease(b);
  EXPECT_EQ(audioCaps().freeHardwareBuffers, 1u);
  voiceRelease(a);
  voiceRelease(s);
  EXPECT_EQ(audioCaps().freeHardwareBuffers, 2u);
  audioClose();
  audioHeadlessSetHardwareBuffers(0);
  ASSERT_TRUE(audioOpen());
}

TEST_F(Mixer, WritableBuffersLockInTwoPartsAcrossTheEnd) {
  VoiceHandle w = voiceCreateWritable(16, 16, 22050);
  ASSERT_NE(w, 0u);
  void *p1 = nullptr, *p2 = nullptr;
  uint32_t n1 = 0, n2 = 0;
  ASSERT_TRUE(voiceLock(w, 12, 8, &p1, &n1, &p2, &n2));
  EXPECT_EQ(n1, 4u);
  EXPECT_EQ(n2, 4u);
  std::memset(p1, 0x11, n1);
  std::memset(p2, 0x22, n2);
  ASSERT_TRUE(voiceUnlock(w));
  ASSERT_TRUE(voiceLock(w, 0, 16, &p1, &n1, &p2, &n2));
  EXPECT_EQ(n1, 16u);
  EXPECT_EQ(n2, 0u);
  const uint8_t* b = static_cast<const uint8_t*>(p1);
  EXPECT_EQ(b[0], 0x22);
  EXPECT_EQ(b[3], 0x22);
  EXPECT_EQ(b[4], 0);
  EXPECT_EQ(b[12], 0x11);
  EXPECT_FALSE(voiceLock(w, 16, 4, &p1, &n1, &p2, &n2));
  EXPECT_FALSE(voiceLock(w, 0, 17, &p1, &n1, &p2, &n2));
  int16_t pcm[2] = {0, 0};
  VoiceHandle s = voiceCreate(pcm, 4, 16, 22050, true);
  EXPECT_FALSE(voiceLock(s, 0, 4, &p1, &n1, &p2, &n2));  // static voices are not writable
  voiceRelease(s);
  voiceRelease(w);
}

TEST_F(Mixer, ACaptureHoldsTheMixOfItsSpan) {
  korvena_test::TempDir dir;
  std::vector<int16_t> pcm(22050, 8000);
  std::vector<uint8_t> bytes = bytesOf16(pcm);
  VoiceHandle v = voiceCreate(bytes.data(), static_cast<uint32_t>(bytes.size()), 16, 22050, true);
  ASSERT_TRUE(voiceSetPan(v, 10000));  // left silent
  ASSERT_TRUE(audioHeadlessCapture(dir / "cap.wav", 100));
  headlessAdvanceClock(20'000'000);
  ASSERT_TRUE(voicePlay(v, false));  // starts 20 ms into the capture
  headlessAdvanceClock(200'000'000);  // the capture's timer ends it on the way
  std::vector<uint8_t> wav = korvena_test::readBytes(dir / "cap.wav");
  ASSERT_EQ(wav.size(), 44u + 2205u * 4u);
  EXPECT_EQ(std::memcmp(wav.data(), "RIFF", 4), 0);
  EXPECT_EQ(std::memcmp(wav.data() + 8, "WAVEfmt ", 8), 0);
  auto at = [&](size_t frame, int ch) {
    size_t o = 44 + frame * 4 + static_cast<size_t>(ch) * 2;
    return static_cast<int16_t>(wav[o] | (wav[o + 1] << 8));
  };
  EXPECT_EQ(at(0, 1), 0);
  EXPECT_EQ(at(440, 1), 0);  // before the play
  EXPECT_EQ(at(442, 1), 8000);
  EXPECT_EQ(at(2204, 1), 8000);
  EXPECT_EQ(at(2204, 0), 0);
  voiceRelease(v);
}

}  // namespace

namespace {

TEST_F(Mixer, TheStateReportListsPlayingVoices) {
  std::vector<int16_t> pcm(1000, 1);
  VoiceHandle quiet = voiceCreate(pcm.data(), 2000, 16, 11025, true);
  VoiceHandle loud = voiceCreate(pcm.data(), 2000, 16, 22050, true);
  voiceSetVolume(loud, -250);
  voiceSetPan(loud, -700);
  uint64_t t0 = nowNs();
  voicePlay(loud, true);
  headlessAdvanceClock(10'000'000);  // 220 or 221 frames, as the clock falls
  uint64_t pos = (framesAt(t0 + 10'000'000) - framesAt(t0)) * 2;
  std::string text = audioStateText();
  char expect[160];
  std::snprintf(expect, sizeof expect, "audio voice=%u rate=22050 pos=%u/2000 volume=-250 pan=-700 loop=1\n", loud,
                static_cast<unsigned>(pos));
  EXPECT_NE(text.find("audio device=open voices=1\n"), std::string::npos) << text;
  EXPECT_NE(text.find(expect), std::string::npos) << text;
  EXPECT_EQ(text.find(std::to_string(quiet) + " rate"), std::string::npos) << text;
  voiceRelease(quiet);
  voiceRelease(loud);
}

}  // namespace
