#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "display/q2dx.h"
#include "display/qdl.h"
#include "display/qdl_internal.h"
#include "display/qdl_palette.h"
#include "support/temp_dir.h"

namespace {

struct PaletteTest : ::testing::Test {
  void SetUp() override {
    QDLSurfacePoolInit();
    QDLPalettePoolInit();
  }
  void TearDown() override {
    QDLPaletteFreeAll();
    QDLSurfaceFreeAll();
    qdlGlobals.pDisplay = nullptr;
  }
  std::string TempFile(const char* pName) { return dir_ / pName; }
  korvena_test::TempDir dir_;
};

QDLPaletteEntry E(uint8_t r, uint8_t g, uint8_t b) { return QDLPaletteEntry{r, g, b, 0}; }

TEST_F(PaletteTest, CreateDefaultsAndColourTable) {
  QDLPalette* p = QDLPaletteCreate(0, 0, 0);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->entryCount, 256u);
  EXPECT_EQ(p->paletteCount, 1u);
  ASSERT_NE(p->colourTable, nullptr);
  QDLPaletteEntry red = E(255, 0, 0);
  QDLPaletteSetEntries(p, &red, 3, 1);
  EXPECT_EQ(p->entries[3].flags, 1);
  EXPECT_EQ(static_cast<uint16_t*>(p->colourTable)[3], 0xF800);
  QDLPaletteEntry out[1];
  QDLPaletteGetEntries(p, out, 3, 1);
  EXPECT_EQ(out[0].red, 255);
  EXPECT_EQ(p->ddPalette->entries[3].red, 255);
}

TEST_F(PaletteTest, EntriesPastTheFirstPaletteSkipTheEightBitPalette) {
  QDLPalette* p = QDLPaletteCreate(256, 2, 0);
  ASSERT_NE(p, nullptr);
  QDLPaletteEntry recs[10];
  for (int i = 0; i < 10; ++i) recs[i] = E(10, 20, static_cast<uint8_t>(i));
  uint8_t before = p->ddPalette->entries[250].blue;
  QDLPaletteSetEntries(p, recs, 250, 10);
  EXPECT_EQ(p->entries[259].blue, 9);
  EXPECT_EQ(p->entries[250].flags, 1);
  EXPECT_EQ(static_cast<uint16_t*>(p->colourTable)[259], QDLRGBToPixel(QDLFORMAT_RGB565, 10, 20, 9));
  EXPECT_EQ(p->ddPalette->entries[250].blue, before);
  // A range ending exactly at entry 255 reaches the 8-bit palette as well.
  QDLPaletteSetEntries(p, recs, 246, 10);
  EXPECT_EQ(p->ddPalette->entries[246].blue, 0);
  EXPECT_EQ(p->ddPalette->entries[255].blue, 9);
  EXPECT_EQ(p->ddPalette->entries[255].red, 10);
  // A range past the end is clamped: nothing written outside the entries.
  QDLPaletteSetEntries(p, recs, 508, 10);
  EXPECT_EQ(p->entries[511].blue, 3);
  QDLPaletteSetEntries(p, recs, 600, 10);
}

TEST_F(PaletteTest, FindColourReturnsTheLowerIndex) {
  QDLPalette* p = QDLPaletteCreate(16, 1, 0);
  ASSERT_NE(p, nullptr);
  QDLPaletteEntry c = E(1, 2, 3);
  QDLPaletteSetEntries(p, &c, 9, 1);
  QDLPaletteSetEntries(p, &c, 5, 1);
  EXPECT_EQ(QDLPaletteFindColour(p, 1, 2, 3), 5);
  EXPECT_EQ(QDLPaletteFindColour(p, 0, 0, 0), 0);
  EXPECT_EQ(QDLPaletteFindColour(p, 9, 9, 9), -1);
  EXPECT_EQ(QDLPaletteFindColour(nullptr, 0, 0, 0), -1);
}

TEST_F(PaletteTest, EightBitDisplayHasNoColourTable) {
  QDLSurface* pDisplay = QDLSurfaceCreate(8, 8, 8, QDLCREATE_MEMORY);
  ASSERT_NE(pDisplay, nullptr);
  qdlGlobals.pDisplay = pDisplay;
  QDLPalette* p = QDLPaletteCreate(0, 0, 0);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->colourTable, nullptr);
  QDLPaletteEntry c = E(9, 9, 9);
  QDLPaletteSetEntries(p, &c, 0, 1);
  QDLPaletteConvertAll(p);
  EXPECT_EQ(p->entries[0].red, 9);
  // A 32-bit display gives u32 entries.
  QDLSurface* p32 = QDLSurfaceCreate(8, 8, 32, QDLCREATE_MEMORY);
  qdlGlobals.pDisplay = p32;
  QDLPalette* q = QDLPaletteCreate(4, 1, 0);
  ASSERT_NE(q, nullptr);
  QDLPaletteEntry d = E(0x12, 0x34, 0x56);
  QDLPaletteSetEntries(q, &d, 2, 1);
  EXPECT_EQ(static_cast<uint32_t*>(q->colourTable)[2], 0x123456u);
}

TEST_F(PaletteTest, SurfacePaletteAndFreeDetaches) {
  QDLSurface* s = QDLSurfaceCreate(4, 4, 8, 0);
  ASSERT_NE(s, nullptr);
  QDLPalette* p = QDLPaletteCreate(0, 0, 0);
  QDLPaletteEntry c = E(7, 8, 9);
  QDLPaletteSetEntries(p, &c, 1, 1);
  EXPECT_EQ(QDLSurfaceSetPalette(s, p, 0), 0u);
  EXPECT_EQ(QDLSurfaceGetPalette(s), p);
  uint8_t r = 0, g = 0, b = 0;
  QDLSurfacePixelToRGB(s, 1, &r, &g, &b);
  EXPECT_EQ(r, 7);
  EXPECT_EQ(b, 9);
  // The surface's 8-bit palette feeds another palette.
  QDLPalette* q = QDLPaletteCreate(0, 0, 0);
  QDLPaletteFromSurface(q, s);
  EXPECT_EQ(q->entries[1].green, 8);
  EXPECT_EQ(static_cast<uint16_t*>(q->colourTable)[1], QDLRGBToPixel(QDLFORMAT_RGB565, 7, 8, 9));
  QDLPaletteFree(p);
  EXPECT_EQ(s->palette, nullptr);
}

TEST_F(PaletteTest, SurfacePaletteFlagOneLeavesTheLayerSurfaceAlone) {
  QDLSurface* s = QDLSurfaceCreate(4, 4, 8, QDLCREATE_SYSTEM);
  ASSERT_NE(s, nullptr);
  ASSERT_NE(s->ddSurface, nullptr);
  QDLPalette* a = QDLPaletteCreate(0, 0, 0);
  QDLPalette* b = QDLPaletteCreate(0, 0, 0);
  ASSERT_TRUE(a && b);
  EXPECT_EQ(QDLSurfaceSetPalette(s, a, 0), 0u);
  EXPECT_EQ(QDLSurfaceGetPalette(s), a);
  EXPECT_EQ(Q2DXSurfaceGetPalette(s->ddSurface), a->ddPalette);
  // Flag 1: only the record's palette changes.
  EXPECT_EQ(QDLSurfaceSetPalette(s, b, 1), 0u);
  EXPECT_EQ(QDLSurfaceGetPalette(s), b);
  EXPECT_EQ(Q2DXSurfaceGetPalette(s->ddSurface), a->ddPalette);
  EXPECT_EQ(QDLSurfaceSetPalette(s, b, 0), 0u);
  EXPECT_EQ(Q2DXSurfaceGetPalette(s->ddSurface), b->ddPalette);
}

TEST_F(PaletteTest, JascFiles) {
  std::string name = TempFile("pal16.pal");
  FILE* f = std::fopen(name.c_str(), "w");
  ASSERT_NE(f, nullptr);
  std::fprintf(f, "JASC-PAL\n0100\n16\n");
  for (int i = 0; i < 16; ++i) std::fprintf(f, "%d %d %d\n", i, i * 2, 256 + i);
  std::fclose(f);
  QDLPalette* p = QDLPaletteLoadJasc(name.c_str());
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->entryCount, 256u);
  EXPECT_EQ(p->entries[15].red, 15);
  EXPECT_EQ(p->entries[15].green, 30);
  EXPECT_EQ(p->entries[15].blue, 15);   // low 8 bits of 271
  EXPECT_EQ(p->entries[15].flags, 1);
  EXPECT_EQ(p->entries[16].flags, 0);   // as created
  // Fewer lines than the count: the rest stays as created.
  f = std::fopen(name.c_str(), "w");
  std::fprintf(f, "JASC-PAL\n0100\n300\n1 2 3\n");
  std::fclose(f);
  p = QDLPaletteLoadJasc(name.c_str());
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->entries[0].blue, 3);
  EXPECT_EQ(p->entries[1].flags, 0);
  // Not a JASC file, an empty file, a missing file.
  f = std::fopen(name.c_str(), "w");
  std::fprintf(f, "RIFF\n0100\n1\n1 2 3\n");
  std::fclose(f);
  EXPECT_EQ(QDLPaletteLoadJasc(name.c_str()), nullptr);
  f = std::fopen(name.c_str(), "w");
  std::fclose(f);
  EXPECT_EQ(QDLPaletteLoadJasc(name.c_str()), nullptr);
  EXPECT_EQ(QDLPaletteLoadJasc((name + ".missing").c_str()), nullptr);
  EXPECT_EQ(QDLPaletteLoadJasc(nullptr), nullptr);
  std::remove(name.c_str());
}

}  // namespace
