// The renderer images' TGA reader: every supported kind, truncated and
// corrupted files refused without touching the outputs.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "render3d/q3d_imagefile.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Header(uint8_t type, uint16_t w, uint16_t h, uint8_t bits, uint8_t desc, uint16_t mapLen = 0,
             uint8_t mapBits = 0, uint8_t idLen = 0) {
  Bytes b = {idLen, static_cast<uint8_t>(mapLen ? 1 : 0), type, 0, 0,
             static_cast<uint8_t>(mapLen), static_cast<uint8_t>(mapLen >> 8), mapBits, 0, 0, 0, 0,
             static_cast<uint8_t>(w), static_cast<uint8_t>(w >> 8), static_cast<uint8_t>(h), static_cast<uint8_t>(h >> 8),
             bits, desc};
  for (int i = 0; i < idLen; ++i) b.push_back(0xAB);
  return b;
}

struct Decoded {
  uint32_t result;
  std::vector<uint8_t> rgba;
  int32_t w = -1, h = -1;
};

Decoded Decode(const Bytes& b) {
  Decoded d;
  d.result = Q3DImageDecodeTGA(b.data(), b.size(), &d.rgba, &d.w, &d.h);
  return d;
}

TEST(ImageFile, KindsOfTga) {
  // 32-bit, bottom row first, with an image ID: alpha kept.
  Bytes b = Header(2, 2, 2, 32, 0x08, 0, 0, 3);
  b.insert(b.end(), {1, 2, 3, 4, 5, 6, 7, 8, /* top row */ 9, 10, 11, 12, 13, 14, 15, 16});
  Decoded d = Decode(b);
  ASSERT_EQ(d.result, 0u);
  EXPECT_EQ(d.w, 2);
  EXPECT_EQ(d.rgba, (std::vector<uint8_t>{11, 10, 9, 12, 15, 14, 13, 16, 3, 2, 1, 4, 7, 6, 5, 8}));
  // 24-bit top first, right to left.
  b = Header(2, 2, 1, 24, 0x30);
  b.insert(b.end(), {0, 0, 255, 0, 255, 0});
  d = Decode(b);
  ASSERT_EQ(d.result, 0u);
  EXPECT_EQ(d.rgba, (std::vector<uint8_t>{0, 255, 0, 255, 255, 0, 0, 255}));
  // 16-bit 5-5-5.
  b = Header(2, 1, 1, 16, 0x20);
  b.insert(b.end(), {static_cast<uint8_t>((1 << 5) | 2), static_cast<uint8_t>(31 << 2)});
  d = Decode(b);
  ASSERT_EQ(d.result, 0u);
  EXPECT_EQ(d.rgba, (std::vector<uint8_t>{248, 8, 16, 255}));
  // Run-length 32-bit: a run of three, then one raw pixel.
  b = Header(10, 4, 1, 32, 0x20);
  b.insert(b.end(), {0x82, 1, 2, 3, 128, 0x00, 9, 8, 7, 6});
  d = Decode(b);
  ASSERT_EQ(d.result, 0u);
  EXPECT_EQ(d.rgba[8], 3);
  EXPECT_EQ(d.rgba[11], 128);
  EXPECT_EQ(d.rgba[12], 7);
  EXPECT_EQ(d.rgba[15], 6);
  // Grey and colour-mapped (an index past the map reads black).
  b = Header(3, 2, 1, 8, 0x20);
  b.insert(b.end(), {7, 200});
  d = Decode(b);
  ASSERT_EQ(d.result, 0u);
  EXPECT_EQ(d.rgba, (std::vector<uint8_t>{7, 7, 7, 255, 200, 200, 200, 255}));
  b = Header(1, 3, 1, 8, 0x20, 2, 32);
  b.insert(b.end(), {10, 20, 30, 40, 50, 60, 70, 80, 1, 0, 9});
  d = Decode(b);
  ASSERT_EQ(d.result, 0u);
  EXPECT_EQ(d.rgba, (std::vector<uint8_t>{70, 60, 50, 80, 30, 20, 10, 40, 0, 0, 0, 255}));
}

TEST(ImageFile, TruncatedAndCorruptedFilesAreRefused) {
  Bytes good = Header(10, 8, 8, 32, 0x20);
  for (int i = 0; i < 8; ++i) {
    good.insert(good.end(), {0x87, static_cast<uint8_t>(i), 1, 2, 3});
  }
  ASSERT_EQ(Decode(good).result, 0u);
  for (size_t n = 0; n < good.size(); ++n) {
    Bytes cut(good.begin(), good.begin() + static_cast<long>(n));
    Decoded d = Decode(cut);
    EXPECT_EQ(d.result, 7u) << n;
    EXPECT_EQ(d.w, -1);
    EXPECT_TRUE(d.rgba.empty());
  }
  struct Bad {
    size_t at;
    uint8_t v;
  } bad[] = {{2, 4}, {2, 12}, {12, 0}, {13, 0x20}, {16, 12}, {1, 2}, {18, 0xFF}};
  for (const Bad& x : bad) {
    Bytes b = good;
    b[x.at] = x.v;
    if (x.at == 12) b[13] = 0;  // width 0
    EXPECT_EQ(Decode(b).result, 7u) << x.at;
  }
  // Random corruption never crashes or reads outside the file.
  std::mt19937 rng(5);
  for (int round = 0; round < 2000; ++round) {
    Bytes b = good;
    for (int k = 0; k < 4; ++k) b[rng() % b.size()] = static_cast<uint8_t>(rng());
    Decoded d = Decode(b);
    if (d.result == 0) {
      EXPECT_EQ(d.rgba.size(), static_cast<size_t>(d.w) * d.h * 4);
    }
  }
  EXPECT_EQ(Q3DImageDecodeTGA(nullptr, 0, nullptr, nullptr, nullptr), 7u);
  uint8_t out[4];
  EXPECT_EQ(Q3DImageFileRead("/nonexistent/file.tga", 1, 1, out), 4u);
  EXPECT_EQ(Q3DImageFileRead(nullptr, 1, 1, out), 7u);
}

}  // namespace
