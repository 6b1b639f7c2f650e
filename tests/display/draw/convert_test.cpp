// Pixel conversion a row at a time against the pixel-at-a-time path it
// replaced: every converted pixel and every draw of the dither generator must
// be the same. The reference model below is the old path, kept here only.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "display/qdl.h"
#include "display/qdl_bank.h"
#include "display/qdl_convert.h"
#include "display/qdl_palette.h"

namespace {

// ---- Reference model: one pixel at a time through the library's calls ----------------

uint32_t RefRead(const uint8_t* p, uint32_t bpp) {
  uint32_t v = 0;
  for (uint32_t i = 0; i < bpp; ++i) v |= static_cast<uint32_t>(p[i]) << (8 * i);
  return v;
}

// A bank pixel as the conversion packed it: an indexed source by its palette
// (grey without an entry), others through QDLPixelToRGB; indices stay
// indices on an indexed target when the bank has a palette.
uint32_t RefBankPixel(uint32_t v, uint32_t src, uint32_t dst, const QDLPalette* pal, bool dither) {
  uint8_t r = 0, g = 0, b = 0;
  if ((src & QDLFORMAT_SIZE_MASK) == QDLFORMAT_INDEXED8) {
    if (pal != nullptr && pal->entries != nullptr && v < pal->entryCount * pal->paletteCount) {
      r = pal->entries[v].red;
      g = pal->entries[v].green;
      b = pal->entries[v].blue;
    } else {
      r = g = b = static_cast<uint8_t>(v);
    }
  } else {
    QDLPixelToRGB(v, src, &r, &g, &b);
  }
  if ((dst & QDLFORMAT_SIZE_MASK) == QDLFORMAT_INDEXED8 && pal != nullptr &&
      (src & QDLFORMAT_SIZE_MASK) == QDLFORMAT_INDEXED8)
    return v;
  return dither ? QDLRGBToPixelDither(dst, r, g, b) : QDLRGBToPixel(dst, r, g, b);
}

void RefPut(std::vector<uint8_t>& out, uint32_t v, uint32_t bpp) {
  for (uint32_t i = 0; i < bpp; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// The whole bank conversion as it was: frames in order, each row's pixels
// one at a time, rows padded to even length, frames at even offsets.
std::vector<uint8_t> RefConvertBank(const QDLSpriteBank* bank, uint32_t dst, bool dither) {
  const uint32_t sb = QDLFormatBitsPerPixel(bank->formatCode) / 8, db = QDLFormatBitsPerPixel(dst) / 8;
  std::vector<uint8_t> out;
  for (int32_t f = 0; f < bank->frameCount; ++f) {
    const QDLFrame& fr = bank->frames[f];
    if (fr.encoding == QDLENC_NONE) continue;
    if (out.size() & 1) out.push_back(0);
    const uint8_t* p = fr.pixels;
    for (int32_t row = 0; row < fr.height; ++row) {
      const size_t start = out.size();
      out.push_back(0);
      out.push_back(0);
      const uint32_t len = static_cast<uint32_t>(p[0] | (p[1] << 8));
      uint32_t used = 2;
      auto pixel = [&] {
        RefPut(out, RefBankPixel(RefRead(p + used, sb), bank->formatCode, dst, bank->palette, dither), db);
        used += sb;
      };
      if (fr.encoding == QDLENC_RAW) {
        for (int32_t x = 0; x < fr.width; ++x) pixel();
      } else {
        for (;;) {
          const int8_t c = static_cast<int8_t>(p[used++]);
          out.push_back(static_cast<uint8_t>(c));
          if (c == 0) break;
          if (c < 0) continue;
          for (int32_t k = 0; k < (fr.encoding == QDLENC_RLE ? c : 1); ++k) pixel();
        }
      }
      if ((out.size() - start) & 1) out.push_back(0);
      const size_t rowLen = row == fr.height - 1 ? 0 : out.size() - start;
      out[start] = static_cast<uint8_t>(rowLen);
      out[start + 1] = static_cast<uint8_t>(rowLen >> 8);
      p += len;
    }
  }
  return out;
}

// A surface pixel copied to another surface as the copies did it.
uint32_t RefSurfacePixel(QDLSurface* dst, QDLSurface* src, uint32_t v) {
  if (dst->formatCode == src->formatCode) return v;
  uint8_t r = 0, g = 0, b = 0;
  QDLSurfacePixelToRGB(src, v, &r, &g, &b);
  return QDLSurfaceRGBToPixel(dst, r, g, b);
}

// ---- Fixtures ------------------------------------------------------------------------

struct ConvertTest : ::testing::Test {
  void SetUp() override {
    QDLSurfacePoolInit();
    QDLPalettePoolInit();
    QDLSpriteBankPoolInit();
  }
  void TearDown() override {
    QDLSpriteBankFreeAll();
    QDLPaletteFreeAll();
    QDLSurfaceFreeAll();
    QDLRandomSeed(9431459);
  }
  // A palette of `count` entries, the rest of 256 unset.
  static QDLPalette* MakePalette(uint32_t count, std::mt19937& rng) {
    QDLPalette* pal = QDLPaletteCreate(count, 1, 0);
    std::vector<QDLPaletteEntry> e(count);
    for (auto& x : e) x = {static_cast<uint8_t>(rng()), static_cast<uint8_t>(rng()), static_cast<uint8_t>(rng()), 0};
    QDLPaletteSetEntries(pal, e.data(), 0, count);
    return pal;
  }
};

// Formats on both sides: indexed, the two 16-bit layouts in two component
// orders, 24 and 32 bits in two orders, and a code of no known size.
const uint32_t kFormats[] = {
    QDLFORMAT_INDEXED8,
    QDLFORMAT_RGB565,
    QDLFORMAT_RGB565 | QDLFORMAT_ORDER_BGR,
    QDLFORMAT_RGB15,
    QDLFORMAT_RGB15 | QDLFORMAT_ORDER_GRB,
    QDLFORMAT_RGB24,
    QDLFORMAT_RGB24 | QDLFORMAT_ORDER_BGR,
    QDLFORMAT_RGB32,
    QDLFORMAT_RGB32 | QDLFORMAT_ORDER_BRG,
    0x3,
};

uint32_t BytesOf(uint32_t format) {
  const uint32_t b = QDLFormatBitsPerPixel(format) / 8;
  return b ? b : 2;  // an unknown code is read as 16-bit values here
}

// Source values: every value of 8-bit and 5-6-5 pixels; for the other
// layouts the corners and every component value (by its byte) plus random
// values.
std::vector<uint8_t> SourceRow(uint32_t format, std::mt19937& rng, uint32_t* pCount) {
  const uint32_t bpp = BytesOf(format);
  std::vector<uint8_t> row;
  const uint32_t n = bpp == 1 ? 256 : format == QDLFORMAT_RGB565 ? 65536 : 4096;
  for (uint32_t i = 0; i < n; ++i) {
    uint32_t v = i < 2 ? (i ? 0xFFFFFFFFu : 0u) : static_cast<uint32_t>(rng());
    if (n == 65536 || bpp == 1) v = i;
    else if (i < 256) v = i * 0x01010101u;
    for (uint32_t k = 0; k < bpp; ++k) row.push_back(static_cast<uint8_t>(v >> (8 * k)));
  }
  *pCount = n;
  return row;
}

TEST_F(ConvertTest, RowsMatchThePerPixelCallsForEveryPairOfFormats) {
  std::mt19937 rng(7);
  QDLPalette* palettes[3] = {nullptr, MakePalette(256, rng), MakePalette(100, rng)};
  for (uint32_t src : kFormats) {
    uint32_t n = 0;
    const std::vector<uint8_t> row = SourceRow(src, rng, &n);
    const uint32_t sb = BytesOf(src);
    for (uint32_t dst : kFormats) {
      if (QDLFormatBitsPerPixel(dst) == 0) continue;  // nothing converts to a code of no size
      const uint32_t db = QDLFormatBitsPerPixel(dst) / 8;
      for (QDLPalette* pal : palettes) {
        if (pal != nullptr && (src & QDLFORMAT_SIZE_MASK) != QDLFORMAT_INDEXED8) continue;
        for (bool dither : {false, true}) {
          SCOPED_TRACE(::testing::Message() << std::hex << "from 0x" << src << " to 0x" << dst << std::dec
                                            << " palette " << (pal ? pal->entryCount : 0) << " dither " << dither);
          // The reference, pixel by pixel, and where it leaves the generator.
          QDLRandomSeed(1234567u + src + dst);
          std::vector<uint8_t> expect;
          for (uint32_t i = 0; i < n; ++i) RefPut(expect, RefBankPixel(RefRead(&row[i * sb], sb), src, dst, pal, dither), db);
          const uint32_t refNext = QDLRandom();

          QDLPixelConverter conv;
          QDLPixelConverterForFormats(&conv, src, dst, pal, pal ? pal->entryCount * pal->paletteCount : 0, dither,
                                      pal != nullptr);
          if (QDLFormatBitsPerPixel(src) == 0) conv.srcBytes = sb;
          QDLRandomSeed(1234567u + src + dst);
          std::vector<uint8_t> got(expect.size(), 0xEE);
          QDLPixelConvertRow(&conv, got.data(), row.data(), n);
          ASSERT_EQ(got, expect);
          EXPECT_EQ(QDLRandom(), refNext);

          // One pixel at a time through the same converter: the same values
          // and the same draws.
          uint32_t seed = 1234567u + src + dst;
          std::vector<uint8_t> single;
          for (uint32_t i = 0; i < n; ++i) RefPut(single, QDLPixelConvert(conv, RefRead(&row[i * sb], sb), &seed), db);
          ASSERT_EQ(single, expect);
          QDLRandomSeed(seed);
          EXPECT_EQ(QDLRandom(), refNext);
        }
      }
    }
  }
}

// Random banks in every source format, every encoding and width (empty
// frames and odd rows among them), converted to every target.
TEST_F(ConvertTest, BanksConvertByteForByteAsBefore) {
  std::mt19937 rng(11);
  for (uint32_t src : kFormats) {
    const uint32_t sb = QDLFormatBitsPerPixel(src) / 8;
    if (sb == 0) continue;
    for (int withPalette = 0; withPalette < 2; ++withPalette) {
      if (withPalette && sb != 1) continue;
      // Frames: raw, literal runs, fill runs, none; widths 0 to 300.
      std::vector<uint8_t> data;
      std::vector<QDLFrame> frames;
      std::vector<size_t> offsets;
      for (int f = 0; f < 12; ++f) {
        QDLFrame fr{};
        fr.encoding = static_cast<int16_t>(f % 4 == 3 ? QDLENC_NONE : f % 4 == 0 ? QDLENC_RAW : f % 4 == 1 ? QDLENC_RLE : QDLENC_RLE_FILL);
        fr.width = static_cast<int16_t>(f == 4 ? 1 : rng() % 300);
        fr.height = static_cast<int16_t>(1 + rng() % 6);
        if (data.size() & 1) data.push_back(0);
        offsets.push_back(data.size());
        if (fr.encoding != QDLENC_NONE) {
          for (int y = 0; y < fr.height; ++y) {
            const size_t start = data.size();
            data.push_back(0);
            data.push_back(0);
            if (fr.encoding == QDLENC_RAW) {
              for (uint32_t k = 0; k < fr.width * sb; ++k) data.push_back(static_cast<uint8_t>(rng()));
            } else {
              for (int x = 0; x < fr.width;) {
                const int run = std::min<int>(1 + static_cast<int>(rng() % 127), fr.width - x);
                if (rng() % 3 == 0) {
                  data.push_back(static_cast<uint8_t>(static_cast<int8_t>(-run)));
                } else {
                  data.push_back(static_cast<uint8_t>(run));
                  const int stored = fr.encoding == QDLENC_RLE ? run : 1;
                  for (uint32_t k = 0; k < stored * sb; ++k) data.push_back(static_cast<uint8_t>(rng()));
                }
                x += run;
              }
              data.push_back(0);
            }
            if ((data.size() - start) & 1) data.push_back(0);
            const size_t len = y == fr.height - 1 ? 0 : data.size() - start;
            data[start] = static_cast<uint8_t>(len);
            data[start + 1] = static_cast<uint8_t>(len >> 8);
          }
        }
        frames.push_back(fr);
      }
      QDLSpriteBank* bank = QDLSpriteBankCreate(static_cast<int32_t>(frames.size()), static_cast<uint32_t>(data.size()), 0);
      ASSERT_NE(bank, nullptr);
      std::memcpy(bank->pixelData, data.data(), data.size());
      bank->formatCode = src;
      bank->sourceBytesPerPixel = sb;
      if (withPalette) bank->palette = MakePalette(200, rng);
      for (size_t f = 0; f < frames.size(); ++f) {
        bank->frames[f] = frames[f];
        bank->frames[f].bank = bank;
        bank->frames[f].pixels = frames[f].encoding == QDLENC_NONE ? nullptr : bank->pixelData + offsets[f];
      }
      for (uint32_t dst : kFormats) {
        if (QDLFormatBitsPerPixel(dst) == 0) continue;
        for (bool dither : {false, true}) {
          SCOPED_TRACE(::testing::Message() << std::hex << "from 0x" << src << " to 0x" << dst << std::dec
                                            << " palette " << withPalette << " dither " << dither);
          QDLRandomSeed(99u + dst);
          const std::vector<uint8_t> expect = RefConvertBank(bank, dst, dither);
          const uint32_t refNext = QDLRandom();
          QDLRandomSeed(99u + dst);
          QDLSpriteBank* got = QDLSpriteBankConvert(bank, dst, dither ? static_cast<uint32_t>(QDLCONVERT_DITHER) : 0u);
          ASSERT_NE(got, nullptr);
          EXPECT_EQ(QDLRandom(), refNext);
          ASSERT_EQ(got->pixelDataSize, expect.size());
          EXPECT_EQ(std::memcmp(got->pixelData, expect.data(), expect.size()), 0);
          QDLSpriteBankFree(got);
        }
      }
      QDLSpriteBankFree(bank);
    }
  }
}

// The game's own front-end sheets, converted to the display's 5-6-5 with
// the dither as the first run does, one after the other (the generator runs
// on from sheet to sheet): the same bytes as the old path.
TEST_F(ConvertTest, TheFrontEndSheetsConvertAsBefore) {
  const char* build = std::getenv("KORVENA_BUILD_DIR");
  ASSERT_NE(build, nullptr);
  const std::filesystem::path folder = std::filesystem::path(build) / "data" / "frontend";
  const char* const names[] = {"condi", "maineng", "mainfra", "mainger", "mainspa", "mainita", "mainpor",
                               "sides", "tactics", "team",    "fhfl",    "fhgt",    "fhnews",  "fhops",
                               "fhroh", "fhset",   "options", "loadsave", "cont",   "fhmain"};
  uint32_t seedRef = 9431459, seedNew = 9431459;
  size_t pixels = 0;
  for (const char* name : names) {
    SCOPED_TRACE(name);
    const std::string path = (folder / (std::string(name) + ".spr")).string();
    QDLSpriteBank* bank = QDLSpriteBankLoad(path.c_str(), nullptr, 0);
    ASSERT_NE(bank, nullptr) << path;
    QDLRandomSeed(seedRef);
    const std::vector<uint8_t> expect = RefConvertBank(bank, QDLFORMAT_RGB565, true);
    seedRef = QDLRandom();
    QDLRandomSeed(seedNew);
    QDLSpriteBank* got = QDLSpriteBankConvert(bank, QDLFORMAT_RGB565, QDLCONVERT_DITHER);
    ASSERT_NE(got, nullptr);
    seedNew = QDLRandom();
    EXPECT_EQ(seedNew, seedRef);
    ASSERT_EQ(got->pixelDataSize, expect.size());
    EXPECT_EQ(std::memcmp(got->pixelData, expect.data(), expect.size()), 0);
    pixels += expect.size() / 2;
    QDLSpriteBankFree(got);
    QDLSpriteBankFree(bank);
  }
  EXPECT_GT(pixels, 20u * 100000u);  // whole screens, not stubs
}

// Surface copies between every pair of memory formats (8-bit with a partly
// set palette, 15, 16, 24, 32 bits): whole rows, a keyed copy and a scaled
// copy, each against the pixel-by-pixel path.
TEST_F(ConvertTest, SurfaceCopiesConvertAsBefore) {
  std::mt19937 rng(5);
  const int bits[] = {8, 15, 16, 24, 32};
  auto make = [&](int b) {
    QDLSurface* s = QDLSurfaceCreate(37, 9, b, QDLCREATE_MEMORY);
    EXPECT_NE(s, nullptr);
    if (b == 8) QDLSurfaceSetPalette(s, MakePalette(150, rng), 1);
    for (int y = 0; y < s->height; ++y)
      for (int x = 0; x < s->width * s->bytesPerPixel; ++x) s->pixels[y * s->pitch + x] = static_cast<uint8_t>(rng());
    return s;
  };
  auto px = [](QDLSurface* s, int x, int y) { return RefRead(s->pixels + y * s->pitch + x * s->bytesPerPixel, s->bytesPerPixel); };
  for (int sbits : bits)
    for (int dbits : bits) {
      SCOPED_TRACE(::testing::Message() << sbits << " to " << dbits);
      QDLSurface* src = make(sbits);
      QDLSurface* before = make(dbits);
      QDLSurface* dst = make(dbits);
      std::memcpy(dst->pixels, before->pixels, static_cast<size_t>(dst->pitch) * dst->height);
      // Whole rows, placed off the corner.
      ASSERT_EQ(QDLSurfaceBlitXY(dst, 3, 2, src, 1, 1, 30, 6, 0), 0u);
      for (int y = 0; y < dst->height; ++y)
        for (int x = 0; x < dst->width; ++x) {
          const bool in = x >= 3 && x < 33 && y >= 2 && y < 8;
          const uint32_t want = in ? RefSurfacePixel(dst, src, px(src, x - 2, y - 1)) : px(before, x, y);
          ASSERT_EQ(px(dst, x, y), want) << x << "," << y;
        }
      // Keyed: pixels equal to the source's key are left alone.
      src->colourKeySet = 1;
      src->colourKey = px(src, 0, 0);
      std::memcpy(dst->pixels, before->pixels, static_cast<size_t>(dst->pitch) * dst->height);
      ASSERT_EQ(QDLSurfaceCopy(dst, src, QDLSURFBLIT_KEY), 0u);
      for (int y = 0; y < dst->height; ++y)
        for (int x = 0; x < dst->width; ++x) {
          const uint32_t v = px(src, x, y);
          ASSERT_EQ(px(dst, x, y), v == src->colourKey ? px(before, x, y) : RefSurfacePixel(dst, src, v));
        }
      // Scaled to twice the width.
      std::memcpy(dst->pixels, before->pixels, static_cast<size_t>(dst->pitch) * dst->height);
      const QDLRectI16 from{0, 0, 10, 9}, to{4, 0, 20, 9};
      ASSERT_EQ(QDLSurfaceBlitStretch(dst, &to, src, &from, 0), 0u);
      for (int y = 0; y < 9; ++y)
        for (int x = 4; x < 24; ++x) ASSERT_EQ(px(dst, x, y), RefSurfacePixel(dst, src, px(src, (x - 4) / 2, y)));
    }
}

}  // namespace
