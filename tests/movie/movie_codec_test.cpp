// Our movie format: encoder and decoder agree to the pixel, the sound coding
// matches the audio library's, the conversion scales and centres, and the
// reader refuses or reports every damaged or shortened film.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "audio/qal.h"
#include "platform/movie_codec.h"
#include "platform/movie_streamer.h"
#include "support/temp_dir.h"
#include "test_films.h"

using namespace platform;

namespace {

MovieHeader HeaderOf(const std::vector<uint8_t>& film) {
  MovieHeader h;
  std::string why;
  EXPECT_TRUE(movieHeaderRead(film.data(), film.size(), &h, &why)) << why;
  return h;
}

// Walks the frame records: the video and sound bytes of each.
struct FrameBytes {
  const uint8_t* video;
  uint32_t videoBytes;
  const uint8_t* sound;
  uint32_t soundBytes;
};
std::vector<FrameBytes> Records(const std::vector<uint8_t>& film) {
  std::vector<FrameBytes> out;
  const MovieHeader h = HeaderOf(film);
  size_t at = kMovieHeaderBytes;
  for (uint32_t f = 0; f < h.frameCount; ++f) {
    MovieFrameHead head;
    EXPECT_TRUE(movieFrameHeadRead(h, film.data() + at, &head));
    const uint8_t* v = film.data() + at + kMovieFrameHeadBytes;
    out.push_back({v, head.videoBytes, v + head.videoBytes, head.soundBytes});
    at += kMovieFrameHeadBytes + head.videoBytes + head.soundBytes;
  }
  EXPECT_EQ(at, film.size());
  return out;
}

int Distance(uint16_t a, uint16_t b) {
  return std::max({std::abs((a >> 11) - (b >> 11)), std::abs(((a >> 5) & 63) - ((b >> 5) & 63)),
                   std::abs((a & 31) - (b & 31))});
}

// Plays a film from memory through the streamer; the results of each call.
std::vector<int32_t> Play(const std::vector<uint8_t>& film, int32_t* init = nullptr) {
  std::vector<int32_t> results;
  uint32_t movie = 0, video = 0;
  const int32_t r = Streamer_InitMovieFromMemory(&movie, film.data(), film.size());
  if (init) *init = r;
  if (r != STREAMER_OK) return results;
  std::vector<uint16_t> target(64 * 32);
  EXPECT_EQ(Streamer_InitVideo(&video, movie, Movie_GetXSize(movie), Movie_GetYSize(movie), 0, 0, 0, 0, 64, 32, 8,
                               nullptr, nullptr),
            STREAMER_OK);
  EXPECT_EQ(Streamer_InitStreaming(movie, video, 0), STREAMER_OK);
  for (int i = 0; i < 1000; ++i) {
    results.push_back(Streamer_Stream(movie, video, 0, 0, 1, target.data(), 0, 0, 0));
    if (results.back() != STREAMER_OK) break;
  }
  Streamer_ShutDownVideo(&video);
  Streamer_ShutDownMovie(&movie);
  return results;
}

}  // namespace

TEST(MovieCodec, DecodedFramesEqualTheEncodersReconstruction) {
  for (int tolerance : {0, 2, 6}) {
    MovieHeader h;
    h.width = 64;
    h.height = 48;
    h.frameRateMilli = 15000;
    h.frameCount = 6;
    MovieEncoder enc(h, tolerance);
    MovieDecoder dec(h);
    for (int f = 0; f < 6; ++f) {
      std::vector<uint8_t> rec;
      const std::vector<uint16_t> src = test_films::Picture(64, 48, f);
      enc.frameWrite(src.data(), nullptr, 0, &rec);
      MovieFrameHead head;
      ASSERT_TRUE(movieFrameHeadRead(h, rec.data(), &head));
      ASSERT_EQ(head.soundBytes, 0u);
      ASSERT_TRUE(dec.decodeVideo(rec.data() + kMovieFrameHeadBytes, head.videoBytes));
      ASSERT_EQ(dec.frame(), enc.reconstruction()) << "tolerance " << tolerance << " frame " << f;
      int worst = 0;
      for (size_t i = 0; i < src.size(); ++i) worst = std::max(worst, Distance(src[i], dec.frame()[i]));
      EXPECT_LE(worst, tolerance);
      if (tolerance == 0) {
        EXPECT_EQ(dec.frame(), src);
      }
    }
  }
}

TEST(MovieCodec, StillFramesCostAlmostNothing) {
  MovieHeader h;
  h.width = 320;
  h.height = 240;
  h.frameRateMilli = 15000;
  h.frameCount = 2;
  MovieEncoder enc(h, 0);
  const std::vector<uint16_t> src = test_films::Picture(320, 240, 0);
  std::vector<uint8_t> first, second;
  enc.frameWrite(src.data(), nullptr, 0, &first);
  enc.frameWrite(src.data(), nullptr, 0, &second);
  EXPECT_LT(second.size(), 64u);  // every block skipped
  EXPECT_GT(first.size(), second.size() * 20);
}

TEST(MovieCodec, SoundBlocksDecodeAloneAndMatchTheAudioLibrarysCoding) {
  const std::vector<uint8_t> film = test_films::Film(16, 16, 5, 4);
  const MovieHeader h = HeaderOf(film);
  MovieDecoder dec(h);
  QALAdpcmState lib{};
  uint32_t at = 0;
  // Frame by frame: the block's own state and codes give what the audio
  // library's decoder gives from the running state; the encoder's codes are
  // the library encoder's.
  const std::vector<FrameBytes> recs = Records(film);
  for (uint32_t f = 0; f < recs.size(); ++f) {
    const uint32_t n = movieFrameSamples(h, f);
    ASSERT_EQ(n, 1470u);
    std::vector<int16_t> ours;
    ASSERT_TRUE(dec.decodeSound(recs[f].sound, recs[f].soundBytes, n, &ours));
    ASSERT_EQ(ours.size(), n);
    EXPECT_EQ(static_cast<int16_t>(recs[f].sound[2] | recs[f].sound[3] << 8), lib.predictor);
    EXPECT_EQ(recs[f].sound[4], lib.stepIndex);
    std::vector<int16_t> theirs(n);
    QALAdpcmState before = lib;
    QALAdpcmDecode(recs[f].sound + 6, theirs.data(), n, &lib);
    EXPECT_EQ(ours, theirs);
    std::vector<uint8_t> codes((n + 1) / 2);
    const std::vector<int16_t> pcm = test_films::Tone(n, at, 22050);
    QALAdpcmEncode(pcm.data(), codes.data(), n, &before);
    EXPECT_EQ(0, std::memcmp(codes.data(), recs[f].sound + 6, codes.size()));
    at += n;
  }
  // Wrong sample counts and step indexes are refused.
  std::vector<int16_t> pcm;
  EXPECT_FALSE(dec.decodeSound(recs[0].sound, recs[0].soundBytes, 1469, &pcm));
  std::vector<uint8_t> bad(recs[0].sound, recs[0].sound + recs[0].soundBytes);
  bad[4] = 89;
  EXPECT_FALSE(dec.decodeSound(bad.data(), bad.size(), 1470, &pcm));
  EXPECT_FALSE(dec.decodeSound(recs[0].sound, recs[0].soundBytes - 1, 1470, &pcm));
}

TEST(MovieCodec, SoundLengthIsTheFramesShareOfTheWholeWithinOneSample) {
  MovieHeader h;
  h.width = h.height = 16;
  h.frameRateMilli = 12500;
  h.frameCount = 100;
  h.channels = 1;
  h.soundRate = 22050;
  h.precision = 16;
  uint64_t total = 0;
  for (uint32_t f = 0; f < h.frameCount; ++f) {
    const uint32_t n = movieFrameSamples(h, f);
    EXPECT_TRUE(n == 1764) << f << " " << n;
    total += n;
  }
  EXPECT_EQ(total, 100u * 22050u * 1000u / 12500u);
  h.frameRateMilli = 29970;
  total = 0;
  for (uint32_t f = 0; f < 1000; ++f) total += movieFrameSamples(h, f);
  EXPECT_EQ(total, 1000ull * 22050 * 1000 / 29970);
}

TEST(MovieCodec, ConversionScalesByTheLargestWholeFactorCentredOnBlack) {
  struct Case {
    int w, h, factor, ox, oy;
  };
  for (const Case& c : {Case{320, 240, 2, 0, 0}, Case{200, 100, 3, 20, 90}, Case{640, 480, 1, 0, 0},
                        Case{160, 100, 4, 0, 40}, Case{600, 300, 1, 20, 90}}) {
    std::vector<uint16_t> frame = test_films::Picture(c.w, c.h, 3);
    for (uint16_t& p : frame) p |= 0x0821;  // never black
    const int pitch = 700;
    std::vector<uint16_t> target(static_cast<size_t>(pitch) * 480, 0xFFFF);
    MovieConverter conv;
    conv.formatSet(MoviePixelFormat{});
    conv.convert(frame.data(), c.w, c.h, target.data(), pitch);
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < pitch; ++x) {
        const uint16_t got = target[static_cast<size_t>(y) * pitch + x];
        if (x >= 640) {
          ASSERT_EQ(got, 0xFFFF) << "outside the rectangle";
          continue;
        }
        const int sx = x - c.ox, sy = y - c.oy;
        const bool inside = sx >= 0 && sy >= 0 && sx < c.w * c.factor && sy < c.h * c.factor;
        const uint16_t want = inside ? frame[static_cast<size_t>(sy / c.factor) * c.w + sx / c.factor] : 0;
        ASSERT_EQ(got, want) << c.w << "x" << c.h << " at " << x << "," << y;
      }
  }
}

TEST(MovieCodec, ConversionToFiveFiveFive) {
  MovieConverter conv;
  conv.formatSet(MoviePixelFormat{10, 5, 5, 5, 0, 5});
  const uint16_t in[4] = {0xF800, 0x07E0, 0x001F, test_films::Rgb565(128, 64, 200)};
  std::vector<uint16_t> out(4 * 4);
  conv.convert(in, 4, 1, out.data(), 4, 4, 1);
  EXPECT_EQ(out[0], 0x7C00);
  EXPECT_EQ(out[1], 0x03E0);
  EXPECT_EQ(out[2], 0x001F);
  EXPECT_EQ(out[3], (128 >> 3) << 10 | (64 >> 3) << 5 | (200 >> 3));
}

TEST(MovieCodec, HeaderFieldsOutOfRangeAreRefused) {
  const std::vector<uint8_t> film = test_films::Film(16, 16, 2, 4);
  struct Change {
    size_t at;
    std::vector<uint8_t> bytes;
    const char* what;
  };
  const Change changes[] = {
      {0, {'K', 'F', 'M', 'W'}, "mark"},       {4, {2}, "version"},
      {8, {18, 0}, "width not of 4"},          {8, {0x84, 2}, "width over 640"},
      {10, {0xE4, 1}, "height over 480"},      {10, {0, 0}, "no height"},
      {12, {0xE7, 3, 0, 0}, "under 1 fps"},    {12, {0x31, 0x75, 0, 0}, "over 30 fps"},
      {16, {0, 0, 0, 0}, "no frames"},         {20, {0xA0, 0x0F, 0, 0}, "rate 4000 is the least"},
      {20, {0x81, 0xBB, 0, 0}, "rate over 48000"}, {24, {2}, "two channels"},
      {24, {0}, "no channel yet a rate"},      {26, {8}, "precision 8"},
  };
  for (const Change& c : changes) {
    std::vector<uint8_t> f(film.begin(), film.begin() + kMovieHeaderBytes);
    std::memcpy(f.data() + c.at, c.bytes.data(), c.bytes.size());
    const uint32_t crc = movieCrc32(f.data(), 28);
    std::vector<uint8_t> again(f.begin(), f.begin() + 28);
    for (int i = 0; i < 4; ++i) again.push_back(static_cast<uint8_t>(crc >> (8 * i)));
    MovieHeader h;
    std::string why;
    const bool ok = movieHeaderRead(again.data(), again.size(), &h, &why);
    if (std::string(c.what) == "rate 4000 is the least") {
      EXPECT_TRUE(ok) << why;
      continue;
    }
    EXPECT_FALSE(ok) << c.what;
    EXPECT_FALSE(why.empty());
    // With the old CRC the changed header fails its CRC first.
    EXPECT_FALSE(movieHeaderRead(f.data(), f.size(), &h, &why));
  }
}

TEST(MovieReader, EveryPrefixIsRefusedOrReportedShort) {
  const std::vector<uint8_t> film = test_films::Film(32, 16, 4, 4);
  const std::vector<int32_t> whole = Play(film);
  ASSERT_EQ(whole, (std::vector<int32_t>{0, 0, 0, 0, STREAMER_ENDED}));
  for (size_t n = 0; n < film.size(); ++n) {
    const std::vector<uint8_t> part(film.begin(), film.begin() + n);
    int32_t init = 0;
    const std::vector<int32_t> r = Play(part, &init);
    if (n < kMovieHeaderBytes) {
      EXPECT_EQ(init, STREAMER_BAD_HEADER) << n;
      continue;
    }
    ASSERT_FALSE(r.empty());
    EXPECT_EQ(r.back(), STREAMER_TRUNCATED) << "prefix of " << n << " bytes";
  }
  EXPECT_EQ(Streamer_OpenHandleCount(), 0);
}

TEST(MovieReader, FlippedBytesAreRefusedOrReportedDamaged) {
  const std::vector<uint8_t> film = test_films::Film(32, 16, 4, 4);
  uint32_t seed = 12345;
  for (int i = 0; i < 600; ++i) {
    std::vector<uint8_t> f = film;
    seed = seed * 1664525u + 1013904223u;
    const size_t at = (seed >> 8) % f.size();
    f[at] ^= static_cast<uint8_t>(1u << ((seed >> 4) & 7));
    int32_t init = 0;
    const std::vector<int32_t> r = Play(f, &init);
    if (init != STREAMER_OK) {
      EXPECT_LT(at, kMovieHeaderBytes);
      continue;
    }
    ASSERT_FALSE(r.empty());
    EXPECT_TRUE(r.back() == STREAMER_DAMAGED || r.back() == STREAMER_TRUNCATED) << "byte " << at;
  }
}

namespace {
std::vector<std::vector<int16_t>> g_halves;
int32_t g_fills = 0;
uint32_t g_sound = 0;
int16_t g_buffer[2][512];
void Filled(uint32_t sound) {
  ++g_fills;
  const int32_t mode = Streamer_GetSoundDecodeMode(sound);
  g_halves.emplace_back(g_buffer[mode], g_buffer[mode] + 512);
  Streamer_SetSoundDecodeMode(sound, -1);
}
}  // namespace

TEST(MovieReader, SoundHalvesCarryTheFilmsSoundInOrderThenSilence) {
  const std::vector<uint8_t> film = test_films::Film(16, 16, 3, 16);
  std::vector<int16_t> expect = test_films::Tone(3 * 1470, 0, 22050);
  uint32_t movie = 0, video = 0;
  ASSERT_EQ(Streamer_InitMovieFromMemory(&movie, film.data(), film.size()), 0);
  ASSERT_EQ(Streamer_InitVideo(&video, movie, 16, 16, 0, 0, 0, 0, 640, 480, 8, nullptr, nullptr), 0);
  uint32_t stereo = 7;
  EXPECT_EQ(Streamer_InitSound(Filled, &stereo, 1024, 1, 1, 4096, 2), STREAMER_SOUND_FAILED);
  EXPECT_EQ(stereo, 0u);
  ASSERT_EQ(Streamer_InitSound(Filled, &g_sound, 1024, 1, 1, 4096, 1), 0);
  Streamer_SetSoundBuffer(g_sound, 0, g_buffer[0]);
  Streamer_SetSoundBuffer(g_sound, 1, g_buffer[1]);
  Streamer_SetSoundDecodeMode(g_sound, 1);
  ASSERT_EQ(Streamer_InitStreaming(movie, video, g_sound), 0);
  ASSERT_EQ(g_fills, 1);  // the first half is ready before the first frame
  // Alternate halves as a player would; each call fills at most one.
  std::vector<int16_t> target(640 * 480);
  for (int i = 0; i < 12; ++i) {
    Streamer_SetSoundDecodeMode(g_sound, i % 2 == 0 ? 0 : 1);
    const int32_t before = g_fills;
    Streamer_Stream(movie, video, g_sound, 0, 1, i < 3 ? target.data() : nullptr, 0, 0, 0);
    EXPECT_EQ(g_fills, before + 1);
  }
  std::vector<int16_t> all;
  for (const auto& h : g_halves) all.insert(all.end(), h.begin(), h.end());
  expect.resize(all.size(), 0);
  EXPECT_EQ(all, expect);
  Streamer_ShutDownSound(&g_sound);
  Streamer_ShutDownVideo(&video);
  Streamer_ShutDownMovie(&movie);
  EXPECT_EQ(Streamer_OpenHandleCount(), 0);
}

namespace {
// The validator's exit code on the given bytes.
int Validate(const std::vector<uint8_t>& bytes, const std::string& name) {
  const char* build = std::getenv("KORVENA_BUILD_DIR");
  const korvena_test::TempDir dir;
  const std::string file = dir / name;
  std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<std::streamsize>(bytes.size()));
  const std::string cmd = std::string(build ? build : ".") + "/tools/korvena_fmvcheck " + file + " >/dev/null 2>&1";
  const int status = std::system(cmd.c_str());
  std::remove(file.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
}  // namespace

TEST(MovieValidator, AcceptsWholeFilmsAndRejectsShortOrDamagedOnes) {
  const std::vector<uint8_t> film = test_films::Film(32, 16, 4, 4);
  EXPECT_EQ(Validate(film, "whole.rpl"), 0);
  EXPECT_EQ(Validate(test_films::Film(16, 16, 3, 16, 3), "pcm.rpl"), 0);
  for (size_t n = 0; n < film.size(); n += 97) {
    const std::vector<uint8_t> part(film.begin(), film.begin() + static_cast<ptrdiff_t>(n));
    EXPECT_EQ(Validate(part, "part.rpl"), 1) << n;
  }
  std::vector<uint8_t> longer = film;
  longer.push_back(0);
  EXPECT_EQ(Validate(longer, "longer.rpl"), 1);
  uint32_t seed = 99;
  for (int i = 0; i < 40; ++i) {
    std::vector<uint8_t> f = film;
    seed = seed * 1664525u + 1013904223u;
    f[(seed >> 8) % f.size()] ^= static_cast<uint8_t>(1u << ((seed >> 4) & 7));
    EXPECT_EQ(Validate(f, "flipped.rpl"), 1);
  }
}
