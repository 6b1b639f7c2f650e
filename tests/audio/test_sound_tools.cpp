// The sound tools: the synthesis library's determinism and WAV files,
// kbbtool's banks from manifests (read back by the loader's parser), its
// checks and refusals, and the disc tracks.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "audio/qal.h"
#include "sound/instruments.h"
#include "sound/kbb.h"
#include "sound/synth.h"
#include "support/run_game.h"
#include "support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

std::string tool(const char* name) {
  const char* build = std::getenv("KORVENA_BUILD_DIR");
  return build ? (fs::path(build) / "tools" / name).string() : name;
}

TEST(Synth, SameSeedSameSoundAndWavFilesRoundTrip) {
  ksynth::Rng a(42), b(42), c(43);
  for (int i = 0; i < 100; ++i) {
    uint64_t x = a.next();
    ASSERT_EQ(x, b.next());
    ASSERT_NE(x, c.next());
  }
  for (int i = 0; i < 1000; ++i) {
    double u = a.uniform();
    ASSERT_GE(u, 0.0);
    ASSERT_LT(u, 1.0);
    int k = a.below(7);
    ASSERT_GE(k, 0);
    ASSERT_LT(k, 7);
  }
  korvena_test::TempDir dir;
  ksynth::Mono m(1000);
  for (size_t i = 0; i < m.size(); ++i) m[i] = std::round(std::sin(static_cast<double>(i) * 0.1) * 30000.0) / 32768.0;
  m[0] = -1.0;
  m[1] = 32767.0 / 32768.0;
  for (int bits : {16, 8}) {
    std::string path = dir / "m.wav";
    ASSERT_TRUE(ksynth::writeWav(path, m, 11025, bits));
    ksynth::WavData w;
    std::string why;
    ASSERT_TRUE(ksynth::readWav(path, &w, &why)) << why;
    EXPECT_EQ(w.rate, 11025u);
    EXPECT_EQ(w.bits, bits);
    ASSERT_EQ(w.left.size(), m.size());
    // Written again, the bytes are the same: reading and writing are inverse.
    std::string again = dir / "again.wav";
    ASSERT_TRUE(ksynth::writeWav(again, w.left, 11025, bits));
    EXPECT_EQ(korvena_test::readFile(path), korvena_test::readFile(again));
    if (bits == 16) {
      for (size_t i = 0; i < m.size(); ++i) ASSERT_EQ(w.left[i], m[i]) << i;
    }
  }
  ksynth::Stereo s(5000);
  s.left[10] = 0.5;
  ksynth::Reverb room(22050, 0.9, 0.4, 0.8);
  room.apply(&s);
  double tail = 0;
  for (size_t i = 11; i < s.frames(); ++i) tail += std::fabs(s.left[i]) + std::fabs(s.right[i]);
  EXPECT_GT(tail, 0.0);  // the room answers
  EXPECT_LT(ksynth::peakOf(s), 1.0);
  EXPECT_EQ(ksynth::resample(ksynth::Mono(1000, 0.25), 22050, 11025).size(), 500u);
  EXPECT_FALSE(ksynth::parseWav({'R', 'I', 'F', 'F'}, nullptr, nullptr));
}

// Power of one frequency in a buffer (Goertzel).
double powerAt(const ksynth::Mono& m, double hz, double rate) {
  double k = 2.0 * std::cos(2.0 * ksynth::kPi * hz / rate), s1 = 0, s2 = 0;
  for (double x : m) {
    double s0 = x + k * s1 - s2;
    s2 = s1;
    s1 = s0;
  }
  return s1 * s1 + s2 * s2 - k * s1 * s2;
}

TEST(Instruments, SoundWhereTheyShouldAndRepeat) {
  const double rate = 22050;
  ksynth::Rng a(9), b(9);
  ksynth::Mono whistle = ksynth::refereeWhistle(rate, a, 0.5, 0.8);
  EXPECT_EQ(whistle, ksynth::refereeWhistle(rate, b, 0.5, 0.8));
  EXPECT_EQ(whistle.size(), ksynth::at(rate, 0.5));
  EXPECT_GT(powerAt(whistle, 2780, rate), 100 * powerAt(whistle, 1000, rate));
  EXPECT_LE(ksynth::peakOf(whistle), 1.0);
  ksynth::Mono kick = ksynth::kick(rate, 0.9);
  EXPECT_GT(powerAt(kick, 60, rate), 100 * powerAt(kick, 2000, rate));
  ksynth::Mono voice = ksynth::syllable(rate, a, 200, 0.5, ksynth::Vowel::A, 0.1, 0.0, 0.5);
  EXPECT_GT(powerAt(voice, 800, rate), powerAt(voice, 2000, rate));  // the first formant of "a"
  EXPECT_NEAR(ksynth::midiHz(69), 440.0, 1e-9);
  EXPECT_NEAR(ksynth::midiHz(81), 880.0, 1e-9);
  ksynth::Stereo crowd(ksynth::at(rate, 1.0));
  ksynth::crowdBed(rate, &crowd, 5, 0.1, 1.0, 0.5);
  EXPECT_GT(ksynth::peakOf(crowd), 0.0);
  EXPECT_NE(crowd.left, crowd.right);  // each side its own
}

class KbbTool : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fs::exists(tool("kbbtool"))) << tool("kbbtool");
    ksynth::Mono a(400), b(300);
    for (size_t i = 0; i < a.size(); ++i) a[i] = static_cast<double>(static_cast<int>(i % 200) - 100) / 256.0;
    for (size_t i = 0; i < b.size(); ++i) b[i] = (i % 2 ? 0.25 : -0.25);
    ksynth::Stereo st(100);
    for (size_t i = 0; i < 100; ++i) {
      st.left[i] = 0.125;
      st.right[i] = -0.5;
    }
    ASSERT_TRUE(ksynth::writeWav(dir_ / "a.wav", a, 22050));
    ASSERT_TRUE(ksynth::writeWav(dir_ / "b.wav", b, 11025, 8));
    ASSERT_TRUE(ksynth::writeWav(dir_ / "st.wav", st, 22050));
  }
  korvena_test::ToolRun build(const std::string& manifest) {
    dir_.write("m.txt", manifest);
    return korvena_test::runTool(tool("kbbtool") + " build " + (dir_ / "m.txt") + " " + (dir_ / "out.kbb"));
  }
  korvena_test::TempDir dir_;
};

uint32_t le32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24); }

TEST_F(KbbTool, BuildsBanksTheLoaderReadsBack) {
  korvena_test::ToolRun r = build(
      "# test bank\n"
      "sound wav=a.wav name=first a=7 b=9 tag=3\n"
      "sound wav=b.wav bits=8\n"
      "sound none name=gap\n"
      "sound wav=a.wav tag=4   # the same sample again\n"
      "sound wav=a.wav rate=11025 compress=a.wav crate=11025\n"
      "sound wav=st.wav channel=right second=st.wav\n");
  ASSERT_EQ(r.exitCode, 0) << r.out;
  std::vector<uint8_t> bytes = korvena_test::readBytes(dir_ / "out.kbb");
  QALBankFile file;
  const char* why = nullptr;
  ASSERT_TRUE(QALBankParse(bytes, &file, &why)) << why;
  ASSERT_EQ(file.soundCount, 6u);
  // a@22050/16, b@11025/8, a@11025/16, st right, st left.
  ASSERT_EQ(file.samples.size(), 5u);
  auto def = [&](uint32_t sound, int offset) { return le32(file.defs.data() + sound * 86 + offset); };
  EXPECT_EQ(def(0, 54), 0u);
  EXPECT_EQ(def(0, 62), 22050u);
  EXPECT_EQ(def(0, 66), 16u);
  EXPECT_EQ(def(0, 14), 7u);
  EXPECT_EQ(def(0, 18), 9u);
  EXPECT_EQ(file.defs[4], 3);
  EXPECT_EQ(std::memcmp(file.defs.data() + 22, "first", 5), 0);
  EXPECT_EQ(def(0, 70), QAL_NO_SAMPLE);
  EXPECT_EQ(def(1, 54), 1u);
  EXPECT_EQ(def(1, 62), 11025u);
  EXPECT_EQ(def(1, 66), 8u);
  EXPECT_EQ(def(2, 54), QAL_NO_SAMPLE);
  EXPECT_EQ(def(3, 54), 0u);  // shared
  EXPECT_EQ(def(4, 54), 2u);
  EXPECT_EQ(def(4, 70), 2u);  // the same file, rate and bits: the same sample
  EXPECT_EQ(def(4, 78), 11025u);
  EXPECT_EQ(def(4, 82), 16u);
  EXPECT_EQ(def(5, 54), 3u);
  EXPECT_EQ(def(5, 58), 4u);
  // The PCM is the WAV's, unchanged where no conversion was asked for.
  ASSERT_EQ(file.samples[0].byteCount, 800u);
  for (uint32_t i = 0; i < 400; ++i) {
    int16_t v = static_cast<int16_t>(file.samples[0].pcm[2 * i] | (file.samples[0].pcm[2 * i + 1] << 8));
    ASSERT_EQ(v, (static_cast<int>(i % 200) - 100) * 128) << i;
  }
  ASSERT_EQ(file.samples[1].byteCount, 300u);
  EXPECT_EQ(file.samples[1].pcm[0], 96);
  EXPECT_EQ(file.samples[1].pcm[1], 160);
  EXPECT_EQ(file.samples[2].byteCount, 400u);  // half the rate, half the samples
  EXPECT_EQ(static_cast<int16_t>(file.samples[3].pcm[0] | (file.samples[3].pcm[1] << 8)), -16384);
  EXPECT_EQ(static_cast<int16_t>(file.samples[4].pcm[0] | (file.samples[4].pcm[1] << 8)), 4096);
  // check and load agree.
  korvena_test::ToolRun c = korvena_test::runTool(tool("kbbtool") + " check " + (dir_ / "out.kbb"));
  EXPECT_EQ(c.exitCode, 0) << c.out;
  EXPECT_NE(c.out.find("6 sounds, 5 samples"), std::string::npos) << c.out;
  EXPECT_NE(c.out.find("sound 1: no 16-bit sample to compress"), std::string::npos) << c.out;
  korvena_test::ToolRun l =
      korvena_test::runTool(tool("kbbtool") + " load --budget 2000 --hardware 0 " + (dir_ / "out.kbb"));
  EXPECT_EQ(l.exitCode, 0) << l.out;
  EXPECT_NE(l.out.find("sounds=6 hardware=0 software=3 compressed=2 none=1 remaining=100"), std::string::npos) << l.out;
  // The same manifest gives the same bytes.
  ASSERT_EQ(build(korvena_test::readFile(dir_ / "m.txt")).exitCode, 0);
  EXPECT_EQ(korvena_test::readBytes(dir_ / "out.kbb"), bytes);
}

TEST_F(KbbTool, RefusesBrokenManifestsAndBanks) {
  struct {
    const char* manifest;
    const char* says;
  } cases[] = {
      {"sound wav=a.wav volume=3\n", "m.txt:1: unknown field \"volume\""},
      {"\n\nsound bits=8\n", "m.txt:3: missing wav="},
      {"sound wav=a.wav bits=12\n", "bits is 8 or 16"},
      {"sound wav=a.wav rate=99\n", "rate is 100..100000 Hz"},
      {"sound none wav=a.wav\n", "a sound \"none\" has no samples"},
      {"sound wav=nothere.wav\n", "cannot read"},
      {"sound wav=a.wav channel=right\n", "has no right channel"},
      {"sounds wav=a.wav\n", "expected \"sound\""},
      {"sound wav=a.wav tag=40000\n", "tag is 0..32767"},
      {"sound wav=a.wav a=1 a=2\n", "\"a\" given twice"},
  };
  for (const auto& c : cases) {
    korvena_test::ToolRun r = build(c.manifest);
    EXPECT_NE(r.exitCode, 0) << c.manifest;
    EXPECT_NE(r.out.find(c.says), std::string::npos) << c.manifest << " -> " << r.out;
  }
  ASSERT_EQ(build("sound wav=a.wav\nsound wav=b.wav\n").exitCode, 0);
  std::vector<uint8_t> bytes = korvena_test::readBytes(dir_ / "out.kbb");
  std::vector<uint8_t> cut(bytes.begin(), bytes.end() - 1);
  dir_.write("cut.kbb", std::string(cut.begin(), cut.end()));
  korvena_test::ToolRun r = korvena_test::runTool(tool("kbbtool") + " check " + (dir_ / "cut.kbb"));
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.out.find("a sample's data runs past the end of the file"), std::string::npos) << r.out;
  std::vector<uint8_t> bad = bytes;
  bad[16 + 54] = 9;  // sample 9 of 2
  dir_.write("bad.kbb", std::string(bad.begin(), bad.end()));
  r = korvena_test::runTool(tool("kbbtool") + " check " + (dir_ / "bad.kbb"));
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.out.find("sound 0: a sample index past the 2 samples"), std::string::npos) << r.out;
  EXPECT_EQ(korvena_test::runTool(tool("kbbtool")).exitCode, 2);
}

// ---- The disc's tracks ---------------------------------------------------------
struct Pcm {
  uint32_t rate = 0;
  int channels = 0, bits = 0;
  std::vector<int16_t> samples;
};

Pcm readPcm(const std::string& path) {
  std::vector<uint8_t> b = korvena_test::readBytes(path);
  Pcm p;
  if (b.size() < 44) return p;
  p.channels = b[22];
  p.rate = le32(b.data() + 24);
  p.bits = b[34];
  for (size_t o = 44; o + 1 < b.size(); o += 2) p.samples.push_back(static_cast<int16_t>(b[o] | (b[o + 1] << 8)));
  return p;
}

double rms(const std::vector<int16_t>& s, size_t from, size_t to) {
  double sum = 0;
  for (size_t i = from; i < to; ++i) sum += static_cast<double>(s[i]) * s[i];
  return std::sqrt(sum / static_cast<double>(to - from));
}

TEST(CdTracks, EveryTrackIsRepeatableAudibleAndFadesOut) {
  korvena_test::TempDir dir;
  for (int track = 2; track <= 7; ++track) {
    std::string one = dir / "one.wav", two = dir / "two.wav";
    std::string args = " --track " + std::to_string(track) + " --seconds 9 --out ";
    ASSERT_EQ(korvena_test::runTool(tool("cdtracks") + args + one).exitCode, 0);
    ASSERT_EQ(korvena_test::runTool(tool("cdtracks") + args + two).exitCode, 0);
    EXPECT_EQ(korvena_test::readFile(one), korvena_test::readFile(two)) << track;
    Pcm p = readPcm(one);
    ASSERT_EQ(p.rate, 22050u);
    ASSERT_EQ(p.channels, 2);
    ASSERT_EQ(p.bits, 16);
    ASSERT_EQ(p.samples.size(), 9u * 22050u * 2u);
    // Heard in its first seconds, never at full scale, silent at its end.
    EXPECT_GT(rms(p.samples, 22050 * 2, 22050 * 2 * 3), 800.0) << track;
    int peak = 0;
    for (int16_t v : p.samples) peak = std::max(peak, std::abs(static_cast<int>(v)));
    EXPECT_LT(peak, 32767) << track;
    EXPECT_LT(rms(p.samples, p.samples.size() - 2 * 2205, p.samples.size()),
              rms(p.samples, 22050 * 2, 22050 * 2 * 3) / 10.0) << track;
    EXPECT_EQ(p.samples.back(), 0) << track;
  }
  EXPECT_EQ(korvena_test::runTool(tool("cdtracks") + " --track 8 --out " + (dir / "x.wav")).exitCode, 2);
}

TEST(CdTracks, TheDataTreeHoldsTracks2To7OfAMinuteToAMinuteAndAHalf) {
  const char* build = std::getenv("KORVENA_BUILD_DIR");
  ASSERT_NE(build, nullptr);
  for (int track = 2; track <= 7; ++track) {
    char name[32];
    std::snprintf(name, sizeof name, "track%02d.wav", track);
    Pcm p = readPcm((fs::path(build) / "data" / "cdaudio" / name).string());
    ASSERT_EQ(p.rate, 22050u) << name;
    ASSERT_EQ(p.channels, 2) << name;
    double seconds = static_cast<double>(p.samples.size()) / 2 / 22050;
    EXPECT_GE(seconds, 60.0) << name;
    EXPECT_LE(seconds, 90.0) << name;
  }
}

}  // namespace
