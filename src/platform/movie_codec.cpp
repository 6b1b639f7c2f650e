// Our movie format: header and frame records, the block coder of the
// pictures, IMA ADPCM sound blocks and the conversion to the display.
#include "platform/movie_codec.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

namespace platform {

namespace {

constexpr int16_t kStepTable[89] = {
    7,     8,     9,     10,    11,    12,    13,    14,    16,    17,    19,    21,    23,    25,    28,
    31,    34,    37,    41,    45,    50,    55,    60,    66,    73,    80,    88,    97,    107,   118,
    130,   143,   157,   173,   190,   209,   230,   253,   279,   307,   337,   371,   408,   449,   494,
    544,   598,   658,   724,   796,   876,   963,   1060,  1166,  1282,  1411,  1552,  1707,  1878,  2066,
    2272,  2499,  2749,  3024,  3327,  3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845,  8630,
    9493,  10442, 11487, 12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};
constexpr int8_t kIndexTable[16] = {-1, -1, -1, -1, 2, 4, 6, 8, -1, -1, -1, -1, 2, 4, 6, 8};

constexpr uint8_t kMagic[4] = {'K', 'F', 'M', 'V'};
constexpr size_t kAdpcmHeadBytes = 6;
constexpr uint32_t kBlockEntryMax = 33;  // code byte and 16 raw pixels

uint16_t get16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t get32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}
void put16(std::vector<uint8_t>* out, uint32_t v) {
  out->push_back(static_cast<uint8_t>(v));
  out->push_back(static_cast<uint8_t>(v >> 8));
}
void put32(std::vector<uint8_t>* out, uint32_t v) {
  put16(out, v & 0xFFFFu);
  put16(out, v >> 16);
}

uint32_t blockCount(const MovieHeader& h) { return (h.width / 4u) * (h.height / 4u); }

// The largest difference of one channel between two 5-6-5 colours.
int colourDistance(uint16_t a, uint16_t b) {
  const int dr = std::abs((a >> 11) - (b >> 11));
  const int dg = std::abs(((a >> 5) & 63) - ((b >> 5) & 63));
  const int db = std::abs((a & 31) - (b & 31));
  return std::max(dr, std::max(dg, db));
}

// Orders colours by brightness, ties by value, so two distinct colours never tie.
uint32_t brightnessKey(uint16_t c) {
  const uint32_t luma = 2u * (c >> 11) + ((c >> 5) & 63) + (c & 31) / 2u;
  return luma << 16 | c;
}

}  // namespace

uint32_t movieCrc32(const uint8_t* data, size_t size) {
  uLong crc = crc32(0L, Z_NULL, 0);
  while (size > 0) {
    const uInt n = static_cast<uInt>(std::min<size_t>(size, 1u << 30));
    crc = crc32(crc, data, n);
    data += n;
    size -= n;
  }
  return static_cast<uint32_t>(crc);
}

bool movieHeaderValid(const MovieHeader& h, std::string* why) {
  const char* problem = nullptr;
  if (h.width < 4 || h.width > kMovieTargetWidth || h.width % 4 || h.height < 4 || h.height > kMovieTargetHeight ||
      h.height % 4)
    problem = "the picture size is not a multiple of 4 within 640 x 480";
  else if (h.frameRateMilli < 1000 || h.frameRateMilli > 30000)
    problem = "the frame rate is outside 1 to 30 frames a second";
  else if (h.frameCount < 1 || h.frameCount > kMovieMaxFrames)
    problem = "the frame count is out of range";
  else if (h.channels == 0 && (h.soundRate != 0 || h.precision != 0))
    problem = "a movie without sound names a sound rate or precision";
  else if (h.channels > 1)
    problem = "more than one sound channel";
  else if (h.channels == 1 && (h.precision != 16 && h.precision != 4))
    problem = "the sound precision is neither 16 nor 4";
  else if (h.channels == 1 && (h.soundRate < 4000 || h.soundRate > 48000))
    problem = "the sound rate is outside 4000 to 48000";
  if (problem && why) *why = problem;
  return problem == nullptr;
}

void movieHeaderWrite(const MovieHeader& h, std::vector<uint8_t>* out) {
  const size_t start = out->size();
  out->insert(out->end(), kMagic, kMagic + 4);
  put32(out, kMovieVersion);
  put16(out, h.width);
  put16(out, h.height);
  put32(out, h.frameRateMilli);
  put32(out, h.frameCount);
  put32(out, h.soundRate);
  put16(out, h.channels);
  put16(out, h.precision);
  put32(out, movieCrc32(out->data() + start, kMovieHeaderBytes - 4));
}

bool movieHeaderRead(const uint8_t* p, size_t size, MovieHeader* out, std::string* why) {
  auto fail = [why](const char* s) {
    if (why) *why = s;
    return false;
  };
  if (size < kMovieHeaderBytes) return fail("the file is shorter than its header");
  if (std::memcmp(p, kMagic, 4) != 0) return fail("not a movie (no KFMV mark)");
  if (get32(p + 28) != movieCrc32(p, kMovieHeaderBytes - 4)) return fail("the header's CRC differs");
  if (get32(p + 4) != kMovieVersion) return fail("an unknown version");
  MovieHeader h;
  h.width = get16(p + 8);
  h.height = get16(p + 10);
  h.frameRateMilli = get32(p + 12);
  h.frameCount = get32(p + 16);
  h.soundRate = get32(p + 20);
  h.channels = get16(p + 24);
  h.precision = get16(p + 26);
  if (!movieHeaderValid(h, why)) return false;
  *out = h;
  return true;
}

uint32_t movieFrameSamples(const MovieHeader& h, uint32_t frame) {
  if (h.channels == 0 || h.frameRateMilli == 0) return 0;
  auto upTo = [&h](uint64_t f) { return f * h.soundRate * 1000u / h.frameRateMilli; };
  return static_cast<uint32_t>(upTo(frame + 1ull) - upTo(frame));
}

uint32_t movieMaxVideoBytes(const MovieHeader& h) {
  return static_cast<uint32_t>(compressBound(blockCount(h) * kBlockEntryMax));
}

uint32_t movieMaxSoundBytes(const MovieHeader& h) {
  if (h.channels == 0) return 0;
  const uint32_t samples = static_cast<uint32_t>(h.soundRate * 1000ull / h.frameRateMilli) + 1;
  return h.precision == 16 ? samples * 2 : static_cast<uint32_t>(kAdpcmHeadBytes) + (samples + 1) / 2;
}

bool movieFrameHeadRead(const MovieHeader& h, const uint8_t* p, MovieFrameHead* out) {
  MovieFrameHead f{get32(p), get32(p + 4), get32(p + 8)};
  if (f.videoBytes == 0 || f.videoBytes > movieMaxVideoBytes(h) || f.soundBytes > movieMaxSoundBytes(h)) return false;
  if ((h.channels == 0) != (f.soundBytes == 0)) return false;
  *out = f;
  return true;
}

// ---- IMA ADPCM --------------------------------------------------------------

uint8_t adpcmEncodeOne(int32_t sample, AdpcmState* st) {
  const int32_t step = kStepTable[st->stepIndex];
  int32_t diff = sample - st->predictor;
  uint8_t code = 0;
  if (diff < 0) {
    code = 8;
    diff = -diff;
  }
  if (diff >= step) {
    code |= 4;
    diff -= step;
  }
  if (diff >= (step >> 1)) {
    code |= 2;
    diff -= step >> 1;
  }
  if (diff >= (step >> 2)) code |= 1;
  adpcmDecodeOne(code, st);
  return code;
}

int16_t adpcmDecodeOne(uint8_t code, AdpcmState* st) {
  const int32_t step = kStepTable[st->stepIndex];
  int32_t delta = step >> 3;
  if (code & 4) delta += step;
  if (code & 2) delta += step >> 1;
  if (code & 1) delta += step >> 2;
  st->predictor = std::clamp(st->predictor + ((code & 8) ? -delta : delta), -32768, 32767);
  st->stepIndex = std::clamp(st->stepIndex + kIndexTable[code & 15], 0, 88);
  return static_cast<int16_t>(st->predictor);
}

// ---- Decoder ----------------------------------------------------------------

MovieDecoder::MovieDecoder(const MovieHeader& header)
    : m_header(header), m_frame(static_cast<size_t>(header.width) * header.height, 0) {
  m_stream.resize(blockCount(header) * kBlockEntryMax);
}

bool MovieDecoder::decodeVideo(const uint8_t* data, size_t size) {
  uLongf length = static_cast<uLongf>(m_stream.size());
  uLong used = static_cast<uLong>(size);
  if (uncompress2(m_stream.data(), &length, data, &used) != Z_OK || used != size) return false;
  const uint8_t* p = m_stream.data();
  const uint8_t* end = p + length;
  const int w = m_header.width;
  for (int by = 0; by < m_header.height; by += 4) {
    for (int bx = 0; bx < w; bx += 4) {
      if (p >= end) return false;
      const uint8_t code = *p++;
      static constexpr uint8_t kDataBytes[4] = {0, 2, 6, 32};
      if (code > 3 || static_cast<size_t>(end - p) < kDataBytes[code]) return false;
      uint16_t* row = m_frame.data() + static_cast<size_t>(by) * w + bx;
      for (int i = 0; code != 0 && i < 16; ++i) {
        uint16_t c;
        if (code == 1) c = get16(p);
        else if (code == 2) c = get16(p + ((get16(p + 4) >> i) & 1 ? 2 : 0));
        else c = get16(p + 2 * i);
        row[(i / 4) * w + i % 4] = c;
      }
      p += kDataBytes[code];
    }
  }
  return p == end;
}

bool MovieDecoder::decodeSound(const uint8_t* data, size_t size, uint32_t expected, std::vector<int16_t>* pcm) const {
  if (m_header.precision == 16) {
    if (size != expected * 2ull) return false;
    for (uint32_t i = 0; i < expected; ++i) pcm->push_back(static_cast<int16_t>(get16(data + 2 * i)));
    return true;
  }
  if (m_header.precision != 4 || size < kAdpcmHeadBytes) return false;
  const uint32_t count = get16(data);
  AdpcmState st{static_cast<int16_t>(get16(data + 2)), data[4]};
  if (count != expected || st.stepIndex > 88 || data[5] != 0 || size != kAdpcmHeadBytes + (count + 1) / 2) return false;
  for (uint32_t i = 0; i < count; ++i) {
    const uint8_t b = data[kAdpcmHeadBytes + i / 2];
    pcm->push_back(adpcmDecodeOne(i & 1 ? b & 15 : b >> 4, &st));
  }
  return true;
}

// ---- Encoder ----------------------------------------------------------------

MovieEncoder::MovieEncoder(const MovieHeader& header, int tolerance)
    : m_header(header), m_tolerance(tolerance), m_recon(static_cast<size_t>(header.width) * header.height, 0) {}

void MovieEncoder::frameWrite(const uint16_t* src, const int16_t* pcm, uint32_t samples, std::vector<uint8_t>* out) {
  const int w = m_header.width;
  std::vector<uint8_t> blocks;
  blocks.reserve(blockCount(m_header) * 8);
  for (int by = 0; by < m_header.height; by += 4) {
    for (int bx = 0; bx < w; bx += 4) {
      const size_t base = static_cast<size_t>(by) * w + bx;
      uint16_t s[16];
      uint16_t* r[16];
      for (int i = 0; i < 16; ++i) {
        s[i] = src[base + (i / 4) * w + i % 4];
        r[i] = &m_recon[base + (i / 4) * w + i % 4];
      }
      int worst = 0;
      for (int i = 0; i < 16; ++i) worst = std::max(worst, colourDistance(s[i], *r[i]));
      if (worst <= m_tolerance) {
        blocks.push_back(0);
        continue;
      }
      // One colour: the channel means.
      uint32_t sr = 0, sg = 0, sb = 0;
      for (uint16_t c : s) sr += c >> 11, sg += (c >> 5) & 63, sb += c & 31;
      const uint16_t mean = static_cast<uint16_t>((sr + 8) / 16 << 11 | (sg + 8) / 16 << 5 | (sb + 8) / 16);
      worst = 0;
      for (uint16_t c : s) worst = std::max(worst, colourDistance(c, mean));
      if (worst <= m_tolerance) {
        blocks.push_back(1);
        put16(&blocks, mean);
        for (uint16_t* p : r) *p = mean;
        continue;
      }
      // Two colours: the darkest and the brightest, each pixel to the nearer.
      uint16_t c0 = s[0], c1 = s[0];
      for (uint16_t c : s) {
        if (brightnessKey(c) < brightnessKey(c0)) c0 = c;
        if (brightnessKey(c) > brightnessKey(c1)) c1 = c;
      }
      uint16_t mask = 0;
      worst = 0;
      for (int i = 0; i < 16; ++i) {
        const int d0 = colourDistance(s[i], c0), d1 = colourDistance(s[i], c1);
        if (d1 < d0) mask |= static_cast<uint16_t>(1u << i);
        worst = std::max(worst, std::min(d0, d1));
      }
      if (worst <= m_tolerance) {
        blocks.push_back(2);
        put16(&blocks, c0);
        put16(&blocks, c1);
        put16(&blocks, mask);
        for (int i = 0; i < 16; ++i) *r[i] = (mask >> i) & 1 ? c1 : c0;
        continue;
      }
      blocks.push_back(3);
      for (int i = 0; i < 16; ++i) {
        put16(&blocks, s[i]);
        *r[i] = s[i];
      }
    }
  }
  uLongf packedSize = compressBound(static_cast<uLong>(blocks.size()));
  std::vector<uint8_t> packed(packedSize);
  compress2(packed.data(), &packedSize, blocks.data(), static_cast<uLong>(blocks.size()), 6);
  packed.resize(packedSize);

  std::vector<uint8_t> sound;
  if (m_header.precision == 16) {
    for (uint32_t i = 0; i < samples; ++i) put16(&sound, static_cast<uint16_t>(pcm[i]));
  } else if (m_header.precision == 4) {
    put16(&sound, samples);
    put16(&sound, static_cast<uint16_t>(m_adpcm.predictor));
    sound.push_back(static_cast<uint8_t>(m_adpcm.stepIndex));
    sound.push_back(0);
    for (uint32_t i = 0; i < samples; i += 2) {
      const uint8_t first = adpcmEncodeOne(pcm[i], &m_adpcm);
      const uint8_t second = i + 1 < samples ? adpcmEncodeOne(pcm[i + 1], &m_adpcm) : 0;
      sound.push_back(static_cast<uint8_t>(first << 4 | second));
    }
  }
  std::vector<uint8_t> body(packed);
  body.insert(body.end(), sound.begin(), sound.end());
  put32(out, static_cast<uint32_t>(packed.size()));
  put32(out, static_cast<uint32_t>(sound.size()));
  put32(out, movieCrc32(body.data(), body.size()));
  out->insert(out->end(), body.begin(), body.end());
}

// ---- Conversion ---------------------------------------------------------------

void MovieConverter::formatSet(const MoviePixelFormat& f) {
  m_ready = true;
  const MoviePixelFormat same;
  if (f.redShift == same.redShift && f.redWidth == same.redWidth && f.greenShift == same.greenShift &&
      f.greenWidth == same.greenWidth && f.blueShift == same.blueShift && f.blueWidth == same.blueWidth) {
    m_table.clear();
    return;
  }
  m_table.resize(65536);
  auto place = [](uint32_t v8, int shift, int width) {
    width = std::clamp(width, 1, 8);
    return static_cast<uint32_t>((v8 >> (8 - width)) << std::clamp(shift, 0, 15));
  };
  for (uint32_t v = 0; v < 65536; ++v) {
    const uint32_t r5 = v >> 11, g6 = (v >> 5) & 63, b5 = v & 31;
    const uint32_t r8 = r5 << 3 | r5 >> 2, g8 = g6 << 2 | g6 >> 4, b8 = b5 << 3 | b5 >> 2;
    m_table[v] = static_cast<uint16_t>(place(r8, f.redShift, f.redWidth) | place(g8, f.greenShift, f.greenWidth) |
                                       place(b8, f.blueShift, f.blueWidth));
  }
}

void MovieConverter::convert(const uint16_t* frame, int w, int h, uint16_t* target, int pitch, int tw, int th) const {
  if (!m_ready || w <= 0 || h <= 0) return;
  const bool same = m_table.empty();
  const int f = std::max(1, std::min(tw / w, th / h));
  const int dw = std::min(w * f, tw), dh = std::min(h * f, th);
  const int ox = (tw - dw) / 2, oy = (th - dh) / 2;
  for (int y = 0; y < th; ++y) {
    uint16_t* row = target + static_cast<ptrdiff_t>(y) * pitch;
    if (y < oy || y >= oy + dh) {
      std::fill(row, row + tw, 0);
      continue;
    }
    if ((y - oy) % f != 0) {
      std::memcpy(row, row - pitch, static_cast<size_t>(tw) * 2);
      continue;
    }
    const uint16_t* src = frame + static_cast<size_t>((y - oy) / f) * w;
    std::fill(row, row + ox, 0);
    uint16_t* out = row + ox;
    for (int x = 0; x < dw; x += f) {
      const uint16_t px = same ? src[x / f] : m_table[src[x / f]];
      for (int k = 0; k < f && x + k < dw; ++k) out[x + k] = px;
    }
    std::fill(row + ox + dw, row + tw, 0);
  }
}

}  // namespace platform
