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

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  korvena_fuzz::StartHeadless();
  // Opening the library looks for the disc above the executable's folder: an
  // empty one finds none at once (the build tree's folders were read name by
  // name at every input).
  korvena_fuzz::EmptyGameRoot();
  QALBankFile file;
  QALBankParse(std::vector<uint8_t>(data, data + size), &file, nullptr);
  // The last byte picks the device: hardware buffers, budget, second channels.
  const uint8_t pick = size ? data[size - 1] : 0;
  platform::audioHeadlessSetHardwareBuffers(pick & 1 ? 18 : 0);
  const uint32_t budget = (pick >> 1 & 7) * 40u;
  if (QALInit(nullptr, budget, 1024 | (pick & 16 ? static_cast<uint32_t>(QAL_OPTION_SECOND_CHANNEL) : 0u)) != QAL_OK)
    korvena_fuzz::Fail("the library does not open on the silent device");
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
  if (qal_oState.budgetRemaining != budget) korvena_fuzz::Fail("freeing the bank did not give its bytes back");
  QALShutdown();
  return 0;
}
