// The mixer's cost per second of audio, IMA ADPCM against real time, and the
// loading of 2 MB of sound banks. Real time is reported as counters:
//   cpu_share: the share of one core that mixing takes (1.0 = all of it);
//   x_realtime: how many seconds of audio one second of work codes.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

#include "audio/qal.h"
#include "platform/audio.h"
#include "platform/platform.h"

namespace {

void startOnce() {
  static bool started = false;
  if (started) return;
  started = true;
  std::string why;
  if (!platform::init(platform::BackendKind::Headless, &why)) std::fprintf(stderr, "%s\n", why.c_str());
}

void BM_MixerSecond(benchmark::State& state) {
  startOnce();
  const int voices = static_cast<int>(state.range(0));
  const uint32_t rate = static_cast<uint32_t>(state.range(1));
  platform::audioOpen();
  std::vector<int16_t> pcm(rate * 2);
  for (size_t i = 0; i < pcm.size(); ++i) pcm[i] = static_cast<int16_t>(12000 * std::sin(static_cast<double>(i) * 0.05));
  std::vector<platform::VoiceHandle> handles;
  for (int v = 0; v < voices; ++v) {
    platform::VoiceHandle h = platform::voiceCreate(pcm.data(), static_cast<uint32_t>(pcm.size() * 2), 16, rate, true);
    platform::voiceSetVolume(h, -300 - v * 10);
    platform::voiceSetPan(h, (v % 9 - 4) * 1000);
    platform::voiceSetFrequency(h, rate + static_cast<uint32_t>(v) * 7);  // every voice resamples
    platform::voicePlay(h, true);
    handles.push_back(h);
  }
  std::vector<int16_t> out(platform::kAudioOutputRate * 2);
  for (auto _ : state) {
    platform::audioHeadlessMix(out.data(), platform::kAudioOutputRate);  // one second
    benchmark::DoNotOptimize(out.data());
  }
  state.counters["cpu_share"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  for (platform::VoiceHandle h : handles) platform::voiceRelease(h);
  platform::audioClose();
}
BENCHMARK(BM_MixerSecond)
    ->ArgsProduct({{1, 8, 32, 64}, {11025, 22050}})
    ->Unit(benchmark::kMillisecond);

std::vector<int16_t> speech() {
  std::vector<int16_t> pcm(22050);
  for (size_t i = 0; i < pcm.size(); ++i)
    pcm[i] = static_cast<int16_t>(9000 * std::sin(static_cast<double>(i) * 0.07) + 4000 * std::sin(static_cast<double>(i) * 0.31));
  return pcm;
}

void BM_AdpcmEncodeSecond(benchmark::State& state) {
  std::vector<int16_t> pcm = speech();
  std::vector<uint8_t> out(pcm.size() / 2);
  for (auto _ : state) {
    QALAdpcmState s;
    QALAdpcmEncode(pcm.data(), out.data(), static_cast<uint32_t>(pcm.size()), &s);
    benchmark::DoNotOptimize(out.data());
  }
  state.counters["x_realtime"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_AdpcmEncodeSecond)->Unit(benchmark::kMicrosecond);

void BM_AdpcmDecodeSecond(benchmark::State& state) {
  std::vector<int16_t> pcm = speech();
  std::vector<uint8_t> data(pcm.size() / 2);
  QALAdpcmState s;
  QALAdpcmEncode(pcm.data(), data.data(), static_cast<uint32_t>(pcm.size()), &s);
  for (auto _ : state) {
    QALAdpcmState d;
    QALAdpcmDecode(data.data(), pcm.data(), static_cast<uint32_t>(pcm.size()), &d);
    benchmark::DoNotOptimize(pcm.data());
  }
  state.counters["x_realtime"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_AdpcmDecodeSecond)->Unit(benchmark::kMicrosecond);

// A bank of 64 sounds of 32 KB each (2 MB of 16-bit PCM).
std::string writeBank() {
  std::string path = (std::filesystem::temp_directory_path() / "korvena-bench-bank.kbb").string();
  const uint32_t sounds = 64, bytes = 32768;
  std::vector<uint8_t> b(16 + 86 * sounds, 0);
  std::memcpy(b.data(), "kbbk", 4);
  auto put = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  put(8, sounds);
  put(12, sounds);
  for (uint32_t i = 0; i < sounds; ++i) {
    size_t d = 16 + 86 * i;
    put(d + 54, i);
    put(d + 58, 0xFFFFFFFFu);
    put(d + 62, 22050);
    put(d + 66, 16);
    put(d + 70, 0xFFFFFFFFu);
    put(d + 78, 22050);
    put(d + 82, 16);
  }
  for (uint32_t i = 0; i < sounds; ++i) {
    size_t h = b.size();
    b.resize(h + 8 + bytes, static_cast<uint8_t>(i));
    put(h, 0);
    put(h + 4, bytes);
  }
  FILE* f = std::fopen(path.c_str(), "wb");
  std::fwrite(b.data(), 1, b.size(), f);
  std::fclose(f);
  return path;
}

void BM_LoadBanks2MB(benchmark::State& state) {
  startOnce();
  std::string path = writeBank();
  const uint32_t budget = static_cast<uint32_t>(state.range(0));
  QALInit(nullptr, budget, 1024);
  for (auto _ : state) {
    QALBank bank;
    QALBankLoad(&bank, path.c_str());
    QALBankFree(&bank);
  }
  QALShutdown();
  std::remove(path.c_str());
}
// All of it in the budget, and half of it compressed.
BENCHMARK(BM_LoadBanks2MB)->Arg(4 << 20)->Arg(1 << 20)->Unit(benchmark::kMillisecond);

}  // namespace
