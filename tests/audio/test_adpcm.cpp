// IMA ADPCM against a plain codec written here, compressed objects and their
// holders, compressed files, and streaming voices on the virtual clock.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "audio/qal.h"
#include "platform/audio.h"
#include "platform/clock.h"
#include "platform/headless.h"
#include "support/headless_env.h"
#include "support/temp_dir.h"

namespace {

// ---- The plain codec ---------------------------------------------------------
int stepOf(int index) {
  // The standard table: 7, 8, 9, ... each about 1.1 times the one before.
  static const int table[89] = {7,     8,     9,     10,    11,    12,    13,    14,    16,    17,    19,    21,
                                23,    25,    28,    31,    34,    37,    41,    45,    50,    55,    60,    66,
                                73,    80,    88,    97,    107,   118,   130,   143,   157,   173,   190,   209,
                                230,   253,   279,   307,   337,   371,   408,   449,   494,   544,   598,   658,
                                724,   796,   876,   963,   1060,  1166,  1282,  1411,  1552,  1707,  1878,  2066,
                                2272,  2499,  2749,  3024,  3327,  3660,  4026,  4428,  4871,  5358,  5894,  6484,
                                7132,  7845,  8630,  9493,  10442, 11487, 12635, 13899, 15289, 16818, 18500, 20350,
                                22385, 24623, 27086, 29794, 32767};
  return table[index];
}

struct Plain {
  int predictor = 0;
  int index = 0;
  void update(int code) {
    int step = stepOf(index);
    int delta = step / 8;
    if (code & 4) delta += step;
    if (code & 2) delta += step / 2;
    if (code & 1) delta += step / 4;
    predictor += (code & 8) ? -delta : delta;
    predictor = std::max(-32768, std::min(32767, predictor));
    static const int adjust[8] = {-1, -1, -1, -1, 2, 4, 6, 8};
    index = std::max(0, std::min(88, index + adjust[code & 7]));
  }
  int encode(int sample) {
    int step = stepOf(index);
    int diff = sample - predictor;
    int code = diff < 0 ? 8 : 0;
    diff = std::abs(diff);
    for (int bit = 4, part = step; bit >= 1; bit >>= 1, part /= 2) {
      if (diff >= part) {
        code |= bit;
        diff -= part;
      }
    }
    update(code);
    return code;
  }
};

std::vector<uint8_t> plainEncode(const std::vector<int16_t>& pcm) {
  Plain p;
  std::vector<uint8_t> out((pcm.size() + 1) / 2, 0);
  for (size_t i = 0; i < pcm.size(); ++i) {
    int code = p.encode(pcm[i]);
    out[i / 2] |= static_cast<uint8_t>(i % 2 == 0 ? code << 4 : code);
  }
  return out;
}

std::vector<int16_t> plainDecode(const std::vector<uint8_t>& data, size_t samples) {
  Plain p;
  std::vector<int16_t> out;
  for (size_t i = 0; i < samples; ++i) {
    p.update(i % 2 == 0 ? data[i / 2] >> 4 : data[i / 2] & 15);
    out.push_back(static_cast<int16_t>(p.predictor));
  }
  return out;
}

TEST(Adpcm, MatchesThePlainCodecOnEverySignal) {
  std::mt19937 rng(3);
  std::vector<std::vector<int16_t>> signals;
  for (size_t length : {1u, 2u, 3u, 17u, 1000u, 4097u}) {
    std::vector<int16_t> noise(length), sine(length), square(length);
    for (size_t i = 0; i < length; ++i) {
      noise[i] = static_cast<int16_t>(std::uniform_int_distribution<int>(-32768, 32767)(rng));
      sine[i] = static_cast<int16_t>(20000 * std::sin(0.05 * static_cast<double>(i)));
      square[i] = (i / 7) % 2 ? 32767 : -32768;  // drives the predictor into its clamps
    }
    signals.push_back(noise);
    signals.push_back(sine);
    signals.push_back(square);
  }
  for (const auto& pcm : signals) {
    uint32_t n = static_cast<uint32_t>(pcm.size());
    std::vector<uint8_t> mine((n + 1) / 2, 0xAA);
    QALAdpcmState enc;
    QALAdpcmEncode(pcm.data(), mine.data(), n, &enc);
    std::vector<uint8_t> plain = plainEncode(pcm);
    ASSERT_EQ(mine, plain) << "length " << n;
    if (n % 2) {
      ASSERT_EQ(mine.back() & 15, 0) << "an odd last sample stands alone in the high nibble";
    }
    std::vector<int16_t> decoded(n);
    QALAdpcmState dec;
    QALAdpcmDecode(mine.data(), decoded.data(), n, &dec);
    ASSERT_EQ(decoded, plainDecode(plain, n));
    // The encoder tracks the decoder: both end in the same state.
    EXPECT_EQ(enc.predictor, dec.predictor);
    EXPECT_EQ(enc.stepIndex, dec.stepIndex);
  }
}

TEST(Adpcm, ARampComesBackWithinTheStepError) {
  std::vector<int16_t> ramp(3000);
  for (size_t i = 0; i < ramp.size(); ++i) ramp[i] = static_cast<int16_t>(-15000 + 10 * static_cast<int>(i));
  std::vector<uint8_t> data(1500);
  QALAdpcmState s;
  QALAdpcmEncode(ramp.data(), data.data(), 3000, &s);
  std::vector<int16_t> back(3000);
  QALAdpcmState d;
  QALAdpcmDecode(data.data(), back.data(), 3000, &d);
  // The step adapts within the first samples; from then on every sample is
  // within the current step of the ramp.
  for (size_t i = 64; i < ramp.size(); ++i) ASSERT_LE(std::abs(back[i] - ramp[i]), 40) << i;
  // The first sample goes in the high nibble: a rising start reads 0..7 there.
  EXPECT_EQ(data[0] >> 4 & 8, 8);  // -15000 from 0: negative
}

TEST(Adpcm, ClonesShareOneHolderFreedOnce) {
  auto* data = new uint8_t[100]();
  QALAdpcmObject* a = QALAdpcmObjectCreate(data, 100);
  QALAdpcmObject* b = QALAdpcmObjectClone(a);
  QALAdpcmObject* c = QALAdpcmObjectClone(b);
  QALAdpcmObject* d = QALAdpcmObjectClone(a);
  EXPECT_EQ(QALAdpcmObjectClone(nullptr), nullptr);
  EXPECT_EQ(QALAdpcmObjectInfo(a).references, 4);
  EXPECT_EQ(QALAdpcmObjectInfo(d).data, data);
  // Any order; the sanitizer reports a second free or a leak.
  QALAdpcmObjectRelease(c);
  QALAdpcmObjectRelease(a);
  EXPECT_EQ(QALAdpcmObjectInfo(d).references, 2);
  QALAdpcmObjectRelease(d);
  EXPECT_EQ(QALAdpcmObjectInfo(b).references, 1);
  QALAdpcmObjectRelease(b);
  QALAdpcmObjectRelease(nullptr);
}

TEST(Adpcm, CompressedFilesUpTo256KB) {
  korvena_test::TempDir dir;
  struct {
    size_t size;
    bool loads;
  } cases[] = {{0, true}, {1, true}, {15, true}, {16, true}, {1000, true}, {262144, true}, {262145, false}, {400000, false}};
  for (const auto& c : cases) {
    std::string bytes(c.size, '\0');
    for (size_t i = 0; i < c.size; ++i) bytes[i] = static_cast<char>(i * 7);
    dir.write("f.bin", bytes);
    std::string path = dir / "f.bin";
    QALAdpcmObject* o = QALFileReadCompressed(path.c_str());
    ASSERT_EQ(o != nullptr, c.loads) << c.size;
    if (!o) continue;
    QALAdpcmInfo info = QALAdpcmObjectInfo(o);
    ASSERT_EQ(info.size, c.size);
    EXPECT_EQ(std::memcmp(info.data, bytes.data(), c.size), 0);
    QALAdpcmObjectRelease(o);
  }
  EXPECT_EQ(QALFileReadCompressed((dir / "missing.bin").c_str()), nullptr);
}

// ---- Streams on the virtual clock ---------------------------------------------
class Stream : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(QALInit(nullptr, 1048576, 1024), QAL_OK); }
  void TearDown() override { QALShutdown(); }

  // A compressed signal and what it decodes to.
  QALAdpcmObject* make(size_t samples, std::vector<int16_t>* decoded) {
    std::vector<int16_t> pcm(samples);
    for (size_t i = 0; i < samples; ++i)
      pcm[i] = static_cast<int16_t>(12000 * std::sin(0.031 * static_cast<double>(i)) + 100);
    uint32_t bytes = static_cast<uint32_t>((samples + 1) / 2);
    auto* data = new uint8_t[bytes];
    QALAdpcmState s;
    QALAdpcmEncode(pcm.data(), data, static_cast<uint32_t>(samples), &s);
    decoded->resize(bytes * 2);
    QALAdpcmState d;
    QALAdpcmDecode(data, decoded->data(), bytes * 2, &d);
    return QALAdpcmObjectCreate(data, bytes);
  }

  // Captures ms of the mix and returns the left channel.
  std::vector<int16_t> capture(uint32_t ms) {
    std::string path = dir_ / "cap.wav";
    EXPECT_TRUE(platform::audioHeadlessCapture(path, ms));
    return {};
  }
  std::vector<int16_t> readLeft() {
    std::vector<uint8_t> wav = korvena_test::readBytes(dir_ / "cap.wav");
    std::vector<int16_t> left;
    for (size_t o = 44; o + 3 < wav.size(); o += 4) left.push_back(static_cast<int16_t>(wav[o] | (wav[o + 1] << 8)));
    return left;
  }
  korvena_test::TempDir dir_;
};

TEST_F(Stream, PlaysItsDataThenEndsAfterFourRefillsOfSilence) {
  std::vector<int16_t> decoded;
  QALAdpcmObject* o = make(20001, &decoded);  // 0.91 s at 22050 Hz
  capture(2000);
  uint64_t t0 = platform::nowNs();
  ASSERT_EQ(QALStreamStart(o, 22050), QAL_OK);
  EXPECT_EQ(QALStreamStart(o, 22050), QAL_ERROR);  // already streaming
  EXPECT_TRUE(QALAdpcmObjectInfo(o).streaming);
  uint64_t stoppedAt = 0;
  for (int tick = 0; tick < 60; ++tick) {
    platform::headlessAdvanceClock(50'000'000);
    if (!stoppedAt && !QALAdpcmObjectInfo(o).streaming) stoppedAt = platform::nowNs() - t0;
  }
  // Heard to its end, then about four refills later the voice goes.
  uint64_t dataNs = decoded.size() * 1'000'000'000ull / 22050;
  EXPECT_GE(stoppedAt, dataNs + 150'000'000ull);
  EXPECT_LE(stoppedAt, dataNs + 350'000'000ull);
  EXPECT_EQ(platform::audioPlayingVoices().size(), 0u);
  std::vector<int16_t> left = readLeft();
  ASSERT_EQ(left.size(), 44100u);
  for (size_t i = 0; i < decoded.size(); ++i) ASSERT_EQ(left[i], decoded[i]) << i;
  for (size_t i = decoded.size(); i < left.size(); ++i) ASSERT_EQ(left[i], 0) << i;
  QALAdpcmObjectRelease(o);
}

TEST_F(Stream, ALoopStartsItsDataOverFromTheFirstState) {
  std::vector<int16_t> decoded;
  QALAdpcmObject* o = make(5000, &decoded);  // shorter than the ring
  QALAdpcmObjectSetLoop(o, 1);
  QALStreamSetVolume(o, 32767);
  QALStreamSetPan(o, 32768);
  capture(1500);
  ASSERT_EQ(QALStreamStart(o, 22050), QAL_OK);
  for (int tick = 0; tick < 40; ++tick) platform::headlessAdvanceClock(50'000'000);
  EXPECT_TRUE(QALAdpcmObjectInfo(o).streaming);
  std::vector<int16_t> left = readLeft();
  ASSERT_EQ(left.size(), 33075u);
  for (size_t i = 0; i < left.size(); ++i) ASSERT_EQ(left[i], decoded[i % decoded.size()]) << i;
  // A clone does not stream; stopping and releasing in any order is clean.
  QALAdpcmObject* clone = QALAdpcmObjectClone(o);
  EXPECT_FALSE(QALAdpcmObjectInfo(clone).streaming);
  EXPECT_EQ(QALStreamStop(clone), QAL_OK);
  EXPECT_TRUE(QALAdpcmObjectInfo(o).streaming);
  QALAdpcmObjectRelease(o);  // a streaming object stops first
  EXPECT_EQ(platform::audioPlayingVoices().size(), 0u);
  ASSERT_EQ(QALStreamStart(clone, 11025), QAL_OK);
  QALAdpcmObjectRelease(clone);
}

TEST_F(Stream, VolumeAttenuationAndPanAreStoredAndApplied) {
  std::vector<int16_t> decoded;
  QALAdpcmObject* o = make(100, &decoded);
  QALStreamSetVolume(o, 16383);
  EXPECT_EQ(QALAdpcmObjectInfo(o).volume, -2048);
  QALStreamSetPan(o, 0);
  EXPECT_EQ(QALAdpcmObjectInfo(o).pan, -8192);
  ASSERT_EQ(QALStreamStart(o, 22050), QAL_OK);
  int32_t v = 0;
  uint32_t voice = QALAdpcmObjectInfo(o).voice;
  platform::voiceVolume(voice, &v);
  EXPECT_EQ(v, -2048);
  platform::voicePan(voice, &v);
  EXPECT_EQ(v, -8192);
  QALStreamSetAttenuation(o, -300);
  platform::voiceVolume(voice, &v);
  EXPECT_EQ(v, -300);
  QALStreamSetPan(o, 65535);
  platform::voicePan(voice, &v);
  EXPECT_EQ(v, 8191);
  EXPECT_EQ(QALStreamStart(nullptr, 22050), QAL_OK);
  EXPECT_EQ(QALStreamStop(nullptr), QAL_ERROR);
  QALStreamStop(o);
  EXPECT_FALSE(platform::voiceValid(voice));
  QALAdpcmObjectRelease(o);
}

}  // namespace
