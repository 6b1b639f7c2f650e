// Movies: decoding one 320 x 240 frame of a generated film and showing it
// doubled in the 640 x 480 display (5-6-5 and, through the colour table,
// 5-5-5), and the streamer's whole work for a frame (picture, sound and the
// half hand-over), from a film in memory.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/movie_codec.h"
#include "platform/movie_streamer.h"

namespace {

// The build's title film when there is one, else a synthetic one.
std::vector<uint8_t> Film() {
  const char* build = std::getenv("KORVENA_BUILD_DIR");
  std::ifstream in(std::string(build ? build : ".") + "/data/fmv/korvenaintn.rpl", std::ios::binary);
  std::vector<uint8_t> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!b.empty()) return b;
  platform::MovieHeader h;
  h.width = 320;
  h.height = 240;
  h.frameRateMilli = 15000;
  h.frameCount = 60;
  h.channels = 1;
  h.soundRate = 22050;
  h.precision = 4;
  platform::MovieEncoder enc(h, 1);
  enc.headerWrite(&b);
  std::vector<uint16_t> px(320 * 240);
  std::vector<int16_t> pcm(1470);
  for (uint32_t f = 0; f < h.frameCount; ++f) {
    for (int i = 0; i < 320 * 240; ++i) px[i] = static_cast<uint16_t>((i % 320 + f * 3) * 37 ^ (i / 320) * 91);
    for (int i = 0; i < 1470; ++i) pcm[i] = static_cast<int16_t>((i * 97 + f) % 8000);
    enc.frameWrite(px.data(), pcm.data(), 1470, &b);
  }
  return b;
}

void DecodeConvertDouble(benchmark::State& state, platform::MoviePixelFormat format) {
  const std::vector<uint8_t> film = Film();
  platform::MovieHeader h;
  platform::movieHeaderRead(film.data(), film.size(), &h, nullptr);
  // The records of the first 120 frames, decoded in turn, round and round.
  std::vector<std::pair<size_t, uint32_t>> frames;
  for (size_t at = platform::kMovieHeaderBytes; frames.size() < std::min<uint32_t>(h.frameCount, 120);) {
    platform::MovieFrameHead head;
    platform::movieFrameHeadRead(h, film.data() + at, &head);
    frames.push_back({at + platform::kMovieFrameHeadBytes, head.videoBytes});
    at += platform::kMovieFrameHeadBytes + head.videoBytes + head.soundBytes;
  }
  platform::MovieDecoder dec(h);
  platform::MovieConverter conv;
  conv.formatSet(format);
  std::vector<uint16_t> target(640 * 480);
  size_t i = 0;
  for (auto _ : state) {
    if (i == frames.size()) {
      i = 0;
      dec = platform::MovieDecoder(h);
    }
    dec.decodeVideo(film.data() + frames[i].first, frames[i].second);
    conv.convert(dec.frame().data(), h.width, h.height, target.data(), 640);
    benchmark::DoNotOptimize(target.data());
    ++i;
  }
}
void BM_FrameDecodeDouble565(benchmark::State& state) { DecodeConvertDouble(state, {}); }
void BM_FrameDecodeDouble555(benchmark::State& state) { DecodeConvertDouble(state, {10, 5, 5, 5, 0, 5}); }
BENCHMARK(BM_FrameDecodeDouble565)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FrameDecodeDouble555)->Unit(benchmark::kMicrosecond);

int16_t g_halves[2][8192];
void Filled(uint32_t sound) { Streamer_SetSoundDecodeMode(sound, -1); }

// One frame of a playing film as the player asks for it: the frame shown,
// the read-ahead pump, the next half requested every fifth frame or so.
void BM_StreamFrameWithSound(benchmark::State& state) {
  const std::vector<uint8_t> film = Film();
  std::vector<uint16_t> target(640 * 480);
  uint32_t movie = 0, video = 0, sound = 0;
  auto open = [&] {
    Streamer_InitMovieFromMemory(&movie, film.data(), film.size());
    Streamer_InitVideo(&video, movie, Movie_GetXSize(movie), Movie_GetYSize(movie), 0, 0, 0, 0, 640, 480, 8, nullptr,
                       nullptr);
    Streamer_InitSound(Filled, &sound, 16384, 4, 0, 4096, 1);
    Streamer_SetSoundBuffer(sound, 0, g_halves[0]);
    Streamer_SetSoundBuffer(sound, 1, g_halves[1]);
    Streamer_SetSoundDecodeMode(sound, 1);
    Streamer_InitStreaming(movie, video, sound);
  };
  auto close = [&] {
    Streamer_ShutDownSound(&sound);
    Streamer_ShutDownVideo(&video);
    Streamer_ShutDownMovie(&movie);
  };
  open();
  int n = 0;
  for (auto _ : state) {
    if (Streamer_Stream(movie, video, sound, 0, 1, target.data(), 0, 0, 0) != STREAMER_OK) {
      state.PauseTiming();
      close();
      open();
      state.ResumeTiming();
      continue;
    }
    while (Streamer_Stream(movie, video, sound, 0, 0, nullptr, 0, 0, 0) == STREAMER_PUMP_AGAIN) {
    }
    if (++n % 5 == 0) Streamer_SetSoundDecodeMode(sound, (n / 5) & 1);
  }
  close();
}
BENCHMARK(BM_StreamFrameWithSound)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
