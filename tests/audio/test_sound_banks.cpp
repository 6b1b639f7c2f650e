// The generated sound banks: every file the game can choose loads with the
// sounds it plays, the match banks fit the budget, the speech is audible,
// generation repeats exactly, and the generator refuses broken sources.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "audio/qal.h"
#include "audio/sound.h"
#include "support/temp_dir.h"

namespace {

std::string buildDir() {
  const char* b = std::getenv("KORVENA_BUILD_DIR");
  return b ? b : ".";
}
std::string sourceDir() {
  const char* s = std::getenv("KORVENA_SOURCE_DIR");
  return s ? s : ".";
}
std::string bankPath(const std::string& name) { return buildDir() + "/data/sound/WN32/" + name + ".KBB"; }

std::vector<std::uint8_t> readAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const char* const kSpeech[] = {"CENG", "CFRA", "CGER", "CESP", "CITA", "CPOR", "CJAP", "CSOU"};
const char* const kReferee[] = {"REFENG", "REFFRE", "REFGER", "REFESP", "REFITA", "REFPOR", "REFJAP"};

struct Banks : ::testing::Test {
  void TearDown() override { QALShutdown(); }
};

TEST_F(Banks, EveryChosenFileLoadsWithItsSounds) {
  ASSERT_EQ(QALInit(nullptr, 64u << 20, 1024), QAL_OK);
  struct Want {
    std::string file;
    std::uint32_t sounds;
  };
  std::vector<Want> want = {{"WN32\\FRONTEND.KBB", 4}, {"WN32\\INGAME.KBB", 20}, {pcsound_CrowdFile(72), 7},
                            {pcsound_CrowdFile(1), 7}};
  for (int n = 0; n < 8; ++n) {
    want.push_back({pcsound_SpeechFile(n), 52});
    want.push_back({pcsound_RefereeFile(n), 21});
  }
  for (const Want& w : want) {
    std::string name = w.file.substr(5, w.file.size() - 9);
    QALBank bank;
    ASSERT_EQ(QALBankLoad(&bank, bankPath(name).c_str()), 1) << w.file;
    EXPECT_EQ(bank.soundCount, w.sounds) << w.file;
    for (std::uint32_t k = 0; k < bank.soundCount; ++k) EXPECT_NE(bank.sounds[k].sample, nullptr) << w.file << " " << k;
    QALBankFree(&bank);
  }
}

// Bytes a bank takes when loaded whole.
std::uint32_t needed(const std::string& name) {
  QALBankFile f;
  EXPECT_TRUE(QALBankParse(readAll(bankPath(name)), &f, nullptr)) << name;
  return f.soundCount ? QALBankBytesNeeded(&f, 0, f.soundCount - 1) : 0;
}

TEST_F(Banks, MatchBanksFitTheBudget) {
  // The biggest choice of every kind, loaded in the game's order with no
  // hardware buffers: the effects, last, must all be playable samples.
  std::vector<std::pair<std::uint32_t, std::string>> speech, referee, crowd;
  for (const char* s : kSpeech) speech.push_back({needed(s), s});
  for (const char* s : kReferee) referee.push_back({needed(s), s});
  for (const char* s : {"CROWDDEF", "CROWDENG"}) crowd.push_back({needed(s), s});
  std::sort(speech.rbegin(), speech.rend());
  std::sort(referee.rbegin(), referee.rend());
  std::sort(crowd.rbegin(), crowd.rend());
  std::uint32_t total = speech[0].first + speech[1].first + referee[0].first + crowd[0].first + needed("INGAME");
  std::printf("worst match banks: %u bytes of 2097152 (%s %s %s %s INGAME)\n", total, speech[0].second.c_str(),
              speech[1].second.c_str(), referee[0].second.c_str(), crowd[0].second.c_str());
  EXPECT_LE(total, 2097152u);
  ASSERT_EQ(QALInit(nullptr, 2097152, 1024), QAL_OK);
  std::vector<std::string> order = {speech[0].second, referee[0].second, crowd[0].second, speech[1].second, "INGAME"};
  std::vector<QALBank> banks(order.size());
  for (size_t i = 0; i < order.size(); ++i) ASSERT_EQ(QALBankLoad(&banks[i], bankPath(order[i]).c_str()), 1);
  for (std::uint32_t k = 0; k < banks.back().soundCount; ++k) {
    EXPECT_NE(banks.back().sounds[k].sample, nullptr) << "effect " << k;
    EXPECT_EQ(banks.back().sounds[k].compressed, nullptr) << "effect " << k;
  }
  for (QALBank& b : banks) QALBankFree(&b);
  QALShutdown();
  EXPECT_LE(needed("FRONTEND"), 1048576u);
  ASSERT_EQ(QALInit(nullptr, 1048576, 1024), QAL_OK);
  QALBank fe;
  ASSERT_EQ(QALBankLoad(&fe, bankPath("FRONTEND").c_str()), 1);
  for (std::uint32_t k = 0; k < fe.soundCount; ++k) EXPECT_NE(fe.sounds[k].sample, nullptr);
  QALBankFree(&fe);
}

TEST(BankData, SpeechIsAudibleUnclippedAndOfSensibleLength) {
  std::vector<std::string> all(std::begin(kSpeech), std::end(kSpeech));
  all.insert(all.end(), std::begin(kReferee), std::end(kReferee));
  for (const std::string& name : all) {
    QALBankFile f;
    ASSERT_TRUE(QALBankParse(readAll(bankPath(name)), &f, nullptr)) << name;
    ASSERT_EQ(f.samples.size(), 2 * f.soundCount) << name;  // 8-bit to play, 16-bit to compress
    for (std::uint32_t k = 0; k < f.soundCount; ++k) {
      const auto& narrow = f.samples[2 * k];
      const auto& wide = f.samples[2 * k + 1];
      ASSERT_EQ(wide.byteCount, 2 * narrow.byteCount) << name << " " << k;
      std::uint32_t frames = narrow.byteCount;
      EXPECT_GE(frames, 11025u / 5) << name << " " << k;  // 11025 Hz: at least 0.2 s
      EXPECT_LE(frames, 11025u * 4) << name << " " << k;  // at most 4 s
      std::int32_t peak = 0;
      double energy = 0;
      for (std::uint32_t i = 0; i < frames; ++i) {
        std::int16_t v = static_cast<std::int16_t>(wide.pcm[2 * i] | (wide.pcm[2 * i + 1] << 8));
        peak = std::max<std::int32_t>(peak, std::abs(v));
        energy += static_cast<double>(v) * v;
      }
      EXPECT_GE(peak, 16000) << name << " " << k;
      EXPECT_LT(peak, 32000) << name << " " << k;
      EXPECT_GT(std::sqrt(energy / frames), 1500.0) << name << " " << k;
    }
  }
}

std::vector<std::int16_t> pcm16(const QALBankFile::Entry& e) {
  std::vector<std::int16_t> v(e.byteCount / 2);
  for (size_t i = 0; i < v.size(); ++i) v[i] = static_cast<std::int16_t>(e.pcm[2 * i] | (e.pcm[2 * i + 1] << 8));
  return v;
}

double rms(const std::vector<std::int16_t>& v) {
  double e = 0;
  for (std::int16_t x : v) e += static_cast<double>(x) * x;
  return v.empty() ? 0 : std::sqrt(e / static_cast<double>(v.size()));
}

// Zero crossings a second: a rough measure of where the energy lies.
double crossings(const std::vector<std::int16_t>& v, double rate) {
  int n = 0;
  for (size_t i = 1; i < v.size(); ++i) n += (v[i - 1] < 0) != (v[i] < 0);
  return n * rate / static_cast<double>(v.size());
}

TEST(BankData, EffectsAndCrowdsHaveTheirCharacter) {
  QALBankFile f;
  ASSERT_TRUE(QALBankParse(readAll(bankPath("INGAME")), &f, nullptr));
  ASSERT_EQ(f.samples.size(), 20u);
  // Kicks grow from a soft pass to a hard shot.
  auto energy = [&](int k) {
    std::vector<std::int16_t> v = pcm16(f.samples[k]);
    return rms(v) * rms(v) * static_cast<double>(v.size());
  };
  for (int k = 1; k <= 6; ++k) EXPECT_GT(energy(k), energy(k - 1)) << k;
  // The whistles are shrill and the long one lasts; a kick is a low thump.
  EXPECT_GT(crossings(pcm16(f.samples[18]), 22050), 3000);
  EXPECT_GT(crossings(pcm16(f.samples[19]), 22050), 3000);
  EXPECT_GT(f.samples[19].byteCount, 2 * f.samples[18].byteCount);
  EXPECT_LT(crossings(pcm16(f.samples[0]), 22050), 2000);
  for (const char* crowd : {"CROWDDEF", "CROWDENG"}) {
    QALBankFile c;
    ASSERT_TRUE(QALBankParse(readAll(bankPath(crowd)), &c, nullptr));
    ASSERT_EQ(c.samples.size(), 7u);
    for (int k : {0, 1, 3, 4, 5, 6}) {
      std::vector<std::int16_t> v = pcm16(c.samples[k]);
      ASSERT_GT(v.size(), 11025u);  // 11025 Hz, over a second
      // A loop's end runs into its start: the step there is like any other.
      double seam = std::abs(v.back() - v.front());
      double typical = 0;
      for (size_t i = 1; i < v.size(); ++i) typical += std::abs(v[i] - v[i - 1]);
      typical /= static_cast<double>(v.size() - 1);
      EXPECT_LE(seam, 4 * typical) << crowd << " " << k;
      EXPECT_GT(rms(v), 1500) << crowd << " " << k;
    }
  }
  QALBankFile d, e;
  ASSERT_TRUE(QALBankParse(readAll(bankPath("CROWDDEF")), &d, nullptr));
  ASSERT_TRUE(QALBankParse(readAll(bankPath("CROWDENG")), &e, nullptr));
  EXPECT_NE(pcm16(d.samples[6]), pcm16(e.samples[6]));  // the English ground sings its own
}

int run(const std::string& args) {
  std::string cmd = buildDir() + "/tools/soundbanks " + args + " 2>/dev/null";
  return std::system(cmd.c_str());
}

TEST(BankData, GenerationRepeatsAndRefusesBrokenSources) {
  namespace fs = std::filesystem;
  korvena_test::TempDir dir;  // its own folder: several test trees may run at once
  ASSERT_FALSE(dir.path().empty());
  fs::path tmp = dir.path();
  std::string src = sourceDir() + "/assets/sound/";
  ASSERT_EQ(run("effects INGAME " + src + "effects.txt " + (tmp / "INGAME.KBB").string()), 0);
  EXPECT_EQ(readAll((tmp / "INGAME.KBB").string()), readAll(bankPath("INGAME")));
  ASSERT_EQ(run("speech referee " + src + "speech/eng.txt en-gb " + (tmp / "w").string() + " " +
                (tmp / "REFENG.KBB").string()),
            0);
  EXPECT_EQ(readAll((tmp / "REFENG.KBB").string()), readAll(bankPath("REFENG")));

  auto write = [&](const std::string& name, const std::string& text) {
    std::ofstream((tmp / name).string()) << text;
    return (tmp / name).string();
  };
  std::string out = (tmp / "bad.KBB").string();
  EXPECT_NE(run("effects FRONTEND " + write("gap.txt", "FRONTEND 0 move\nFRONTEND 2 back\n") + " " + out), 0);
  EXPECT_NE(run("effects FRONTEND " + write("dup.txt", "FRONTEND 0 move\nFRONTEND 0 back\n") + " " + out), 0);
  EXPECT_NE(run("effects FRONTEND " + write("unknown.txt", "FRONTEND 0 trumpet\n") + " " + out), 0);
  EXPECT_NE(run("effects FRONTEND " + write("none.txt", "INGAME 0 move\n") + " " + out), 0);
  EXPECT_NE(run("effects CROWDDEF " + write("crowd.txt", "CROWDDEF 0 crowd1\n") + " " + out), 0);
  EXPECT_NE(run("effects FRONTEND " + write("id.txt", "FRONTEND x move\n") + " " + out), 0);
  EXPECT_NE(run("speech referee " + write("ref.txt", "ref 0: Play on!\n") + " en-gb " + (tmp / "w").string() + " " + out), 0);
  EXPECT_NE(run("speech shouts " + write("sh.txt", "shout 0: Corner!\n") + " en-gb " + (tmp / "w").string() + " " + out), 0);
  EXPECT_NE(run("speech shouts " + write("sh2.txt", "shout 5: Corner!\n") + " en-gb " + (tmp / "w").string() + " " + out), 0);
  EXPECT_FALSE(fs::exists(out));
}

}  // namespace
