// Megapixels per second and time per call of the kernel families, for a
// 640x480 frame, a 4096x2048 frame and a glyph-sized frame, beside row-wise
// memcpy and std::fill over the same rows in the same run.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

#include "display/blit/qdl_blit.h"
#include "display/blit/qdl_blit_simd.h"
#include "display/qdl.h"

namespace {

struct Size {
  int w, h;
};
const Size kSizes[] = {{640, 480}, {4096, 2048}, {12, 16}};

enum Kind { kRawFrame, kLiteralRuns, kFillRuns };

// A frame of w x h, raw or with runs of 127 pixels (literal or fill).
struct Frame {
  std::vector<uint8_t> data;
  uint16_t table[256];
  QDLPalette palette{};
  QDLSpriteBank bank{};
  QDLFrame frame{};
  Frame(int w, int h, int bytes, uint32_t formatCode, Kind kind) {
    std::mt19937 rng(1);
    for (int j = 0; j < h; ++j) {
      size_t start = data.size();
      data.resize(start + 2);
      if (kind == kRawFrame) {
        for (int i = 0; i < w * bytes; ++i) data.push_back(static_cast<uint8_t>(rng()));
      } else {
        for (int i = 0; i < w;) {
          int n = std::min(127, w - i);
          data.push_back(static_cast<uint8_t>(n));
          int count = kind == kLiteralRuns ? n : 1;
          for (int k = 0; k < count * bytes; ++k) data.push_back(static_cast<uint8_t>(rng()));
          i += n;
        }
        data.push_back(0);
        if ((data.size() - start) & 1) data.push_back(0);
      }
      uint16_t len = static_cast<uint16_t>(data.size() - start);
      std::memcpy(&data[start], &len, 2);
    }
    for (int i = 0; i < 256; ++i) table[i] = static_cast<uint16_t>(rng());
    palette.colourTable = table;
    bank.formatCode = formatCode;
    bank.sourceBytesPerPixel = static_cast<uint32_t>(bytes);
    bank.colourTable = table;
    bank.palette = &palette;
    frame.width = static_cast<int16_t>(std::min(w, 32767));
    frame.height = static_cast<int16_t>(h);
    frame.encoding = kind == kRawFrame ? QDLENC_RAW : kind == kLiteralRuns ? QDLENC_RLE : QDLENC_RLE_FILL;
    frame.pixels = data.data();
    frame.bank = &bank;
  }
};

struct Surface {
  std::vector<uint8_t> memory;
  QDLSurface s{};
  Surface(int w, int h, int bytes, uint16_t formatCode) {
    memory.assign(static_cast<size_t>(w) * h * bytes + 64, 0x33);
    s.width = w;
    s.height = h;
    s.bitsPerPixel = bytes * 8;
    s.flags = QDLSURF_MEMORY;
    s.locked = 1;
    s.pixels = memory.data();
    s.block = memory.data();
    s.pitch = w * bytes;
    s.formatCode = formatCode;
    s.bytesPerPixel = static_cast<uint16_t>(bytes);
    s.redShift = 11;
    s.greenShift = 5;
  }
};

void SetCounters(benchmark::State& state, int w, int h) {
  state.counters["Mpx/s"] = benchmark::Counter(static_cast<double>(w) * h / 1e6,
                                               benchmark::Counter::kIsIterationInvariantRate);
}

// KORVENA_BLIT_SET=0..3 runs the kernels with the scalar, SSE2, AVX2 or
// AVX-512 set instead of the widest this processor has. The set is named in
// the run's context and put in place when the first blit benchmark starts
// (the library picks its own set while the program starts up).
int ChosenSet() {
  static const int set = [] {
    if (const char* e = std::getenv("KORVENA_BLIT_SET")) {
      const int n = std::atoi(e);
      if (QDLBlitSimdSetGet(n) != nullptr) return n;
      std::fprintf(stderr, "blit set %s is not available here\n", e);
    }
    for (int n = 3; n > 0; --n)
      if (QDLBlitSimdSetGet(n) != nullptr) return n;
    return 0;
  }();
  return set;
}
struct SetName {
  SetName() { benchmark::AddCustomContext("blit_set", QDLBlitSimdSetGet(ChosenSet())->name); }
} gSetName;

double Seconds(std::chrono::steady_clock::time_point a, std::chrono::steady_clock::time_point b) {
  return std::chrono::duration<double>(b - a).count();
}

// One blit family: source bytes, destination bytes, mode flags, level, frame
// kind. "vs_memcpy" compares it with a row-wise memcpy of the same rows (from
// a buffer laid out like a raw frame into one the destination's size):
// memcpy time over blit time, 1.0 meaning as fast as memcpy. Each is timed in
// a loop of its own over its own warm buffers, so that neither pushes the
// other's data out of the cache; the ratio takes the fastest round of each,
// so that other work on a busy machine does not decide it.
void BlitFamily(benchmark::State& state, int srcBytes, int dstBytes, uint32_t flags, uint16_t level,
                Kind kind) {
  const Size sz = kSizes[state.range(0)];
  const uint32_t fmt = srcBytes == 1 ? 1 : srcBytes == 2 ? 0x42 : srcBytes == 3 ? 8 : 16;
  const uint16_t dfmt = dstBytes == 1 ? 1 : dstBytes == 2 ? 0x42 : dstBytes == 3 ? 8 : 16;
  QDLBlitSimdSelectForTest(ChosenSet());
  Frame f(sz.w, sz.h, srcBytes, fmt, kind);
  Surface s(sz.w, sz.h, dstBytes, dfmt);
  QDLBlitParams p{};
  p.level = level;
  p.colour = 0xFFFF;
  const size_t row = static_cast<size_t>(sz.w) * dstBytes;
  std::vector<uint8_t> copySrc(static_cast<size_t>(sz.h) * (row + 2), 1);
  std::vector<uint8_t> copyDst(static_cast<size_t>(sz.h) * row, 0);
  double blitTime = 1e30, copyTime = 1e30;
  for (int round = 0; round < 64; ++round) {
    const auto t0 = std::chrono::steady_clock::now();
    for (int j = 0; j < sz.h; ++j) std::memcpy(&copyDst[j * row], &copySrc[j * (row + 2) + 2], row);
    benchmark::ClobberMemory();
    copyTime = std::min(copyTime, Seconds(t0, std::chrono::steady_clock::now()));
  }
  for (auto _ : state) {
    const auto t0 = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(QDLBlit(&s.s, &f.frame, 0, 0, flags, &p));
    benchmark::ClobberMemory();
    const double b = Seconds(t0, std::chrono::steady_clock::now());
    blitTime = std::min(blitTime, b);
    state.SetIterationTime(b);
  }
  SetCounters(state, sz.w, sz.h);
  if (blitTime > 0 && blitTime < 1e30) state.counters["vs_memcpy"] = copyTime / blitTime;
}

// Row-wise memcpy over the same rows.
void Memcpy(benchmark::State& state, int bytes) {
  const Size sz = kSizes[state.range(0)];
  std::vector<uint8_t> src(static_cast<size_t>(sz.w) * sz.h * bytes + 2 * sz.h, 1);
  std::vector<uint8_t> dst(static_cast<size_t>(sz.w) * sz.h * bytes, 0);
  const size_t row = static_cast<size_t>(sz.w) * bytes;
  for (auto _ : state) {
    for (int j = 0; j < sz.h; ++j) std::memcpy(&dst[j * row], &src[j * (row + 2) + 2], row);
    benchmark::ClobberMemory();
  }
  SetCounters(state, sz.w, sz.h);
}

void Fill16(benchmark::State& state) {
  const Size sz = kSizes[state.range(0)];
  std::vector<uint16_t> dst(static_cast<size_t>(sz.w) * sz.h, 0);
  for (auto _ : state) {
    for (int j = 0; j < sz.h; ++j) std::fill_n(&dst[static_cast<size_t>(j) * sz.w], sz.w, uint16_t{0x1234});
    benchmark::ClobberMemory();
  }
  SetCounters(state, sz.w, sz.h);
}

#define SIZES ->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond)
#define BLIT_SIZES ->Arg(0)->Arg(1)->Arg(2)->UseManualTime()->Unit(benchmark::kMicrosecond)

BENCHMARK_CAPTURE(Memcpy, bytes2, 2) SIZES;
BENCHMARK_CAPTURE(Memcpy, bytes3, 3) SIZES;
BENCHMARK_CAPTURE(Memcpy, bytes4, 4) SIZES;
BENCHMARK_CAPTURE(Memcpy, bytes1, 1) SIZES;
BENCHMARK(Fill16) SIZES;
BENCHMARK_CAPTURE(BlitFamily, p16to16_plain_raw, 2, 2, 0, 0, kRawFrame) BLIT_SIZES;
BENCHMARK_CAPTURE(BlitFamily, p16to16_plain_rle, 2, 2, 0, 0, kLiteralRuns) BLIT_SIZES;
BENCHMARK_CAPTURE(BlitFamily, p16to16_plain_fill, 2, 2, 0, 0, kFillRuns) BLIT_SIZES;
BENCHMARK_CAPTURE(BlitFamily, p16to16_plain_mirrorx_raw, 2, 2, QDLBLIT_MIRROR_X, 0, kRawFrame) BLIT_SIZES;
BENCHMARK_CAPTURE(BlitFamily, p16to16_key_raw, 2, 2, QDLBLIT_KEY, 0, kRawFrame) BLIT_SIZES;
BENCHMARK_CAPTURE(BlitFamily, p16to16_solid_rle, 2, 2, QDLBLIT_SOLID, 0, kLiteralRuns) BLIT_SIZES;
BENCHMARK_CAPTURE(BlitFamily, p16to16_half_raw, 2, 2, QDLBLIT_TRANSLUCENT, 15, kRawFrame) BLIT_SIZES;
BENCHMARK_CAPTURE(BlitFamily, p16to16_half_rle, 2, 2, QDLBLIT_TRANSLUCENT, 15, kLiteralRuns) BLIT_SIZES;
BENCHMARK_CAPTURE(BlitFamily, p16to16_trans_raw, 2, 2, QDLBLIT_TRANSLUCENT, 9, kRawFrame) BLIT_SIZES;
BENCHMARK_CAPTURE(BlitFamily, p16to16_trans_fill, 2, 2, QDLBLIT_TRANSLUCENT, 9, kFillRuns) BLIT_SIZES;
BENCHMARK_CAPTURE(BlitFamily, p16to16_alpha_raw, 2, 2, QDLBLIT_ALPHAMAP, 0, kRawFrame) BLIT_SIZES;
BENCHMARK_CAPTURE(BlitFamily, p16to16_alpha_fill, 2, 2, QDLBLIT_ALPHAMAP, 0, kFillRuns) BLIT_SIZES;
BENCHMARK_CAPTURE(BlitFamily, p16to16_trans_mirrorx_raw, 2, 2, QDLBLIT_TRANSLUCENT | QDLBLIT_MIRROR_X, 9, kRawFrame) BLIT_SIZES;
BENCHMARK_CAPTURE(BlitFamily, p8to16_plain_raw, 1, 2, 0, 0, kRawFrame) BLIT_SIZES;
BENCHMARK_CAPTURE(BlitFamily, p8to16_plain_rle, 1, 2, 0, 0, kLiteralRuns) BLIT_SIZES;
BENCHMARK_CAPTURE(BlitFamily, p8to16_half_raw, 1, 2, QDLBLIT_TRANSLUCENT, 15, kRawFrame) BLIT_SIZES;
BENCHMARK_CAPTURE(BlitFamily, p8to16_trans_raw, 1, 2, QDLBLIT_TRANSLUCENT, 9, kRawFrame) BLIT_SIZES;
BENCHMARK_CAPTURE(BlitFamily, p8to16_alpha_rle, 1, 2, QDLBLIT_ALPHAMAP, 0, kLiteralRuns) BLIT_SIZES;
BENCHMARK_CAPTURE(BlitFamily, p8to16_alpha_raw, 1, 2, QDLBLIT_ALPHAMAP, 0, kRawFrame) BLIT_SIZES;
BENCHMARK_CAPTURE(BlitFamily, p8to16_trans_fill, 1, 2, QDLBLIT_TRANSLUCENT, 9, kFillRuns) BLIT_SIZES;
BENCHMARK_CAPTURE(BlitFamily, p8to16_solid_rle, 1, 2, QDLBLIT_SOLID, 0, kLiteralRuns) BLIT_SIZES;
BENCHMARK_CAPTURE(BlitFamily, p8to16_half_rle, 1, 2, QDLBLIT_TRANSLUCENT, 15, kLiteralRuns) BLIT_SIZES;
BENCHMARK_CAPTURE(BlitFamily, p8to8_plain_raw, 1, 1, 0, 0, kRawFrame) BLIT_SIZES;
BENCHMARK_CAPTURE(BlitFamily, p24to24_plain_raw, 3, 3, 0, 0, kRawFrame) BLIT_SIZES;
BENCHMARK_CAPTURE(BlitFamily, p24to24_plain_rle, 3, 3, 0, 0, kLiteralRuns) BLIT_SIZES;
BENCHMARK_CAPTURE(BlitFamily, p32to32_plain_raw, 4, 4, 0, 0, kRawFrame) BLIT_SIZES;
BENCHMARK_CAPTURE(BlitFamily, p32to32_plain_rle, 4, 4, 0, 0, kLiteralRuns) BLIT_SIZES;

}  // namespace
