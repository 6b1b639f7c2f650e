#pragma once
// Small films for the tests and the fuzz seeds: a moving gradient with a
// square crossing it and a tone whose pitch follows the frame.
#include <cmath>
#include <cstdint>
#include <vector>

#include "platform/movie_codec.h"

namespace test_films {

inline uint16_t Rgb565(int r, int g, int b) {
  return static_cast<uint16_t>((r >> 3) << 11 | (g >> 2) << 5 | (b >> 3));
}

inline std::vector<uint16_t> Picture(int w, int h, int frame) {
  std::vector<uint16_t> px(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const bool square = std::abs(x - frame * 3 % w) < 6 && std::abs(y - h / 2) < 6;
      px[static_cast<size_t>(y) * w + x] =
          square ? Rgb565(250, 240, 20) : Rgb565((x * 255) / w, (y * 255) / h, (frame * 16) & 255);
    }
  return px;
}

inline std::vector<int16_t> Tone(uint32_t samples, uint32_t start, uint32_t rate) {
  std::vector<int16_t> pcm(samples);
  for (uint32_t i = 0; i < samples; ++i)
    pcm[i] = static_cast<int16_t>(9000.0 * std::sin((start + i) * 2.0 * 3.14159265358979 * 440.0 / rate));
  return pcm;
}

// A whole film's bytes.
inline std::vector<uint8_t> Film(int w, int h, uint32_t frames, uint16_t precision, int tolerance = 0,
                                 uint32_t fpsMilli = 15000, uint32_t rate = 22050) {
  platform::MovieHeader hd;
  hd.width = static_cast<uint16_t>(w);
  hd.height = static_cast<uint16_t>(h);
  hd.frameRateMilli = fpsMilli;
  hd.frameCount = frames;
  hd.channels = precision ? 1 : 0;
  hd.soundRate = precision ? rate : 0;
  hd.precision = precision;
  platform::MovieEncoder enc(hd, tolerance);
  std::vector<uint8_t> out;
  enc.headerWrite(&out);
  uint32_t at = 0;
  for (uint32_t f = 0; f < frames; ++f) {
    const uint32_t n = platform::movieFrameSamples(hd, f);
    const std::vector<int16_t> pcm = Tone(n, at, rate ? rate : 1);
    at += n;
    enc.frameWrite(Picture(w, h, static_cast<int>(f)).data(), pcm.data(), n, &out);
  }
  return out;
}

}  // namespace test_films
