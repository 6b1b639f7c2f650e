// Sound banks: the parser on raw bytes, then the loader's two passes on the
// same file under a budget and a hardware count taken from the input, and
// every sound played and freed. Whatever loads gives all its bytes back.
#include <vector>

#include "audio/qal.h"
#include "fuzz_support.h"
#include "platform/audio.h"
#include "sound/kbb.h"

void KorvenaFuzzSeeds(const std::string& dir) {
  ksynth::KbbBank bank;
  bank.samples = {std::vector<uint8_t>(64, 0x10), std::vector<uint8_t>(30, 0x80), std::vector<uint8_t>(10, 0x7F)};
  bank.sampleBits = {16, 16, 8};
  ksynth::KbbSound a;
  a.sample = 0;
  ksynth::KbbSound b;
  b.sample = 1;
  b.second = 0;
  b.compressed = 1;
  ksynth::KbbSound c;
  c.sample = 2;
  c.bits = 8;
  c.rate = 11025;
  ksynth::KbbSound none;
  bank.sounds = {a, b, c, none, a};
  std::vector<uint8_t> bytes = ksynth::kbbBytes(bank);
  korvena_fuzz::WriteSeed(dir, "five-sounds.kbb", bytes.data(), bytes.size());
  bank.sounds.resize(1);
  bank.samples.resize(1);
  bytes = ksynth::kbbBytes(bank);
  korvena_fuzz::WriteSeed(dir, "one-sound.kbb", bytes.data(), bytes.size());
}

namespace {

// The library as starting it on one kind of device leaves it. It stays open
// from input to input (starting looks for the disc's folder, which cost more
// than the bank itself); an input on the other kind of device starts it
// afresh, and every input sets what starting takes from its arguments.
struct Started {
  bool open = false;
  bool hardware = false;
  QALState state;
  uint32_t deviceHardware = 0;
};
Started g_started;

void StartFor(bool hardware) {
  if (g_started.open && g_started.hardware == hardware) return;
  if (g_started.open) QALShutdown();
  platform::audioHeadlessSetHardwareBuffers(hardware ? 18 : 0);
  if (QALInit(nullptr, 0, 1024) != QAL_OK) korvena_fuzz::Fail("the library does not open on the silent device");
  g_started.open = true;
  g_started.hardware = hardware;
  g_started.state = qal_oState;
  g_started.deviceHardware = platform::audioCaps().freeHardwareBuffers;
}

// After an input: nothing of it is left in the library or on the device.
void CheckBackAsStarted(uint32_t budget) {
  const QALState& s = qal_oState;
  const QALState& t = g_started.state;
  if (s.budgetRemaining != budget) korvena_fuzz::Fail("freeing the bank did not give its bytes back");
  if (!s.open || s.slotCount != t.slotCount || s.freeSlots != t.freeSlots || s.freeHardware != t.freeHardware ||
      s.masterAttenuation != t.masterAttenuation || s.timerPeriod != t.timerPeriod)
    korvena_fuzz::Fail("the library is not back as it started");
  for (int n = 0; n < QAL_VOICE_SLOTS; ++n)
    if (s.slotInUse[n] || s.slotOwner[n]) korvena_fuzz::Fail("a voice slot is still held after the bank was freed");
  if (platform::audioCaps().freeHardwareBuffers != g_started.deviceHardware)
    korvena_fuzz::Fail("the device's hardware buffers did not all come back");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  korvena_fuzz::StartHeadless();
  // Opening the library looks for the disc above the executable's folder: an
  // empty one finds none at once.
  korvena_fuzz::EmptyGameRoot();
  QALBankFile file;
  QALBankParse(std::vector<uint8_t>(data, data + size), &file, nullptr);
  // The last byte picks the device: hardware buffers, budget, second channels.
  const uint8_t pick = size ? data[size - 1] : 0;
  StartFor(pick & 1);
  const uint32_t budget = (pick >> 1 & 7) * 40u;
  qal_oState.options = g_started.state.options | (pick & 16 ? static_cast<uint32_t>(QAL_OPTION_SECOND_CHANNEL) : 0u);
  qal_oState.budgetTotal = qal_oState.budgetRemaining = budget;
  const std::string path = korvena_fuzz::WriteInput(data, size, "bank.kbb");
  QALBank bank;
  if (QALBankLoad(&bank, path.c_str())) {
    if (bank.soundCount != file.soundCount) korvena_fuzz::Fail("the loader and the parser disagree on the sounds");
    for (uint32_t i = 0; i < bank.soundCount; ++i) {
      QALSamplePlay(bank.sounds[i].sample);
      QALSamplePlay(bank.sounds[i].second);
    }
    QALBankFree(&bank);
  } else if (bank.soundCount != 0 || bank.sounds) {
    korvena_fuzz::Fail("a refused bank was changed");
  }
  CheckBackAsStarted(budget);
  // One output frame moves the mixer on, so that the device lets go of the
  // sound data freed above at the next call.
  int16_t frame[2];
  platform::audioHeadlessMix(frame, 1);
  return 0;
}
