#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "display/q2dx.h"
#include "display/qdl_image.h"
#include "support/temp_dir.h"

namespace {

using Bytes = std::vector<uint8_t>;

void P16(Bytes* b, uint32_t v) {
  b->push_back(static_cast<uint8_t>(v));
  b->push_back(static_cast<uint8_t>(v >> 8));
}
void P32(Bytes* b, uint32_t v) {
  P16(b, v & 0xFFFF);
  P16(b, v >> 16);
}

Bytes TgaHeader(uint8_t type, uint16_t w, uint16_t h, uint8_t depth, uint8_t desc,
                uint16_t mapLen = 0, uint8_t mapBits = 0, uint8_t idLen = 0) {
  Bytes b = {idLen, static_cast<uint8_t>(mapLen ? 1 : 0), type};
  P16(&b, 0);
  P16(&b, mapLen);
  b.push_back(mapBits);
  P16(&b, 0);
  P16(&b, 0);
  P16(&b, w);
  P16(&b, h);
  b.push_back(depth);
  b.push_back(desc);
  for (int i = 0; i < idLen; ++i) b.push_back(0xEE);
  return b;
}

// Reads into a 32-bit memory buffer; returns the pixels as 0xRRGGBB words.
std::vector<uint32_t> ReadTga(const Bytes& b, int* pW = nullptr, int* pH = nullptr) {
  QDLSurfaceDesc d;
  uint8_t* p = static_cast<uint8_t*>(QDLTGAReadMemory(b.data(), b.size(), nullptr, &d, QDLIMG_MEMORY));
  std::vector<uint32_t> out;
  if (!p) return out;
  for (int i = 0; i < d.width * d.height; ++i)
    out.push_back(p[i * 4] | (p[i * 4 + 1] << 8) | (p[i * 4 + 2] << 16) | (static_cast<uint32_t>(p[i * 4 + 3]) << 24));
  if (pW) *pW = d.width;
  if (pH) *pH = d.height;
  std::free(p);
  return out;
}

std::vector<uint32_t> ReadBmp(const Bytes& b) {
  QDLSurfaceDesc d;
  uint8_t* p = static_cast<uint8_t*>(QDLBMPReadMemory(b.data(), b.size(), nullptr, &d, QDLIMG_MEMORY));
  std::vector<uint32_t> out;
  if (!p) return out;
  for (int i = 0; i < d.width * d.height; ++i)
    out.push_back(p[i * 4] | (p[i * 4 + 1] << 8) | (p[i * 4 + 2] << 16));
  std::free(p);
  return out;
}

TEST(ImageTga, TrueColourRowOrderAndDepths) {
  // 2 x 2, 24-bit, bottom row first: file rows (blue, red) then (green, white).
  Bytes b = TgaHeader(2, 2, 2, 24, 0);
  b.insert(b.end(), {255, 0, 0, 0, 0, 255, 0, 255, 0, 255, 255, 255});
  std::vector<uint32_t> px = ReadTga(b);
  ASSERT_EQ(px.size(), 4u);
  EXPECT_EQ(px[0], 0x00FF00u);   // top row comes from the second file row
  EXPECT_EQ(px[1], 0xFFFFFFu);
  EXPECT_EQ(px[2], 0x0000FFu);
  EXPECT_EQ(px[3], 0xFF0000u);
  // Descriptor bit 0x20: first file row is the top row.
  b[17] = 0x20;
  px = ReadTga(b);
  ASSERT_EQ(px.size(), 4u);
  EXPECT_EQ(px[0], 0x0000FFu);
  EXPECT_EQ(px[3], 0xFFFFFFu);
  // 32-bit with an image ID to skip.
  Bytes c = TgaHeader(2, 1, 1, 32, 0x20, 0, 0, 3);
  c.insert(c.end(), {0x10, 0x20, 0x30, 0x80});
  px = ReadTga(c);
  ASSERT_EQ(px.size(), 1u);
  EXPECT_EQ(px[0], 0x302010u);
  // 15- and 16-bit: 5-bit values times 8.
  Bytes d = TgaHeader(2, 2, 1, 16, 0x20);
  P16(&d, 0x8000 | (31 << 10) | (1 << 5) | 2);
  P16(&d, (3 << 10) | (31 << 5));
  px = ReadTga(d);
  ASSERT_EQ(px.size(), 2u);
  EXPECT_EQ(px[0], (248u << 16) | (8u << 8) | 16u);
  EXPECT_EQ(px[1], (24u << 16) | (248u << 8));
  d[16] = 15;
  EXPECT_EQ(ReadTga(d).size(), 2u);
}

TEST(ImageTga, RunLengthPacketsCrossRowEnds) {
  // 3 x 2, top first: a run of 4 red, then 2 raw pixels (green, blue).
  Bytes b = TgaHeader(10, 3, 2, 24, 0x20);
  b.insert(b.end(), {0x83, 0, 0, 255, 0x01, 0, 255, 0, 255, 0, 0});
  std::vector<uint32_t> px = ReadTga(b);
  ASSERT_EQ(px.size(), 6u);
  EXPECT_EQ(px[0], 0xFF0000u);
  EXPECT_EQ(px[3], 0xFF0000u);   // the run continued onto the second row
  EXPECT_EQ(px[4], 0x00FF00u);
  EXPECT_EQ(px[5], 0x0000FFu);
  // A run longer than the image stops at its end.
  Bytes c = TgaHeader(10, 2, 1, 24, 0x20);
  c.insert(c.end(), {0xFF, 1, 2, 3});
  px = ReadTga(c);
  ASSERT_EQ(px.size(), 2u);
  EXPECT_EQ(px[1], 0x030201u);
}

TEST(ImageTga, ColourMappedAndGrey) {
  // Type 1 with a 24-bit map of 3 entries.
  Bytes b = TgaHeader(1, 4, 1, 8, 0x20, 3, 24);
  b.insert(b.end(), {0, 0, 255, 0, 255, 0, 255, 0, 0});
  b.insert(b.end(), {0, 1, 2, 1});
  std::vector<uint32_t> px = ReadTga(b);
  ASSERT_EQ(px.size(), 4u);
  EXPECT_EQ(px[0] & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(px[1] & 0xFFFFFF, 0x00FF00u);
  EXPECT_EQ(px[2] & 0xFFFFFF, 0x0000FFu);
  EXPECT_EQ(px[3] & 0xFFFFFF, 0x00FF00u);
  // Type 9: the same, run-length coded.
  Bytes c = TgaHeader(9, 4, 1, 8, 0x20, 3, 24);
  c.insert(c.end(), {0, 0, 255, 0, 255, 0, 255, 0, 0});
  c.insert(c.end(), {0x82, 1, 0x00, 2});
  px = ReadTga(c);
  ASSERT_EQ(px.size(), 4u);
  EXPECT_EQ(px[2] & 0xFFFFFF, 0x00FF00u);
  EXPECT_EQ(px[3] & 0xFFFFFF, 0x0000FFu);
  // Grey, plain (3) and run-length (11).
  Bytes g = TgaHeader(3, 2, 1, 8, 0x20);
  g.insert(g.end(), {0x40, 0x80});
  px = ReadTga(g);
  ASSERT_EQ(px.size(), 2u);
  EXPECT_EQ(px[1] & 0xFFFFFF, 0x808080u);
  Bytes g2 = TgaHeader(11, 2, 1, 8, 0x20);
  g2.insert(g2.end(), {0x81, 0x22});
  px = ReadTga(g2);
  ASSERT_EQ(px.size(), 2u);
  EXPECT_EQ(px[0] & 0xFFFFFF, 0x222222u);
  // Into an 8-bit paletted surface: indices kept, palette from the map.
  Q2DXSurface* s = static_cast<Q2DXSurface*>(QDLTGAReadMemory(b.data(), b.size(), nullptr, nullptr, QDLIMG_PALETTED));
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->pixelFormat.bitCount, 8u);
  EXPECT_EQ(s->pixels[2], 2);
  ASSERT_NE(s->palette, nullptr);
  EXPECT_EQ(s->palette->entries[1].green, 255);
  EXPECT_EQ(s->palette->entries[1].flags, 1);
  Q2DXRelease(s);
}

TEST(ImageTga, IntoA565Surface) {
  QDLPixelFormatDesc f = {QDLPF_RGB, 16, 0xF800, 0x07E0, 0x001F, 0};
  uint8_t pixels[4 * 2 * 2] = {};
  Q2DXSurface* s = Q2DXSurfaceWrapMemory(pixels, 4, 2, 8, &f);
  Bytes b = TgaHeader(2, 2, 1, 24, 0x20);
  b.insert(b.end(), {255, 255, 255, 15, 7, 17});   // white; (17, 7, 15)
  ASSERT_EQ(QDLTGAReadMemory(b.data(), b.size(), s, nullptr, 0), s);
  EXPECT_EQ(pixels[0] | (pixels[1] << 8), 0xFFFF);
  EXPECT_EQ(pixels[2] | (pixels[3] << 8), (2 << 11) | (1 << 5) | 1);
  // A surface smaller than the image is refused.
  Bytes big = TgaHeader(2, 5, 1, 24, 0x20);
  big.resize(big.size() + 15, 0);
  EXPECT_EQ(QDLTGAReadMemory(big.data(), big.size(), s, nullptr, 0), nullptr);
  EXPECT_NE(std::string(QDLImageLastError()), "");
  Q2DXRelease(s);
}

TEST(ImageTga, RefusesBadHeaders) {
  Bytes ok = TgaHeader(2, 1, 1, 24, 0);
  ok.insert(ok.end(), {1, 2, 3});
  EXPECT_EQ(ReadTga(ok).size(), 1u);
  Bytes t = ok;
  t[2] = 32;  // unknown type
  EXPECT_TRUE(ReadTga(t).empty());
  t = ok;
  t[16] = 12;  // unknown depth
  EXPECT_TRUE(ReadTga(t).empty());
  t = ok;
  t[12] = 0;  // width 0
  EXPECT_TRUE(ReadTga(t).empty());
  t = TgaHeader(1, 1, 1, 8, 0);  // colour-mapped without a map
  t.push_back(0);
  EXPECT_TRUE(ReadTga(t).empty());
  EXPECT_EQ(QDLTGAReadMemory(ok.data(), 10, nullptr, nullptr, QDLIMG_MEMORY), nullptr);
  EXPECT_EQ(QDLTGARead("/nonexistent/dir/x.tga", nullptr, nullptr, QDLIMG_MEMORY), nullptr);
}

TEST(ImageTga, ColourMapsMustCoverEveryIndex) {
  struct Case {
    const char* what;
    Bytes file;
  };
  // An empty map (plain and run-length), an index past the map's end, an
  // index below its first entry, and a run of an index past it.
  Bytes empty = TgaHeader(1, 2, 1, 8, 0x20, 0, 24);
  empty[1] = 1;
  empty.insert(empty.end(), {0, 0});
  Bytes emptyRle = TgaHeader(9, 2, 1, 8, 0x20, 0, 24);
  emptyRle[1] = 1;
  emptyRle.insert(emptyRle.end(), {0x81, 0});
  Bytes past = TgaHeader(1, 2, 1, 8, 0x20, 2, 24);
  past.insert(past.end(), {1, 2, 3, 4, 5, 6, 1, 2});
  Bytes below = TgaHeader(1, 2, 1, 8, 0x20, 2, 24);
  below[3] = 5;  // the map holds indices 5 and 6
  below.insert(below.end(), {1, 2, 3, 4, 5, 6, 5, 4});
  Bytes runPast = TgaHeader(9, 3, 1, 8, 0x20, 2, 24);
  runPast.insert(runPast.end(), {1, 2, 3, 4, 5, 6, 0x82, 9});
  for (const Case& c : {Case{"empty map", empty}, Case{"empty map, run-length", emptyRle}, Case{"index past", past},
                        Case{"index below first", below}, Case{"run of an index past", runPast}}) {
    EXPECT_TRUE(ReadTga(c.file).empty()) << c.what;
    EXPECT_NE(std::string(QDLImageLastError()), "") << c.what;
    EXPECT_EQ(QDLTGAReadMemory(c.file.data(), c.file.size(), nullptr, nullptr, QDLIMG_PALETTED), nullptr) << c.what;
  }
  // The same files with every index inside the map are read.
  past[past.size() - 1] = 0;
  EXPECT_EQ(ReadTga(past).size(), 2u);
  below[below.size() - 1] = 6;
  below[below.size() - 2] = 5;
  std::vector<uint32_t> px = ReadTga(below);
  ASSERT_EQ(px.size(), 2u);
  EXPECT_EQ(px[1] & 0xFFFFFF, 0x060504u);  // entries are stored blue first
}

TEST(ImageTga, PixelDataShorterThanTheHeaderPromisesIsRefusedFirst) {
  // 16384 x 4096 in 24 bits needs 192 MB of pixels; the file has 2 bytes.
  Bytes huge = TgaHeader(2, 16384, 4096, 24, 0);
  huge.insert(huge.end(), {1, 2});
  EXPECT_TRUE(ReadTga(huge).empty());
  EXPECT_EQ(std::string(QDLImageLastError()), "TGA: truncated pixel data");
  // Run-length: at best 128 pixels a packet of 1 + 3 bytes, so 256 pixels
  // need 8 bytes. Two full runs are read; one byte less is refused at once.
  Bytes rle = TgaHeader(10, 16, 16, 24, 0x20);
  rle.insert(rle.end(), {0xFF, 1, 2, 3, 0xFF, 4, 5, 6});
  std::vector<uint32_t> px = ReadTga(rle);
  ASSERT_EQ(px.size(), 256u);
  EXPECT_EQ(px[255], 0x060504u);
  rle.pop_back();
  EXPECT_TRUE(ReadTga(rle).empty());
  EXPECT_EQ(std::string(QDLImageLastError()), "TGA: truncated run-length data");
  // A colour map longer than the file.
  Bytes map = TgaHeader(2, 1, 1, 24, 0x20, 65535, 32);
  map.insert(map.end(), 8, 0);
  EXPECT_TRUE(ReadTga(map).empty());
  EXPECT_EQ(std::string(QDLImageLastError()), "TGA: truncated colour map");
}

Bytes BmpFile(int32_t w, int32_t h, uint16_t bits, uint32_t compression, const Bytes& table,
              const Bytes& data, uint32_t infoSize = 40, uint32_t coloursUsed = 0, uint32_t gap = 0) {
  Bytes b;
  P16(&b, 0x4D42);
  uint32_t offset = 14 + infoSize + static_cast<uint32_t>(table.size()) + gap;
  P32(&b, offset + static_cast<uint32_t>(data.size()));
  P32(&b, 0);
  P32(&b, offset);
  P32(&b, infoSize);
  if (infoSize == 12) {
    P16(&b, static_cast<uint32_t>(w));
    P16(&b, static_cast<uint32_t>(h));
    P16(&b, 1);
    P16(&b, bits);
  } else {
    P32(&b, static_cast<uint32_t>(w));
    P32(&b, static_cast<uint32_t>(h));
    P16(&b, 1);
    P16(&b, bits);
    P32(&b, compression);
    P32(&b, static_cast<uint32_t>(data.size()));
    P32(&b, 0);
    P32(&b, 0);
    P32(&b, coloursUsed);
    P32(&b, 0);
    while (b.size() < 14 + infoSize) b.push_back(0);
  }
  b.insert(b.end(), table.begin(), table.end());
  b.insert(b.end(), gap, 0xAA);
  b.insert(b.end(), data.begin(), data.end());
  return b;
}

Bytes Table4(int n) {
  // Entry i: blue i, green 2i, red 3i, fourth byte.
  Bytes t;
  for (int i = 0; i < n; ++i) t.insert(t.end(), {static_cast<uint8_t>(i), static_cast<uint8_t>(2 * i), static_cast<uint8_t>(3 * i), 0});
  return t;
}

uint32_t Entry(int i) { return (static_cast<uint32_t>(3 * i) << 16) | (static_cast<uint32_t>(2 * i) << 8) | static_cast<uint32_t>(i); }

TEST(ImageBmp, EveryDecodedFormat) {
  // 24-bit, width 3: rows of 9 bytes and 3 padding bytes, bottom row first.
  Bytes d24 = {1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0, 11, 12, 13, 14, 15, 16, 17, 18, 19, 0, 0, 0};
  std::vector<uint32_t> px = ReadBmp(BmpFile(3, 2, 24, 0, {}, d24));
  ASSERT_EQ(px.size(), 6u);
  EXPECT_EQ(px[0], 0x0D0C0Bu);
  EXPECT_EQ(px[5], 0x090807u);
  // Negative height: top row first.
  px = ReadBmp(BmpFile(3, -2, 24, 0, {}, d24));
  ASSERT_EQ(px.size(), 6u);
  EXPECT_EQ(px[0], 0x030201u);
  // 8-bit, width 5 (3 padding bytes), version-4 header of 108 bytes.
  Bytes d8 = {1, 2, 3, 4, 5, 0, 0, 0};
  px = ReadBmp(BmpFile(5, 1, 8, 0, Table4(256), d8, 108));
  ASSERT_EQ(px.size(), 5u);
  EXPECT_EQ(px[0], Entry(1));
  EXPECT_EQ(px[4], Entry(5));
  // 4-bit, width 3: high nibble first, the fourth nibble dropped.
  Bytes d4 = {0x12, 0x3F, 0, 0};
  px = ReadBmp(BmpFile(3, 1, 4, 0, Table4(16), d4));
  ASSERT_EQ(px.size(), 3u);
  EXPECT_EQ(px[0], Entry(1));
  EXPECT_EQ(px[1], Entry(2));
  EXPECT_EQ(px[2], Entry(3));
  // Core header (12 bytes) with 3-byte colour entries.
  Bytes t3 = {9, 8, 7, 1, 2, 3};
  px = ReadBmp(BmpFile(2, 1, 8, 0, t3, {1, 0, 0, 0}, 12));
  ASSERT_EQ(px.size(), 2u);
  EXPECT_EQ(px[0], 0x030201u);
  EXPECT_EQ(px[1], 0x070809u);
  // The used-colour count sets the table's size; the pixel offset is honoured.
  px = ReadBmp(BmpFile(2, 1, 8, 0, Table4(2), {1, 0, 0, 0}, 40, 2, 6));
  ASSERT_EQ(px.size(), 2u);
  EXPECT_EQ(px[0], Entry(1));
  EXPECT_EQ(px[1], Entry(0));
  // Index past the used colours is black.
  px = ReadBmp(BmpFile(1, 1, 8, 0, Table4(2), {5, 0, 0, 0}, 40, 2));
  ASSERT_EQ(px.size(), 1u);
  EXPECT_EQ(px[0], 0u);
}

TEST(ImageBmp, RunLengthCodes) {
  // 4 x 3, bottom row first.
  Bytes rle = {
      3, 5,          // row 0: three 5s (clipped to the row)
      0, 0,          // end of line
      0, 3, 1, 2, 3, 0,  // row 1: literal 1 2 3 (odd count, one pad byte)
      9, 4,          // run past the row's end: clipped, not wrapped
      0, 0,
      0, 2, 2, 0,    // delta: 2 right, 0 down on row 2
      1, 7,          // row 2 column 2: 7
      0, 1,          // end of bitmap
      1, 9,          // never read
  };
  std::vector<uint32_t> px = ReadBmp(BmpFile(4, 3, 8, 1, Table4(256), rle));
  ASSERT_EQ(px.size(), 12u);
  // Top row of the image is file row 2.
  EXPECT_EQ(px[0], Entry(0));
  EXPECT_EQ(px[2], Entry(7));
  EXPECT_EQ(px[3], Entry(0));
  EXPECT_EQ(px[4], Entry(1));
  EXPECT_EQ(px[6], Entry(3));
  EXPECT_EQ(px[7], Entry(4));   // the run filled only to the row's end
  EXPECT_EQ(px[8], Entry(5));
  EXPECT_EQ(px[10], Entry(5));
  EXPECT_EQ(px[11], Entry(0));
  // No end-of-bitmap: the decoder stops when the rows are used up.
  Bytes rle2 = {2, 1, 0, 0};
  px = ReadBmp(BmpFile(2, 1, 8, 1, Table4(256), rle2));
  ASSERT_EQ(px.size(), 2u);
  EXPECT_EQ(px[1], Entry(1));
}

TEST(ImageBmp, RefusesWhatItCannotDecode) {
  EXPECT_TRUE(ReadBmp(BmpFile(2, 1, 16, 0, {}, {0, 0, 0, 0})).empty());
  EXPECT_TRUE(ReadBmp(BmpFile(2, 1, 32, 3, {}, {0, 0, 0, 0, 0, 0, 0, 0})).empty());
  EXPECT_TRUE(ReadBmp(BmpFile(2, 1, 4, 2, Table4(16), {0, 0})).empty());
  EXPECT_TRUE(ReadBmp(BmpFile(8, 1, 1, 0, Table4(2), {0, 0, 0, 0})).empty());
  EXPECT_TRUE(ReadBmp(BmpFile(0, 1, 24, 0, {}, {})).empty());
  EXPECT_TRUE(ReadBmp(BmpFile(100000, 100000, 24, 0, {}, {})).empty());
  EXPECT_TRUE(ReadBmp(BmpFile(1, 1, 8, 0, Table4(2), {0, 0, 0, 0}, 40, 300)).empty());
  Bytes notBmp = BmpFile(1, 1, 24, 0, {}, {1, 2, 3, 0});
  notBmp[0] = 'X';
  EXPECT_TRUE(ReadBmp(notBmp).empty());
  // Pixel offset past the end of the file.
  Bytes off = BmpFile(1, 1, 24, 0, {}, {1, 2, 3, 0});
  off[10] = 0xF0;
  EXPECT_TRUE(ReadBmp(off).empty());
}

TEST(ImageBmp, PixelDataShorterThanTheHeaderPromisesIsRefusedFirst) {
  // 4096 x 4096 in 24 bits with 100 bytes of pixels.
  EXPECT_TRUE(ReadBmp(BmpFile(4096, 4096, 24, 0, {}, Bytes(100, 0))).empty());
  EXPECT_EQ(std::string(QDLImageLastError()), "BMP: truncated pixel data");
  // Run-length at best 255 pixels in 2 bytes: a font sheet of 16384 x 4096
  // in 1 KB cannot hold it.
  Bytes runs;
  for (int i = 0; i < 500; ++i) runs.insert(runs.end(), {255, 1});
  runs.insert(runs.end(), {0, 1});
  EXPECT_TRUE(ReadBmp(BmpFile(16384, 4096, 8, 1, Table4(256), runs)).empty());
  EXPECT_EQ(std::string(QDLImageLastError()), "BMP: truncated run-length data");
  // 510 pixels need 4 bytes: two full runs are read.
  std::vector<uint32_t> px = ReadBmp(BmpFile(255, 2, 8, 1, Table4(256), {255, 3, 0, 0, 255, 4, 0, 1}));
  ASSERT_EQ(px.size(), 510u);
  EXPECT_EQ(px[0], Entry(4));
  EXPECT_EQ(px[509], Entry(3));
  // 1020 pixels and only an end of bitmap: refused.
  EXPECT_TRUE(ReadBmp(BmpFile(255, 4, 8, 1, Table4(256), {0, 1, 0, 1})).empty());
  // The last row may still lack its padding (2 x 2 in 24 bits: 8 + 6 bytes).
  EXPECT_EQ(ReadBmp(BmpFile(2, 2, 24, 0, {}, Bytes(14, 9))).size(), 4u);
  EXPECT_TRUE(ReadBmp(BmpFile(2, 2, 24, 0, {}, Bytes(13, 9))).empty());
}

// Every prefix of a valid file: a clear failure (or, for a file short only
// of its last row's padding, the image), never a crash.
void CheckPrefixes(const Bytes& file, bool bmp, size_t slack) {
  for (size_t n = 0; n < file.size(); ++n) {
    void* p = bmp ? QDLBMPReadMemory(file.data(), n, nullptr, nullptr, QDLIMG_MEMORY)
                  : QDLTGAReadMemory(file.data(), n, nullptr, nullptr, QDLIMG_MEMORY);
    if (p) {
      EXPECT_GE(n + slack, file.size()) << "prefix " << n;
      std::free(p);
    } else {
      EXPECT_NE(std::string(QDLImageLastError()), "");
    }
  }
}

// Deterministic byte damage: no crash, whatever the result.
void CheckCorruption(const Bytes& file, bool bmp) {
  uint32_t seed = 12345;
  for (int round = 0; round < 400; ++round) {
    Bytes b = file;
    for (int k = 0; k < 3; ++k) {
      seed = seed * 1103515245u + 12345u;
      size_t at = (seed >> 8) % b.size();
      seed = seed * 1103515245u + 12345u;
      b[at] = static_cast<uint8_t>(seed >> 16);
    }
    void* p = bmp ? QDLBMPReadMemory(b.data(), b.size(), nullptr, nullptr, QDLIMG_MEMORY)
                  : QDLTGAReadMemory(b.data(), b.size(), nullptr, nullptr, QDLIMG_MEMORY);
    std::free(p);
    Q2DXSurface* s = static_cast<Q2DXSurface*>(
        bmp ? QDLBMPReadMemory(b.data(), b.size(), nullptr, nullptr, QDLIMG_PALETTED)
            : QDLTGAReadMemory(b.data(), b.size(), nullptr, nullptr, QDLIMG_PALETTED));
    Q2DXRelease(s);
  }
}

TEST(ImageDamage, TruncatedAndCorruptedFiles) {
  Bytes tga = TgaHeader(2, 3, 2, 24, 0);
  for (int i = 0; i < 18; ++i) tga.push_back(static_cast<uint8_t>(i));
  CheckPrefixes(tga, false, 0);
  CheckCorruption(tga, false);
  Bytes tgaRle = TgaHeader(9, 4, 2, 8, 0x20, 2, 24);
  tgaRle.insert(tgaRle.end(), {1, 2, 3, 4, 5, 6, 0x83, 1, 0x03, 0, 1, 0, 1});
  CheckPrefixes(tgaRle, false, 0);
  CheckCorruption(tgaRle, false);
  Bytes bmp = BmpFile(3, 2, 8, 0, Table4(4), {1, 2, 3, 0, 3, 2, 1, 0});
  CheckPrefixes(bmp, true, 1);
  CheckCorruption(bmp, true);
  Bytes rle = BmpFile(4, 2, 8, 1, Table4(8), {2, 1, 0, 3, 4, 5, 6, 0, 0, 0, 0, 2, 1, 0, 0, 1});
  CheckPrefixes(rle, true, 2);
  CheckCorruption(rle, true);
  Bytes b24 = BmpFile(3, 2, 24, 0, {}, Bytes(24, 7));
  CheckPrefixes(b24, true, 3);
  CheckCorruption(b24, true);
}

struct ImageFiles : ::testing::Test {
  std::string Name(const char* p) { return dir_ / p; }
  korvena_test::TempDir dir_;
};

TEST_F(ImageFiles, RoundTripsOfA565Surface) {
  QDLPixelFormatDesc f = {QDLPF_RGB, 16, 0xF800, 0x07E0, 0x001F, 0};
  const int w = 3, h = 2;
  uint16_t src[w * h];
  for (int i = 0; i < w * h; ++i) src[i] = static_cast<uint16_t>(0xFFFF - i * 0x1234);
  src[0] = 0xFFFF;
  Q2DXSurface* s = Q2DXSurfaceWrapMemory(reinterpret_cast<uint8_t*>(src), w, h, w * 2, &f);
  std::string tga = Name("rt.tga"), bmp = Name("rt.bmp");
  ASSERT_EQ(QDLTGAWrite(tga.c_str(), s, nullptr, 0), 0u);
  ASSERT_EQ(QDLBMPWrite(bmp.c_str(), s, nullptr, 0), 0u);
  Bytes tb = korvena_test::readBytes(tga);
  ASSERT_EQ(tb.size(), 18u + w * h * 3);
  EXPECT_EQ(tb[2], 2);
  EXPECT_EQ(tb[16], 24);
  // White is written as (248, 252, 248); rows bottom-up, so it is the
  // first pixel of the last file row.
  size_t white = 18 + (h - 1) * w * 3;
  EXPECT_EQ(tb[white], 248);
  EXPECT_EQ(tb[white + 1], 252);
  EXPECT_EQ(tb[white + 2], 248);
  Bytes bb = korvena_test::readBytes(bmp);
  ASSERT_EQ(bb.size(), 54u + (9 + 3) * h);
  EXPECT_EQ(bb[2] | (bb[3] << 8) | (bb[4] << 16) | (bb[5] << 24), static_cast<int>(bb.size()));
  EXPECT_EQ(bb[10], 54);
  EXPECT_EQ(bb[14], 40);
  EXPECT_EQ(bb[28], 24);
  for (const std::string& name : {tga, bmp}) {
    uint16_t back[w * h] = {};
    Q2DXSurface* t = Q2DXSurfaceWrapMemory(reinterpret_cast<uint8_t*>(back), w, h, w * 2, &f);
    void* r = name == tga ? QDLTGARead(name.c_str(), t, nullptr, 0) : QDLBMPRead(name.c_str(), t, nullptr, 0);
    ASSERT_EQ(r, t);
    for (int i = 0; i < w * h; ++i) EXPECT_EQ(back[i], src[i]) << name << " pixel " << i;
    Q2DXRelease(t);
    std::remove(name.c_str());
  }
  // A rectangle of the surface.
  Q2DXRect rect = {1, 1, 3, 2};
  ASSERT_EQ(QDLTGAWrite(tga.c_str(), s, &rect, 0), 0u);
  int32_t rw = 0, rh = 0, bits = 0;
  EXPECT_EQ(QDLTGAGetInfo(tga.c_str(), &rw, &rh, &bits), 0u);
  EXPECT_EQ(rw, 2);
  EXPECT_EQ(rh, 1);
  EXPECT_EQ(bits, 24);
  std::remove(tga.c_str());
  // Writers report a file that cannot be created.
  EXPECT_EQ(QDLTGAWrite("/nonexistent/dir/x.tga", s, nullptr, 0), 7u);
  EXPECT_EQ(QDLBMPWrite("/nonexistent/dir/x.bmp", s, nullptr, 0), 7u);
  Q2DXRect empty = {2, 0, 2, 2};
  EXPECT_EQ(QDLTGAWrite(tga.c_str(), s, &empty, 0), 7u);
  Q2DXRelease(s);
  // A TGA holds sizes in 16 bits: a wider surface cannot be written as one,
  // while a BMP of it can.
  std::vector<uint16_t> wide(65536, 0xFFFF);
  Q2DXSurface* ws = Q2DXSurfaceWrapMemory(reinterpret_cast<uint8_t*>(wide.data()), 65536, 1, 65536 * 2, &f);
  ASSERT_NE(ws, nullptr);
  EXPECT_EQ(QDLTGAWrite(tga.c_str(), ws, nullptr, 0), 7u);
  FILE* gone = std::fopen(tga.c_str(), "rb");
  EXPECT_EQ(gone, nullptr);
  if (gone) std::fclose(gone);
  ASSERT_EQ(QDLBMPWrite(bmp.c_str(), ws, nullptr, 0), 0u);
  Bytes wb = korvena_test::readBytes(bmp);
  EXPECT_EQ(wb[18] | (wb[19] << 8) | (wb[20] << 16), 65536);
  std::remove(bmp.c_str());
  Q2DXRelease(ws);
}

TEST_F(ImageFiles, PalettedSurfacesNeedAPalette) {
  Q2DXSurface* s = Q2DXSurfaceCreateFormat(2, 2, 8, 0);
  ASSERT_NE(s, nullptr);
  std::string name = Name("pal.bmp");
  EXPECT_EQ(QDLBMPWrite(name.c_str(), s, nullptr, 0), 7u);
  QDLPaletteEntry e[256] = {};
  e[3] = {10, 20, 30, 0};
  Q2DXPalette* pal = Q2DXPaletteCreate(e);
  Q2DXSurfaceSetPalette(s, pal);
  Q2DXPaletteRelease(pal);
  s->pixels[0] = 3;
  ASSERT_EQ(QDLBMPWrite(name.c_str(), s, nullptr, 0), 0u);
  Bytes b = korvena_test::readBytes(name);
  std::vector<uint32_t> px = ReadBmp(b);
  ASSERT_EQ(px.size(), 4u);
  EXPECT_EQ(px[0], 0x0A141Eu);
  std::remove(name.c_str());
  Q2DXRelease(s);
}

TEST_F(ImageFiles, HeaderInfoAndBufferWriter) {
  std::string name = Name("buf.tga");
  uint8_t work[2 * 2 * 4] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
  ASSERT_EQ(QDLTGAWriteBuffer(name.c_str(), work, 2, 2), 0u);
  int32_t w, h, bits;
  ASSERT_EQ(QDLTGAGetInfo(name.c_str(), &w, &h, &bits), 0u);
  EXPECT_EQ(bits, 32);
  ASSERT_EQ(QDLTGAGetInfo24(name.c_str(), &w, &h, &bits), 0u);
  EXPECT_EQ(bits, 24);
  Bytes b = korvena_test::readBytes(name);
  std::vector<uint32_t> px = ReadTga(b);
  ASSERT_EQ(px.size(), 4u);
  EXPECT_EQ(px[0] & 0xFFFFFF, 0x010203u);
  EXPECT_EQ(px[3] & 0xFFFFFF, 0x0D0E0Fu);
  // The file itself: type 2, depth 32, descriptor 0, the last row first,
  // each pixel as blue, green, red, alpha.
  ASSERT_EQ(b.size(), 18u + 16u);
  EXPECT_EQ(b[2], 2);
  EXPECT_EQ(b[12] | (b[13] << 8), 2);
  EXPECT_EQ(b[14] | (b[15] << 8), 2);
  EXPECT_EQ(b[16], 32);
  EXPECT_EQ(b[17], 0);
  EXPECT_EQ(Bytes(b.begin() + 18, b.begin() + 22), (Bytes{11, 10, 9, 12}));
  EXPECT_EQ(Bytes(b.begin() + 30, b.end()), (Bytes{7, 6, 5, 8}));
  // 15 bits are reported as 16.
  b[16] = 15;
  FILE* f = std::fopen(name.c_str(), "wb");
  std::fwrite(b.data(), 1, 18, f);
  std::fclose(f);
  ASSERT_EQ(QDLTGAGetInfo(name.c_str(), &w, &h, &bits), 0u);
  EXPECT_EQ(bits, 16);
  f = std::fopen(name.c_str(), "wb");
  std::fwrite(b.data(), 1, 17, f);
  std::fclose(f);
  EXPECT_EQ(QDLTGAGetInfo(name.c_str(), &w, &h, &bits), 7u);
  EXPECT_EQ(QDLTGAGetInfo(nullptr, &w, &h, &bits), 4u);
  EXPECT_EQ(QDLTGAGetInfo("/nonexistent/x.tga", &w, &h, &bits), 4u);
  Bytes bmp = BmpFile(5, -3, 32, 0, {}, {});
  f = std::fopen(name.c_str(), "wb");
  std::fwrite(bmp.data(), 1, bmp.size(), f);
  std::fclose(f);
  ASSERT_EQ(QDLBMPGetInfo(name.c_str(), &w, &h, &bits), 0u);
  EXPECT_EQ(w, 5);
  EXPECT_EQ(h, 3);
  EXPECT_EQ(bits, 24);
  std::remove(name.c_str());
}

TEST(ImageScale, BoxFilter) {
  // 4 x 1 to 2 x 1: pairs averaged.
  uint8_t src[4 * 4] = {0, 0, 0, 0, 100, 100, 100, 100, 10, 20, 30, 40, 30, 40, 50, 60};
  uint8_t dst[2 * 4] = {};
  ASSERT_EQ(QDLImageScale(dst, 2, 1, src, 4, 1), 0u);
  EXPECT_EQ(dst[0], 50);
  EXPECT_EQ(dst[4], 20);
  EXPECT_EQ(dst[7], 50);
  // 3 x 1 to 2 x 1: exact area weights (2/3 + 1/3).
  uint8_t s3[3 * 4] = {90, 0, 0, 0, 0, 0, 0, 0, 30, 0, 0, 0};
  ASSERT_EQ(QDLImageScale(dst, 2, 1, s3, 3, 1), 0u);
  EXPECT_EQ(dst[0], 60);
  EXPECT_EQ(dst[4], 20);
  // 1 x 2 to 1 x 1 vertically.
  uint8_t s2[2 * 4] = {10, 10, 10, 10, 30, 30, 30, 30};
  ASSERT_EQ(QDLImageScale(dst, 1, 1, s2, 1, 2), 0u);
  EXPECT_EQ(dst[0], 20);
  // Upscaling keeps values.
  uint8_t big[4 * 4 * 4];
  ASSERT_EQ(QDLImageScale(big, 4, 4, s2, 1, 2), 0u);
  EXPECT_EQ(big[0], 10);
  EXPECT_EQ(big[15 * 4], 30);
  EXPECT_EQ(QDLImageScale(dst, 1025, 1, s2, 1, 2), 7u);
}

}  // namespace
