// MIDI streams without a MIDI device: loading the stream file, the record's
// volume, balance and tempo, the fade, and playing that fails cleanly.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "audio/qal.h"
#include "platform/headless.h"
#include "support/temp_dir.h"

namespace {

void put32(std::vector<uint8_t>* b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) (*b)[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// A RIFF stream file: 52-byte header (time division at 20, data size at 36),
// then dataSize - 12 bytes of stream events.
std::vector<uint8_t> midiFile(uint32_t division, uint32_t dataSize, size_t eventBytes) {
  std::vector<uint8_t> b(52, 0);
  std::memcpy(b.data(), "RIFF", 4);
  std::memcpy(b.data() + 8, "MIDS", 4);
  put32(&b, 20, division);
  put32(&b, 36, dataSize);
  for (size_t i = 0; i < eventBytes; ++i) b.push_back(static_cast<uint8_t>(i * 13));
  return b;
}

class Midi : public ::testing::Test {
 protected:
  std::string write(const std::vector<uint8_t>& bytes) {
    dir_.write("m.mds", std::string(bytes.begin(), bytes.end()));
    return dir_ / "m.mds";
  }
  void TearDown() override { QALShutdown(); }
  korvena_test::TempDir dir_;
};

TEST_F(Midi, LoadsTheStreamAndRefusesWhatIsNotThere) {
  struct {
    uint32_t dataSize;
    size_t events;
    bool loads;
  } cases[] = {{12, 0, true},      {100, 88, true},  {100, 200, true}, {100, 87, false},
               {11, 100, false},   {0, 0, false},    {4, 100, false},  {0xFFFFFFFFu, 100, false}};
  for (const auto& c : cases) {
    QALMidi* m = QALMidiLoad(write(midiFile(480, c.dataSize, c.events)).c_str());
    ASSERT_EQ(m != nullptr, c.loads) << c.dataSize << " " << c.events;
    if (!m) continue;
    EXPECT_EQ(m->timeDivision, 480u);
    EXPECT_EQ(m->volume, 32767);
    EXPECT_EQ(m->balance, 32768);
    EXPECT_EQ(m->header.bufferLength, c.dataSize - 12);
    EXPECT_EQ(m->header.user, m);
    if (c.dataSize > 12) {
      EXPECT_EQ(m->data[1], 13);
    }
    QALMidiFree(m);
  }
  // Every prefix of the header is refused.
  std::vector<uint8_t> whole = midiFile(96, 40, 28);
  for (size_t cut = 0; cut < 52; ++cut) {
    std::vector<uint8_t> part(whole.begin(), whole.begin() + static_cast<long>(cut));
    EXPECT_EQ(QALMidiLoad(write(part).c_str()), nullptr) << cut;
  }
  EXPECT_EQ(QALMidiLoad((dir_ / "missing.mds").c_str()), nullptr);
}

TEST_F(Midi, VolumeBalanceAndTempoWorkOnTheRecord) {
  ASSERT_EQ(QALInit(nullptr, 1000, 1024), QAL_OK);
  EXPECT_EQ(QALMidiGetCaps(), QAL_ERROR);  // the probe finds no device
  EXPECT_STREQ(QALMidiLastError(), "no MIDI output device");
  QALMidi* m = QALMidiLoad(write(midiFile(480, 20, 8)).c_str());
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(QALMidiPlay(m), QAL_ERROR);
  EXPECT_EQ(QALMidiStop(), QAL_ERROR);
  EXPECT_EQ(QALMidiPause(), QAL_ERROR);
  EXPECT_EQ(QALMidiRestart(), QAL_ERROR);
  EXPECT_STREQ(QALMidiLastError(), "no MIDI output device");
  // Without left/right support both channels take the volume.
  EXPECT_EQ(QALMidiSetVolume(m, 20000), QAL_OK);
  EXPECT_EQ(QALMidiGetVolume(m), 20000);
  EXPECT_EQ(m->written, 40000u | (40000u << 16));
  EXPECT_EQ(QALMidiSetBalance(m, 20000), QAL_OK);
  EXPECT_EQ(m->written, 40000u | (40000u << 16));
  // With it, the balance moves the channels apart, each clamped.
  qal_oState.options |= QAL_OPTION_MIDI_LEFTRIGHT;
  struct {
    int32_t volume, balance;
    uint32_t left, right;
  } cases[] = {{20000, 32768, 20000, 20000}, {20000, 30768, 22000, 18000}, {20000, 60000, 0, 32767},
               {30000, 0, 32767, 0},         {-5, 32768, 0, 0},            {40000, 32768, 32767, 32767}};
  for (const auto& c : cases) {
    ASSERT_EQ(QALMidiSetBalance(m, c.balance), QAL_OK);
    ASSERT_EQ(QALMidiSetVolume(m, c.volume), QAL_OK);
    EXPECT_EQ(m->written & 0xFFFF, c.left * 2) << c.volume << " " << c.balance;
    EXPECT_EQ(m->written >> 16, c.right * 2) << c.volume << " " << c.balance;
    EXPECT_EQ(QALMidiGetBalance(m), c.balance);
  }
  qal_oState.options &= ~static_cast<uint32_t>(QAL_OPTION_MIDI_LEFTRIGHT);
  EXPECT_EQ(QALMidiSetTempo(m, 150), QAL_OK);
  EXPECT_EQ(m->tempoDivision, 720u);
  EXPECT_EQ(QALMidiSetTempo(m, 50), QAL_OK);
  EXPECT_EQ(m->tempoDivision, 240u);
  // The fade on the library's timer.
  ASSERT_EQ(QALMidiFade(m, 0, 10000, 500), QAL_OK);
  platform::headlessAdvanceClock(250'000'000);
  EXPECT_EQ(QALMidiGetVolume(m), 5000);
  platform::headlessAdvanceClock(1'000'000'000);
  EXPECT_EQ(QALMidiGetVolume(m), 10000);
  QALMidiFree(m);
  EXPECT_EQ(QALMidiPlay(nullptr), QAL_ERROR);
}

}  // namespace
