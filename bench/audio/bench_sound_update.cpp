// The per-frame sound update with every machine busy: a whistle sequence,
// a shout and a referee phrase queued, a crowd reaction fading, the CD
// machine playing. One iteration is one frame (time in microseconds).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <vector>

#include "audio/sound.h"
#include "platform/platform.h"

namespace {

void fakeBank(QALBank* b, std::uint32_t n) {
  b->soundCount = n;
  b->sounds = new QALSound[n];
  std::vector<std::int16_t> pcm(11025, 100);
  for (std::uint32_t i = 0; i < n; ++i) {
    auto* s = new QALSample;
    QALSampleCreate(s, pcm.data(), static_cast<std::uint32_t>(pcm.size() * 2), 1, 16, 22050);
    b->sounds[i].sample = s;
  }
}

void BM_SoundFrame(benchmark::State& state) {
  std::string why;
  if (!platform::init(platform::BackendKind::Headless, &why)) std::fprintf(stderr, "%s\n", why.c_str());
  QALInit(nullptr, 4u << 20, 1024);
  fakeBank(&pcsound_oEffects, 20);
  fakeBank(&pcsound_oCrowd, 7);
  fakeBank(&pcsound_oSpeechHome, 52);
  fakeBank(&pcsound_oReferee, 21);
  pcsound_bBanksLoaded = 1;
  crowd_Init();
  pchat_Reset();
  std::int64_t frame = 0;
  for (auto _ : state) {
    if (frame % 60 == 0) {
      sfx_WhistleSequenceA();
      crowd_ReactGoal();
      pchat_o.iShoutDelay = 2;
      pchat_PickSample(0, static_cast<std::int32_t>(frame / 60 % 40), 6);
      pchat_o.aiRefereeStamp[3] = -100000;
      pchat_RefereeSay(3, 2);
    }
    sfx_Update();
    crowd_ExcitementStep(6000, 100, frame % 2 ? 2 : 0, 0, 86, 1, 0, 1, 0);
    ++frame;
  }
  sfx_FreeAllBanks();
  QALShutdown();
}
BENCHMARK(BM_SoundFrame)->Unit(benchmark::kMicrosecond);

}  // namespace

