// Sound banks: the loader's two passes against a model under random budgets
// and hardware counts, the second channel, several files in one bank, and
// every truncation and random corruption of a bank refused cleanly.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "audio/qal.h"
#include "platform/audio.h"
#include "support/temp_dir.h"

namespace {

constexpr uint32_t kNone = QAL_NO_SAMPLE;

struct TestSound {
  uint32_t sample = kNone, second = kNone, rate = 22050, bits = 16;
  uint32_t compressed = kNone, compressedRate = 22050, compressedBits = 16;
  uint32_t a = 0, b = 0;
  int16_t tag = 0;
};

void put32(std::vector<uint8_t>* v, size_t at, uint32_t x) {
  for (int i = 0; i < 4; ++i) (*v)[at + i] = static_cast<uint8_t>(x >> (8 * i));
}

// A bank file laid out field by field.
std::vector<uint8_t> bankBytes(const std::vector<TestSound>& sounds, const std::vector<std::vector<uint8_t>>& samples) {
  std::vector<uint8_t> b(16 + 86 * sounds.size(), 0xEE);  // unread bytes are noise
  std::memcpy(b.data(), "kbbk", 4);
  put32(&b, 8, static_cast<uint32_t>(sounds.size()));
  put32(&b, 12, static_cast<uint32_t>(samples.size()));
  for (size_t i = 0; i < sounds.size(); ++i) {
    size_t d = 16 + 86 * i;
    const TestSound& s = sounds[i];
    b[d + 4] = static_cast<uint8_t>(s.tag);
    b[d + 5] = static_cast<uint8_t>(static_cast<uint16_t>(s.tag) >> 8);
    put32(&b, d + 14, s.a);
    put32(&b, d + 18, s.b);
    put32(&b, d + 54, s.sample);
    put32(&b, d + 58, s.second);
    put32(&b, d + 62, s.rate);
    put32(&b, d + 66, s.bits);
    put32(&b, d + 70, s.compressed);
    put32(&b, d + 78, s.compressedRate);
    put32(&b, d + 82, s.compressedBits);
  }
  for (const auto& pcm : samples) {
    size_t h = b.size();
    b.resize(h + 8, 0xEE);
    put32(&b, h + 4, static_cast<uint32_t>(pcm.size()));
    b.insert(b.end(), pcm.begin(), pcm.end());
  }
  return b;
}

std::vector<uint8_t> pcmOf(size_t bytes, uint32_t seed) {
  std::vector<uint8_t> p(bytes);
  for (size_t i = 0; i < bytes; ++i) p[i] = static_cast<uint8_t>((i * 31 + seed * 7) ^ (i >> 3));
  return p;
}

class Bank : public ::testing::Test {
 protected:
  void open(uint32_t hardware, uint32_t budget, uint32_t options = 1024) {
    QALShutdown();
    platform::audioHeadlessSetHardwareBuffers(hardware);
    ASSERT_EQ(QALInit(nullptr, budget, options), QAL_OK);
  }
  void TearDown() override {
    QALShutdown();
    platform::audioHeadlessSetHardwareBuffers(0);
  }
  std::string write(const std::string& name, const std::vector<uint8_t>& bytes) {
    dir_.write(name, std::string(bytes.begin(), bytes.end()));
    return dir_ / name;
  }
  korvena_test::TempDir dir_;
};

// Where a sound ends up.
enum class Place { Hardware, Software, Compressed, None };

Place placeOf(const QALSound& s) {
  if (s.sample) return (s.sample->flags & QAL_SAMPLE_HARDWARE) ? Place::Hardware : Place::Software;
  return s.compressed ? Place::Compressed : Place::None;
}

// The model of the loader.
struct LoaderModel {
  uint32_t hardware, budget;
  bool secondChannel;
  const std::vector<TestSound>& sounds;
  const std::vector<std::vector<uint8_t>>& samples;
  std::vector<Place> place;
  std::vector<Place> secondPlace;

  bool valid(uint32_t i) const { return i != kNone && i < samples.size(); }
  Place loadOne(uint32_t index, uint32_t rate, uint32_t bits) {
    if (!valid(index) || samples[index].empty() || (bits != 8 && bits != 16) || rate < 100 || rate > 100000)
      return Place::None;
    if (hardware > 0) {
      --hardware;
      return Place::Hardware;
    }
    uint32_t size = static_cast<uint32_t>(samples[index].size());
    if (size > budget) return Place::None;
    budget -= size;
    return Place::Software;
  }
  void load(size_t i) {
    const TestSound& s = sounds[i];
    place[i] = loadOne(s.sample, s.rate, s.bits);
    if (secondChannel) secondPlace[i] = loadOne(s.second, s.rate, s.bits);
  }
  uint32_t needed(size_t first, size_t last) const {
    uint32_t n = 0;
    for (size_t i = first; i <= last; ++i) {
      if (sounds[i].sample == kNone) continue;
      if (valid(sounds[i].sample)) n += static_cast<uint32_t>(samples[sounds[i].sample].size());
      if (valid(sounds[i].second)) n += static_cast<uint32_t>(samples[sounds[i].second].size());
    }
    return n;
  }
  void run() {
    size_t n = sounds.size();
    place.assign(n, Place::None);
    secondPlace.assign(n, Place::None);
    uint32_t start = budget;
    size_t next = 0;
    while (next < n) {
      load(next++);
      if (budget != start) break;
    }
    if (next < n) {
      long last = static_cast<long>(n) - 1;
      while (last >= static_cast<long>(next) && needed(next, static_cast<size_t>(last)) > budget) {
        const TestSound& s = sounds[static_cast<size_t>(last)];
        uint32_t index = s.compressed != kNone ? s.compressed : s.sample;
        uint32_t bits = s.compressed != kNone ? s.compressedBits : s.bits;
        place[static_cast<size_t>(last)] = valid(index) && bits == 16 ? Place::Compressed : Place::None;
        --last;
      }
      for (long i = last; i >= static_cast<long>(next); --i) load(static_cast<size_t>(i));
    }
  }
};

TEST_F(Bank, TwoPassesFollowTheModelUnderRandomBudgets) {
  std::mt19937 rng(11);
  for (int round = 0; round < 60; ++round) {
    std::uniform_int_distribution<int> pick(0, 99);
    size_t sampleCount = 1 + static_cast<size_t>(pick(rng) % 12);
    std::vector<std::vector<uint8_t>> samples;
    for (size_t i = 0; i < sampleCount; ++i) samples.push_back(pcmOf(2 * (1 + static_cast<size_t>(pick(rng)) * 40), static_cast<uint32_t>(i)));
    std::vector<TestSound> sounds(static_cast<size_t>(1 + pick(rng) % 20));
    for (TestSound& s : sounds) {
      int r = pick(rng);
      s.sample = r < 8 ? kNone : r < 12 ? static_cast<uint32_t>(sampleCount + 3) : static_cast<uint32_t>(pick(rng)) % sampleCount;
      s.second = pick(rng) < 30 ? static_cast<uint32_t>(pick(rng)) % sampleCount : kNone;
      s.bits = pick(rng) < 20 ? 8 : 16;
      s.rate = pick(rng) < 3 ? 50 : 11025;
      s.compressed = pick(rng) < 25 ? static_cast<uint32_t>(pick(rng)) % sampleCount : kNone;
      s.compressedBits = pick(rng) < 15 ? 8 : 16;
      s.a = static_cast<uint32_t>(pick(rng));
      s.b = static_cast<uint32_t>(pick(rng)) * 1000;
      s.tag = static_cast<int16_t>(pick(rng) - 50);
    }
    const uint32_t hardwareCounts[] = {0, 15, 16, 18, 24};
    uint32_t reported = hardwareCounts[round % 5];
    uint32_t budget = static_cast<uint32_t>(pick(rng)) * 200;
    bool second = round % 3 == 0;
    open(reported, budget, 1024 | (second ? static_cast<uint32_t>(QAL_OPTION_SECOND_CHANNEL) : 0u));
    std::string path = write("bank.kbb", bankBytes(sounds, samples));
    QALBank bank;
    ASSERT_EQ(QALBankLoad(&bank, path.c_str()), 1);
    LoaderModel m{reported >= 16 ? reported - 8 : 0, budget, second, sounds, samples, {}, {}};
    m.run();
    SCOPED_TRACE(testing::Message() << "round " << round);
    ASSERT_EQ(bank.soundCount, sounds.size());
    ASSERT_EQ(bank.sampleCount, sampleCount);
    for (size_t i = 0; i < sounds.size(); ++i) {
      const QALSound& s = bank.sounds[i];
      ASSERT_EQ(placeOf(s), m.place[i]) << "sound " << i;
      Place second2 = s.second ? ((s.second->flags & QAL_SAMPLE_HARDWARE) ? Place::Hardware : Place::Software) : Place::None;
      ASSERT_EQ(second2, m.secondPlace[i]) << "sound " << i;
      EXPECT_EQ(s.remaining, sounds.size() - i);
      EXPECT_EQ(s.paramA, sounds[i].a);
      EXPECT_EQ(s.paramB, sounds[i].b);
      EXPECT_EQ(s.tag, sounds[i].tag);
      EXPECT_EQ(s.volume, 32767u);
      if (s.sample) {
        EXPECT_EQ(QALSampleGetPan(s.sample), s.second ? 5924 : 32768);  // hard left, or centre
      }
      if (s.sample && s.second) {
        EXPECT_EQ(QALSampleGetPan(s.second), 59608);  // hard right
      }
      if (s.compressed) {
        // The compressed bytes are the encoding of the chosen 16-bit sample.
        const TestSound& d = sounds[i];
        const auto& pcm = samples[d.compressed != kNone ? d.compressed : d.sample];
        uint32_t n = static_cast<uint32_t>(pcm.size() / 2);
        std::vector<int16_t> values(n);
        std::memcpy(values.data(), pcm.data(), n * 2);
        std::vector<uint8_t> expect((n + 1) / 2);
        QALAdpcmState st;
        QALAdpcmEncode(values.data(), expect.data(), n, &st);
        QALAdpcmInfo info = QALAdpcmObjectInfo(s.compressed);
        ASSERT_EQ(info.size, expect.size());
        EXPECT_EQ(std::memcmp(info.data, expect.data(), expect.size()), 0);
      }
    }
    EXPECT_EQ(qal_oState.budgetRemaining, m.budget);
    QALBankFree(&bank);
    EXPECT_EQ(qal_oState.budgetRemaining, budget);  // every charged byte comes back
  }
}

TEST_F(Bank, TheEdgeCasesOfTheLoader) {
  std::vector<std::vector<uint8_t>> samples = {pcmOf(1000, 1), pcmOf(2000, 2), pcmOf(3000, 3)};
  std::vector<TestSound> sounds(5);
  for (size_t i = 0; i < 5; ++i) sounds[i].sample = static_cast<uint32_t>(i % 3);
  sounds[4].sample = kNone;  // no sample, needs no bytes
  std::string path = write("edge.kbb", bankBytes(sounds, samples));
  // Everything in hardware: nothing compressed, the budget untouched.
  open(40, 100);
  QALBank bank;
  ASSERT_EQ(QALBankLoad(&bank, path.c_str()), 1);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(placeOf(bank.sounds[i]), Place::Hardware) << i;
  EXPECT_EQ(placeOf(bank.sounds[4]), Place::None);
  // Two sounds naming one sample get buffers of their own with the same data.
  EXPECT_NE(bank.sounds[0].sample->buffer, bank.sounds[3].sample->buffer);
  EXPECT_EQ(platform::voiceByteCount(bank.sounds[3].sample->buffer), 1000u);
  EXPECT_EQ(qal_oState.budgetRemaining, 100u);
  QALBankFree(&bank);
  // No hardware: the first sound is charged and ends the front pass; the back
  // pass compresses from the end until the rest fits.
  open(0, 1000 + 3000);
  ASSERT_EQ(QALBankLoad(&bank, path.c_str()), 1);
  EXPECT_EQ(placeOf(bank.sounds[0]), Place::Software);
  // Left after sound 0: 3000. Sounds 1..3 need 2000+3000+1000: 3 compressed
  // (6000 > 3000), then 1..2 need 5000: 2 compressed, then 1 fits.
  EXPECT_EQ(placeOf(bank.sounds[4]), Place::None);
  EXPECT_EQ(placeOf(bank.sounds[3]), Place::Compressed);
  EXPECT_EQ(placeOf(bank.sounds[2]), Place::Compressed);
  EXPECT_EQ(placeOf(bank.sounds[1]), Place::Software);
  EXPECT_EQ(qal_oState.budgetRemaining, 1000u);
  QALBankFree(&bank);
  // With room for sounds 1 and 2 after the back pass, they load from the
  // highest index down: sound 2's buffer is made first (the device hands out
  // its voice slots in order, lowest first).
  open(0, 1000 + 5000);
  ASSERT_EQ(QALBankLoad(&bank, path.c_str()), 1);
  EXPECT_EQ(placeOf(bank.sounds[3]), Place::Compressed);
  ASSERT_EQ(placeOf(bank.sounds[2]), Place::Software);
  ASSERT_EQ(placeOf(bank.sounds[1]), Place::Software);
  EXPECT_LT(bank.sounds[2].sample->buffer & 1023u, bank.sounds[1].sample->buffer & 1023u);
  EXPECT_EQ(qal_oState.budgetRemaining, 0u);
  QALBankFree(&bank);
  // A missing file and a wrong magic leave the bank as it was.
  QALBank keep;
  keep.soundCount = 77;
  EXPECT_EQ(QALBankLoad(&keep, (dir_ / "missing.kbb").c_str()), 0);
  std::vector<uint8_t> wrong = bankBytes(sounds, samples);
  wrong[0] = 'K';
  EXPECT_EQ(QALBankLoad(&keep, write("wrong.kbb", wrong).c_str()), 0);
  EXPECT_EQ(keep.soundCount, 77u);
  EXPECT_EQ(keep.sounds, nullptr);
}

TEST_F(Bank, EveryTruncationAndCorruptionIsRefusedCleanly) {
  std::vector<std::vector<uint8_t>> samples = {pcmOf(64, 1), pcmOf(30, 2), pcmOf(10, 3)};
  std::vector<TestSound> sounds(4);
  sounds[0].sample = 0;
  sounds[1].sample = 1;
  sounds[1].second = 2;
  sounds[2].sample = 2;
  sounds[2].bits = 8;
  sounds[3].sample = 0;
  sounds[3].compressed = 1;
  const std::vector<uint8_t> good = bankBytes(sounds, samples);
  open(0, 100, 1024 | QAL_OPTION_SECOND_CHANNEL);
  for (size_t cut = 0; cut < good.size(); ++cut) {
    QALBank bank;
    bank.soundCount = 5;
    std::vector<uint8_t> part(good.begin(), good.begin() + static_cast<long>(cut));
    ASSERT_EQ(QALBankLoad(&bank, write("cut.kbb", part).c_str()), 0) << cut;
    ASSERT_EQ(bank.soundCount, 5u);
    ASSERT_EQ(bank.sounds, nullptr);
  }
  std::mt19937 rng(5);
  int loaded = 0;
  for (int round = 0; round < 400; ++round) {
    std::vector<uint8_t> bad = good;
    int flips = 1 + static_cast<int>(rng() % 4);
    for (int f = 0; f < flips; ++f) {
      size_t at = rng() % bad.size();
      // Mostly the header and the fields the loader reads.
      if (rng() % 2) at = (rng() % 2) ? 8 + rng() % 8 : 16 + 86 * (rng() % 4) + 54 + rng() % 32;
      bad[at] = static_cast<uint8_t>(rng());
    }
    QALBank bank;
    int32_t result = QALBankLoad(&bank, write("bad.kbb", bad).c_str());
    if (result) {
      ++loaded;
      for (uint32_t i = 0; i < bank.soundCount; ++i) QALSamplePlay(bank.sounds[i].sample);
      QALBankFree(&bank);
    }
    ASSERT_EQ(qal_oState.budgetRemaining, 100u);
  }
  EXPECT_GT(loaded, 0);  // flips in unread fields still load
}

TEST_F(Bank, SeveralFilesLoadAsOneBank) {
  std::vector<std::vector<uint8_t>> s1 = {pcmOf(100, 1), pcmOf(200, 2)};
  std::vector<std::vector<uint8_t>> s2 = {pcmOf(300, 3)};
  std::vector<TestSound> d1(3), d2(2);
  d1[0].sample = 1;
  d1[1].sample = 0;
  d1[2].sample = kNone;
  d2[0].sample = 0;
  d2[0].a = 42;
  d2[1].sample = 0;
  d2[1].compressed = 0;
  std::string p1 = write("one.kbb", bankBytes(d1, s1));
  std::string p2 = write("two.kbb", bankBytes(d2, s2));
  open(40, 0);
  const char* paths[] = {p1.c_str(), p2.c_str()};
  uint32_t first[2] = {99, 99};
  QALBank* bank = QALBankLoadMulti(2, paths, first);
  ASSERT_NE(bank, nullptr);
  EXPECT_EQ(first[0], 0u);
  EXPECT_EQ(first[1], 3u);
  EXPECT_EQ(bank->soundCount, 5u);
  EXPECT_EQ(bank->sampleCount, 3u);
  EXPECT_EQ(platform::voiceByteCount(bank->sounds[0].sample->buffer), 200u);
  EXPECT_EQ(platform::voiceByteCount(bank->sounds[1].sample->buffer), 100u);
  EXPECT_EQ(bank->sounds[2].sample, nullptr);
  EXPECT_EQ(platform::voiceByteCount(bank->sounds[3].sample->buffer), 300u);  // the second file's sample 0
  EXPECT_EQ(bank->sounds[3].paramA, 42u);
  EXPECT_EQ(bank->sounds[3].remaining, 2u);
  QALBankFree(bank);
  delete bank;
  const char* broken[] = {p1.c_str(), "/nonexistent/x.kbb"};
  EXPECT_EQ(QALBankLoadMulti(2, broken, first), nullptr);
}

}  // namespace
