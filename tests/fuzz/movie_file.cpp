// The movie reader and streamer: any bytes are refused at the header or play
// to an end (25), a damaged frame (32) or a short file (33), with sound
// halves filled throughout; nothing is read outside the input.
#include <vector>

#include "../movie/test_films.h"
#include "fuzz_support.h"
#include "platform/movie_streamer.h"

void KorvenaFuzzSeeds(const std::string& dir) {
  const std::vector<uint8_t> a = test_films::Film(32, 16, 3, 4);
  const std::vector<uint8_t> b = test_films::Film(16, 8, 2, 16, 2);
  const std::vector<uint8_t> c = test_films::Film(8, 8, 2, 0);
  korvena_fuzz::WriteSeed(dir, "adpcm.rpl", a.data(), a.size());
  korvena_fuzz::WriteSeed(dir, "pcm.rpl", b.data(), b.size());
  korvena_fuzz::WriteSeed(dir, "silent.rpl", c.data(), c.size());
}

namespace {
int16_t g_aHalves[2][256];
void Filled(uint32_t sound) { Streamer_SetSoundDecodeMode(sound, -1); }
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  uint32_t movie = 0, video = 0, sound = 0;
  if (Streamer_InitMovieFromMemory(&movie, data, size) != STREAMER_OK) {
    if (movie != 0) korvena_fuzz::Fail("a refused movie left a handle");
    return 0;
  }
  // A small target rectangle keeps the runs fast; the conversion clips to it.
  std::vector<uint16_t> target(64 * 48);
  if (Streamer_InitVideo(&video, movie, Movie_GetXSize(movie), Movie_GetYSize(movie), 0, 0, 0, 0, 64, 48, 8, nullptr,
                         nullptr) != STREAMER_OK)
    korvena_fuzz::Fail("a movie whose header was accepted has no video");
  if (Movie_GetSoundChannels(movie) == 1 && Streamer_InitSound(Filled, &sound, 512, 1, 1, 4096, 1) == STREAMER_OK) {
    Streamer_SetSoundBuffer(sound, 0, g_aHalves[0]);
    Streamer_SetSoundBuffer(sound, 1, g_aHalves[1]);
    Streamer_SetSoundDecodeMode(sound, 1);
  }
  if (Streamer_InitStreaming(movie, video, sound) != STREAMER_OK) korvena_fuzz::Fail("streaming refused");
  const int32_t frames = Movie_GetFrameCount(movie);
  int32_t result = STREAMER_OK;
  for (int32_t i = 0; i <= frames && result == STREAMER_OK; ++i) {
    Streamer_SetSoundDecodeMode(sound, i & 1);
    result = Streamer_Stream(movie, video, sound, 0, 1, target.data(), 0, 0, 0);
    if (result == STREAMER_OK && Movie_GetCurrentFrame(movie) != i + 1) korvena_fuzz::Fail("a frame shown twice");
  }
  if (result != STREAMER_ENDED && result != STREAMER_DAMAGED && result != STREAMER_TRUNCATED)
    korvena_fuzz::Fail("the stream ended with an unknown result");
  if (result == STREAMER_ENDED && Movie_GetCurrentFrame(movie) != frames) korvena_fuzz::Fail("ended early");
  Streamer_ShutDownSound(&sound);
  Streamer_ShutDownVideo(&video);
  Streamer_ShutDownMovie(&movie);
  if (Streamer_OpenHandleCount() != 0) korvena_fuzz::Fail("a handle left open");
  return 0;
}
