// The audio library's device and samples: the scales and their read-backs,
// the voice-slot walk and the software budget against a small model, fades,
// and samples that outlive the library.
#include <gtest/gtest.h>

#include <algorithm>

#include <map>
#include <random>
#include <vector>

#include "audio/qal.h"
#include "platform/audio.h"
#include "platform/clock.h"
#include "platform/headless.h"

namespace {

class Qal : public ::testing::Test {
 protected:
  void open(uint32_t hardware, uint32_t budget = 1048576, uint32_t options = 1024) {
    platform::audioHeadlessSetHardwareBuffers(hardware);
    ASSERT_EQ(QALInit(nullptr, budget, options), QAL_OK);
  }
  void TearDown() override {
    QALShutdown();
    platform::audioHeadlessSetHardwareBuffers(0);
  }
};

QALSample* makeSample(uint32_t bytes, int bits = 16, uint32_t rate = 22050) {
  std::vector<uint8_t> pcm(bytes, 0x40);
  auto* s = new QALSample;
  if (!QALSampleCreate(s, pcm.data(), bytes, 1, bits, rate)) {
    delete s;
    return nullptr;
  }
  return s;
}

TEST_F(Qal, VolumeAndPanScalesAndTheirReadBacks) {
  EXPECT_EQ(QALVolumeToAttenuation(32767), 0);
  EXPECT_EQ(QALVolumeToAttenuation(16383), -2048);
  EXPECT_EQ(QALVolumeToAttenuation(0), -6144);
  EXPECT_EQ(QALPanToDevice(0), -8192);
  EXPECT_EQ(QALPanToDevice(32768), 0);
  EXPECT_EQ(QALPanToDevice(65535), 8191);
  EXPECT_EQ(QALPanToDevice(1), -8191);  // truncation towards zero
  open(0);
  QALSample* s = makeSample(100);
  ASSERT_NE(s, nullptr);
  // Every volume reads back at or just below what was set (the scale's two
  // slopes lose up to 8 and 4 units), never as the failure code.
  for (int32_t v = 0; v <= 32767; v += 127) {
    ASSERT_EQ(QALSampleSetVolume(s, v), QAL_OK);
    int32_t back = QALSampleGetVolume(s);
    ASSERT_GE(back, 0) << v;
    ASSERT_LE(back, v) << v;
    ASSERT_GE(back, v - 8) << v;
  }
  QALSampleSetVolume(s, 0);
  EXPECT_EQ(QALSampleGetVolume(s), 0);
  QALSampleSetVolume(s, 32767);
  EXPECT_EQ(QALSampleGetVolume(s), 32767);
  QALSampleSetVolume(s, 16383);
  EXPECT_EQ(QALSampleGetVolume(s), 16383);
  int32_t att = 0;
  platform::voiceVolume(s->buffer, &att);
  EXPECT_EQ(att, -2048);
  // The voice holds (pan - 32768) * 8192 / 32768 hundredths of a decibel;
  // reading back spreads -10000..10000 over 0..65535.
  for (int32_t p = 0; p <= 65535; p += 255) {
    ASSERT_EQ(QALSampleSetPan(s, p), QAL_OK);
    int32_t held = ((p - 32768) * 8192) / 32768;
    ASSERT_EQ(QALSampleGetPan(s), std::min((held + 10000) * 32768 / 10000, 65535)) << p;
  }
  QALSampleSetPan(s, 32768);
  EXPECT_EQ(QALSampleGetPan(s), 32768);
  QALSampleSetPan(s, 0);
  platform::voicePan(s->buffer, &att);
  EXPECT_EQ(att, -8192);
  EXPECT_EQ(QALSampleGetPan(s), 5924);
  QALSampleSetPan(s, 65535);
  platform::voicePan(s->buffer, &att);
  EXPECT_EQ(att, 8191);
  EXPECT_EQ(QALSampleGetPan(s), 59608);
  EXPECT_EQ(QALSampleSetFrequency(s, 11025), QAL_OK);
  EXPECT_EQ(QALSampleGetFrequency(s), 11025);
  EXPECT_EQ(QALSampleSetFrequency(s, 50), QAL_ERROR);
  EXPECT_EQ(QALSampleIsLooping(s), 0);
  QALSampleSetLoop(s, 7);
  EXPECT_EQ(s->loop, 1u);
  QALSamplePlay(s);
  EXPECT_EQ(QALSampleIsLooping(s), -1);
  EXPECT_EQ(QALSampleIsPlaying(s), 1);
  EXPECT_EQ(QALSampleStop(s), QAL_OK);
  EXPECT_EQ(QALSampleIsPlaying(s), 0);
  QALSampleFree(s);
}

TEST_F(Qal, PcmConversions) {
  struct {
    int16_t in, rounded;
    uint8_t eight;
  } cases[] = {{0, 0, 128},         {127, 0, 128},        {128, 256, 129},      {-127, 0, 128},
               {-128, -256, 127},   {32767, 32512, 255},  {-32768, -32512, 1},  {32383, 32256, 254},
               {32384, 32512, 255}, {-300, -256, 127},    {400, 512, 130},      {1000, 1024, 132}};
  for (const auto& c : cases) {
    EXPECT_EQ(QALPcmRound16To8(c.in), c.rounded) << c.in;
    uint8_t out = 0;
    QALPcm16To8(&c.in, &out, 1);
    EXPECT_EQ(out, c.eight) << c.in;
  }
  const int16_t pcm[7] = {0, 10, -10, -20, 32767, 32767, 5};
  int16_t half[4] = {99, 99, 99, 99};
  EXPECT_EQ(QALPcmHalveRate(pcm, half, 7), 3u);
  EXPECT_EQ(half[0], 5);
  EXPECT_EQ(half[1], -15);
  EXPECT_EQ(half[2], 32767);
  EXPECT_EQ(half[3], 99);  // the odd last sample makes no output
}

TEST_F(Qal, OpenFollowsTheDeviceHardwareCount) {
  struct {
    uint32_t reported;
    int32_t slots;
    uint32_t hardware;
  } cases[] = {{0, 0, 0}, {15, 0, 0}, {16, 8, 8}, {17, 8, 9}, {40, 8, 32}};
  for (const auto& c : cases) {
    open(c.reported, 4096, 1024 | QAL_OPTION_SECOND_CHANNEL);
    EXPECT_EQ(qal_oState.slotCount, c.slots) << c.reported;
    EXPECT_EQ(qal_oState.freeSlots, c.slots) << c.reported;
    EXPECT_EQ(qal_oState.freeHardware, c.hardware) << c.reported;
    EXPECT_EQ(qal_oState.budgetTotal, 4096u);
    EXPECT_EQ(qal_oState.budgetRemaining, 4096u);
    EXPECT_EQ(qal_oState.options & (QAL_OPTION_16BIT | QAL_OPTION_STEREO), QAL_OPTION_16BIT | QAL_OPTION_STEREO);
    EXPECT_EQ(qal_oState.options & 1024u, 1024u);
    EXPECT_EQ(qal_oState.options & QAL_OPTION_SECOND_CHANNEL, QAL_OPTION_SECOND_CHANNEL);
    EXPECT_EQ(qal_oState.options & (QAL_OPTION_MIDI_VOLUME | QAL_OPTION_MIDI_LEFTRIGHT), 0u);  // no MIDI device
    EXPECT_EQ(qal_oState.timerPeriod, 50u);
    EXPECT_EQ(qal_oState.masterAttenuation, 0);
    EXPECT_EQ(QALInit(nullptr, 10, 0), QAL_ERROR);  // already open
    ASSERT_EQ(QALShutdown(), QAL_OK);
    EXPECT_EQ(QALShutdown(), QAL_ERROR);
  }
}

// ---- The voice-slot walk and the budget against a model --------------------
struct ModelSample {
  bool hardware = false;
  bool loop = false;
  bool playing = false;  // a software sample's own voice
  bool playsLooping = false;  // as it was played
  int buffer = 0;        // shared buffer id (hardware instances share)
  uint32_t charged = 0;  // bytes charged to the budget
};

struct Model {
  int slotCount = 0, freeSlots = 0;
  uint32_t budget = 0, freeHardware = 0;
  int owner[8] = {-1, -1, -1, -1, -1, -1, -1, -1};
  bool slotPlaying[8] = {};
  bool slotLooping[8] = {};
  std::map<int, ModelSample> samples;
  std::map<int, int> bufferRefs;

  int firstSlot(int id) const {
    for (int n = 0; n < slotCount; ++n)
      if (owner[n] == id) return n;
    return -1;
  }
  bool isPlaying(int id) const {
    const ModelSample& s = samples.at(id);
    if (!s.hardware) return s.playing;
    int n = firstSlot(id);
    return n >= 0 && slotPlaying[n];
  }
  void release(int n) {
    owner[n] = -1;
    slotPlaying[n] = false;
    ++freeSlots;
  }
  void acquire(int n, int id) {
    owner[n] = id;
    slotPlaying[n] = false;
    --freeSlots;
  }
  bool play(int id) {
    ModelSample& s = samples.at(id);
    if (!s.hardware) {
      s.playing = true;
      s.playsLooping = s.loop;
      return true;
    }
    int chosen = -1;
    for (int n = 0; n < slotCount; ++n) {
      if (owner[n] < 0) {
        if (freeSlots > 0 && chosen < 0) {
          acquire(n, id);
          chosen = n;
        }
      } else if (!isPlaying(owner[n])) {
        release(n);
        if (chosen < 0) {
          acquire(n, id);
          chosen = n;
        }
      }
    }
    if (chosen < 0) {
      if (slotCount == 0) return false;
      int n = 0;
      while (n < slotCount && owner[n] < 0) ++n;
      if (n == slotCount) n = 0;
      if (owner[n] >= 0) release(n);
      acquire(n, id);
      chosen = n;
    }
    slotPlaying[chosen] = true;
    slotLooping[chosen] = s.loop;
    return true;
  }
  void stop(int id) {
    ModelSample& s = samples.at(id);
    if (s.hardware) {
      for (int n = 0; n < slotCount; ++n)
        if (owner[n] == id) release(n);
    } else {
      s.playing = false;
    }
  }
  void finishOneShots() {
    for (int n = 0; n < slotCount; ++n)
      if (owner[n] >= 0 && !slotLooping[n]) slotPlaying[n] = false;
    for (auto& [id, s] : samples)
      if (!s.hardware && !s.playsLooping) s.playing = false;
  }
};

TEST_F(Qal, VoiceSlotsAndBudgetFollowTheModel) {
  for (uint32_t reported : {0u, 15u, 16u, 17u, 20u}) {
    for (uint32_t seed = 1; seed <= 6; ++seed) {
      const uint32_t budget = 60000;
      open(reported, budget);
      Model m;
      m.slotCount = m.freeSlots = qal_oState.slotCount;
      m.budget = budget;
      m.freeHardware = qal_oState.freeHardware;
      std::map<int, QALSample*> real;
      std::mt19937 rng(seed * 977 + reported);
      int nextId = 0, nextBuffer = 0;
      auto pick = [&]() -> int {
        if (m.samples.empty()) return -1;
        auto it = m.samples.begin();
        std::advance(it, std::uniform_int_distribution<size_t>(0, m.samples.size() - 1)(rng));
        return it->first;
      };
      for (int step = 0; step < 300; ++step) {
        int op = std::uniform_int_distribution<int>(0, 9)(rng);
        int id = pick();
        SCOPED_TRACE(testing::Message() << "hardware " << reported << " seed " << seed << " step " << step << " op " << op);
        if (op <= 1 || id < 0) {  // create
          uint32_t bytes = std::uniform_int_distribution<uint32_t>(1, 12000)(rng) * 2;
          QALSample* s = makeSample(bytes);
          bool software = m.freeHardware == 0;
          bool fits = !software || bytes <= m.budget;
          ASSERT_EQ(s != nullptr, fits);
          if (!s) continue;
          ModelSample ms;
          ms.hardware = !software;
          ms.buffer = ++nextBuffer;
          m.bufferRefs[ms.buffer] = 1;
          if (software) {
            m.budget -= bytes;
            ms.charged = bytes;
          } else {
            --m.freeHardware;
          }
          m.samples[++nextId] = ms;
          real[nextId] = s;
        } else if (op <= 4) {  // play
          bool ok = m.play(id);
          ASSERT_EQ(QALSamplePlay(real[id]), ok ? QAL_OK : QAL_ERROR);
        } else if (op == 5) {  // stop
          m.stop(id);
          QALSampleStop(real[id]);
        } else if (op == 6) {  // free
          m.stop(id);
          ModelSample ms = m.samples[id];
          m.budget += ms.charged;
          if (--m.bufferRefs[ms.buffer] == 0 && ms.hardware) ++m.freeHardware;
          m.samples.erase(id);
          ASSERT_EQ(QALSampleFree(real[id]), QAL_OK);
          real.erase(id);
        } else if (op == 7) {  // instance
          QALSample* dest = QALSampleInstance(new QALSample, real[id]);
          ASSERT_NE(dest, nullptr);
          ModelSample ms = m.samples[id];
          ms.playing = false;
          ms.charged = 0;
          if (ms.hardware)
            ++m.bufferRefs[ms.buffer];
          else
            m.bufferRefs[ms.buffer = ++nextBuffer] = 1;
          m.samples[++nextId] = ms;
          real[nextId] = dest;
        } else if (op == 8) {  // loop flag
          bool on = std::uniform_int_distribution<int>(0, 1)(rng) == 1;
          m.samples[id].loop = on;
          QALSampleSetLoop(real[id], on);
        } else {  // time passes: every one-shot ends
          platform::headlessAdvanceClock(2'000'000'000ull);
          m.finishOneShots();
        }
        ASSERT_EQ(qal_oState.budgetRemaining, m.budget);
        ASSERT_EQ(qal_oState.freeHardware, m.freeHardware);
        ASSERT_EQ(qal_oState.freeSlots, m.freeSlots);
        for (int n = 0; n < m.slotCount; ++n) {
          QALSample* expected = m.owner[n] >= 0 ? real[m.owner[n]] : nullptr;
          ASSERT_EQ(qal_oState.slotOwner[n], expected) << "slot " << n;
          ASSERT_EQ(qal_oState.slotInUse[n] != nullptr, expected != nullptr) << "slot " << n;
        }
        for (auto& [sid, ms] : m.samples) ASSERT_EQ(QALSampleIsPlaying(real[sid]) == 1, m.isPlaying(sid)) << "sample " << sid;
      }
      for (auto& [sid, s] : real) QALSampleFree(s);
      EXPECT_EQ(qal_oState.budgetRemaining, budget);
      EXPECT_EQ(qal_oState.freeSlots, qal_oState.slotCount);
      QALShutdown();
    }
  }
}

TEST_F(Qal, ANinthHardwareSoundStealsSlotZero) {
  open(17);  // 8 slots and 9 samples in hardware
  std::vector<QALSample*> s;
  for (int i = 0; i < 9; ++i) {
    s.push_back(makeSample(2000));
    ASSERT_EQ(s.back()->flags, QAL_SAMPLE_HARDWARE | QAL_SAMPLE_LOADED);
    QALSampleSetLoop(s.back(), 1);
    ASSERT_EQ(QALSamplePlay(s.back()), QAL_OK);
  }
  EXPECT_EQ(qal_oState.slotOwner[0], s[8]);
  for (int n = 1; n < 8; ++n) EXPECT_EQ(qal_oState.slotOwner[n], s[n]);
  EXPECT_EQ(QALSampleIsPlaying(s[0]), 0);
  EXPECT_EQ(QALSampleIsPlaying(s[8]), 1);
  // A hardware instance shares the buffer: freeing either keeps it for the other.
  QALSample* copy = QALSampleInstance(new QALSample, s[3]);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->buffer, s[3]->buffer);
  uint32_t hardware = qal_oState.freeHardware;
  QALSampleFree(s[3]);
  EXPECT_TRUE(platform::voiceValid(copy->buffer));
  EXPECT_EQ(qal_oState.freeHardware, hardware);
  EXPECT_EQ(QALSamplePlay(copy), QAL_OK);
  QALSampleFree(copy);
  EXPECT_EQ(qal_oState.freeHardware, hardware + 1);
  for (int i = 0; i < 9; ++i)
    if (i != 3) QALSampleFree(s[i]);
}

TEST_F(Qal, SoftwareSamplesChargeTheBudgetAndInstancesDoNot) {
  open(15, 10000);
  QALSample* a = makeSample(6000);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->flags, QAL_SAMPLE_SOFTWARE | QAL_SAMPLE_LOADED);
  EXPECT_EQ(qal_oState.budgetRemaining, 4000u);
  EXPECT_EQ(makeSample(4001), nullptr);
  EXPECT_EQ(qal_oState.budgetRemaining, 4000u);
  QALSample* b = makeSample(4000);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(qal_oState.budgetRemaining, 0u);
  QALSample* c = QALSampleInstance(new QALSample, a);
  ASSERT_NE(c, nullptr);
  EXPECT_NE(c->buffer, a->buffer);
  EXPECT_EQ(c->flags, a->flags);
  QALSampleFree(c);
  EXPECT_EQ(qal_oState.budgetRemaining, 0u);  // the instance was never charged
  QALSampleFree(a);
  EXPECT_EQ(qal_oState.budgetRemaining, 6000u);
  // No record given: the buffer is released and nothing is charged.
  uint8_t pcm[10] = {};
  EXPECT_EQ(QALSampleCreate(nullptr, pcm, 10, 1, 8, 22050), 0);
  EXPECT_EQ(qal_oState.budgetRemaining, 6000u);
  QALSample local;
  EXPECT_EQ(QALSampleCreate(&local, pcm, 10, 2, 8, 22050), 0);  // mono only
  // A failed instance frees its record.
  QALSample stale;
  EXPECT_EQ(QALSampleInstance(new QALSample, &stale), nullptr);
  QALSampleFree(b);
}

TEST_F(Qal, SamplesOutlivingTheLibraryAreHarmless) {
  open(16);
  QALSample* hw = makeSample(100);
  QALSample* inst = QALSampleInstance(new QALSample, hw);
  QALSamplePlay(hw);
  ASSERT_EQ(QALShutdown(), QAL_OK);
  EXPECT_EQ(QALSamplePlay(hw), QAL_ERROR);
  EXPECT_EQ(QALSampleSetVolume(inst, 1000), QAL_ERROR);
  EXPECT_EQ(QALSampleIsPlaying(hw), 0);
  open(0, 500);
  QALSample* fresh = makeSample(100);
  ASSERT_NE(fresh, nullptr);
  EXPECT_EQ(QALSampleFree(hw), QAL_OK);  // from the last open: changes nothing now
  EXPECT_EQ(QALSampleFree(inst), QAL_OK);
  EXPECT_EQ(qal_oState.budgetRemaining, 400u);
  EXPECT_TRUE(platform::voiceValid(fresh->buffer));
  QALSampleFree(fresh);
  EXPECT_EQ(qal_oState.budgetRemaining, 500u);
}

// ---- Fades -------------------------------------------------------------------
struct Recorder {
  std::vector<int32_t> values;
};
void record(int32_t v, void* user) { static_cast<Recorder*>(user)->values.push_back(v); }

TEST_F(Qal, FadesStepEvery50MsAndNeverOvershoot) {
  struct Case {
    int32_t from, to;
    uint32_t ms;
    std::vector<int32_t> expect;
  };
  const Case cases[] = {
      {0, 1000, 500, {100, 200, 300, 400, 500, 600, 700, 800, 900, 1000}},
      {0, 1000, 333, {150, 300, 450, 600, 750, 900, 1000}},
      {1000, 0, 333, {849, 699, 549, 399, 249, 99, 0}},
      {32767, 16383, 120, {25940, 19113, 16383}},
      {5, 5, 1000, {5}},
      {0, 700, 0, {700}},   // no length: the target at once
      {0, 700, 49, {700}},  // under one tick
  };
  for (const Case& c : cases) {
    Recorder r;
    QALFade* f = QALFadeStart(nullptr, c.from, c.to, c.ms, record, &r);
    platform::headlessAdvanceClock(10'000'000'000ull);
    EXPECT_EQ(r.values, c.expect) << c.from << "->" << c.to << " in " << c.ms;
    QALFadeFree(f);
  }
  // A new fade replaces a running one.
  Recorder r;
  QALFade* f = QALFadeStart(nullptr, 0, 1000, 1000, record, &r);
  platform::headlessAdvanceClock(100'000'000);
  f = QALFadeStart(f, 500, 0, 100, record, &r);
  platform::headlessAdvanceClock(1'000'000'000);
  EXPECT_EQ(r.values, (std::vector<int32_t>{50, 100, 250, 0}));
  QALFadeFree(f);
}

}  // namespace
