#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>

#include "art/art_image.h"
#include "display/qdl.h"
#include "display/qdl_bank.h"
#include "display/qdl_palette.h"
#include "display/qdl_pool.h"
#include "display/qdl_sheet.h"
#include "draw_test_util.h"

namespace {

using drawtest::U16;
using drawtest::U32;

struct BankTest : ::testing::Test {
  drawtest::TempDir dir{::testing::UnitTest::GetInstance()->current_test_info()->name()};
  void SetUp() override {
    QDLSurfacePoolInit();
    QDLPalettePoolInit();
    QDLSpriteBankPoolInit();
  }
  void TearDown() override {
    QDLSpriteBankFreeAll();
    QDLPaletteFreeAll();
    QDLSurfaceFreeAll();
  }
  // A bank of four frames in 5-6-5 cut from a sheet: fill runs, raw rows,
  // literal runs and an empty frame.
  QDLSpriteBank* MakeBank() {
    art::Image img(40, 10, art::kMagenta);
    img.Fill(1, 1, 6, 6, art::Rgb{200, 0, 0});
    for (int y = 0; y < 10; ++y)
      for (int x = 10; x < 20; ++x) img.Set(x, y, art::Rgb{static_cast<uint8_t>(x * 10), static_cast<uint8_t>(y * 20), 7});
    img.Fill(21, 2, 7, 5, art::Rgb{0, 0, 255});
    img.Set(23, 3, art::Rgb{255, 255, 0});
    const std::string path = dir.File("sheet.bmp");
    EXPECT_TRUE(art::WriteBMP24(img, path));
    const QDLSheetDesc list[2] = {{path.c_str(), QDLSHEET_MODE_GRID, 10, 10, nullptr}, {nullptr, 0, 0, 0, nullptr}};
    return QDLSpriteBankFromSheets(list, QDLFORMAT_RGB565);
  }
  static void ExpectSameFrames(const QDLSpriteBank* a, const QDLSpriteBank* b) {
    ASSERT_EQ(a->frameCount, b->frameCount);
    const uint32_t bpp = QDLFormatBitsPerPixel(a->formatCode) / 8;
    for (int i = 0; i < a->frameCount; ++i) {
      EXPECT_EQ(a->frames[i].width, b->frames[i].width);
      EXPECT_EQ(a->frames[i].height, b->frames[i].height);
      EXPECT_EQ(a->frames[i].encoding, b->frames[i].encoding);
      EXPECT_EQ(b->frames[i].bank, b);
      EXPECT_EQ(drawtest::Decode(a->frames[i], bpp), drawtest::Decode(b->frames[i], bpp)) << i;
    }
  }
};

TEST_F(BankTest, PoolInitTwiceAndCreate) {
  EXPECT_EQ(QDLSpriteBankPoolInit(), 6u);
  QDLSpriteBank* b = QDLSpriteBankCreate(0, 0, 0);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->frames, nullptr);
  EXPECT_EQ(b->pixelData, nullptr);
  QDLSpriteBank* c = QDLSpriteBankCreate(3, 10, 0);
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->frameArraySize, 48u);
  EXPECT_EQ(c->frames[2].bank, c);
  EXPECT_EQ(QDLSpriteBankFree(c), 0u);
  QDLSpriteBankFreeAll();
  EXPECT_EQ(QDLSpriteBankCreate(1, 1, 0), nullptr);  // no pool
}

TEST_F(BankTest, FileChunksSizeAndRoundTrip) {
  QDLSpriteBank* b = MakeBank();
  ASSERT_NE(b, nullptr);
  ASSERT_EQ(b->frameCount, 4);
  EXPECT_EQ(b->frames[0].encoding, QDLENC_RLE_FILL);
  EXPECT_EQ(b->frames[1].encoding, QDLENC_RAW);
  EXPECT_EQ(b->frames[2].encoding, QDLENC_RLE);
  EXPECT_EQ(b->frames[3].encoding, QDLENC_NONE);
  const std::string path = dir.File("bank.spr");
  ASSERT_EQ(QDLSpriteBankSave(b, path.c_str()), 0u);
  const auto bytes = drawtest::ReadFile(path);
  // 340 + 10 n + p without a palette.
  EXPECT_EQ(bytes.size(), 340u + 10u * 4 + b->pixelDataSize);
  struct Chunk { uint32_t id, length; };
  const Chunk expected[] = {{1, 300}, {2, 8}, {3, 10}, {4, 10}, {6, 6 + 40}, {7, 6 + b->pixelDataSize}};
  size_t at = 0;
  for (const Chunk& c : expected) {
    ASSERT_LE(at + 6, bytes.size());
    EXPECT_EQ(U16(bytes, at), c.id);
    EXPECT_EQ(U32(bytes, at + 2), c.length);
    at += c.length;
  }
  EXPECT_EQ(at, bytes.size());
  // Header: 3, zeros, 1, 0.
  EXPECT_EQ(U16(bytes, 6), 3u);
  EXPECT_EQ(U16(bytes, 6 + 34), 1u);
  EXPECT_EQ(U16(bytes, 6 + 36), 0u);
  EXPECT_EQ(U16(bytes, 300 + 6), 4u);
  EXPECT_EQ(U32(bytes, 308 + 6), static_cast<uint32_t>(QDLFORMAT_RGB565 & 0x1F));
  QDLSpriteBank* l = QDLSpriteBankLoad(path.c_str(), nullptr, 0);
  ASSERT_NE(l, nullptr);
  EXPECT_EQ(l->formatCode, b->formatCode);
  EXPECT_EQ(l->sourceBytesPerPixel, 2u);
  EXPECT_EQ(l->pixelDataSize, b->pixelDataSize);
  EXPECT_EQ(std::memcmp(l->pixelData, b->pixelData, b->pixelDataSize), 0);
  EXPECT_EQ(l->palette, nullptr);
  ExpectSameFrames(b, l);
  // Saved again, byte for byte the same file.
  const std::string again = dir.File("again.spr");
  ASSERT_EQ(QDLSpriteBankSave(l, again.c_str()), 0u);
  EXPECT_EQ(drawtest::ReadFile(again), bytes);
}

TEST_F(BankTest, PaletteChunkAndSharedPalettes) {
  QDLSpriteBank* b = MakeBank();
  ASSERT_NE(b, nullptr);
  QDLPalette* own = QDLPaletteCreate(256, 1, 0);
  QDLPaletteEntry e[256] = {};
  for (int i = 0; i < 256; ++i) e[i] = QDLPaletteEntry{static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), 9, 0};
  QDLPaletteSetEntries(own, e, 0, 256);
  QDLSpriteBankAdoptPalette(b, own);
  const std::string path = dir.File("pal.spr");
  ASSERT_EQ(QDLSpriteBankSave(b, path.c_str()), 0u);
  const auto bytes = drawtest::ReadFile(path);
  EXPECT_EQ(bytes.size(), 1114u + 10u * 4 + b->pixelDataSize);
  const size_t palAt = bytes.size() - 774;
  EXPECT_EQ(U16(bytes, palAt), 8u);
  EXPECT_EQ(U32(bytes, palAt + 2), 774u);
  EXPECT_EQ(bytes[palAt + 6 + 3 * 10], 10);
  EXPECT_EQ(bytes[palAt + 6 + 3 * 10 + 1], 245);
  // Loaded without a palette argument: the file's palette, owned by the bank.
  QDLSpriteBank* l = QDLSpriteBankLoad(path.c_str(), nullptr, 0);
  ASSERT_NE(l, nullptr);
  ASSERT_NE(l->palette, nullptr);
  EXPECT_EQ(l->ownsPalette, 1u);
  EXPECT_EQ(l->palette->entries[10].green, 245);
  EXPECT_EQ(l->palette->entries[10].flags, 1);
  // Loaded with a palette argument: that palette, which the bank does not free.
  QDLPalette* shared = QDLPaletteCreate(256, 1, 0);
  QDLSpriteBank* s1 = QDLSpriteBankLoad(path.c_str(), shared, 0);
  QDLSpriteBank* s2 = QDLSpriteBankLoad(path.c_str(), shared, 0);
  ASSERT_TRUE(s1 && s2);
  EXPECT_EQ(s1->palette, shared);
  EXPECT_EQ(s1->colourTable, shared->colourTable);
  EXPECT_EQ(s1->ownsPalette, 0u);
  EXPECT_EQ(s1->palette->entries[10].green, 0);  // the file's palette chunk is skipped
  QDLSpriteBankFree(s1);
  QDLSpriteBankFree(s2);  // the shared palette is not freed twice (ASan would see it)
  int palettes = 0;
  for (QDLPalette* p = QDLPaletteFirst(); p; p = static_cast<QDLPalette*>(QDLPoolNext(p))) ++palettes;
  EXPECT_GE(palettes, 2);
}

TEST_F(BankTest, LoadsWithoutHeaderAndSkipsUnknownChunks) {
  QDLSpriteBank* b = MakeBank();
  const std::string path = dir.File("b.spr");
  ASSERT_EQ(QDLSpriteBankSave(b, path.c_str()), 0u);
  auto bytes = drawtest::ReadFile(path);
  // Without the header chunk.
  std::vector<uint8_t> noHeader(bytes.begin() + 300, bytes.end());
  drawtest::WriteFile(dir.File("nh.spr"), noHeader);
  QDLSpriteBank* l = QDLSpriteBankLoad(dir.File("nh.spr").c_str(), nullptr, 0);
  ASSERT_NE(l, nullptr);
  ExpectSameFrames(b, l);
  // Chunks 5 and 9 are reported and skipped.
  std::vector<uint8_t> extra = bytes;
  const uint8_t c5[] = {5, 0, 8, 0, 0, 0, 1, 2};
  const uint8_t c9[] = {9, 0, 6, 0, 0, 0};
  extra.insert(extra.begin() + 300, c5, c5 + sizeof c5);
  extra.insert(extra.end(), c9, c9 + sizeof c9);
  drawtest::WriteFile(dir.File("x.spr"), extra);
  ::testing::internal::CaptureStdout();
  QDLSpriteBank* x = QDLSpriteBankLoad(dir.File("x.spr").c_str(), nullptr, 0);
  const std::string out = ::testing::internal::GetCapturedStdout();
  ASSERT_NE(x, nullptr);
  EXPECT_EQ(out, "Unrecognised Chunk - 5\nUnrecognised Chunk - 9\n");
  ExpectSameFrames(b, x);
}

TEST_F(BankTest, FileFieldsByteForByte) {
  QDLSpriteBank* b = MakeBank();
  ASSERT_NE(b, nullptr);
  const std::string path = dir.File("fields.spr");
  ASSERT_EQ(QDLSpriteBankSave(b, path.c_str()), 0u);
  const auto v = drawtest::ReadFile(path);
  ASSERT_EQ(v.size(), 340u + 10u * 4 + b->pixelDataSize);
  // Header chunk: u16 3, bytes 2..33 zero, u16 1, u16 0, zeros to 293.
  for (size_t i = 2; i < 34; ++i) EXPECT_EQ(v[6 + i], 0) << i;
  for (size_t i = 38; i < 294; ++i) EXPECT_EQ(v[6 + i], 0) << i;
  // Frame count (u16), format (u32), pixel size (u32).
  EXPECT_EQ(U16(v, 300), 2u);
  EXPECT_EQ(U32(v, 302), 8u);
  EXPECT_EQ(U16(v, 306), 4u);
  EXPECT_EQ(U16(v, 318), 4u);
  EXPECT_EQ(U32(v, 324), b->pixelDataSize);
  // Frame table: u16 width, u16 height, u16 encoding, u32 offset into the pixel data.
  ASSERT_EQ(U16(v, 328), 6u);
  for (int i = 0; i < 4; ++i) {
    const size_t at = 334 + static_cast<size_t>(i) * 10;
    const QDLFrame& fr = b->frames[i];
    EXPECT_EQ(U16(v, at), static_cast<uint32_t>(fr.width)) << i;
    EXPECT_EQ(U16(v, at + 2), static_cast<uint32_t>(fr.height)) << i;
    EXPECT_EQ(U16(v, at + 4), static_cast<uint32_t>(fr.encoding)) << i;
    if (fr.encoding != QDLENC_NONE) {
      EXPECT_EQ(U32(v, at + 6), static_cast<uint32_t>(fr.pixels - b->pixelData)) << i;
    }
  }
  // Pixel data as it stands in the bank.
  ASSERT_EQ(U16(v, 374), 7u);
  EXPECT_EQ(std::memcmp(v.data() + 380, b->pixelData, b->pixelDataSize), 0);
  // Pointers are pointers again after the save.
  for (int i = 0; i < 4; ++i) {
    if (b->frames[i].encoding == QDLENC_NONE) continue;
    EXPECT_GE(b->frames[i].pixels, b->pixelData);
    EXPECT_LT(b->frames[i].pixels, b->pixelData + b->pixelDataSize);
  }
}

TEST_F(BankTest, TruncatedFilesAreRefused) {
  QDLSpriteBank* b = MakeBank();
  const std::string path = dir.File("t.spr");
  ASSERT_EQ(QDLSpriteBankSave(b, path.c_str()), 0u);
  const auto bytes = drawtest::ReadFile(path);
  for (size_t n = 0; n < bytes.size(); ++n) {
    drawtest::WriteFile(dir.File("cut.spr"), std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<long>(n)));
    QDLSpriteBank* l = QDLSpriteBankLoad(dir.File("cut.spr").c_str(), nullptr, 0);
    EXPECT_EQ(l, nullptr) << "cut at " << n;
    if (l) QDLSpriteBankFree(l);
  }
  EXPECT_EQ(QDLSpriteBankLoad(dir.File("missing.spr").c_str(), nullptr, 0), nullptr);
  EXPECT_EQ(QDLSpriteBankLoad(nullptr, nullptr, 0), nullptr);
}

TEST_F(BankTest, CorruptedFilesAreRefused) {
  QDLSpriteBank* b = MakeBank();
  const std::string path = dir.File("c.spr");
  ASSERT_EQ(QDLSpriteBankSave(b, path.c_str()), 0u);
  const auto good = drawtest::ReadFile(path);
  const size_t table = 300 + 8 + 10 + 10 + 6;   // first frame record
  const size_t pixels = 300 + 8 + 10 + 10 + 46 + 6;
  auto refuse = [&](const char* what, auto edit) {
    auto bytes = good;
    edit(bytes);
    drawtest::WriteFile(dir.File("bad.spr"), bytes);
    ::testing::internal::CaptureStdout();
    QDLSpriteBank* l = QDLSpriteBankLoad(dir.File("bad.spr").c_str(), nullptr, 0);
    ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(l, nullptr) << what;
    if (l) QDLSpriteBankFree(l);
  };
  refuse("frame offset past the data", [&](auto& v) { v[table + 6] = 0xFF; v[table + 7] = 0xFF; });
  refuse("huge row length", [&](auto& v) {
    const uint32_t off = U32(v, table + 10 + 6);  // frame 1 (raw rows)
    v[pixels + off] = 0xFE;
    v[pixels + off + 1] = 0xFF;
  });
  refuse("row length below its content", [&](auto& v) {
    const uint32_t off = U32(v, table + 10 + 6);
    v[pixels + off] = 4;
    v[pixels + off + 1] = 0;
  });
  refuse("run past the row", [&](auto& v) {
    const uint32_t off = U32(v, table + 6);  // frame 0 (fill runs): first row's first control
    v[pixels + off + 2] = 0x81;              // -127: skip past the 10-pixel row
  });
  refuse("encoding 7", [&](auto& v) { v[table + 4] = 7; });
  refuse("frame table of the wrong size", [&](auto& v) { v[300 + 2] = 9; });
  refuse("frame count changed", [&](auto& v) { v[300 + 6] = 5; });
  refuse("chunk length below 6", [&](auto& v) { v[300 + 8 + 2] = 3; });
  refuse("chunk length past the end", [&](auto& v) { v[300 + 8 + 2] = 0xFF; v[300 + 8 + 3] = 0x7F; });
  refuse("unknown format", [&](auto& v) { v[308 + 6] = 3; });
  refuse("pixel size larger than chunk 7", [&](auto& v) { v[318 + 6] += 2; });
  refuse("frames before the count", [&](auto& v) {
    // Chunk 6 moved in front of chunk 2.
    std::vector<uint8_t> frames(v.begin() + 328, v.begin() + 328 + 46);
    v.erase(v.begin() + 328, v.begin() + 328 + 46);
    v.insert(v.begin() + 300, frames.begin(), frames.end());
  });
  refuse("duplicate frame count", [&](auto& v) {
    std::vector<uint8_t> c(v.begin() + 300, v.begin() + 308);
    v.insert(v.begin() + 308, c.begin(), c.end());
  });
  refuse("empty file", [&](auto& v) { v.clear(); });
}

TEST_F(BankTest, SaveReportsAFailedWrite) {
  QDLSpriteBank* b = MakeBank();
  EXPECT_EQ(QDLSpriteBankSave(b, dir.File("no/such/folder/b.spr").c_str()), 7u);
  EXPECT_EQ(QDLSpriteBankSave(nullptr, dir.File("x.spr").c_str()), 3u);
  // A full disc: /dev/full accepts the open and fails the writes.
  if (std::filesystem::exists("/dev/full")) {
    const std::string target = dir.File("full.spr");
    std::filesystem::create_symlink("/dev/full", target + ".tmp." + std::to_string(getpid()));
    EXPECT_EQ(QDLSpriteBankSave(b, target.c_str()), 7u);
    EXPECT_FALSE(std::filesystem::exists(target));
  }
}

TEST_F(BankTest, ConvertKeepsEncodingsAndEvenRows) {
  QDLSpriteBank* b = MakeBank();
  QDLSpriteBank* c = QDLSpriteBankConvert(b, QDLFORMAT_RGB32, 0);
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->formatCode, static_cast<uint32_t>(QDLFORMAT_RGB32));
  EXPECT_EQ(c->sourceBytesPerPixel, 4u);
  ASSERT_EQ(c->frameCount, b->frameCount);
  for (int i = 0; i < b->frameCount; ++i) {
    EXPECT_EQ(c->frames[i].encoding, b->frames[i].encoding);
    EXPECT_EQ(c->frames[i].bank, c);
    if (b->frames[i].encoding == QDLENC_NONE) {
      EXPECT_EQ(c->frames[i].pixels, nullptr);
      continue;
    }
    const auto src = drawtest::Decode(b->frames[i], 2);
    const auto dst = drawtest::Decode(c->frames[i], 4);
    ASSERT_EQ(src.size(), dst.size());
    for (size_t k = 0; k < src.size(); ++k) {
      if (src[k] < 0) {
        EXPECT_EQ(dst[k], -1);
        continue;
      }
      uint8_t r, g, bl;
      QDLPixelToRGB(static_cast<uint32_t>(src[k]), b->formatCode, &r, &g, &bl);
      EXPECT_EQ(dst[k], (r << 16) | (g << 8) | bl);
    }
    // Rows are even; the last row's length is 0.
    const uint8_t* row = c->frames[i].pixels;
    for (int y = 0; y < c->frames[i].height - 1; ++y) {
      const uint32_t len = static_cast<uint32_t>(row[0] | (row[1] << 8));
      EXPECT_EQ(len % 2, 0u);
      row += len;
    }
    EXPECT_EQ(row[0] | (row[1] << 8), 0);
  }
  // And back: a converted bank saves and loads like any other.
  const std::string path = dir.File("conv.spr");
  ASSERT_EQ(QDLSpriteBankSave(c, path.c_str()), 0u);
  QDLSpriteBank* l = QDLSpriteBankLoad(path.c_str(), nullptr, 0);
  ASSERT_NE(l, nullptr);
  ExpectSameFrames(c, l);
  // Format 0 needs a display.
  EXPECT_EQ(QDLSpriteBankConvert(b, 0, 0), nullptr);
}

}  // namespace

TEST_F(BankTest, ConvertRefusesRowsTooLongForTheirLengthField) {
  // One raw 8-bit frame of two rows: a row of w pixels takes 2 + w bytes
  // here, 2 + 4w in 32 bits, and only non-last rows store their length.
  auto make = [](int16_t w) {
    const uint32_t row = (2u + static_cast<uint32_t>(w) + 1u) & ~1u;
    QDLSpriteBank* b = QDLSpriteBankCreate(1, 2 * row, 0);
    b->formatCode = QDLFORMAT_INDEXED8;
    b->frames[0].width = w;
    b->frames[0].height = 2;
    b->frames[0].encoding = QDLENC_RAW;
    b->frames[0].pixels = b->pixelData;
    b->pixelData[0] = static_cast<uint8_t>(row);
    b->pixelData[1] = static_cast<uint8_t>(row >> 8);
    for (uint32_t i = 2; i < 2 * row; ++i) b->pixelData[i] = static_cast<uint8_t>(i);
    b->pixelData[row] = b->pixelData[row + 1] = 0;
    return b;
  };
  // 16383 pixels: 65534 bytes in 32 bits fit; 16384 (65538) do not.
  struct Case {
    int16_t width;
    uint32_t format;
    bool fits;
  };
  for (const Case& c : {Case{16383, QDLFORMAT_RGB32, true}, Case{16384, QDLFORMAT_RGB32, false},
                        Case{32767, QDLFORMAT_RGB565, false}, Case{32766, QDLFORMAT_RGB565, true},
                        Case{21844, QDLFORMAT_RGB24, true}, Case{21845, QDLFORMAT_RGB24, false}}) {
    SCOPED_TRACE(c.width);
    QDLSpriteBank* b = make(c.width);
    testing::internal::CaptureStderr();
    QDLSpriteBank* converted = QDLSpriteBankConvert(b, c.format, 0);
    const std::string err = testing::internal::GetCapturedStderr();
    QDLSpriteBankFree(b);
    if (!c.fits) {
      EXPECT_EQ(converted, nullptr);
      EXPECT_NE(err.find("more than a row may hold"), std::string::npos) << err;
      continue;
    }
    // What converts is written and read back by its own loader.
    ASSERT_NE(converted, nullptr) << err;
    const std::string path = dir.File("wide.spr");
    ASSERT_EQ(QDLSpriteBankSave(converted, path.c_str()), 0u);
    QDLSpriteBank* back = QDLSpriteBankLoad(path.c_str(), nullptr, 0);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->frames[0].width, c.width);
    EXPECT_EQ(back->pixelDataSize, converted->pixelDataSize);
    QDLSpriteBankFree(back);
    QDLSpriteBankFree(converted);
  }
}
